#pragma once
// Which capture field each step types, and what the display line shows for it.
#include <string>

#include "dialog/frmCNPJCPF.h"

namespace Cli_Tzc04182 {

// The field of step 1 to 8, or nullptr for any other step.
std::string* StepField(TfrmCNPJCPF& dialog, uint8_t step);
// The display of the field of steps 2 to 8: upper-cased for the name and address, the telephone
// formatted, the others as typed.
std::string StepDisplay(const TfrmCNPJCPF& dialog, uint8_t step);

}  // namespace Cli_Tzc04182
