#include "host/screens/qt/window_background.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace host::qt {

namespace {

xcb_connection_t* XConnection()
{
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 != nullptr ? x11->connection() : nullptr;
}

std::uint8_t WindowDepth(xcb_connection_t* connection, xcb_window_t window)
{
    xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    const std::uint8_t depth = geometry != nullptr ? geometry->depth : 0;
    std::free(geometry);
    return depth;
}

// 64 bits of a row of pixels, mixed a word at a time.
std::uint64_t RowHash(const unsigned char* bytes, std::size_t size)
{
    std::uint64_t hash = 0x9e3779b97f4a7c15u ^ size;
    std::size_t at = 0;
    for (; at + 8 <= size; at += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes + at, 8);
        hash = (hash ^ word) * 0xff51afd7ed558ccdu;
        hash ^= hash >> 32;
    }
    for (; at < size; ++at)
        hash = (hash ^ bytes[at]) * 0x100000001b3u;
    return hash;
}

}  // namespace

WindowBackground::~WindowBackground() { Free(); }

void WindowBackground::Free()
{
    // The connection goes with Qt's platform; a pixmap of a closed connection is gone with it.
    if (connection_ != nullptr && connection_ == XConnection() && pixmap_ != 0) {
        xcb_free_gc(connection_, context_);
        xcb_free_pixmap(connection_, pixmap_);
        xcb_flush(connection_);
    }
    pixmap_ = context_ = window_ = 0;
    connection_ = nullptr;
    uploaded_.clear();
}

void WindowBackground::Set(QWindow& window, const QImage& picture)
{
    xcb_connection_t* connection = XConnection();
    if (connection == nullptr || picture.isNull())
        return;
    const auto id = static_cast<xcb_window_t>(window.winId());
    if (connection != connection_ || id != window_ || picture.size() != size_) {
        Free();
        const std::uint8_t depth = WindowDepth(connection, id);
        // Only the usual true-colour windows: 32 bits a pixel as Qt's RGB32 lays them out.
        if (depth != 24 && depth != 32)
            return;
        connection_ = connection;
        window_ = id;
        depth_ = depth;
        size_ = picture.size();
        pixmap_ = xcb_generate_id(connection);
        xcb_create_pixmap(connection, depth, pixmap_, id, static_cast<std::uint16_t>(size_.width()),
                          static_cast<std::uint16_t>(size_.height()));
        context_ = xcb_generate_id(connection);
        xcb_create_gc(connection, context_, pixmap_, 0, nullptr);
    }
    const QImage rows = picture.convertToFormat(QImage::Format_RGB32);
    // Only the rows that differ from what the pixmap holds: a call's first picture is mostly the
    // last call's. Known by a hash of each row, which costs no copy of the picture.
    std::vector<std::uint64_t> hashes;
    for (int y = 0; y < rows.height(); ++y)
        hashes.push_back(RowHash(rows.constScanLine(y), static_cast<std::size_t>(rows.width()) * 4u));
    int first = 0, end = rows.height();
    if (uploaded_.size() == hashes.size()) {
        first = static_cast<int>(std::mismatch(hashes.begin(), hashes.end(), uploaded_.begin()).first - hashes.begin());
        end -= static_cast<int>(std::mismatch(hashes.rbegin(), hashes.rend() - first, uploaded_.rbegin()).first -
                                hashes.rbegin());
    }
    uploaded_ = std::move(hashes);
    // In strips that each fit one request.
    const std::size_t most = std::max<std::size_t>(xcb_get_maximum_request_length(connection) * 4u, 65536) - 64;
    const int per_strip = std::max(1, static_cast<int>(most / static_cast<std::size_t>(rows.bytesPerLine())));
    for (int top = first; top < end; top += per_strip) {
        const int height = std::min(per_strip, end - top);
        xcb_put_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap_, context_, static_cast<std::uint16_t>(rows.width()),
                      static_cast<std::uint16_t>(height), 0, static_cast<std::int16_t>(top), 0, depth_,
                      static_cast<std::uint32_t>(rows.bytesPerLine() * height), rows.constScanLine(top));
    }
    const std::uint32_t background = pixmap_;
    xcb_change_window_attributes(connection, id, XCB_CW_BACK_PIXMAP, &background);
}

}  // namespace host::qt
