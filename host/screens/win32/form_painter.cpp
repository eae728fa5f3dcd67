#include "host/screens/win32/form_painter.h"

#include <gdiplus.h>

#include <algorithm>
#include <cmath>

#include "host/screens/win32/glyphs.h"
#include "host/text/strings.h"

namespace host::win32 {

namespace {

COLORREF ToColorRef(TColor color) { return RGB(color.r, color.g, color.b); }

// The framework's 3-D shades, as the classic Windows scheme has them.
constexpr TColor kBevelShadow{160, 160, 160};
constexpr TColor kBevelHighlight{255, 255, 255};

constexpr float kButtonRadius = 8;
// Room kept free between a button's edge and its caption.
constexpr int kButtonPadding = 2;

int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }

UINT HorizontalAlignment(TAlignment alignment)
{
    switch (alignment) {
    case TAlignment::Right: return DT_RIGHT;
    case TAlignment::Center: return DT_CENTER;
    case TAlignment::Left: break;
    }
    return DT_LEFT;
}

// GDI+ drawing straight into the picture's pixels, in the layout's pixels, clipped to `clip`.
// (GDI+ on a device context would go through GDI, without antialiasing, under Wine.)
class LayoutGraphics {
public:
    LayoutGraphics(Picture& picture, double scale, const RECT& clip)
        : bitmap_((GdiFlush(), picture.Width()), picture.Height(), picture.Width() * 4, PixelFormat32bppRGB,
                  reinterpret_cast<BYTE*>(picture.Bits())),
          graphics_(&bitmap_)
    {
        graphics_.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        // Pixel centres at half-pixel positions, as Qt places them.
        graphics_.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        graphics_.ScaleTransform(static_cast<float>(scale), static_cast<float>(scale));
        graphics_.SetClip(Gdiplus::RectF(static_cast<float>(clip.left), static_cast<float>(clip.top),
                                         static_cast<float>(clip.right - clip.left),
                                         static_cast<float>(clip.bottom - clip.top)));
    }
    ~LayoutGraphics() { graphics_.Flush(Gdiplus::FlushIntentionSync); }
    LayoutGraphics(const LayoutGraphics&) = delete;
    LayoutGraphics& operator=(const LayoutGraphics&) = delete;
    Gdiplus::Graphics& operator*() { return graphics_; }

private:
    Gdiplus::Bitmap bitmap_;
    Gdiplus::Graphics graphics_;
};

void FillRoundedRect(Gdiplus::Graphics& graphics, const RECT& rect, TColor color)
{
    const float d = 2 * kButtonRadius;
    const auto x = static_cast<float>(rect.left), y = static_cast<float>(rect.top);
    const auto w = static_cast<float>(Width(rect)), h = static_cast<float>(Height(rect));
    Gdiplus::GraphicsPath path;
    path.AddArc(x, y, d, d, 180, 90);
    path.AddArc(x + w - d, y, d, d, 270, 90);
    path.AddArc(x + w - d, y + h - d, d, d, 0, 90);
    path.AddArc(x, y + h - d, d, d, 90, 90);
    path.CloseFigure();
    Gdiplus::SolidBrush brush(Gdiplus::Color(color.r, color.g, color.b));
    graphics.FillPath(&brush, &path);
}

}  // namespace

std::wstring Wide(const std::string& cp1252)
{
    std::wstring wide;
    wide.reserve(cp1252.size());
    for (const char byte : cp1252)
        wide.push_back(static_cast<wchar_t>(Cp1252ToCodePoint(static_cast<unsigned char>(byte))));
    return wide;
}

POINT FormOrigin(const TControl& base, const TControl& form)
{
    if (&form == &base)
        return {0, 0};
    return {form.Left(), form.Top()};
}

FormPainter::FormPainter(Picture& picture, double scale, PaintState state)
    : picture_(picture), dc_(picture.Dc()), scale_(scale), clip_{0, 0, picture.Width(), picture.Height()}, state_(state)
{
    SetGraphicsMode(dc_, GM_ADVANCED);
    const XFORM transform{static_cast<FLOAT>(scale), 0, 0, static_cast<FLOAT>(scale), 0, 0};
    SetWorldTransform(dc_, &transform);
    SetBkMode(dc_, TRANSPARENT);
}

FormPainter::~FormPainter()
{
    ModifyWorldTransform(dc_, nullptr, MWT_IDENTITY);
    SetGraphicsMode(dc_, GM_COMPATIBLE);
}

HFONT FormPainter::Font(const TFont& font)
{
    auto& made = fonts_[{font.height, font.bold}];
    if (!made) {
        // A negative height is the character height, as the layout gives it.
        made.reset(CreateFontW(-std::max(1, font.height), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                               DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                               DEFAULT_PITCH | FF_SWISS, kFontFace));
    }
    return made.get();
}

void FormPainter::Fill(RECT rect, TColor color)
{
    SetDCBrushColor(dc_, ToColorRef(color));
    FillRect(dc_, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void FormPainter::PaintStack(std::span<const TControl* const> forms)
{
    if (forms.empty())
        return;
    for (const TControl* form : forms)
        PaintForm(*form, FormOrigin(*forms.front(), *form));
}

void FormPainter::PaintForm(const TControl& form, POINT origin)
{
    if (!form.Visible())
        return;
    PaintControl(form, RECT{origin.x, origin.y, origin.x + form.Width(), origin.y + form.Height()});
}

void FormPainter::PaintControl(const TControl& control, RECT bounds)
{
    if (control.Kind() == TControlKind::Label && control.auto_size) {
        // Sized to its text: the caption decides the label's extent, not the stored size.
        const Selected font(dc_, Font(control.font));
        const std::wstring text = Wide(control.GetText());
        SIZE extent{};
        GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &extent);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc_, &metrics);
        // A right-aligned label keeps its right edge as it grows or shrinks.
        if (control.alignment == TAlignment::Right)
            bounds.left = bounds.right - extent.cx;
        bounds.right = bounds.left + extent.cx;
        bounds.bottom = bounds.top + metrics.tmHeight;
    }
    const SavedDc saved(dc_);
    IntersectClipRect(dc_, bounds.left, bounds.top, bounds.right, bounds.bottom);
    const RECT outer_clip = clip_;
    IntersectRect(&clip_, &outer_clip, &bounds);
    switch (control.Kind()) {
    case TControlKind::Form:
    case TControlKind::Shape:
    case TControlKind::PageHolder: PaintShape(control, bounds); break;
    case TControlKind::Label: PaintLabel(control, bounds); break;
    case TControlKind::Panel: PaintPanel(control, bounds); break;
    case TControlKind::Button: PaintButton(control, bounds); break;
    }
    for (const auto& child : control.Children()) {
        if (!child->Visible())
            continue;
        const RECT child_bounds{bounds.left + child->Left(), bounds.top + child->Top(),
                                bounds.left + child->Left() + child->Width(), bounds.top + child->Top() + child->Height()};
        if (RectVisible(dc_, &child_bounds))
            PaintControl(*child, child_bounds);
    }
    clip_ = outer_clip;
}

void FormPainter::PaintShape(const TControl& shape, RECT bounds)
{
    Fill(bounds, shape.color);
    const int width = shape.border_width;
    if (width <= 0)
        return;
    const TColor border = shape.border_color;
    Fill({bounds.left, bounds.top, bounds.right, bounds.top + width}, border);
    Fill({bounds.left, bounds.bottom - width, bounds.right, bounds.bottom}, border);
    Fill({bounds.left, bounds.top, bounds.left + width, bounds.bottom}, border);
    Fill({bounds.right - width, bounds.top, bounds.right, bounds.bottom}, border);
}

void FormPainter::PaintPanel(const TControl& panel, RECT bounds)
{
    Fill(bounds, panel.color);
    // A lowered bevel: shadow above and to the left, light below and to the right.
    for (int i = 0; i < panel.border_width; ++i) {
        const RECT ring{bounds.left + i, bounds.top + i, bounds.right - i, bounds.bottom - i};
        Fill({ring.left, ring.top, ring.right, ring.top + 1}, kBevelShadow);
        Fill({ring.left, ring.top, ring.left + 1, ring.bottom}, kBevelShadow);
        Fill({ring.left, ring.bottom - 1, ring.right, ring.bottom}, kBevelHighlight);
        Fill({ring.right - 1, ring.top, ring.right, ring.bottom}, kBevelHighlight);
    }
}

void FormPainter::PaintLabel(const TControl& label, RECT bounds)
{
    if (!label.transparent)
        Fill(bounds, label.color);
    const std::wstring text = Wide(label.GetText());
    if (text.empty())
        return;
    const Selected font(dc_, Font(label.font));
    SetTextColor(dc_, ToColorRef(label.font.color));
    const UINT flags = HorizontalAlignment(label.alignment) | DT_TOP | DT_NOPREFIX | DT_NOCLIP |
                       (label.word_wrap ? DT_WORDBREAK : 0);
    DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &bounds, flags);
}

void FormPainter::PaintButton(const TControl& button, RECT bounds)
{
    const bool enabled = button.Enabled();
    const bool pressed = enabled && state_.pressed == &button;
    const TColor fill = !enabled ? button.disabled_color : pressed ? button.down_color : button.color;
    const TColor ink = !enabled ? button.disabled_font_color : pressed ? button.down_font_color : button.font.color;

    const std::wstring caption = Wide(button.GetText());
    const bool has_glyph = button.glyph != TGlyph::None;
    const int glyph = has_glyph ? kGlyphSize : 0;
    const int spacing = has_glyph && !caption.empty() ? button.spacing : 0;
    const bool beside = button.layout == TButtonLayout::GlyphLeft || button.layout == TButtonLayout::GlyphRight;
    const int width = Width(bounds);
    const int height = Height(bounds);

    // The caption wraps at its words into the room the glyph leaves; a word longer than that
    // keeps its width and the group stays centred.
    const Selected font(dc_, Font(button.font));
    SIZE text{0, 0};
    if (!caption.empty()) {
        RECT measured{0, 0, std::max(1, width - 2 * kButtonPadding - (beside ? glyph + spacing : 0)), 10000};
        DrawTextW(dc_, caption.c_str(), static_cast<int>(caption.size()), &measured,
                  DT_CALCRECT | DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
        text = {measured.right - measured.left, measured.bottom - measured.top};
    }

    // Glyph and caption form one group, centred; a margin instead fixes the glyph's distance from
    // the edge it stands by.
    POINT glyph_at{};
    POINT text_at{};
    if (beside) {
        const int group = glyph + spacing + text.cx;
        const int start = button.margin < 0 ? (width - group) / 2 : button.margin;
        const int glyph_left = button.layout == TButtonLayout::GlyphLeft ? start : width - start - glyph;
        const int text_left =
            button.layout == TButtonLayout::GlyphLeft ? glyph_left + glyph + spacing : glyph_left - spacing - text.cx;
        glyph_at = {glyph_left, (height - glyph) / 2};
        text_at = {text_left, (height - text.cy) / 2};
    } else {
        const int group = glyph + spacing + text.cy;
        const int start = button.margin < 0 ? (height - group) / 2 : button.margin;
        const int glyph_top = button.layout == TButtonLayout::GlyphTop ? start : height - start - glyph;
        const int text_top =
            button.layout == TButtonLayout::GlyphTop ? glyph_top + glyph + spacing : glyph_top - spacing - text.cy;
        glyph_at = {(width - glyph) / 2, glyph_top};
        text_at = {(width - text.cx) / 2, text_top};
    }
    {
        LayoutGraphics graphics(picture_, scale_, clip_);
        FillRoundedRect(*graphics, bounds, fill);
        if (has_glyph)
            DrawGlyph(*graphics, button.glyph,
                      Gdiplus::PointF(static_cast<float>(bounds.left + glyph_at.x), static_cast<float>(bounds.top + glyph_at.y)),
                      ink, enabled);
    }
    if (!caption.empty()) {
        SetTextColor(dc_, ToColorRef(ink));
        RECT area{bounds.left + text_at.x, bounds.top + text_at.y, bounds.left + text_at.x + text.cx,
                  bounds.top + text_at.y + text.cy};
        DrawTextW(dc_, caption.c_str(), static_cast<int>(caption.size()), &area,
                  DT_CENTER | DT_TOP | DT_WORDBREAK | DT_NOPREFIX | DT_NOCLIP);
    }
}

Picture RenderStack(std::span<const TControl* const> forms, PaintState state)
{
    if (forms.empty())
        throw std::logic_error("no form to take a picture of");
    const TControl& base = *forms.front();
    Picture picture(std::max(1, base.Width()), std::max(1, base.Height()));
    const RECT whole{0, 0, picture.Width(), picture.Height()};
    FillRect(picture.Dc(), &whole, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    FormPainter(picture, 1.0, state).PaintStack(forms);
    return picture;
}

}  // namespace host::win32
