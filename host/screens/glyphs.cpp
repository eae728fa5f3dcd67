#include "host/screens/glyphs.h"

#include <array>

namespace host {

namespace {

// "Não informar": a ring with an X.
void Cross(Canvas& canvas, Ink ink)
{
    canvas.StrokeEllipse({17, 17}, 14.5f, 14.5f, {ink, 2.5f});
    canvas.StrokeLine({11, 11}, {23, 23}, {ink, 4});
    canvas.StrokeLine({23, 11}, {11, 23}, {ink, 4});
}

// "Limpar": an eraser lying at an angle over the line it wipes.
void Eraser(Canvas& canvas, Ink ink)
{
    {
        const TransformScope turned(canvas, {17, 16}, -40);
        canvas.StrokeRoundedRect({-13, -7, 26, 14}, 2, {ink, 2});
        canvas.FillRoundedRect({-13, -7, 11, 14}, 2, ink);
    }
    canvas.StrokeLine({4, 31}, {30, 31}, {ink, 2});
}

// "Corrrigir": an arrow pointing back.
void BackArrow(Canvas& canvas, Ink ink)
{
    canvas.StrokeLine({29, 17}, {7, 17}, {ink, 4});
    const std::array<PointF, 3> head = {{{16, 8}, {6, 17}, {16, 26}}};
    canvas.StrokePolyline(head, {ink, 4});
}

// "Confirmar": a check mark.
void Check(Canvas& canvas, Ink ink)
{
    const std::array<PointF, 3> mark = {{{6, 18}, {14, 26}, {28, 9}}};
    canvas.StrokePolyline(mark, {ink, 4.5f});
}

// "Cons Estrang.": a globe with its meridians and parallels.
void Globe(Canvas& canvas, Ink ink)
{
    const Pen pen{ink, 2};
    canvas.StrokeEllipse({17, 17}, 14.5f, 14.5f, pen);
    canvas.StrokeEllipse({17, 17}, 6.5f, 14.5f, pen);
    canvas.StrokeLine({17, 2.5f}, {17, 31.5f}, pen);
    canvas.StrokeLine({2.5f, 17}, {31.5f, 17}, pen);
    canvas.StrokeCurve({5, 9.5f}, {17, 13}, {29, 9.5f}, pen);
    canvas.StrokeCurve({5, 24.5f}, {17, 21}, {29, 24.5f}, pen);
}

}  // namespace

void DrawGlyph(Canvas& canvas, TGlyph glyph, Point origin, TColor color, bool enabled)
{
    if (glyph == TGlyph::None)
        return;
    const Ink ink{color, static_cast<uint8_t>(enabled ? 255 : 150)};
    const ClipScope clip(canvas, {origin.x, origin.y, kGlyphSize, kGlyphSize});
    const TransformScope moved(canvas, {static_cast<float>(origin.x), static_cast<float>(origin.y)}, 0);
    switch (glyph) {
    case TGlyph::Cross: Cross(canvas, ink); break;
    case TGlyph::Eraser: Eraser(canvas, ink); break;
    case TGlyph::BackArrow: BackArrow(canvas, ink); break;
    case TGlyph::Check: Check(canvas, ink); break;
    case TGlyph::Globe: Globe(canvas, ink); break;
    case TGlyph::None: break;
    }
}

}  // namespace host
