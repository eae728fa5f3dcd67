#pragma once
// A text on one line: a line feed as \n and a backslash as \\, so that a display or a slot holding
// the line-feed marker stays on its line. Header-only, so the tools that load the module share it
// without linking the module's code.
#include <string>
#include <string_view>

namespace host {

inline std::string OneLine(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\\')
            out += "\\\\";
        else
            out += c;
    }
    return out;
}

}  // namespace host
