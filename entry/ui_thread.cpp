#include "entry/ui_thread.h"

#include <stdexcept>

namespace Cli_Tzc04182 {

bool UiThread::Enter()
{
    const std::thread::id self = std::this_thread::get_id();
    std::thread::id owner{};
    if (owner_.compare_exchange_strong(owner, self))
        return true;
    if (owner == self)
        return false;
    throw std::logic_error(
        "CriaInfAdicional: called from another thread than the user-interface thread (the thread of the first "
        "call); the dialog lives on that one thread, nothing was done");
}

void UiThread::Release() noexcept { owner_.store(std::thread::id{}); }

}  // namespace Cli_Tzc04182
