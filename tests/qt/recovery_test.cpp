// On the Qt screen, a call that fails while the dialog shows leaves nothing behind: no window, no
// modal form, no step, nothing queued; the next call works as a first call would.
#include <QTest>
#include <gtest/gtest.h>

#include <stdexcept>

#include "dialog/frmCNPJCPF.h"
#include "entry/entry.h"
#include "host/forms/application.h"
#include "qt_harness.h"

namespace {

using namespace qt_testing;
using testing_support::FaultText;
using testing_support::ScreenFault;

Step Enter() { return Key(Qt::Key_Return, "\r"); }

Step Failing()
{
    return [](host::qt::StackWindow&) { throw std::runtime_error("the customer's device is gone"); };
}

struct Failure {
    const char* what;
    ScreenFault fault;
    int nth;
    std::vector<Step> steps;
    std::string error;
};

TEST(QtScreenFailure, LeavesNothingBehindAndTheNextCallWorks)
{
    const std::string unwritable = "/nonexistent-folder/shot.png";
    const std::vector<Failure> failures = {
        {"the dialog's window cannot be shown", ScreenFault::DialogShown, 1, {}, FaultText(ScreenFault::DialogShown)},
        {"the message box's window cannot be shown", ScreenFault::MessageBoxShown, 1, {Type("1"), Enter()},
         FaultText(ScreenFault::MessageBoxShown)},
        {"painting fails at a typed digit", ScreenFault::Invalidate, 2, {Type("529")}, FaultText(ScreenFault::Invalidate)},
        {"painting a touched key fails", ScreenFault::Repaint, 1, {Type("5"), Touch("sbtBackSpace")},
         FaultText(ScreenFault::Repaint)},
        {"the customer's input fails", ScreenFault::Input, 3, {Type("5"), Type("2"), Type("9")},
         FaultText(ScreenFault::Input)},
        {"the customer fails", ScreenFault::None, 0, {Type("52"), Failing()}, "the customer's device is gone"},
        {"a picture cannot be written", ScreenFault::None, 0, {Type("52"), ShotTo(unwritable)},
         "script: cannot write the picture " + unwritable},
        {"a picture cannot be written in the message box", ScreenFault::None, 0, {Type("1"), Enter(), ShotTo(unwritable)},
         "script: cannot write the picture " + unwritable},
    };
    for (const Failure& failure : failures) {
        SCOPED_TRACE(failure.what);
        Faults().Arm(failure.fault, failure.nth);
        const QtCallResult failed = QtCall().Param(5, "APC").Run(failure.steps);
        Faults().Disarm();

        ASSERT_TRUE(failed.error) << "the call should have failed";
        EXPECT_EQ(*failed.error, failure.error);
        EXPECT_FALSE(Cli_Tzc04182::frmCNPJCPF->Modal());
        EXPECT_EQ(host::Application().ActiveForm(), nullptr);
        EXPECT_EQ(int{Cli_Tzc04182::nPasso}, 0) << "the step";
        EXPECT_FALSE(Cli_Tzc04182::frmCNPJCPF->tmrCancAutoPag.Enabled());
        EXPECT_FALSE(host::Application().HasPending());
        host::qt::StackWindow* window = TheScreen().Window();
        EXPECT_TRUE(window == nullptr || !window->isVisible()) << "the window still shows";

        const QtCallResult next =
            QtCall().Run({Type("52998224725"), Enter(), Type("maria"), Enter(), Type("rua um"), Enter()});
        ASSERT_FALSE(next.error) << *next.error;
        EXPECT_EQ(next.answers, (std::vector<std::string>{"52998224725", "maria", "rua um", "N", "N", "N", "", "N"}));
    }
}

}  // namespace
