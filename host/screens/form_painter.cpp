#include "host/screens/form_painter.h"

#include <algorithm>

#include "host/screens/glyphs.h"

namespace host {

namespace {

// The framework's 3-D shades, as the classic Windows scheme has them.
constexpr TColor kBevelShadow{160, 160, 160};
constexpr TColor kBevelHighlight{255, 255, 255};

constexpr float kButtonRadius = 8;
// Room kept free between a button's edge and its caption.
constexpr int kButtonPadding = 2;

}  // namespace

Point FormOrigin(const TControl& base, const TControl& form)
{
    if (&form == &base)
        return {};
    return {form.Left(), form.Top()};
}

void FormPainter::PaintStack(std::span<const TControl* const> forms)
{
    for (const TControl* form : forms)
        PaintForm(*form, FormOrigin(*forms.front(), *form));
}

void FormPainter::PaintForm(const TControl& form, Point origin)
{
    if (!form.Visible())
        return;
    PaintControl(form, {origin.x, origin.y, form.Width(), form.Height()});
}

void FormPainter::PaintControl(const TControl& control, Rect bounds)
{
    const TLook& look = control.Look();
    if (control.Kind() == TControlKind::Label && look.auto_size) {
        // Sized to its text: the caption decides the label's extent, not the stored size.
        const Size fitted = canvas_.LineSize(control.GetText(), look.font);
        // A right-aligned label keeps its right edge as it grows or shrinks.
        if (look.alignment == TAlignment::Right)
            bounds.left = bounds.Right() - fitted.width;
        bounds.width = fitted.width;
        bounds.height = fitted.height;
    }
    // A paint of part of the window draws only what lies in that part.
    if (!canvas_.Reaches(bounds))
        return;
    const ClipScope clip(canvas_, bounds);
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
        const Rect child_bounds{bounds.left + child->Left(), bounds.top + child->Top(), child->Width(),
                                child->Height()};
        if (canvas_.Reaches(child_bounds))
            PaintControl(*child, child_bounds);
    }
}

void FormPainter::PaintShape(const TControl& shape, Rect bounds)
{
    const TLook& look = shape.Look();
    canvas_.Fill(bounds, look.color);
    const int width = look.border_width;
    if (width <= 0)
        return;
    canvas_.Fill({bounds.left, bounds.top, bounds.width, width}, look.border_color);
    canvas_.Fill({bounds.left, bounds.Bottom() - width, bounds.width, width}, look.border_color);
    canvas_.Fill({bounds.left, bounds.top, width, bounds.height}, look.border_color);
    canvas_.Fill({bounds.Right() - width, bounds.top, width, bounds.height}, look.border_color);
}

void FormPainter::PaintPanel(const TControl& panel, Rect bounds)
{
    const TLook& look = panel.Look();
    canvas_.Fill(bounds, look.color);
    // A lowered bevel: shadow above and to the left, light below and to the right.
    for (int i = 0; i < look.border_width; ++i) {
        const Rect ring{bounds.left + i, bounds.top + i, bounds.width - 2 * i, bounds.height - 2 * i};
        canvas_.Fill({ring.left, ring.top, ring.width, 1}, kBevelShadow);
        canvas_.Fill({ring.left, ring.top, 1, ring.height}, kBevelShadow);
        canvas_.Fill({ring.left, ring.Bottom() - 1, ring.width, 1}, kBevelHighlight);
        canvas_.Fill({ring.Right() - 1, ring.top, 1, ring.height}, kBevelHighlight);
    }
}

void FormPainter::PaintLabel(const TControl& label, Rect bounds)
{
    const TLook& look = label.Look();
    if (!look.transparent)
        canvas_.Fill(bounds, look.color);
    if (!label.GetText().empty())
        canvas_.Text(bounds, label.GetText(), look.font, look.font.color, {look.alignment, look.word_wrap});
}

void FormPainter::PaintButton(const TControl& button, Rect bounds)
{
    const TLook& look = button.Look();
    const bool enabled = button.Enabled();
    const bool pressed = enabled && pressed_ == &button;
    const TColor fill = !enabled ? look.disabled_color : pressed ? look.down_color : look.color;
    const TColor ink = !enabled ? look.disabled_font_color : pressed ? look.down_font_color : look.font.color;

    const std::string& caption = button.GetText();
    const bool has_glyph = look.glyph != TGlyph::None;
    const int glyph = has_glyph ? kGlyphSize : 0;
    const int spacing = has_glyph && !caption.empty() ? look.spacing : 0;
    const bool beside = look.layout == TButtonLayout::GlyphLeft || look.layout == TButtonLayout::GlyphRight;

    // The caption wraps at its words into the room the glyph leaves; a word longer than that
    // keeps its width and the group stays centred.
    const int room = std::max(1, bounds.width - 2 * kButtonPadding - (beside ? glyph + spacing : 0));
    const Size text = caption.empty() ? Size{} : canvas_.WrappedSize(caption, look.font, room);

    // Glyph and caption form one group, centred; a margin instead fixes the glyph's distance from
    // the edge it stands by.
    Point glyph_at;
    Point text_at;
    if (beside) {
        const int group = glyph + spacing + text.width;
        const int start = look.margin < 0 ? (bounds.width - group) / 2 : look.margin;
        const int glyph_left = look.layout == TButtonLayout::GlyphLeft ? start : bounds.width - start - glyph;
        const int text_left =
            look.layout == TButtonLayout::GlyphLeft ? glyph_left + glyph + spacing : glyph_left - spacing - text.width;
        glyph_at = {glyph_left, (bounds.height - glyph) / 2};
        text_at = {text_left, (bounds.height - text.height) / 2};
    } else {
        const int group = glyph + spacing + text.height;
        const int start = look.margin < 0 ? (bounds.height - group) / 2 : look.margin;
        const int glyph_top = look.layout == TButtonLayout::GlyphTop ? start : bounds.height - start - glyph;
        const int text_top =
            look.layout == TButtonLayout::GlyphTop ? glyph_top + glyph + spacing : glyph_top - spacing - text.height;
        glyph_at = {(bounds.width - glyph) / 2, glyph_top};
        text_at = {(bounds.width - text.width) / 2, text_top};
    }
    canvas_.FillRoundedRect({static_cast<float>(bounds.left), static_cast<float>(bounds.top),
                             static_cast<float>(bounds.width), static_cast<float>(bounds.height)},
                            kButtonRadius, {fill});
    if (has_glyph)
        DrawGlyph(canvas_, look.glyph, {bounds.left + glyph_at.x, bounds.top + glyph_at.y}, ink, enabled);
    if (!caption.empty())
        canvas_.Text({bounds.left + text_at.x, bounds.top + text_at.y, text.width, text.height}, caption, look.font,
                     ink, {TAlignment::Center, true});
}

}  // namespace host
