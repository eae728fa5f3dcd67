#pragma once
// Screen: where forms are seen and input comes from. The headless screen plays a scripted
// customer on a virtual clock; the Qt screen shows real windows. The logic above never knows
// which one runs.
#include <optional>
#include <stdexcept>
#include <string>

#include "host/clock.h"

namespace host {

class TApplication;
class TForm;

// The scripted customer has nothing more to do while the dialog still waits.
class EInputEnded : public std::runtime_error {
public:
    EInputEnded() : std::runtime_error("input ended") {}
};

// A script that cannot be played (a touch of a hidden control, a bad key name).
class EScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

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
};

}  // namespace host
