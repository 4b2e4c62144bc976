#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "Clock.h"
#include "DrillFrontend.h"
#include "DrillState.h"
#include "RandomSource.h"
#include "SourceOpener.h"

namespace drill {

// The window's behaviour without the window: start-up, the bars and the range field, and the card
// cycle, which draws cards and moves each from its question to its answer to the next card. It
// never waits; it reads the time from the clock each time it is called, and says when it next
// falls due.
// What a drill runs on: the dictionary, the clock and the draws. The program's own unless a test
// gives its own.
struct Sources {
    dictionary::SourceOpener dictionary = dictionary::fileOpener(dictionary::kFileName);
    Clock* clock = nullptr;
    RandomSource* random = nullptr;
};

class DrillEngine {
public:
    DrillEngine(DrillFrontend& frontend, Sources sources = {});

    const DrillState& state() const { return state_; }

    // Start-up, when the window is first shown (later calls do nothing): counts the dictionary's
    // entries and sets up the range, or says why no run can start and turns the direction buttons
    // off; a file another program holds is counted again at the next click, so they stay on then.
    void activate();

    // The interval bar moved: the card being shown keeps to the new interval at once.
    void setInterval(int seconds);

    // The user moved the range bar, or something arrived in the range field: its digits stay,
    // and the next click takes them.
    void moveRangeBar(int value);
    void typeRange(std::string_view text);

    // A direction click: abandons any card being shown, prepares the run with the range asked
    // for, and shows the first card, or says why it cannot.
    void start(Direction direction);

    // The About box: the card stands still while it is open, and catches up once it is closed.
    void about();

    // Catches up with the clock: shows the answer and draws the next card where they are due.
    void advance();

    // How long a timer must wait to fire at `due` and not before.
    std::chrono::milliseconds waitUntil(TimePoint due) const;

private:
    enum class Phase { Idle, Question, Answer };
    enum class Side { Question, Answer };  // of the card: the word shown first, or its translation

    bool countDictionary();
    bool LoadDictionary();
    void PickWord();
    void ShowWord();
    std::string word(Side side) const;
    std::optional<TimePoint> nextDue() const;
    void showNumber(form::Control field, std::int64_t value);
    void showProblem(form::Problem problem, const dictionary::Whereabouts& where = {});

    std::unique_ptr<Clock> ownClock_;
    std::unique_ptr<RandomSource> ownRandom_;
    dictionary::SourceOpener open_;
    Clock& clock_;
    RandomSource& random_;
    DrillFrontend& frontend_;
    bool activated_ = false;
    DrillState state_;
    dictionary::Encoding encoding_ = dictionary::Encoding::Windows1251;
    bool counted_ = false;  // the count is done, or failed for good
    Phase phase_ = Phase::Idle;
    int interval_;           // seconds
    std::string rangeText_;  // the range field's digits; none: the whole dictionary
};

}  // namespace drill
