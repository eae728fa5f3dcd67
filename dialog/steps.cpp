#include "dialog/steps.h"

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

}  // namespace

// clang-format off
constexpr std::array<PassoInfo, 8> kPassos = {{
    {.passo = PassoDocumento, .field = &F::sCPFCNPJ, .prompt = Prompt::lblTexto, .keypad = Keypad::Digits,
     .takes = IsDigit, .room = 29, .field_limit = 14, .display = DocumentDisplay,
     .needs_answer = true, .after_enter = PassoNome,
     .slot = 0, .slot_length = 29},
    {.passo = PassoNome, .field = &F::sNome, .prompt = Prompt::lblTexto2, .prompt_key = "NOME",
     .keypad = Keypad::Letters,
     .takes = IsNameCharacter, .room = 30, .display = NameDisplay,
     .after_enter = PassoEndereco,
     .slot = 1, .slot_length = 30},
    {.passo = PassoEndereco, .field = &F::sEndereco, .prompt = Prompt::lblTexto2, .prompt_key = "ENDERECO",
     .keypad = Keypad::Letters,
     .takes = InTextSet, .room = 80, .display = AddressDisplay,
     .line_feed_field = &F::sObsTexto, .after_enter = PassoNenhum,
     .slot = 2, .slot_length = 80},
    {.passo = PassoTelefone, .field = &F::sObsTexto, .prompt = Prompt::lblTexto2, .prompt_key = "INFTEXTO",
     .keypad = Keypad::Digits,
     .takes = IsDigit, .room = 100, .line_feed_at_50 = true, .display = TelephoneDisplay,
     .line_feed_field = &F::sObsTexto, .after_enter = PassoNenhum,
     .slot = 3, .slot_length = 80},
    {.passo = PassoCodPromoc, .field = &F::sCodPromoc, .prompt = Prompt::lblCupomDesc, .keypad = Keypad::Letters,
     .takes = InTextSet, .room = 100, .line_feed_at_50 = true, .display = AsTyped<&F::sCodPromoc>,
     .line_feed_field = &F::sCodPromoc, .after_enter = PassoNenhum,
     .slot = 4, .slot_length = 0},
    {.passo = PassoIdEstrangeira, .field = &F::sIdEstrangeira, .prompt = Prompt::lblIdEstrangeira,
     .keypad = Keypad::Letters,
     .takes = InTextSet, .room = 20, .display = AsTyped<&F::sIdEstrangeira>,
     .needs_answer = true, .line_feed_field = &F::sIdEstrangeira, .after_enter = PassoNome,
     .declines_all = true,
     .slot = 5, .slot_length = 20},
    {.passo = PassoEmail, .field = &F::sEmailCupom, .prompt = Prompt::lblEmailCupom, .keypad = Keypad::Letters,
     .takes = InEmailSet, .room = 50, .display = AsTyped<&F::sEmailCupom>,
     .line_feed_field = &F::sEmailCupom, .after_enter = PassoNenhum,
     .declines_all = true, .declined_with = &F::sPedeEmail,
     .slot = 6, .slot_length = 50},
    {.passo = PassoPesqCons, .field = &F::sPesqCons, .prompt = Prompt::lblPesqCons, .keypad = Keypad::Letters,
     .takes = InTextSet, .room = 50, .display = AsTyped<&F::sPesqCons>,
     .line_feed_field = &F::sPesqCons, .after_enter = PassoNenhum,
     .declines_all = true,
     .slot = 7, .slot_length = 50},
}};
// clang-format on

namespace {

// Row i is step i + 1 and fills slot i, so a step finds its row by index and decline finds the
// later answers in the later rows; every row has a field and room on the display. (Whether a
// function pointer is null is no constant expression in a sanitizer build.)
constexpr bool RowsStandInStepOrder()
{
    for (std::size_t row = 0; row < kPassos.size(); ++row) {
        const PassoInfo& info = kPassos[row];
        if (RowOf(info.passo) != row || info.slot != static_cast<int>(row))
            return false;
        if (info.field == nullptr || info.room == 0)
            return false;
    }
    return true;
}
static_assert(RowsStandInStepOrder());

}  // namespace

const PassoInfo* InfoDoPasso(Passo step)
{
    if (step == PassoNenhum || RowOf(step) >= kPassos.size())
        return nullptr;
    return &kPassos[RowOf(step)];
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
