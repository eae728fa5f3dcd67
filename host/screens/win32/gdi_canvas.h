#pragma once
// The form painter on a picture: text is Arial through GDI; the vector drawings (the rounded
// buttons, the side buttons' pictures) are antialiased through GDI+, straight into the picture's
// pixels. `scale` turns the layout's pixels at 96 dpi into the device's. GDI+ must be started
// (GdiplusSession).
#include <span>
#include <string>

#include "host/forms/controls.h"
#include "host/screens/win32/picture.h"

namespace host::win32 {

inline constexpr const wchar_t* kFontFace = L"Arial";

// Paints a form at the picture's top-left corner, `pressed` held down, where the picture's
// context lets it (its clip region); the context is given back unscaled.
void PaintForm(Picture& picture, double scale, const TControl& form, const TControl* pressed);

// A picture of a modal stack of forms at 96 dpi, as its window shows it, `pressed` held down.
Picture RenderStack(std::span<const TControl* const> forms, const TControl* pressed = nullptr);

// Windows-1252 bytes as UTF-16.
std::wstring Wide(const std::string& cp1252);

}  // namespace host::win32
