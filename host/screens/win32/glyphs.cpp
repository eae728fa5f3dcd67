#include "host/screens/win32/glyphs.h"

#include <array>

namespace host::win32 {

namespace {

using Gdiplus::PointF;

// A pen with round caps and joins.
struct Stroke : Gdiplus::Pen {
    Stroke(Gdiplus::Color color, float width) : Gdiplus::Pen(color, width)
    {
        SetLineCap(Gdiplus::LineCapRound, Gdiplus::LineCapRound, Gdiplus::DashCapRound);
        SetLineJoin(Gdiplus::LineJoinRound);
    }
};

void Ellipse(Gdiplus::Graphics& graphics, const Gdiplus::Pen& pen, PointF centre, float rx, float ry)
{
    graphics.DrawEllipse(&pen, centre.X - rx, centre.Y - ry, 2 * rx, 2 * ry);
}

void RoundedRect(Gdiplus::GraphicsPath& path, float x, float y, float width, float height, float radius)
{
    const float d = 2 * radius;
    path.AddArc(x, y, d, d, 180, 90);
    path.AddArc(x + width - d, y, d, d, 270, 90);
    path.AddArc(x + width - d, y + height - d, d, d, 0, 90);
    path.AddArc(x, y + height - d, d, d, 90, 90);
    path.CloseFigure();
}

// "Não informar": a ring with an X.
void Cross(Gdiplus::Graphics& graphics, Gdiplus::Color color)
{
    Ellipse(graphics, Stroke(color, 2.5f), PointF(17, 17), 14.5f, 14.5f);
    const Stroke bar(color, 4);
    graphics.DrawLine(&bar, PointF(11, 11), PointF(23, 23));
    graphics.DrawLine(&bar, PointF(23, 11), PointF(11, 23));
}

// "Limpar": an eraser lying at an angle over the line it wipes.
void Eraser(Gdiplus::Graphics& graphics, Gdiplus::Color color)
{
    const Gdiplus::GraphicsState saved = graphics.Save();
    graphics.TranslateTransform(17, 16);
    graphics.RotateTransform(-40);
    Gdiplus::GraphicsPath body;
    RoundedRect(body, -13, -7, 26, 14, 2);
    const Stroke outline(color, 2);
    graphics.DrawPath(&outline, &body);
    Gdiplus::GraphicsPath tip;
    RoundedRect(tip, -13, -7, 11, 14, 2);
    Gdiplus::SolidBrush fill(color);
    graphics.FillPath(&fill, &tip);
    graphics.Restore(saved);
    graphics.DrawLine(&outline, PointF(4, 31), PointF(30, 31));
}

// "Corrrigir": an arrow pointing back.
void BackArrow(Gdiplus::Graphics& graphics, Gdiplus::Color color)
{
    const Stroke pen(color, 4);
    graphics.DrawLine(&pen, PointF(29, 17), PointF(7, 17));
    const std::array head = {PointF(16, 8), PointF(6, 17), PointF(16, 26)};
    graphics.DrawLines(&pen, head.data(), static_cast<INT>(head.size()));
}

// "Confirmar": a check mark.
void Check(Gdiplus::Graphics& graphics, Gdiplus::Color color)
{
    const std::array mark = {PointF(6, 18), PointF(14, 26), PointF(28, 9)};
    const Stroke pen(color, 4.5f);
    graphics.DrawLines(&pen, mark.data(), static_cast<INT>(mark.size()));
}

// A quadratic curve as the cubic Bézier GDI+ draws.
void Quad(Gdiplus::GraphicsPath& path, PointF from, PointF control, PointF to)
{
    const PointF c1(from.X + 2.0f / 3 * (control.X - from.X), from.Y + 2.0f / 3 * (control.Y - from.Y));
    const PointF c2(to.X + 2.0f / 3 * (control.X - to.X), to.Y + 2.0f / 3 * (control.Y - to.Y));
    path.StartFigure();
    path.AddBezier(from, c1, c2, to);
}

// "Cons Estrang.": a globe with its meridians and parallels.
void Globe(Gdiplus::Graphics& graphics, Gdiplus::Color color)
{
    const Stroke pen(color, 2);
    Ellipse(graphics, pen, PointF(17, 17), 14.5f, 14.5f);
    Ellipse(graphics, pen, PointF(17, 17), 6.5f, 14.5f);
    graphics.DrawLine(&pen, PointF(17, 2.5f), PointF(17, 31.5f));
    graphics.DrawLine(&pen, PointF(2.5f, 17), PointF(31.5f, 17));
    Gdiplus::GraphicsPath parallels;
    Quad(parallels, PointF(5, 9.5f), PointF(17, 13), PointF(29, 9.5f));
    Quad(parallels, PointF(5, 24.5f), PointF(17, 21), PointF(29, 24.5f));
    graphics.DrawPath(&pen, &parallels);
}

}  // namespace

void DrawGlyph(Gdiplus::Graphics& graphics, TGlyph glyph, PointF origin, TColor color, bool enabled)
{
    if (glyph == TGlyph::None)
        return;
    const Gdiplus::GraphicsState saved = graphics.Save();
    graphics.TranslateTransform(origin.X, origin.Y);
    graphics.IntersectClip(Gdiplus::RectF(0, 0, kGlyphSize, kGlyphSize));
    const Gdiplus::Color ink(enabled ? 255 : 150, color.r, color.g, color.b);
    switch (glyph) {
    case TGlyph::Cross: Cross(graphics, ink); break;
    case TGlyph::Eraser: Eraser(graphics, ink); break;
    case TGlyph::BackArrow: BackArrow(graphics, ink); break;
    case TGlyph::Check: Check(graphics, ink); break;
    case TGlyph::Globe: Globe(graphics, ink); break;
    case TGlyph::None: break;
    }
    graphics.Restore(saved);
}

}  // namespace host::win32
