#include "support/random_customer.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "entry/entry.h"
#include "host/forms/application.h"
#include "host/screens/headless_screen.h"
#include "host/text/strings.h"

namespace testing_support {

using Cli_Tzc04182::frmCNPJCPF;
using Cli_Tzc04182::nPasso;

namespace {

constexpr int kDeclines = 30;

std::string Digits(std::string_view text)
{
    std::string digits;
    for (const char c : text)
        if (c >= '0' && c <= '9')
            digits += c;
    return digits;
}

bool AllDigits(std::string_view text) { return Digits(text).size() == text.size(); }

std::string Quoted(std::string_view cp1252)
{
    const std::string utf8 = host::Cp1252ToUtf8(cp1252);
    std::string quoted = "'";
    for (const char c : utf8)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// A text of up to `longest` bytes: mostly letters and digits, now and then any byte.
std::string RandomText(Choices& choices, uint32_t longest)
{
    static constexpr std::string_view kCommon = "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcxyz0123456789.,/-@";
    std::string text(choices.Below(longest + 1), ' ');
    for (char& c : text)
        c = choices.Chance(90) ? kCommon[choices.Below(kCommon.size())] : static_cast<char>(1 + choices.Below(255));
    return text;
}

const host::TLabel& PromptOf(const Cli_Tzc04182::TfrmCNPJCPF& dialog, uint8_t step)
{
    switch (step) {
    case 1: return dialog.lblTexto;
    case 5: return dialog.lblCupomDesc;
    case 6: return dialog.lblIdEstrangeira;
    case 7: return dialog.lblEmailCupom;
    case 8: return dialog.lblPesqCons;
    default: return dialog.lblTexto2;
    }
}

void CollectTouchable(host::TControl& control, std::vector<host::TControl*>& found)
{
    if (!control.Showing() || !control.Enabled())
        return;
    if (control.Kind() == host::TControlKind::Button)
        found.push_back(&control);
    for (const auto& child : control.Children())
        CollectTouchable(*child, found);
}

// The tzc-host command line of the call, for replaying it with the customer's script.
std::string Describe(const Parameters& params)
{
    std::string line = "tzc-host --screen headless";
    for (std::size_t i = 0; i < params.size(); ++i)
        line += " --param " + Quoted(std::to_string(i) + "=" + params[i]);
    return line;
}

}  // namespace

uint32_t ByteChoices::Below(uint32_t bound)
{
    uint32_t value = 0;
    for (uint32_t span = 1; span < bound && at_ < bytes_.size(); span <<= 8)
        value = (value << 8) | bytes_[at_++];
    return value % bound;
}

Parameters RandomParameters(Choices& choices)
{
    Parameters p = {"", "", "", "N", "N", "PDV", "", "S", "N", "N", "N", "N", "", "N", "N", "S", "N"};
    static constexpr int kFlowFlags[] = {3, 8, 11, 14, -1, -1, -1, -1};
    if (const int flag = choices.Pick(kFlowFlags); flag >= 0)
        p[flag] = "S";
    static constexpr const char* kTerminals[] = {"PDV", "APC", "TAA"};
    static constexpr const char* kFlags[] = {"S", "N", "", "s"};
    static constexpr const char* kDocuments[] = {"",         "",           "",       "52998224725", "11111111111",
                                                 "123",      "11444777000161", "1234567890123456", "529.982.247-25"};
    static constexpr const char* kEmails[] = {"", "cliente@loja.com.br", "x@y", "@a.b"};
    p[0] = choices.Pick(kDocuments);
    p[1] = choices.Chance(30) ? RandomText(choices, 36) : "";
    p[2] = choices.Chance(30) ? RandomText(choices, 84) : "";
    p[4] = choices.Chance(20) ? "S" : "N";
    p[5] = choices.Pick(kTerminals);
    p[6] = choices.Chance(10) ? RandomText(choices, 20) : "";
    p[7] = choices.Chance(70) ? "S" : "N";
    p[9] = choices.Chance(40) ? "S" : "N";
    p[10] = choices.Pick(kFlags);
    p[12] = choices.Pick(kEmails);
    p[13] = choices.Pick(kFlags);
    p[15] = choices.Pick(kFlags);
    p[16] = choices.Chance(20) ? "S" : "N";
    p[17] = choices.Chance(30) ? "S" : "N";
    return p;
}

Call CallWith(const Parameters& params)
{
    Call call;
    for (int i = 0; i < 18; ++i)
        call.Param(i, host::Variant(std::string_view(params[static_cast<std::size_t>(i)])));
    return call;
}

std::size_t Invariants::Room(std::size_t typed, int param) const
{
    return std::max(typed, params_[static_cast<std::size_t>(param)].size());
}

std::string Invariants::Check(bool after_foreign_identification) const
{
    const Cli_Tzc04182::TfrmCNPJCPF* dialog = frmCNPJCPF;
    if (dialog == nullptr)
        return "";
    if (nPasso > 8)
        return "step " + std::to_string(nPasso);

    struct Field {
        const char* name;
        const std::string& value;
        std::size_t room;
    };
    // The telephone's display has room for 100 digits; a leading zero and the line feed do not show.
    const Field fields[] = {
        {"document", dialog->sCPFCNPJ, Room(14, 0)},
        {"name", dialog->sNome, Room(30, 1) + after_foreign_identification},
        {"address", dialog->sEndereco, Room(80, 2) + after_foreign_identification},
        {"telephone", dialog->sObsTexto, Room(102, 3)},
        {"promotional code", dialog->sCodPromoc, Room(100, 8)},
        {"foreign identification", dialog->sIdEstrangeira, Room(20, 9)},
        {"e-mail", dialog->sEmailCupom, Room(50, 12)},
        {"search", dialog->sPesqCons, Room(50, 14)},
    };
    for (const Field& field : fields)
        if (field.value.size() > field.room)
            return std::string(field.name) + " holds " + std::to_string(field.value.size()) + " bytes, room " +
                   std::to_string(field.room);
    // Typed, a document holds digits, and capitals where the call takes an alphanumeric CNPJ.
    const bool alphanumeric = params_[17] == "S";
    const bool typed_characters = std::all_of(dialog->sCPFCNPJ.begin(), dialog->sCPFCNPJ.end(), [&](char c) {
        return (c >= '0' && c <= '9') || (alphanumeric && c >= 'A' && c <= 'Z');
    });
    if (AllDigits(params_[0]) && !typed_characters)
        return "document holds " + Quoted(dialog->sCPFCNPJ);

    // What the screen shows, while a flow waits for the customer at a step: not while a message
    // is on top, after a decline, or once the flow has asked to close (a message is pending).
    if (host::Application().ActiveForm() != dialog || dialog->bSair || nPasso == 0 || host::Application().HasPending())
        return "";
    const std::string at = "step " + std::to_string(nPasso) + ": ";
    const host::TLabel* prompt = dialog->VisiblePrompt();
    if (prompt == nullptr)
        return at + "no prompt, or more than one, is showing";
    if (dialog->ntbNumerico2.Visible() == dialog->ntbAlfanumerico.Visible())
        return at + "both keypads or neither are showing";
    // After a foreign identification its prompt stays while the outer flow goes on.
    if (prompt != &PromptOf(*dialog, nPasso))
        return "";
    const std::string& display = dialog->lblInforma.GetText();
    if (nPasso == 1) {
        // The masks of a document shown again after a rejection may leave out its 12th digit.
        const std::string shown = Digits(display), typed = Digits(dialog->sCPFCNPJ);
        if (!typed.starts_with(shown) || shown.size() < std::min<std::size_t>(typed.size(), 11))
            return at + "display " + Quoted(display) + " for document " + Quoted(dialog->sCPFCNPJ);
        return "";
    }
    // The name and the address show upper-cased once typed, as the host passed them before.
    std::string expected;
    switch (nPasso) {
    case 2: expected = dialog->sNome; break;
    case 3: expected = dialog->sEndereco; break;
    case 4: expected = dialog->FormataTelefone(dialog->sObsTexto); break;
    case 5: expected = dialog->sCodPromoc; break;
    case 6: expected = dialog->sIdEstrangeira; break;
    case 7: expected = dialog->sEmailCupom; break;
    default: expected = dialog->sPesqCons; break;
    }
    const bool upper_cased = (nPasso == 2 || nPasso == 3) && display == host::UpperCase(expected);
    if (display != expected && !upper_cased)
        return at + "display " + Quoted(display) + " for the field " + Quoted(expected);
    return "";
}

std::string Invariants::CheckSlots(const std::array<std::string, 8>& slots) const
{
    const std::size_t lengths[8] = {29, 30, 80, 80, params_[10] == "S" ? 50u : 10u, 20, 50, 50};
    for (std::size_t i = 0; i < slots.size(); ++i) {
        const std::size_t bytes = host::Utf8ToCp1252(slots[i]).size();
        if (bytes > lengths[i])
            return "slot " + std::to_string(i) + " holds " + std::to_string(bytes) + " bytes, its length is " +
                   std::to_string(lengths[i]);
    }
    return "";
}

std::optional<host::ScriptAction> RandomCustomer::Next()
{
    if (!broken_.empty())
        return std::nullopt;
    if (std::string broken = invariants_.Check(foreign_identification_); !broken.empty()) {
        broken_ = broken + "\n  after the customer did: " + script_;
        return std::nullopt;
    }
    if (acted_ >= budget_ + kDeclines)
        return std::nullopt;
    return acted_++ < budget_ ? Random() : Decline();
}

host::ScriptAction RandomCustomer::Random()
{
    const uint32_t roll = choices_.Below(100);
    if (roll < 40) {
        static constexpr std::string_view kLikely =
            "0123456789012345678901234567890123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ ,./-@_+;{[\xC7\xE7\xE3";
        if (choices_.Chance(75))
            return Typed(kLikely[choices_.Below(kLikely.size())]);
        return Typed(static_cast<char>(choices_.Below(256)));
    }
    if (roll < 70)
        if (std::optional<host::ScriptAction> touch = Touch())
            return *touch;
    if (roll < 97) {
        // Escape ends the call: now and then only, so that most calls go deep.
        static constexpr uint16_t kKeys[] = {host::VK_RETURN, host::VK_RETURN, host::VK_BACK,
                                             host::VK_BACK,   host::VK_DELETE, host::VK_F1};
        const uint16_t key = choices_.Chance(4) ? host::VK_ESCAPE : choices_.Pick(kKeys);
        return Key(key, key == host::VK_RETURN && choices_.Chance(20));
    }
    // A pause, now and then longer than the step timer.
    host::ScriptAction pause;
    pause.kind = host::ScriptAction::Kind::End;
    pause.delay = host::Duration(int64_t(choices_.Below(30'000)) * 1000);
    script_ += "{wait " + std::to_string(pause.delay.count() / 1000) + "ms}";
    return pause;
}

host::ScriptAction RandomCustomer::Decline()
{
    const bool message_on_top = host::Application().ActiveForm() != frmCNPJCPF;
    return Key(message_on_top ? host::VK_RETURN : host::VK_ESCAPE);
}

host::ScriptAction RandomCustomer::Typed(char byte)
{
    host::ScriptAction action;
    action.kind = host::ScriptAction::Kind::Character;
    action.character = byte;
    if (byte == '{' || byte == '[')
        script_ += std::string(2, byte);
    else
        script_ += host::Cp1252ToUtf8(std::string(1, byte));
    return action;
}

host::ScriptAction RandomCustomer::Key(uint16_t key, bool shift)
{
    host::ScriptAction action;
    action.kind = host::ScriptAction::Kind::Key;
    action.key = key;
    action.shift = shift ? host::ShiftState::Shift : host::ShiftState::None;
    const char* name = key == host::VK_RETURN ? "Enter"
                       : key == host::VK_BACK ? "Backspace"
                       : key == host::VK_DELETE ? "Delete"
                       : key == host::VK_ESCAPE ? "Escape"
                                                : "F1";
    script_ += std::string("{") + (shift ? "Shift+" : "") + name + "}";
    return action;
}

std::optional<host::ScriptAction> RandomCustomer::Touch()
{
    host::TForm* top = host::Application().ActiveForm();
    if (top == nullptr)
        return std::nullopt;
    std::vector<host::TControl*> touchable;
    CollectTouchable(*top, touchable);
    if (touchable.empty())
        return std::nullopt;
    host::TControl* control = touchable[choices_.Below(static_cast<uint32_t>(touchable.size()))];
    // "Não informar" ends the call: mostly look again.
    if (control->Name() == "sbtSair" && !choices_.Chance(10))
        control = touchable[choices_.Below(static_cast<uint32_t>(touchable.size()))];
    host::ScriptAction action;
    action.kind = host::ScriptAction::Kind::Touch;
    action.name = control->Name();
    foreign_identification_ = foreign_identification_ || action.name == "sbtIdEstrangeira";
    script_ += "[" + action.name + "]";
    return action;
}

ActionSourceScope::ActionSourceScope(std::function<std::optional<host::ScriptAction>()> source)
{
    Headless().SetActionSource(std::move(source));
}

ActionSourceScope::~ActionSourceScope()
{
    Headless().SetActionSource(nullptr);
}

std::string PlayRandomCall(Choices& choices, int budget, std::string* script, CallResult* outcome)
{
    const Parameters params = RandomParameters(choices);
    const Invariants invariants(params);
    RandomCustomer customer(choices, invariants, budget);
    CallResult result;
    {
        const ActionSourceScope scope([&customer] { return customer.Next(); });
        result = CallWith(params).Run("");
    }
    if (script != nullptr)
        *script = customer.Script();
    if (outcome != nullptr)
        *outcome = result;
    std::string broken = customer.Broken();
    if (broken.empty() && result.error)
        broken = "the call failed: " + *result.error + "\n  after the customer did: " + customer.Script();
    if (broken.empty())
        broken = invariants.CheckSlots(result.slots);
    return broken.empty() ? "" : broken + "\n  with " + Describe(params);
}

}  // namespace testing_support
