// "Não informar", Escape and the 20-second step timer: the answer of the current step and of
// every later step is emptied, and every wait ends.
#include "dialog/frmCNPJCPF.h"

namespace Cli_Tzc04182 {

void TfrmCNPJCPF::sbtSairClick(host::TObject*)
{
    // The answers in step order; the e-mail flag goes with the e-mail.
    std::string* const answers[] = {&sCPFCNPJ,       &sNome,      &sEndereco,   &sObsTexto, &sCodPromoc,
                                    &sIdEstrangeira, &sPedeEmail, &sEmailCupom, &sPesqCons};
    if (nPasso >= PassoDocumento && nPasso <= PassoPesqCons) {
        // The steps up to the promotional code keep the answers before them; the steps that can
        // stand in for the identification or open without it empty every answer.
        const std::size_t first = nPasso <= PassoCodPromoc ? nPasso - PassoDocumento : 0u;
        for (std::size_t i = first; i < std::size(answers); ++i)
            answers[i]->clear();
    }
    bSair = true;
}

// Left running: the flow that started the timer stops it once its wait has ended.
void TfrmCNPJCPF::tmrCancAutoPagTimer(host::TObject*) { sbtSairClick(&sbtSair); }

}  // namespace Cli_Tzc04182
