// The identification flow end to end: document, name and address through the exported entry,
// with a scripted customer on the headless screen.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/call_harness.h"
#include "support/message_recorder.h"
#include "entry/entry.h"
#include "host/forms/messages.h"
#include "host/services/services.h"
#include "host/text/strings.h"

using testing_support::Call;
using testing_support::CallResult;

namespace {

using Slots = std::array<std::string, 8>;

const std::string kInvalidDocument = "Número do CPF/CNPJ inválido.";
const std::string kBranchDocument = "CNPJ informado deve ser diferente do CNPJ da filial.";
const std::string kDocumentPrompt = "Informe o CPF ou CNPJ";
const std::string kNamePrompt = "Informe o Nome";
const std::string kAddressPrompt = "Informe o endereço";
const std::string kValidCpf = "52998224725";
const std::string kValidCnpj = "11222333000181";

// Name and address not asked: a confirmed document ends the call.
Call DocumentOnly() { return Call().Param(7, "N"); }

bool Contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The trace lines of one kind that come after the first line equal to `after`.
std::vector<std::string> LinesAfter(const CallResult& result, const std::string& after, const std::string& kind)
{
    std::vector<std::string> lines;
    bool seen = false;
    for (const std::string& line : result.trace) {
        if (line == after)
            seen = true;
        else if (seen && line.starts_with(kind + ": "))
            lines.push_back(line.substr(kind.size() + 2));
    }
    return lines;
}

TEST(IdentificationFlow, TypicalCallAsksDocumentThenNameThenAddress)
{
    const CallResult result = Call().Run(kValidCpf + "{Enter}maria{Enter}rua das flores{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots, (Slots{kValidCpf, "maria", "rua das flores", "N", "N", "N", "", "N"}));
    EXPECT_EQ(result.Lines("prompt"), (std::vector<std::string>{kDocumentPrompt, kNamePrompt, kAddressPrompt}));
    EXPECT_EQ(result.Lines("keypad"), (std::vector<std::string>{"digits", "letters"}));
    EXPECT_EQ(result.Lines("step"), (std::vector<std::string>{"1", "2", "3", "0"}));
    EXPECT_TRUE(Contains(result.Lines("display"), "529.982.247-25"));
    EXPECT_TRUE(Contains(result.Lines("display"), "MARIA"));
    EXPECT_TRUE(result.Lines("message").empty());
}

struct TypedDocument {
    const char* digits;
    bool accepted;
};

void PrintTo(const TypedDocument& document, std::ostream* out) { *out << document.digits; }

class TypedDocumentCheck : public testing::TestWithParam<TypedDocument> {};

TEST_P(TypedDocumentCheck, IsAcceptedOrRejectedWithTheInvalidDocumentMessage)
{
    const TypedDocument& document = GetParam();
    const std::string typed = document.digits;
    if (document.accepted) {
        const CallResult result = DocumentOnly().Run(typed + "{Enter}");
        ASSERT_FALSE(result.error) << *result.error;
        EXPECT_EQ(result.slots[0], typed);
        EXPECT_EQ(result.slots[1], "CONSUMIDOR FINAL");
        EXPECT_TRUE(result.Lines("message").empty());
    } else {
        // Rejected: the message, then the step again, where the customer declines.
        const CallResult result = DocumentOnly().Run(typed + "{Enter}{Enter}{Escape}");
        ASSERT_FALSE(result.error) << *result.error;
        EXPECT_EQ(result.Lines("message"), std::vector<std::string>{kInvalidDocument});
        EXPECT_EQ(LinesAfter(result, "message: " + kInvalidDocument, "step").front(), "1");
        EXPECT_EQ(result.slots, Slots{});
    }
}

INSTANTIATE_TEST_SUITE_P(
    Documents, TypedDocumentCheck,
    testing::Values(TypedDocument{"52998224725", true}, TypedDocument{"12345678909", true},
                    TypedDocument{"11222333000181", true}, TypedDocument{"00000000000191", true},
                    TypedDocument{"52998224724", false}, TypedDocument{"11222333000180", false},
                    TypedDocument{"00000000000", false}, TypedDocument{"11111111111", false},
                    TypedDocument{"22222222222", false}, TypedDocument{"33333333333", false},
                    TypedDocument{"44444444444", false}, TypedDocument{"55555555555", false},
                    TypedDocument{"66666666666", false}, TypedDocument{"77777777777", false},
                    TypedDocument{"88888888888", false}, TypedDocument{"99999999999", false},
                    TypedDocument{"00000000000000", false}, TypedDocument{"00011111111111", false},
                    TypedDocument{"0", false}, TypedDocument{"5", false}, TypedDocument{"123", false},
                    TypedDocument{"1234567890", false}, TypedDocument{"123456789012", false},
                    TypedDocument{"1234567890123", false}));

TEST(IdentificationFlow, RejectedDocumentReopensTheStepShowingItMasked)
{
    struct Case {
        const char* typed;
        const char* reopened;
    };
    for (const Case& reopen : {Case{"5", "5..-"}, Case{"123", "123..-"}, Case{"123456789012", "123.456.789-01"},
                               Case{"1234567890123", "12.345.678/9012-3"}}) {
        const CallResult result = DocumentOnly().Run(std::string(reopen.typed) + "{Enter}{Enter}{Escape}");
        ASSERT_FALSE(result.error) << *result.error;
        EXPECT_EQ(result.Last("display"), reopen.reopened) << reopen.typed;
        EXPECT_EQ(result.Last("prompt"), kDocumentPrompt);
        EXPECT_EQ(result.Last("keypad"), "digits");
    }
}

TEST(IdentificationFlow, RejectionUsesTheOneMessageCallShape)
{
    const CallResult result = DocumentOnly().Param(6, "CAIXA 07").Run("5{Enter}[ok]{Escape}");
    ASSERT_FALSE(result.error) << *result.error;
    const Mensagemvlx::Chamada& shown = testing_support::LastMessage();
    EXPECT_EQ(shown.texto, host::Utf8ToCp1252(kInvalidDocument));
    EXPECT_EQ(shown.titulo, "");
    EXPECT_EQ(shown.confirma, "N");
    EXPECT_EQ(shown.cancela, "N");
    EXPECT_EQ(shown.tipo, 3);
    EXPECT_EQ(shown.ajuda, "");
    EXPECT_EQ(shown.contexto, "CAIXA 07");
    EXPECT_EQ(shown.codigo, 0);
    EXPECT_FALSE(shown.com_dados);
}

TEST(IdentificationFlow, CustomerCorrectsARejectedDocument)
{
    const CallResult result = DocumentOnly().Run("52998224724{Enter}{Enter}{Delete}" + kValidCpf + "{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots[0], kValidCpf);
    EXPECT_EQ(result.Lines("message").size(), 1u);
}

TEST(IdentificationFlow, EnterWithoutDigitsDoesNothing)
{
    const CallResult result = DocumentOnly().Run("{Enter}[sbtEnter]" + kValidCpf + "[sbtEnter]");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots[0], kValidCpf);
    EXPECT_TRUE(result.Lines("message").empty());
}

struct PrefilledDocument {
    const char* prefilled;
    const char* script;
    const char* returned;
    bool rejected;  // cleared with the invalid-document message, then asked
};

class PrefilledDocumentCheck : public testing::TestWithParam<PrefilledDocument> {};

// A pre-filled document is checked by the CPF rule alone, and only up to 11 characters.
TEST_P(PrefilledDocumentCheck, SkipsTheStepOrClearsAndAsks)
{
    const PrefilledDocument& document = GetParam();
    const CallResult result = Call().Param(0, document.prefilled).Run(document.script);
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots[0], document.returned);
    if (document.rejected) {
        EXPECT_EQ(result.Lines("message"), std::vector<std::string>{kInvalidDocument});
        EXPECT_EQ(result.Lines("prompt").front(), kDocumentPrompt);
    } else {
        EXPECT_TRUE(result.Lines("message").empty());
        EXPECT_EQ(result.Lines("prompt"), (std::vector<std::string>{kNamePrompt, kAddressPrompt}));
        EXPECT_EQ(result.slots[1], "CONSUMIDOR FINAL");
    }
}

void PrintTo(const PrefilledDocument& document, std::ostream* out) { *out << document.prefilled; }

INSTANTIATE_TEST_SUITE_P(
    Documents, PrefilledDocumentCheck,
    testing::Values(PrefilledDocument{"52998224725", "{Enter}{Enter}", "52998224725", false},
                    PrefilledDocument{"11111111111", "{Enter}{Enter}", "11111111111", false},
                    PrefilledDocument{"12345678901234", "{Enter}{Enter}", "12345678901234", false},
                    PrefilledDocument{"529.982.247-25", "{Enter}{Enter}", "529.982.247-25", false},
                    PrefilledDocument{"52998224724", "{Enter}12345678909{Enter}{Enter}{Enter}", "12345678909", true},
                    PrefilledDocument{"123", "{Enter}12345678909{Enter}{Enter}{Enter}", "12345678909", true},
                    PrefilledDocument{"abc", "{Enter}{Escape}", "", true}));

TEST(IdentificationFlow, PrefilledRejectedDocumentOpensAnEmptyStep)
{
    const CallResult result = DocumentOnly().Param(0, "52998224724").Run("{Enter}{Escape}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(LinesAfter(result, "message: " + kInvalidDocument, "display"), std::vector<std::string>{""});
    EXPECT_EQ(Cli_Tzc04182::frmCNPJCPF->lblInforma.GetText(), "");
}

// The branch's own CNPJ, as the branch parameter file would give it.
class BranchDocument : public testing::Test {
protected:
    void SetUp() override
    {
        if (Cli_Tzc04182::frmCNPJCPF == nullptr) {
            ASSERT_FALSE(Call().Run("{Escape}").error);
        }
        Cli_Tzc04182::frmCNPJCPF->sCNPJFilial = kValidCnpj;
    }
    void TearDown() override
    {
        if (Cli_Tzc04182::frmCNPJCPF != nullptr)
            Cli_Tzc04182::frmCNPJCPF->sCNPJFilial.clear();
    }
};

TEST_F(BranchDocument, TypedBranchCnpjIsRejectedAndShownAgain)
{
    const CallResult result = DocumentOnly().Run(kValidCnpj + "{Enter}{Enter}{Escape}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.Lines("message"), std::vector<std::string>{kBranchDocument});
    EXPECT_EQ(result.Last("display"), "11.222.333/0001-81");
    EXPECT_EQ(result.slots, Slots{});
}

// Skipped on every pass, a pre-filled branch CNPJ would be refused for ever: after the one
// message the step opens, and the customer corrects the number.
TEST_F(BranchDocument, PrefilledBranchCnpjOpensTheStepAfterOneMessage)
{
    const CallResult result = DocumentOnly().Param(0, kValidCnpj).Run("{Enter}{Delete}" + kValidCpf + "{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.Lines("message"), std::vector<std::string>{kBranchDocument});
    EXPECT_EQ(LinesAfter(result, "message: " + kBranchDocument, "display").front(), "11.222.333/0001-81");
    EXPECT_EQ(result.slots[0], kValidCpf);
}

TEST_F(BranchDocument, PrefilledBranchCnpjCanBeDeclined)
{
    const CallResult result = DocumentOnly().Param(0, kValidCnpj).Run("{Enter}{Escape}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots, Slots{});
}

// Confirmed in the step, a value that is no decimal number within 64 bits is an invalid document,
// not an error of the call.
TEST_F(BranchDocument, PrefilledNonNumberConfirmedInTheStepIsAnInvalidDocument)
{
    Cli_Tzc04182::frmCNPJCPF->sCNPJFilial = "11.222.333/0001-81";
    const CallResult result = DocumentOnly().Param(0, "11.222.333/0001-81").Run("{Enter}{Enter}{Enter}{Escape}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.Lines("message"), (std::vector<std::string>{kBranchDocument, kInvalidDocument}));
    EXPECT_EQ(result.slots, Slots{});
}

// Enter on the foreign identification and "Não informar" handled in one dispatch: the decline
// leaves the typed document in place, and no step can open again to correct it.
TEST_F(BranchDocument, BranchCnpjLeftByADeclineIsRefusedOnceAndNotReturned)
{
    Kvb00917::RelFiscais = [] {
        const host::HWND window = Cli_Tzc04182::frmCNPJCPF->GetHandle();
        host::PostMessageA(window, host::WM_KEYDOWN, host::VK_RETURN, 0);
        host::PostMessageA(window, host::WM_KEYDOWN, host::VK_ESCAPE, 0);
    };
    const CallResult result = Call().Param(9, "S").Run(kValidCnpj + "[sbtIdEstrangeira]X1{F1}{Enter}");
    Kvb00917::RelFiscais = nullptr;
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.Lines("message"), std::vector<std::string>{kBranchDocument});
    EXPECT_EQ(result.slots, Slots{});
}

TEST_F(BranchDocument, OtherDocumentsPass)
{
    const CallResult result = DocumentOnly().Run("11444777000161{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots[0], "11444777000161");
}

TEST(IdentificationFlow, NoNameStepGivesADocumentTheDefaultName)
{
    struct Case {
        const char* terminal;
        const char* pede_nome_endereco;
    };
    for (const Case& without : {Case{"TAA", "S"}, Case{"PDV", "N"}, Case{"PDV", "s"}, Case{"PDV", ""}}) {
        const CallResult result = Call()
                                      .Param(1, "JOSE DA SILVA")
                                      .Param(2, "RUA A 10")
                                      .Param(5, without.terminal)
                                      .Param(7, without.pede_nome_endereco)
                                      .Run(kValidCpf + "{Enter}");
        ASSERT_FALSE(result.error) << *result.error;
        EXPECT_EQ(result.slots, (Slots{kValidCpf, "CONSUMIDOR FINAL", "RUA A 10", "N", "N", "N", "", "N"}))
            << without.terminal << " " << without.pede_nome_endereco;
        EXPECT_FALSE(Contains(result.Lines("prompt"), kNamePrompt));
    }
}

TEST(IdentificationFlow, ShortNameAndAddressRulesApplyWhenADocumentWasGiven)
{
    struct Case {
        const char* name;
        const char* address;
        const char* returned_name;
        const char* returned_address;
    };
    for (const Case& rule : {Case{"", "", "CONSUMIDOR FINAL", ""}, Case{"ab", "rua x", "CONSUMIDOR FINAL", "rua x"},
                             Case{"abc", "rua x", "abc", "rua x"}, Case{"abc", "ruax", "abc", ""},
                             Case{"abc", "r", "abc", ""}, Case{"a c", "ru  a", "a c", "ru  a"}}) {
        const CallResult result =
            Call().Run(kValidCpf + "{Enter}" + rule.name + "{Enter}" + rule.address + "{Enter}");
        ASSERT_FALSE(result.error) << *result.error;
        EXPECT_EQ(result.slots[1], rule.returned_name) << rule.name;
        EXPECT_EQ(result.slots[2], rule.returned_address) << rule.address;
    }
}

TEST(IdentificationFlow, PrefilledNameAndAddressAreProposedAndKept)
{
    const CallResult result = Call().Param(1, "Maria").Param(2, "Rua B 20").Run(kValidCpf + "{Enter}{Enter}{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots[1], "Maria");
    EXPECT_EQ(result.slots[2], "Rua B 20");
    EXPECT_TRUE(Contains(result.Lines("display"), "Maria"));
    EXPECT_TRUE(Contains(result.Lines("display"), "Rua B 20"));
}

TEST(IdentificationFlow, NameOnlyPathNeverDefaultsNorClears)
{
    struct Case {
        const char* somente_nome;
        const char* pede_cpf;
        bool asks_address;
    };
    for (const Case& path : {Case{"S", "S", false}, Case{"N", "N", true}, Case{"S", "N", true}, Case{"S", "", true},
                             Case{"S", "n", true}}) {
        const std::string script = path.asks_address ? "ab{Enter}{Delete}rua{Enter}" : "ab{Enter}";
        const CallResult result = Call()
                                      .Param(0, kValidCpf)
                                      .Param(2, "PREVIA")
                                      .Param(4, path.somente_nome)
                                      .Param(15, path.pede_cpf)
                                      .Run(script);
        ASSERT_FALSE(result.error) << *result.error;
        const std::vector<std::string> prompts =
            path.asks_address ? std::vector<std::string>{kNamePrompt, kAddressPrompt} : std::vector<std::string>{kNamePrompt};
        EXPECT_EQ(result.Lines("prompt"), prompts) << path.somente_nome << path.pede_cpf;
        EXPECT_EQ(result.Lines("keypad"), std::vector<std::string>{"letters"});
        EXPECT_EQ(result.slots[0], kValidCpf);
        EXPECT_EQ(result.slots[1], "ab");
        EXPECT_EQ(result.slots[2], path.asks_address ? "rua" : "PREVIA");
    }
}

TEST(IdentificationFlow, CrmPromptAcceptsTheSameDocuments)
{
    const CallResult crm = DocumentOnly().Param(16, "S").Run(kValidCnpj + "{Enter}");
    ASSERT_FALSE(crm.error) << *crm.error;
    EXPECT_EQ(crm.Lines("prompt").front(), "CPF para o OndrixCRM");
    EXPECT_EQ(crm.slots[0], kValidCnpj);

    const CallResult lower = DocumentOnly().Param(16, "s").Run(kValidCnpj + "{Enter}");
    EXPECT_EQ(lower.Lines("prompt").front(), kDocumentPrompt);
}

struct Decline {
    const char* where;
    std::string script;
    Slots returned;
};

void PrintTo(const Decline& decline, std::ostream* out) { *out << decline.where << ": " << decline.script; }

class IdentificationDecline : public testing::TestWithParam<Decline> {};

TEST_P(IdentificationDecline, KeepsWhatCameBeforeTheStep)
{
    const Decline& decline = GetParam();
    for (const char* how : {"{Escape}", "[sbtSair]"}) {
        const CallResult result = Call().Param(9, "S").Param(12, "a@b.com").Run(decline.script + how);
        ASSERT_FALSE(result.error) << *result.error;
        EXPECT_EQ(result.slots, decline.returned) << decline.where << " " << how;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, IdentificationDecline,
    testing::Values(Decline{"document", "", Slots{}}, Decline{"document", "5299", Slots{}},
                    Decline{"name", kValidCpf + "{Enter}jo", Slots{kValidCpf, "CONSUMIDOR FINAL"}},
                    Decline{"address", kValidCpf + "{Enter}maria{Enter}rua", Slots{kValidCpf, "maria"}}));

TEST(IdentificationFlow, DeclineOnTheNameOnlyPathKeepsThePrefilledDocument)
{
    const CallResult result = Call().Param(0, kValidCpf).Param(1, "JO").Param(4, "S").Run("{Escape}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots, (Slots{kValidCpf}));
}

// "APC" terminals: each step of the flow has 20 seconds from its start.
Call Apc() { return Call().Param(5, "APC"); }

TEST(IdentificationTimeout, DocumentStepUntouchedFor20SecondsIsDeclined)
{
    const CallResult result = Apc().Param(1, "PREVIO").Run("{wait 20.5s}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots, Slots{});
}

TEST(IdentificationTimeout, TypingDoesNotRestartTheCount)
{
    const CallResult result = Apc().Run("5299822472{wait 15s}5{wait 6s}{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots, Slots{});
}

TEST(IdentificationTimeout, EachStepGetsAFresh20Seconds)
{
    const CallResult result =
        Apc().Run("{wait 19s}" + kValidCpf + "{Enter}{wait 19s}maria{Enter}{wait 19s}rua x{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots, (Slots{kValidCpf, "maria", "rua x", "N", "N", "N", "", "N"}));
}

TEST(IdentificationTimeout, NameStepTimeoutKeepsTheDocument)
{
    const CallResult result = Apc().Run(kValidCpf + "{Enter}mar{wait 21s}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots, (Slots{kValidCpf, "CONSUMIDOR FINAL"}));
}

TEST(IdentificationTimeout, AddressStepTimeoutKeepsDocumentAndName)
{
    const CallResult result = Apc().Run(kValidCpf + "{Enter}maria{Enter}{wait 20s}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots, (Slots{kValidCpf, "maria"}));
}

// The count stops while the rejection message is shown and starts again with the step.
TEST(IdentificationTimeout, RejectionRestartsTheCount)
{
    const std::string rejected = "5{wait 15s}{Enter}{wait 10s}{Enter}";
    const CallResult in_time = Apc().Param(7, "N").Run(rejected + "{wait 19s}{Delete}" + kValidCpf + "{Enter}");
    ASSERT_FALSE(in_time.error) << *in_time.error;
    EXPECT_EQ(in_time.slots[0], kValidCpf);

    const CallResult late = Apc().Param(7, "N").Run(rejected + "{wait 21s}{Delete}" + kValidCpf + "{Enter}");
    ASSERT_FALSE(late.error) << *late.error;
    EXPECT_EQ(late.slots, Slots{});
}

TEST(IdentificationTimeout, NameOnlyPathIsTimedToo)
{
    const CallResult result = Apc().Param(2, "RUA PREVIA").Param(4, "S").Param(15, "N").Run("ana{Enter}{wait 20s}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots[1], "ana");
    EXPECT_EQ(result.slots[2], "");
}

TEST(IdentificationTimeout, OtherTerminalsWaitForEver)
{
    for (const char* terminal : {"PDV", "TAA", "apc", "APC "}) {
        const CallResult result = Call().Param(5, terminal).Param(7, "N").Run("{wait 300s}" + kValidCpf + "{Enter}");
        ASSERT_FALSE(result.error) << *result.error;
        EXPECT_EQ(result.slots[0], kValidCpf) << terminal;
    }
}

// A call that fails inside a timed step leaves no running timer behind for the next call.
TEST(IdentificationTimeout, NoTickReachesALaterCall)
{
    const CallResult broken = Apc().Run(kValidCpf + "{Enter}");
    ASSERT_TRUE(broken.error);
    EXPECT_EQ(*broken.error, "input ended at step 2");

    const CallResult next = Call().Param(3, "S").Run("{wait 30s}11987654321{Enter}");
    ASSERT_FALSE(next.error) << *next.error;
    EXPECT_EQ(next.slots[3], "11987654321");
    EXPECT_FALSE(Cli_Tzc04182::frmCNPJCPF->tmrCancAutoPag.Enabled());
}

}  // namespace
