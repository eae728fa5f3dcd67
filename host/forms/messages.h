#pragma once
// Window messages, as the dialog sends and posts them to its own window.
#include <cstdint>

namespace host {

// Wide enough for a real window handle on Windows, where the window screen's forms are real
// windows; elsewhere a number the application gives out.
using HWND = uintptr_t;
using WPARAM = uintptr_t;
#if defined(_WIN32) && !defined(_WIN64)
using LPARAM = long;  // the system's LONG_PTR: on 32-bit Windows intptr_t is an int, another type
#else
using LPARAM = intptr_t;
#endif

constexpr uint32_t WM_CLOSE = 16;
constexpr uint32_t WM_KEYDOWN = 256;
constexpr uint32_t WM_CHAR = 258;
constexpr uint32_t WM_TIMER = 275;
// A touch or a left click released over a control: lParam is the control.
constexpr uint32_t WM_TOUCH_CLICK = 0x8001;

// Virtual-key codes the dialog handles.
constexpr uint16_t VK_BACK = 8;
constexpr uint16_t VK_RETURN = 13;
constexpr uint16_t VK_ESCAPE = 27;
constexpr uint16_t VK_DELETE = 46;
constexpr uint16_t VK_F1 = 112;

struct Message {
    HWND hwnd = 0;
    uint32_t msg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

enum class ShiftState : uint8_t { None = 0, Shift = 1, Alt = 2, Ctrl = 4 };

// Sends run the target's handler before they return; posts are queued for the next dispatch.
// Both go through the platform's own calls when the form is a real window (WindowSystem).
intptr_t SendMessageA(HWND hwnd, uint32_t msg, WPARAM wParam, LPARAM lParam);
bool PostMessageA(HWND hwnd, uint32_t msg, WPARAM wParam, LPARAM lParam);

}  // namespace host
