// tzc-first-frame: the time from the call to the dialog's first frame on a real display (run it
// under Xvfb): for the first call of this process, which also starts Qt and checks the display,
// and for later calls. Prints "first_frame_us=N qt_started_us=N later_frame_us=N,N,...", where
// qt_started_us is the part of the first spent starting Qt on the display; each call is declined
// with Escape as soon as its frame is out.
#include <QKeyEvent>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "entry/entry.h"
#include "host/forms/application.h"
#include "host/screens/qt/window_screen.h"
#include "host/variant/variant.h"

namespace {

using SteadyClock = std::chrono::steady_clock;

// Waits for the first frame of the call's window, then presses Escape.
class FrameWatcher final : public host::qt::Customer {
public:
    // Looks again each millisecond until the frame is out; the frame's own time is exact.
    std::optional<host::TimePoint> NextDue(host::TimePoint) override { return next_look_; }
    void Act(host::qt::WindowScreen& screen) override
    {
        host::qt::StackWindow* window = screen.Window();
        if (window == nullptr || !window->FirstFrameAt()) {
            next_look_ = screen.clock().Now() + std::chrono::milliseconds(1);
            return;
        }
        first_frame_at = *window->FirstFrameAt();
        window->SynthesizeKey(Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
    }
    bool EndsWhenDone() const override { return false; }

    SteadyClock::time_point first_frame_at;

private:
    host::TimePoint next_look_{};
};

double Call(FrameWatcher& watcher, SteadyClock::time_point start)
{
    std::vector<host::Variant> params;
    for (const char* value : {"", "", "", "N", "N", "PDV", "", "S", "N", "N", "N", "N", "", "N", "N", "S", "N"})
        params.emplace_back(std::string_view(value));
    host::Variant answers = host::Variant::Array(0, 7);
    Cli_Tzc04182::CriaInfAdicional(params.data(), 16, answers);
    return std::chrono::duration<double, std::micro>(watcher.first_frame_at - start).count();
}

}  // namespace

int main(int argc, char** argv)
{
    const int later_calls = argc > 1 ? std::atoi(argv[1]) : 10;
    unsetenv("TZC_INPUT");
    try {
        // What the first call of a process does when it finds no screen: Qt started on the
        // display, checked first.
        const SteadyClock::time_point start = SteadyClock::now();
        auto screen = std::make_unique<host::qt::WindowScreen>(false);
        const double startup_us = std::chrono::duration<double, std::micro>(SteadyClock::now() - start).count();
        auto watcher = std::make_unique<FrameWatcher>();
        FrameWatcher& watching = *watcher;
        screen->SetCustomer(std::move(watcher));
        host::Application().SetScreen(std::move(screen));
        const double first_us = Call(watching, start);
        std::printf("first_frame_us=%.0f qt_started_us=%.0f later_frame_us=", first_us, startup_us);
        for (int i = 0; i < later_calls; ++i)
            std::printf("%s%.0f", i == 0 ? "" : ",", Call(watching, SteadyClock::now()));
        std::printf("\n");
    } catch (const std::exception& error) {
        std::printf("error: %s\n", error.what());
        return 1;
    }
    return 0;
}
