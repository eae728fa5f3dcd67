// tzc-first-call: times the first call of a fresh process, as a host makes it: the module is
// loaded, the dialog does not exist yet, the typical customer answers on the headless screen.
// Prints "load_us=N first_call_us=N loaded_rss_kib=N peak_rss_kib=N": the time to load the
// module and of the call, the resident size once the module is loaded and the peak after the
// call. Run it several times, each run a new process.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "tools/loaded_module.h"
#include "tzc04182.h"

namespace {

const char* kTypicalScript = "52998224725{Enter}MARIA DA SILVA{Enter}RUA DAS FLORES 100{Enter}";

// What the process holds in memory now, from /proc.
long ResidentKib()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

long PeakResidentKib()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double MicrosecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("TZC_SCREEN", "headless", 1);
    setenv("TZC_INPUT", kTypicalScript, 1);
    unsetenv("TZC_TRACE");

    const std::string path = argc > 1 ? argv[1] : tools::ModuleBesideProgram();
    const auto load_start = std::chrono::steady_clock::now();
    const tools::LoadedModule module(path);
    const double load_us = MicrosecondsSince(load_start);
    const long loaded_kib = ResidentKib();
    const auto call = module.Bind<decltype(&CriaInfAdicionalC)>("CriaInfAdicionalC");
    const auto make_string = module.Bind<decltype(&tzc_variant_string)>("tzc_variant_string");
    const auto make_array = module.Bind<decltype(&tzc_variant_array)>("tzc_variant_array");
    const auto element = module.Bind<decltype(&tzc_array_element)>("tzc_array_element");
    const auto to_utf8 = module.Bind<decltype(&tzc_variant_to_utf8)>("tzc_variant_to_utf8");
    const auto clear = module.Bind<decltype(&tzc_variant_clear)>("tzc_variant_clear");

    const char* typical[] = {"", "", "", "N", "N", "PDV", "", "S", "N", "N", "N", "N", "", "N", "N", "S", "N"};
    std::vector<tzc_variant> params;
    for (const char* value : typical)
        params.push_back(make_string(value));
    tzc_variant result = make_array(0, 7);

    char error[512] = "";
    const auto call_start = std::chrono::steady_clock::now();
    const int status = call(params.data(), 16, &result, error, sizeof error);
    const double call_us = MicrosecondsSince(call_start);

    char document[64] = "";
    to_utf8(element(&result, 0), document, sizeof document);
    for (tzc_variant& param : params)
        clear(&param);
    clear(&result);
    if (status != TZC_OK || std::strcmp(document, "52998224725") != 0) {
        std::fprintf(stderr, "error: the typical call failed: %s\n", status != TZC_OK ? error : document);
        return 1;
    }
    std::printf("load_us=%.0f first_call_us=%.0f loaded_rss_kib=%ld peak_rss_kib=%ld\n", load_us, call_us, loaded_kib,
                PeakResidentKib());
    return 0;
}
