// The X window's background, which the server shows from the map until the process first draws:
// whatever rows of a picture changed since the last one set, the window shows the new picture.
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/screens/qt/window_background.h"

namespace {

QImage Picture(QColor colour, int band_top = 0, int band_rows = 0, QSize size = QSize(120, 80))
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    for (int y = band_top; y < band_top + band_rows; ++y)
        for (int x = 0; x < size.width(); ++x)
            picture.setPixelColor(x, y, QColor(x * 2 % 256, y * 3 % 256, 200));
    return picture;
}

TEST(QtWindowBackground, ShowsTheLastPictureWhateverRowsChanged)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "the background is the X server's";
    const struct {
        std::string what;
        QImage picture;
    } cases[] = {
        {"the first picture", Picture(Qt::white)},
        {"the same again", Picture(Qt::white)},
        {"rows in the middle", Picture(Qt::white, 30, 5)},
        {"the first row", Picture(Qt::white, 0, 1)},
        {"the last row", Picture(Qt::white, 79, 1)},
        {"every row", Picture(Qt::darkGreen)},
        {"another size", Picture(Qt::blue, 10, 10, QSize(90, 60))},
    };
    QWindow window;
    window.setFlags(Qt::Window | Qt::FramelessWindowHint);
    host::qt::WindowBackground background;
    for (const auto& [what, picture] : cases) {
        window.resize(picture.size());
        window.create();
        background.Set(window, picture);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << what;
        QTest::qWait(20);
        const QImage shown = window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_TRUE(shown == picture) << what;
        window.hide();
        QCoreApplication::processEvents();
    }
}

}  // namespace
