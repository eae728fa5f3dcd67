// Display masks of the document and the telephone, and the shape test of an e-mail address.
#include "flows/formatting.h"

#include "dialog/frmCNPJCPF.h"
#include "host/text/strings.h"

namespace Cli_Tzc04182 {

using namespace host;

namespace {

std::string_view Group(std::string_view text, std::size_t from, std::size_t count)
{
    return from < text.size() ? text.substr(from, count) : std::string_view();
}

}  // namespace

std::string ExtraiDigitos(std::string_view text)
{
    std::string digits;
    for (const char c : text)
        if (c >= '0' && c <= '9')
            digits += c;
    return digits;
}

std::string CnpjMask(std::string_view document)
{
    std::string shown;
    shown.append(Group(document, 0, 2)).append(".").append(Group(document, 2, 3)).append(".");
    shown.append(Group(document, 5, 3)).append("/").append(Group(document, 8, 4)).append("-");
    return shown.append(Group(document, 12, 2));
}

std::string CpfMask(std::string_view document)
{
    std::string shown;
    shown.append(Group(document, 0, 3)).append(".").append(Group(document, 3, 3)).append(".");
    return shown.append(Group(document, 6, 3)).append("-").append(Group(document, 9, 2));
}

std::string TypedDocumentMask(std::string_view document)
{
    if (document.size() >= 12)
        return CnpjMask(document);
    std::string shown;
    for (std::size_t i = 0; i < document.size(); ++i) {
        shown += document[i];
        if (i == 2 || i == 5)
            shown += '.';
        else if (i == 8)
            shown += '-';
    }
    return shown;
}

// The mask follows the length of the display, not of the document.
void TfrmCNPJCPF::FormataCPFCNPJ()
{
    lblInforma.SetText(lblInforma.GetText().size() >= 13 ? CnpjMask(sCPFCNPJ) : CpfMask(sCPFCNPJ));
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
