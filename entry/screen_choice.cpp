#include "entry/screen_choice.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "host/forms/application.h"
#include "host/screens/headless_screen.h"
#ifdef TZC_HAVE_QT
#include "host/screens/qt/qt_screen.h"
#endif

namespace Cli_Tzc04182 {

namespace {

[[maybe_unused]] bool DisplayPresent() { return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr; }

std::unique_ptr<host::Screen> WindowScreen([[maybe_unused]] bool offscreen)
{
#ifdef TZC_HAVE_QT
    return host::MakeQtScreen(offscreen);
#else
    throw std::runtime_error("this build of the module has no window screen (built without Qt)");
#endif
}

}  // namespace

std::unique_ptr<host::Screen> ScreenFromEnvironment()
{
    const char* chosen = std::getenv("TZC_SCREEN");
    const std::string name = chosen != nullptr ? chosen : "";
    if (name == "window" || name == "offscreen")
        return WindowScreen(name == "offscreen");
#ifdef TZC_HAVE_QT
    if (name.empty() && DisplayPresent())
        return WindowScreen(false);
#endif
    return std::make_unique<host::HeadlessScreen>();
}

void EnsureScreen()
{
    host::TApplication& application = host::Application();
    if (!application.HasScreen())
        application.SetScreen(ScreenFromEnvironment());
}

}  // namespace Cli_Tzc04182
