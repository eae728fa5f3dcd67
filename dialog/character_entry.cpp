// Typed characters: allowed per step, appended while the display has room.
#include "dialog/char_sets.h"
#include "dialog/frmCNPJCPF.h"
#include "dialog/step_fields.h"

namespace Cli_Tzc04182 {

using namespace host;

namespace {

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

bool IsNameCharacter(unsigned char c)
{
    return c == ' ' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == 199 || c == 231;
}

struct StepRule {
    bool (*allowed)(unsigned char);
    std::size_t room;  // the display must be shorter than this
    bool line_feed_at_50;
};

StepRule RuleFor(uint8_t step)
{
    static constexpr auto text = [](unsigned char c) { return kTextSet.Contains(c); };
    static constexpr auto email = [](unsigned char c) { return kEmailSet.Contains(c); };
    switch (step) {
    case 1: return {IsDigit, 29, false};
    case 2: return {IsNameCharacter, 30, false};
    case 3: return {text, 80, false};
    case 4: return {IsDigit, 100, true};
    case 5: return {text, 100, true};
    case 6: return {text, 20, false};
    case 7: return {email, 50, false};
    case 8: return {text, 50, false};
    default: return {nullptr, 0, false};
    }
}

std::string CnpjMask(const std::string& digits)
{
    auto group = [&](std::size_t from, std::size_t count) { return from < digits.size() ? digits.substr(from, count) : ""; };
    return group(0, 2) + "." + group(2, 3) + "." + group(5, 3) + "/" + group(8, 4) + "-" + group(12, 2);
}

}  // namespace

void TfrmCNPJCPF::FormKeyPress(TObject*, char& key)
{
    const StepRule rule = RuleFor(nPasso);
    const auto c = static_cast<unsigned char>(key);
    if (rule.allowed == nullptr || !rule.allowed(c))
        return;
    const std::string display = lblInforma.GetText();
    if (display.size() >= rule.room)
        return;
    std::string& field = *StepField(*this, nPasso);

    if (nPasso == 1) {
        if (field.size() < 14)
            field += key;
        const std::size_t length = field.size();
        if (length >= 12)
            lblInforma.SetText(CnpjMask(field));
        else if (length == 3 || length == 6)
            lblInforma.SetText(display + key + ".");
        else if (length == 9)
            lblInforma.SetText(display + key + "-");
        else
            lblInforma.SetText(display + key);
        return;
    }
    if (rule.line_feed_at_50 && display.size() == 50)
        field += '\n';
    field += key;
    lblInforma.SetText(StepDisplay(*this, nPasso));
}

}  // namespace Cli_Tzc04182
