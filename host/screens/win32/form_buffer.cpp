#include "host/screens/win32/form_buffer.h"

#include "host/screens/win32/gdi_canvas.h"
#include "host/screens/win32/gdi_objects.h"

namespace host::win32 {

const Picture& FormBuffer::Update(const TControl& form, int width, int height, double scale, const TControl* pressed)
{
    const TControl* const forms[] = {&form};
    if (!picture_ || picture_->Width() != width || picture_->Height() != height) {
        picture_.emplace(width, height);
        changed_looks_.Forget();
    }
    const std::optional<std::vector<Rect>> changed = changed_looks_.Since(forms, pressed, scale);
    if (changed && changed->empty())
        return *picture_;
    GdiObject<HRGN> region;
    if (changed) {
        region.reset(CreateRectRgn(0, 0, 0, 0));
        for (const Rect& part : *changed) {
            const GdiObject<HRGN> one(CreateRectRgn(part.left, part.top, part.Right(), part.Bottom()));
            CombineRgn(region.get(), region.get(), one.get(), RGN_OR);
        }
    }
    const HDC dc = picture_->Dc();
    // The canvas leaves its scale on the context; the region and the fill are in device pixels.
    SetGraphicsMode(dc, GM_ADVANCED);
    ModifyWorldTransform(dc, nullptr, MWT_IDENTITY);
    SelectClipRgn(dc, region.get());
    const RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    try {
        PaintForm(*picture_, scale, form, pressed);
    } catch (...) {
        // Half a picture is never kept: the next paint draws everything.
        picture_.reset();
        changed_looks_.Forget();
        throw;
    }
    SelectClipRgn(dc, nullptr);
    return *picture_;
}

}  // namespace host::win32
