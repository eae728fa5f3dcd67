#include "host/screens/win32/form_window.h"

#include <algorithm>
#include <cmath>

#include "host/forms/application.h"
#include "host/forms/form.h"
#include "host/screens/touch.h"
#include "host/screens/win32/carried_failure.h"
#include "host/screens/win32/gdi_canvas.h"
#include "host/screens/win32/placement.h"

namespace host::win32 {

namespace {

constexpr const char* kClassName = "Tzc04182Form";
// HWND_MESSAGE and HWND_TOP, spelled out: the macros cast to the name that the framework's HWND
// hides here.
const ::HWND kMessageOnlyParent = reinterpret_cast<::HWND>(static_cast<intptr_t>(-3));
const ::HWND kTop = nullptr;
constexpr UINT kNeverSent = WM_APP + 0x3FFF;

POINT ClientPoint(LPARAM lParam)
{
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// The shift state as the framework's key events carry it, read from the keyboard as the
// framework does.
LPARAM ShiftBits()
{
    int bits = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        bits |= static_cast<int>(ShiftState::Shift);
    if (GetKeyState(VK_MENU) < 0)
        bits |= static_cast<int>(ShiftState::Alt);
    if (GetKeyState(VK_CONTROL) < 0)
        bits |= static_cast<int>(ShiftState::Ctrl);
    return bits;
}

BOOL CALLBACK CollectEnabled(::HWND window, LPARAM list)
{
    if (IsWindowVisible(window) && IsWindowEnabled(window))
        reinterpret_cast<std::vector<::HWND>*>(list)->push_back(window);
    return TRUE;
}

// A window's device context outside a paint, released whatever happens.
class WindowDc {
public:
    explicit WindowDc(::HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() { ReleaseDC(window_, dc_); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Dc() const { return dc_; }

private:
    ::HWND window_;
    HDC dc_;
};

// Ends the paint whatever happens while painting.
class PaintScope {
public:
    explicit PaintScope(::HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC Dc() const { return dc_; }

private:
    ::HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

}  // namespace

FormWindowClass::FormWindowClass()
{
    // The class belongs to the module that holds the window procedure: this DLL, in a host.
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<const char*>(&kClassName), &module_);
    WNDCLASSEXA window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = &FormWindow::Procedure;
    window_class.hInstance = module_;
    window_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<const char*>(IDC_ARROW));
    window_class.lpszClassName = kClassName;
    if (RegisterClassExA(&window_class) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw std::runtime_error("cannot register the dialog's window class (error " + std::to_string(GetLastError()) + ")");
}

FormWindowClass::~FormWindowClass() { UnregisterClassA(kClassName, module_); }

std::shared_ptr<const FormWindowClass> FormWindowClass::Shared()
{
    static std::weak_ptr<const FormWindowClass> registered;
    std::shared_ptr<const FormWindowClass> held = registered.lock();
    if (!held) {
        held = std::make_shared<const FormWindowClass>();
        registered = held;
    }
    return held;
}

const char* FormWindowClass::Name() const { return kClassName; }

FormWindow::FormWindow(TApplication& application, TForm& form, const FormWindowClass& window_class, bool offscreen)
    : application_(application), form_(form), offscreen_(offscreen)
{
    const PerMonitorDpiScope dpi_aware;
    const ::HWND made = CreateWindowExA(0, window_class.Name(), "TZC04182", WS_POPUP | WS_CLIPSIBLINGS, 0, 0,
                                        std::max(1, form.Width()), std::max(1, form.Height()),
                                        offscreen ? kMessageOnlyParent : nullptr, nullptr, window_class.Module(), this);
    // The procedure knew the window from its first message, but creation may still have failed.
    handle_ = made;
    if (handle_ == nullptr)
        throw std::runtime_error("cannot make the dialog's window (error " + std::to_string(GetLastError()) + ")");
}

FormWindow::~FormWindow()
{
    Hide();
    SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
    DestroyWindow(handle_);
}

LRESULT CALLBACK FormWindow::Procedure(::HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->handle_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    try {
        return self->Handle(message, wParam, lParam);
    } catch (...) {
        CarryCurrentException();
        return 0;
    }
}

LRESULT FormWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_LBUTTONDOWN: Press(ClientPoint(lParam)); return 0;
    case WM_MOUSEMOVE: Move(ClientPoint(lParam)); return 0;
    case WM_LBUTTONUP: Release(ClientPoint(lParam)); return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<::HWND>(lParam) != handle_)
            CancelPress();
        return 0;
    case WM_KEYDOWN: Forward(WM_KEYDOWN, wParam, ShiftBits()); return 0;
    case WM_CHAR: Forward(WM_CHAR, wParam, 0); return 0;
    case WM_TOUCH_CLICK: Forward(message, wParam, lParam); return 0;
    // Only the dialog's own flow closes it: its close request goes to the form, and the window
    // stays until the form is freed.
    case WM_CLOSE: Forward(WM_CLOSE, 0, 0); return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE)
            return 0;
        break;
    case WM_DPICHANGED: {
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoA(MonitorFromRect(&suggested, MONITOR_DEFAULTTONEAREST), &monitor);
        const Placement placement =
            CentredPlacement(SIZE{form_.Width(), form_.Height()}, monitor.rcWork, LOWORD(wParam));
        scale_ = placement.scale;
        const RECT& at = placement.window;
        SetWindowPos(handle_, nullptr, at.left, at.top, at.right - at.left, at.bottom - at.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        Invalidate();
        return 0;
    }
    default: break;
    }
    return DefWindowProcA(handle_, message, wParam, lParam);
}

void FormWindow::Forward(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Input that arrives for a form no longer shown modally is dropped, as its loop has ended.
    const bool input = message == WM_KEYDOWN || message == WM_CHAR || message == WM_TOUCH_CLICK;
    if (input && !form_.Modal())
        return;
    application_.Dispatch({reinterpret_cast<host::HWND>(handle_), message, wParam, lParam});
}

void FormWindow::Paint()
{
    const PaintScope paint(handle_);
    RECT client{};
    GetClientRect(handle_, &client);
    if (client.right <= 0 || client.bottom <= 0)
        return;
    const GdiplusSession gdiplus;
    // Drawn in memory first, so the window never shows half a picture; only what changed since
    // the last paint is drawn again.
    const Picture& drawn = buffer_.Update(form_, client.right, client.bottom, scale_, Held());
    BitBlt(paint.Dc(), 0, 0, client.right, client.bottom, drawn.Dc(), 0, 0, SRCCOPY);
}

void FormWindow::Invalidate()
{
    if (shown_ && !offscreen_)
        InvalidateRect(handle_, nullptr, FALSE);
}

void FormWindow::PaintNow()
{
    if (shown_ && !offscreen_) {
        InvalidateRect(handle_, nullptr, FALSE);
        UpdateWindow(handle_);
    }
}

RECT FormWindow::ClientRect(const TControl& control) const
{
    const int left = &control == &form_ ? 0 : control.FormLeft();
    const int top = &control == &form_ ? 0 : control.FormTop();
    return RECT{std::lround(left * scale_), std::lround(top * scale_), std::lround((left + control.Width()) * scale_),
                std::lround((top + control.Height()) * scale_)};
}

TControl* FormWindow::ControlAt(POINT client) const
{
    const POINT at{static_cast<LONG>(std::floor(client.x / scale_)), static_cast<LONG>(std::floor(client.y / scale_))};
    const RECT bounds{0, 0, form_.Width(), form_.Height()};
    if (!PtInRect(&bounds, at))
        return nullptr;
    return TopmostControlAt(form_, at.x, at.y);
}

void FormWindow::Press(POINT client)
{
    press_.Begin(ControlAt(client));
    if (press_.Active() && !offscreen_)
        SetCapture(handle_);
    PaintNow();
}

void FormWindow::Move(POINT client)
{
    if (!press_.Active())
        return;
    const TControl* held_before = press_.Held();
    press_.Move(ControlAt(client));
    if (press_.Held() != held_before)
        PaintNow();
}

void FormWindow::Release(POINT client)
{
    if (!press_.Active())
        return;
    TControl* clicked = press_.End(ControlAt(client));
    if (GetCapture() == handle_)
        ReleaseCapture();
    PaintNow();
    // The click runs from the waiting flow's dispatch, as every other input does.
    if (clicked != nullptr)
        PostMessageA(handle_, WM_TOUCH_CLICK, 0, reinterpret_cast<LPARAM>(clicked));
}

void FormWindow::CancelPress()
{
    if (!press_.Active())
        return;
    press_.Cancel();
    PaintNow();
}

void FormWindow::Show(const FormWindow* below)
{
    if (shown_)
        return;
    previous_active_ = GetActiveWindow();
    shown_ = true;
    if (offscreen_)
        return;
    // Modal: the host's windows, and the form below, take no input while this one shows.
    disabled_.clear();
    EnumThreadWindows(GetCurrentThreadId(), &CollectEnabled, reinterpret_cast<LPARAM>(&disabled_));
    std::erase(disabled_, handle_);
    for (::HWND window : disabled_)
        EnableWindow(window, FALSE);
    below_ = below;
    show_pending_ = true;
}

void FormWindow::ShowPending()
{
    if (!show_pending_)
        return;
    show_pending_ = false;
    const PerMonitorDpiScope dpi_aware;
    // A layered window is put on the display only once its attributes are set, and the style's
    // change clears them: shown and painted first, then set, it appears with its picture, never
    // the previous call's.
    const LONG_PTR extended = GetWindowLongPtrA(handle_, GWL_EXSTYLE);
    SetWindowLongPtrA(handle_, GWL_EXSTYLE, extended & ~WS_EX_LAYERED);
    SetWindowLongPtrA(handle_, GWL_EXSTYLE, extended | WS_EX_LAYERED);
    Place(below_, SWP_SHOWWINDOW);
    {
        // Copied in outside a paint, whose end would hand the picture to the display (Wine's X
        // window, not mapped yet, would drop it): it stays pending until the map.
        RECT client{};
        GetClientRect(handle_, &client);
        const GdiplusSession gdiplus;
        const Picture& drawn = buffer_.UpdateForShow(form_, client.right, client.bottom, scale_, Held());
        const WindowDc window(handle_);
        BitBlt(window.Dc(), 0, 0, client.right, client.bottom, drawn.Dc(), 0, 0, SRCCOPY);
    }
    SetLayeredWindowAttributes(handle_, 0, 255, LWA_ALPHA);
    // A look at the queue for a message that never comes hands the pending picture to the display
    // at once (Wine does so when a look finds nothing), right behind the map. Painted again later
    // all the same, for a system that drops what was drawn before the attributes.
    MSG none;
    PeekMessageA(&none, handle_, kNeverSent, kNeverSent, PM_NOREMOVE);
    InvalidateRect(handle_, nullptr, FALSE);
    SetForegroundWindow(handle_);
    SetActiveWindow(handle_);
    SetFocus(handle_);
    buffer_.KeepAsShown();
}

void FormWindow::Place(const FormWindow* below, UINT show)
{
    RECT at{};
    ::HWND owner = nullptr;
    if (below != nullptr) {
        scale_ = below->scale_;
        RECT base{};
        GetWindowRect(below->handle_, &base);
        at.left = base.left + std::lround(form_.Left() * scale_);
        at.top = base.top + std::lround(form_.Top() * scale_);
        at.right = at.left + std::lround(form_.Width() * scale_);
        at.bottom = at.top + std::lround(form_.Height() * scale_);
        owner = below->handle_;
    } else {
        ::HWND anchor = previous_active_ != nullptr ? previous_active_ : GetForegroundWindow();
        HMONITOR monitor = anchor != nullptr ? MonitorFromWindow(anchor, MONITOR_DEFAULTTOPRIMARY)
                                             : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
        MONITORINFO info{};
        info.cbSize = sizeof info;
        GetMonitorInfoA(monitor, &info);
        const Placement placement = CentredPlacement(SIZE{form_.Width(), form_.Height()}, info.rcWork, MonitorDpi(monitor));
        scale_ = placement.scale;
        at = placement.window;
        // Owned by the host's window, so it stays above it (and above whatever it stays above).
        owner = previous_active_ != nullptr ? GetAncestor(previous_active_, GA_ROOT) : nullptr;
        if (owner == handle_)
            owner = nullptr;
    }
    SetWindowLongPtrA(handle_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    SetWindowPos(handle_, kTop, at.left, at.top, at.right - at.left, at.bottom - at.top, show != 0 ? show : SWP_NOACTIVATE);
}

void FormWindow::Hide()
{
    if (!shown_)
        return;
    CancelPress();
    shown_ = false;
    show_pending_ = false;
    if (!offscreen_) {
        // Enabled again before this one hides, so the activation goes back to them.
        for (::HWND window : disabled_)
            if (IsWindow(window))
                EnableWindow(window, TRUE);
        disabled_.clear();
        ShowWindow(handle_, SW_HIDE);
        // Owned by nobody between calls: a host that destroys its window would destroy this one.
        SetWindowLongPtrA(handle_, GWLP_HWNDPARENT, 0);
        if (previous_active_ != nullptr && IsWindow(previous_active_))
            SetActiveWindow(previous_active_);
    }
    previous_active_ = nullptr;
    DropQueuedInput();
}

void FormWindow::DropQueuedInput()
{
    MSG message;
    while (PeekMessageA(&message, handle_, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
    while (PeekMessageA(&message, handle_, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
    while (PeekMessageA(&message, handle_, WM_TOUCH_CLICK, WM_TOUCH_CLICK, PM_REMOVE)) {
    }
}

}  // namespace host::win32
