// Display masks of the document and the telephone, and the shape test of an e-mail address.
#include "dialog/document_masks.h"
#include "dialog/frmCNPJCPF.h"
#include "host/text/strings.h"

namespace Cli_Tzc04182 {

using namespace host;

// The mask follows the length of the display, not of the document; an alphanumeric CNPJ is no
// CPF at any length.
void TfrmCNPJCPF::FormataCPFCNPJ()
{
    const bool cnpj = lblInforma.GetText().size() >= 13 || (AceitaCNPJAlfanumerico() && HasLetter(sCPFCNPJ));
    lblInforma.SetText(cnpj ? CnpjMask(sCPFCNPJ) : CpfMask(sCPFCNPJ));
}

std::string TfrmCNPJCPF::FormataTelefone(std::string telefone) const
{
    std::string digits = ExtraiDigitos(telefone);
    if (!digits.empty() && digits.front() == '0')
        digits.erase(0, 1);
    switch (digits.size()) {
    case 8: return FormatMaskText("9999-9999;0;_", digits);
    case 9: return FormatMaskText("99999-9999;0;_", digits);
    case 10: return FormatMaskText("(99)9999-9999;0;_", digits);
    case 11: return FormatMaskText("(99)99999-9999;0;_", digits);
    case 12: return FormatMaskText("99(99)9999-9999;0;_", digits);
    case 13: return FormatMaskText("99(99)99999-9999;0;_", digits);
    default: return digits;
    }
}

// A light test of the shape: something before the first "@", and at least two characters
// between it and the first "." after it.
bool TfrmCNPJCPF::ValidaEMail(std::string email) const
{
    const std::string address = Trim(email);
    const std::size_t at = Pos("@", address);
    if (at < 2)
        return false;
    const std::string_view domain = std::string_view(address).substr(at);
    if (domain.empty())
        return false;
    return Pos(".", domain) > 2;
}

}  // namespace Cli_Tzc04182
