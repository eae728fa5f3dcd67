#include "host/services/files.h"

#include <filesystem>
#include <system_error>

namespace host {

std::string ParamStr(int index)
{
    if (index != 0)
        return "";
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? "" : exe.string();
}

std::string ExtractFileDir(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return "";
    return path.substr(0, slash == 0 ? 1 : slash);
}

bool FileExists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}  // namespace host
