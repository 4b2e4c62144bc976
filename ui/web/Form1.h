#pragma once

#include <emscripten/val.h>

#include <array>
#include <optional>
#include <vector>

#include "BandFit.h"
#include "DrillEngine.h"

namespace web {

// The program's one window in a browser: the controls of the design as elements of the page,
// each of their events forwarded to the drill engine, and what the engine says shown in them.
class Form1 final : private drill::DrillFrontend {
public:
    explicit Form1(drill::Sources sources = {});
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;
    ~Form1() override;

    // Draws the window into the page's element `client`, its client area, and starts it up.
    void show(emscripten::val client);
    // The words of a file the user picked or dropped: the drill starts up anew on them.
    void open(dictionary::SourceOpener dictionary);

    emscripten::val element(form::Control id) const { return elements_[index(id)]; }
    const drill::DrillState& drillState() const { return engine_.state(); }
    // The wait the card timer was last armed with, in ms; empty when it is stopped.
    std::optional<int> timerWait() const { return timerWait_; }
    // What a band draws: its text as fitted, and the size.
    const form::FittedText& drawn(form::Control band) const;

    // A DOM event of one of the window's elements, as the page hands it on.
    void handle(const emscripten::val& event);
    // The card timer's moment has come.
    void timerFired();

private:
    static std::size_t index(form::Control id) { return static_cast<std::size_t>(id); }

    void showText(form::Control control, std::string_view text) override;
    void setBar(form::Control bar, int minimum, int maximum, int value) override;
    void enable(form::Control control, bool enabled) override;
    void wakeAt(std::optional<drill::TimePoint> due) override;
    void showAbout() override;
    void end() override;

    drill::DrillEngine engine_;
    form::Measure measure_;  // of a band's text, on a canvas
    std::vector<emscripten::val> elements_ =
        std::vector(form::kControls.size(), emscripten::val::undefined());
    std::array<form::FittedText, 2> bands_;  // Label2's and Label3's
    emscripten::val about_ = emscripten::val::undefined();
    std::optional<long> timer_;
    std::optional<int> timerWait_;
};

}  // namespace web
