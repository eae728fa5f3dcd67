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

int TForm::ShowModal()
{
    TApplication& application = Application();
    modal_result_ = mrNone;
    modal_ = true;
    SetVisible(true);
    application.PushModal(*this);
    struct Unwind {
        TForm& form;
        ~Unwind()
        {
            form.modal_ = false;
            form.activating_ = false;
            form.SetVisible(false);
            Application().PopModal(form);
        }
    } unwind{*this};
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
