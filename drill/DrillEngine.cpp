#include "DrillEngine.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>
#include <utility>

#include "Count.h"
#include "Load.h"
#include "RangeSize.h"

namespace drill {
namespace {

using form::Control;
using form::Problem;

// No band shows more than a few hundred characters; a line of megabytes is decoded only as far
// as it can be seen.
constexpr std::size_t kShownBytes = 4096;

std::chrono::milliseconds halfOf(int seconds) {
    return std::chrono::milliseconds(seconds * 500);
}

std::chrono::milliseconds wholeOf(int seconds) {
    return std::chrono::seconds(seconds);
}

Problem problemOf(dictionary::OpenStatus status) {
    using dictionary::OpenStatus;
    switch (status) {
        case OpenStatus::Missing:
            return Problem::Missing;
        case OpenStatus::NotRegularFile:
            return Problem::NotRegularFile;
        case OpenStatus::NoPermission:
            return Problem::NoPermission;
        case OpenStatus::Busy:
            return Problem::Busy;
        case OpenStatus::NotDictionary:
            return Problem::NotDictionary;
        case OpenStatus::OutOfMemory:
            return Problem::OutOfMemory;
        case OpenStatus::ReadError:
        case OpenStatus::Ok:
            break;
    }
    return Problem::ReadError;
}

}  // namespace

DrillEngine::DrillEngine(DrillFrontend& frontend, Sources sources)
    : ownClock_(sources.clock == nullptr ? std::make_unique<SteadyClock>() : nullptr),
      ownRandom_(sources.random == nullptr ? std::make_unique<ClockSeededRandom>() : nullptr),
      open_(std::move(sources.dictionary)),
      clock_(sources.clock == nullptr ? *ownClock_ : *sources.clock),
      random_(sources.random == nullptr ? *ownRandom_ : *sources.random),
      frontend_(frontend),
      wording_(sources.wording),
      interval_(form::control(Control::HScroll1).bar.value) {}

// Which input does what: every window forwards each of its events here, and nothing else.
void DrillEngine::input(const Input& input) {
    switch (input.event) {
        case Event::Activate:
            return Form_Activate();
        case Event::Unload:
            return Form_Unload();
        case Event::Timer:
            return advance();
        case Event::AboutClosed:
            return aboutClosed();
        case Event::Click:
            if (input.control == Control::Command1) {
                Command1_Click();
            } else if (input.control == Control::Command2) {
                Command2_Click();
            } else if (input.control == Control::Command3) {
                Command3_Click();
            }
            return;
        case Event::Change:
            if (input.control == Control::HScroll1) {
                HScroll1_Change(input.value);
            } else if (input.control == Control::HScroll3) {
                HScroll3_Change(input.value);
            } else if (input.control == Control::Text7) {
                Text7_Change(input.text);
            }
            return;
    }
}

void DrillEngine::Form_Activate() {
    if (std::exchange(activated_, true)) {
        return;
    }
    showNumber(Control::Text4, form::control(Control::HScroll1).bar.minimum);
    state_.SeqNo = 1;
    countDictionary();
}

void DrillEngine::open(dictionary::SourceOpener dictionary) {
    open_ = std::move(dictionary);
    if (!activated_) {
        return;
    }
    phase_ = Phase::Idle;
    state_ = {};
    state_.SeqNo = 1;
    counted_ = false;
    rangeText_.clear();
    for (const Control control : {Control::HScroll3, Control::Command1, Control::Command2}) {
        frontend_.enable(control, true);
    }
    for (const Control control : {Control::Text3, Control::Text5}) {
        frontend_.showText(control, {});
    }
    rearm();
    if (countDictionary()) {
        for (const Control band : {Control::Label2, Control::Label3}) {
            frontend_.showText(band, {});
        }
    }
}

bool DrillEngine::countDictionary() {
    const dictionary::CountResult counted = dictionary::countEntries(open_);
    if (counted.status == dictionary::OpenStatus::Busy) {
        frontend_.setBar(Control::HScroll3, 0, 0, 0);
        frontend_.enable(Control::HScroll3, false);
        frontend_.showText(Control::Text7, rangeText_);
        showProblem(Problem::Busy);
        return false;
    }
    counted_ = true;
    state_.EntryCount = counted.entries;
    encoding_ = counted.encoding;

    std::optional<Problem> problem;
    if (counted.status != dictionary::OpenStatus::Ok) {
        problem = problemOf(counted.status);
    } else if (counted.entries == 0) {
        problem = Problem::Empty;
    } else if (!counted.hasSeparator) {
        problem = Problem::NoPairs;
    }
    const std::int64_t entries = problem ? 0 : counted.entries;
    // The bar holds an int, and its minimum comes down to a count below it; the field shows
    // the whole count.
    const int barEnd = static_cast<int>(std::min<std::int64_t>(entries, INT_MAX));
    const int barMinimum = std::min(form::control(Control::HScroll3).bar.minimum, barEnd);
    frontend_.setBar(Control::HScroll3, barMinimum, barEnd, barEnd);
    // A range typed while the file was held stands.
    if (rangeText_.empty() || problem) {
        rangeText_ = std::to_string(entries);
        showNumber(Control::Text7, entries);
    }
    if (problem) {
        for (const Control control : {Control::HScroll3, Control::Command1, Control::Command2}) {
            frontend_.enable(control, false);
        }
        showProblem(*problem, counted.where);
        return false;
    }
    return true;
}

void DrillEngine::Form_Unload() {
    phase_ = Phase::Idle;
    frontend_.wakeAt(std::nullopt);
    frontend_.end();
}

void DrillEngine::HScroll1_Change(int seconds) {
    interval_ = seconds;
    showNumber(Control::Text4, seconds);
    advance();
}

void DrillEngine::HScroll3_Change(int value) {
    showNumber(Control::Text7, value);
    rangeText_ = std::to_string(value);
}

// Whatever arrives in the range field, typed, pasted or set by a screen reader: its digits stay,
// and the next click takes them.
void DrillEngine::Text7_Change(std::string_view text) {
    rangeText_ = rangeDigits(text);
    if (rangeText_ != text) {
        frontend_.showText(Control::Text7, rangeText_);
    }
}

void DrillEngine::Command1_Click() {
    start(Direction::EnglishFirst);
}

void DrillEngine::Command2_Click() {
    start(Direction::RussianFirst);
}

void DrillEngine::start(Direction direction) {
    frontend_.enable(Control::HScroll3, false);
    phase_ = Phase::Idle;  // the card being shown, if any, is dropped for good
    state_.Direction = direction;
    if ((counted_ || countDictionary()) && LoadDictionary()) {
        PickWord();
        ShowWord();
    }
    rearm();
}

// The About box holds the card still; once it is closed, the card catches up.
void DrillEngine::Command3_Click() {
    if (std::exchange(held_, true)) {
        return;
    }
    frontend_.wakeAt(std::nullopt);
    frontend_.showAbout();
}

void DrillEngine::aboutClosed() {
    if (std::exchange(held_, false)) {
        advance();
    }
}

void DrillEngine::advance() {
    if (phase_ != Phase::Idle && !held_) {
        const auto elapsed = clock_.now() - *state_.StartTime;
        if (phase_ == Phase::Question && elapsed >= halfOf(interval_)) {
            frontend_.showText(Control::Label3, word(Side::Answer));
            phase_ = Phase::Answer;
        }
        if (phase_ == Phase::Answer && elapsed >= wholeOf(interval_)) {
            *state_.SeqNo += 1;
            PickWord();
            ShowWord();
        }
    }
    rearm();
}

void DrillEngine::rearm() {
    frontend_.wakeAt(held_ ? std::nullopt : nextDue());
}

std::chrono::milliseconds DrillEngine::waitUntil(TimePoint due) const {
    return std::max(std::chrono::ceil<std::chrono::milliseconds>(due - clock_.now()),
                    std::chrono::milliseconds(0));
}

bool DrillEngine::LoadDictionary() {
    if (!state_.Loaded) {
        const std::int64_t wanted = rangeSizeFromDigits(rangeText_, state_.EntryCount.value_or(0));
        dictionary::LoadResult result = dictionary::loadEntries(open_, wanted, encoding_);
        if (result.status != dictionary::OpenStatus::Ok) {
            showProblem(problemOf(result.status), result.where);
            return false;
        }
        if (result.lines.count() == 0) {
            showProblem(Problem::Emptied);
            return false;
        }
        const auto lines = std::make_shared<const dictionary::Lines>(std::move(result.lines));
        using Part = dictionary::WordList::Part;
        state_.EnglishWords = dictionary::WordList(lines, Part::English);
        state_.RussianWords = dictionary::WordList(lines, Part::Russian);
        state_.Loaded = true;
    }
    const auto built = static_cast<std::int64_t>(state_.EnglishWords.size()) - 1;
    state_.RangeSize = rangeSizeFromDigits(rangeText_, built);
    showNumber(Control::Text7, *state_.RangeSize);  // the range in use
    return true;
}

void DrillEngine::PickWord() {
    state_.StartTime = clock_.now();
    const std::int64_t range = *state_.RangeSize;
    const double r = random_.next();
    const auto drawn = static_cast<std::int64_t>(std::floor(r * static_cast<double>(range))) + 1;
    state_.WordIndex = std::clamp<std::int64_t>(drawn, 1, range);
    showNumber(Control::Text3, *state_.WordIndex);
}

void DrillEngine::ShowWord() {
    showNumber(Control::Text5, *state_.SeqNo);
    frontend_.showText(Control::Label2, word(Side::Question));
    frontend_.showText(Control::Label3, {});
    phase_ = Phase::Question;
}

std::string DrillEngine::word(Side side) const {
    const bool englishFirst = state_.Direction == Direction::EnglishFirst;
    const dictionary::WordList& list =
        englishFirst == (side == Side::Question) ? state_.EnglishWords : state_.RussianWords;
    return list.text(static_cast<std::size_t>(*state_.WordIndex), kShownBytes);
}

std::optional<TimePoint> DrillEngine::nextDue() const {
    switch (phase_) {
        case Phase::Question:
            return *state_.StartTime + halfOf(interval_);
        case Phase::Answer:
            return *state_.StartTime + wholeOf(interval_);
        case Phase::Idle:
            break;
    }
    return std::nullopt;
}

void DrillEngine::showNumber(Control field, std::int64_t value) {
    frontend_.showText(field, std::to_string(value));
}

void DrillEngine::showProblem(Problem problem, const dictionary::Whereabouts& where) {
    const form::Said said = form::say(problem, wording_, where);
    frontend_.showText(Control::Label2, said.problem);
    frontend_.showText(Control::Label3, said.remedy);
}

}  // namespace drill
