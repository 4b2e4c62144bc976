#pragma once

// The drill's clock, draws and window, held by tests.
#include <string>
#include <utility>
#include <vector>

#include "Clock.h"
#include "Design.h"
#include "DrillEngine.h"
#include "RandomSource.h"
#include "SourceFakes.h"

// A clock that moves only when a test moves it.
struct ManualClock final : drill::Clock {
    drill::TimePoint now() override { return now_; }
    void advance(drill::TimePoint::duration step) { now_ += step; }
    static drill::TimePoint start() { return drill::TimePoint(std::chrono::hours(1)); }
    drill::TimePoint now_ = start();
};

// Gives the values in turn, then the last one again; 0 when there are none.
struct ScriptedRandom final : drill::RandomSource {
    double next() override {
        return values.empty() ? 0.0 : values[std::min(drawn++, values.size() - 1)];
    }
    std::vector<double> values;
    std::size_t drawn = 0;
};

// Records what the engine tells the window, in order and "|" between: "Text3=5", "Label2=apple",
// "HScroll3=100..1234@1234", "Command1 off", and "wake@1500" for the timer armed 1,500 ms after
// the manual clock's start ("wake none" when it is stopped), "About" for the About box, which it
// leaves open, "End" for the window's end.
struct RecordingFrontend final : drill::DrillFrontend {
    void showText(form::Control c, std::string_view text) override {
        record(name(c) + "=" + std::string(text));
    }
    void setBar(form::Control c, int minimum, int maximum, int value) override {
        record(name(c) + "=" + std::to_string(minimum) + ".." + std::to_string(maximum) + "@" +
               std::to_string(value));
    }
    void enable(form::Control c, bool enabled) override {
        record(name(c) + (enabled ? " on" : " off"));
    }
    void wakeAt(std::optional<drill::TimePoint> due) override {
        if (!due) {
            return record("wake none");
        }
        const auto after =
            std::chrono::floor<std::chrono::milliseconds>(*due - ManualClock::start());
        record("wake@" + std::to_string(after.count()));
    }
    void showAbout() override { record("About"); }
    void end() override { record("End"); }
    void record(const std::string& what) { shown += (shown.empty() ? "" : "|") + what; }
    static std::string name(form::Control c) { return std::string(form::control(c).name); }
    // What was shown since the last call.
    std::string take() { return std::exchange(shown, {}); }
    std::string shown;
};
