#include "host/screens/touch.h"

#include "host/forms/application.h"
#include "host/forms/form.h"
#include "host/screens/script.h"

namespace host {

TControl* TopmostControlAt(TControl& control, int x, int y)
{
    const auto& children = control.Children();
    for (auto child = children.rbegin(); child != children.rend(); ++child) {
        TControl& candidate = **child;
        const int left = x - candidate.Left(), top = y - candidate.Top();
        if (!candidate.Visible() || left < 0 || top < 0 || left >= candidate.Width() || top >= candidate.Height())
            continue;
        TControl* inner = TopmostControlAt(candidate, left, top);
        return inner != nullptr ? inner : &candidate;
    }
    return nullptr;
}

TControl& ControlToTouch(const std::string& name)
{
    TForm* form = Application().ActiveForm();
    TControl* control = form != nullptr ? form->FindComponent(name) : nullptr;
    if (control == nullptr || control == form)
        throw EScriptError("script: no control [" + name + "] on the screen");
    if (!control->Showing())
        throw EScriptError("script: [" + name + "] is hidden");
    return *control;
}

}  // namespace host
