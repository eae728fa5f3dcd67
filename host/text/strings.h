#pragma once
// The framework's string helpers. Strings are Windows-1252 bytes; positions count from 1.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace host {

class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Only a..z change; every other byte, accented letters included, stays as it is.
std::string UpperCase(std::string_view text);
// Removes the bytes 0..32 from both ends.
std::string Trim(std::string_view text);
// Decimal conversion, optional sign and surrounding blanks; EConvertError when not a number or
// out of range.
int32_t StrToInt(std::string_view text);
int64_t StrToInt64(std::string_view text);
// Applies an edit mask "layout;save-literals;blank" to value. Digit and character positions
// ("9", "0", "#", "L", "l", "A", "a", "C", "c") take the next byte of value, every other layout
// byte is a literal ("\" quotes the next one); a position that value does not fill shows blank.
std::string FormatMaskText(std::string_view mask, std::string_view value);

// 1-based position of needle in text, 0 when absent.
std::size_t Pos(std::string_view needle, std::string_view text);

std::string Cp1252ToUtf8(std::string_view text);
// One Unicode code point as UTF-8, appended to out.
void AppendUtf8(std::string& out, char32_t code_point);
// Characters outside Windows-1252, and malformed UTF-8, become "?".
std::string Utf8ToCp1252(std::string_view text);
// Malformed sequences become "?".
std::u32string Utf8ToCodePoints(std::string_view text);
// One Unicode code point as Windows-1252, or '?' when it has none.
char CodePointToCp1252(char32_t code_point);
char32_t Cp1252ToCodePoint(unsigned char byte);

}  // namespace host
