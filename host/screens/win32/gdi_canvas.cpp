#include "host/screens/win32/gdi_canvas.h"

#include <gdiplus.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

#include "host/screens/canvas.h"
#include "host/screens/form_painter.h"
#include "host/screens/win32/gdi_objects.h"
#include "host/text/strings.h"

namespace host::win32 {

namespace {

COLORREF ToColorRef(TColor color) { return RGB(color.r, color.g, color.b); }
Gdiplus::Color ToColor(Ink ink) { return Gdiplus::Color(ink.alpha, ink.color.r, ink.color.g, ink.color.b); }
Gdiplus::PointF ToPointF(PointF point) { return Gdiplus::PointF(point.x, point.y); }
RECT ToRect(Rect rect) { return RECT{rect.left, rect.top, rect.Right(), rect.Bottom()}; }

UINT HorizontalAlignment(TAlignment alignment)
{
    switch (alignment) {
    case TAlignment::Right: return DT_RIGHT;
    case TAlignment::Center: return DT_CENTER;
    case TAlignment::Left: break;
    }
    return DT_LEFT;
}

// A pen with round caps and joins.
struct Stroke : Gdiplus::Pen {
    explicit Stroke(host::Pen pen) : Gdiplus::Pen(ToColor(pen.ink), pen.width)
    {
        SetLineCap(Gdiplus::LineCapRound, Gdiplus::LineCapRound, Gdiplus::DashCapRound);
        SetLineJoin(Gdiplus::LineJoinRound);
    }
};

void AddRoundedRect(Gdiplus::GraphicsPath& path, RectF rect, float radius)
{
    const float d = 2 * radius;
    const float x = rect.left, y = rect.top, w = rect.width, h = rect.height;
    path.AddArc(x, y, d, d, 180, 90);
    path.AddArc(x + w - d, y, d, d, 270, 90);
    path.AddArc(x + w - d, y + h - d, d, d, 0, 90);
    path.AddArc(x, y + h - d, d, d, 90, 90);
    path.CloseFigure();
}

// GDI+ drawing straight into the picture's pixels, in the layout's pixels, clipped to `clip`.
// (GDI+ on a device context would go through GDI, without antialiasing, under Wine.)
class VectorGraphics {
public:
    VectorGraphics(Picture& picture, double scale, const RECT& clip)
        : bitmap_((GdiFlush(), picture.Width()), picture.Height(), picture.Width() * 4, PixelFormat32bppRGB,
                  reinterpret_cast<BYTE*>(picture.Bits())),
          graphics_(&bitmap_)
    {
        graphics_.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        // Pixel centres at half-pixel positions, as Qt places them.
        graphics_.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        graphics_.ScaleTransform(static_cast<float>(scale), static_cast<float>(scale));
        graphics_.SetClip(Gdiplus::RectF(static_cast<float>(clip.left), static_cast<float>(clip.top),
                                         static_cast<float>(clip.right - clip.left),
                                         static_cast<float>(clip.bottom - clip.top)));
    }
    ~VectorGraphics() { graphics_.Flush(Gdiplus::FlushIntentionSync); }
    VectorGraphics(const VectorGraphics&) = delete;
    VectorGraphics& operator=(const VectorGraphics&) = delete;
    Gdiplus::Graphics& operator*() { return graphics_; }

private:
    Gdiplus::Bitmap bitmap_;
    Gdiplus::Graphics graphics_;
};

// A picture being painted: its context set to draw at `scale` and given back unscaled (so copying
// from it copies its pixels one to one), the clips and transforms pushed, the fonts made, and the
// GDI+ drawing under way.
class GdiSurface {
public:
    GdiSurface(Picture& picture, double scale)
        : picture_(picture), dc_(picture.Dc()), scale_(scale),
          clips_{{RECT{0, 0, picture.Width(), picture.Height()}, 0}}
    {
        SetGraphicsMode(dc_, GM_ADVANCED);
        const XFORM transform{static_cast<FLOAT>(scale), 0, 0, static_cast<FLOAT>(scale), 0, 0};
        SetWorldTransform(dc_, &transform);
        SetBkMode(dc_, TRANSPARENT);
    }
    ~GdiSurface()
    {
        EndVectors();
        ModifyWorldTransform(dc_, nullptr, MWT_IDENTITY);
        SetGraphicsMode(dc_, GM_COMPATIBLE);
    }
    GdiSurface(const GdiSurface&) = delete;
    GdiSurface& operator=(const GdiSurface&) = delete;

    HDC Dc() const { return dc_; }

    // GDI draws next: what GDI+ drew is flushed into the pixels first.
    HDC GdiDc()
    {
        EndVectors();
        return dc_;
    }

    // GDI+ drawing as the canvas is clipped and moved now: made at the first vector drawing and
    // kept for the ones that follow, until GDI draws or the clip or a transform changes.
    Gdiplus::Graphics& Vectors()
    {
        if (!vectors_) {
            vectors_.emplace(picture_, scale_, clips_.back().first);
            for (const auto& [offset, degrees] : transforms_) {
                (**vectors_).TranslateTransform(offset.x, offset.y);
                if (degrees != 0)
                    (**vectors_).RotateTransform(degrees);
            }
        }
        return **vectors_;
    }

    void PushClip(const RECT& bounds)
    {
        const int saved = SaveDC(GdiDc());
        IntersectClipRect(dc_, bounds.left, bounds.top, bounds.right, bounds.bottom);
        RECT inner{};
        IntersectRect(&inner, &clips_.back().first, &bounds);
        clips_.emplace_back(inner, saved);
    }

    void PopClip()
    {
        RestoreDC(GdiDc(), clips_.back().second);
        clips_.pop_back();
    }

    void PushTransform(PointF offset, float degrees)
    {
        EndVectors();
        transforms_.emplace_back(offset, degrees);
    }

    void PopTransform()
    {
        EndVectors();
        transforms_.pop_back();
    }

    HFONT Font(const TFont& font)
    {
        auto& made = fonts_[{font.height, font.bold}];
        if (!made) {
            // A negative height is the character height, as the layout gives it.
            made.reset(CreateFontW(-std::max(1, font.height), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                                   FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                   DEFAULT_PITCH | FF_SWISS, kFontFace));
        }
        return made.get();
    }

private:
    void EndVectors() { vectors_.reset(); }

    Picture& picture_;
    HDC dc_;
    double scale_;
    // The clips pushed, in layout pixels, the current one last, each with the context saved under it.
    std::vector<std::pair<RECT, int>> clips_;
    std::vector<std::pair<PointF, float>> transforms_;
    std::map<std::pair<int, bool>, GdiObject<HFONT>> fonts_;
    std::optional<VectorGraphics> vectors_;
};

}  // namespace

}  // namespace host::win32

namespace host {

// The members of the canvas on a picture, written with this file's helpers.
using namespace win32;

template <>
void SurfaceCanvas<GdiSurface>::PushClip(Rect rect)
{
    surface_.PushClip(ToRect(rect));
}

template <>
void SurfaceCanvas<GdiSurface>::PopClip()
{
    surface_.PopClip();
}

template <>
bool SurfaceCanvas<GdiSurface>::Reaches(Rect rect) const
{
    const RECT bounds = ToRect(rect);
    return RectVisible(surface_.Dc(), &bounds) != FALSE;
}

template <>
void SurfaceCanvas<GdiSurface>::PushTransform(PointF offset, float degrees)
{
    surface_.PushTransform(offset, degrees);
}

template <>
void SurfaceCanvas<GdiSurface>::PopTransform()
{
    surface_.PopTransform();
}

template <>
void SurfaceCanvas<GdiSurface>::Fill(Rect rect, TColor color)
{
    const HDC dc = surface_.GdiDc();
    const RECT area = ToRect(rect);
    SetDCBrushColor(dc, ToColorRef(color));
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

template <>
Size SurfaceCanvas<GdiSurface>::LineSize(const std::string& text, const TFont& font)
{
    const HDC dc = surface_.Dc();
    const Selected selected(dc, surface_.Font(font));
    const std::wstring wide = Wide(text);
    SIZE extent{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    return {extent.cx, metrics.tmHeight};
}

template <>
Size SurfaceCanvas<GdiSurface>::WrappedSize(const std::string& text, const TFont& font, int width)
{
    const HDC dc = surface_.Dc();
    const Selected selected(dc, surface_.Font(font));
    const std::wstring wide = Wide(text);
    RECT measured{0, 0, width, 10000};
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &measured,
              DT_CALCRECT | DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    return {measured.right - measured.left, measured.bottom - measured.top};
}

template <>
void SurfaceCanvas<GdiSurface>::Text(Rect box, const std::string& text, const TFont& font, TColor color,
                                     TextLayout layout)
{
    const HDC dc = surface_.GdiDc();
    const Selected selected(dc, surface_.Font(font));
    const std::wstring wide = Wide(text);
    SetTextColor(dc, ToColorRef(color));
    RECT area = ToRect(box);
    const UINT flags = HorizontalAlignment(layout.alignment) | DT_TOP | DT_NOPREFIX | DT_NOCLIP |
                       (layout.word_wrap ? DT_WORDBREAK : 0);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &area, flags);
}

template <>
void SurfaceCanvas<GdiSurface>::FillRoundedRect(RectF rect, float radius, Ink ink)
{
    Gdiplus::GraphicsPath path;
    AddRoundedRect(path, rect, radius);
    Gdiplus::SolidBrush brush(ToColor(ink));
    surface_.Vectors().FillPath(&brush, &path);
}

template <>
void SurfaceCanvas<GdiSurface>::StrokeRoundedRect(RectF rect, float radius, Pen pen)
{
    Gdiplus::GraphicsPath path;
    AddRoundedRect(path, rect, radius);
    const Stroke stroke(pen);
    surface_.Vectors().DrawPath(&stroke, &path);
}

template <>
void SurfaceCanvas<GdiSurface>::StrokeLine(PointF from, PointF to, Pen pen)
{
    const Stroke stroke(pen);
    surface_.Vectors().DrawLine(&stroke, ToPointF(from), ToPointF(to));
}

template <>
void SurfaceCanvas<GdiSurface>::StrokePolyline(std::span<const PointF> points, Pen pen)
{
    std::vector<Gdiplus::PointF> polyline;
    for (const PointF point : points)
        polyline.push_back(ToPointF(point));
    const Stroke stroke(pen);
    surface_.Vectors().DrawLines(&stroke, polyline.data(), static_cast<INT>(polyline.size()));
}

template <>
void SurfaceCanvas<GdiSurface>::StrokeEllipse(PointF centre, float radius_x, float radius_y, Pen pen)
{
    const Stroke stroke(pen);
    surface_.Vectors().DrawEllipse(&stroke, centre.x - radius_x, centre.y - radius_y, 2 * radius_x, 2 * radius_y);
}

template <>
void SurfaceCanvas<GdiSurface>::StrokeCurve(PointF from, PointF control, PointF to, Pen pen)
{
    // The quadratic curve as the cubic Bézier GDI+ draws.
    const Gdiplus::PointF c1(from.x + 2.0f / 3 * (control.x - from.x), from.y + 2.0f / 3 * (control.y - from.y));
    const Gdiplus::PointF c2(to.x + 2.0f / 3 * (control.x - to.x), to.y + 2.0f / 3 * (control.y - to.y));
    Gdiplus::GraphicsPath curve;
    curve.StartFigure();
    curve.AddBezier(ToPointF(from), c1, c2, ToPointF(to));
    const Stroke stroke(pen);
    surface_.Vectors().DrawPath(&stroke, &curve);
}

}  // namespace host

namespace host::win32 {

std::wstring Wide(const std::string& cp1252)
{
    std::wstring wide;
    wide.reserve(cp1252.size());
    for (const char byte : cp1252)
        wide.push_back(static_cast<wchar_t>(Cp1252ToCodePoint(static_cast<unsigned char>(byte))));
    return wide;
}

void PaintForm(Picture& picture, double scale, const TControl& form, const TControl* pressed)
{
    GdiSurface surface(picture, scale);
    SurfaceCanvas<GdiSurface> canvas(surface);
    FormPainter(canvas, pressed).PaintForm(form, {});
}

Picture RenderStack(std::span<const TControl* const> forms, const TControl* pressed)
{
    if (forms.empty())
        throw std::logic_error("no form to take a picture of");
    const TControl& base = *forms.front();
    Picture picture(std::max(1, base.Width()), std::max(1, base.Height()));
    const RECT whole{0, 0, picture.Width(), picture.Height()};
    FillRect(picture.Dc(), &whole, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    GdiSurface surface(picture, 1.0);
    SurfaceCanvas<GdiSurface> canvas(surface);
    FormPainter(canvas, pressed).PaintStack(forms);
    return picture;
}

}  // namespace host::win32
