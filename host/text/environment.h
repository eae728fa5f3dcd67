#pragma once
// The process's environment variables as UTF-8. On Windows they are read from the system's own
// (wide) block: what a host set with SetEnvironmentVariableW is seen, and non-ASCII text
// survives, which the C runtime's copy made at start-up in the ANSI code page does not promise.
#include <optional>
#include <string>

namespace host {

std::optional<std::string> EnvironmentVariable(const char* name);

}  // namespace host
