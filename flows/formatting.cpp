// Display masks of the document and the telephone, and the shape test of an e-mail address.
#include "dialog/frmCNPJCPF.h"
#include "host/strings.h"

namespace Cli_Tzc04182 {

using namespace host;

std::string ExtraiDigitos(std::string_view text)
{
    std::string digits;
    for (char c : text)
        if (c >= '0' && c <= '9')
            digits += c;
    return digits;
}

void TfrmCNPJCPF::FormataCPFCNPJ()
{
    const std::size_t shown = lblInforma.GetText().size();
    auto group = [this](std::size_t from, std::size_t count) {
        return from < sCPFCNPJ.size() ? sCPFCNPJ.substr(from, count) : std::string();
    };
    if (shown >= 13)
        lblInforma.SetText(group(0, 2) + "." + group(2, 3) + "." + group(5, 3) + "/" + group(8, 4) + "-" + group(12, 2));
    else
        lblInforma.SetText(group(0, 3) + "." + group(3, 3) + "." + group(6, 3) + "-" + group(9, 2));
}

std::string TfrmCNPJCPF::FormataTelefone(std::string telefone) const
{
    std::string digits = ExtraiDigitos(telefone);
    if (digits.empty())
        return "";
    if (digits.front() == '0')
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

bool TfrmCNPJCPF::ValidaEMail(std::string email) const
{
    const std::string address = Trim(email);
    const std::size_t at = Pos("@", address);
    if (at < 2)
        return false;
    const std::string domain = address.substr(at);
    if (domain.empty())
        return false;
    return Pos(".", domain) > 2;
}

}  // namespace Cli_Tzc04182
