#pragma once
// FormWindow: the real window of one form; its handle is the form's handle. The window procedure
// paints the form, turns the mouse (and the mouse messages Windows makes from touches) into a
// click of the control released over, drawn in its pressed colour while held, and hands key-downs,
// translated characters, clicks and close requests to the form through the application.
//
// Shown, it is a frameless popup above the host's windows: the lowest form of a stack centred on
// the work area of the monitor that the host's active window is on, scaled with that monitor's
// dpi but never larger than its work area; a form above it (the message box) lies over it at its
// place. Every other window of the thread is disabled while it shows, and it takes the keyboard.
// Offscreen it is a message-only window: it takes messages but is never seen.
#include <memory>
#include <vector>

#include "host/screens/win32/windows_api.h"
#include "host/screens/win32/form_buffer.h"
#include "host/forms/controls.h"
#include "host/screens/button_press.h"

namespace host {
class TApplication;
class TForm;
}  // namespace host

namespace host::win32 {

// The window class of the forms' windows, registered for as long as anyone holds it.
class FormWindowClass {
public:
    // The one registration of the process; screens made one after another share it.
    static std::shared_ptr<const FormWindowClass> Shared();
    FormWindowClass();
    ~FormWindowClass();
    FormWindowClass(const FormWindowClass&) = delete;
    FormWindowClass& operator=(const FormWindowClass&) = delete;
    const char* Name() const;
    HINSTANCE Module() const { return module_; }

private:
    HINSTANCE module_ = nullptr;
};

class FormWindow {
public:
    FormWindow(TApplication& application, TForm& form, const FormWindowClass& window_class, bool offscreen);
    ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    ::HWND Handle() const { return handle_; }
    TForm& Form() const { return form_; }
    bool Shown() const { return shown_; }
    // Shows the window over `below` (nullptr: the lowest form of a stack): modal at once, on the
    // display at ShowPending, painted before it is seen.
    void Show(const FormWindow* below);
    // Puts a window asked to show on the display, with the form as it stands now.
    void ShowPending();
    void Hide();
    void Invalidate();
    void PaintNow();
    // Device pixels per layout pixel.
    double Scale() const { return scale_; }
    // Where a control of the form lies in the window's client area, in device pixels.
    RECT ClientRect(const TControl& control) const;
    // The control held down with the pointer over it, or nullptr.
    const TControl* Held() const { return press_.Held(); }

private:
    friend class FormWindowClass;
    static LRESULT CALLBACK Procedure(::HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Forward(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    // The topmost showing control under a client point, or nullptr.
    TControl* ControlAt(POINT client) const;
    void Press(POINT client);
    void Move(POINT client);
    void Release(POINT client);
    void CancelPress();
    void Place(const FormWindow* below, UINT show);
    void DropQueuedInput();

    TApplication& application_;
    TForm& form_;
    bool offscreen_;
    ::HWND handle_ = nullptr;
    bool shown_ = false;
    bool show_pending_ = false;
    const FormWindow* below_ = nullptr;
    double scale_ = 1.0;
    ButtonPress press_;
    // What Show disabled and took the activation from, given back by Hide.
    std::vector<::HWND> disabled_;
    ::HWND previous_active_ = nullptr;
    FormBuffer buffer_;
};

}  // namespace host::win32
