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
    const bool apc = sTipoTerminal == "APC";
    auto hasDocument = [this] { return !Consiste::EmptyString(sCPFCNPJ); };
    auto timedWait = [this, apc](Passo end) {
        const StepTimeLimit limit(tmrCancAutoPag, apc);
        WaitUntilStep(end);
    };
    auto nameStep = [&] { timedWait(AbrePasso(PassoNome).after_enter); };
    // The address prompt alone: a foreign identification taken in the name step left its own up.
    auto addressStep = [&] { timedWait(AbrePasso(PassoEndereco).after_enter); };
    bool bPrimeiraVez = true;
    for (;;) {
        lblTexto.SetText(sCPFCRM == "S" ? "CPF para o OndrixCRM" : "Informe o CPF ou CNPJ");
        const Passo documentEnd = AbrePasso(PassoDocumento).after_enter;

        if (sSomenteNome == "S" || sPedeCPF == "N") {
            // The name without a document: no default name, no short address cleared.
            nameStep();
            if (sPedeCPF != "S")
                addressStep();
            break;
        }

        // A document the host pre-filled is checked without asking, the first time only.
        if (!hasDocument() || !bPrimeiraVez || bCodPromoc) {
            bPrimeiraVez = false;
            {
                const StepTimeLimit limit(tmrCancAutoPag, apc);
                const LetterSwitch letters(*this, AceitaCNPJAlfanumerico());
                if (hasDocument())
                    FormataCPFCNPJ();
                WaitUntilStep(documentEnd);
            }
            if (!bSair && !DocumentPassesStepChecks(sCPFCNPJ, AceitaCNPJAlfanumerico())) {
                Rejeita("CGCCPF_NOK");
                continue;
            }
            // Returned in capitals, also when the host pre-filled it in lower case.
            if (!bSair && AceitaCNPJAlfanumerico() && HasLetter(sCPFCNPJ))
                sCPFCNPJ = UpperCase(sCPFCNPJ);
        }
        if (hasDocument() && sCPFCNPJ.size() <= 11 && !Consiste::CPFOk(ExtraiDigitos(sCPFCNPJ))) {
            sCPFCNPJ.clear();
            Rejeita("CGCCPF_NOK");
            continue;
        }
        if (hasDocument() && sCPFCNPJ == sCNPJFilial) {
            // Open the step after this rejection, or a pre-filled branch CNPJ would be refused for ever.
            bPrimeiraVez = false;
            // After a decline no step opens again: the branch's CNPJ is no customer's document.
            if (bSair)
                sCPFCNPJ.clear();
            Rejeita("CNPJ_NOK");
            continue;
        }

        if (sTipoTerminal == "TAA" || sPedeNomeEndereco != "S") {
            if (hasDocument())
                sNome = kConsumidorFinal;
            break;
        }

        nameStep();
        if (Consiste::EmptyString(sNome) && hasDocument())
            sNome = kConsumidorFinal;
        if (sNome.size() < 3 && hasDocument())
            sNome = kConsumidorFinal;

        addressStep();
        if (!Consiste::EmptyString(sEndereco) && sEndereco.size() < 5 && hasDocument())
            sEndereco.clear();
        break;
    }
    PostClose();
}

}  // namespace Cli_Tzc04182
