// A Windows host that ends things in the orders it is told, one after another, with the module's
// window kept between its calls (a real window under Wine and Xvfb; each call is declined at once
// by the script it sets):
//   tzc_win32_teardown_orders ORDER...
// ORDER is one of
//   unload-kept        three calls, FreeLibrary, load again, three more, FreeLibrary
//   exit-loaded        three calls, then the process ends without unloading
//   host-windows-gone  the host's own window active during a call, destroyed by the host, a call
// Prints "ORDER: ok" after each order and exits 0 when every call worked and nothing crashed on
// the way; exit-loaded, which ends the process, comes last.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/loaded_module.h"
#include "tzc04182.h"

namespace {

[[noreturn]] void Fail(const std::string& what)
{
    std::printf("error: %s\n", what.c_str());
    std::fflush(stdout);
    ExitProcess(1);
}

void Call(const tools::LoadedModule& module, int times = 1)
{
    const auto call = module.Bind<decltype(&CriaInfAdicionalC)>("CriaInfAdicionalC");
    const auto make_string = module.Bind<decltype(&tzc_variant_string)>("tzc_variant_string");
    const auto make_array = module.Bind<decltype(&tzc_variant_array)>("tzc_variant_array");
    const auto clear = module.Bind<decltype(&tzc_variant_clear)>("tzc_variant_clear");
    const char* values[17] = {"", "", "", "N", "N", "PDV", "", "S", "N", "N", "N", "N", "", "N", "N", "S", "N"};
    for (int time = 0; time < times; ++time) {
        tzc_variant params[17];
        for (int i = 0; i < 17; ++i)
            params[i] = make_string(values[i]);
        tzc_variant result = make_array(0, 7);
        char error[512] = "";
        const int status = call(params, 16, &result, error, sizeof error);
        for (tzc_variant& param : params)
            clear(&param);
        clear(&result);
        if (status != TZC_OK)
            Fail(error);
    }
}

// The till's own main window, shown and active.
HWND TillWindow()
{
    const HWND window = CreateWindowExA(0, "STATIC", "Caixa", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200,
                                        nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window == nullptr)
        Fail("cannot make the till's window");
    SetActiveWindow(window);
    return window;
}

// Plays one order; exit-loaded ends the process.
void Play(const std::string& order, const std::string& path)
{
    if (order == "unload-kept") {
        for (int round = 0; round < 2; ++round) {
            const tools::LoadedModule module(path);
            Call(module, 3);
        }
    } else if (order == "exit-loaded") {
        auto* kept = new tools::LoadedModule(path);
        Call(*kept, 3);
        std::printf("exit-loaded: ok\n");
        std::fflush(stdout);
        std::exit(0);
    } else if (order == "host-windows-gone") {
        const tools::LoadedModule module(path);
        const HWND till = TillWindow();
        Call(module);
        DestroyWindow(till);
        Call(module);
        if (IsWindowEnabled(TillWindow()) == FALSE)
            Fail("a new window of the host is disabled");
        Call(module);
    } else {
        Fail("unknown order " + order);
    }
    std::printf("%s: ok\n", order.c_str());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: tzc_win32_teardown_orders ORDER...\n");
        return 2;
    }
    std::string declines;
    for (int call = 0; call < 100; ++call)
        declines += "{Escape}";
    SetEnvironmentVariableA("TZC_INPUT", declines.c_str());
    SetEnvironmentVariableA("TZC_SCREEN", "window");
    const std::string path = tools::ModuleBesideProgram();
    for (int order = 1; order < argc; ++order)
        Play(argv[order], path);
    return 0;
}
