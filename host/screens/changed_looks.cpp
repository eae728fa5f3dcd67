#include "host/screens/changed_looks.h"

#include <cmath>

#include "host/screens/form_painter.h"

namespace host {

namespace {

void Collect(const TControl& control, Point origin, const TControl* pressed, std::vector<ChangedLooks::Shown>& into)
{
    const Point at = control.Parent() != nullptr ? Point{origin.x + control.Left(), origin.y + control.Top()} : origin;
    into.push_back({&control, control.GetText(), control.Visible(), control.Enabled(), &control == pressed,
                    Rect{at.x, at.y, control.Width(), control.Height()}, control.Look()});
    for (const auto& child : control.Children())
        Collect(*child, at, pressed, into);
}

// Where a control may have drawn: its place, or its parent's for a label sized to its text.
Rect Reach(const std::vector<ChangedLooks::Shown>& shown, std::size_t index)
{
    const ChangedLooks::Shown& one = shown[index];
    if (!one.look.auto_size || one.control->Parent() == nullptr)
        return one.place;
    for (std::size_t i = index; i-- > 0;)
        if (shown[i].control == one.control->Parent())
            return shown[i].place;
    return one.place;
}

// Layout pixels to device pixels, a pixel wider each way for antialiased edges.
Rect Device(const Rect& layout, double scale)
{
    const int left = static_cast<int>(std::floor(layout.left * scale)) - 1;
    const int top = static_cast<int>(std::floor(layout.top * scale)) - 1;
    const int right = static_cast<int>(std::ceil(layout.Right() * scale)) + 1;
    const int bottom = static_cast<int>(std::ceil(layout.Bottom() * scale)) + 1;
    return {left, top, right - left, bottom - top};
}

}  // namespace

std::optional<std::vector<Rect>> ChangedLooks::Since(std::span<const TControl* const> forms, const TControl* pressed,
                                                     double scale)
{
    std::vector<Shown> now;
    now.reserve(painted_.size());
    for (const TControl* form : forms)
        Collect(*form, FormOrigin(*forms.front(), *form), pressed, now);
    const bool comparable = !painted_.empty() && painted_.size() == now.size() && scale_ == scale;
    std::optional<std::vector<Rect>> changed;
    if (comparable)
        changed.emplace();
    for (std::size_t i = 0; changed && i < now.size(); ++i) {
        if (now[i] == painted_[i])
            continue;
        if (now[i].control != painted_[i].control) {
            changed.reset();
            break;
        }
        changed->push_back(Device(Reach(painted_, i), scale));
        changed->push_back(Device(Reach(now, i), scale));
    }
    painted_ = std::move(now);
    scale_ = scale;
    return changed;
}

}  // namespace host
