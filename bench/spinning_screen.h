#pragma once
// The reference the idle cost is measured against: passes everything on to the screen that shows
// the dialog, but answers every wait for input at once, so that each wait of the dialog turns
// into the loop of a literal build, dispatching and testing again without ever sleeping. Counts
// the turns, and so does the sleeping variant, for comparison.
#include <cstddef>
#include <memory>

#include "host/forms/screen.h"

namespace bench {

enum class IdleWaits { Sleep, Spin };

class SpinningScreen final : public host::Screen {
public:
    SpinningScreen(std::unique_ptr<host::Screen> shown, IdleWaits idle) : shown_(std::move(shown)), idle_(idle) {}

    // How often the application asked for input: a handful when it sleeps, millions when it spins.
    std::size_t Turns() const { return turns_; }

    host::Clock& clock() override { return shown_->clock(); }
    void FormShown(host::TForm& form) override { shown_->FormShown(form); }
    void FormHidden(host::TForm& form) override { shown_->FormHidden(form); }
    void Invalidate(host::TForm& form) override { shown_->Invalidate(form); }
    void Repaint(host::TForm& form) override { shown_->Repaint(form); }
    host::WindowSystem* Windows() override { return shown_->Windows(); }
    void PumpInput(host::TApplication& application, bool wait, std::optional<host::TimePoint> deadline) override
    {
        ++turns_;
        shown_->PumpInput(application, wait && idle_ == IdleWaits::Sleep, deadline);
    }

private:
    std::unique_ptr<host::Screen> shown_;
    IdleWaits idle_;
    std::size_t turns_ = 0;
};

}  // namespace bench
