#pragma once
// The Qt screen: a real window (or Qt's offscreen platform, playing the scripted customer and
// saving pictures). Only in builds with Qt (TZC_HAVE_QT).
#include <memory>

#include "host/forms/screen.h"

namespace host {

std::unique_ptr<Screen> MakeQtScreen(bool offscreen);

}  // namespace host
