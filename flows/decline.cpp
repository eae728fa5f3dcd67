// "Não informar", Escape and the 20-second step timer: the answer of the current step and of
// every later step is emptied, and every wait ends.
#include <span>

#include "dialog/frmCNPJCPF.h"
#include "dialog/steps.h"

namespace Cli_Tzc04182 {

void TfrmCNPJCPF::sbtSairClick(host::TObject*)
{
    if (const PassoInfo* passo = InfoDoPasso(nPasso)) {
        // The rows stand in the order of the answers, as the table asserts: the later answers are the
        // rows after this one.
        const std::size_t first = passo->declines_all ? 0 : RowOf(passo->passo);
        for (const PassoInfo& declined : std::span(kPassos).subspan(first)) {
            (this->*declined.field).clear();
            if (declined.declined_with != nullptr)
                (this->*declined.declined_with).clear();
        }
    }
    bSair = true;
}

// Left running: the flow that started the timer stops it once its wait has ended.
void TfrmCNPJCPF::tmrCancAutoPagTimer(host::TObject*) { sbtSairClick(&sbtSair); }

}  // namespace Cli_Tzc04182
