#pragma once
// The Qt screen: a real window (or Qt's offscreen platform, playing the scripted customer and
// saving pictures). Builds without Qt report that they have none.
#include <memory>

#include "host/screen.h"

namespace host {

bool HasQtScreen();
std::unique_ptr<Screen> MakeQtScreen(bool offscreen);

}  // namespace host
