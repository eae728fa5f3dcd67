// A script's actions as the Qt window's own input: key events as the platform delivers them, a
// press and release at the control's centre.
#include <QString>

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

}  // namespace

bool WindowScreen::ShowsForm() const { return window_ && !window_->Empty(); }

void WindowScreen::TypeCharacter(char character)
{
    const char32_t code_point = Cp1252ToCodePoint(static_cast<unsigned char>(character));
    Window()->SynthesizeKey(QtKeyForCharacter(code_point), Qt::NoModifier, QString::fromUcs4(&code_point, 1));
}

void WindowScreen::PressKey(uint16_t virtual_key, ShiftState shift)
{
    const KeyEvent key = PhysicalKey(virtual_key);
    Window()->SynthesizeKey(key.qt_key, shift == ShiftState::Shift ? Qt::ShiftModifier : Qt::NoModifier, key.text);
}

void WindowScreen::Touch(TControl& control)
{
    Window()->SynthesizeClick(Window()->WindowRect(control).center());
}

}  // namespace host::qt
