#include "host/screens/win32/window_screen.h"

#include <algorithm>
#include <chrono>

#include "host/forms/application.h"
#include "host/forms/form.h"
#include "host/screens/script.h"
#include "host/screens/win32/carried_failure.h"
#include "host/screens/win32/gdi_canvas.h"
#include "host/screens/win32/win32_screen.h"
#include "host/text/environment.h"

namespace host::win32 {

namespace {

::HWND Real(host::HWND handle) { return reinterpret_cast<::HWND>(handle); }

std::wstring WidePath(const std::string& utf8)
{
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::wstring wide(size > 0 ? size - 1 : 0, L'\0');
    if (size > 1)
        MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(), size);
    return wide;
}

}  // namespace

WindowScreen::WindowScreen(bool offscreen) : offscreen_(offscreen) {}

WindowScreen::~WindowScreen() = default;

FormWindow* WindowScreen::WindowFor(const TForm& form) const
{
    for (const auto& window : windows_)
        if (&window->Form() == &form)
            return window.get();
    return nullptr;
}

FormWindow* WindowScreen::TopWindow() const { return shown_.empty() ? nullptr : shown_.back(); }

FormWindow* WindowScreen::WindowOf(const TControl& control) const
{
    for (FormWindow* window : shown_)
        if (window->Form().Contains(&control))
            return window;
    return nullptr;
}

host::HWND WindowScreen::CreateHandle(TForm& form)
{
    windows_.push_back(std::make_unique<FormWindow>(Application(), form, *window_class_, offscreen_));
    return reinterpret_cast<host::HWND>(windows_.back()->Handle());
}

void WindowScreen::DestroyHandle(host::HWND handle)
{
    const auto found = std::find_if(windows_.begin(), windows_.end(),
                                    [handle](const auto& window) { return window->Handle() == Real(handle); });
    if (found == windows_.end())
        return;
    std::erase(shown_, found->get());
    windows_.erase(found);
}

intptr_t WindowScreen::Send(const Message& message)
{
    const LRESULT result = SendMessageA(Real(message.hwnd), message.msg, message.wParam, message.lParam);
    RethrowCarried();
    return result;
}

bool WindowScreen::Post(const Message& message)
{
    return PostMessageA(Real(message.hwnd), message.msg, message.wParam, message.lParam) != FALSE;
}

void WindowScreen::FormShown(TForm& form)
{
    if (shown_.empty())
        gdiplus_.emplace();
    // A window something else destroyed (its owner's end, say) is made again.
    if (form.HandleAllocated() && !IsWindow(Real(form.GetHandle())))
        form.DestroyHandle();
    form.GetHandle();
    FormWindow* window = WindowFor(form);
    if (window == nullptr)
        return;
    window->Show(shown_.empty() ? nullptr : shown_.front());
    shown_.push_back(window);
    // A first paint that failed fails the show.
    RethrowCarried();
}

void WindowScreen::FormHidden(TForm& form)
{
    if (FormWindow* window = WindowFor(form)) {
        window->Hide();
        std::erase(shown_, window);
    }
    // Also after a show that failed before its window was there.
    if (shown_.empty()) {
        gdiplus_.reset();
        if (quit_)
            PostQuitMessage(static_cast<int>(*std::exchange(quit_, std::nullopt)));
    }
    // A failure carried out of the window procedure is this call's, never the next one's.
    RethrowCarried();
}

void WindowScreen::Invalidate(TForm& form)
{
    if (FormWindow* window = WindowFor(form))
        window->Invalidate();
}

void WindowScreen::Repaint(TForm& form)
{
    if (FormWindow* window = WindowFor(form))
        window->PaintNow();
}

Picture WindowScreen::Grab() const
{
    if (shown_.empty())
        throw EScriptError("script: no window to take a picture of");
    std::vector<const TControl*> forms;
    const TControl* held = nullptr;
    for (const FormWindow* window : shown_) {
        forms.push_back(&window->Form());
        if (window->Held() != nullptr)
            held = window->Held();
    }
    const GdiplusSession gdiplus;
    return RenderStack(forms, held);
}

void WindowScreen::SaveShot(const std::string& utf8_path)
{
    const Picture picture = Grab();
    try {
        picture.SavePng(WidePath(utf8_path));
    } catch (const std::runtime_error&) {
        throw EScriptError("script: cannot write the picture " + utf8_path);
    }
}

bool WindowScreen::DispatchQueued()
{
    bool any = false;
    MSG message;
    while (!quit_ && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit_ = message.wParam;
            break;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
        any = true;
        RethrowCarried();
    }
    return any;
}

void WindowScreen::PumpInput(TApplication&, bool wait, std::optional<TimePoint> deadline)
{
    // Shown once the flow has set up what the customer sees first, with that picture.
    for (FormWindow* window : shown_)
        window->ShowPending();
    RethrowCarried();
    // One action of the customer per turn, so the waiting flow looks at each one; it goes first,
    // as a queue that is never empty (a host's busy timers) must not keep it waiting. What is
    // already queued (the flow's close request) is still dispatched before it.
    const TimePoint now = clock_.Now();
    if (customer_.ActIfDue(*this, now)) {
        DispatchQueued();
        return;
    }
    const std::optional<TimePoint> wake = customer_.Wake(deadline, now);
    if (DispatchQueued())
        return;
    if (wait && customer_.Done(clock_.Now()))
        throw EInputEnded();
    if (wait) {
        SleepUntil(wake);
        DispatchQueued();
    }
}

void WindowScreen::SleepUntil(std::optional<TimePoint> wake)
{
    DWORD timeout = INFINITE;
    if (wake) {
        const Duration left = *wake - clock_.Now();
        if (left <= Duration::zero())
            return;
        timeout = static_cast<DWORD>(
            std::min<int64_t>(std::chrono::ceil<std::chrono::milliseconds>(left).count(), INFINITE - 1));
    }
    // A quit request stays in the queue: waiting on it would spin.
    if (quit_)
        return;
    MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

}  // namespace host::win32

namespace host {

std::unique_ptr<Screen> MakeWin32Screen(bool offscreen)
{
    auto screen = std::make_unique<win32::WindowScreen>(offscreen);
    screen->SetCustomer(CustomerFromEnvironment<win32::WindowScreen>(offscreen));
    return screen;
}

bool Win32DesktopPresent()
{
    USEROBJECTFLAGS flags{};
    HWINSTA station = GetProcessWindowStation();
    if (station == nullptr || !GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, nullptr) ||
        (flags.dwFlags & WSF_VISIBLE) == 0)
        return false;
    // A window station can claim to be seen where no window can be made (Wine without a
    // display): ask for a hidden popup.
    const ::HWND probe = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (probe == nullptr)
        return false;
    DestroyWindow(probe);
    return true;
}

}  // namespace host
