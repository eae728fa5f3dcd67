#pragma once
// Windows-1252 bytes to and from Qt's strings.
#include <QString>
#include <optional>
#include <string_view>

namespace host::qt {

QString ToQString(std::string_view cp1252);
// The Windows-1252 byte of a code point, or nothing when the code page has none.
std::optional<char> ToCp1252(char32_t code_point);

}  // namespace host::qt
