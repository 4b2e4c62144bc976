#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "Clock.h"
#include "DrillFrontend.h"
#include "DrillState.h"
#include "RandomSource.h"
#include "dictionary/ByteSource.h"
#include "dictionary/Count.h"

namespace drill {

// Why a run could not start.
enum class LoadStatus {
    Ok,
    Unreadable,  // the file could not be read: see `file`
    Empty,       // the file holds no line, or nothing to count
};

struct LoadOutcome {
    LoadStatus status = LoadStatus::Ok;
    dictionary::OpenStatus file = dictionary::OpenStatus::Ok;
};

// The card cycle: draws cards and moves each from its question to its answer to the next card.
// It never waits; it is told the time through the clock each time it is called, and says when
// it next falls due.
class DrillEngine {
public:
    DrillEngine(dictionary::SourceOpener open, Clock& clock, RandomSource& random,
                DrillFrontend& frontend);

    const DrillState& state() const { return state_; }

    // Start-up: counts the dictionary's entries and sets the running number to 1.
    dictionary::CountResult activate();

    // A direction click: abandons any card being shown, prepares the run with the range that
    // `rangeText` asks for, and shows the first card. The range in use is then in RangeSize.
    LoadOutcome start(Direction direction, std::string_view rangeText);

    // Catches up with the clock: shows the answer and draws the next card where they are due
    // for the interval of `intervalSeconds`.
    void advance(int intervalSeconds);

    // When advance() next has something to do, or nothing while no card is shown.
    std::optional<TimePoint> nextDue(int intervalSeconds) const;

private:
    enum class Phase { Idle, Question, Answer };

    LoadOutcome LoadDictionary(std::string_view rangeText);
    void PickWord();
    void ShowWord();
    std::string word(bool question) const;

    dictionary::SourceOpener open_;
    Clock& clock_;
    RandomSource& random_;
    DrillFrontend& frontend_;
    DrillState state_;
    dictionary::Encoding encoding_ = dictionary::Encoding::Windows1251;
    Phase phase_ = Phase::Idle;
};

}  // namespace drill
