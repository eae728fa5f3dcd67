// What every step does alike: one prompt, one keypad, the wait, the rejection, the close.
#include "dialog/frmCNPJCPF.h"
#include "host/text/trace.h"

namespace Cli_Tzc04182 {

using namespace host;

void TfrmCNPJCPF::ShowOnlyPrompt(TLabel& prompt)
{
    for (TLabel* label : {&lblTexto, &lblTexto2, &lblCupomDesc, &lblIdEstrangeira, &lblEmailCupom, &lblPesqCons})
        label->SetVisible(label == &prompt);
}

// With its space bar: the steps of text take blanks.
void TfrmCNPJCPF::ShowLetterKeyboard()
{
    ntbNumerico2.SetVisible(false);
    FindComponent("sbtNumeros")->SetVisible(false);
    FindComponent("BlendedBitBtn1")->SetVisible(true);
    ntbAlfanumerico.SetVisible(true);
}

// Hidden again, the letter keyboard gets its space bar back for the next step that shows it.
void TfrmCNPJCPF::ShowLetterSwitch(bool shown)
{
    FindComponent("sbtLetras")->SetVisible(shown);
    if (!shown) {
        FindComponent("sbtNumeros")->SetVisible(false);
        FindComponent("BlendedBitBtn1")->SetVisible(true);
    }
}

void TfrmCNPJCPF::WaitUntilStep(Passo end)
{
    Application().WaitWhile([this, end] { return !bSair && nPasso != end; });
}

void TfrmCNPJCPF::Rejeita(const char* key)
{
    Mensagemvlx::Mensagem(msgPadrao.Msg(key), "", "N", "N", Mensagemvlx::TTipoMensagem::Erro, "", sContextoMsg, 0,
                          nullptr);
}

void TfrmCNPJCPF::PostClose() { PostMessageA(GetHandle(), WM_CLOSE, 0, 0); }

const TLabel* TfrmCNPJCPF::VisiblePrompt() const
{
    const TLabel* visible = nullptr;
    for (const TLabel* label : {&lblTexto, &lblTexto2, &lblCupomDesc, &lblIdEstrangeira, &lblEmailCupom, &lblPesqCons}) {
        if (label->Visible()) {
            if (visible != nullptr)
                return nullptr;  // in the middle of a change
            visible = label;
        }
    }
    return visible;
}

void TfrmCNPJCPF::TraceChanges()
{
    if (!Modal() || !TraceEnabled())
        return;
    if (nPasso != seen_.step) {
        seen_.step = nPasso;
        Trace("step", std::to_string(nPasso));
    }
    if (const TLabel* prompt = VisiblePrompt(); prompt != nullptr && prompt->GetText() != seen_.prompt) {
        seen_.prompt = prompt->GetText();
        Trace("prompt", seen_.prompt);
    }
    const bool digits = ntbNumerico2.Visible(), letters = ntbAlfanumerico.Visible();
    if (digits != letters) {
        const std::string keypad = digits ? "digits" : "letters";
        if (keypad != seen_.keypad) {
            seen_.keypad = keypad;
            Trace("keypad", keypad);
        }
    }
    if (lblInforma.GetText() != seen_.display) {
        seen_.display = lblInforma.GetText();
        Trace("display", seen_.display);
    }
}

}  // namespace Cli_Tzc04182
