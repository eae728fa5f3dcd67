#include "host/screens/qt/glyphs.h"

#include <QPainterPath>
#include <QPolygonF>

namespace host::qt {

namespace {

QPen Stroke(QColor color, qreal width)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// "Não informar": a ring with an X.
void Cross(QPainter& painter, QColor color)
{
    painter.setPen(Stroke(color, 2.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(17, 17), 14.5, 14.5);
    painter.setPen(Stroke(color, 4));
    painter.drawLine(QPointF(11, 11), QPointF(23, 23));
    painter.drawLine(QPointF(23, 11), QPointF(11, 23));
}

// "Limpar": an eraser lying at an angle over the line it wipes.
void Eraser(QPainter& painter, QColor color)
{
    painter.save();
    painter.translate(17, 16);
    painter.rotate(-40);
    const QRectF body(-13, -7, 26, 14);
    painter.setPen(Stroke(color, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(body, 2, 2);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawRoundedRect(QRectF(-13, -7, 11, 14), 2, 2);
    painter.restore();
    painter.setPen(Stroke(color, 2));
    painter.drawLine(QPointF(4, 31), QPointF(30, 31));
}

// "Corrrigir": an arrow pointing back.
void BackArrow(QPainter& painter, QColor color)
{
    painter.setPen(Stroke(color, 4));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(QPointF(29, 17), QPointF(7, 17));
    painter.drawPolyline(QPolygonF({QPointF(16, 8), QPointF(6, 17), QPointF(16, 26)}));
}

// "Confirmar": a check mark.
void Check(QPainter& painter, QColor color)
{
    painter.setPen(Stroke(color, 4.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(QPolygonF({QPointF(6, 18), QPointF(14, 26), QPointF(28, 9)}));
}

// "Cons Estrang.": a globe with its meridians and parallels.
void Globe(QPainter& painter, QColor color)
{
    painter.setPen(Stroke(color, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(17, 17), 14.5, 14.5);
    painter.drawEllipse(QPointF(17, 17), 6.5, 14.5);
    painter.drawLine(QPointF(17, 2.5), QPointF(17, 31.5));
    painter.drawLine(QPointF(2.5, 17), QPointF(31.5, 17));
    QPainterPath parallels;
    parallels.moveTo(5, 9.5);
    parallels.quadTo(17, 13, 29, 9.5);
    parallels.moveTo(5, 24.5);
    parallels.quadTo(17, 21, 29, 24.5);
    painter.drawPath(parallels);
}

}  // namespace

void DrawGlyph(QPainter& painter, TGlyph glyph, QPoint origin, QColor color, bool enabled)
{
    if (glyph == TGlyph::None)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(origin);
    painter.setClipRect(0, 0, kGlyphSize, kGlyphSize);
    if (!enabled)
        color.setAlpha(150);
    switch (glyph) {
    case TGlyph::Cross: Cross(painter, color); break;
    case TGlyph::Eraser: Eraser(painter, color); break;
    case TGlyph::BackArrow: BackArrow(painter, color); break;
    case TGlyph::Check: Check(painter, color); break;
    case TGlyph::Globe: Globe(painter, color); break;
    case TGlyph::None: break;
    }
    painter.restore();
}

}  // namespace host::qt
