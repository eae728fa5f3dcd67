#include "real_time_screen.h"

#include <algorithm>
#include <thread>

#include "host/screens/headless_screen.h"

namespace bench {

RealTimeScreen::RealTimeScreen(std::string_view script) : actions_(host::ParseScript(script)), last_action_(clock_.Now())
{
}

void RealTimeScreen::PumpInput(host::TApplication& application, bool wait, std::optional<host::TimePoint> deadline)
{
    if (next_ >= actions_.size()) {
        if (wait)
            throw host::EInputEnded();
        return;
    }
    const host::ScriptAction& action = actions_[next_];
    const host::TimePoint due = last_action_ + action.delay;
    if (clock_.Now() < due) {
        if (!wait)
            return;
        std::this_thread::sleep_until(deadline ? std::min(*deadline, due) : due);
        // Woken for a timer: the application fires it and asks again.
        if (clock_.Now() < due)
            return;
    }
    ++next_;
    last_action_ = clock_.Now();
    host::DeliverScriptAction(application, action);
}

}  // namespace bench
