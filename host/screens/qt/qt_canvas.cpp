#include "host/screens/qt/qt_canvas.h"

#include <QFontMetrics>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>

#include "host/screens/form_painter.h"
#include "host/screens/qt/qt_text.h"

namespace host::qt {

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

}  // namespace

QFont MakeFont(const TFont& font)
{
    QFont made(QString::fromLatin1(kFontFamily));
    made.setPixelSize(std::max(1, font.height));
    made.setBold(font.bold);
    made.setKerning(false);  // GDI draws Arial without pair kerning
    return made;
}

void QtCanvas::PushClip(Rect rect)
{
    painter_.save();
    painter_.setClipRect(ToQRect(rect), Qt::IntersectClip);
}

void QtCanvas::PopClip() { painter_.restore(); }

bool QtCanvas::Reaches(Rect rect) const
{
    return !painter_.hasClipping() || painter_.clipBoundingRect().toAlignedRect().intersects(ToQRect(rect));
}

void QtCanvas::PushTransform(PointF offset, float degrees)
{
    painter_.save();
    painter_.translate(ToQPointF(offset));
    if (degrees != 0)
        painter_.rotate(degrees);
}

void QtCanvas::PopTransform() { painter_.restore(); }

void QtCanvas::Fill(Rect rect, TColor color) { painter_.fillRect(ToQRect(rect), ToQColor(color)); }

Size QtCanvas::LineSize(const std::string& text, const TFont& font)
{
    const QFontMetrics metrics(MakeFont(font));
    return {metrics.horizontalAdvance(ToQString(text)), metrics.height()};
}

Size QtCanvas::WrappedSize(const std::string& text, const TFont& font, int width)
{
    const QFontMetrics metrics(MakeFont(font));
    const QSize size =
        metrics.boundingRect(QRect(0, 0, width, 10000), Qt::AlignHCenter | Qt::TextWordWrap, ToQString(text)).size();
    return {size.width(), size.height()};
}

void QtCanvas::Text(Rect box, const std::string& text, const TFont& font, TColor color, TextLayout layout)
{
    painter_.setFont(MakeFont(font));
    painter_.setPen(ToQColor(color));
    const int flags = static_cast<int>(HorizontalAlignment(layout.alignment) | Qt::AlignTop) |
                      (layout.word_wrap ? Qt::TextWordWrap : 0);
    painter_.drawText(ToQRect(box), flags, ToQString(text));
}

void QtCanvas::BeginStroke(Pen pen)
{
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing);
    const QColor color = ToQColor(pen.ink.color, pen.ink.alpha);
    painter_.setPen(QPen(color, pen.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter_.setBrush(Qt::NoBrush);
}

void QtCanvas::FillRoundedRect(RectF rect, float radius, Ink ink)
{
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(ToQColor(ink.color, ink.alpha));
    painter_.drawRoundedRect(ToQRectF(rect), radius, radius);
    painter_.restore();
}

void QtCanvas::StrokeRoundedRect(RectF rect, float radius, Pen pen)
{
    BeginStroke(pen);
    painter_.drawRoundedRect(ToQRectF(rect), radius, radius);
    painter_.restore();
}

void QtCanvas::StrokeLine(PointF from, PointF to, Pen pen)
{
    BeginStroke(pen);
    painter_.drawLine(ToQPointF(from), ToQPointF(to));
    painter_.restore();
}

void QtCanvas::StrokePolyline(std::span<const PointF> points, Pen pen)
{
    QPolygonF polyline;
    for (const PointF point : points)
        polyline << ToQPointF(point);
    BeginStroke(pen);
    painter_.drawPolyline(polyline);
    painter_.restore();
}

void QtCanvas::StrokeEllipse(PointF centre, float radius_x, float radius_y, Pen pen)
{
    BeginStroke(pen);
    painter_.drawEllipse(ToQPointF(centre), radius_x, radius_y);
    painter_.restore();
}

void QtCanvas::StrokeCurve(PointF from, PointF control, PointF to, Pen pen)
{
    QPainterPath curve;
    curve.moveTo(ToQPointF(from));
    curve.quadTo(ToQPointF(control), ToQPointF(to));
    BeginStroke(pen);
    painter_.drawPath(curve);
    painter_.restore();
}

QImage RenderStack(std::span<const TControl* const> forms, const TControl* pressed)
{
    if (forms.empty())
        return {};
    const TControl& base = *forms.front();
    QImage image(std::max(1, base.Width()), std::max(1, base.Height()), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    QtCanvas canvas(painter);
    FormPainter(canvas, pressed).PaintStack(forms);
    return image;
}

}  // namespace host::qt
