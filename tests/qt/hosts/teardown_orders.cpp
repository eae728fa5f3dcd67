// A Qt host that ends things in the order it is told, with the module's window kept between its
// calls (TZC_SCREEN=window; each call is declined at once by the script it sets):
//   teardown_orders MODULE ORDER
// ORDER is one of
//   unload-kept          three calls, unload, load again, three more, unload
//   hundred-calls        a hundred calls, then unload (for valgrind)
//   exit-loaded          three calls, then exit without unloading
//   app-ends-first       the host's QApplication made, calls, destroyed, the module unloaded after
//   app-ends-first-again the same, with calls after it ended (the module makes its own)
//   app-ends-after       the host's QGuiApplication made, calls, the module unloaded, then it ends
//   app-exits-loaded     the host's QApplication on main's stack, calls, main returns loaded
//   host-windows-gone    the host's own windows shown, a call, the host destroys them, a call
// Prints "ok" and exits 0 when every call worked and nothing crashed on the way.
#include <dlfcn.h>

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "tzc04182.h"

namespace {

class Module {
public:
    explicit Module(const char* path) : handle_(dlopen(path, RTLD_NOW | RTLD_LOCAL))
    {
        if (handle_ == nullptr)
            Fail(dlerror());
    }
    void Unload()
    {
        if (dlclose(handle_) != 0)
            Fail("dlclose failed");
        handle_ = nullptr;
    }
    // One call with the typical parameters; ends the program when it fails.
    void Call(int times = 1) const
    {
        const auto call = Bind<decltype(&CriaInfAdicionalC)>("CriaInfAdicionalC");
        const auto make_string = Bind<decltype(&tzc_variant_string)>("tzc_variant_string");
        const auto make_array = Bind<decltype(&tzc_variant_array)>("tzc_variant_array");
        const auto clear = Bind<decltype(&tzc_variant_clear)>("tzc_variant_clear");
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

private:
    template <typename Function>
    Function Bind(const char* name) const
    {
        auto function = reinterpret_cast<Function>(dlsym(handle_, name));
        if (function == nullptr)
            Fail(name);
        return function;
    }
    [[noreturn]] static void Fail(const char* what)
    {
        std::printf("error: %s\n", what);
        std::fflush(stdout);
        std::_Exit(1);
    }
    void* handle_;
};

int argc_for_qt = 1;
char name_for_qt[] = "teardown_orders";
char* argv_for_qt[] = {name_for_qt, nullptr};

int Ok()
{
    std::printf("ok\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: teardown_orders MODULE ORDER\n");
        return 2;
    }
    std::string declines;
    for (int call = 0; call < 100; ++call)
        declines += "{Escape}";
    setenv("TZC_INPUT", declines.c_str(), 1);
    const char* path = argv[1];
    const std::string order = argv[2];
    if (order == "unload-kept") {
        for (int round = 0; round < 2; ++round) {
            Module module(path);
            module.Call(3);
            module.Unload();
        }
        return Ok();
    }
    if (order == "hundred-calls") {
        Module module(path);
        module.Call(100);
        module.Unload();
        return Ok();
    }
    if (order == "exit-loaded") {
        Module(path).Call(3);
        std::printf("ok\n");
        std::fflush(stdout);
        std::exit(0);
    }
    if (order == "app-ends-first" || order == "app-ends-first-again") {
        Module module(path);
        auto application = std::make_unique<QApplication>(argc_for_qt, argv_for_qt);
        module.Call(2);
        application.reset();
        if (order == "app-ends-first-again")
            module.Call(2);
        module.Unload();
        return Ok();
    }
    if (order == "app-ends-after") {
        QGuiApplication application(argc_for_qt, argv_for_qt);
        Module module(path);
        module.Call(2);
        module.Unload();
        // The application carries on without the module's window.
        QWindow own;
        own.show();
        QCoreApplication::processEvents();
        return Ok();
    }
    if (order == "app-exits-loaded") {
        QApplication application(argc_for_qt, argv_for_qt);
        Module(path).Call(2);
        return Ok();
    }
    if (order == "host-windows-gone") {
        QApplication application(argc_for_qt, argv_for_qt);
        Module module(path);
        {
            auto till = std::make_unique<QWidget>();
            auto window = std::make_unique<QWindow>();
            till->show();
            window->show();
            QCoreApplication::processEvents();
            module.Call();
        }
        QCoreApplication::processEvents();
        module.Call();
        module.Unload();
        return Ok();
    }
    std::fprintf(stderr, "unknown order %s\n", order.c_str());
    return 2;
}
