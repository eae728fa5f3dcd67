// A host in C++ that links the module and calls its C++ entry.
//
//     cpp-host [--last N] [I=VALUE]...
//
// Starts from the typical call, sets parameter I to VALUE (UTF-8) for each I=VALUE (17=S takes
// CNPJs with letters; setting element 17 passes 18 elements), calls
// Cli_Tzc04182::CriaInfAdicional and prints the slots as "0=..." to "7=...", or the exception
// as "error: TEXT" and exits 1.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "tzc04182.hpp"

namespace {

// A line feed as \n and a backslash as \\, so that each slot stays on its line.
std::string Escaped(const std::string& text)
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

}  // namespace

int main(int argc, char** argv)
{
    // The typical call: no answers pre-filled, name and address asked after the document.
    // Element 17, the CNPJ with letters, is passed only when it is set.
    std::vector<std::string> values = {"", "", "", "N", "N", "PDV", "", "S", "N",
                                       "N", "N", "N", "", "N", "N", "S", "N", "N"};
    constexpr int kLastElement = 17;
    int last = 16;
    bool last_given = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--last" && i + 1 < argc) {
            last = std::atoi(argv[++i]);
            last_given = true;
            continue;
        }
        const std::size_t equals = arg.find('=');
        const int index = equals == std::string::npos ? -1 : std::atoi(arg.substr(0, equals).c_str());
        if (equals == 0 || index < 0 || index > kLastElement) {
            std::fprintf(stderr, "usage: %s [--last N] [I=VALUE]...  (I from 0 to 17)\n", argv[0]);
            return 2;
        }
        values[static_cast<std::size_t>(index)] = arg.substr(equals + 1);
        if (index == kLastElement && !last_given)
            last = kLastElement;
    }

    std::vector<host::Variant> params;
    for (const std::string& value : values)
        params.emplace_back(value);
    host::Variant result = host::Variant::Array(0, 7);

    try {
        Cli_Tzc04182::CriaInfAdicional(params.data(), last, result);
    } catch (const std::exception& error) {
        // The module's texts are Windows-1252; the ones it raises itself are plain ASCII.
        std::printf("error: %s\n", error.what());
        return 1;
    }
    for (int slot = 0; slot < 8; ++slot) {
        const host::Variant* value = result.Element(slot);
        std::printf("%d=%s\n", slot, Escaped(value != nullptr ? value->Utf8().value_or("") : "").c_str());
    }
    return 0;
}
