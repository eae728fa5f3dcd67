// On the Win32 screen, a call that fails while the dialog shows leaves nothing behind: no modal
// form, no step, nothing queued, the host's window enabled and active again; the next call works
// as a first call would.
#include <gtest/gtest.h>

#include <stdexcept>

#include "dialog/frmCNPJCPF.h"
#include "entry/entry.h"
#include "host/forms/application.h"
#include "win32_harness.h"

namespace {

using namespace win32_testing;
using testing_support::FaultText;
using testing_support::ScreenFault;

Step Failing()
{
    return [](WindowScreen&) { throw std::runtime_error("the customer's device is gone"); };
}

// Whether input or a close request is still queued for any window of the thread.
bool InputQueued()
{
    MSG message;
    const std::pair<UINT, UINT> ranges[] = {
        {WM_KEYFIRST, WM_KEYLAST}, {WM_MOUSEFIRST, WM_MOUSELAST}, {host::WM_TOUCH_CLICK, host::WM_TOUCH_CLICK},
        {WM_CLOSE, WM_CLOSE}};
    for (const auto& [first, last] : ranges)
        if (PeekMessageA(&message, nullptr, first, last, PM_NOREMOVE))
            return true;
    return false;
}

struct Failure {
    const char* what;
    ScreenFault fault;
    int nth;
    std::vector<Step> steps;
    std::string error;
};

TEST(Win32ScreenFailure, LeavesNothingBehindAndTheNextCallWorks)
{
    const std::string unwritable = "Z:\\nonexistent-folder\\shot.png";
    const std::vector<Failure> failures = {
        {"the platform refuses the dialog's window", ScreenFault::WindowMade, 1, {}, FaultText(ScreenFault::WindowMade)},
        {"the dialog's window cannot be shown", ScreenFault::DialogShown, 1, {}, FaultText(ScreenFault::DialogShown)},
        {"the message box's window cannot be shown", ScreenFault::MessageBoxShown, 1, {Type("1"), Key(VK_RETURN)},
         FaultText(ScreenFault::MessageBoxShown)},
        {"painting fails at a typed digit", ScreenFault::Invalidate, 2, {Type("529")}, FaultText(ScreenFault::Invalidate)},
        {"painting a touched key fails", ScreenFault::Repaint, 1, {Type("5"), Touch("sbtBackSpace")},
         FaultText(ScreenFault::Repaint)},
        {"the customer's input fails", ScreenFault::Input, 3, {Type("5"), Type("2"), Type("9")},
         FaultText(ScreenFault::Input)},
        {"the customer fails", ScreenFault::None, 0, {Type("52"), Failing()}, "the customer's device is gone"},
        {"a picture cannot be written", ScreenFault::None, 0, {Type("52"), ShotTo(unwritable)},
         "script: cannot write the picture " + unwritable},
        {"a picture cannot be written in the message box", ScreenFault::None, 0,
         {Type("1"), Key(VK_RETURN), ShotTo(unwritable)}, "script: cannot write the picture " + unwritable},
    };
    // A window of the host's, active when each call starts.
    const HWND host_window = Screen().Offscreen()
                                 ? nullptr
                                 : CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300,
                                                   200, nullptr, nullptr, nullptr, nullptr);
    for (const Failure& failure : failures) {
        SCOPED_TRACE(failure.what);
        if (host_window != nullptr)
            SetActiveWindow(host_window);
        // The platform is asked for a window only when the dialog has none.
        if (failure.fault == ScreenFault::WindowMade && Cli_Tzc04182::frmCNPJCPF != nullptr)
            Cli_Tzc04182::frmCNPJCPF->DestroyHandle();
        Faults().Arm(failure.fault, failure.nth);
        const CallResult failed = Call().Param(5, "APC").Run(failure.steps);
        Faults().Disarm();

        ASSERT_TRUE(failed.error) << "the call should have failed";
        EXPECT_EQ(*failed.error, failure.error);
        EXPECT_FALSE(Cli_Tzc04182::frmCNPJCPF->Modal());
        EXPECT_EQ(host::Application().ActiveForm(), nullptr);
        EXPECT_EQ(int{Cli_Tzc04182::nPasso}, 0) << "the step";
        EXPECT_FALSE(Cli_Tzc04182::frmCNPJCPF->tmrCancAutoPag.Enabled());
        EXPECT_FALSE(InputQueued());
        EXPECT_EQ(Screen().TopWindow(), nullptr);
        if (host_window != nullptr) {
            EXPECT_TRUE(IsWindowEnabled(host_window)) << "the host's window takes input again";
            EXPECT_EQ(GetActiveWindow(), host_window) << "and is active again";
        }

        const CallResult next = Call().Run({Type("52998224725"), Key(VK_RETURN), Type("MARIA"), Key(VK_RETURN),
                                            Type("RUA A 1"), Key(VK_RETURN)});
        ASSERT_FALSE(next.error) << *next.error;
        EXPECT_EQ(next.answers, (std::vector<std::string>{"52998224725", "MARIA", "RUA A 1", "N", "N", "N", "", "N"}));
    }
    if (host_window != nullptr)
        DestroyWindow(host_window);
}

}  // namespace
