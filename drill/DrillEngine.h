#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "Clock.h"
#include "DrillFrontend.h"
#include "DrillState.h"
#include "Input.h"
#include "RandomSource.h"
#include "SourceOpener.h"

namespace drill {

// What a drill runs on: the dictionary, the clock and the draws, the program's own unless a test
// gives its own; and how its messages speak of where the words come from.
struct Sources {
    dictionary::SourceOpener dictionary = dictionary::fileOpener(dictionary::kFileName);
    Clock* clock = nullptr;
    RandomSource* random = nullptr;
    form::Wording wording = form::Wording::Folder;
};

// The window's behaviour without the window: what each input does (start-up, the bars and the
// range field, the buttons, the About box, closing), and the card cycle, which draws cards and
// moves each from its question to its answer to the next card. It never waits; it reads the time
// from the clock each time it is called, and says when it next falls due.
class DrillEngine {
public:
    DrillEngine(DrillFrontend& frontend, Sources sources = {});

    const DrillState& state() const { return state_; }

    // Whatever the user does to the window, and the timer the engine asked for.
    void input(const Input& input);

    // Another dictionary, as a window where the user picks the file takes one: the drill starts
    // up anew on it, from the first card, with the interval kept.
    void open(dictionary::SourceOpener dictionary);

    // How long a timer must wait to fire at `due`, and not before.
    std::chrono::milliseconds waitUntil(TimePoint due) const;

private:
    enum class Phase { Idle, Question, Answer };
    enum class Side { Question, Answer };  // of the card: the word shown first, or its translation

    void Form_Activate();
    void Form_Unload();
    void HScroll1_Change(int seconds);
    void HScroll3_Change(int value);
    void Text7_Change(std::string_view text);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void aboutClosed();

    // A direction click: abandons any card being shown, prepares the run with the range asked
    // for, and shows the first card, or says why it cannot.
    void start(Direction direction);
    // Catches up with the clock: shows the answer and draws the next card where they are due.
    void advance();
    void rearm();
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
    form::Wording wording_;
    bool activated_ = false;
    DrillState state_;
    dictionary::Encoding encoding_ = dictionary::Encoding::Windows1251;
    bool counted_ = false;  // the count is done, or failed for good
    Phase phase_ = Phase::Idle;
    bool held_ = false;      // the About box is open, and the card stands still
    int interval_;           // seconds
    std::string rangeText_;  // the range field's digits; none: the whole dictionary
};

}  // namespace drill
