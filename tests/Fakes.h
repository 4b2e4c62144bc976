#pragma once

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "dictionary/ByteSource.h"
#include "drill/Clock.h"
#include "drill/DrillFrontend.h"
#include "drill/RandomSource.h"
#include "ui/design/Design.h"

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

// Records what the engine tells the window, in order: "Text3=5", "Label2=apple",
// "HScroll3=100..1234@1234", "Command1 off", and "wake@1500" for the timer armed 1,500 ms after
// the manual clock's start ("wake none" when it is stopped).
struct RecordingFrontend final : drill::DrillFrontend {
    void showText(design::Control c, std::string_view text) override {
        shown.push_back(name(c) + "=" + std::string(text));
    }
    void setBar(design::Control c, int minimum, int maximum, int value) override {
        shown.push_back(name(c) + "=" + std::to_string(minimum) + ".." + std::to_string(maximum) +
                        "@" + std::to_string(value));
    }
    void enable(design::Control c, bool enabled) override {
        shown.push_back(name(c) + (enabled ? " on" : " off"));
    }
    void wakeAt(std::optional<drill::TimePoint> due) override {
        using std::chrono::milliseconds;
        shown.push_back(due ? "wake@" + std::to_string(std::chrono::duration_cast<milliseconds>(
                                                           *due - ManualClock::start())
                                                           .count())
                            : "wake none");
    }
    static std::string name(design::Control c) { return std::string(design::control(c).name); }
    // What was shown since the last call.
    std::vector<std::string> take() { return std::exchange(shown, {}); }
    std::vector<std::string> shown;
};

// The dictionary held in memory and read in short pieces. A read past `failAfter` bytes fails,
// or runs out of memory, as a file of many gigabytes does. Plain C++, for the fuzzer too.
struct MemorySource final : dictionary::ByteSource {
    MemorySource(std::string bytes, std::size_t failAfter, bool exhausts)
        : bytes(std::move(bytes)), failAfter(failAfter), exhausts(exhausts) {}
    std::optional<std::size_t> read(std::span<char> buffer) override {
        if (position >= failAfter) {
            return exhausts ? throw std::bad_alloc() : std::nullopt;
        }
        const std::size_t count = std::min(
            {buffer.size(), bytes.size() - position, failAfter - position, std::size_t{4093}});
        std::memcpy(buffer.data(), bytes.data() + position, count);
        position += count;
        return count;
    }
    std::uint64_t sizeHint() const override { return bytes.size(); }
    std::string bytes;
    std::size_t failAfter;
    bool exhausts;
    std::size_t position = 0;
};

inline dictionary::SourceOpener memoryOpener(std::string bytes,
                                             std::size_t failAfter = std::string::npos,
                                             bool exhausts = false) {
    return [=] {
        return dictionary::OpenedSource{dictionary::OpenStatus::Ok,
                                        std::make_unique<MemorySource>(bytes, failAfter, exhausts),
                                        {}};
    };
}

inline dictionary::SourceOpener exhaustingOpener() {
    return memoryOpener("", 0, true);
}

inline dictionary::SourceOpener failingOpener(dictionary::OpenStatus status,
                                              dictionary::Whereabouts where = {}) {
    return [=] { return dictionary::OpenedSource{status, nullptr, where}; };
}

// "en1$ru1" to "en<count>$ru<count>", with CR LF line ends.
inline std::string numberedEntries(int count) {
    std::string file;
    for (int i = 1; i <= count; ++i) {
        file += "en" + std::to_string(i) + "$ru" + std::to_string(i) + "\r\n";
    }
    return file;
}
