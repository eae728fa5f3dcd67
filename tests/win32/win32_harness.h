#pragma once
// Calls the entry on the Win32 screen with a customer made of steps that act through the system's
// own input (SendInput: the mouse at a control's centre, keys of the keyboard) or through input
// messages posted at coordinates, and collects the answers, the trace and the pictures taken.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/screens/win32/picture.h"
#include "host/screens/win32/window_screen.h"
#include "support/faulty_screen.h"

namespace win32_testing {

using host::win32::Picture;
using host::win32::WindowScreen;
using Step = std::function<void(WindowScreen& screen)>;

// Steps for the customer.
Step Touch(const std::string& control);        // the mouse pressed and released at its centre
Step PostedTouch(const std::string& control);  // button messages posted at its centre
Step Press(const std::string& control);        // held down...
Step Release(const std::string& control);      // ...and let go
Step Key(WORD virtual_key, bool shift = false);  // a key of the keyboard
Step Type(const std::string& utf8);            // characters, each as the keyboard types it
Step Shot(const std::string& name);           // the forms drawn at 96 dpi (WindowScreen::Grab)
Step ShotTo(const std::string& utf8_path);    // a picture saved as the scripted customer saves it
Step WindowShot(const std::string& name);     // the dialog's window as the display shows it
Step TouchAt(POINT screen_point);             // the mouse pressed and released there
Step Check(std::function<void(WindowScreen& screen)> check);

struct CallResult {
    std::vector<std::string> answers;  // UTF-8
    std::vector<std::string> trace;
    std::map<std::string, Picture> shots;
    std::optional<std::string> error;
    std::vector<std::string> Lines(const std::string& kind) const;
};

class Call {
public:
    Call();  // the typical call
    Call& Param(int index, const std::string& utf8);
    CallResult Run(std::vector<Step> steps) const;

private:
    std::vector<std::string> params_;
};

// The screen the calls run on: a real window unless TZC_SCREEN=offscreen.
WindowScreen& Screen();
// The suites Win32ScreenDpi and Win32ScreenShownWindow test what a shown window does; the
// offscreen run filters them out.
inline constexpr const char* kShownWindowsOnly = "a test of shown windows: run it with TZC_SCREEN=window";
// The faults that may be armed on it.
testing_support::FaultyScreen& Faults();

// Compares a picture with tests/qt/reference/NAME.png scaled by `scale`, allowing for font
// rendering. Returns a description of the difference, or nothing when they match.
std::optional<std::string> CompareWithReference(const Picture& picture, const std::string& name, double scale = 1.0);

// The system dpi the test run was started with (TZC_EXPECTED_DPI, set with the prefix's LogPixels),
// 96 when unset.
UINT ExpectedDpi();

}  // namespace win32_testing
