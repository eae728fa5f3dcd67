#pragma once
// FaultyScreen: a real screen that fails where a test says. It does everything the screen it
// wraps does (and, for a screen of real windows, everything its window system does), except that
// the armed fault throws once, as the platform or the customer would: the window that cannot be
// made, the paint that fails, the customer's input that breaks. The module never knows it is
// there.
#include <memory>
#include <stdexcept>
#include <string>

#include "host/forms/screen.h"
#include "host/forms/window_system.h"

namespace testing_support {

enum class ScreenFault {
    None,
    DialogShown,      // the dialog's window cannot be shown
    MessageBoxShown,  // the message box's window cannot be shown
    Invalidate,       // painting what changed fails
    Repaint,          // painting at once fails (a touched key's Refresh)
    Input,            // the customer's input fails while the application waits for it
    WindowMade,       // the platform refuses a window (window systems only)
};

// What an armed fault throws.
class EScreenFault : public std::runtime_error {
public:
    explicit EScreenFault(ScreenFault fault);
};
std::string FaultText(ScreenFault fault);

class FaultyScreen final : public host::Screen, private host::WindowSystem {
public:
    explicit FaultyScreen(std::unique_ptr<host::Screen> real);

    host::Screen& Real() { return *real_; }
    // The nth time from now (1: the next) that the fault's place is reached, it throws; then the
    // fault is disarmed.
    void Arm(ScreenFault fault, int nth = 1);
    void Disarm() { Arm(ScreenFault::None); }
    bool Armed() const { return fault_ != ScreenFault::None; }
    // How many times the place has been reached so far, failed or not.
    int Reached(ScreenFault place) const { return reached_[static_cast<int>(place)]; }

    host::Clock& clock() override { return real_->clock(); }
    void FormShown(host::TForm& form) override;
    void FormHidden(host::TForm& form) override { real_->FormHidden(form); }
    void Invalidate(host::TForm& form) override;
    void Repaint(host::TForm& form) override;
    void PumpInput(host::TApplication& application, bool wait, std::optional<host::TimePoint> deadline) override;
    host::WindowSystem* Windows() override;

private:
    host::HWND CreateHandle(host::TForm& form) override;
    void DestroyHandle(host::HWND handle) override { real_->Windows()->DestroyHandle(handle); }
    intptr_t Send(const host::Message& message) override { return real_->Windows()->Send(message); }
    bool Post(const host::Message& message) override { return real_->Windows()->Post(message); }

    // Counts one arrival at `place`; throws when it is the armed one.
    void Reach(ScreenFault place);

    std::unique_ptr<host::Screen> real_;
    ScreenFault fault_ = ScreenFault::None;
    int left_ = 0;
    int reached_[static_cast<int>(ScreenFault::WindowMade) + 1] = {};
};

}  // namespace testing_support
