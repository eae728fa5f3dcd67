#pragma once
// ButtonPress: a touch or left click held on a button, from its press to its release, as every
// window screen tracks it. The button shows its pressed colours while the pointer is held over
// it; released over it, it is clicked (the screen posts the click to its form). Each screen finds
// the control under its pointer; this says what a press does with it.
#include "host/forms/controls.h"

namespace host {

class ButtonPress {
public:
    // Pressed over `under` (nullptr: nothing); only an enabled button is held.
    void Begin(TControl* under);
    // The pointer is over `under` now.
    void Move(const TControl* under);
    // Released over `under`: the control to click, if the press ends where it began and that
    // control still shows and takes input; else nullptr.
    TControl* End(const TControl* under);
    // Ended without a click (the pointer taken away, the form gone).
    void Cancel();

    bool Active() const { return pressed_ != nullptr; }
    // The control drawn pressed: held, with the pointer over it; or nullptr.
    const TControl* Held() const { return held_inside_ ? pressed_ : nullptr; }

private:
    TControl* pressed_ = nullptr;
    bool held_inside_ = false;
};

}  // namespace host
