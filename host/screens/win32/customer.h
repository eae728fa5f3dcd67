#pragma once
// Who acts at the window besides a person: the scripted customer of TZC_INPUT, or a test. The
// screen asks it whenever the application has nothing to do.
#include <optional>
#include <vector>

#include "host/forms/clock.h"
#include "host/screens/script.h"

namespace host::win32 {

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

// Plays a script in real time through the window's own input messages: a touch is a left button
// pressed and released at the centre of the control, a key its key-down (the message loop
// translates it into its character), a character the character message, a picture the forms as
// the window shows them.
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

}  // namespace host::win32
