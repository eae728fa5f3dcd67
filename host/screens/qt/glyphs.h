#pragma once
// The side buttons' pictures, drawn as vectors in a 34 x 34 box.
#include <QColor>
#include <QPainter>
#include <QPoint>

#include "host/forms/controls.h"

namespace host::qt {

constexpr int kGlyphSize = 34;

// Draws glyph with its top-left corner at origin. A disabled glyph is drawn faded.
void DrawGlyph(QPainter& painter, TGlyph glyph, QPoint origin, QColor color, bool enabled);

}  // namespace host::qt
