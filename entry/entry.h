#pragma once
// The module's entry for C++ hosts: the call, and the one dialog instance it keeps.
#include "dialog/frmCNPJCPF.h"
#include "tzc04182.h"

namespace Cli_Tzc04182 {

// Shows the dialog for one call and stores its eight answers in result (an array Variant whose
// bounds cover 0 to 7). Errors of the call leave it as exceptions.
TZC_EXPORT void CriaInfAdicional(const Variant* params, int lastIndex, Variant& result);

// Null until the first call; the instance lives until the module is unloaded.
TZC_EXPORT extern TfrmCNPJCPF* frmCNPJCPF;

// The one instance, made on first use.
TfrmCNPJCPF& Dialog();

}  // namespace Cli_Tzc04182
