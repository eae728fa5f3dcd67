#pragma once
// Draws forms from their controls' own appearance, as the Qt screen does: back to front, each
// control clipped to its parent, skipping what is not showing. Text is Arial through GDI; the
// rounded buttons and the side buttons' pictures are antialiased through GDI+. `scale` turns the
// layout's pixels at 96 dpi into the device's. GDI+ must be started (GdiplusSession).
#include "host/screens/win32/windows_api.h"

#include <map>
#include <span>
#include <string>
#include <utility>

#include "host/forms/controls.h"
#include "host/screens/win32/gdi_objects.h"
#include "host/screens/win32/picture.h"

namespace host::win32 {

inline constexpr const wchar_t* kFontFace = L"Arial";

// The control that a press currently holds down, drawn in its pressed colour.
struct PaintState {
    const TControl* pressed = nullptr;
};

class FormPainter {
public:
    FormPainter(Picture& picture, double scale, PaintState state);
    // Gives the picture's context back unscaled, so copying from it copies its pixels one to one.
    ~FormPainter();
    FormPainter(const FormPainter&) = delete;
    FormPainter& operator=(const FormPainter&) = delete;

    // Paints the forms of a modal stack, the lowest first, each at its place over the lowest.
    void PaintStack(std::span<const TControl* const> forms);
    void PaintForm(const TControl& form, POINT origin);

private:
    void PaintControl(const TControl& control, RECT bounds);
    void PaintShape(const TControl& shape, RECT bounds);
    void PaintLabel(const TControl& label, RECT bounds);
    void PaintPanel(const TControl& panel, RECT bounds);
    void PaintButton(const TControl& button, RECT bounds);
    void Fill(RECT rect, TColor color);
    HFONT Font(const TFont& font);

    Picture& picture_;
    HDC dc_;
    double scale_;
    // The part of the picture the control being painted may draw on, in layout pixels.
    RECT clip_;
    PaintState state_;
    std::map<std::pair<int, bool>, GdiObject<HFONT>> fonts_;
};

// Where a form lies inside the window of a modal stack whose lowest form is `base`.
POINT FormOrigin(const TControl& base, const TControl& form);

// A picture of the stack at 96 dpi, as its window shows it.
Picture RenderStack(std::span<const TControl* const> forms, PaintState state = {});

// Windows-1252 bytes as UTF-16.
std::wstring Wide(const std::string& cp1252);

}  // namespace host::win32
