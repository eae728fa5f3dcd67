// Offscreen figures: one full repaint of the dialog's window on Qt's offscreen platform, with the
// dialog waiting at the document step, and one keystroke there followed by its repaint.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "bench_support.h"
#include "dialog/frmCNPJCPF.h"
#include "host/application.h"
#include "host/qt_screen.h"
#include "probe_screen.h"

namespace {

using Cli_Tzc04182::TfrmCNPJCPF;

bench::ProbeScreen* Installed()
{
    static bench::ProbeScreen* installed = []() -> bench::ProbeScreen* {
        if (!host::HasQtScreen())
            return nullptr;
        auto probe = std::make_unique<bench::ProbeScreen>(host::MakeQtScreen(true));
        bench::ProbeScreen* screen = probe.get();
        host::Application().SetScreen(std::move(probe));
        return screen;
    }();
    return installed;
}

// Runs `measure` inside the document step's wait of a typical call.
template <typename Measure>
void AtTheDocumentStep(benchmark::State& state, Measure measure)
{
    bench::ProbeScreen* screen = Installed();
    if (screen == nullptr) {
        state.SkipWithError("this build of the module has no Qt screen");
        return;
    }
    screen->Arm(1, [&](host::TForm& form) { measure(static_cast<TfrmCNPJCPF&>(form), screen->shown()); });
    try {
        bench::Call(bench::TypicalParams());
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
        return;
    }
    if (!screen->Probed())
        state.SkipWithError("the call never waited at the document step");
}

void FullRepaint(benchmark::State& state)
{
    AtTheDocumentStep(state, [&](TfrmCNPJCPF& dialog, host::Screen& shown) {
        for (auto _ : state)
            shown.Repaint(dialog);
    });
}
BENCHMARK(FullRepaint)->Unit(benchmark::kMicrosecond);

// A digit typed and the window painted again, as the customer sees it.
void KeystrokeAndRepaint(benchmark::State& state)
{
    AtTheDocumentStep(state, [&](TfrmCNPJCPF& dialog, host::Screen& shown) {
        int typed = 0;
        for (auto _ : state) {
            if (typed++ == 11) {
                state.PauseTiming();
                host::SendMessageA(dialog.GetHandle(), host::WM_KEYDOWN, host::VK_DELETE, 0);
                typed = 1;
                state.ResumeTiming();
            }
            host::SendMessageA(dialog.GetHandle(), host::WM_CHAR, '7', 0);
            shown.Repaint(dialog);
        }
    });
}
BENCHMARK(KeystrokeAndRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace
