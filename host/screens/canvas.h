#pragma once
// Canvas: what the form painter draws on, in the layout's pixels at 96 dpi. Each window screen
// implements it in a few lines with its toolkit (Qt's QPainter, GDI and GDI+); the painter decides
// where everything goes, so both screens draw the same picture.
#include <span>
#include <string>

#include "host/forms/controls.h"

namespace host {

struct Point {
    int x = 0, y = 0;
    friend bool operator==(Point, Point) = default;
};

struct Size {
    int width = 0, height = 0;
    friend bool operator==(Size, Size) = default;
};

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    int Right() const { return left + width; }  // the first column past it
    int Bottom() const { return top + height; }
    bool Empty() const { return width <= 0 || height <= 0; }
    bool Intersects(const Rect& other) const
    {
        return !Empty() && !other.Empty() && left < other.Right() && other.left < Right() && top < other.Bottom() &&
               other.top < Bottom();
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// A point of a vector picture, between pixels.
struct PointF {
    float x = 0, y = 0;
    friend bool operator==(PointF, PointF) = default;
};

struct RectF {
    float left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const RectF&, const RectF&) = default;
};

// A colour drawn over what is there: 255 covers it, less lets it show through.
struct Ink {
    TColor color;
    uint8_t alpha = 255;
    friend bool operator==(Ink, Ink) = default;
};

// A line of `width` pixels with round caps and joins.
struct Pen {
    Ink ink;
    float width = 1;
    friend bool operator==(Pen, Pen) = default;
};

// How text sits in its box: always from the box's top.
struct TextLayout {
    TAlignment alignment = TAlignment::Left;
    bool word_wrap = false;
    friend bool operator==(TextLayout, TextLayout) = default;
};

class Canvas {
public:
    virtual ~Canvas() = default;

    // What follows draws only inside rect (and inside the clips pushed before), until PopClip.
    virtual void PushClip(Rect rect) = 0;
    virtual void PopClip() = 0;
    // Whether something drawn inside rect could show, clips considered.
    virtual bool Reaches(Rect rect) const = 0;
    // Moves (then turns, by `degrees` clockwise) what the vector drawings below draw, until
    // PopTransform.
    virtual void PushTransform(PointF offset, float degrees) = 0;
    virtual void PopTransform() = 0;

    // Pixel-exact fills.
    virtual void Fill(Rect rect, TColor color) = 0;
    // Text in Windows-1252; its size on one line, and wrapped at words into `width`, centred.
    virtual Size LineSize(const std::string& text, const TFont& font) = 0;
    virtual Size WrappedSize(const std::string& text, const TFont& font, int width) = 0;
    virtual void Text(Rect box, const std::string& text, const TFont& font, TColor color, TextLayout layout) = 0;

    // Antialiased vector drawings.
    virtual void FillRoundedRect(RectF rect, float radius, Ink ink) = 0;
    virtual void StrokeRoundedRect(RectF rect, float radius, Pen pen) = 0;
    virtual void StrokeLine(PointF from, PointF to, Pen pen) = 0;
    virtual void StrokePolyline(std::span<const PointF> points, Pen pen) = 0;
    virtual void StrokeEllipse(PointF centre, float radius_x, float radius_y, Pen pen) = 0;
    // A quadratic curve from `from` to `to`, pulled towards `control`.
    virtual void StrokeCurve(PointF from, PointF control, PointF to, Pen pen) = 0;
};

// A canvas on a toolkit's surface (Qt's QPainter, a GDI picture): declared once, here; its members
// are defined by the screen that owns the surface, in the one file that draws on it.
template <typename Surface>
class SurfaceCanvas final : public Canvas {
public:
    explicit SurfaceCanvas(Surface& surface) : surface_(surface) {}

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
    Surface& surface_;
};

// A clip pushed for as long as it lives.
class ClipScope {
public:
    ClipScope(Canvas& canvas, Rect rect) : canvas_(canvas) { canvas_.PushClip(rect); }
    ~ClipScope() { canvas_.PopClip(); }
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;

private:
    Canvas& canvas_;
};

// A transform pushed for as long as it lives.
class TransformScope {
public:
    TransformScope(Canvas& canvas, PointF offset, float degrees) : canvas_(canvas)
    {
        canvas_.PushTransform(offset, degrees);
    }
    ~TransformScope() { canvas_.PopTransform(); }
    TransformScope(const TransformScope&) = delete;
    TransformScope& operator=(const TransformScope&) = delete;

private:
    Canvas& canvas_;
};

}  // namespace host
