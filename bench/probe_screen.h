#pragma once
// A screen that lets a benchmark into a running call: it passes everything on to the screen
// that really shows the dialog, and the first time the dialog waits at the armed step it hands
// the waiting dialog to a probe, then declines the capture with Escape so that the call ends.
// The probe runs inside the flow's own wait, where the customer's keys arrive.
#include <cstdint>
#include <functional>
#include <memory>

#include "host/forms/screen.h"

namespace host {
class TForm;
}

namespace bench {

class ProbeScreen final : public host::Screen {
public:
    using Probe = std::function<void(host::TForm& dialog)>;

    explicit ProbeScreen(std::unique_ptr<host::Screen> shown);
    host::Screen& shown() { return *shown_; }

    // For the next call only.
    void Arm(uint8_t step, Probe probe);
    bool Probed() const { return !probe_; }

    host::Clock& clock() override { return shown_->clock(); }
    void FormShown(host::TForm& form) override { shown_->FormShown(form); }
    void FormHidden(host::TForm& form) override { shown_->FormHidden(form); }
    void Invalidate(host::TForm& form) override { shown_->Invalidate(form); }
    void Repaint(host::TForm& form) override { shown_->Repaint(form); }
    void PumpInput(host::TApplication& application, bool wait, std::optional<host::TimePoint> deadline) override;

private:
    std::unique_ptr<host::Screen> shown_;
    uint8_t step_ = 0;
    Probe probe_;
};

}  // namespace bench
