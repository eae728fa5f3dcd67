#include "host/forms/form.h"

#include <utility>

#include "host/forms/application.h"
#include "host/forms/screen.h"

namespace host {

TForm::TForm(std::string name) : TControl(nullptr, std::move(name), TControlKind::Form)
{
    Application().Register(*this);
    SetVisible(false);
}

TForm::~TForm() { Application().Unregister(*this); }

HWND TForm::GetHandle()
{
    if (handle_ == 0)
        handle_ = Application().CreateHandle(*this);
    return handle_;
}

void TForm::DestroyHandle()
{
    if (handle_ != 0)
        Application().DestroyHandle(std::exchange(handle_, 0));
}

// Whatever ends the loop, the form is left as before it was shown. When a failure ends it (the
// window cannot be made, a handler or the screen throws), the form's window goes too, and with
// it whatever is still queued for it: nothing of a failed call may reach the next one, and the
// next show makes its window afresh.
class TForm::ModalScope {
public:
    explicit ModalScope(TForm& form) : form_(form)
    {
        // Visible before modal: nothing is painted before the screen shows the form, so this
        // cannot throw half way.
        form_.modal_result_ = mrNone;
        form_.SetVisible(true);
        form_.modal_ = true;
    }
    ~ModalScope()
    {
        if (ended_)
            return;
        Restore();
        try {
            Application().PopModal(form_);
        } catch (...) {
            // The call is failing already; its own error is the one to report.
        }
        form_.DestroyHandle();
    }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

    // The loop has ended by its close request.
    void End()
    {
        ended_ = true;
        Restore();
        try {
            Application().PopModal(form_);
        } catch (...) {
            form_.DestroyHandle();
            throw;
        }
    }

private:
    void Restore()
    {
        form_.modal_ = false;
        form_.activating_ = false;
        form_.SetVisible(false);
    }

    TForm& form_;
    bool ended_ = false;
};

int TForm::ShowModal()
{
    TApplication& application = Application();
    ModalScope scope(*this);
    application.PushModal(*this);
    activating_ = true;
    try {
        if (OnShow)
            OnShow(this);
        if (OnActivate)
            OnActivate(this);
    } catch (const EAbort&) {
    }
    activating_ = false;
    application.WaitWhile([this] { return modal_result_ == mrNone; });
    scope.End();
    return modal_result_;
}

void TForm::BringToFront() { Invalidate(); }

void TForm::Invalidate()
{
    if (modal_)
        Application().screen().Invalidate(*this);
}

void TForm::Repaint()
{
    if (modal_)
        Application().screen().Repaint(*this);
}

void TForm::WindowProc(const Message& message)
{
    const bool input = message.msg == WM_KEYDOWN || message.msg == WM_CHAR || message.msg == WM_TOUCH_CLICK;
    if (input && Closing())
        return;
    switch (message.msg) {
    case WM_KEYDOWN: {
        uint16_t key = static_cast<uint16_t>(message.wParam);
        if (OnKeyDown)
            OnKeyDown(this, key, static_cast<ShiftState>(message.lParam & 7));
        break;
    }
    case WM_CHAR: {
        // Only Windows-1252 bytes are characters of this form.
        if (message.wParam > 0xFF)
            break;
        char key = static_cast<char>(message.wParam);
        if (OnKeyPress)
            OnKeyPress(this, key);
        break;
    }
    case WM_TOUCH_CLICK: {
        auto* control = reinterpret_cast<TControl*>(message.lParam);
        // Only a control of this form that the customer can see takes a touch.
        if (Contains(control) && control != this && control->Showing() && control->Enabled())
            control->Click();
        break;
    }
    case WM_CLOSE:
        Close();
        break;
    default:
        break;
    }
}

}  // namespace host
