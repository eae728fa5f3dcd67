#include "host/screens/win32/form_buffer.h"

#include "host/screens/win32/gdi_canvas.h"
#include "host/screens/win32/gdi_objects.h"

namespace host::win32 {

namespace {

void CopyPixels(const Picture& from, const Picture& to)
{
    const HDC dc = to.Dc();
    SetGraphicsMode(dc, GM_ADVANCED);
    ModifyWorldTransform(dc, nullptr, MWT_IDENTITY);
    SelectClipRgn(dc, nullptr);
    BitBlt(dc, 0, 0, to.Width(), to.Height(), from.Dc(), 0, 0, SRCCOPY);
}

bool SameSize(const std::optional<Picture>& picture, int width, int height)
{
    return picture && picture->Width() == width && picture->Height() == height;
}

}  // namespace

const Picture& FormBuffer::UpdateForShow(const TControl& form, int width, int height, double scale,
                                         const TControl* pressed)
{
    if (SameSize(shown_, width, height) && SameSize(picture_, width, height)) {
        CopyPixels(*shown_, *picture_);
        changed_looks_ = shown_looks_;
    }
    return Update(form, width, height, scale, pressed);
}

void FormBuffer::KeepAsShown()
{
    if (!picture_)
        return;
    if (!SameSize(shown_, picture_->Width(), picture_->Height()))
        shown_.emplace(picture_->Width(), picture_->Height());
    CopyPixels(*picture_, *shown_);
    shown_looks_ = changed_looks_;
}

const Picture& FormBuffer::Update(const TControl& form, int width, int height, double scale, const TControl* pressed)
{
    const TControl* const forms[] = {&form};
    if (!SameSize(picture_, width, height)) {
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
