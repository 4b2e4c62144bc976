#pragma once

#include <chrono>

namespace drill {

using TimePoint = std::chrono::steady_clock::time_point;

// A monotonic clock; tests set it by hand.
class Clock {
public:
    virtual ~Clock() = default;
    virtual TimePoint now() = 0;
};

class SteadyClock final : public Clock {
public:
    TimePoint now() override { return std::chrono::steady_clock::now(); }
};

}  // namespace drill
