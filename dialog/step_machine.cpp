// The control keys: F1, Backspace, Enter, Delete and Escape act on the current step. Shift,
// Ctrl and Alt make no difference, and at step 0 every key is ignored.
#include "dialog/frmCNPJCPF.h"
#include "dialog/spoken.h"
#include "dialog/steps.h"
#include "host/text/strings.h"

namespace Cli_Tzc04182 {

using namespace host;

namespace {

// The marker that character entry puts in at 50 characters.
void RemoveFirstLineFeed(std::string& field)
{
    if (const std::size_t at = Pos("\n", field); at != 0)
        field.erase(at - 1, 1);
}

void CallFiscalReports()
{
    // Read at the moment of the key: the package may publish it late. Unset, F1 does nothing.
    if (const Kvb00917::TRelFiscais reports = Kvb00917::RelFiscais)
        reports();
}

void EraseLast(TfrmCNPJCPF& dialog)
{
    std::string* field = StepField(dialog, nPasso);
    if (field == nullptr)
        return;
    if (!field->empty())
        field->pop_back();
    SayErased();
    dialog.lblInforma.SetText(StepDisplay(dialog, nPasso));
}

void Clear(TfrmCNPJCPF& dialog)
{
    std::string* field = StepField(dialog, nPasso);
    if (field == nullptr)
        return;
    field->clear();
    SayCleared();
    dialog.lblInforma.SetText(*field);
}

// Whether the e-mail may close its step: empty, unchecked, or of a valid shape.
bool EmailAccepted(const TfrmCNPJCPF& dialog)
{
    return Consiste::EmptyString(dialog.sEmailCupom) || dialog.sValidaEmail == "N" || dialog.ValidaEMail(dialog.sEmailCupom);
}

}  // namespace

void TfrmCNPJCPF::FormKeyDown(TObject*, uint16_t& key, ShiftState)
{
    if (nPasso == PassoNenhum)
        return;
    if (key == VK_F1)
        CallFiscalReports();
    if (key == VK_BACK)
        EraseLast(*this);
    if (key == VK_RETURN) {
        const PassoInfo* passo = InfoDoPasso(nPasso);
        if (passo == nullptr || (passo->needs_answer && (this->*passo->field).empty()))
            return;
        SayAnswer(lblInforma.GetText(), passo->keypad);
        if (passo->line_feed_field != nullptr)
            RemoveFirstLineFeed(this->*passo->line_feed_field);
        if (nPasso == PassoEmail && !EmailAccepted(*this)) {
            // The step stays open with the address as typed, for the customer to correct.
            Rejeita("EMAILINV");
            Abort();
        }
        nPasso = passo->after_enter;
    }
    // The e-mail is cleared too: a "Limpar" that visibly did nothing would be a fault at a till.
    if (key == VK_DELETE)
        Clear(*this);
    if (key == VK_ESCAPE)
        sbtSair.Click();
}

}  // namespace Cli_Tzc04182
