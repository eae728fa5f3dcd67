#include <QString>

#include "host/forms/application.h"
#include "host/forms/form.h"
#include "host/screens/qt/customer.h"
#include "host/screens/qt/key_map.h"
#include "host/screens/qt/window_screen.h"
#include "host/text/strings.h"

namespace host::qt {

namespace {

struct KeyEvent {
    int qt_key;
    QString text;
};

KeyEvent PhysicalKey(uint16_t virtual_key)
{
    switch (virtual_key) {
    case VK_RETURN: return {Qt::Key_Return, QStringLiteral("\r")};
    case VK_BACK: return {Qt::Key_Backspace, QStringLiteral("\b")};
    case VK_ESCAPE: return {Qt::Key_Escape, QStringLiteral("\x1b")};
    case VK_DELETE: return {Qt::Key_Delete, QStringLiteral("\x7f")};
    case VK_F1: return {Qt::Key_F1, QString()};
    default: return {0, QString()};
    }
}

void Touch(WindowScreen& screen, const std::string& name)
{
    TForm* form = Application().ActiveForm();
    TControl* control = form != nullptr ? form->FindComponent(name) : nullptr;
    if (control == nullptr || control == form)
        throw EScriptError("script: no control [" + name + "] on the screen");
    if (!control->Showing())
        throw EScriptError("script: [" + name + "] is hidden");
    FormWindow* window = screen.Window();
    if (window != nullptr)
        window->SynthesizeClick(window->WindowRect(*control).center());
}

}  // namespace

ScriptedCustomer::ScriptedCustomer(std::vector<ScriptAction> actions, bool ends_when_done)
    : timeline_(std::move(actions)), ends_when_done_(ends_when_done)
{
}

std::optional<TimePoint> ScriptedCustomer::NextDue(TimePoint now) { return timeline_.NextDue(now); }

void ScriptedCustomer::Act(WindowScreen& screen)
{
    const std::optional<ScriptAction> taken = timeline_.Take(screen.clock().Now());
    if (!taken)
        return;
    const ScriptAction& action = *taken;
    switch (action.kind) {
    case ScriptAction::Kind::Character: {
        const char32_t code_point = Cp1252ToCodePoint(static_cast<unsigned char>(action.character));
        if (FormWindow* window = screen.Window())
            window->SynthesizeKey(QtKeyForCharacter(code_point), Qt::NoModifier, QString::fromUcs4(&code_point, 1));
        break;
    }
    case ScriptAction::Kind::Key: {
        const KeyEvent key = PhysicalKey(action.key);
        const Qt::KeyboardModifiers modifiers =
            action.shift == ShiftState::Shift ? Qt::ShiftModifier : Qt::NoModifier;
        if (FormWindow* window = screen.Window())
            window->SynthesizeKey(key.qt_key, modifiers, key.text);
        break;
    }
    case ScriptAction::Kind::Touch: Touch(screen, action.name); break;
    case ScriptAction::Kind::Shot: screen.SaveShot(action.name); break;
    case ScriptAction::Kind::End: break;
    }
}

}  // namespace host::qt
