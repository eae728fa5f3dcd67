#include "entry/last_error.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "host/text/strings.h"
#include "tzc04182.h"

namespace Cli_Tzc04182 {

namespace {

char g_message[4096];

// The UTF-8 of one code point below 0x10000 (Windows-1252 has no other).
std::size_t EncodedLength(char32_t cp) { return cp < 0x80 ? 1 : cp < 0x800 ? 2 : 3; }

void Encode(char32_t cp, char* out)
{
    if (cp < 0x80) {
        out[0] = static_cast<char>(cp);
    } else if (cp < 0x800) {
        out[0] = static_cast<char>(0xC0 | (cp >> 6));
        out[1] = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out[0] = static_cast<char>(0xE0 | (cp >> 12));
        out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

void KeepLastError(std::string_view cp1252) noexcept
{
    std::size_t at = 0;
    for (const char byte : cp1252) {
        const char32_t cp = host::Cp1252ToCodePoint(static_cast<unsigned char>(byte));
        if (at + EncodedLength(cp) >= sizeof g_message)
            break;
        Encode(cp, g_message + at);
        at += EncodedLength(cp);
    }
    g_message[at] = '\0';
}

const char* LastError() noexcept { return g_message; }

#ifdef _WIN32
void RaiseLastError()
{
    const ULONG_PTR arguments[] = {reinterpret_cast<ULONG_PTR>(g_message), std::strlen(g_message)};
    RaiseException(TZC_EXCEPTION_CODE, EXCEPTION_NONCONTINUABLE, 2, arguments);
    std::abort();  // a non-continuable exception never comes back
}
#endif

}  // namespace Cli_Tzc04182
