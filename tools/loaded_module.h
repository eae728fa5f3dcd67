#pragma once
// What the programs that call the module as a host share: loading it by path and binding its
// entries by name, and writing a slot on one line. Header-only: they link nothing of the module.
#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/text/one_line.h"

namespace tools {

// The module beside this program: lib/libtzc04182.so next to its bin/ on Linux (a build tree or
// an install prefix), else its SONAME from the loader's path (a system package puts it in the
// multiarch folder); tzc04182.dll in the same folder on Windows.
inline std::string ModuleBesideProgram()
{
#ifdef _WIN32
    char self[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
    if (length == 0 || length >= sizeof self)
        return "tzc04182.dll";
    const std::string path(self, length);
    return path.substr(0, path.find_last_of("\\/") + 1) + "tzc04182.dll";
#else
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return "libtzc04182.so.1";
    std::string dir(self, static_cast<std::size_t>(length));
    dir = dir.substr(0, dir.find_last_of('/'));
    const std::string beside = dir.substr(0, dir.find_last_of('/')) + "/lib/libtzc04182.so";
    return access(beside.c_str(), F_OK) == 0 ? beside : "libtzc04182.so.1";
#endif
}

// The loaded module; unloaded when destroyed. A module that cannot be loaded, or lacks an entry,
// ends the program with a message: these programs have nothing else to do.
class LoadedModule {
public:
    explicit LoadedModule(const std::string& path)
    {
#ifdef _WIN32
        handle_ = LoadLibraryA(path.c_str());
        if (handle_ == nullptr)
            Fail("cannot load " + path + ": error " + std::to_string(GetLastError()));
#else
        handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle_ == nullptr)
            Fail("cannot load " + path + ": " + dlerror());
#endif
    }
    ~LoadedModule()
    {
#ifdef _WIN32
        FreeLibrary(handle_);
#else
        dlclose(handle_);
#endif
    }
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    template <typename Function>
    Function Bind(const char* name) const
    {
#ifdef _WIN32
        auto function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(handle_, name)));
#else
        auto function = reinterpret_cast<Function>(dlsym(handle_, name));
#endif
        if (function == nullptr)
            Fail(std::string("the module has no ") + name);
        return function;
    }

private:
    [[noreturn]] static void Fail(const std::string& what)
    {
        std::fprintf(stderr, "error: %s\n", what.c_str());
        std::exit(1);
    }

#ifdef _WIN32
    HMODULE handle_ = nullptr;
#else
    void* handle_ = nullptr;
#endif
};

using host::OneLine;

}  // namespace tools
