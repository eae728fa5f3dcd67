#include "probe_screen.h"

#include <utility>

#include "dialog/frmCNPJCPF.h"
#include "entry/entry.h"
#include "host/screens/headless_screen.h"

namespace bench {

ProbeScreen::ProbeScreen(std::unique_ptr<host::Screen> shown) : shown_(std::move(shown)) {}

void ProbeScreen::Arm(uint8_t step, Probe probe)
{
    step_ = step;
    probe_ = std::move(probe);
}

void ProbeScreen::PumpInput(host::TApplication& application, bool wait, std::optional<host::TimePoint> deadline)
{
    // Only once nothing is pending: the step has been set up and the flow waits for the customer.
    host::TForm* dialog = application.ActiveForm();
    if (probe_ && wait && dialog != nullptr && dialog == Cli_Tzc04182::frmCNPJCPF && Cli_Tzc04182::nPasso == step_) {
        // The shown screen first catches up with its own events: a window is exposed by them.
        shown_->PumpInput(application, false, std::nullopt);
        if (application.HasPending())
            return;
        const Probe probe = std::exchange(probe_, nullptr);
        probe(*dialog);
        host::ScriptAction escape;
        escape.kind = host::ScriptAction::Kind::Key;
        escape.key = host::VK_ESCAPE;
        host::DeliverScriptAction(application, escape);
        return;
    }
    shown_->PumpInput(application, wait, deadline);
}

}  // namespace bench
