// The Win32 screen at the system dpi of the run (96 by default; 120 and 144 with the Wine prefix's
// LogPixels, see dpi_test.sh): the window's size and place, what it shows and where its keys take
// touches all follow the dpi.
#include <gtest/gtest.h>

#include <cmath>

#include "entry/entry.h"
#include "host/forms/application.h"
#include "host/forms/form.h"
#include "win32_harness.h"

namespace {

using namespace win32_testing;

double ExpectedScale() { return ExpectedDpi() / 96.0; }

RECT DialogWindowRect()
{
    RECT rect{};
    GetWindowRect(reinterpret_cast<HWND>(Cli_Tzc04182::frmCNPJCPF->GetHandle()), &rect);
    return rect;
}

// A touch at the centre of a control as the layout puts it, scaled by the expected dpi from the
// window's corner: where the customer sees the key cap, whatever the screen believes.
Step TouchWhereTheLayoutScaledPutsIt(const std::string& name)
{
    return [name](WindowScreen& screen) {
        const host::TControl* control = host::Application().ActiveForm()->FindComponent(name);
        ASSERT_NE(control, nullptr) << name;
        const RECT window = DialogWindowRect();
        const POINT at{window.left + std::lround((control->FormLeft() + control->Width() / 2.0) * ExpectedScale()),
                       window.top + std::lround((control->FormTop() + control->Height() / 2.0) * ExpectedScale())};
        TouchAt(at)(screen);
    };
}

TEST(Win32ScreenDpi, WindowScaledWithTheSystemDpiWholeAndCentredOnTheWorkArea)
{
    ASSERT_FALSE(Screen().Offscreen()) << kShownWindowsOnly;
    struct Size {
        UINT dpi;
        LONG width, height;
    };
    // The layout's 730 x 378 at each dpi, as whole pixels.
    const Size sizes[] = {{96, 730, 378}, {120, 913, 473}, {144, 1095, 567}};
    const Size* expected = nullptr;
    for (const Size& size : sizes)
        if (size.dpi == ExpectedDpi())
            expected = &size;
    ASSERT_NE(expected, nullptr) << "no size for " << ExpectedDpi() << " dpi";

    RECT placed{};
    RECT work{};
    const CallResult run = Call().Run({Check([&](WindowScreen& screen) {
                                           const HWND window = screen.TopWindow()->Handle();
                                           GetWindowRect(window, &placed);
                                           MONITORINFO monitor{};
                                           monitor.cbSize = sizeof monitor;
                                           GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
                                           work = monitor.rcWork;
                                       }),
                                       Key(VK_ESCAPE)});
    ASSERT_FALSE(run.error) << *run.error;
    EXPECT_EQ(placed.right - placed.left, expected->width);
    EXPECT_EQ(placed.bottom - placed.top, expected->height);
    EXPECT_GE(placed.left, work.left);
    EXPECT_GE(placed.top, work.top);
    EXPECT_LE(placed.right, work.right);
    EXPECT_LE(placed.bottom, work.bottom);
    // Centred to the pixel: an odd spare pixel goes to one side.
    EXPECT_NEAR(placed.left - work.left, work.right - placed.right, 1);
    EXPECT_NEAR(placed.top - work.top, work.bottom - placed.bottom, 1);
}

TEST(Win32ScreenDpi, WindowShowsEachStepAsTheReferenceScaled)
{
    ASSERT_FALSE(Screen().Offscreen()) << kShownWindowsOnly;
    const CallResult document = Call().Run({Type("529982"), WindowShot("document"), Key(VK_ESCAPE)});
    const CallResult rejected =
        Call().Run({Type("11111111111"), Key(VK_RETURN), WindowShot("message"), Key(VK_RETURN), Key(VK_ESCAPE)});
    const CallResult email = Call().Param(11, "S").Run({Type("fulano@exemplo.com"), WindowShot("email"), Key(VK_ESCAPE)});
    for (const CallResult* run : {&document, &rejected, &email}) {
        ASSERT_FALSE(run->error) << *run->error;
        ASSERT_EQ(run->shots.size(), 1u);
        const auto& [shot, picture] = *run->shots.begin();
        const std::optional<std::string> difference = CompareWithReference(picture, shot, ExpectedScale());
        EXPECT_FALSE(difference) << *difference;
    }
}

TEST(Win32ScreenDpi, TouchesAtTheKeyCapsScaledTypeAndConfirm)
{
    ASSERT_FALSE(Screen().Offscreen()) << kShownWindowsOnly;
    std::vector<Step> steps;
    for (const char* key : {"sbt05", "sbt02", "sbt09", "sbt09", "sbt08", "sbt02", "sbt02", "sbt04", "sbt07", "sbt02", "sbt05"})
        steps.push_back(TouchWhereTheLayoutScaledPutsIt(key));
    steps.push_back(TouchWhereTheLayoutScaledPutsIt("sbtEnter"));
    steps.push_back(TouchWhereTheLayoutScaledPutsIt("sbtSair"));
    const CallResult run = Call().Run(steps);
    ASSERT_FALSE(run.error) << *run.error;
    EXPECT_EQ(run.answers.at(0), "52998224725");
}

}  // namespace
