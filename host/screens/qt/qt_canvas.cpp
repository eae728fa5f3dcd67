#include "host/screens/qt/qt_canvas.h"

#include <QFontMetrics>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>

#include "host/screens/canvas.h"
#include "host/screens/form_painter.h"
#include "host/screens/qt/qt_text.h"

namespace host {

namespace {

QColor ToQColor(TColor color, uint8_t alpha = 255) { return QColor(color.r, color.g, color.b, alpha); }
QRect ToQRect(Rect rect) { return QRect(rect.left, rect.top, rect.width, rect.height); }
QRectF ToQRectF(RectF rect) { return QRectF(rect.left, rect.top, rect.width, rect.height); }
QPointF ToQPointF(PointF point) { return QPointF(point.x, point.y); }

Qt::Alignment HorizontalAlignment(TAlignment alignment)
{
    switch (alignment) {
    case TAlignment::Right: return Qt::AlignRight;
    case TAlignment::Center: return Qt::AlignHCenter;
    case TAlignment::Left: break;
    }
    return Qt::AlignLeft;
}

// Antialiased, with `pen`'s line and no fill, until the painter is restored.
void BeginStroke(QPainter& painter, Pen pen)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor color = ToQColor(pen.ink.color, pen.ink.alpha);
    painter.setPen(QPen(color, pen.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
}

}  // namespace

template <>
void SurfaceCanvas<QPainter>::PushClip(Rect rect)
{
    surface_.save();
    surface_.setClipRect(ToQRect(rect), Qt::IntersectClip);
}

template <>
void SurfaceCanvas<QPainter>::PopClip() { surface_.restore(); }

template <>
bool SurfaceCanvas<QPainter>::Reaches(Rect rect) const
{
    return !surface_.hasClipping() || surface_.clipBoundingRect().toAlignedRect().intersects(ToQRect(rect));
}

template <>
void SurfaceCanvas<QPainter>::PushTransform(PointF offset, float degrees)
{
    surface_.save();
    surface_.translate(ToQPointF(offset));
    if (degrees != 0)
        surface_.rotate(degrees);
}

template <>
void SurfaceCanvas<QPainter>::PopTransform() { surface_.restore(); }

template <>
void SurfaceCanvas<QPainter>::Fill(Rect rect, TColor color) { surface_.fillRect(ToQRect(rect), ToQColor(color)); }

template <>
Size SurfaceCanvas<QPainter>::LineSize(const std::string& text, const TFont& font)
{
    const QFontMetrics metrics(qt::MakeFont(font));
    return {metrics.horizontalAdvance(qt::ToQString(text)), metrics.height()};
}

template <>
Size SurfaceCanvas<QPainter>::WrappedSize(const std::string& text, const TFont& font, int width)
{
    const QFontMetrics metrics(qt::MakeFont(font));
    const QSize size =
        metrics.boundingRect(QRect(0, 0, width, 10000), Qt::AlignHCenter | Qt::TextWordWrap, qt::ToQString(text)).size();
    return {size.width(), size.height()};
}

template <>
void SurfaceCanvas<QPainter>::Text(Rect box, const std::string& text, const TFont& font, TColor color, TextLayout layout)
{
    surface_.setFont(qt::MakeFont(font));
    surface_.setPen(ToQColor(color));
    const int flags = static_cast<int>(HorizontalAlignment(layout.alignment) | Qt::AlignTop) |
                      (layout.word_wrap ? Qt::TextWordWrap : 0);
    surface_.drawText(ToQRect(box), flags, qt::ToQString(text));
}

template <>
void SurfaceCanvas<QPainter>::FillRoundedRect(RectF rect, float radius, Ink ink)
{
    surface_.save();
    surface_.setRenderHint(QPainter::Antialiasing);
    surface_.setPen(Qt::NoPen);
    surface_.setBrush(ToQColor(ink.color, ink.alpha));
    surface_.drawRoundedRect(ToQRectF(rect), radius, radius);
    surface_.restore();
}

template <>
void SurfaceCanvas<QPainter>::StrokeRoundedRect(RectF rect, float radius, Pen pen)
{
    BeginStroke(surface_, pen);
    surface_.drawRoundedRect(ToQRectF(rect), radius, radius);
    surface_.restore();
}

template <>
void SurfaceCanvas<QPainter>::StrokeLine(PointF from, PointF to, Pen pen)
{
    BeginStroke(surface_, pen);
    surface_.drawLine(ToQPointF(from), ToQPointF(to));
    surface_.restore();
}

template <>
void SurfaceCanvas<QPainter>::StrokePolyline(std::span<const PointF> points, Pen pen)
{
    QPolygonF polyline;
    for (const PointF point : points)
        polyline << ToQPointF(point);
    BeginStroke(surface_, pen);
    surface_.drawPolyline(polyline);
    surface_.restore();
}

template <>
void SurfaceCanvas<QPainter>::StrokeEllipse(PointF centre, float radius_x, float radius_y, Pen pen)
{
    BeginStroke(surface_, pen);
    surface_.drawEllipse(ToQPointF(centre), radius_x, radius_y);
    surface_.restore();
}

template <>
void SurfaceCanvas<QPainter>::StrokeCurve(PointF from, PointF control, PointF to, Pen pen)
{
    QPainterPath curve;
    curve.moveTo(ToQPointF(from));
    curve.quadTo(ToQPointF(control), ToQPointF(to));
    BeginStroke(surface_, pen);
    surface_.drawPath(curve);
    surface_.restore();
}

}  // namespace host

namespace host::qt {

QFont MakeFont(const TFont& font)
{
    QFont made(QString::fromLatin1(kFontFamily));
    made.setPixelSize(std::max(1, font.height));
    made.setBold(font.bold);
    made.setKerning(false);  // GDI draws Arial without pair kerning
    return made;
}

void PaintStack(QPainter& painter, std::span<const TControl* const> forms, const TControl* pressed)
{
    SurfaceCanvas<QPainter> canvas(painter);
    FormPainter(canvas, pressed).PaintStack(forms);
}

QImage RenderStack(std::span<const TControl* const> forms, const TControl* pressed)
{
    if (forms.empty())
        return {};
    const TControl& base = *forms.front();
    QImage image(std::max(1, base.Width()), std::max(1, base.Height()), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    PaintStack(painter, forms, pressed);
    return image;
}

}  // namespace host::qt
