#include "host/text/strings.h"

#include <array>
#include <charconv>
#include <limits>

namespace host {

namespace {

// Windows-1252 0x80..0x9F; the five unassigned bytes map to the C1 controls, as Windows does.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

template <typename Int>
Int ParseInteger(std::string_view text)
{
    const std::string_view original = text;
    auto fail = [&]() -> Int {
        throw EConvertError("'" + std::string(original) + "' is not a valid integer value");
    };
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return fail();
    // Accumulate negatively so that the minimum value parses too.
    Int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return fail();
        const Int digit = c - '0';
        if (value < (std::numeric_limits<Int>::min() + digit) / 10)
            return fail();
        value = value * 10 - digit;
    }
    if (!negative) {
        if (value == std::numeric_limits<Int>::min())
            return fail();
        value = -value;
    }
    return value;
}

bool IsMaskPosition(char c)
{
    switch (c) {
    case '9': case '0': case '#': case 'L': case 'l': case 'A': case 'a': case 'C': case 'c':
        return true;
    default:
        return false;
    }
}

}  // namespace

std::string UpperCase(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return result;
}

std::string Trim(std::string_view text)
{
    while (!text.empty() && IsBlankOrControl(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlankOrControl(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

int32_t StrToInt(std::string_view text) { return ParseInteger<int32_t>(text); }
int64_t StrToInt64(std::string_view text) { return ParseInteger<int64_t>(text); }

std::string FormatMaskText(std::string_view mask, std::string_view value)
{
    const std::size_t first = mask.find(';');
    const std::string_view layout = mask.substr(0, first);
    char blank = ' ';
    if (first != std::string_view::npos) {
        const std::size_t second = mask.find(';', first + 1);
        if (second != std::string_view::npos && second + 1 < mask.size())
            blank = mask[second + 1];
    }
    std::string result;
    std::size_t next = 0;
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const char c = layout[i];
        if (c == '\\' && i + 1 < layout.size()) {
            result += layout[++i];
        } else if (IsMaskPosition(c)) {
            result += next < value.size() ? value[next++] : blank;
        } else if (c != '!' && c != '<' && c != '>') {
            result += c;
        }
    }
    return result;
}

std::size_t Pos(std::string_view needle, std::string_view text)
{
    const std::size_t at = text.find(needle);
    return at == std::string_view::npos ? 0 : at + 1;
}

char32_t Cp1252ToCodePoint(unsigned char byte)
{
    return byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : char32_t(byte);
}

char CodePointToCp1252(char32_t code_point)
{
    if (code_point < 0x80 || (code_point >= 0xA0 && code_point <= 0xFF))
        return static_cast<char>(code_point);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == code_point)
            return static_cast<char>(0x80 + i);
    return '?';
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string Cp1252ToUtf8(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (char c : text)
        AppendUtf8(result, Cp1252ToCodePoint(static_cast<unsigned char>(c)));
    return result;
}

std::u32string Utf8ToCodePoints(std::string_view text)
{
    std::u32string points;
    points.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : -1;
        bool valid = extra >= 0 && i + extra < text.size();
        char32_t cp = valid ? lead & (0x7F >> extra) : U'?';
        for (int k = 1; valid && k <= extra; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3F);
        }
        points += valid ? cp : U'?';
        i += valid ? extra + 1 : 1;
    }
    return points;
}

std::string Utf8ToCp1252(std::string_view text)
{
    std::string result;
    for (char32_t cp : Utf8ToCodePoints(text))
        result += CodePointToCp1252(cp);
    return result;
}

}  // namespace host
