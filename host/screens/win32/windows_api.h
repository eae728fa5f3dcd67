#pragma once
// The Windows API, as this room includes it. The framework's message header comes first:
// windows.h defines the same names (WM_CLOSE, VK_RETURN, ...) as macros with the same values,
// which would otherwise rewrite the framework's own constants. Inside namespace host the
// framework's HWND (a number) hides the system's: write ::HWND for a real window.
#include "host/forms/messages.h"

#include <windows.h>
