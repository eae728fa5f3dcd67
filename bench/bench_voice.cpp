// The voice's figures. Key to echo: a character reaches the dialog's key handler at the name step
// and eSpeak NG makes the audio of its echo (written to a file here, as this machine may have no
// audio device; a device plays the same samples), timed to the engine being handed the echo and
// to its audio being made. Idle: a dialog waiting 5 s of real time with eSpeak NG on, sleeping
// against the same wait spinning, in one run. eSpeak NG cannot play in a process that has written
// files: ./benchmark runs each case in its own process (--benchmark_filter).
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <thread>

#include "bench_support.h"
#include "entry/entry.h"
#include "host/forms/application.h"
#include "host/screens/headless_screen.h"
#include "host/voice/speech_queue.h"
#include "host/voice/system_voice.h"
#include "real_time_screen.h"
#include "spinning_screen.h"

namespace {

using Clock = std::chrono::steady_clock;

struct EchoTimes {
    std::atomic<Clock::rep> handed{0};
    std::atomic<Clock::rep> made{0};
};

// The WAV engine, noting when it is handed an utterance and when its audio is made.
class TimedSpeaker final : public host::Speaker {
public:
    TimedSpeaker(std::unique_ptr<host::Speaker> engine, EchoTimes& times) : engine_(std::move(engine)), times_(times) {}
    void Start(const std::string& text) override
    {
        times_.handed = Clock::now().time_since_epoch().count();
        engine_->Start(text);
        times_.made = Clock::now().time_since_epoch().count();
    }
    bool Speaking() override { return false; }
    void Stop() override {}

private:
    std::unique_ptr<host::Speaker> engine_;
    EchoTimes& times_;
};

void KeyToEcho(benchmark::State& state)
{
    const std::string dir = (std::filesystem::temp_directory_path() / "tzc-bench-voice").string();
    std::filesystem::create_directories(dir);
    EchoTimes times;
    host::Application().SetScreen(std::make_unique<host::HeadlessScreen>());
    try {
        const host::SpeakerFactory wav = host::WavFileSpeaker(dir, {});
        host::SetVoice(std::make_unique<host::QueuedVoice>(
            [&] { return std::make_unique<TimedSpeaker>(wav(), times); }));
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
        return;
    }
    auto& voice = static_cast<host::QueuedVoice&>(*host::CurrentVoice());
    Cli_Tzc04182::TfrmCNPJCPF& dialog = Cli_Tzc04182::Dialog();
    Cli_Tzc04182::nPasso = Cli_Tzc04182::PassoNome;
    double handed_total = 0;
    for (auto _ : state) {
        dialog.sNome.clear();
        times.made = 0;
        char key = 'A';
        const Clock::time_point pressed = Clock::now();
        dialog.FormKeyPress(nullptr, key);
        voice.WaitUntilQuiet();
        const auto since = [&](Clock::rep at) {
            return std::chrono::duration<double>(Clock::duration(at) - pressed.time_since_epoch()).count();
        };
        state.SetIterationTime(since(times.made));
        handed_total += since(times.handed);
    }
    state.counters["handed_us"] = 1e6 * handed_total / static_cast<double>(state.iterations());
    Cli_Tzc04182::nPasso = Cli_Tzc04182::PassoNenhum;
    host::SetVoice(nullptr);
    std::filesystem::remove_all(dir);
}
BENCHMARK(KeyToEcho)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

double ProcessCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double CpuOfIdleCall(bench::IdleWaits idle, const std::vector<host::Variant>& params)
{
    host::Application().SetScreen(
        std::make_unique<bench::SpinningScreen>(std::make_unique<bench::RealTimeScreen>("{wait 5s}{Escape}"), idle));
    const double start = ProcessCpuSeconds();
    bench::Call(params);
    return ProcessCpuSeconds() - start;
}

void IdleWait5sWithVoice(benchmark::State& state)
{
    // The system's voice, as a till turns it on; its prompt is said at the start of each wait.
    setenv("TZC_VOICE", "1", 1);
    const std::vector<host::Variant> params = bench::TypicalParams();
    double sleeping = 0, spinning = 0;
    try {
        // The engine can be had (each call makes its voice afresh and ends it when it returns).
        host::SystemSpeaker({})();
        host::Application().SetScreen(std::make_unique<bench::RealTimeScreen>("{Escape}"));
        bench::Call(params);
        for (auto _ : state) {
            sleeping = CpuOfIdleCall(bench::IdleWaits::Sleep, params);
            spinning = CpuOfIdleCall(bench::IdleWaits::Spin, params);
        }
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
    unsetenv("TZC_VOICE");
    host::SetVoice(nullptr);
    state.counters["sleeping_cpu_ms"] = sleeping * 1e3;
    state.counters["spinning_cpu_ms"] = spinning * 1e3;
    state.counters["ratio_pct"] = spinning > 0 ? 100.0 * sleeping / spinning : 0;
}
BENCHMARK(IdleWait5sWithVoice)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace
