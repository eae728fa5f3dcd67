#pragma once
// Trace lines ("display: 123.4", "step: 2") for scripted runs: to stderr when TZC_TRACE=1, with
// a line feed written as \n and a backslash as \\, or to a sink that a test installs, as they
// are. Texts are given in Windows-1252 and written as UTF-8.
#include <functional>
#include <string>
#include <string_view>

namespace host {

bool TraceEnabled();
void Trace(std::string_view kind, std::string_view cp1252_text);
// Replaces stderr; an empty sink restores it.
void SetTraceSink(std::function<void(const std::string& utf8_line)> sink);

}  // namespace host
