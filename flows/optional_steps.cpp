// The one-answer flows (telephone, promotional code, receipt e-mail, consumer search) and the
// foreign identification that the side button nests inside another step's wait.
#include "dialog/frmCNPJCPF.h"
#include "dialog/steps.h"

namespace Cli_Tzc04182 {

using namespace host;

// The foreign identification button stays hidden: pressed here, it would lead into name and
// address under the wrong prompt.
void TfrmCNPJCPF::PedeSomente(Passo step)
{
    sbtIdEstrangeira.SetVisible(false);
    WaitUntilStep(AbrePasso(step).after_enter);
    PostClose();
}

void TfrmCNPJCPF::DoObsTexto()
{
    sObsTexto.clear();
    PedeSomente(PassoTelefone);
}

void TfrmCNPJCPF::DoCodPromoc()
{
    sCodPromoc.clear();
    PedeSomente(PassoCodPromoc);
}

// The host may pre-fill the e-mail.
void TfrmCNPJCPF::doEmailCupom() { PedeSomente(PassoEmail); }

void TfrmCNPJCPF::DoPesqCons()
{
    sPesqCons.clear();
    PedeSomente(PassoPesqCons);
}

void TfrmCNPJCPF::DoIdEstrangeira()
{
    sIdEstrangeira.clear();
    WaitUntilStep(AbrePasso(PassoIdEstrangeira).after_enter);
    PostClose();
}

void TfrmCNPJCPF::sbtIdEstrangeiraClick(TObject*)
{
    sbtIdEstrangeira.SetVisible(false);
    DoIdEstrangeira();
}

}  // namespace Cli_Tzc04182
