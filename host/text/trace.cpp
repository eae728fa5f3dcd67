#include "host/text/trace.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/text/environment.h"
#include "host/text/one_line.h"
#include "host/text/strings.h"

namespace host {

namespace {

std::function<void(const std::string&)>& Sink()
{
    static std::function<void(const std::string&)> sink;
    return sink;
}

}  // namespace

bool TraceEnabled()
{
    if (Sink())
        return true;
    return EnvironmentVariable("TZC_TRACE") == "1";
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
