#pragma once
// The side buttons' pictures, drawn as vectors in a 34 x 34 box.
#include "host/forms/controls.h"
#include "host/screens/canvas.h"

namespace host {

constexpr int kGlyphSize = 34;

// Draws glyph with its box's top-left corner at origin. A disabled glyph is drawn faded.
void DrawGlyph(Canvas& canvas, TGlyph glyph, Point origin, TColor color, bool enabled);

}  // namespace host
