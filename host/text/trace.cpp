#include "host/text/trace.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/text/strings.h"

namespace host {

namespace {

std::function<void(const std::string&)>& Sink()
{
    static std::function<void(const std::string&)> sink;
    return sink;
}

// A line feed as \n and a backslash as \\, so that a display holding the line-feed marker
// stays on its line, as the slots of tzc-host do.
std::string OneLine(const std::string& line)
{
    std::string out;
    for (const char c : line) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\\')
            out += "\\\\";
        else
            out += c;
    }
    return out;
}

}  // namespace

bool TraceEnabled()
{
    if (Sink())
        return true;
    const char* flag = std::getenv("TZC_TRACE");
    return flag != nullptr && std::strcmp(flag, "1") == 0;
}

void Trace(std::string_view kind, std::string_view cp1252_text)
{
    if (!TraceEnabled())
        return;
    const std::string line = std::string(kind) + ": " + Cp1252ToUtf8(cp1252_text);
    if (Sink())
        Sink()(line);
    else
        std::fprintf(stderr, "%s\n", OneLine(line).c_str());
}

void SetTraceSink(std::function<void(const std::string&)> sink) { Sink() = std::move(sink); }

}  // namespace host
