#include "host/screens/qt/font_warm_up.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

namespace host::qt {

FontWarmUp::FontWarmUp()
{
    try {
        reader_ = std::jthread([] { FcInit(); });
    } catch (const std::system_error&) {
        // No thread to spare: Qt reads the configuration itself, as it always could.
    }
}

}  // namespace host::qt
