// The idle cost: the CPU time of a process whose dialog waits 5 s of real time for the customer
// before the customer declines, once with the waits sleeping and once with the same waits
// spinning (the reference), side by side in one run.
#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>

#include "bench_support.h"
#include "host/application.h"
#include "real_time_screen.h"

namespace {

constexpr const char* kIdleScript = "{wait 5s}{Escape}";

double ProcessCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

struct WaitCost {
    double cpu_seconds;
    std::size_t pumps;
};

WaitCost CostOfIdleCall(bench::IdleWaits idle, const std::vector<host::Variant>& params)
{
    auto screen = std::make_unique<bench::RealTimeScreen>(kIdleScript, idle);
    const bench::RealTimeScreen& playing = *screen;
    host::Application().SetScreen(std::move(screen));
    const double start = ProcessCpuSeconds();
    bench::Call(params);
    return {ProcessCpuSeconds() - start, playing.Pumps()};
}

void IdleWait5s(benchmark::State& state)
{
    const std::vector<host::Variant> params = bench::TypicalParams();
    // The dialog is built first, so that both measured calls only wait.
    host::Application().SetScreen(std::make_unique<bench::RealTimeScreen>("{Escape}", bench::IdleWaits::Sleep));
    bench::Call(params);

    WaitCost sleeping{}, spinning{};
    for (auto _ : state) {
        sleeping = CostOfIdleCall(bench::IdleWaits::Sleep, params);
        spinning = CostOfIdleCall(bench::IdleWaits::Spin, params);
    }
    state.counters["sleeping_cpu_ms"] = sleeping.cpu_seconds * 1e3;
    state.counters["spinning_cpu_ms"] = spinning.cpu_seconds * 1e3;
    state.counters["ratio_pct"] = 100.0 * sleeping.cpu_seconds / spinning.cpu_seconds;
    state.counters["sleeping_loops"] = static_cast<double>(sleeping.pumps);
    state.counters["spinning_loops"] = static_cast<double>(spinning.pumps);
}
BENCHMARK(IdleWait5s)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace
