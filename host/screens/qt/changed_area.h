#pragma once
// ChangedArea: where a stack of forms looks different from when it was last painted. Each
// control's look (everything the painter reads, and its place) is compared with the one painted;
// the places of those that differ, before and after, are what a paint must draw again. A keystroke
// changes the display line alone, so its paint draws and sends that line, not the whole window.
#include <QRegion>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "host/forms/controls.h"

namespace host::qt {

class ChangedArea {
public:
    // What changed since the last call, in window pixels at `scale`; nullopt when everything must
    // be drawn (the first paint, another set of controls). Takes the stack as painted from now on.
    std::optional<QRegion> Since(std::span<const TControl* const> forms, const TControl* pressed, double scale);
    // The next paint draws everything (the window's pixels were lost or never drawn).
    void Forget() { painted_.clear(); }

    struct Look {
        const TControl* control;
        std::string text;
        bool visible, enabled, pressed;
        QRect place;  // in the window's layout pixels
        TColor color, border_color;
        int border_width;
        bool transparent, word_wrap, auto_size;
        TAlignment alignment;
        TFont font;
        TColor down_color, down_font_color, disabled_color, disabled_font_color;
        TGlyph glyph;
        TButtonLayout layout;
        int margin, spacing;
        auto Tied() const
        {
            return std::tie(control, text, visible, enabled, pressed, place, color, border_color, border_width,
                            transparent, word_wrap, auto_size, alignment, font, down_color, down_font_color,
                            disabled_color, disabled_font_color, glyph, layout, margin, spacing);
        }
        friend bool operator==(const Look& a, const Look& b) { return a.Tied() == b.Tied(); }
    };

private:
    std::vector<Look> painted_;
    double scale_ = 0;
};

}  // namespace host::qt
