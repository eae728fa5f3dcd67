#pragma once
// WindowScreen: the screen of a till. Forms are shown in a real window (or in Qt's offscreen
// platform, which draws the same pixels without a display); input comes from Qt and from an
// optional customer that acts on its own (a script, a test). Waiting for input sleeps in Qt's
// event loop until an event arrives or the next timer is due.
#include <QGuiApplication>
#include <QTimer>
#include <memory>
#include <optional>
#include <string>

#include "host/screens/qt/font_warm_up.h"
#include "host/screens/qt/stack_window.h"
#include "host/forms/screen.h"
#include "host/screens/customer.h"

namespace host::qt {

class WindowScreen;
using Customer = host::Customer<WindowScreen>;
using ScriptedCustomer = host::ScriptedCustomer<WindowScreen>;

// Plays a script with keys and characters as the platform's key events, touches at the centre
// of the control, pictures of the window.
class WindowScreen final : public WindowScreenBase<WindowScreen> {
public:
    // Uses the process's Qt application when there is one, else makes its own (on Qt's offscreen
    // platform when asked). Forms open on `display` (an index or a name as Qt lists the displays;
    // "" the primary). Throws, leaving the process as it was, when the platform cannot start or
    // the display is not there.
    explicit WindowScreen(bool offscreen, std::string display = "");
    ~WindowScreen() override;

    // The window while a form is shown, else nullptr.
    StackWindow* Window() { return window_ && !window_->Empty() ? window_.get() : nullptr; }
    // Whether a window is kept, shown or hidden between calls.
    bool KeepsWindow() const { return window_ != nullptr; }
    // Destroys the kept window now, while Qt is still there to take it (its application ends).
    void DropWindow();
    // Lets go of the window without a call into Qt, whose globals may be gone (the process ends).
    void LeaveWindow();
    // Saves the window as it shows now, as PNG.
    void SaveShot(const std::string& utf8_path) override;

    bool ShowsForm() const override;
    void TypeCharacter(char character) override;
    void PressKey(uint16_t virtual_key, ShiftState shift) override;
    void Touch(TControl& control) override;

    void FormShown(TForm& form) override;
    void FormHidden(TForm& form) override;
    void Invalidate(TForm& form) override;
    void Repaint(TForm& form) override;
    void PumpInput(TApplication& application, bool wait, std::optional<TimePoint> deadline) override;

private:
    void SleepUntil(TApplication& application, std::optional<TimePoint> wake);

    // Until the first form is shown: fontconfig's configuration read on another thread meanwhile.
    std::optional<FontWarmUp> fonts_;
    bool offscreen_;
    std::string display_;
    // Made when the first form is shown and kept, hidden, between calls: a later call only
    // places, shows and paints it. It goes with the Qt application (a host's may end first) or
    // with this screen, whichever ends first.
    std::unique_ptr<StackWindow> window_;
    std::unique_ptr<QTimer> wake_;
};

}  // namespace host::qt
