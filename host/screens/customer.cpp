#include "host/screens/customer.h"

#include "host/screens/touch.h"

namespace host {

void Play(const ScriptAction& action, ScriptedInput& input)
{
    const bool acts_on_form = action.kind == ScriptAction::Kind::Character || action.kind == ScriptAction::Kind::Key ||
                              action.kind == ScriptAction::Kind::Touch;
    if (acts_on_form && !input.ShowsForm())
        throw EScriptError("script: no window to act on");
    switch (action.kind) {
    case ScriptAction::Kind::Character: input.TypeCharacter(action.character); break;
    case ScriptAction::Kind::Key: input.PressKey(action.key, action.shift); break;
    case ScriptAction::Kind::Touch: input.Touch(ControlToTouch(action.name)); break;
    case ScriptAction::Kind::Shot: input.SaveShot(action.name); break;
    case ScriptAction::Kind::End: break;
    }
}

}  // namespace host
