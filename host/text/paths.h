#pragma once
// Paths inside the module are UTF-8 strings; the file system is reached through these, so that
// on Windows a folder named in any language (C:\Usuários\...) opens through the wide API.
#include <filesystem>
#include <string>
#include <string_view>

namespace host {

// The separator between a folder and a file name, as the framework's PathDelim.
#ifdef _WIN32
inline constexpr char PathDelim = '\\';
#else
inline constexpr char PathDelim = '/';
#endif

std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace host
