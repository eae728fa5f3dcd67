#include "host/screens/win32/form_buffer.h"

#include <cmath>

#include "host/screens/win32/form_painter.h"
#include "host/screens/win32/gdi_objects.h"

namespace host::win32 {

namespace {

void Collect(const TControl& control, POINT origin, const TControl* pressed, std::vector<FormBuffer::Look>& into)
{
    const POINT at{origin.x + (control.Parent() != nullptr ? control.Left() : 0),
                   origin.y + (control.Parent() != nullptr ? control.Top() : 0)};
    into.push_back({&control, control.GetText(), control.Visible(), control.Enabled(), &control == pressed,
                    RECT{at.x, at.y, at.x + control.Width(), at.y + control.Height()}, control.color,
                    control.border_color, control.border_width, control.transparent, control.word_wrap,
                    control.auto_size, control.alignment, control.font, control.down_color, control.down_font_color,
                    control.disabled_color, control.disabled_font_color, control.glyph, control.layout, control.margin,
                    control.spacing});
    for (const auto& child : control.Children())
        Collect(*child, at, pressed, into);
}

// Where a control may have drawn: its own place, or its parent's for a label sized to its text.
RECT Reach(const std::vector<FormBuffer::Look>& looks, std::size_t index)
{
    const FormBuffer::Look& look = looks[index];
    if (!look.auto_size || look.control->Parent() == nullptr)
        return look.on_form;
    for (std::size_t i = index; i-- > 0;)
        if (looks[i].control == look.control->Parent())
            return looks[i].on_form;
    return look.on_form;
}

// A rectangle of layout pixels in device pixels, a pixel wider each way for antialiased edges.
RECT Device(const RECT& layout, double scale)
{
    return RECT{static_cast<LONG>(std::floor(layout.left * scale)) - 1, static_cast<LONG>(std::floor(layout.top * scale)) - 1,
                static_cast<LONG>(std::ceil(layout.right * scale)) + 1,
                static_cast<LONG>(std::ceil(layout.bottom * scale)) + 1};
}

}  // namespace

const Picture& FormBuffer::Update(const TControl& form, int width, int height, double scale, const TControl* pressed)
{
    std::vector<Look> now;
    now.reserve(painted_.size());
    Collect(form, POINT{0, 0}, pressed, now);

    const bool same_frame = picture_ && picture_->Width() == width && picture_->Height() == height && scale_ == scale &&
                            painted_.size() == now.size();
    GdiObject<HRGN> changed;
    bool whole = !same_frame;
    for (std::size_t i = 0; i < now.size() && !whole; ++i) {
        if (now[i] == painted_[i])
            continue;
        if (now[i].control != painted_[i].control) {
            whole = true;
            break;
        }
        for (const RECT& layout : {Reach(painted_, i), Reach(now, i)}) {
            const RECT device = Device(layout, scale);
            GdiObject<HRGN> part(CreateRectRgnIndirect(&device));
            if (!changed)
                changed = std::move(part);
            else
                CombineRgn(changed.get(), changed.get(), part.get(), RGN_OR);
        }
    }
    if (!same_frame)
        picture_.emplace(width, height);
    if (whole || changed) {
        const HDC dc = picture_->Dc();
        // The painter leaves its scale on the context; the region and the fill are in device pixels.
        SetGraphicsMode(dc, GM_ADVANCED);
        ModifyWorldTransform(dc, nullptr, MWT_IDENTITY);
        SelectClipRgn(dc, whole ? nullptr : changed.get());
        const RECT all{0, 0, width, height};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        try {
            FormPainter(*picture_, scale, {pressed}).PaintForm(form, POINT{0, 0});
        } catch (...) {
            // Half a picture is never kept: the next paint draws everything.
            picture_.reset();
            painted_.clear();
            throw;
        }
        SelectClipRgn(dc, nullptr);
    }
    scale_ = scale;
    painted_ = std::move(now);
    return *picture_;
}

}  // namespace host::win32
