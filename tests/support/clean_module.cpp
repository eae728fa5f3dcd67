#include "support/clean_module.h"

#include "entry/entry.h"
#include "support/call_harness.h"

namespace testing_support {

namespace {

Cli_Tzc04182::TfrmCNPJCPF& Cleaned()
{
    UseHeadlessScreen();
    FreshDialog();
    Cli_Tzc04182::nPasso = Cli_Tzc04182::PassoNenhum;
    return Cli_Tzc04182::Dialog();
}

}  // namespace

CleanModule::CleanModule() : dialog(Cleaned()) {}

CleanModule::~CleanModule()
{
    FreshDialog();
    Cli_Tzc04182::nPasso = Cli_Tzc04182::PassoNenhum;
}

}  // namespace testing_support
