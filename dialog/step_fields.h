#pragma once
// Which capture field each step types, and what the display line shows for it.
#include <string>

#include "dialog/frmCNPJCPF.h"

namespace Cli_Tzc04182 {

// The field of a step, or nullptr for PassoNenhum.
std::string* StepField(TfrmCNPJCPF& dialog, Passo step);
// What the display line shows for the field of the step while it is typed: the document in its
// growing mask (an alphanumeric CNPJ in the CNPJ mask at every length), the name and address
// upper-cased, the telephone formatted, the others as typed.
std::string StepDisplay(const TfrmCNPJCPF& dialog, Passo step);

}  // namespace Cli_Tzc04182
