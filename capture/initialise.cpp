// The start of a call: the parameters become the capture state, the branch's CNPJ is read once
// per branch file, and activation chooses the flow.
#include <algorithm>

#include "dialog/frmCNPJCPF.h"

#include "capture/branch_file.h"
#include "host/services/files.h"
#include "host/text/trace.h"
#include "host/variant/variant_text.h"

namespace Cli_Tzc04182 {

using namespace host;

namespace {

std::string NotText(int index, const Variant& value)
{
    return "element " + std::to_string(index) + " is " + TypeInWords(value.Raw()) + ", not text";
}

}  // namespace

void TfrmCNPJCPF::InicializaForm(const Variant* params, int lastIndex)
{
    // Only the 18 defined elements are read, whatever the host says it passed.
    const int count = params == nullptr || lastIndex < 0 ? 0 : std::min(lastIndex, 17) + 1;
    auto element = [&](int index) -> const Variant* { return index < count ? &params[index] : nullptr; };

    // Elements 0 to 7 are required: an error leaves the call.
    std::string* const required[] = {&sCPFCNPJ, &sNome, &sEndereco, &sObsTexto, &sSomenteNome, &sTipoTerminal,
                                     &sContextoMsg, &sPedeNomeEndereco};
    for (int index = 0; index < 8; ++index) {
        const Variant* value = element(index);
        if (value == nullptr)
            throw EVariantError("parameter " + std::to_string(index) + " is missing");
        try {
            *required[index] = value->ToString();
        } catch (const EVariantError&) {
            throw EVariantError(NotText(index, *value));
        }
    }

    // Elements 8 to 17 are optional, each load guarded by itself.
    struct Optional {
        std::string* field;
        const char* fallback;
    };
    const Optional optional[] = {{&sCodPromoc, "N"},  {&sIdEstrangeira, "N"}, {&sCodPromocLongo, "N"},
                                 {&sPedeEmail, "N"},  {&sEmailCupom, ""},     {&sValidaEmail, "N"},
                                 {&sPesqCons, "N"},   {&sPedeCPF, "S"},       {&sCPFCRM, "N"},
                                 {&sCNPJAlfanumerico, "N"}};
    for (int index = 8; index <= 17; ++index) {
        const Optional& load = optional[index - 8];
        const Variant* value = element(index);
        try {
            *load.field = value != nullptr ? value->ToString() : load.fallback;
        } catch (const EVariantError&) {
            *load.field = load.fallback;
            // Why a host's value did not count, for its developer.
            Trace("parameter", NotText(index, *value) + "; its default \"" + load.fallback + "\" is taken");
        }
    }
    if (sCodPromoc == "S")
        sPedeCPF = "N";

    LeArquivoFilial();

    lblInforma.SetText(sCPFCNPJ);
    lblTexto2.SetText(msgPadrao.Msg("NOME"));
    bCodPromoc = element(8) != nullptr && element(8)->Equals("S");
    bSair = false;
    lblcodtela.SetText(Mensagemvlx::MontaRodapeGeral(true, "TZC04182", "S"));
    bActivated_ = false;
    seen_ = {};
}

void TfrmCNPJCPF::LeArquivoFilial()
{
    const BranchFileName file = BranchFileOfThisCall();
    // Another file than the one looked for before: what that one said no longer counts.
    if (file.path != arquivoFilial_) {
        if (!arquivoFilial_.empty()) {
            cdsParametrosVlx = TClientDataSet{};
            sCNPJFilial.clear();
        }
        arquivoFilial_ = file.path;
    }
    if (!cdsParametrosVlx.IsEmpty())
        return;
    // Beside the executable a missing file means no branch; a file the host named must be there.
    if (!file.named && !FileExists(file.path))
        return;
    cdsParametrosVlx.LoadFromFile(file.path);
    cdsParametrosVlx.SetActive(true);
    sCNPJFilial = cdsParametrosVlx.FieldByName("NRINSJURFILI").AsString();
}

void TfrmCNPJCPF::FormShow(TObject*)
{
    BringToFront();
}

void TfrmCNPJCPF::FormActivate(TObject*)
{
    // The toolkit may activate the dialog again (a message box closing): one flow per call.
    if (bActivated_)
        return;
    bActivated_ = true;
    // Shown exactly when this call allows it, so a button left by an earlier call does not stay.
    sbtIdEstrangeira.SetVisible(sIdEstrangeira == "S");
    if (sObsTexto == "S")
        DoObsTexto();
    else if (sCodPromoc == "S")
        DoCodPromoc();
    else if (sPedeEmail == "S")
        doEmailCupom();
    else if (sPesqCons == "S")
        DoPesqCons();
    else
        DoCPFNome();
}

}  // namespace Cli_Tzc04182
