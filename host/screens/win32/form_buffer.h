#pragma once
// FormBuffer: a form's window drawn in memory, kept from one paint to the next. Each paint draws
// again only the parts whose controls look different from the last paint (a keystroke changes the
// display line alone), so a paint costs what changed, not the whole form. The pixels are those a
// whole paint would give.
#include <optional>

#include "host/forms/controls.h"
#include "host/screens/changed_looks.h"
#include "host/screens/win32/picture.h"

namespace host::win32 {

class FormBuffer {
public:
    // The form as it shows now, `width` x `height` device pixels at `scale`, `pressed` held.
    // GDI+ must be started (GdiplusSession).
    const Picture& Update(const TControl& form, int width, int height, double scale, const TControl* pressed);

private:
    std::optional<Picture> picture_;
    ChangedLooks changed_looks_;
};

}  // namespace host::win32
