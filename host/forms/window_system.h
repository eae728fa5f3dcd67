#pragma once
// WindowSystem: the platform's windows, for a screen whose forms are real windows (Win32). Each
// form's handle is then one of its windows and messages addressed to a form go through the
// platform's own send and post calls; its window procedure hands them back to the application
// (TApplication::Dispatch). A screen without one leaves handles and messages to the
// application's own queue.
#include "host/forms/messages.h"

namespace host {

class TForm;

class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    // A window for form, hidden until the form is shown.
    virtual HWND CreateHandle(TForm& form) = 0;
    virtual void DestroyHandle(HWND handle) = 0;
    virtual intptr_t Send(const Message& message) = 0;
    virtual bool Post(const Message& message) = 0;
};

}  // namespace host
