#pragma once
// The form painter on a QPainter, in the painter's coordinates (the window scales them to the
// display). Text is Arial's metric twin, as GDI draws Arial.
#include <QFont>
#include <QImage>
#include <QPainter>
#include <span>

#include "host/forms/controls.h"

namespace host::qt {

// The face that stands in for Arial, with Arial's metrics.
inline constexpr const char* kFontFamily = "Liberation Sans";
QFont MakeFont(const TFont& font);

// Paints a modal stack of forms, the lowest first, `pressed` held down.
void PaintStack(QPainter& painter, std::span<const TControl* const> forms, const TControl* pressed);

// A picture of the stack as its window shows it.
QImage RenderStack(std::span<const TControl* const> forms, const TControl* pressed = nullptr);

}  // namespace host::qt
