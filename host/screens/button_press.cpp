#include "host/screens/button_press.h"

namespace host {

void ButtonPress::Begin(TControl* under)
{
    const bool takes_press = under != nullptr && under->Kind() == TControlKind::Button && under->Enabled();
    pressed_ = takes_press ? under : nullptr;
    held_inside_ = pressed_ != nullptr;
}

void ButtonPress::Move(const TControl* under)
{
    if (pressed_ != nullptr)
        held_inside_ = under == pressed_;
}

TControl* ButtonPress::End(const TControl* under)
{
    TControl* control = pressed_;
    Cancel();
    if (control == nullptr || under != control)
        return nullptr;
    return control->Form() != nullptr && control->Showing() && control->Enabled() ? control : nullptr;
}

void ButtonPress::Cancel()
{
    pressed_ = nullptr;
    held_inside_ = false;
}

}  // namespace host
