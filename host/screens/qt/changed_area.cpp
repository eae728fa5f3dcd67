#include "host/screens/qt/changed_area.h"

#include <cmath>

#include "host/screens/qt/form_painter.h"

namespace host::qt {

namespace {

void Collect(const TControl& control, QPoint origin, const TControl* pressed, std::vector<ChangedArea::Look>& into)
{
    const QPoint at = origin + (control.Parent() != nullptr ? QPoint(control.Left(), control.Top()) : QPoint());
    into.push_back({&control, control.GetText(), control.Visible(), control.Enabled(), &control == pressed,
                    QRect(at, QSize(control.Width(), control.Height())), control.color, control.border_color,
                    control.border_width, control.transparent, control.word_wrap, control.auto_size,
                    control.alignment, control.font, control.down_color, control.down_font_color,
                    control.disabled_color, control.disabled_font_color, control.glyph, control.layout,
                    control.margin, control.spacing});
    for (const auto& child : control.Children())
        Collect(*child, at, pressed, into);
}

// Where a control may have drawn: its place, or its parent's for a label sized to its text.
QRect Reach(const std::vector<ChangedArea::Look>& looks, std::size_t index)
{
    const ChangedArea::Look& look = looks[index];
    if (!look.auto_size || look.control->Parent() == nullptr)
        return look.place;
    for (std::size_t i = index; i-- > 0;)
        if (looks[i].control == look.control->Parent())
            return looks[i].place;
    return look.place;
}

// Layout pixels to window pixels, a pixel wider each way for antialiased edges.
QRect Device(const QRect& layout, double scale)
{
    const int left = static_cast<int>(std::floor(layout.left() * scale)) - 1;
    const int top = static_cast<int>(std::floor(layout.top() * scale)) - 1;
    const int right = static_cast<int>(std::ceil((layout.right() + 1) * scale)) + 1;
    const int bottom = static_cast<int>(std::ceil((layout.bottom() + 1) * scale)) + 1;
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

}  // namespace

std::optional<QRegion> ChangedArea::Since(std::span<const TControl* const> forms, const TControl* pressed, double scale)
{
    std::vector<Look> now;
    now.reserve(painted_.size());
    for (const TControl* form : forms)
        Collect(*form, FormOrigin(*forms.front(), *form), pressed, now);
    const bool comparable = !painted_.empty() && painted_.size() == now.size() && scale_ == scale;
    std::optional<QRegion> changed = comparable ? std::optional<QRegion>(QRegion()) : std::nullopt;
    for (std::size_t i = 0; changed && i < now.size(); ++i) {
        if (now[i] == painted_[i])
            continue;
        if (now[i].control != painted_[i].control)
            changed.reset();
        else
            *changed += QRegion(Device(Reach(painted_, i), scale)) + QRegion(Device(Reach(now, i), scale));
    }
    painted_ = std::move(now);
    scale_ = scale;
    return changed;
}

}  // namespace host::qt
