#pragma once
// The Win32 screen, for the module's entry: the forms in real windows, or drawn in memory alone
// (offscreen) for pictures and scripted customers. Only in Windows builds.
#include <memory>

#include "host/forms/screen.h"

namespace host {

// With TZC_INPUT, a scripted customer acts first (offscreen, it is the only one who can act).
std::unique_ptr<Screen> MakeWin32Screen(bool offscreen);

// Whether this process runs on a desktop a person can see (an interactive window station).
bool Win32DesktopPresent();

}  // namespace host
