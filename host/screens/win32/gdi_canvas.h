#pragma once
// GdiCanvas: the form painter's canvas on a picture. Text is Arial through GDI; the vector
// drawings (the rounded buttons, the side buttons' pictures) are antialiased through GDI+,
// straight into the picture's pixels. `scale` turns the layout's pixels at 96 dpi into the
// device's. GDI+ must be started (GdiplusSession).
#include "host/screens/win32/windows_api.h"
#include <gdiplus.h>

#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "host/screens/canvas.h"
#include "host/screens/win32/gdi_objects.h"
#include "host/screens/win32/picture.h"

namespace host::win32 {

inline constexpr const wchar_t* kFontFace = L"Arial";

class GdiCanvas final : public Canvas {
public:
    GdiCanvas(Picture& picture, double scale);
    // Gives the picture's context back unscaled, so copying from it copies its pixels one to one.
    ~GdiCanvas() override;
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    void PushClip(Rect rect) override;
    void PopClip() override;
    bool Reaches(Rect rect) const override;
    void PushTransform(PointF offset, float degrees) override;
    void PopTransform() override;
    void Fill(Rect rect, TColor color) override;
    Size LineSize(const std::string& text, const TFont& font) override;
    Size WrappedSize(const std::string& text, const TFont& font, int width) override;
    void Text(Rect box, const std::string& text, const TFont& font, TColor color, TextLayout layout) override;
    void FillRoundedRect(RectF rect, float radius, Ink ink) override;
    void StrokeRoundedRect(RectF rect, float radius, Pen pen) override;
    void StrokeLine(PointF from, PointF to, Pen pen) override;
    void StrokePolyline(std::span<const PointF> points, Pen pen) override;
    void StrokeEllipse(PointF centre, float radius_x, float radius_y, Pen pen) override;
    void StrokeCurve(PointF from, PointF control, PointF to, Pen pen) override;

private:
    // GDI+ drawing into the picture's pixels, clipped and moved as the canvas is now: made at
    // the first vector drawing and kept for the ones that follow, ended (its drawing flushed)
    // before GDI draws or the clip or transform changes.
    class VectorGraphics;
    Gdiplus::Graphics& Vectors();
    void EndVectors();
    HFONT Font(const TFont& font);

    Picture& picture_;
    HDC dc_;
    double scale_;
    // The clips pushed, in layout pixels, the current one last, with the context saved under each.
    std::vector<std::pair<RECT, int>> clips_;
    std::vector<std::pair<PointF, float>> transforms_;
    std::map<std::pair<int, bool>, GdiObject<HFONT>> fonts_;
    std::unique_ptr<VectorGraphics> vectors_;
};

// A picture of a modal stack of forms at 96 dpi, as its window shows it, `pressed` held down.
Picture RenderStack(std::span<const TControl* const> forms, const TControl* pressed = nullptr);

// Windows-1252 bytes as UTF-16.
std::wstring Wide(const std::string& cp1252);

}  // namespace host::win32
