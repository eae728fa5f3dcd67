// The idle cost of the Win32 screen: the process CPU time of a dialog that waits 5 s of real time
// for a customer who does nothing, sleeping in MsgWaitForMultipleObjectsEx against the same wait
// spinning. Run under Wine by ./benchmark; exits 1 when sleeping costs 1 % of spinning or more.
#include "host/screens/win32/windows_api.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "entry/entry.h"
#include "host/forms/application.h"
#include "host/screens/script.h"
#include "host/screens/win32/win32_screen.h"
#include "host/screens/win32/window_screen.h"
#include "host/variant/variant.h"
#include "spinning_screen.h"

namespace {

double ProcessCpuSeconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](FILETIME time) {
        return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

// CPU seconds of one call whose customer waits `idle` and then declines.
double IdleCall(bench::IdleWaits waits, const char* idle)
{
    auto screen = std::make_unique<host::win32::WindowScreen>(!host::Win32DesktopPresent());
    screen->SetCustomer(std::make_unique<host::win32::ScriptedCustomer>(
        host::ParseScript(std::string("{wait ") + idle + "}{Escape}"), true));
    host::Application().SetScreen(std::make_unique<bench::SpinningScreen>(std::move(screen), waits));
    const std::vector<std::string> values = {"", "", "", "N", "N", "PDV", "", "S", "N", "N", "N", "N", "", "N", "N", "S", "N"};
    std::vector<Cli_Tzc04182::Variant> params;
    for (const std::string& value : values)
        params.emplace_back(std::string_view(value));
    Cli_Tzc04182::Variant answers = Cli_Tzc04182::Variant::Array(0, 7);
    const double before = ProcessCpuSeconds();
    Cli_Tzc04182::CriaInfAdicional(params.data(), 16, answers);
    return ProcessCpuSeconds() - before;
}

}  // namespace

int main()
{
    IdleCall(bench::IdleWaits::Sleep, "0s");  // the first call builds the dialog and its windows
    // What showing, painting and closing cost is the same with or without the wait: take it away.
    const double shown = IdleCall(bench::IdleWaits::Sleep, "0s");
    const double sleeping_call = IdleCall(bench::IdleWaits::Sleep, "5s");
    const double spinning_call = IdleCall(bench::IdleWaits::Spin, "5s");
    const double sleeping = std::max(0.0, sleeping_call - shown);
    const double spinning = std::max(0.0, spinning_call - shown);
    const double share = spinning > 0 ? 100 * sleeping / spinning : 100;
    std::printf("win32 idle wait, 5 s (%s): sleeping %.3f s CPU, spinning %.3f s CPU: %.2f %% of spinning "
                "(target < 1 %%); whole calls %.3f, %.3f and %.3f s without the wait\n",
                host::Win32DesktopPresent() ? "window" : "offscreen", sleeping, spinning, share, sleeping_call,
                spinning_call, shown);
    return share < 1.0 ? 0 : 1;
}
