#pragma once
// The side buttons' pictures, drawn as vectors in a 34 x 34 box, as the Qt screen draws them.
#include "host/screens/win32/windows_api.h"
#include <gdiplus.h>

#include "host/forms/controls.h"

namespace host::win32 {

constexpr int kGlyphSize = 34;

// Draws glyph with its top-left corner at (x, y) of graphics' coordinates. A disabled glyph is
// drawn faded.
void DrawGlyph(Gdiplus::Graphics& graphics, TGlyph glyph, Gdiplus::PointF origin, TColor color, bool enabled);

}  // namespace host::win32
