#pragma once
// The module's entry for C++ hosts: the call, and the one dialog instance it keeps.
#include "dialog/frmCNPJCPF.h"
#include "tzc04182.h"

// Exported under their C++ names from the Linux library, for C++ hosts that link it. The Windows
// DLL exports its C entries alone, as Windows hosts expect; tzc04182.hpp reaches this entry there
// through CriaInfAdicionalC.
#ifdef _WIN32
#define TZC_CXX_EXPORT
#else
#define TZC_CXX_EXPORT TZC_EXPORT
#endif

namespace Cli_Tzc04182 {

// Shows the dialog for one call and stores its eight answers in result (an array Variant whose
// bounds cover 0 to 7). Errors of the call leave it as exceptions.
TZC_CXX_EXPORT void CriaInfAdicional(const Variant* params, int lastIndex, Variant& result);

// Null until the first call; the instance lives until the module is unloaded.
TZC_CXX_EXPORT extern TfrmCNPJCPF* frmCNPJCPF;

// The one instance, made on first use.
TfrmCNPJCPF& Dialog();

}  // namespace Cli_Tzc04182
