#pragma once
// Draws forms from their controls' own appearance: back to front, each control clipped to its
// parent, skipping what is not showing. A form above another (the message box over the dialog)
// is drawn at its position inside the lower one.
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <span>

#include "host/forms/controls.h"

namespace host::qt {

// The face that stands in for Arial, with Arial's metrics.
inline constexpr const char* kFontFamily = "Liberation Sans";
QFont MakeFont(const TFont& font);

// The controls that a press currently holds down, drawn in their pressed colour.
struct PaintState {
    const TControl* pressed = nullptr;
};

class FormPainter {
public:
    FormPainter(QPainter& painter, PaintState state) : painter_(painter), state_(state) {}

    // Paints the forms of a modal stack, the lowest first, into its window.
    void PaintStack(std::span<const TControl* const> forms);
    void PaintForm(const TControl& form, QPoint origin);

private:
    void PaintControl(const TControl& control, QRect bounds);
    void PaintShape(const TControl& shape, QRect bounds);
    void PaintLabel(const TControl& label, QRect bounds);
    void PaintPanel(const TControl& panel, QRect bounds);
    void PaintButton(const TControl& button, QRect bounds);

    QPainter& painter_;
    PaintState state_;
};

// Where a form lies inside the window of a modal stack whose lowest form is `base`.
QPoint FormOrigin(const TControl& base, const TControl& form);

// A picture of the stack as its window shows it.
QImage RenderStack(std::span<const TControl* const> forms, PaintState state = {});

}  // namespace host::qt
