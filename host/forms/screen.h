#pragma once
// Screen: where forms are seen and input comes from. The application paints and sleeps through
// this interface alone; the screens (host/screens: headless, Qt) implement it, and the module's
// entry chooses one. The logic above never knows which one runs.
#include <optional>

#include "host/forms/clock.h"

namespace host {

class TApplication;
class TForm;
class WindowSystem;

class Screen {
public:
    virtual ~Screen() = default;

    virtual Clock& clock() = 0;
    // The form was shown modally, on top of what was shown before; or hidden again.
    virtual void FormShown(TForm& form) = 0;
    virtual void FormHidden(TForm& form) = 0;
    // Something the form shows has changed; paint it when convenient.
    virtual void Invalidate(TForm& form) = 0;
    // Paint it now.
    virtual void Repaint(TForm& form) = 0;
    // Turns input that has arrived into messages for the application. When `wait` is set and no
    // input is there, sleeps until some arrives or `deadline` (the next timer) has come.
    virtual void PumpInput(TApplication& application, bool wait, std::optional<TimePoint> deadline) = 0;
    // The platform's windows when forms are real windows on this screen; nullptr: the
    // application's own queue carries their messages.
    virtual WindowSystem* Windows() { return nullptr; }
};

}  // namespace host
