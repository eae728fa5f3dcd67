#include <QString>

#include "host/forms/application.h"
#include "host/forms/form.h"
#include "host/screens/qt/key_map.h"
#include "host/screens/qt/window_screen.h"
#include "host/screens/touch.h"
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
    TControl& control = ControlToTouch(name);
    FormWindow* window = screen.Window();
    if (window != nullptr)
        window->SynthesizeClick(window->WindowRect(control).center());
}

}  // namespace

}  // namespace host::qt

namespace host {

template <>
void ScriptedCustomer<qt::WindowScreen>::Act(qt::WindowScreen& screen)
{
    using namespace qt;
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

}  // namespace host
