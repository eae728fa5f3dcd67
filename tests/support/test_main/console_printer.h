#pragma once
// GoogleTest's own result printer also hands every failure and skip to OutputDebugStringA on
// Windows, which raises a structured exception. A 32-bit program under Debian 12's own i386
// user-mode emulator (QEMU 7.2) dies unwinding one while a second thread lives, so a failing test
// would show as a crash there. This printer writes what GoogleTest's does, to the console only.
namespace testing_support {

// Replaces GoogleTest's default result printer with the console one. Call after InitGoogleTest.
void UseConsolePrinter();

}  // namespace testing_support
