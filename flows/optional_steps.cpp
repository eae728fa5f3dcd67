// The one-answer flows (telephone, promotional code, receipt e-mail, consumer search) and the
// foreign identification that the side button nests inside another step's wait.
#include "dialog/frmCNPJCPF.h"

namespace Cli_Tzc04182 {

using namespace host;

void TfrmCNPJCPF::DoObsTexto()
{
    sObsTexto.clear();
    nPasso = 4;
    ShowOnlyPrompt(lblTexto2);
    lblTexto2.SetText(msgPadrao.Msg("INFTEXTO"));
    lblInforma.SetText(sObsTexto);
    // Pressed here, the button would lead into name and address under the wrong prompt.
    sbtIdEstrangeira.SetVisible(false);
    ntbAlfanumerico.SetVisible(false);
    ntbNumerico2.SetTop(115);
    ntbNumerico2.SetLeft(10);
    ntbNumerico2.SetVisible(true);
    WaitUntilStep(0);
    PostClose();
}

void TfrmCNPJCPF::DoCodPromoc()
{
    sCodPromoc.clear();
    nPasso = 5;
    ShowOnlyPrompt(lblCupomDesc);
    lblInforma.SetText(sCodPromoc);
    sbtIdEstrangeira.SetVisible(false);
    ShowLetterKeyboard();
    WaitUntilStep(0);
    PostClose();
}

void TfrmCNPJCPF::doEmailCupom()
{
    nPasso = 7;
    ShowOnlyPrompt(lblEmailCupom);
    lblInforma.SetText(sEmailCupom);
    sbtIdEstrangeira.SetVisible(false);
    ShowLetterKeyboard();
    WaitUntilStep(0);
    PostClose();
}

void TfrmCNPJCPF::DoPesqCons()
{
    sPesqCons.clear();
    nPasso = 8;
    ShowOnlyPrompt(lblPesqCons);
    lblInforma.SetText(sPesqCons);
    sbtIdEstrangeira.SetVisible(false);
    ShowLetterKeyboard();
    WaitUntilStep(0);
    PostClose();
}

void TfrmCNPJCPF::DoIdEstrangeira()
{
    sIdEstrangeira.clear();
    nPasso = 6;
    ShowOnlyPrompt(lblIdEstrangeira);
    lblInforma.SetText(sIdEstrangeira);
    ShowLetterKeyboard();
    WaitUntilStep(2);
    PostClose();
}

void TfrmCNPJCPF::sbtIdEstrangeiraClick(TObject*)
{
    sbtIdEstrangeira.SetVisible(false);
    DoIdEstrangeira();
}

}  // namespace Cli_Tzc04182
