// Headless figures: one keystroke at each step, from the character event to the display line
// updated, and a whole typical call made again and again in one process.
//
// A keystroke comes two ways: an on-screen key sends its character to the dialog's window, and
// a physical key's character is queued by the screen and dispatched by the application.
#include <benchmark/benchmark.h>

#include <chrono>
#include <stdexcept>
#include <utility>

#include "bench_support.h"
#include "dialog/frmCNPJCPF.h"
#include "host/forms/application.h"
#include "host/screens/headless_screen.h"
#include "host/screens/script.h"
#include "probe_screen.h"

namespace {

using Cli_Tzc04182::TfrmCNPJCPF;

struct Screens {
    host::HeadlessScreen* headless;
    bench::ProbeScreen* probe;
};

// Installed once for the whole run: the dialog keeps its screen as a host keeps its display.
Screens& Installed()
{
    static Screens screens = [] {
        auto headless = std::make_unique<host::HeadlessScreen>();
        host::HeadlessScreen* shown = headless.get();
        auto probe = std::make_unique<bench::ProbeScreen>(std::move(headless));
        bench::ProbeScreen* installed = probe.get();
        host::Application().SetScreen(std::move(probe));
        return Screens{shown, installed};
    }();
    return screens;
}

// How a call reaches a step, and what the customer types there (Windows-1252, one character
// per keystroke, the field emptied again after the last one).
struct StepCase {
    uint8_t step;
    std::vector<std::pair<int, const char*>> params;  // changes to the typical call
    const char* script;                               // from the start of the call to the step
    const char* typed;
};

const StepCase kSteps[] = {
    {1, {}, "", "52998224725"},
    {2, {}, "52998224725{Enter}", "MARIA SILVA"},
    {3, {}, "52998224725{Enter}MARIA{Enter}", "RUA FLORES,"},
    {4, {{3, "S"}}, "", "11987654321"},
    {5, {{8, "S"}}, "", "PROMO2024AB"},
    {6, {{9, "S"}}, "[sbtIdEstrangeira]", "X1234567AB."},
    {7, {{11, "S"}}, "", "ana@loja.br"},
    {8, {{14, "S"}}, "", "MARIA 12345"},
};

void EmptyTheField(TfrmCNPJCPF& dialog)
{
    for (int i = 0; i < 64 && !dialog.lblInforma.GetText().empty(); ++i)
        host::SendMessageA(dialog.GetHandle(), host::WM_KEYDOWN, host::VK_BACK, 0);
}

enum class Path { OnScreenKey, Keyboard };

void TypeOne(TfrmCNPJCPF& dialog, Path path, char character)
{
    const auto code = static_cast<host::WPARAM>(static_cast<unsigned char>(character));
    if (path == Path::OnScreenKey) {
        host::SendMessageA(dialog.GetHandle(), host::WM_CHAR, code, 0);
    } else {
        host::PostMessageA(dialog.GetHandle(), host::WM_CHAR, code, 0);
        host::Application().ProcessMessages();
    }
}

void KeystrokeAtEachStep(benchmark::State& state)
{
    const StepCase& step = kSteps[state.range(0) - 1];
    const auto path = static_cast<Path>(state.range(1));
    std::vector<host::Variant> params = bench::TypicalParams();
    for (const auto& [index, value] : step.params)
        params[static_cast<std::size_t>(index)] = host::Variant(std::string_view(value));

    Screens& screens = Installed();
    screens.headless->SetScript(step.script);
    std::string failure;
    screens.probe->Arm(step.step, [&](host::TForm& form) {
        auto& dialog = static_cast<TfrmCNPJCPF&>(form);
        const std::string_view typed = step.typed;
        std::size_t next = 0;
        EmptyTheField(dialog);
        for (auto _ : state) {
            if (next == typed.size()) {
                EmptyTheField(dialog);
                next = 0;
            }
            const std::string before = dialog.lblInforma.GetText();
            const auto start = std::chrono::steady_clock::now();
            TypeOne(dialog, path, typed[next++]);
            const auto end = std::chrono::steady_clock::now();
            state.SetIterationTime(std::chrono::duration<double>(end - start).count());
            if (dialog.lblInforma.GetText() == before) {
                failure = "the keystroke did not change the display line";
                break;
            }
        }
    });
    try {
        bench::Call(params);
    } catch (const std::exception& error) {
        failure = error.what();
    }
    if (!screens.probe->Probed())
        failure = "the call never waited at the step";
    if (!failure.empty())
        state.SkipWithError(failure.c_str());
}
BENCHMARK(KeystrokeAtEachStep)
    ->ArgsProduct({benchmark::CreateDenseRange(1, 8, 1), {0, 1}})
    ->ArgNames({"step", "keyboard"})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

// A later call of the process: the dialog exists already.
void TypicalCall(benchmark::State& state)
{
    const std::vector<host::Variant> params = bench::TypicalParams();
    Screens& screens = Installed();
    screens.headless->SetScript(bench::kTypicalScript);
    bench::Call(params);
    for (auto _ : state) {
        screens.headless->SetScript(bench::kTypicalScript);
        const std::array<std::string, 8> slots = bench::Call(params);
        if (slots[0] != "52998224725" || slots[2] != "RUA DAS FLORES 100") {
            state.SkipWithError("the typical call did not return the customer's answers");
            break;
        }
    }
}
BENCHMARK(TypicalCall)->Unit(benchmark::kMicrosecond);

// Included in TypicalCall: reading the customer's script, which a host does not do.
void ParseTypicalScript(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(host::ParseScript(bench::kTypicalScript));
}
BENCHMARK(ParseTypicalScript)->Unit(benchmark::kMicrosecond);

}  // namespace
