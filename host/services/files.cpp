#include "host/services/files.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <filesystem>
#include <system_error>
#include <vector>

#include "host/text/paths.h"

namespace host {

namespace {

std::string ExecutablePath()
{
#ifdef _WIN32
    // Paths may pass MAX_PATH: grow the buffer until the whole path fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return "";
        if (length < buffer.size())
            return Utf8FromPath(std::filesystem::path(std::wstring(buffer.data(), length)));
        if (buffer.size() >= 0x8000)
            return "";
        buffer.resize(buffer.size() * 2);
    }
#else
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? "" : exe.string();
#endif
}

}  // namespace

std::string ParamStr(int index) { return index == 0 ? ExecutablePath() : ""; }

std::string ExtractFileDir(const std::string& path)
{
#ifdef _WIN32
    // A drive's root keeps its separator ("C:\"), as the framework's ExtractFileDir does.
    const std::size_t slash = path.find_last_of("\\/:");
    if (slash == std::string::npos)
        return "";
    const bool root = path[slash] == ':' || slash == 0 || path[slash - 1] == ':';
    return path.substr(0, root ? slash + 1 : slash);
#else
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return "";
    return path.substr(0, slash == 0 ? 1 : slash);
#endif
}

bool FileExists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(PathFromUtf8(path), error);
}

}  // namespace host
