#pragma once
// The few file-system services the dialog needs.
#include <string>

namespace host {

// Paths are UTF-8. Index 0: the path of the host executable (not of the module).
std::string ParamStr(int index);
// The directory part, without a trailing separator.
std::string ExtractFileDir(const std::string& path);
bool FileExists(const std::string& path);

}  // namespace host
