#pragma once
// What the dialog takes from the host application's shared libraries: the document check
// digits, the message catalogue, the message box, the screen footer and the fiscal reports.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/variant/variant.h"

namespace host {
class TClientDataSet;
}

namespace Consiste {

// The two modulo-11 check digits of an 11-digit CPF.
bool CPFOk(std::string_view digits);
// The two modulo-11 check digits of a 14-character CNPJ: twelve digits or capitals A to Z, each
// worth its code minus 48, then the two check digits, which are digits.
bool CGCOk(std::string_view cnpj);
// True only for a string of no characters.
bool EmptyString(std::string_view text);
host::Variant iif(bool condition, const host::Variant& when_true, const host::Variant& when_false);

}  // namespace Consiste

// The message catalogue component: lines "KEY|text".
class TMessages {
public:
    void SetLines(std::vector<std::string> lines) { lines_ = std::move(lines); }
    const std::vector<std::string>& Lines() const { return lines_; }
    // The text after the first "|" of the key's line; "" when the key is not there.
    std::string Msg(std::string_view key) const;

private:
    std::vector<std::string> lines_;
};

namespace Mensagemvlx {

enum class TTipoMensagem : uint8_t { Informacao, Confirmacao, Aviso, Erro, Pergunta };

// Shows a modal message to the operator and returns when it is dismissed.
void Mensagem(const std::string& texto, const std::string& titulo, const std::string& confirma,
              const std::string& cancela, TTipoMensagem tipo, const std::string& ajuda,
              const std::string& contexto, int codigo, host::TClientDataSet* dados);

// The footer text of a screen: its code.
std::string MontaRodapeGeral(bool mostraCodigo, const std::string& codigoTela, const std::string& flag);

// One message call as it was made.
struct Chamada {
    std::string texto, titulo, confirma, cancela;
    int tipo = 0;
    std::string ajuda, contexto;
    int codigo = 0;
    bool com_dados = false;
};

// Where Mensagem sends its call: the message box by default. A host with its own way of showing
// messages, or a test that records them, puts its procedure here.
using TExibeMensagem = void (*)(const Chamada& chamada);
extern TExibeMensagem ExibeMensagem;
// The default: the modal message box with the text.
void ExibeNaCaixaDeMensagem(const Chamada& chamada);

}  // namespace Mensagemvlx

namespace Kvb00917 {

// The fiscal reports procedure a host may publish; F1 calls it when one is set.
using TRelFiscais = void (*)();
extern TRelFiscais RelFiscais;

}  // namespace Kvb00917
