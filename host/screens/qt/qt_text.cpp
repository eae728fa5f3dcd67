#include "host/screens/qt/qt_text.h"

#include "host/text/strings.h"

namespace host::qt {

QString ToQString(std::string_view cp1252)
{
    QString text;
    text.reserve(static_cast<qsizetype>(cp1252.size()));
    for (const char byte : cp1252)
        text.append(QChar(static_cast<char16_t>(Cp1252ToCodePoint(static_cast<unsigned char>(byte)))));
    return text;
}

std::optional<char> ToCp1252(char32_t code_point)
{
    const char byte = CodePointToCp1252(code_point);
    if (byte == '?' && code_point != U'?')
        return std::nullopt;
    return byte;
}

}  // namespace host::qt
