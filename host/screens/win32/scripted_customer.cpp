#include "host/forms/application.h"
#include "host/forms/form.h"
#include "host/screens/touch.h"
#include "host/screens/win32/window_screen.h"

namespace host::win32 {

namespace {

::HWND TopHandle(const WindowScreen& screen)
{
    FormWindow* window = screen.TopWindow();
    if (window == nullptr)
        throw EScriptError("script: no window to act on");
    return window->Handle();
}

// A key as the keyboard sends it: its key-down, with the shift key held when asked.
void PressKey(WindowScreen& screen, uint16_t key, ShiftState shift)
{
    const ::HWND window = TopHandle(screen);
    BYTE keys[256];
    GetKeyboardState(keys);
    const BYTE shift_before = keys[VK_SHIFT];
    if (shift == ShiftState::Shift) {
        keys[VK_SHIFT] |= 0x80;
        SetKeyboardState(keys);
    }
    const UINT scan = MapVirtualKeyA(key, MAPVK_VK_TO_VSC);
    PostMessageA(window, WM_KEYDOWN, key, static_cast<LPARAM>(1 | (scan << 16)));
    // Handled, and translated into its character, while the shift key is still down.
    screen.DispatchQueued();
    if (shift == ShiftState::Shift) {
        keys[VK_SHIFT] = shift_before;
        SetKeyboardState(keys);
    }
}

void Touch(const WindowScreen& screen, const std::string& name)
{
    TControl& control = ControlToTouch(name);
    FormWindow* window = screen.WindowOf(control);
    if (window == nullptr)
        throw EScriptError("script: [" + name + "] is on no window");
    const RECT rect = window->ClientRect(control);
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PostMessageA(window->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(window->Handle(), WM_LBUTTONUP, 0, at);
}

}  // namespace

}  // namespace host::win32

namespace host {

template <>
void ScriptedCustomer<win32::WindowScreen>::Act(win32::WindowScreen& screen)
{
    using namespace win32;
    const std::optional<ScriptAction> taken = timeline_.Take(screen.clock().Now());
    if (!taken)
        return;
    const ScriptAction& action = *taken;
    switch (action.kind) {
    case ScriptAction::Kind::Character:
        PostMessageA(TopHandle(screen), WM_CHAR, static_cast<unsigned char>(action.character), 1);
        break;
    case ScriptAction::Kind::Key: PressKey(screen, action.key, action.shift); break;
    case ScriptAction::Kind::Touch: Touch(screen, action.name); break;
    case ScriptAction::Kind::Shot: screen.SaveShot(action.name); break;
    case ScriptAction::Kind::End: break;
    }
}

}  // namespace host
