#pragma once
// WindowScreen: the screen of a Windows till. Each form is a real window (FormWindow) whose handle
// is the form's handle, so the dialog's SendMessageA and PostMessageA are the system's own; input
// comes from the thread's message queue and from an optional customer that acts on its own (a
// script, a test). Waiting for input sleeps in MsgWaitForMultipleObjectsEx until a message
// arrives or the next timer is due. Offscreen, the windows are message-only and only pictures
// show the forms.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/forms/screen.h"
#include "host/screens/customer.h"
#include "host/forms/window_system.h"
#include "host/screens/win32/form_window.h"
#include "host/screens/win32/picture.h"

namespace host::win32 {

class WindowScreen;
using Customer = host::Customer<WindowScreen>;
using ScriptedCustomer = host::ScriptedCustomer<WindowScreen>;

// Plays a script with keys and characters as the window's own input messages, touches at the
// centre of the control, pictures of the window.
class WindowScreen final : public WindowScreenBase<WindowScreen>, public WindowSystem {
public:
    explicit WindowScreen(bool offscreen);
    ~WindowScreen() override;

    bool Offscreen() const { return offscreen_; }
    // The window of the form on top while one is shown, else nullptr.
    FormWindow* TopWindow() const;
    // The shown window that holds control, or nullptr.
    FormWindow* WindowOf(const TControl& control) const;
    // The shown forms as their windows show them, at 96 dpi.
    Picture Grab() const;
    // Saves Grab() as PNG; EScriptError when nothing is shown or the file cannot be written.
    void SaveShot(const std::string& utf8_path) override;
    // Dispatches every message waiting in the thread's queue; whether there was any.
    bool DispatchQueued();

    void FormShown(TForm& form) override;
    void FormHidden(TForm& form) override;
    void Invalidate(TForm& form) override;
    void Repaint(TForm& form) override;
    void PumpInput(TApplication& application, bool wait, std::optional<TimePoint> deadline) override;
    WindowSystem* Windows() override { return this; }

    bool ShowsForm() const override { return TopWindow() != nullptr; }
    void TypeCharacter(char character) override;
    void PressKey(uint16_t virtual_key, ShiftState shift) override;
    void Touch(TControl& control) override;

    host::HWND CreateHandle(TForm& form) override;
    void DestroyHandle(host::HWND handle) override;
    intptr_t Send(const Message& message) override;
    bool Post(const Message& message) override;

private:
    FormWindow* WindowFor(const TForm& form) const;
    void SleepUntil(std::optional<TimePoint> wake);

    bool offscreen_;
    std::shared_ptr<const FormWindowClass> window_class_ = FormWindowClass::Shared();
    std::vector<std::unique_ptr<FormWindow>> windows_;
    // The shown windows, the lowest first.
    std::vector<FormWindow*> shown_;
    // GDI+ while a form is shown.
    std::optional<GdiplusSession> gdiplus_;
    // A quit request met inside a modal loop, posted again once the last form is hidden.
    std::optional<WPARAM> quit_;
};

}  // namespace host::win32
