// The control keys: F1, Backspace, Enter, Delete and Escape act on the current step.
#include "dialog/frmCNPJCPF.h"
#include "dialog/step_fields.h"
#include "host/strings.h"

namespace Cli_Tzc04182 {

using namespace host;

namespace {

void RemoveFirstLineFeed(std::string& field)
{
    const std::size_t at = Pos("\n", field);
    if (at != 0)
        field.erase(at - 1, 1);
}

std::string CpfMask(const std::string& digits)
{
    auto group = [&](std::size_t from, std::size_t count) { return from < digits.size() ? digits.substr(from, count) : ""; };
    return group(0, 3) + "." + group(3, 3) + "." + group(6, 3) + "-" + group(9, 2);
}

void DropLast(std::string& text, std::size_t count)
{
    text.erase(text.size() - std::min(count, text.size()));
}

}  // namespace

void TfrmCNPJCPF::FormKeyDown(TObject*, uint16_t& key, ShiftState)
{
    if (nPasso == 0)
        return;
    std::string* field = StepField(*this, nPasso);

    if (key == VK_F1) {
        if (Kvb00917::RelFiscais != nullptr)
            Kvb00917::RelFiscais();
    }
    if (key == VK_BACK && field != nullptr) {
        if (nPasso == 1) {
            // The display walks back the way typing built it.
            std::string display = lblInforma.GetText();
            const std::size_t length = field->size();
            if (length == 12)
                display = CpfMask(field->substr(0, 11));
            else if (length == 9 || length == 6 || length == 3)
                DropLast(display, 2);
            else
                DropLast(display, 1);
            lblInforma.SetText(display);
            DropLast(*field, 1);
        } else {
            DropLast(*field, 1);
            lblInforma.SetText(StepDisplay(*this, nPasso));
        }
    }
    if (key == VK_RETURN) {
        switch (nPasso) {
        case 1:
            if (sCPFCNPJ.empty())
                return;
            nPasso = 2;
            break;
        case 2:
            nPasso = 3;
            break;
        case 3:
        case 4:
            RemoveFirstLineFeed(sObsTexto);
            nPasso = 0;
            break;
        case 5:
            RemoveFirstLineFeed(sCodPromoc);
            nPasso = 0;
            break;
        case 6:
            if (sIdEstrangeira.empty())
                return;
            RemoveFirstLineFeed(sIdEstrangeira);
            nPasso = 2;
            break;
        case 7:
            RemoveFirstLineFeed(sEmailCupom);
            if (Consiste::EmptyString(sEmailCupom) || sValidaEmail == "N" || ValidaEMail(sEmailCupom)) {
                nPasso = 0;
            } else {
                Mensagemvlx::Mensagem(msgPadrao.Msg("EMAILINV"), "", "N", "N", Mensagemvlx::TTipoMensagem::Erro, "",
                                      sContextoMsg, 0, nullptr);
                Abort();
            }
            break;
        case 8:
            RemoveFirstLineFeed(sPesqCons);
            nPasso = 0;
            break;
        default:
            break;
        }
    }
    if (key == VK_DELETE && field != nullptr) {
        // The e-mail is cleared too: a "Limpar" that visibly did nothing would be a fault.
        field->clear();
        lblInforma.SetText(*field);
    }
    if (key == VK_ESCAPE)
        sbtSair.Click();
}

}  // namespace Cli_Tzc04182
