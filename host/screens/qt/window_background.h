#pragma once
// WindowBackground: on X, the picture the X server paints by itself wherever the window shows and
// has not been drawn yet. Given the form's picture just before the window is mapped, the first
// frame of the map is the form itself, not black: the server paints it before the process has
// seen the window exposed. Elsewhere (offscreen, Wayland) it does nothing.
#include <QImage>
#include <QSize>
#include <QWindow>
#include <cstdint>
#include <vector>

struct xcb_connection_t;

namespace host::qt {

class WindowBackground {
public:
    WindowBackground() = default;
    ~WindowBackground();
    WindowBackground(const WindowBackground&) = delete;
    WindowBackground& operator=(const WindowBackground&) = delete;

    // Makes `picture` (the window's size in device pixels) the background of `window`, creating
    // the platform window if it is not there yet. Sent before anything the caller sends after.
    void Set(QWindow& window, const QImage& picture);

private:
    void Free();

    xcb_connection_t* connection_ = nullptr;
    std::uint32_t pixmap_ = 0;
    std::uint32_t context_ = 0;
    std::uint32_t window_ = 0;
    std::uint8_t depth_ = 0;
    QSize size_;
    std::vector<std::uint64_t> uploaded_;  // a hash of each row the pixmap holds
};

}  // namespace host::qt
