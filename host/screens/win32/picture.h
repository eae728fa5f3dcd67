#pragma once
// Picture: a 32-bit top-down bitmap in memory, with a device context to draw into it; saved as
// PNG through GDI+.
#include "host/screens/win32/windows_api.h"

#include <cstdint>
#include <string>

#include "host/forms/controls.h"
#include "host/screens/win32/gdi_objects.h"

namespace host::win32 {

class Picture {
public:
    Picture(int width, int height);
    Picture(Picture&&) = default;
    Picture& operator=(Picture&&) = default;

    int Width() const { return width_; }
    int Height() const { return height_; }
    HDC Dc() const { return dc_.get(); }
    // The pixels, rows top to bottom, 4 bytes each (blue, green, red, unused); GdiFlush first.
    uint32_t* Bits() const { return bits_; }
    TColor Pixel(int x, int y) const;
    // Throws std::runtime_error when the file cannot be written.
    void SavePng(const std::wstring& path) const;
    // Reads a PNG (or any picture GDI+ reads); throws std::runtime_error when it cannot.
    static Picture Load(const std::wstring& path);

private:
    int width_;
    int height_;
    uint32_t* bits_ = nullptr;
    // The context goes first, so the bitmap is no longer selected when it is deleted.
    GdiObject<HBITMAP> bitmap_;
    MemoryDc dc_;
};

}  // namespace host::win32
