#include "dialog/step_fields.h"

#include "dialog/document_masks.h"
#include "host/text/strings.h"

namespace Cli_Tzc04182 {

std::string* StepField(TfrmCNPJCPF& dialog, Passo step)
{
    switch (step) {
    case PassoDocumento: return &dialog.sCPFCNPJ;
    case PassoNome: return &dialog.sNome;
    case PassoEndereco: return &dialog.sEndereco;
    case PassoTelefone: return &dialog.sObsTexto;
    case PassoCodPromoc: return &dialog.sCodPromoc;
    case PassoIdEstrangeira: return &dialog.sIdEstrangeira;
    case PassoEmail: return &dialog.sEmailCupom;
    case PassoPesqCons: return &dialog.sPesqCons;
    default: return nullptr;
    }
}

std::string StepDisplay(const TfrmCNPJCPF& dialog, Passo step)
{
    switch (step) {
    case PassoDocumento:
        if (dialog.AceitaCNPJAlfanumerico() && HasLetter(dialog.sCPFCNPJ))
            return CnpjMask(dialog.sCPFCNPJ);
        return TypedDocumentMask(dialog.sCPFCNPJ);
    case PassoNome: return host::UpperCase(dialog.sNome);
    case PassoEndereco: return host::UpperCase(dialog.sEndereco);
    case PassoTelefone: return dialog.FormataTelefone(dialog.sObsTexto);
    case PassoCodPromoc: return dialog.sCodPromoc;
    case PassoIdEstrangeira: return dialog.sIdEstrangeira;
    case PassoEmail: return dialog.sEmailCupom;
    case PassoPesqCons: return dialog.sPesqCons;
    default: return "";
    }
}

}  // namespace Cli_Tzc04182
