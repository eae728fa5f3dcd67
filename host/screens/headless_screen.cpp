#include "host/screens/headless_screen.h"

#include <cstdlib>

#include "host/forms/application.h"
#include "host/forms/form.h"
#include "host/screens/touch.h"
#include "host/text/environment.h"

namespace host {

void DeliverScriptAction(TApplication& application, const ScriptAction& action)
{
    TForm* form = application.ActiveForm();
    if (form == nullptr)
        return;
    const HWND window = form->GetHandle();
    switch (action.kind) {
    case ScriptAction::Kind::Character:
        application.Post({window, WM_CHAR, static_cast<unsigned char>(action.character), 0});
        break;
    case ScriptAction::Kind::Key:
        application.Post({window, WM_KEYDOWN, action.key, static_cast<LPARAM>(action.shift)});
        if (const char after = CharacterAfterKey(action.key))
            application.Post({window, WM_CHAR, static_cast<unsigned char>(after), 0});
        break;
    case ScriptAction::Kind::Touch: {
        TControl& control = ControlToTouch(action.name);
        application.Post({window, WM_TOUCH_CLICK, 0, reinterpret_cast<LPARAM>(&control)});
        break;
    }
    case ScriptAction::Kind::Shot:
    case ScriptAction::Kind::End:
        break;
    }
}

HeadlessScreen::HeadlessScreen()
{
    if (const std::optional<std::string> script = EnvironmentVariable("TZC_INPUT"))
        SetScript(*script);
}

void HeadlessScreen::SetScript(std::string_view utf8)
{
    actions_ = ParseScript(utf8);
    next_ = 0;
    last_action_ = clock_.Now();
}

void HeadlessScreen::PumpInput(TApplication& application, bool wait, std::optional<TimePoint> deadline)
{
    if (next_ >= actions_.size() && source_) {
        if (std::optional<ScriptAction> action = source_())
            actions_.push_back(std::move(*action));
    }
    if (next_ >= actions_.size()) {
        // Once the customer has done everything, a timer no longer stands in for them.
        if (wait)
            throw EInputEnded();
        return;
    }
    const ScriptAction& action = actions_[next_];
    const TimePoint due = last_action_ + action.delay;
    if (due > clock_.Now()) {
        if (!wait)
            return;
        // A timer due at the same moment as the customer goes first.
        if (deadline && *deadline <= due) {
            clock_.AdvanceTo(*deadline);
            return;
        }
        clock_.AdvanceTo(due);
    }
    ++next_;
    last_action_ = clock_.Now();
    Deliver(application, action);
}

void HeadlessScreen::Deliver(TApplication& application, const ScriptAction& action)
{
    DeliverScriptAction(application, action);
}

}  // namespace host
