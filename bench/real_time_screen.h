#pragma once
// A screen on the real clock that shows nothing and plays a scripted customer in real time, so
// that "{wait 5s}" takes five seconds of the world. While the application waits for input it
// either sleeps until the next action or timer is due, as a frugal screen does, or polls and
// returns at once, which turns every wait into the spinning loop the idle cost is measured
// against. Both play the same script through the same waits.
#include <cstddef>
#include <string_view>
#include <vector>

#include "host/screen.h"
#include "host/script.h"

namespace bench {

enum class IdleWaits { Sleep, Spin };

class RealTimeScreen final : public host::Screen {
public:
    RealTimeScreen(std::string_view script, IdleWaits idle);

    host::Clock& clock() override { return clock_; }
    void FormShown(host::TForm&) override {}
    void FormHidden(host::TForm&) override {}
    void Invalidate(host::TForm&) override {}
    void Repaint(host::TForm&) override {}
    void PumpInput(host::TApplication& application, bool wait, std::optional<host::TimePoint> deadline) override;

    // How often the application asked for input: a handful when it sleeps, millions when it spins.
    std::size_t Pumps() const { return pumps_; }

private:
    host::RealClock clock_;
    IdleWaits idle_;
    std::vector<host::ScriptAction> actions_;
    std::size_t next_ = 0;
    host::TimePoint last_action_;
    std::size_t pumps_ = 0;
};

}  // namespace bench
