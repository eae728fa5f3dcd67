#pragma once
// QtCanvas: the form painter's canvas on a QPainter, in the painter's coordinates (the window
// screen scales them to the display). Text is Arial's metric twin, as GDI draws Arial.
#include <QFont>
#include <QImage>
#include <QPainter>
#include <span>

#include "host/screens/canvas.h"

namespace host::qt {

// The face that stands in for Arial, with Arial's metrics.
inline constexpr const char* kFontFamily = "Liberation Sans";
QFont MakeFont(const TFont& font);

class QtCanvas final : public Canvas {
public:
    explicit QtCanvas(QPainter& painter) : painter_(painter) {}

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
    // Antialiased, with `pen`'s line and no fill, until the painter is restored.
    void BeginStroke(Pen pen);

    QPainter& painter_;
};

// A picture of a modal stack of forms as its window shows it, `pressed` held down.
QImage RenderStack(std::span<const TControl* const> forms, const TControl* pressed = nullptr);

}  // namespace host::qt
