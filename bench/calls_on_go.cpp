// tzc-calls-on-go: a host that loads the module (by path, so that two builds can be measured
// side by side) and calls it when asked, for a measuring program on the other end of its pipes.
// Prints "ready" once loaded, then reads commands, one a line:
//   call       one call with the typical parameters; prints "done SLOT0" or "error TEXT"
//   calls N    N calls one after the other (a TZC_INPUT script answers them); prints "done"
//   rss        prints "rss KIB", what the process holds in memory now
//   cpu        prints "cpu SECONDS", the processor time the process has used
//   quit       unloads the module and ends
// Built for Linux and for Windows (run under Wine).
#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>

#include <fstream>
#endif

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "tools/loaded_module.h"
#include "tzc04182.h"

namespace {

long ResidentKib()
{
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return -1;
    return static_cast<long>(counters.WorkingSetSize / 1024);
#else
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
#endif
}

double CpuSeconds()
{
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto seconds = [](FILETIME time) {
        return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](timeval time) { return static_cast<double>(time.tv_sec) + time.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
#endif
}

class Caller {
public:
    explicit Caller(const tools::LoadedModule& module)
        : call_(module.Bind<decltype(&CriaInfAdicionalC)>("CriaInfAdicionalC")),
          make_string_(module.Bind<decltype(&tzc_variant_string)>("tzc_variant_string")),
          make_array_(module.Bind<decltype(&tzc_variant_array)>("tzc_variant_array")),
          element_(module.Bind<decltype(&tzc_array_element)>("tzc_array_element")),
          to_utf8_(module.Bind<decltype(&tzc_variant_to_utf8)>("tzc_variant_to_utf8")),
          clear_(module.Bind<decltype(&tzc_variant_clear)>("tzc_variant_clear"))
    {
    }

    // "done SLOT0" or "error TEXT".
    std::string Call() const
    {
        const char* typical[] = {"", "", "", "N", "N", "PDV", "", "S", "N", "N", "N", "N", "", "N", "N", "S", "N"};
        std::vector<tzc_variant> params;
        for (const char* value : typical)
            params.push_back(make_string_(value));
        tzc_variant result = make_array_(0, 7);
        char error[512] = "";
        std::string outcome;
        if (call_(params.data(), 16, &result, error, sizeof error) == TZC_OK) {
            char slot[64] = "";
            to_utf8_(element_(&result, 0), slot, sizeof slot);
            outcome = std::string("done ") + slot;
        } else {
            outcome = std::string("error ") + tools::OneLine(error);
        }
        for (tzc_variant& param : params)
            clear_(&param);
        clear_(&result);
        return outcome;
    }

private:
    decltype(&CriaInfAdicionalC) call_;
    decltype(&tzc_variant_string) make_string_;
    decltype(&tzc_variant_array) make_array_;
    decltype(&tzc_array_element) element_;
    decltype(&tzc_variant_to_utf8) to_utf8_;
    decltype(&tzc_variant_clear) clear_;
};

}  // namespace

int main(int argc, char** argv)
{
    const tools::LoadedModule module(argc > 1 ? argv[1] : tools::ModuleBesideProgram());
    const Caller caller(module);
    std::cout << "ready" << std::endl;
    for (std::string line; std::getline(std::cin, line) && line.rfind("quit", 0) != 0;) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line == "call") {
            std::cout << caller.Call() << std::endl;
        } else if (line.rfind("calls ", 0) == 0) {
            std::string last = "done";
            for (long i = std::strtol(line.c_str() + 6, nullptr, 10); i > 0 && last.rfind("done", 0) == 0; --i)
                last = caller.Call();
            std::cout << (last.rfind("done", 0) == 0 ? "done" : last) << std::endl;
        } else if (line == "rss") {
            std::cout << "rss " << ResidentKib() << std::endl;
        } else if (line == "cpu") {
            std::cout << "cpu " << CpuSeconds() << std::endl;
        } else {
            std::cout << "error unknown command " << line << std::endl;
        }
    }
    return 0;
}
