// Typed characters: allowed per step, added to the step's field while the display has room.
#include "dialog/frmCNPJCPF.h"

#include <string_view>

#include "dialog/spoken.h"
#include "dialog/steps.h"
#include "host/text/strings.h"

namespace Cli_Tzc04182 {

using namespace host;

namespace {

bool IsLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// An alphanumeric CNPJ has letters in the twelve places before its two check digits.
constexpr std::size_t kCnpjBaseLength = 12;

// The plain letter of an accented Windows-1252 letter, one that is a letter and a mark ("Ã" is
// "A" and a tilde), or 0. "Æ", "Ð", "Ø", "Þ", "ß" and "Œ" are letters of their own and have none.
char PlainLetter(unsigned char code)
{
    // The codes 0xC0 to 0xFF; "." where there is no plain letter.
    static constexpr std::string_view kFromC0 = "AAAAAA.CEEEEIIII.NOOOOO..UUUUY.."
                                                "aaaaaa.ceeeeiiii.nooooo..uuuuy.y";
    switch (code) {
    case 0x8A: return 'S';
    case 0x8E: return 'Z';
    case 0x9A: return 's';
    case 0x9E: return 'z';
    case 0x9F: return 'Y';
    default: break;
    }
    const char plain = code >= 0xC0 ? kFromC0[code - 0xC0] : '.';
    return plain == '.' ? 0 : plain;
}

// The character the step stores for the one typed, or 0 when the step refuses it.
char Accepted(const TfrmCNPJCPF& dialog, const PassoInfo& passo, char key)
{
    const auto code = static_cast<unsigned char>(key);
    if (passo.takes(code))
        return key;
    // An accented letter the step's set lacks is its plain letter, so that a name typed "JOÃO"
    // loses no letter, whether the keyboard, the system's composing or a key typed it.
    if (const char plain = PlainLetter(code); plain != 0 && passo.takes(static_cast<unsigned char>(plain)))
        return plain;
    // A lower-case letter from a keyboard is the capital: a CNPJ is written in capitals.
    if (nPasso == PassoDocumento && dialog.AceitaCNPJAlfanumerico() && IsLetter(code) &&
        dialog.sCPFCNPJ.size() < kCnpjBaseLength)
        return UpperCase(std::string(1, key)).front();
    return 0;
}

}  // namespace

void TfrmCNPJCPF::FormKeyPress(TObject*, char& key)
{
    const PassoInfo* passo = InfoDoPasso(nPasso);
    if (passo == nullptr)
        return;
    const char typed = Accepted(*this, *passo, key);
    if (typed == 0)
        return;
    const std::size_t shown = lblInforma.GetText().size();
    if (shown >= passo->room)
        return;
    std::string& field = this->*passo->field;
    if (field.size() < passo->field_limit) {
        // One marker is enough: the telephone's display hides it, so it could otherwise be
        // put in again after an erase and reach the host, since Enter removes only one.
        if (passo->line_feed_at_50 && shown == 50 && field.find('\n') == std::string::npos)
            field += '\n';
        field += typed;
        SayTyped(typed);
    }
    // Built from the field, so the display always shows what is stored, also when the step
    // opened on a masked number.
    lblInforma.SetText(passo->display(*this));
}

}  // namespace Cli_Tzc04182
