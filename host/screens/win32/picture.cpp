#include "host/screens/win32/picture.h"

#include <gdiplus.h>

#include <cstring>
#include <stdexcept>
#include <vector>

namespace host::win32 {

namespace {

CLSID PngEncoder()
{
    UINT count = 0;
    UINT bytes = 0;
    Gdiplus::GetImageEncodersSize(&count, &bytes);
    std::vector<unsigned char> buffer(bytes);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (bytes == 0 || Gdiplus::GetImageEncoders(count, bytes, encoders) != Gdiplus::Ok)
        throw std::runtime_error("GDI+ has no image encoders");
    for (UINT i = 0; i < count; ++i)
        if (std::wstring(encoders[i].MimeType) == L"image/png")
            return encoders[i].Clsid;
    throw std::runtime_error("GDI+ has no PNG encoder");
}

std::string Narrow(const std::wstring& path)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, utf8.data(), size, nullptr, nullptr);
    return utf8;
}

}  // namespace

GdiplusSession::GdiplusSession()
{
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok)
        throw std::runtime_error("GDI+ cannot start");
}

GdiplusSession::~GdiplusSession() { Gdiplus::GdiplusShutdown(token_); }

Picture::Picture(int width, int height) : width_(width), height_(height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    dc_.reset(CreateCompatibleDC(nullptr));
    if (!bitmap_ || !dc_)
        throw std::runtime_error("cannot make a picture of " + std::to_string(width) + " x " + std::to_string(height));
    bits_ = static_cast<uint32_t*>(bits);
    SelectObject(dc_.get(), bitmap_.get());
}

TColor Picture::Pixel(int x, int y) const
{
    GdiFlush();
    const uint32_t value = bits_[static_cast<std::size_t>(y) * width_ + x];
    return {static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
}

void Picture::SavePng(const std::wstring& path) const
{
    GdiFlush();
    const GdiplusSession gdiplus;
    const CLSID png = PngEncoder();
    Gdiplus::Bitmap bitmap(width_, height_, width_ * 4, PixelFormat32bppRGB, reinterpret_cast<BYTE*>(bits_));
    if (bitmap.Save(path.c_str(), &png, nullptr) != Gdiplus::Ok)
        throw std::runtime_error("cannot write the picture " + Narrow(path));
}

Picture Picture::Load(const std::wstring& path)
{
    const GdiplusSession gdiplus;
    Gdiplus::Bitmap bitmap(path.c_str());
    if (bitmap.GetLastStatus() != Gdiplus::Ok)
        throw std::runtime_error("cannot read the picture " + Narrow(path));
    Picture picture(static_cast<int>(bitmap.GetWidth()), static_cast<int>(bitmap.GetHeight()));
    // The pixels as stored, never resampled.
    Gdiplus::Rect whole(0, 0, picture.Width(), picture.Height());
    Gdiplus::BitmapData data{};
    if (bitmap.LockBits(&whole, Gdiplus::ImageLockModeRead, PixelFormat32bppRGB, &data) != Gdiplus::Ok)
        throw std::runtime_error("cannot read the pixels of " + Narrow(path));
    for (int y = 0; y < picture.Height(); ++y)
        std::memcpy(picture.bits_ + static_cast<std::size_t>(y) * picture.Width(),
                    static_cast<const unsigned char*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride,
                    static_cast<std::size_t>(picture.Width()) * 4);
    bitmap.UnlockBits(&data);
    return picture;
}

}  // namespace host::win32
