#include "host/qt_screen.h"

#ifndef TZC_HAVE_QT
namespace host {

bool HasQtScreen() { return false; }

std::unique_ptr<Screen> MakeQtScreen(bool)
{
    throw std::runtime_error("this build of the module has no window screen (Qt 6 was not found)");
}

}  // namespace host
#endif
