// Typed characters: allowed per step, added to the step's field while the display has room.
#include <limits>

#include "dialog/char_sets.h"
#include "dialog/frmCNPJCPF.h"
#include "dialog/step_fields.h"
#include "host/text/strings.h"

namespace Cli_Tzc04182 {

using namespace host;

namespace {

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// An alphanumeric CNPJ has letters in the twelve places before its two check digits.
constexpr std::size_t kCnpjBaseLength = 12;

// The name takes letters and the blank only.
bool IsNameCharacter(unsigned char c)
{
    return c == ' ' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == 199 || c == 231;
}

bool InTextSet(unsigned char c) { return kTextSet.Contains(c); }
bool InEmailSet(unsigned char c) { return kEmailSet.Contains(c); }

constexpr std::size_t kUnlimited = std::numeric_limits<std::size_t>::max();

struct StepRule {
    bool (*allowed)(unsigned char) = nullptr;
    std::size_t room = 0;            // the display must be shorter than this
    std::size_t field_limit = kUnlimited;
    bool line_feed_at_50 = false;
};

StepRule RuleFor(Passo step)
{
    switch (step) {
    case PassoDocumento: return {IsDigit, 29, 14, false};
    case PassoNome: return {IsNameCharacter, 30, kUnlimited, false};
    case PassoEndereco: return {InTextSet, 80, kUnlimited, false};
    case PassoTelefone: return {IsDigit, 100, kUnlimited, true};
    case PassoCodPromoc: return {InTextSet, 100, kUnlimited, true};
    case PassoIdEstrangeira: return {InTextSet, 20, kUnlimited, false};
    case PassoEmail: return {InEmailSet, 50, kUnlimited, false};
    case PassoPesqCons: return {InTextSet, 50, kUnlimited, false};
    default: return {};
    }
}

// The character the step stores for the one typed, or 0 when the step refuses it.
char Accepted(const TfrmCNPJCPF& dialog, const StepRule& rule, char key)
{
    const auto code = static_cast<unsigned char>(key);
    if (rule.allowed(code))
        return key;
    // A lower-case letter from a keyboard is the capital: a CNPJ is written in capitals.
    if (nPasso == PassoDocumento && dialog.AceitaCNPJAlfanumerico() && IsLetter(code) &&
        dialog.sCPFCNPJ.size() < kCnpjBaseLength)
        return UpperCase(std::string(1, key)).front();
    return 0;
}

}  // namespace

void TfrmCNPJCPF::FormKeyPress(TObject*, char& key)
{
    const StepRule rule = RuleFor(nPasso);
    if (rule.allowed == nullptr)
        return;
    const char typed = Accepted(*this, rule, key);
    if (typed == 0)
        return;
    const std::size_t shown = lblInforma.GetText().size();
    if (shown >= rule.room)
        return;
    std::string& field = *StepField(*this, nPasso);
    if (field.size() < rule.field_limit) {
        // One marker is enough: the telephone's display hides it, so it could otherwise be
        // put in again after an erase and reach the host, since Enter removes only one.
        if (rule.line_feed_at_50 && shown == 50 && field.find('\n') == std::string::npos)
            field += '\n';
        field += typed;
    }
    // Built from the field, so the display always shows what is stored, also when the step
    // opened on a masked number.
    lblInforma.SetText(StepDisplay(*this, nPasso));
}

}  // namespace Cli_Tzc04182
