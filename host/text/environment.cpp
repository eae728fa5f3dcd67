#include "host/text/environment.h"

#ifdef _WIN32
#include <windows.h>

#include <vector>
#else
#include <cstdlib>
#endif

namespace host {

#ifdef _WIN32

namespace {

std::wstring Wide(const char* ascii) { return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii)); }

std::string Utf8(const wchar_t* text, int units)
{
    if (units == 0)
        return "";
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, units, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_UTF8, 0, text, units, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}

}  // namespace

std::optional<std::string> EnvironmentVariable(const char* name)
{
    const std::wstring wide_name = Wide(name);
    std::vector<wchar_t> value(256);
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        const DWORD units = GetEnvironmentVariableW(wide_name.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (units == 0)
            return GetLastError() == ERROR_ENVVAR_NOT_FOUND ? std::nullopt : std::optional<std::string>("");
        if (units < value.size())
            return Utf8(value.data(), static_cast<int>(units));
        value.resize(units);  // the size it needs, its terminating zero included
    }
}

#else

std::optional<std::string> EnvironmentVariable(const char* name)
{
    const char* value = std::getenv(name);
    if (value == nullptr)
        return std::nullopt;
    return std::string(value);
}

#endif

}  // namespace host
