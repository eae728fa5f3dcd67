#include "host/screens/win32/carried_failure.h"

#include <utility>

namespace host::win32 {

namespace {

// Window procedures run on the thread that made the windows: one slot per thread.
thread_local std::exception_ptr carried;

}  // namespace

void CarryCurrentException() noexcept
{
    if (!carried)
        carried = std::current_exception();
}

void RethrowCarried()
{
    if (carried)
        std::rethrow_exception(std::exchange(carried, nullptr));
}

}  // namespace host::win32
