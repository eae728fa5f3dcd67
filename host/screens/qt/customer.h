#pragma once
// Who acts at the window besides a person: the scripted customer of TZC_INPUT, or a test. The
// screen asks it whenever the application has nothing to do.
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "host/forms/clock.h"
#include "host/screens/script.h"

namespace host::qt {

class WindowScreen;

class Customer {
public:
    virtual ~Customer() = default;
    // When the next action is due on the real clock; nothing once every action is done.
    virtual std::optional<TimePoint> NextDue(TimePoint now) = 0;
    virtual void Act(WindowScreen& screen) = 0;
    // Once it is done, whether a wait ends the call, as a script's end does, or goes on for a
    // person at the window.
    virtual bool EndsWhenDone() const = 0;
};

// Plays a script in real time: keys and characters as Qt key events, touches as Qt mouse events
// at the centre of the control, pictures of the window.
class ScriptedCustomer final : public Customer {
public:
    ScriptedCustomer(std::vector<ScriptAction> actions, bool ends_when_done);

    std::optional<TimePoint> NextDue(TimePoint now) override;
    void Act(WindowScreen& screen) override;
    bool EndsWhenDone() const override { return ends_when_done_; }

private:
    ScriptTimeline timeline_;
    bool ends_when_done_;
};

}  // namespace host::qt
