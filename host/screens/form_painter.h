#pragma once
// FormPainter: draws forms from their controls' looks on a canvas, back to front, each control
// clipped to its parent, skipping what is not showing or lies outside the canvas's clip. A form
// above another (the message box over the dialog) is drawn at its place over the lowest one.
// Written once for every window screen: where a caption and a picture go on a button, what a
// pressed key shows.
#include <span>

#include "host/forms/controls.h"
#include "host/screens/canvas.h"

namespace host {

class FormPainter {
public:
    // `pressed`: the control held down, drawn in its pressed colours.
    FormPainter(Canvas& canvas, const TControl* pressed) : canvas_(canvas), pressed_(pressed) {}

    // Paints the forms of a modal stack, the lowest first.
    void PaintStack(std::span<const TControl* const> forms);
    void PaintForm(const TControl& form, Point origin);

private:
    void PaintControl(const TControl& control, Rect bounds);
    void PaintShape(const TControl& shape, Rect bounds);
    void PaintLabel(const TControl& label, Rect bounds);
    void PaintPanel(const TControl& panel, Rect bounds);
    void PaintButton(const TControl& button, Rect bounds);

    Canvas& canvas_;
    const TControl* pressed_;
};

// Where a form lies over the lowest form of its modal stack, `base`.
Point FormOrigin(const TControl& base, const TControl& form);

}  // namespace host
