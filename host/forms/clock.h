#pragma once
// Time as the timers and the waits see it: the real steady clock, or a virtual one that only
// moves when the headless screen advances it, so that a 20-second wait costs nothing.
#include <chrono>

namespace host {

using Duration = std::chrono::microseconds;
using TimePoint = std::chrono::time_point<std::chrono::steady_clock, Duration>;

class Clock {
public:
    virtual ~Clock() = default;
    virtual TimePoint Now() const = 0;
};

class RealClock final : public Clock {
public:
    TimePoint Now() const override
    {
        return std::chrono::time_point_cast<Duration>(std::chrono::steady_clock::now());
    }
};

class VirtualClock final : public Clock {
public:
    TimePoint Now() const override { return now_; }
    // Time never runs backwards.
    void AdvanceTo(TimePoint when)
    {
        if (when > now_)
            now_ = when;
    }

private:
    TimePoint now_{};
};

}  // namespace host
