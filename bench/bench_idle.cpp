// The idle cost: the CPU time of a process whose dialog waits 5 s of real time for the customer
// before the customer declines, once with the waits sleeping and once with the same waits
// spinning (the reference), side by side in one run; on a real-time screen that shows nothing,
// and on Qt's offscreen platform, where the spinning waits also turn Qt's event loop.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>

#include "bench_support.h"
#include "host/forms/application.h"
#ifdef TZC_HAVE_QT
#include "host/screens/qt/qt_screen.h"
#endif
#include "real_time_screen.h"
#include "spinning_screen.h"

namespace {

constexpr const char* kIdleScript = "{wait 5s}{Escape}";

double ProcessCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// A new screen whose customer plays this script.
using ScreenMaker = std::function<std::unique_ptr<host::Screen>(const char* script)>;

struct WaitCost {
    double cpu_seconds;
    std::size_t turns;
};

WaitCost CostOfIdleCall(const ScreenMaker& make, bench::IdleWaits idle, const std::vector<host::Variant>& params)
{
    auto screen = std::make_unique<bench::SpinningScreen>(make(kIdleScript), idle);
    const bench::SpinningScreen& measured = *screen;
    host::Application().SetScreen(std::move(screen));
    const double start = ProcessCpuSeconds();
    bench::Call(params);
    return {ProcessCpuSeconds() - start, measured.Turns()};
}

void SleepingAgainstSpinning(benchmark::State& state, const ScreenMaker& make)
{
    const std::vector<host::Variant> params = bench::TypicalParams();
    WaitCost sleeping{}, spinning{};
    try {
        // The dialog is built first, so that both measured calls only wait.
        host::Application().SetScreen(make("{Escape}"));
        bench::Call(params);
        for (auto _ : state) {
            sleeping = CostOfIdleCall(make, bench::IdleWaits::Sleep, params);
            spinning = CostOfIdleCall(make, bench::IdleWaits::Spin, params);
        }
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
        return;
    }
    state.counters["sleeping_cpu_ms"] = sleeping.cpu_seconds * 1e3;
    state.counters["spinning_cpu_ms"] = spinning.cpu_seconds * 1e3;
    state.counters["ratio_pct"] = 100.0 * sleeping.cpu_seconds / spinning.cpu_seconds;
    state.counters["sleeping_loops"] = static_cast<double>(sleeping.turns);
    state.counters["spinning_loops"] = static_cast<double>(spinning.turns);
}

void IdleWait5s(benchmark::State& state)
{
    SleepingAgainstSpinning(state, [](const char* script) { return std::make_unique<bench::RealTimeScreen>(script); });
}
BENCHMARK(IdleWait5s)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

#ifdef TZC_HAVE_QT
void IdleWait5sOffscreen(benchmark::State& state)
{
    SleepingAgainstSpinning(state, [](const char* script) {
        // The Qt screen's scripted customer comes from TZC_INPUT.
        setenv("TZC_INPUT", script, 1);
        return host::MakeQtScreen(true);
    });
}
BENCHMARK(IdleWait5sOffscreen)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
#endif

}  // namespace
