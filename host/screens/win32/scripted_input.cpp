// A script's actions as the Win32 windows' own input: messages posted to the window on top as
// the keyboard and the mouse would send them.
#include "host/forms/application.h"
#include "host/screens/win32/window_screen.h"

namespace host::win32 {

void WindowScreen::TypeCharacter(char character)
{
    PostMessageA(TopWindow()->Handle(), WM_CHAR, static_cast<unsigned char>(character), 1);
}

void WindowScreen::PressKey(uint16_t virtual_key, ShiftState shift)
{
    // A key as the keyboard sends it: its key-down, with the shift key held when asked.
    const ::HWND window = TopWindow()->Handle();
    BYTE keys[256];
    GetKeyboardState(keys);
    const BYTE shift_before = keys[VK_SHIFT];
    if (shift == ShiftState::Shift) {
        keys[VK_SHIFT] |= 0x80;
        SetKeyboardState(keys);
    }
    const UINT scan = MapVirtualKeyA(virtual_key, MAPVK_VK_TO_VSC);
    PostMessageA(window, WM_KEYDOWN, virtual_key, static_cast<LPARAM>(1 | (scan << 16)));
    // Handled, and translated into its character, while the shift key is still down.
    DispatchQueued();
    if (shift == ShiftState::Shift) {
        keys[VK_SHIFT] = shift_before;
        SetKeyboardState(keys);
    }
}

void WindowScreen::Touch(TControl& control)
{
    FormWindow* window = WindowOf(control);
    if (window == nullptr)
        throw EScriptError("script: [" + control.Name() + "] is on no window");
    const RECT rect = window->ClientRect(control);
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PostMessageA(window->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(window->Handle(), WM_LBUTTONUP, 0, at);
}

}  // namespace host::win32
