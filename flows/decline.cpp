// "Não informar", Escape and the 20-second step timer: the answer of the current step and of
// every later step is emptied, and every wait ends.
#include "dialog/frmCNPJCPF.h"

namespace Cli_Tzc04182 {

void TfrmCNPJCPF::sbtSairClick(host::TObject*)
{
    // In step order: the fields a decline at step N empties are those from N on.
    std::string* const in_step_order[] = {&sCPFCNPJ, &sNome, &sEndereco, &sObsTexto, &sCodPromoc};
    std::string* const always[] = {&sIdEstrangeira, &sPedeEmail, &sEmailCupom, &sPesqCons};
    if (nPasso >= 1 && nPasso <= 8) {
        // Steps 6 to 8 stand outside that order: they empty every answer.
        const std::size_t first = nPasso <= 5 ? nPasso - 1 : 0;
        for (std::size_t i = first; i < std::size(in_step_order); ++i)
            in_step_order[i]->clear();
        for (std::string* field : always)
            field->clear();
    }
    bSair = true;
}

void TfrmCNPJCPF::tmrCancAutoPagTimer(host::TObject*) { sbtSairClick(&sbtSair); }

}  // namespace Cli_Tzc04182
