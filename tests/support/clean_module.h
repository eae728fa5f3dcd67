#pragma once
// A test's start from a clean module: a freshly built dialog as the module's one instance and no
// step, with the headless screen; when the test ends the module is left clean the same way, so
// no step or answer reaches the next test.
#include "dialog/frmCNPJCPF.h"

namespace testing_support {

class CleanModule {
public:
    CleanModule();
    ~CleanModule();
    CleanModule(const CleanModule&) = delete;
    CleanModule& operator=(const CleanModule&) = delete;

    Cli_Tzc04182::TfrmCNPJCPF& dialog;

    // Puts the dialog at a step as its flow would have, for calling a handler directly.
    void AtStep(Cli_Tzc04182::Passo step) { Cli_Tzc04182::nPasso = step; }
};

}  // namespace testing_support
