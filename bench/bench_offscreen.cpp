// Offscreen figures, on Qt's offscreen platform with the dialog waiting at the document step: one
// full repaint of the window, one paint of it into a picture, and one keystroke with the repaint
// after it.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench_support.h"
#include "dialog/frmCNPJCPF.h"
#include "host/forms/application.h"
#include "host/screens/qt/window_screen.h"
#include "probe_screen.h"

namespace {

using Cli_Tzc04182::TfrmCNPJCPF;
using host::qt::WindowScreen;

bench::ProbeScreen& Installed()
{
    static bench::ProbeScreen* installed = [] {
        auto probe = std::make_unique<bench::ProbeScreen>(std::make_unique<WindowScreen>(true));
        bench::ProbeScreen* screen = probe.get();
        host::Application().SetScreen(std::move(probe));
        return screen;
    }();
    return *installed;
}

// Runs `measure` inside the document step's wait of a typical call, once the window shows.
template <typename Measure>
void AtTheDocumentStep(benchmark::State& state, Measure measure)
{
    bench::ProbeScreen& screen = Installed();
    auto& shown = static_cast<WindowScreen&>(screen.shown());
    std::string failure;
    screen.Arm(1, [&](host::TForm& form) {
        // An unexposed window paints nothing, which would time nothing.
        if (shown.Window() == nullptr || !shown.Window()->isExposed()) {
            failure = "the window is not exposed";
            return;
        }
        measure(static_cast<TfrmCNPJCPF&>(form), shown);
    });
    try {
        bench::Call(bench::TypicalParams());
    } catch (const std::exception& error) {
        failure = error.what();
    }
    if (failure.empty() && !screen.Probed())
        failure = "the call never waited at the document step";
    if (!failure.empty())
        state.SkipWithError(failure.c_str());
}

void FullRepaint(benchmark::State& state)
{
    AtTheDocumentStep(state, [&](TfrmCNPJCPF& dialog, WindowScreen& shown) {
        for (auto _ : state)
            shown.Repaint(dialog);
    });
}
BENCHMARK(FullRepaint)->Unit(benchmark::kMicrosecond);

// What a picture of the screen costs: the same painting into an image of its own.
void PaintIntoPicture(benchmark::State& state)
{
    AtTheDocumentStep(state, [&](TfrmCNPJCPF&, WindowScreen& shown) {
        for (auto _ : state)
            benchmark::DoNotOptimize(shown.Window()->Grab());
    });
}
BENCHMARK(PaintIntoPicture)->Unit(benchmark::kMicrosecond);

// A digit typed and the window painted again, as the customer sees it.
void KeystrokeAndRepaint(benchmark::State& state)
{
    AtTheDocumentStep(state, [&](TfrmCNPJCPF& dialog, WindowScreen& shown) {
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
