#pragma once
// Which screen the dialog appears on, chosen once where the module is put together.
#include <memory>

#include "host/forms/screen.h"

namespace Cli_Tzc04182 {

// TZC_SCREEN=headless|window|offscreen; unset: a window when a display is named (DISPLAY,
// WAYLAND_DISPLAY, or a QT_QPA_PLATFORM that shows what it draws) and this build has one, else
// headless. Throws when the chosen screen cannot be had; nothing is kept then, and a later call
// chooses again.
std::unique_ptr<host::Screen> ScreenFromEnvironment();

// Gives the application its screen, unless someone (a test, a benchmark) already did.
void EnsureScreen();

}  // namespace Cli_Tzc04182
