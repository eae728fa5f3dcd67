#pragma once
// The headless screen: no pixels, a virtual clock, and a scripted customer whose actions arrive
// one at a time whenever the application waits for input. When the script has nothing left and
// the application would wait, EInputEnded is thrown: a scripted run never hangs.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/forms/screen.h"
#include "host/screens/script.h"

namespace host {

class HeadlessScreen final : public Screen {
public:
    // Plays the script in TZC_INPUT, if any.
    HeadlessScreen();
    void SetScript(std::string_view utf8);
    bool ScriptDone() const { return next_ >= actions_.size(); }
    // A customer who decides as they go: asked for one more action whenever the script has run
    // out, at a moment when the previous action has been handled and the waiting flow has looked
    // at it; nothing ends the input. For tests that check the dialog after every action.
    using ActionSource = std::function<std::optional<ScriptAction>()>;
    void SetActionSource(ActionSource source) { source_ = std::move(source); }

    Clock& clock() override { return clock_; }
    void FormShown(TForm&) override {}
    void FormHidden(TForm&) override {}
    void Invalidate(TForm&) override {}
    void Repaint(TForm&) override {}
    void PumpInput(TApplication& application, bool wait, std::optional<TimePoint> deadline) override;

private:
    void Deliver(TApplication& application, const ScriptAction& action);

    VirtualClock clock_;
    ActionSource source_;
    std::vector<ScriptAction> actions_;
    std::size_t next_ = 0;
    TimePoint last_action_{};
};

// Delivers one scripted action to the form on top: shared by every screen that plays scripts.
void DeliverScriptAction(TApplication& application, const ScriptAction& action);

}  // namespace host
