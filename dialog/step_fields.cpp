#include "dialog/step_fields.h"

#include "flows/formatting.h"
#include "host/text/strings.h"

namespace Cli_Tzc04182 {

std::string* StepField(TfrmCNPJCPF& dialog, uint8_t step)
{
    switch (step) {
    case 1: return &dialog.sCPFCNPJ;
    case 2: return &dialog.sNome;
    case 3: return &dialog.sEndereco;
    case 4: return &dialog.sObsTexto;
    case 5: return &dialog.sCodPromoc;
    case 6: return &dialog.sIdEstrangeira;
    case 7: return &dialog.sEmailCupom;
    case 8: return &dialog.sPesqCons;
    default: return nullptr;
    }
}

std::string StepDisplay(const TfrmCNPJCPF& dialog, uint8_t step)
{
    switch (step) {
    case 1: return TypedDocumentMask(dialog.sCPFCNPJ);
    case 2: return host::UpperCase(dialog.sNome);
    case 3: return host::UpperCase(dialog.sEndereco);
    case 4: return dialog.FormataTelefone(dialog.sObsTexto);
    case 5: return dialog.sCodPromoc;
    case 6: return dialog.sIdEstrangeira;
    case 7: return dialog.sEmailCupom;
    case 8: return dialog.sPesqCons;
    default: return "";
    }
}

}  // namespace Cli_Tzc04182
