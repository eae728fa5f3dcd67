#include "dialog/steps.h"

#include <limits>

#include "dialog/char_sets.h"
#include "dialog/document_masks.h"
#include "host/text/strings.h"

namespace Cli_Tzc04182 {

namespace {

using F = TfrmCNPJCPF;

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
// The name takes letters and the blank only.
bool IsNameCharacter(unsigned char c)
{
    return c == ' ' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == 199 || c == 231;
}
bool InTextSet(unsigned char c) { return kTextSet.Contains(c); }
bool InEmailSet(unsigned char c) { return kEmailSet.Contains(c); }

// The document in its growing mask; an alphanumeric CNPJ in the CNPJ mask at every length.
std::string DocumentDisplay(const F& d)
{
    if (d.AceitaCNPJAlfanumerico() && HasLetter(d.sCPFCNPJ))
        return CnpjMask(d.sCPFCNPJ);
    return TypedDocumentMask(d.sCPFCNPJ);
}
std::string NameDisplay(const F& d) { return host::UpperCase(d.sNome); }
std::string AddressDisplay(const F& d) { return host::UpperCase(d.sEndereco); }
std::string TelephoneDisplay(const F& d) { return d.FormataTelefone(d.sObsTexto); }
template <std::string F::*field>
std::string AsTyped(const F& d)
{
    return d.*field;
}

// The prompt labels, by the names they have on the dialog.
host::TLabel& lblTexto(F& d) { return d.lblTexto; }
host::TLabel& lblTexto2(F& d) { return d.lblTexto2; }
host::TLabel& lblCupomDesc(F& d) { return d.lblCupomDesc; }
host::TLabel& lblIdEstrangeira(F& d) { return d.lblIdEstrangeira; }
host::TLabel& lblEmailCupom(F& d) { return d.lblEmailCupom; }
host::TLabel& lblPesqCons(F& d) { return d.lblPesqCons; }

constexpr std::size_t kUnlimited = std::numeric_limits<std::size_t>::max();

}  // namespace

// clang-format off
const std::array<PassoInfo, 8> kPassos = {{
    // step              field              prompt               prompt key   keypad
    //   takes            room  limit       line feed  display
    //   needs answer  line feed removed from  after Enter     declines all  declined with   slot length
    {PassoDocumento,     &F::sCPFCNPJ,      lblTexto,        nullptr,     Keypad::Digits,
        IsDigit,          29,   14,         false,     DocumentDisplay,
        true,          nullptr,                PassoNome,      false,        nullptr,        0,   29},
    {PassoNome,          &F::sNome,         lblTexto2,       "NOME",      Keypad::Letters,
        IsNameCharacter,  30,   kUnlimited, false,     NameDisplay,
        false,         nullptr,                PassoEndereco,  false,        nullptr,        1,   30},
    {PassoEndereco,      &F::sEndereco,     lblTexto2,       "ENDERECO",  Keypad::Letters,
        InTextSet,        80,   kUnlimited, false,     AddressDisplay,
        false,         &F::sObsTexto,          PassoNenhum,    false,        nullptr,        2,   80},
    {PassoTelefone,      &F::sObsTexto,     lblTexto2,       "INFTEXTO",  Keypad::Digits,
        IsDigit,          100,  kUnlimited, true,      TelephoneDisplay,
        false,         &F::sObsTexto,          PassoNenhum,    false,        nullptr,        3,   80},
    {PassoCodPromoc,     &F::sCodPromoc,    lblCupomDesc,    nullptr,     Keypad::Letters,
        InTextSet,        100,  kUnlimited, true,      AsTyped<&F::sCodPromoc>,
        false,         &F::sCodPromoc,         PassoNenhum,    false,        nullptr,        4,   0},
    {PassoIdEstrangeira, &F::sIdEstrangeira, lblIdEstrangeira, nullptr,   Keypad::Letters,
        InTextSet,        20,   kUnlimited, false,     AsTyped<&F::sIdEstrangeira>,
        true,          &F::sIdEstrangeira,     PassoNome,      true,         nullptr,        5,   20},
    {PassoEmail,         &F::sEmailCupom,   lblEmailCupom,   nullptr,     Keypad::Letters,
        InEmailSet,       50,   kUnlimited, false,     AsTyped<&F::sEmailCupom>,
        false,         &F::sEmailCupom,        PassoNenhum,    true,         &F::sPedeEmail, 6,   50},
    {PassoPesqCons,      &F::sPesqCons,     lblPesqCons,     nullptr,     Keypad::Letters,
        InTextSet,        50,   kUnlimited, false,     AsTyped<&F::sPesqCons>,
        false,         &F::sPesqCons,          PassoNenhum,    true,         nullptr,        7,   50},
}};
// clang-format on

const PassoInfo* InfoDoPasso(Passo step)
{
    for (const PassoInfo& info : kPassos)
        if (info.passo == step)
            return &info;
    return nullptr;
}

std::string* StepField(TfrmCNPJCPF& dialog, Passo step)
{
    const PassoInfo* info = InfoDoPasso(step);
    return info != nullptr ? &(dialog.*info->field) : nullptr;
}

std::string StepDisplay(const TfrmCNPJCPF& dialog, Passo step)
{
    const PassoInfo* info = InfoDoPasso(step);
    return info != nullptr ? info->display(dialog) : "";
}

}  // namespace Cli_Tzc04182
