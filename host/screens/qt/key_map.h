#pragma once
// Physical keys as the dialog knows them: a Qt key event becomes the virtual-key code of its
// key-down and, when the key types one, the Windows-1252 character that follows it, as a
// Windows keyboard would send them.
#include <Qt>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "host/forms/messages.h"

namespace host::qt {

struct KeyStroke {
    uint16_t virtual_key = 0;         // 0: a key Windows would not report (a lone modifier)
    ShiftState shift = ShiftState::None;
    std::optional<char> character;    // the WM_CHAR after the key-down, if any
};

uint16_t VirtualKey(int qt_key, Qt::KeyboardModifiers modifiers);
ShiftState ShiftBits(Qt::KeyboardModifiers modifiers);
KeyStroke TranslateKey(int qt_key, Qt::KeyboardModifiers modifiers, const QString& text);
// The characters that text composed by the platform's input method types (a dead key and the
// letter after it: "Ã"), one WM_CHAR each; those the code page lacks type nothing.
std::vector<char> ComposedCharacters(const QString& text);

// The Qt key a keyboard reports for a character (its capital for letters), or 0.
int QtKeyForCharacter(char32_t code_point);

}  // namespace host::qt
