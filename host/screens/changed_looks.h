#pragma once
// ChangedLooks: where a stack of forms looks different from when it was last painted. What every
// control shows (its look, text, state and place) is compared with what it showed then; the
// places of those that differ, before and after, are what a paint must draw again. A keystroke
// changes the display line alone, so its paint draws that line, not the whole window.
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "host/forms/controls.h"
#include "host/screens/canvas.h"

namespace host {

class ChangedLooks {
public:
    // What changed since the last call, in device pixels at `scale` (a pixel wider each way for
    // antialiased edges); nullopt when everything must be drawn (the first paint, another set of
    // controls, another scale). Takes the stack as painted from now on.
    std::optional<std::vector<Rect>> Since(std::span<const TControl* const> forms, const TControl* pressed,
                                           double scale);
    // The next paint draws everything (the pixels were lost, or never drawn).
    void Forget() { painted_.clear(); }

    // What one control showed.
    struct Shown {
        const TControl* control;
        std::string text;
        bool visible, enabled, pressed;
        Rect place;  // in the lowest form's layout pixels
        TLook look;
        friend bool operator==(const Shown&, const Shown&) = default;
    };

private:
    std::vector<Shown> painted_;
    double scale_ = 0;
};

}  // namespace host
