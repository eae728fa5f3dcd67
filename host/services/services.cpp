#include "host/services/services.h"

#include <algorithm>

#include "host/forms/message_box.h"
#include "host/text/strings.h"
#include "host/voice/voice.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool AllDigits(std::string_view text) { return std::all_of(text.begin(), text.end(), IsDigit); }

// The characters of a CNPJ before its check digits.
bool AllCnpjBaseCharacters(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return IsDigit(c) || (c >= 'A' && c <= 'Z'); });
}

// Modulo-11 check digit of the first `count` characters, each worth its code minus 48 (a digit
// its own value, "A" 17 to "Z" 42), with weights from `weights`.
int CheckDigit(std::string_view characters, std::size_t count, const int* weights)
{
    int sum = 0;
    for (std::size_t i = 0; i < count; ++i)
        sum += (characters[i] - '0') * weights[i];
    const int rest = sum % 11;
    return rest < 2 ? 0 : 11 - rest;
}

}  // namespace

namespace Consiste {

bool CPFOk(std::string_view digits)
{
    if (digits.size() != 11 || !AllDigits(digits))
        return false;
    static constexpr int first[] = {10, 9, 8, 7, 6, 5, 4, 3, 2};
    static constexpr int second[] = {11, 10, 9, 8, 7, 6, 5, 4, 3, 2};
    return CheckDigit(digits, 9, first) == digits[9] - '0' && CheckDigit(digits, 10, second) == digits[10] - '0';
}

// The numeric rule and the alphanumeric one are the same rule: a digit is worth its value either way.
bool CGCOk(std::string_view cnpj)
{
    if (cnpj.size() != 14 || !AllCnpjBaseCharacters(cnpj.substr(0, 12)) || !AllDigits(cnpj.substr(12)))
        return false;
    static constexpr int first[] = {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    static constexpr int second[] = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    return CheckDigit(cnpj, 12, first) == cnpj[12] - '0' && CheckDigit(cnpj, 13, second) == cnpj[13] - '0';
}

bool EmptyString(std::string_view text) { return text.empty(); }

host::Variant iif(bool condition, const host::Variant& when_true, const host::Variant& when_false)
{
    return condition ? when_true : when_false;
}

}  // namespace Consiste

std::string TMessages::Msg(std::string_view key) const
{
    for (const std::string& line : lines_) {
        const std::size_t bar = line.find('|');
        if (bar != std::string::npos && std::string_view(line).substr(0, bar) == key)
            return line.substr(bar + 1);
    }
    return "";
}

namespace Mensagemvlx {

TExibeMensagem ExibeMensagem = ExibeNaCaixaDeMensagem;

void ExibeNaCaixaDeMensagem(const Chamada& chamada) { host::ShowMessageBox(chamada.texto); }

void Mensagem(const std::string& texto, const std::string& titulo, const std::string& confirma,
              const std::string& cancela, TTipoMensagem tipo, const std::string& ajuda,
              const std::string& contexto, int codigo, host::TClientDataSet* dados)
{
    // Said before the box shows, as the box waits for its "OK" until the customer presses Enter.
    if (host::CurrentVoice() != nullptr)
        host::Say(texto + host::Utf8ToCp1252(" Tecle Enter para OK."), host::SpeechKind::Message);
    ExibeMensagem({texto, titulo, confirma, cancela, static_cast<int>(tipo), ajuda, contexto, codigo, dados != nullptr});
}

std::string MontaRodapeGeral(bool mostraCodigo, const std::string& codigoTela, const std::string&)
{
    return mostraCodigo ? codigoTela : "";
}

}  // namespace Mensagemvlx

namespace Kvb00917 {
TRelFiscais RelFiscais = nullptr;
}
