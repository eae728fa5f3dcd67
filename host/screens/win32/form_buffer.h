#pragma once
// FormBuffer: a form's window drawn in memory, kept from one paint to the next. Each paint
// compares what every control shows with what it showed at the last one and draws again only the
// parts that differ (a keystroke changes the display line alone), so a paint costs what changed,
// not the whole form. The pixels are those a whole paint would give.
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "host/forms/controls.h"
#include "host/screens/win32/picture.h"

namespace host::win32 {

class FormBuffer {
public:
    // The form as it shows now, `width` x `height` device pixels at `scale`, `pressed` held.
    // GDI+ must be started (GdiplusSession).
    const Picture& Update(const TControl& form, int width, int height, double scale, const TControl* pressed);

    // What one control shows, every property the painter reads, with its place on the form.
    struct Look {
        const TControl* control;
        std::string text;
        bool visible, enabled, pressed;
        RECT on_form;  // in layout pixels
        TColor color, border_color;
        int border_width;
        bool transparent, word_wrap, auto_size;
        TAlignment alignment;
        TFont font;
        TColor down_color, down_font_color, disabled_color, disabled_font_color;
        TGlyph glyph;
        TButtonLayout layout;
        int margin, spacing;
        friend bool operator==(const Look& a, const Look& b)
        {
            const auto place = [](const RECT& r) { return std::tie(r.left, r.top, r.right, r.bottom); };
            return place(a.on_form) == place(b.on_form) &&
                   std::tie(a.control, a.text, a.visible, a.enabled, a.pressed, a.color, a.border_color, a.border_width,
                            a.transparent, a.word_wrap, a.auto_size, a.alignment, a.font, a.down_color,
                            a.down_font_color, a.disabled_color, a.disabled_font_color, a.glyph, a.layout, a.margin,
                            a.spacing) ==
                       std::tie(b.control, b.text, b.visible, b.enabled, b.pressed, b.color, b.border_color,
                                b.border_width, b.transparent, b.word_wrap, b.auto_size, b.alignment, b.font,
                                b.down_color, b.down_font_color, b.disabled_color, b.disabled_font_color, b.glyph,
                                b.layout, b.margin, b.spacing);
        }
    };

private:
    std::optional<Picture> picture_;
    double scale_ = 0;
    std::vector<Look> painted_;
};

}  // namespace host::win32
