#pragma once
// An exception thrown by a handler that a window procedure ran is carried past the system's
// frames (DispatchMessage, SendMessage), which no C++ exception may cross, and thrown again once
// they have returned.
#include <exception>

namespace host::win32 {

// Keeps the exception being handled; the first one kept wins until it is thrown again.
void CarryCurrentException() noexcept;
// Throws what was kept, if anything.
void RethrowCarried();

}  // namespace host::win32
