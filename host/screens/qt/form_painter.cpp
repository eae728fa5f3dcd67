#include "host/screens/qt/form_painter.h"

#include <QFontMetrics>

#include "host/screens/qt/glyphs.h"
#include "host/screens/qt/qt_text.h"

namespace host::qt {

namespace {

QColor ToQColor(TColor color) { return QColor(color.r, color.g, color.b); }

// The framework's 3-D shades, as the classic Windows scheme has them.
const QColor kBevelShadow(160, 160, 160);
const QColor kBevelHighlight(255, 255, 255);

constexpr qreal kButtonRadius = 8;
// Room kept free between a button's edge and its caption.
constexpr int kButtonPadding = 2;

Qt::Alignment HorizontalAlignment(TAlignment alignment)
{
    switch (alignment) {
    case TAlignment::Right: return Qt::AlignRight;
    case TAlignment::Center: return Qt::AlignHCenter;
    case TAlignment::Left: break;
    }
    return Qt::AlignLeft;
}

// A frame of `width` pixels inside rect.
void FillFrame(QPainter& painter, QRect rect, int width, QColor color)
{
    if (width <= 0)
        return;
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), width), color);
    painter.fillRect(QRect(rect.left(), rect.bottom() - width + 1, rect.width(), width), color);
    painter.fillRect(QRect(rect.left(), rect.top(), width, rect.height()), color);
    painter.fillRect(QRect(rect.right() - width + 1, rect.top(), width, rect.height()), color);
}

}  // namespace

QFont MakeFont(const TFont& font)
{
    QFont made(QString::fromLatin1(kFontFamily));
    made.setPixelSize(std::max(1, font.height));
    made.setBold(font.bold);
    made.setKerning(false);  // GDI draws Arial without pair kerning
    return made;
}

QPoint FormOrigin(const TControl& base, const TControl& form)
{
    if (&form == &base)
        return {};
    return {form.Left(), form.Top()};
}

void FormPainter::PaintStack(std::span<const TControl* const> forms)
{
    if (forms.empty())
        return;
    for (const TControl* form : forms)
        PaintForm(*form, FormOrigin(*forms.front(), *form));
}

void FormPainter::PaintForm(const TControl& form, QPoint origin)
{
    if (!form.Visible())
        return;
    PaintControl(form, QRect(origin, QSize(form.Width(), form.Height())));
}

void FormPainter::PaintControl(const TControl& control, QRect bounds)
{
    if (control.Kind() == TControlKind::Label && control.auto_size) {
        // Sized to its text: the caption decides the label's extent, not the stored size.
        const QFontMetrics metrics(MakeFont(control.font));
        const QSize fitted(metrics.horizontalAdvance(ToQString(control.GetText())), metrics.height());
        // A right-aligned label keeps its right edge as it grows or shrinks.
        if (control.alignment == TAlignment::Right)
            bounds.setLeft(bounds.right() + 1 - fitted.width());
        bounds.setSize(fitted);
    }
    // A paint of part of the window draws only what lies in that part.
    if (painter_.hasClipping() && !painter_.clipBoundingRect().toAlignedRect().intersects(bounds))
        return;
    painter_.save();
    painter_.setClipRect(bounds, Qt::IntersectClip);
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
        const QRect child_bounds(bounds.left() + child->Left(), bounds.top() + child->Top(), child->Width(),
                                 child->Height());
        if (child_bounds.intersects(painter_.clipBoundingRect().toAlignedRect()))
            PaintControl(*child, child_bounds);
    }
    painter_.restore();
}

void FormPainter::PaintShape(const TControl& shape, QRect bounds)
{
    painter_.fillRect(bounds, ToQColor(shape.color));
    FillFrame(painter_, bounds, shape.border_width, ToQColor(shape.border_color));
}

void FormPainter::PaintPanel(const TControl& panel, QRect bounds)
{
    painter_.fillRect(bounds, ToQColor(panel.color));
    // A lowered bevel: shadow above and to the left, light below and to the right.
    for (int i = 0; i < panel.border_width; ++i) {
        const QRect ring = bounds.adjusted(i, i, -i, -i);
        painter_.fillRect(QRect(ring.left(), ring.top(), ring.width(), 1), kBevelShadow);
        painter_.fillRect(QRect(ring.left(), ring.top(), 1, ring.height()), kBevelShadow);
        painter_.fillRect(QRect(ring.left(), ring.bottom(), ring.width(), 1), kBevelHighlight);
        painter_.fillRect(QRect(ring.right(), ring.top(), 1, ring.height()), kBevelHighlight);
    }
}

void FormPainter::PaintLabel(const TControl& label, QRect bounds)
{
    const QString text = ToQString(label.GetText());
    const QFont font = MakeFont(label.font);
    if (!label.transparent)
        painter_.fillRect(bounds, ToQColor(label.color));
    painter_.setFont(font);
    painter_.setPen(ToQColor(label.font.color));
    const int flags = static_cast<int>(HorizontalAlignment(label.alignment) | Qt::AlignTop) |
                      (label.word_wrap ? Qt::TextWordWrap : 0);
    painter_.drawText(bounds, flags, text);
}

void FormPainter::PaintButton(const TControl& button, QRect bounds)
{
    const bool enabled = button.Enabled();
    const bool pressed = enabled && state_.pressed == &button;
    const QColor fill = ToQColor(!enabled ? button.disabled_color : pressed ? button.down_color : button.color);
    const QColor ink =
        ToQColor(!enabled ? button.disabled_font_color : pressed ? button.down_font_color : button.font.color);

    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(fill);
    painter_.drawRoundedRect(QRectF(bounds), kButtonRadius, kButtonRadius);
    painter_.restore();

    const QString caption = ToQString(button.GetText());
    const bool has_glyph = button.glyph != TGlyph::None;
    const int glyph = has_glyph ? kGlyphSize : 0;
    const int spacing = has_glyph && !caption.isEmpty() ? button.spacing : 0;
    const bool beside = button.layout == TButtonLayout::GlyphLeft || button.layout == TButtonLayout::GlyphRight;

    // The caption wraps at its words into the room the glyph leaves; a word longer than that
    // keeps its width and the group stays centred.
    const QFont font = MakeFont(button.font);
    const QFontMetrics metrics(font);
    const int room = std::max(1, bounds.width() - 2 * kButtonPadding - (beside ? glyph + spacing : 0));
    const QSize text = caption.isEmpty()
                           ? QSize()
                           : metrics.boundingRect(QRect(0, 0, room, 10000), Qt::AlignHCenter | Qt::TextWordWrap, caption)
                                 .size();

    // Glyph and caption form one group, centred; a margin instead fixes the glyph's distance from
    // the edge it stands by.
    QPoint glyph_at;
    QPoint text_at;
    if (beside) {
        const int group = glyph + spacing + text.width();
        const int start = button.margin < 0 ? (bounds.width() - group) / 2 : button.margin;
        const int glyph_left = button.layout == TButtonLayout::GlyphLeft ? start : bounds.width() - start - glyph;
        const int text_left =
            button.layout == TButtonLayout::GlyphLeft ? glyph_left + glyph + spacing : glyph_left - spacing - text.width();
        glyph_at = {glyph_left, (bounds.height() - glyph) / 2};
        text_at = {text_left, (bounds.height() - text.height()) / 2};
    } else {
        const int group = glyph + spacing + text.height();
        const int start = button.margin < 0 ? (bounds.height() - group) / 2 : button.margin;
        const int glyph_top = button.layout == TButtonLayout::GlyphTop ? start : bounds.height() - start - glyph;
        const int text_top =
            button.layout == TButtonLayout::GlyphTop ? glyph_top + glyph + spacing : glyph_top - spacing - text.height();
        glyph_at = {(bounds.width() - glyph) / 2, glyph_top};
        text_at = {(bounds.width() - text.width()) / 2, text_top};
    }
    if (has_glyph)
        DrawGlyph(painter_, button.glyph, bounds.topLeft() + glyph_at, ink, enabled);
    if (!caption.isEmpty()) {
        painter_.setFont(font);
        painter_.setPen(ink);
        painter_.drawText(QRect(bounds.topLeft() + text_at, text), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                          caption);
    }
}

QImage RenderStack(std::span<const TControl* const> forms, PaintState state)
{
    if (forms.empty())
        return {};
    const TControl& base = *forms.front();
    QImage image(std::max(1, base.Width()), std::max(1, base.Height()), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    FormPainter(painter, state).PaintStack(forms);
    return image;
}

}  // namespace host::qt
