// The control keys at every step, and the on-screen keys that send them.
#include <gtest/gtest.h>

#include <algorithm>

#include "dialog/steps.h"
#include "host/forms/application.h"
#include "host/forms/messages.h"
#include "host/services/services.h"
#include "support/step_scripts.h"

using namespace testing_support;
using Cli_Tzc04182::nPasso;
using Cli_Tzc04182::TfrmCNPJCPF;

namespace {

constexpr const char* kEmailInvalid =
    "Email inválido. Favor digitar um email correto ou deixar de informar o mesmo.";

std::string Times(const std::string& keys, int count)
{
    std::string repeated;
    for (int i = 0; i < count; ++i)
        repeated += keys;
    return repeated;
}

// Publishes a fiscal-reports procedure that counts its calls, for the length of a test.
class FiscalReports {
public:
    FiscalReports()
    {
        calls = 0;
        Kvb00917::RelFiscais = [] { ++calls; };
    }
    ~FiscalReports() { Kvb00917::RelFiscais = nullptr; }
    static inline int calls = 0;
};

}  // namespace

TEST(Backspace, WalksTheDocumentDisplayBackTheWayTypingBuiltIt)
{
    const std::vector<std::string> after_each_erase = {
        "12.345.678/9012-3", "12.345.678/9012-", "123.456.789-01", "123.456.789-0", "123.456.789-",
        "123.456.78", "123.456.7", "123.456.", "123.45", "123.4", "123.", "12", "1", ""};
    for (const std::string& erase : {std::string("{Backspace}"), std::string("[sbtBackSpace]")}) {
        const auto result = Call().Run("12345678901234" + Times(erase, 15) + "{Escape}");
        ASSERT_FALSE(result.error) << *result.error;
        std::vector<std::string> expected = {"12.345.678/9012-34"};
        expected.insert(expected.end(), after_each_erase.begin(), after_each_erase.end());
        EXPECT_TRUE(ShowsInTurn(result.Lines("display"), expected)) << erase;
    }
}

TEST(Backspace, EachEraseTakesOneDigitOffTheDocument)
{
    const auto result = Call().Run(std::string(kValidCpf) + "99{Backspace}{Backspace}{Enter}{Enter}{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots[0], kValidCpf);
}

TEST(Backspace, OnAnEmptyFieldChangesNothing)
{
    for (int step = 1; step <= 8; ++step) {
        const StepScript at = AtStep(step);
        const auto erased = at.call.Run(at.opening + "{Backspace}[sbtBackSpace]{Escape}");
        const auto untouched = at.call.Run(at.opening + "{Escape}");
        ASSERT_FALSE(erased.error) << "step " << step << ": " << *erased.error;
        EXPECT_EQ(erased.trace, untouched.trace) << "step " << step;
        EXPECT_EQ(erased.slots, untouched.slots) << "step " << step;
    }
}

TEST(Backspace, ShowsEachStepsFieldAsThatStepShowsIt)
{
    struct Case {
        int step;
        std::string typed, before, after;
    };
    const Case cases[] = {
        {2, "maria", "MARIA", "MARI"},
        {3, "rua b", "RUA B", "RUA "},
        {4, "11987654321", "(11)98765-4321", "(11)9876-5432"},
        {5, "abc", "abc", "ab"},
        {6, "abc", "abc", "ab"},
        {7, "a@b", "a@b", "a@"},
        {8, "abc", "abc", "ab"},
    };
    for (const Case& c : cases) {
        const StepScript at = AtStep(c.step);
        const auto result = at.call.Run(at.opening + c.typed + "{Backspace}{Escape}");
        ASSERT_FALSE(result.error) << "step " << c.step << ": " << *result.error;
        EXPECT_TRUE(ShowsInTurn(result.Lines("display"), {c.before, c.after})) << "step " << c.step;
    }
}

TEST(Enter, OnAnEmptyDocumentDoesNothing)
{
    // Moved on, the empty document would open the name step.
    const auto result = Call().Run("{Enter}[sbtEnter]{Escape}");
    ASSERT_FALSE(result.error) << *result.error;
    const std::vector<std::string> steps = result.Lines("step");
    EXPECT_EQ(steps.front(), "1");
    EXPECT_EQ(std::count(steps.begin(), steps.end(), "2"), 0);
    EXPECT_TRUE(result.Lines("message").empty());
}

TEST(Enter, MovesEachStepOnWithShiftOrWithoutAndFromTheKeypad)
{
    for (const char* enter : {"{Enter}", "{Shift+Enter}", "[sbtEnter]"}) {
        const std::string script = std::string(kValidCpf) + enter + "maria" + enter + "rua das flores" + enter;
        const auto result = Call().Run(script);
        ASSERT_FALSE(result.error) << enter << ": " << *result.error;
        EXPECT_EQ(result.slots[0], kValidCpf) << enter;
        EXPECT_EQ(result.slots[1], "maria") << enter;
        EXPECT_EQ(result.slots[2], "rua das flores") << enter;
    }
}

TEST(Enter, AtTheAddressStepRemovesTheLineFeedFromTheTelephoneField)
{
    // The address step shares the telephone's action: the address itself is left alone.
    struct Case {
        std::string address, telephone, address_back, telephone_back;
    };
    const Case cases[] = {
        {"", "12\n34", "rua das flores", "1234"},
        {"", "a\nb\nc", "rua das flores", "ab\nc"},
        {"rua\nda paz", "N", "rua\nda paz", "N"},
    };
    for (const Case& c : cases) {
        const std::string typed = c.address.empty() ? "rua das flores" : "";
        const auto result = Call().Param(2, c.address).Param(3, c.telephone).Run(
            std::string(kValidCpf) + "{Enter}maria{Enter}" + typed + "{Enter}");
        ASSERT_FALSE(result.error) << *result.error;
        EXPECT_EQ(result.slots[2], c.address_back);
        EXPECT_EQ(result.slots[3], c.telephone_back);
    }
}

TEST(Enter, RemovesTheFirstLineFeedOfTheStepsField)
{
    struct Case {
        Cli_Tzc04182::Passo step;
        std::string before, after;
        Cli_Tzc04182::Passo next;
    };
    const Case cases[] = {
        {Cli_Tzc04182::PassoTelefone, "1\n2\n3", "12\n3", Cli_Tzc04182::PassoNenhum},
        {Cli_Tzc04182::PassoCodPromoc, "ab\ncd\ne", "abcd\ne", Cli_Tzc04182::PassoNenhum},
        {Cli_Tzc04182::PassoIdEstrangeira, "x\ny", "xy", Cli_Tzc04182::PassoNome},
        {Cli_Tzc04182::PassoEmail, "jo\nao@loja.com", "joao@loja.com", Cli_Tzc04182::PassoNenhum},
        {Cli_Tzc04182::PassoPesqCons, "ana\n", "ana", Cli_Tzc04182::PassoNenhum},
        {Cli_Tzc04182::PassoCodPromoc, "sem", "sem", Cli_Tzc04182::PassoNenhum},
    };
    CleanModule module;
    TfrmCNPJCPF& dialog = module.dialog;
    dialog.sValidaEmail = "S";
    for (const Case& c : cases) {
        module.AtStep(c.step);
        std::string& field = *Cli_Tzc04182::StepField(dialog, c.step);
        field = c.before;
        uint16_t key = host::VK_RETURN;
        dialog.FormKeyDown(&dialog, key, host::ShiftState::None);
        EXPECT_EQ(field, c.after) << "step " << int(c.step);
        EXPECT_EQ(int(nPasso), int(c.next)) << "step " << int(c.step);
        EXPECT_EQ(key, host::VK_RETURN);
    }
}

TEST(Enter, OnAnEmptyForeignIdentificationDoesNothing)
{
    const auto result = AtStep(6).call.Run("[sbtIdEstrangeira]{Enter}[sbtEnter]ab{Enter}{Enter}{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots[5], "ab");
}

TEST(Enter, AcceptsOrRefusesTheEmailByItsShape)
{
    struct Case {
        std::string typed;
        const char* validate;
        bool accepted;
    };
    // The shapes themselves are ValidaEMail's table; here what Enter does with the answer.
    const Case cases[] = {
        {"joao@loja.com", "S", true}, {"", "S", true},     {"   ", "S", false}, {"joao", "S", false},
        {"joao", "N", true},          {"joao", "n", false}, {"joao", "s", false},
    };
    for (const Case& c : cases) {
        const auto result = AtStep(7).call.Param(13, c.validate).Run(c.typed + "{Enter}");
        if (c.accepted) {
            ASSERT_FALSE(result.error) << c.typed << ": " << *result.error;
            EXPECT_EQ(result.slots[6], c.typed);
            EXPECT_TRUE(result.Lines("message").empty()) << c.typed;
        } else {
            // The step stays open, waiting for a correction.
            EXPECT_EQ(result.error, "input ended at step 7") << c.typed;
            EXPECT_EQ(result.Lines("message"), std::vector<std::string>{kEmailInvalid}) << c.typed;
        }
    }
}

TEST(Enter, RefusedEmailKeepsWhatWasTypedForTheCustomerToCorrect)
{
    const auto result = AtStep(7).call.Run("joao@lojacom{Enter}[ok]{Backspace}{Backspace}{Backspace}.com{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots[6], "joao@loja.com");
    const std::vector<std::string> steps = result.Lines("step");
    EXPECT_EQ(steps.front(), "7");
    EXPECT_EQ(steps.back(), "0");
    EXPECT_EQ(std::count(steps.begin(), steps.end(), "0"), 1);
}

TEST(Enter, ProposedEmailIsReturnedOrRefusedAsItStands)
{
    const auto accepted = AtStep(7).call.Param(12, "ana@loja.com.br").Run("{Enter}");
    ASSERT_FALSE(accepted.error) << *accepted.error;
    EXPECT_EQ(accepted.slots[6], "ana@loja.com.br");

    const auto refused = AtStep(7).call.Param(12, "ana@x.com").Run("[sbtEnter][ok]{Escape}");
    ASSERT_FALSE(refused.error) << *refused.error;
    EXPECT_EQ(refused.Lines("message"), std::vector<std::string>{kEmailInvalid});
    EXPECT_EQ(refused.Lines("display"), std::vector<std::string>{"ana@x.com"});
    EXPECT_EQ(refused.slots[6], "");
}

TEST(Delete, ClearsTheFieldAndTheDisplayAtEveryStep)
{
    // The e-mail too: "Limpar" must never visibly do nothing.
    for (int step = 1; step <= 8; ++step) {
        for (const char* clear : {"{Delete}", "[sbtLimpar]"}) {
            StepScript at = AtStep(step);
            const std::string typed = step == 1 || step == 4 ? "123" : "abc";
            const auto result = at.call.Param(12, "ana@loja.com").Run(at.opening + typed + clear + "{Escape}");
            ASSERT_FALSE(result.error) << "step " << step << ": " << *result.error;
            const std::string shown = step == 1 ? "123." : step == 2 || step == 3 ? "ABC" : step == 7 ? "ana@loja.comabc" : typed;
            EXPECT_TRUE(ShowsInTurn(result.Lines("display"), {shown, ""})) << "step " << step << " " << clear;
        }
    }
}

TEST(Delete, LeavesAnEmptyAnswer)
{
    for (const int step : {2, 3, 5, 6, 7, 8}) {
        StepScript at = AtStep(step);
        at.call.Param(12, "ana@loja.com").Param(13, "N");
        const auto result = at.call.Run(at.opening + "abc{Delete}xyzwv{Enter}" + at.closing);
        ASSERT_FALSE(result.error) << "step " << step << ": " << *result.error;
        EXPECT_EQ(result.slots[at.slot], "xyzwv") << "step " << step;
    }
}

TEST(LimparKey, IsDeleteWhileTheFullStopKeyTypesAFullStop)
{
    const StepScript at = AtStep(3);
    const auto result = at.call.Run(at.opening + "rua[sbtPonto][sbtLimpar]av[sbtPonto] brasil{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots[2], "av. brasil");
}

TEST(F1, CallsTheFiscalReportsAndChangesNothingElse)
{
    FiscalReports reports;
    const auto result = Call().Run("5{F1}2{Escape}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(FiscalReports::calls, 1);
    EXPECT_TRUE(ShowsInTurn(result.Lines("display"), {"5", "52"}));
    EXPECT_EQ(result.Lines("step").front(), "1");
}

TEST(F1, WithoutAFiscalReportsProcedureDoesNothing)
{
    ASSERT_EQ(Kvb00917::RelFiscais, nullptr);
    const auto result = Call().Run("5{F1}2{Escape}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_TRUE(ShowsInTurn(result.Lines("display"), {"5", "52"}));
}

TEST(StepZero, EveryKeyIsIgnored)
{
    FiscalReports reports;
    CleanModule module;
    TfrmCNPJCPF& dialog = module.dialog;
    dialog.sCPFCNPJ = "123";
    dialog.lblInforma.SetText("123.");
    for (uint16_t key : {host::VK_F1, host::VK_BACK, host::VK_RETURN, host::VK_DELETE, host::VK_ESCAPE}) {
        dialog.FormKeyDown(&dialog, key, host::ShiftState::None);
        char character = static_cast<char>(key);
        dialog.FormKeyPress(&dialog, character);
    }
    EXPECT_EQ(FiscalReports::calls, 0);
    EXPECT_FALSE(dialog.bSair);
    EXPECT_EQ(dialog.sCPFCNPJ, "123");
    EXPECT_EQ(dialog.lblInforma.GetText(), "123.");
    EXPECT_EQ(int(nPasso), 0);
}

TEST(ShiftState, MakesNoDifferenceToAControlKey)
{
    CleanModule module;
    TfrmCNPJCPF& dialog = module.dialog;
    for (const auto shift : {host::ShiftState::Shift, host::ShiftState::Ctrl, host::ShiftState::Alt}) {
        module.AtStep(Cli_Tzc04182::PassoPesqCons);
        dialog.sPesqCons = "abc";
        uint16_t key = host::VK_BACK;
        dialog.FormKeyDown(&dialog, key, shift);
        EXPECT_EQ(dialog.sPesqCons, "ab");
        key = host::VK_RETURN;
        dialog.FormKeyDown(&dialog, key, shift);
        EXPECT_EQ(int(nPasso), 0);
    }
}

// What one touch sends to the dialog's own window.
struct Sent {
    enum Kind { KeyDown, Character } kind;
    int code;
    friend bool operator==(const Sent&, const Sent&) = default;
};

std::ostream& operator<<(std::ostream& out, const Sent& sent)
{
    return out << (sent.kind == Sent::KeyDown ? "key-down " : "character ") << sent.code;
}

class Keypad : public testing::Test {
protected:
    Keypad()
    {
        dialog.OnKeyDown = [this](host::TObject*, uint16_t& key, host::ShiftState) { sent.push_back({Sent::KeyDown, key}); };
        dialog.OnKeyPress = [this](host::TObject*, char& key) {
            sent.push_back({Sent::Character, static_cast<unsigned char>(key)});
        };
    }
    std::vector<Sent> Touch(const std::string& name)
    {
        sent.clear();
        host::TControl* control = dialog.FindComponent(name);
        EXPECT_NE(control, nullptr) << name;
        if (control != nullptr)
            control->Click();
        return sent;
    }

    CleanModule module;
    TfrmCNPJCPF& dialog = module.dialog;
    std::vector<Sent> sent;
};

TEST_F(Keypad, EveryKeySendsItsMessageToTheDialog)
{
    struct Case {
        std::string name;
        Sent sends;
    };
    const Case cases[] = {
        {"sbt1", {Sent::Character, '1'}},      {"sbt0", {Sent::Character, '0'}},
        {"sbtQ", {Sent::Character, 'Q'}},      {"sbtM", {Sent::Character, 'M'}},
        {"sbtCCdil", {Sent::Character, 199}},  {"sbtPonto", {Sent::Character, '.'}},
        {"sbtBarra", {Sent::Character, '/'}},  {"BlendedBitBtn1", {Sent::Character, ' '}},
        {"sbtArroba", {Sent::Character, '@'}}, {"sbtUnderline", {Sent::Character, '_'}},
        {"sbtHifen", {Sent::Character, '-'}},  {"sbt01", {Sent::Character, '1'}},
        {"sbt09", {Sent::Character, '9'}},     {"sbt00", {Sent::Character, '0'}},
        {"sbtBackSpace", {Sent::KeyDown, 8}},  {"sbtLimpar", {Sent::KeyDown, 46}},
        {"sbtEnter", {Sent::KeyDown, 13}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Touch(c.name), std::vector<Sent>{c.sends}) << c.name;
}

TEST_F(Keypad, CharacterKeySendsTheLowByteOfItsTagUpperCased)
{
    host::TControl& key = *dialog.FindComponent("sbtA");
    key.Tag = 0x100 + 'q';
    EXPECT_EQ(Touch("sbtA"), (std::vector<Sent>{{Sent::Character, 'Q'}}));
    key.Tag = 0xE7;  // "ç" is no a..z letter and stays
    EXPECT_EQ(Touch("sbtA"), (std::vector<Sent>{{Sent::Character, 0xE7}}));
}

TEST_F(Keypad, PostTextSendsEachByteThenTheEnterAskedFor)
{
    dialog.PostText("a\xC7", true, true);
    EXPECT_EQ(sent, (std::vector<Sent>{{Sent::Character, 'a'}, {Sent::Character, 199}, {Sent::KeyDown, 13}}));
    sent.clear();
    dialog.PostText("ab", false, false);
    EXPECT_EQ(sent, (std::vector<Sent>{{Sent::KeyDown, 'a'}, {Sent::KeyDown, 'b'}}));
    sent.clear();
    dialog.PostText("", true, true);
    EXPECT_EQ(sent, (std::vector<Sent>{{Sent::KeyDown, 13}}));
    sent.clear();
    dialog.PostText("", false, true);
    EXPECT_TRUE(sent.empty());
}

TEST(KeypadTouches, LetterKeyboardTypesCapitalsAtEveryTextStep)
{
    for (const int step : {2, 3, 5, 6, 8}) {
        const StepScript at = AtStep(step);
        const auto result = at.call.Run(at.opening + "ab[sbtC][sbtCCdil][sbt1][sbtBarra]{Enter}" + at.closing);
        ASSERT_FALSE(result.error) << "step " << step << ": " << *result.error;
        EXPECT_EQ(result.slots[at.slot], step == 2 ? "abCÇ" : "abCÇ1/") << "step " << step;
    }
}
