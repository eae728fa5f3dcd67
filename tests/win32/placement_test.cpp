// Where the dialog's window goes and how large it is drawn.
#include <gtest/gtest.h>

#include "host/screens/win32/placement.h"

namespace {

using host::win32::CentredPlacement;

TEST(Win32Placement, CentredScaledWithTheMonitorNeverLargerThanTheWorkArea)
{
    struct Case {
        const char* what;
        RECT work;
        UINT dpi;
        RECT window;
        double scale;
    };
    const Case cases[] = {
        {"96 dpi", {0, 0, 1024, 768}, 96, {147, 195, 877, 573}, 1.0},
        {"a taskbar below", {0, 0, 1024, 728}, 96, {147, 175, 877, 553}, 1.0},
        {"a second monitor to the right", {1024, 0, 2944, 1040}, 96, {1619, 331, 2349, 709}, 1.0},
        {"144 dpi", {0, 0, 1920, 1040}, 144, {412, 236, 1507, 803}, 1.5},
        {"144 dpi on a small work area: shrunk to its width", {0, 0, 800, 600}, 144, {0, 93, 800, 507}, 800.0 / 730},
        {"a work area lower than the dialog", {0, 0, 1024, 300}, 96, {222, 0, 801, 300}, 300.0 / 378},
    };
    for (const Case& c : cases) {
        const host::win32::Placement placement = CentredPlacement(SIZE{730, 378}, c.work, c.dpi);
        EXPECT_DOUBLE_EQ(placement.scale, c.scale) << c.what;
        EXPECT_EQ(placement.window.left, c.window.left) << c.what;
        EXPECT_EQ(placement.window.top, c.window.top) << c.what;
        EXPECT_EQ(placement.window.right, c.window.right) << c.what;
        EXPECT_EQ(placement.window.bottom, c.window.bottom) << c.what;
    }
}

}  // namespace
