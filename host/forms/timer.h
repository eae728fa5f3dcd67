#pragma once
// TTimer: ticks once per interval while enabled. Enabling starts a full interval afresh; a tick
// does not stop the timer. Ticks are dispatched by the application's message loop.
#include <functional>
#include <optional>

#include "host/forms/clock.h"

namespace host {

class TObject;

class TTimer {
public:
    explicit TTimer(TObject* owner = nullptr);
    ~TTimer();
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;

    void SetEnabled(bool enabled);
    bool Enabled() const { return due_.has_value(); }
    void SetInterval(Duration interval) { interval_ = interval; }
    Duration Interval() const { return interval_; }

    std::function<void(TObject* sender)> OnTimer;

    std::optional<TimePoint> Due() const { return due_; }
    // Called by the loop once the due time has come.
    void Tick();

private:
    TObject* owner_;
    Duration interval_ = std::chrono::milliseconds(1000);
    std::optional<TimePoint> due_;
};

}  // namespace host
