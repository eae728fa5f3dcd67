// The identification flow: document, then name and address as the call asks.
#include <chrono>
#include <memory>

#include "dialog/document_masks.h"
#include "dialog/frmCNPJCPF.h"
#include "dialog/spoken.h"
#include "dialog/steps.h"
#include "host/voice/voice.h"
#include "host/text/strings.h"

namespace Cli_Tzc04182 {

using namespace host;

namespace {

constexpr const char* kConsumidorFinal = "CONSUMIDOR FINAL";
constexpr int64_t kOnes = 11111111111;

bool HasDocument(const TfrmCNPJCPF& dialog) { return !Consiste::EmptyString(dialog.sCPFCNPJ); }

// DigitosRepetidos by value: zero and the nine 11-digit numbers of one repeated digit.
bool IsRepeatedNumber(int64_t value)
{
    return value == 0 || (value > 0 && value % kOnes == 0 && value / kOnes <= 9);
}

// The checks of a document confirmed in the step; false rejects it. A value that is not a
// decimal number within 64 bits is rejected like any invalid document. An alphanumeric CNPJ,
// when the call takes one, has no value to compare: its length and check digits decide.
bool DocumentPassesStepChecks(const std::string& document, bool alphanumeric)
{
    if (alphanumeric && HasLetter(document))
        return document.size() == 14 && Consiste::CGCOk(UpperCase(document));
    const std::string digits = ExtraiDigitos(document);
    if (document.size() == 11 && !Consiste::CPFOk(digits))
        return false;
    if (document.size() == 14 && !Consiste::CGCOk(digits))
        return false;
    if (Consiste::EmptyString(document))
        return true;
    try {
        if (document.size() == 1 && StrToInt(document) < 10)
            return false;
        const int64_t value = StrToInt64(document);
        if (IsRepeatedNumber(value) || value < 10)
            return false;
    } catch (const EConvertError&) {
        return false;
    }
    return document.size() == 11 || document.size() == 14;
}

// The checks of a document confirmed in the step, none after a decline: the catalogue key of the
// rejection, or nullptr. A document that passes is returned in capitals, also when the host
// pre-filled it in lower case.
const char* ConfirmedDocumentRejection(TfrmCNPJCPF& dialog)
{
    if (dialog.bSair)
        return nullptr;
    if (!DocumentPassesStepChecks(dialog.sCPFCNPJ, dialog.AceitaCNPJAlfanumerico()))
        return "CGCCPF_NOK";
    if (dialog.AceitaCNPJAlfanumerico() && HasLetter(dialog.sCPFCNPJ))
        dialog.sCPFCNPJ = UpperCase(dialog.sCPFCNPJ);
    return nullptr;
}

// The checks of every document, confirmed or pre-filled: the catalogue key of the rejection, or
// nullptr. One of at most 11 characters that fails the CPF check is cleared: the step opens empty.
const char* DocumentRejection(TfrmCNPJCPF& dialog)
{
    std::string& document = dialog.sCPFCNPJ;
    if (!HasDocument(dialog))
        return nullptr;
    if (document.size() <= 11 && !Consiste::CPFOk(ExtraiDigitos(document))) {
        document.clear();
        return "CGCCPF_NOK";
    }
    if (document == dialog.sCNPJFilial) {
        // After a decline no step opens again: the branch's CNPJ is no customer's document.
        if (dialog.bSair)
            document.clear();
        return "CNPJ_NOK";
    }
    return nullptr;
}

// How long before the step's time limit a listener is told of it.
constexpr auto kTimeLeftWarning = std::chrono::seconds(5);

// The 20-second limit of one step on "APC" terminals: running while the step waits, stopped
// when the wait ends however it ends, so no tick reaches a later step or a later call. With a
// voice, a timer of its own says when 5 seconds are left; without one, none is made.
class StepTimeLimit {
public:
    StepTimeLimit(TTimer& timer, bool limited) : timer_(timer)
    {
        if (!limited)
            return;
        timer_.SetEnabled(true);
        if (CurrentVoice() != nullptr && timer_.Interval() > kTimeLeftWarning) {
            warning_ = std::make_unique<TTimer>();
            warning_->SetInterval(timer_.Interval() - kTimeLeftWarning);
            warning_->OnTimer = [this](TObject*) {
                warning_->SetEnabled(false);
                SayTimeLeft();
            };
            warning_->SetEnabled(true);
        }
    }
    ~StepTimeLimit() { timer_.SetEnabled(false); }
    StepTimeLimit(const StepTimeLimit&) = delete;
    StepTimeLimit& operator=(const StepTimeLimit&) = delete;

private:
    TTimer& timer_;
    std::unique_ptr<TTimer> warning_;
};

// "ABC" on the digit keypad while the document step waits for a CNPJ that may hold letters.
class LetterSwitch {
public:
    LetterSwitch(TfrmCNPJCPF& dialog, bool offered) : dialog_(dialog), offered_(offered)
    {
        if (offered_)
            dialog_.ShowLetterSwitch(true);
    }
    ~LetterSwitch()
    {
        if (offered_)
            dialog_.ShowLetterSwitch(false);
    }
    LetterSwitch(const LetterSwitch&) = delete;
    LetterSwitch& operator=(const LetterSwitch&) = delete;

private:
    TfrmCNPJCPF& dialog_;
    const bool offered_;
};

}  // namespace

void TfrmCNPJCPF::DoCPFNome()
{
    if (sSomenteNome == "S" || sPedeCPF == "N") {
        // The name without a document: no default name, no short address cleared. The document's
        // prompt and keypad come up first all the same, as at every start of this flow.
        OpenDocumentStep();
        AskIdentificationStep(PassoNome);
        if (sPedeCPF != "S")
            AskIdentificationStep(PassoEndereco);
    } else {
        AskDocument();
        if (sTipoTerminal != "TAA" && sPedeNomeEndereco == "S") {
            // Who gave a document leaves with a usable name, and with no address too short to be one.
            AskIdentificationStep(PassoNome);
            if (HasDocument(*this) && (Consiste::EmptyString(sNome) || sNome.size() < 3))
                sNome = kConsumidorFinal;
            AskIdentificationStep(PassoEndereco);
            if (HasDocument(*this) && !Consiste::EmptyString(sEndereco) && sEndereco.size() < 5)
                sEndereco.clear();
        } else if (HasDocument(*this)) {
            // Neither name nor address is asked: a document goes with the default name.
            sNome = kConsumidorFinal;
        }
    }
    PostClose();
}

// The document step, opened again after every rejection until the document stands. A document
// the host pre-filled is checked without asking on the first pass only: after a rejection the
// step opens for the customer to correct the number or decline, or a pre-filled branch CNPJ
// would be refused for ever.
void TfrmCNPJCPF::AskDocument()
{
    for (bool bPrimeiraVez = true;; bPrimeiraVez = false) {
        const Passo confirmed = OpenDocumentStep().after_enter;
        const char* rejection = nullptr;
        if (!bPrimeiraVez || !HasDocument(*this)) {
            WaitForDocument(confirmed);
            rejection = ConfirmedDocumentRejection(*this);
        }
        if (rejection == nullptr)
            rejection = DocumentRejection(*this);
        if (rejection == nullptr)
            return;
        Rejeita(rejection);
    }
}

const PassoInfo& TfrmCNPJCPF::OpenDocumentStep()
{
    lblTexto.SetText(sCPFCRM == "S" ? "CPF para o OndrixCRM" : "Informe o CPF ou CNPJ");
    return AbrePasso(PassoDocumento);
}

// The customer types or corrects the number until Enter moves the step to `confirmed`, within
// the step's time limit on "APC" terminals. A number already there shows in its mask.
void TfrmCNPJCPF::WaitForDocument(Passo confirmed)
{
    const StepTimeLimit limit(tmrCancAutoPag, sTipoTerminal == "APC");
    const LetterSwitch letters(*this, AceitaCNPJAlfanumerico());
    if (HasDocument(*this))
        FormataCPFCNPJ();
    WaitUntilStep(confirmed);
}

// The name or the address, within the step's time limit on "APC" terminals. The step shows its
// prompt alone: a foreign identification taken in the name step left its own up.
void TfrmCNPJCPF::AskIdentificationStep(Passo step)
{
    const Passo end = AbrePasso(step).after_enter;
    const StepTimeLimit limit(tmrCancAutoPag, sTipoTerminal == "APC");
    WaitUntilStep(end);
}

}  // namespace Cli_Tzc04182
