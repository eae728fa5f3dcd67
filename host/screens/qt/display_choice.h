#pragma once
// Which display the dialog opens on, for tills with a cashier's and a customer's display:
// TZC_DISPLAY names one by its index or its name, as Qt lists them; unset, the primary display.
#include <QScreen>
#include <string>

namespace host::qt {

// The display `wanted` names (an index or a name; "" the primary), or nullptr when none does.
QScreen* FindDisplay(const std::string& wanted);

// Throws std::runtime_error listing the displays there are when `wanted` names none of them.
void RequireDisplay(const std::string& wanted);

// The display to open on now: the one wanted, or the primary when it has gone since.
QScreen* DisplayToOpenOn(const std::string& wanted);

// How much a form of `form` pixels is shrunk to lie wholly in `area` (both in the platform's
// scaled pixels, `pixel_ratio` device pixels each): 1 when it fits as it is.
double FitScale(QSize form, QSize area, double pixel_ratio);

}  // namespace host::qt
