#pragma once
// Who acts at a window screen besides a person: the scripted customer of TZC_INPUT, or a test.
// The screen asks it whenever the application has nothing to do. Each window screen (Qt, Win32)
// says how a script's action becomes its input (ScriptedInput); what an action means, when it is
// due and when a wait ends the call are the same on both.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/forms/clock.h"
#include "host/forms/controls.h"
#include "host/forms/messages.h"
#include "host/forms/screen.h"
#include "host/screens/script.h"
#include "host/text/environment.h"

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

// A window screen's own input, as its platform delivers it, for a script's actions.
class ScriptedInput {
public:
    virtual ~ScriptedInput() = default;
    // Whether a form is shown, to take the input.
    virtual bool ShowsForm() const = 0;
    // To the form on top: a character typed (Windows-1252), a key pressed.
    virtual void TypeCharacter(char character) = 0;
    virtual void PressKey(uint16_t virtual_key, ShiftState shift) = 0;
    // A touch at the control's centre.
    virtual void Touch(TControl& control) = 0;
    virtual void SaveShot(const std::string& utf8_path) = 0;
};

// Plays one action of a script. A key, a character or a touch with no form shown is a script
// that does not fit the call (EScriptError), as is a touch of a control not showing.
void Play(const ScriptAction& action, ScriptedInput& input);

// Plays a script in real time on a screen that takes scripted input.
template <typename Screen>
class ScriptedCustomer final : public Customer<Screen> {
public:
    ScriptedCustomer(std::vector<ScriptAction> actions, bool ends_when_done)
        : timeline_(std::move(actions)), ends_when_done_(ends_when_done)
    {
    }

    std::optional<TimePoint> NextDue(TimePoint now) override { return timeline_.NextDue(now); }
    void Act(Screen& screen) override
    {
        if (const std::optional<ScriptAction> action = timeline_.Take(screen.clock().Now()))
            Play(*action, screen);
    }
    bool EndsWhenDone() const override { return ends_when_done_; }

private:
    ScriptTimeline timeline_;
    bool ends_when_done_;
};

// The customer a window screen starts with: the script of TZC_INPUT. Offscreen nobody else can
// act: no script is a customer who has nothing to do, and its end ends the call. At a window a
// person takes over once the script is done; without a script there is no customer.
template <typename Screen>
std::unique_ptr<Customer<Screen>> CustomerFromEnvironment(bool offscreen)
{
    const std::optional<std::string> script = EnvironmentVariable("TZC_INPUT");
    if (!script && !offscreen)
        return nullptr;
    return std::make_unique<ScriptedCustomer<Screen>>(ParseScript(script.value_or("")), offscreen);
}

// The customer's part in a window screen's PumpInput.
template <typename Screen>
class CustomerSeat {
public:
    void Take(std::unique_ptr<Customer<Screen>> customer) { customer_ = std::move(customer); }
    // One action, when one is due at now: whether there was one.
    bool ActIfDue(Screen& screen, TimePoint now)
    {
        const std::optional<TimePoint> due = customer_ ? customer_->NextDue(now) : std::nullopt;
        if (!due || *due > now)
            return false;
        customer_->Act(screen);
        return true;
    }
    // When a sleep from now must end: at `deadline` (the next timer) or the customer's next action.
    std::optional<TimePoint> Wake(std::optional<TimePoint> deadline, TimePoint now)
    {
        const std::optional<TimePoint> due = customer_ ? customer_->NextDue(now) : std::nullopt;
        return due && (!deadline || *due < *deadline) ? due : deadline;
    }
    // Whether a wait can only end the call (EInputEnded): the customer has done everything, and
    // its end ends the call; a timer no longer stands in for it.
    bool Done(TimePoint now) { return customer_ && customer_->EndsWhenDone() && !customer_->NextDue(now); }

private:
    std::unique_ptr<Customer<Screen>> customer_;
};

// What the window screens share besides their toolkit: the real clock, and the customer who acts
// on the screen besides a person. `Self` is the screen itself, the one its customer acts on.
template <typename Self>
class WindowScreenBase : public Screen, public ScriptedInput {
public:
    void SetCustomer(std::unique_ptr<Customer<Self>> customer) { customer_.Take(std::move(customer)); }
    Clock& clock() override { return clock_; }

protected:
    RealClock clock_;
    CustomerSeat<Self> customer_;
};

}  // namespace host
