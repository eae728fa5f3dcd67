// "Não informar", Escape and the 20-second step timer: the answer of the current step and of
// every later step is emptied, and every wait ends.
#include "dialog/frmCNPJCPF.h"
#include "dialog/steps.h"

namespace Cli_Tzc04182 {

void TfrmCNPJCPF::sbtSairClick(host::TObject*)
{
    if (const PassoInfo* passo = InfoDoPasso(nPasso)) {
        const std::size_t first = passo->declines_all ? 0 : static_cast<std::size_t>(passo - kPassos.data());
        for (std::size_t i = first; i < kPassos.size(); ++i) {
            (this->*kPassos[i].field).clear();
            if (kPassos[i].declined_with != nullptr)
                (this->*kPassos[i].declined_with).clear();
        }
    }
    bSair = true;
}

// Left running: the flow that started the timer stops it once its wait has ended.
void TfrmCNPJCPF::tmrCancAutoPagTimer(host::TObject*) { sbtSairClick(&sbtSair); }

}  // namespace Cli_Tzc04182
