#include "support/faulty_screen.h"

#include "host/forms/form.h"

namespace testing_support {

std::string FaultText(ScreenFault fault)
{
    switch (fault) {
    case ScreenFault::DialogShown: return "screen fault: the dialog's window cannot be shown";
    case ScreenFault::MessageBoxShown: return "screen fault: the message box's window cannot be shown";
    case ScreenFault::Invalidate: return "screen fault: painting failed";
    case ScreenFault::Repaint: return "screen fault: painting at once failed";
    case ScreenFault::Input: return "screen fault: the customer's input failed";
    case ScreenFault::WindowMade: return "screen fault: the platform refused the window";
    case ScreenFault::None: break;
    }
    return "screen fault: none";
}

EScreenFault::EScreenFault(ScreenFault fault) : std::runtime_error(FaultText(fault)) {}

FaultyScreen::FaultyScreen(std::unique_ptr<host::Screen> real) : real_(std::move(real)) {}

void FaultyScreen::Arm(ScreenFault fault, int nth)
{
    fault_ = fault;
    left_ = nth;
}

void FaultyScreen::Reach(ScreenFault place)
{
    ++reached_[static_cast<int>(place)];
    if (place != fault_ || --left_ > 0)
        return;
    Disarm();
    throw EScreenFault(place);
}

void FaultyScreen::FormShown(host::TForm& form)
{
    Reach(form.Name() == "frmMensagem" ? ScreenFault::MessageBoxShown : ScreenFault::DialogShown);
    real_->FormShown(form);
}

void FaultyScreen::Invalidate(host::TForm& form)
{
    Reach(ScreenFault::Invalidate);
    real_->Invalidate(form);
}

void FaultyScreen::Repaint(host::TForm& form)
{
    Reach(ScreenFault::Repaint);
    real_->Repaint(form);
}

void FaultyScreen::PumpInput(host::TApplication& application, bool wait, std::optional<host::TimePoint> deadline)
{
    Reach(ScreenFault::Input);
    real_->PumpInput(application, wait, deadline);
}

host::WindowSystem* FaultyScreen::Windows() { return real_->Windows() != nullptr ? this : nullptr; }

host::HWND FaultyScreen::CreateHandle(host::TForm& form)
{
    Reach(ScreenFault::WindowMade);
    return real_->Windows()->CreateHandle(form);
}

}  // namespace testing_support
