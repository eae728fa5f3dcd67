// What every step does alike: one prompt, one keypad, the wait, the rejection, the close.
#include "dialog/frmCNPJCPF.h"
#include "dialog/spoken.h"
#include "dialog/steps.h"
#include "host/text/trace.h"

namespace Cli_Tzc04182 {

using namespace host;

std::array<TLabel*, 6> TfrmCNPJCPF::Prompts() const
{
    return {&lblTexto, &lblTexto2, &lblCupomDesc, &lblIdEstrangeira, &lblEmailCupom, &lblPesqCons};
}

TLabel& TfrmCNPJCPF::PromptLabel(Prompt prompt) const
{
    static_assert(static_cast<std::size_t>(Prompt::lblPesqCons) + 1 == std::tuple_size_v<decltype(Prompts())>,
                  "one place in the list for every prompt");
    return *Prompts()[static_cast<std::size_t>(prompt)];
}

void TfrmCNPJCPF::ShowOnlyPrompt(TLabel& prompt)
{
    for (TLabel* label : Prompts())
        label->SetVisible(label == &prompt);
}

void TfrmCNPJCPF::ShowDigitKeypad()
{
    ntbAlfanumerico.SetVisible(false);
    ntbNumerico2.SetTop(115);
    ntbNumerico2.SetLeft(10);
    ntbNumerico2.SetVisible(true);
}

// With its space bar: the steps of text take blanks.
void TfrmCNPJCPF::ShowLetterKeyboard()
{
    ntbNumerico2.SetVisible(false);
    sbtNumeros->SetVisible(false);
    BlendedBitBtn1->SetVisible(true);
    ntbAlfanumerico.SetVisible(true);
}

// Hidden again, the letter keyboard gets its space bar back for the next step that shows it.
void TfrmCNPJCPF::ShowLetterSwitch(bool shown)
{
    sbtLetras->SetVisible(shown);
    if (!shown) {
        sbtNumeros->SetVisible(false);
        BlendedBitBtn1->SetVisible(true);
    }
}

const PassoInfo& TfrmCNPJCPF::AbrePasso(Passo step)
{
    const PassoInfo& passo = *InfoDoPasso(step);
    nPasso = step;
    TLabel& prompt = PromptLabel(passo.prompt);
    ShowOnlyPrompt(prompt);
    if (passo.prompt_key != nullptr)
        prompt.SetText(msgPadrao.Msg(passo.prompt_key));
    lblInforma.SetText(this->*passo.field);
    if (passo.keypad == Keypad::Digits)
        ShowDigitKeypad();
    else
        ShowLetterKeyboard();
    return passo;
}

void TfrmCNPJCPF::WaitUntilStep(Passo end)
{
    // Said when the customer is asked, not when a step opens: a declined call opens the later
    // steps without waiting on them, and a pre-filled document is checked without asking.
    if (!bSair)
        if (const TLabel* prompt = VisiblePrompt())
            SayPrompt(prompt->GetText());
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
    for (const TLabel* label : Prompts()) {
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
