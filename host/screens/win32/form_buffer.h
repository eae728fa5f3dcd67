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
    // The same for a show. A call's first picture is mostly the last call's first, not its end:
    // it is drawn from the last show's picture, which KeepAsShown keeps (once the window shows it:
    // the copy costs the show nothing).
    const Picture& UpdateForShow(const TControl& form, int width, int height, double scale, const TControl* pressed);
    void KeepAsShown();

private:
    std::optional<Picture> picture_;
    ChangedLooks changed_looks_;
    std::optional<Picture> shown_;  // as the last show drew it
    ChangedLooks shown_looks_;
};

}  // namespace host::win32
