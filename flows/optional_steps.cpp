// The one-answer flows (telephone, promotional code, receipt e-mail, consumer search) and the
// foreign identification that the side button nests inside another step's wait.
#include "dialog/frmCNPJCPF.h"

namespace Cli_Tzc04182 {

using namespace host;

void TfrmCNPJCPF::DoObsTexto()
{
    sObsTexto.clear();
    nPasso = PassoTelefone;
    ShowOnlyPrompt(lblTexto2);
    lblTexto2.SetText(msgPadrao.Msg("INFTEXTO"));
    lblInforma.SetText(sObsTexto);
    // Pressed here, the button would lead into name and address under the wrong prompt.
    sbtIdEstrangeira.SetVisible(false);
    ntbAlfanumerico.SetVisible(false);
    ntbNumerico2.SetTop(115);
    ntbNumerico2.SetLeft(10);
    ntbNumerico2.SetVisible(true);
    WaitUntilStep(PassoNenhum);
    PostClose();
}

void TfrmCNPJCPF::DoCodPromoc()
{
    sCodPromoc.clear();
    nPasso = PassoCodPromoc;
    ShowOnlyPrompt(lblCupomDesc);
    lblInforma.SetText(sCodPromoc);
    sbtIdEstrangeira.SetVisible(false);
    ShowLetterKeyboard();
    WaitUntilStep(PassoNenhum);
    PostClose();
}

void TfrmCNPJCPF::doEmailCupom()
{
    nPasso = PassoEmail;
    ShowOnlyPrompt(lblEmailCupom);
    lblInforma.SetText(sEmailCupom);
    sbtIdEstrangeira.SetVisible(false);
    ShowLetterKeyboard();
    WaitUntilStep(PassoNenhum);
    PostClose();
}

void TfrmCNPJCPF::DoPesqCons()
{
    sPesqCons.clear();
    nPasso = PassoPesqCons;
    ShowOnlyPrompt(lblPesqCons);
    lblInforma.SetText(sPesqCons);
    sbtIdEstrangeira.SetVisible(false);
    ShowLetterKeyboard();
    WaitUntilStep(PassoNenhum);
    PostClose();
}

void TfrmCNPJCPF::DoIdEstrangeira()
{
    sIdEstrangeira.clear();
    nPasso = PassoIdEstrangeira;
    ShowOnlyPrompt(lblIdEstrangeira);
    lblInforma.SetText(sIdEstrangeira);
    ShowLetterKeyboard();
    WaitUntilStep(PassoNome);
    PostClose();
}

void TfrmCNPJCPF::sbtIdEstrangeiraClick(TObject*)
{
    sbtIdEstrangeira.SetVisible(false);
    DoIdEstrangeira();
}

}  // namespace Cli_Tzc04182
