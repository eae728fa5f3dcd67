#pragma once
// A screen on the real clock that shows nothing and plays a scripted customer in real time, so
// that "{wait 5s}" takes five seconds of the world. While the application waits for input it
// sleeps until the next action or timer is due, as a frugal screen does.
#include <cstddef>
#include <string_view>
#include <vector>

#include "host/forms/screen.h"
#include "host/screens/script.h"

namespace bench {

class RealTimeScreen final : public host::Screen {
public:
    explicit RealTimeScreen(std::string_view script);

    host::Clock& clock() override { return clock_; }
    void FormShown(host::TForm&) override {}
    void FormHidden(host::TForm&) override {}
    void Invalidate(host::TForm&) override {}
    void Repaint(host::TForm&) override {}
    void PumpInput(host::TApplication& application, bool wait, std::optional<host::TimePoint> deadline) override;

private:
    host::RealClock clock_;
    std::vector<host::ScriptAction> actions_;
    std::size_t next_ = 0;
    host::TimePoint last_action_;
};

}  // namespace bench
