#include "host/screens/qt/font_warm_up.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

namespace host::qt {

FontWarmUp::FontWarmUp()
{
    try {
        reader_ = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        // No thread to spare: Qt reads the configuration itself, as it always could.
    }
}

FontWarmUp::~FontWarmUp()
{
    if (reader_.joinable())
        reader_.join();
}

}  // namespace host::qt
