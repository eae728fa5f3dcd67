// The identification flow: document, then name and address as the call asks.
#include "dialog/frmCNPJCPF.h"
#include "host/strings.h"

namespace Cli_Tzc04182 {

using namespace host;

namespace {

constexpr const char* kConsumidorFinal = "CONSUMIDOR FINAL";

// Zero and the nine 11-digit numbers of one repeated digit, compared by value.
bool IsRepeatedNumber(int64_t value)
{
    return value == 0 || (value % 11111111111LL == 0 && value / 11111111111LL <= 9);
}

// The checks of a document confirmed in the step; false rejects it. A value that is not a
// decimal number within 64 bits is rejected like any invalid document.
bool DocumentPassesStepChecks(const std::string& document)
{
    const std::string digits = ExtraiDigitos(document);
    if (document.size() == 11 && !Consiste::CPFOk(digits))
        return false;
    if (document.size() == 14 && !Consiste::CGCOk(digits))
        return false;
    if (document.empty())
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

}  // namespace

void TfrmCNPJCPF::DoCPFNome()
{
    const bool apc = sTipoTerminal == "APC";
    bool bPrimeiraVez = true;
    for (;;) {
        nPasso = 1;
        lblTexto.SetVisible(true);
        lblTexto.SetText(sCPFCRM == "S" ? "CPF para o OndrixCRM" : "Informe o CPF ou CNPJ");
        lblTexto2.SetVisible(false);
        lblInforma.SetText(sCPFCNPJ);
        for (TLabel* label : {&lblCupomDesc, &lblIdEstrangeira, &lblEmailCupom, &lblPesqCons})
            label->SetVisible(false);
        ntbAlfanumerico.SetVisible(false);
        ntbNumerico2.SetTop(115);
        ntbNumerico2.SetLeft(10);
        ntbNumerico2.SetVisible(true);

        if (sSomenteNome == "S" || sPedeCPF == "N") {
            // The name without a document.
            nPasso = 2;
            ShowOnlyPrompt(lblTexto2);
            lblInforma.SetText(sNome);
            ShowLetterKeyboard();
            tmrCancAutoPag.SetEnabled(apc);
            WaitUntilStep(3);
            tmrCancAutoPag.SetEnabled(false);
            if (sPedeCPF != "S") {
                nPasso = 3;
                lblTexto.SetVisible(false);
                lblTexto2.SetText(msgPadrao.Msg("ENDERECO"));
                lblInforma.SetText(sEndereco);
                tmrCancAutoPag.SetEnabled(apc);
                WaitUntilStep(0);
                tmrCancAutoPag.SetEnabled(false);
            }
            break;
        }

        // A document the host pre-filled is checked without asking, the first time only.
        if (sCPFCNPJ.empty() || !bPrimeiraVez || bCodPromoc) {
            bPrimeiraVez = false;
            tmrCancAutoPag.SetEnabled(apc);
            if (!sCPFCNPJ.empty())
                FormataCPFCNPJ();
            WaitUntilStep(2);
            tmrCancAutoPag.SetEnabled(false);
            if (!bSair && !DocumentPassesStepChecks(sCPFCNPJ)) {
                Rejeita("CGCCPF_NOK");
                continue;
            }
        }
        if (!sCPFCNPJ.empty() && sCPFCNPJ.size() <= 11 && !Consiste::CPFOk(ExtraiDigitos(sCPFCNPJ))) {
            sCPFCNPJ.clear();
            Rejeita("CGCCPF_NOK");
            continue;
        }
        if (!sCPFCNPJ.empty() && sCPFCNPJ == sCNPJFilial) {
            // Open the step after this rejection, or a pre-filled branch CNPJ would be refused for ever.
            bPrimeiraVez = false;
            Rejeita("CNPJ_NOK");
            continue;
        }

        if (sTipoTerminal == "TAA" || sPedeNomeEndereco != "S") {
            if (!sCPFCNPJ.empty())
                sNome = kConsumidorFinal;
            break;
        }

        nPasso = 2;
        ShowOnlyPrompt(lblTexto2);
        lblInforma.SetText(sNome);
        ShowLetterKeyboard();
        tmrCancAutoPag.SetEnabled(apc);
        WaitUntilStep(3);
        tmrCancAutoPag.SetEnabled(false);
        if (sNome.empty() && !sCPFCNPJ.empty())
            sNome = kConsumidorFinal;
        if (sNome.size() < 3 && !sCPFCNPJ.empty())
            sNome = kConsumidorFinal;

        nPasso = 3;
        lblTexto.SetVisible(false);
        lblTexto2.SetText(msgPadrao.Msg("ENDERECO"));
        lblInforma.SetText(sEndereco);
        tmrCancAutoPag.SetEnabled(apc);
        WaitUntilStep(0);
        if (!sEndereco.empty() && sEndereco.size() < 5 && !sCPFCNPJ.empty())
            sEndereco.clear();
        tmrCancAutoPag.SetEnabled(false);
        break;
    }
    PostClose();
}

}  // namespace Cli_Tzc04182
