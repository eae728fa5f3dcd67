#pragma once
// Who acts at a window screen besides a person: the scripted customer of TZC_INPUT, or a test.
// The screen asks it whenever the application has nothing to do. The window screens (Qt, Win32)
// each name their own screen here and say how a scripted action becomes their input.
#include <optional>
#include <utility>
#include <vector>

#include "host/forms/clock.h"
#include "host/screens/script.h"

namespace host {

template <typename Screen>
class Customer {
public:
    virtual ~Customer() = default;
    // When the next action is due on the real clock; nothing once every action is done.
    virtual std::optional<TimePoint> NextDue(TimePoint now) = 0;
    virtual void Act(Screen& screen) = 0;
    // Once it is done, whether a wait ends the call, as a script's end does, or goes on for a
    // person at the window.
    virtual bool EndsWhenDone() const = 0;
};

// Plays a script in real time. Act is the screen's own: it turns the action that is due into the
// input of its windows.
template <typename Screen>
class ScriptedCustomer final : public Customer<Screen> {
public:
    ScriptedCustomer(std::vector<ScriptAction> actions, bool ends_when_done)
        : timeline_(std::move(actions)), ends_when_done_(ends_when_done)
    {
    }

    std::optional<TimePoint> NextDue(TimePoint now) override { return timeline_.NextDue(now); }
    void Act(Screen& screen) override;
    bool EndsWhenDone() const override { return ends_when_done_; }

private:
    ScriptTimeline timeline_;
    bool ends_when_done_;
};

}  // namespace host
