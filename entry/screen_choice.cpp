#include "entry/screen_choice.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "host/forms/application.h"
#include "host/screens/headless_screen.h"
#include "host/text/environment.h"
#ifdef TZC_HAVE_QT
#include "host/screens/qt/qt_screen.h"
#endif
#ifdef TZC_HAVE_WIN32_SCREEN
#include "host/screens/win32/win32_screen.h"
#endif

namespace Cli_Tzc04182 {

namespace {

// A display to open a window on: an X server, a Wayland compositor, or a Qt platform that shows
// what it draws (a framebuffer, a VNC customer display), not one that only draws in memory.
[[maybe_unused]] bool DisplayPresent()
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const std::string named = platform != nullptr ? platform : "";
    const bool shows = !named.empty() && !named.starts_with("offscreen") && !named.starts_with("minimal");
    return shows || std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
}

std::unique_ptr<host::Screen> WindowScreen([[maybe_unused]] bool offscreen)
{
#if defined(TZC_HAVE_WIN32_SCREEN)
    return host::MakeWin32Screen(offscreen);
#elif defined(TZC_HAVE_QT)
    return host::MakeQtScreen(offscreen);
#else
    throw std::runtime_error("this build of the module has no window screen (built without Qt)");
#endif
}

}  // namespace

std::unique_ptr<host::Screen> ScreenFromEnvironment()
{
    const std::string name = host::EnvironmentVariable("TZC_SCREEN").value_or("");
    if (name == "window" || name == "offscreen")
        return WindowScreen(name == "offscreen");
#if defined(TZC_HAVE_WIN32_SCREEN)
    if (name.empty() && host::Win32DesktopPresent())
        return WindowScreen(false);
#elif defined(TZC_HAVE_QT)
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
