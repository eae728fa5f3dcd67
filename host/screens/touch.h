#pragma once
// What every screen does alike with a touch: which control of the form on top is under a point,
// and which control a script's touch names.
#include <string>

#include "host/forms/controls.h"

namespace host {

// The topmost showing control under the point (x, y), in control's own coordinates, searching its
// children; nullptr when none is.
TControl* TopmostControlAt(TControl& control, int x, int y);

// The control of the active form that a script's [name] touches: it must be there and showing,
// or the script is wrong (EScriptError).
TControl& ControlToTouch(const std::string& name);

}  // namespace host
