#pragma once

#include <deque>
#include <string>
#include <vector>

#include "drill/Clock.h"
#include "drill/DrillFrontend.h"
#include "drill/RandomSource.h"

// A clock that moves only when a test moves it.
class ManualClock final : public drill::Clock {
public:
    drill::TimePoint now() override { return now_; }
    void advance(std::chrono::milliseconds step) { now_ += step; }
    drill::TimePoint start() const { return drill::TimePoint(std::chrono::hours(1)); }

private:
    drill::TimePoint now_ = start();
};

// Gives the queued values in turn, then the last one again.
class ScriptedRandom final : public drill::RandomSource {
public:
    void queue(std::initializer_list<double> values) { values_.insert(values_.end(), values); }
    double next() override {
        if (values_.size() > 1) {
            last_ = values_.front();
            values_.pop_front();
        } else if (!values_.empty()) {
            last_ = values_.front();
        }
        return last_;
    }

private:
    std::deque<double> values_;
    double last_ = 0.0;
};

// Records what the card cycle shows, in order, as "Text3=5", "Label2=apple" and so on.
class RecordingFrontend final : public drill::DrillFrontend {
public:
    std::vector<std::string> shown;

    void showWordIndex(std::int64_t i) override { shown.push_back("Text3=" + std::to_string(i)); }
    void showSeqNo(std::int64_t n) override { shown.push_back("Text5=" + std::to_string(n)); }
    void showQuestion(std::string_view t) override { shown.push_back("Label2=" + std::string(t)); }
    void showAnswer(std::string_view t) override { shown.push_back("Label3=" + std::string(t)); }

    // What was shown since the last call.
    std::vector<std::string> take() { return std::exchange(shown, {}); }
};
