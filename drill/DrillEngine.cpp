#include "DrillEngine.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "RangeSize.h"
#include "dictionary/Lines.h"

namespace drill {
namespace {

// No band shows more than a few hundred characters; a line of megabytes is decoded only as far
// as it can be seen.
constexpr std::size_t kShownBytes = 4096;

std::chrono::milliseconds halfOf(int seconds) {
    return std::chrono::milliseconds(seconds * 500);
}

std::chrono::milliseconds wholeOf(int seconds) {
    return std::chrono::seconds(seconds);
}

}  // namespace

DrillEngine::DrillEngine(dictionary::SourceOpener open, Clock& clock, RandomSource& random,
                         DrillFrontend& frontend)
    : open_(std::move(open)), clock_(clock), random_(random), frontend_(frontend) {}

dictionary::CountResult DrillEngine::activate() {
    dictionary::CountResult counted = dictionary::countEntries(open_);
    state_.EntryCount = counted.entries;
    state_.SeqNo = 1;
    encoding_ = counted.encoding;
    return counted;
}

LoadOutcome DrillEngine::start(Direction direction, std::string_view rangeText) {
    phase_ = Phase::Idle;  // the card being shown, if any, is dropped for good
    state_.Direction = direction;
    const LoadOutcome loaded = LoadDictionary(rangeText);
    if (loaded.status != LoadStatus::Ok) {
        return loaded;
    }
    if (!state_.SeqNo) {
        state_.SeqNo = 1;
    }
    PickWord();
    ShowWord();
    return loaded;
}

LoadOutcome DrillEngine::LoadDictionary(std::string_view rangeText) {
    if (!state_.Loaded) {
        const std::int64_t wanted = rangeSizeFromText(rangeText, state_.EntryCount.value_or(0));
        dictionary::LoadResult result = dictionary::loadEntries(open_, wanted, encoding_);
        if (result.status != dictionary::OpenStatus::Ok) {
            return {LoadStatus::Unreadable, result.status};
        }
        if (result.lines.count() == 0) {
            return {LoadStatus::Empty, dictionary::OpenStatus::Ok};
        }
        const auto lines = std::make_shared<const dictionary::Lines>(std::move(result.lines));
        using Part = dictionary::WordList::Part;
        state_.EnglishWords = dictionary::WordList(lines, Part::English);
        state_.RussianWords = dictionary::WordList(lines, Part::Russian);
        state_.RawLines = dictionary::WordList(lines, Part::Raw);
        state_.Loaded = true;
    }
    const auto built = static_cast<std::int64_t>(state_.EnglishWords.size()) - 1;
    state_.RangeSize = rangeSizeFromText(rangeText, built);
    return {};
}

void DrillEngine::PickWord() {
    state_.StartTime = clock_.now();
    const std::int64_t range = *state_.RangeSize;
    const double r = random_.next();
    const auto drawn = static_cast<std::int64_t>(std::floor(r * static_cast<double>(range))) + 1;
    state_.WordIndex = std::clamp<std::int64_t>(drawn, 1, range);
    frontend_.showWordIndex(*state_.WordIndex);
}

void DrillEngine::ShowWord() {
    frontend_.showSeqNo(*state_.SeqNo);
    frontend_.showQuestion(word(true));
    frontend_.showAnswer({});
    phase_ = Phase::Question;
}

std::string DrillEngine::word(bool question) const {
    const bool englishFirst = state_.Direction == Direction::EnglishFirst;
    const dictionary::WordList& list =
        englishFirst == question ? state_.EnglishWords : state_.RussianWords;
    return list.text(static_cast<std::size_t>(*state_.WordIndex), kShownBytes);
}

void DrillEngine::advance(int intervalSeconds) {
    if (phase_ == Phase::Idle) {
        return;
    }
    const auto elapsed = clock_.now() - *state_.StartTime;
    if (phase_ == Phase::Question && elapsed >= halfOf(intervalSeconds)) {
        frontend_.showAnswer(word(false));
        phase_ = Phase::Answer;
    }
    if (phase_ == Phase::Answer && elapsed >= wholeOf(intervalSeconds)) {
        *state_.SeqNo += 1;
        PickWord();
        ShowWord();
    }
}

std::optional<TimePoint> DrillEngine::nextDue(int intervalSeconds) const {
    switch (phase_) {
        case Phase::Question:
            return *state_.StartTime + halfOf(intervalSeconds);
        case Phase::Answer:
            return *state_.StartTime + wholeOf(intervalSeconds);
        case Phase::Idle:
            break;
    }
    return std::nullopt;
}

}  // namespace drill
