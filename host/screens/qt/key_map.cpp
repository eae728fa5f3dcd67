#include "host/screens/qt/key_map.h"

#include <QChar>
#include <QList>

#include "host/screens/qt/qt_text.h"
#include "host/screens/script.h"

namespace host::qt {

namespace {

struct KeyPair {
    int qt_key;
    uint16_t virtual_key;
};

// Keys whose code is not their character, on the Brazilian ABNT2 layout. Punctuation has keys of
// its own on Windows (the OEM codes): "." must never come out as 46, which is Delete.
constexpr KeyPair kKeys[] = {
    {Qt::Key_Backspace, VK_BACK},  {Qt::Key_Tab, 9},          {Qt::Key_Backtab, 9},
    {Qt::Key_Return, VK_RETURN},   {Qt::Key_Enter, VK_RETURN}, {Qt::Key_Shift, 16},
    {Qt::Key_Control, 17},         {Qt::Key_Alt, 18},          {Qt::Key_AltGr, 18},
    {Qt::Key_Pause, 19},           {Qt::Key_CapsLock, 20},     {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, 32},           {Qt::Key_PageUp, 33},       {Qt::Key_PageDown, 34},
    {Qt::Key_End, 35},             {Qt::Key_Home, 36},         {Qt::Key_Left, 37},
    {Qt::Key_Up, 38},              {Qt::Key_Right, 39},        {Qt::Key_Down, 40},
    {Qt::Key_Print, 44},           {Qt::Key_Insert, 45},       {Qt::Key_Delete, VK_DELETE},
    {Qt::Key_Meta, 91},            {Qt::Key_Menu, 93},         {Qt::Key_NumLock, 144},
    {Qt::Key_ScrollLock, 145},     {Qt::Key_Ccedilla, 186},    {Qt::Key_Semicolon, 191},
    {Qt::Key_Equal, 187},          {Qt::Key_Plus, 187},        {Qt::Key_Comma, 188},
    {Qt::Key_Less, 188},           {Qt::Key_Minus, 189},       {Qt::Key_Underscore, 189},
    {Qt::Key_Period, 190},         {Qt::Key_Greater, 190},     {Qt::Key_Colon, 191},
    {Qt::Key_Slash, 193},          {Qt::Key_Question, 193},    {Qt::Key_Apostrophe, 192},
    {Qt::Key_QuoteDbl, 192},       {Qt::Key_Dead_Acute, 219},  {Qt::Key_Dead_Grave, 219},
    {Qt::Key_BracketLeft, 221},    {Qt::Key_BraceLeft, 221},   {Qt::Key_BracketRight, 220},
    {Qt::Key_BraceRight, 220},     {Qt::Key_Backslash, 226},   {Qt::Key_Bar, 226},
    {Qt::Key_Dead_Tilde, 222},     {Qt::Key_Dead_Circumflex, 222}, {Qt::Key_AsciiTilde, 222},
    {Qt::Key_AsciiCircum, 222},    {Qt::Key_QuoteLeft, 219},
    // Shifted digits keep the digit's key.
    {Qt::Key_Exclam, '1'},         {Qt::Key_At, '2'},          {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},         {Qt::Key_Percent, '5'},     {Qt::Key_Dead_Diaeresis, '6'},
    {Qt::Key_Ampersand, '7'},      {Qt::Key_Asterisk, '8'},    {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},
};

}  // namespace

uint16_t VirtualKey(int qt_key, Qt::KeyboardModifiers modifiers)
{
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9)
        return static_cast<uint16_t>(keypad ? 96 + (qt_key - Qt::Key_0) : qt_key);
    if (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z)
        return static_cast<uint16_t>(qt_key);
    if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F24)
        return static_cast<uint16_t>(VK_F1 + (qt_key - Qt::Key_F1));
    if (keypad) {
        switch (qt_key) {
        case Qt::Key_Asterisk: return 106;
        case Qt::Key_Plus: return 107;
        case Qt::Key_Minus: return 109;
        case Qt::Key_Period: case Qt::Key_Comma: return 110;
        case Qt::Key_Slash: return 111;
        default: break;
        }
    }
    for (const KeyPair& pair : kKeys)
        if (pair.qt_key == qt_key)
            return pair.virtual_key;
    return 0;
}

ShiftState ShiftBits(Qt::KeyboardModifiers modifiers)
{
    int bits = 0;
    if (modifiers.testFlag(Qt::ShiftModifier))
        bits |= static_cast<int>(ShiftState::Shift);
    if (modifiers.testFlag(Qt::AltModifier))
        bits |= static_cast<int>(ShiftState::Alt);
    if (modifiers.testFlag(Qt::ControlModifier))
        bits |= static_cast<int>(ShiftState::Ctrl);
    return static_cast<ShiftState>(bits);
}

KeyStroke TranslateKey(int qt_key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    KeyStroke stroke;
    stroke.virtual_key = VirtualKey(qt_key, modifiers);
    stroke.shift = ShiftBits(modifiers);
    // Enter, Backspace and Escape are followed by their control character, as on Windows.
    if (const char after = CharacterAfterKey(stroke.virtual_key)) {
        stroke.character = after;
        return stroke;
    }
    // With Ctrl or Alt held a key types nothing the dialog could take.
    if (modifiers.testAnyFlags(Qt::ControlModifier | Qt::AltModifier))
        return stroke;
    const QList<uint> code_points = text.toUcs4();
    if (code_points.size() != 1 || code_points.front() < 32 || code_points.front() == 127)
        return stroke;
    stroke.character = ToCp1252(code_points.front());
    return stroke;
}

std::vector<char> ComposedCharacters(const QString& text)
{
    std::vector<char> characters;
    for (const uint code_point : text.toUcs4())
        if (code_point >= 32 && code_point != 127)
            if (const std::optional<char> byte = ToCp1252(code_point))
                characters.push_back(*byte);
    return characters;
}

int QtKeyForCharacter(char32_t code_point)
{
    if (code_point >= U'a' && code_point <= U'z')
        return Qt::Key_A + static_cast<int>(code_point - U'a');
    // Qt's keys for Latin-1 are the code points of their capitals.
    if (code_point > 32 && code_point <= 0xFF && code_point != 127 && (code_point < 0x80 || code_point >= 0xA0))
        return static_cast<int>(QChar::toUpper(code_point));
    if (code_point == U' ')
        return Qt::Key_Space;
    return 0;
}

}  // namespace host::qt
