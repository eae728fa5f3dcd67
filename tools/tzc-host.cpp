// tzc-host: a host program that loads the module as a point-of-sale application does, builds the
// parameter vector from the command line, calls the entry and prints the eight answers.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tools/loaded_module.h"
#ifdef _WIN32
#include <shellapi.h>
#endif
#include "tzc04182.h"

namespace {

const char* kUsage =
    "usage: tzc-host [--param I=VALUE]... [--null I]... [--last N]\n"
    "                [--screen headless|offscreen|window] [--input SCRIPT] [--trace] [--version]\n"
    "  Calls CriaInfAdicional with parameters 0..16 (UTF-8) and prints slots 0..7.\n"
    "  --param 17=VALUE (or --null 17) passes element 17 too (\"S\": the CNPJ with letters).\n"
    "  With no arguments, runs the typical call: in a window when there is a display,\n"
    "  otherwise headless with a scripted customer.\n";

const char* kTypicalScript = "52998224725{Enter}MARIA DA SILVA{Enter}RUA DAS FLORES 100{Enter}";

struct Module {
    explicit Module(const std::string& path) : loaded(path) {}
    tools::LoadedModule loaded;
    decltype(&::CriaInfAdicionalC) call = loaded.Bind<decltype(call)>("CriaInfAdicionalC");
    decltype(&::tzc_variant_string) make_string = loaded.Bind<decltype(make_string)>("tzc_variant_string");
    decltype(&::tzc_variant_null) make_null = loaded.Bind<decltype(make_null)>("tzc_variant_null");
    decltype(&::tzc_variant_array) make_array = loaded.Bind<decltype(make_array)>("tzc_variant_array");
    decltype(&::tzc_array_element) element = loaded.Bind<decltype(element)>("tzc_array_element");
    decltype(&::tzc_variant_to_utf8) to_utf8 = loaded.Bind<decltype(to_utf8)>("tzc_variant_to_utf8");
    decltype(&::tzc_variant_clear) clear = loaded.Bind<decltype(clear)>("tzc_variant_clear");
};

#ifdef _WIN32
std::wstring Wide(const std::string& utf8)
{
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), static_cast<int>(wide.size()))));
    return wide;
}

std::string Utf8(const wchar_t* wide)
{
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes > 0 ? bytes : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), bytes, nullptr, nullptr);
    utf8.resize(utf8.size() - 1);
    return utf8;
}
#endif

// The arguments as UTF-8: on Windows from the system's UTF-16 command line, as argv holds them
// in the ANSI code page, which cannot hold every name.
std::vector<std::string> Utf8Arguments([[maybe_unused]] int argc, [[maybe_unused]] char** argv)
{
#ifdef _WIN32
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; wide != nullptr && i < count; ++i)
        arguments.push_back(Utf8(wide[i]));
    LocalFree(wide);
    return arguments;
#else
    return std::vector<std::string>(argv, argv + argc);
#endif
}

// Sets a variable of this process's environment (UTF-8), where the module reads it.
void SetEnvironment(const char* name, const std::string& value)
{
#ifdef _WIN32
    SetEnvironmentVariableW(Wide(name).c_str(), Wide(value).c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
}

constexpr int kLastElement = 17;

bool ParseIndex(const char* text, int& index)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 0 || value > kLastElement)
        return false;
    index = static_cast<int>(value);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments = Utf8Arguments(argc, argv);
    std::vector<char*> utf8_argv;
    for (const std::string& argument : arguments)
        utf8_argv.push_back(const_cast<char*>(argument.c_str()));
    argc = static_cast<int>(utf8_argv.size());
    argv = utf8_argv.data();

    // The typical call: empty answers, name and address asked, the document asked.
    // Element 17 goes with the vector only when it is set, so the default call is the 17 of old.
    std::vector<std::string> values = {"", "", "", "N", "N", "PDV", "", "S", "N", "N", "N", "N", "", "N", "N", "S", "N", "N"};
    std::vector<bool> null(kLastElement + 1, false);
    int last = 16;
    bool last_given = false;
    bool typical = argc == 1;

    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto next = [&]() -> const char* {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "error: %s needs a value\n%s", arg.c_str(), kUsage);
                std::exit(2);
            }
            return argv[++i];
        };
        int index = 0;
        if (arg == "--version") {
            std::printf("tzc-host %s\n", TZC_VERSION);
            return 0;
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--param") {
            const std::string assignment = next();
            const std::size_t equals = assignment.find('=');
            if (equals == std::string::npos || !ParseIndex(assignment.substr(0, equals).c_str(), index)) {
                std::fprintf(stderr, "error: --param wants I=VALUE with I from 0 to 17\n");
                return 2;
            }
            values[index] = assignment.substr(equals + 1);
            null[index] = false;
            if (index == kLastElement && !last_given)
                last = kLastElement;
        } else if (arg == "--null") {
            if (!ParseIndex(next(), index)) {
                std::fprintf(stderr, "error: --null wants an index from 0 to 17\n");
                return 2;
            }
            null[index] = true;
            if (index == kLastElement && !last_given)
                last = kLastElement;
        } else if (arg == "--last") {
            char* end = nullptr;
            const char* text = next();
            const long value = std::strtol(text, &end, 10);
            if (end == text || *end != '\0' || value < -1 || value > kLastElement) {
                std::fprintf(stderr, "error: --last wants an index from -1 to 17\n");
                return 2;
            }
            last = static_cast<int>(value);
            last_given = true;
        } else if (arg == "--screen") {
            SetEnvironment("TZC_SCREEN", next());
        } else if (arg == "--input") {
            SetEnvironment("TZC_INPUT", next());
        } else if (arg == "--trace") {
            SetEnvironment("TZC_TRACE", "1");
        } else {
            std::fprintf(stderr, "error: unknown argument %s\n%s", arg.c_str(), kUsage);
            return 2;
        }
    }

    if (typical && std::getenv("TZC_SCREEN") == nullptr && std::getenv("TZC_INPUT") == nullptr) {
        const bool display = std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
        if (!display) {
            std::fprintf(stderr, "tzc-host: no display; running the typical call headless with a scripted customer:\n"
                                 "  %s\n", kTypicalScript);
            SetEnvironment("TZC_SCREEN", "headless");
            SetEnvironment("TZC_INPUT", kTypicalScript);
            SetEnvironment("TZC_TRACE", "1");
        }
    }

    const char* chosen = std::getenv("TZC_MODULE");
    Module module(chosen != nullptr ? chosen : tools::ModuleBesideProgram());
    // Always the 18 elements in memory: a --last beyond the elements set reads defaults, not past the end.
    std::vector<tzc_variant> params(kLastElement + 1);
    for (int i = 0; i <= kLastElement; ++i)
        params[i] = null[i] ? module.make_null() : module.make_string(values[i].c_str());
    tzc_variant result = module.make_array(0, 7);

    char error[1024];
    const int status = module.call(params.data(), last, &result, error, sizeof error);
    int exit_code = 0;
    if (status != TZC_OK) {
        std::printf("error: %s\n", error);
        exit_code = std::strncmp(error, "input ended", 11) == 0 ? 3 : 1;
    } else {
        for (int slot = 0; slot < 8; ++slot) {
            const tzc_variant* value = module.element(&result, slot);
            const long length = module.to_utf8(value, nullptr, 0);
            std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
            if (length > 0)
                module.to_utf8(value, text.data(), text.size() + 1);
            std::printf("%d=%s\n", slot, tools::OneLine(text).c_str());
        }
    }
    for (tzc_variant& param : params)
        module.clear(&param);
    module.clear(&result);
    std::fflush(stdout);
    return exit_code;
}
