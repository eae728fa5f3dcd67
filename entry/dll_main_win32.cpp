// The DLL's unload on Windows. The module links its own C++ runtime, whose exception-handling
// emergency pool (some 70 KB) is allocated at each load and never given back: without this, every
// FreeLibrary of a host that loads the module per sale would lose it.
#ifdef _WIN32
#include <windows.h>

namespace __gnu_cxx {
void __freeres() noexcept;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved)
{
    // Only for FreeLibrary (reserved null); at process exit nothing needs freeing.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr)
        __gnu_cxx::__freeres();
    return TRUE;
}
#endif
