// Physical keys as a Windows keyboard reports them.
#include <gtest/gtest.h>

#include "host/screens/qt/key_map.h"

namespace {

using host::qt::TranslateKey;

struct KeyCase {
    int qt_key;
    Qt::KeyboardModifiers modifiers;
    const char* utf8_text;
    uint16_t virtual_key;
    int character;  // -1: none
};

TEST(KeyMap, KeysBecomeKeyDownsAndCharacters)
{
    const KeyCase cases[] = {
        {Qt::Key_Return, Qt::NoModifier, "\r", 13, 13},
        {Qt::Key_Enter, Qt::KeypadModifier, "\r", 13, 13},
        {Qt::Key_Backspace, Qt::NoModifier, "\b", 8, 8},
        {Qt::Key_Escape, Qt::NoModifier, "\x1b", 27, 27},
        {Qt::Key_Delete, Qt::NoModifier, "\x7f", 46, -1},
        {Qt::Key_F1, Qt::NoModifier, "", 112, -1},
        {Qt::Key_A, Qt::NoModifier, "a", 65, 'a'},
        {Qt::Key_A, Qt::ShiftModifier, "A", 65, 'A'},
        {Qt::Key_7, Qt::NoModifier, "7", 55, '7'},
        {Qt::Key_7, Qt::KeypadModifier, "7", 103, '7'},
        {Qt::Key_Ccedilla, Qt::NoModifier, "\xC3\xA7", 186, 231},
        {Qt::Key_Ccedilla, Qt::ShiftModifier, "\xC3\x87", 186, 199},
        {Qt::Key_Period, Qt::NoModifier, ".", 190, '.'},  // never 46, Delete
        {Qt::Key_Period, Qt::KeypadModifier, ".", 110, '.'},
        {Qt::Key_Comma, Qt::KeypadModifier, ",", 110, ','},
        {Qt::Key_At, Qt::ShiftModifier, "@", '2', '@'},
        {Qt::Key_Minus, Qt::NoModifier, "-", 189, '-'},
        {Qt::Key_Underscore, Qt::ShiftModifier, "_", 189, '_'},
        {Qt::Key_Slash, Qt::NoModifier, "/", 193, '/'},
        {Qt::Key_Space, Qt::NoModifier, " ", 32, ' '},
        {Qt::Key_A, Qt::ControlModifier, "\x01", 65, -1},
        {Qt::Key_A, Qt::AltModifier, "a", 65, -1},
        {Qt::Key_Shift, Qt::ShiftModifier, "", 16, -1},
        {0x20ac, Qt::NoModifier, "\xE2\x82\xAC", 0, 0x80},
        {Qt::Key_unknown, Qt::NoModifier, "\xE2\x9C\x93", 0, -1},  // no Windows-1252 byte
    };
    for (const KeyCase& c : cases) {
        const host::qt::KeyStroke stroke = TranslateKey(c.qt_key, c.modifiers, QString::fromUtf8(c.utf8_text));
        EXPECT_EQ(stroke.virtual_key, c.virtual_key) << "key " << std::hex << c.qt_key;
        if (c.character < 0)
            EXPECT_FALSE(stroke.character) << "key " << std::hex << c.qt_key;
        else
            EXPECT_EQ(stroke.character, static_cast<char>(c.character)) << "key " << std::hex << c.qt_key;
    }
}

TEST(KeyMap, ModifiersBecomeShiftBits)
{
    EXPECT_EQ(host::qt::ShiftBits(Qt::NoModifier), host::ShiftState::None);
    EXPECT_EQ(static_cast<int>(host::qt::ShiftBits(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)), 7);
}

TEST(KeyMap, CharactersHaveTheKeysAKeyboardReports)
{
    EXPECT_EQ(host::qt::QtKeyForCharacter(U'a'), Qt::Key_A);
    EXPECT_EQ(host::qt::QtKeyForCharacter(U'Z'), Qt::Key_Z);
    EXPECT_EQ(host::qt::QtKeyForCharacter(U'\u00E7'), Qt::Key_Ccedilla);
    EXPECT_EQ(host::qt::QtKeyForCharacter(U'.'), Qt::Key_Period);
    EXPECT_EQ(host::qt::QtKeyForCharacter(U' '), Qt::Key_Space);
}

}  // namespace
