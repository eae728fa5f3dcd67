// The one-answer flows (telephone, promotional code, receipt e-mail, consumer search) and the
// foreign identification, end to end through the exported entry.
#include <gtest/gtest.h>

#include <optional>

#include "support/call_harness.h"
#include "entry/entry.h"

using testing_support::Call;
using testing_support::CallResult;

namespace {

using Slots = std::array<std::string, 8>;

const std::string kValidCpf = "52998224725";
const std::string kTelephonePrompt = "Informe o telefone";
const std::string kPromoPrompt = "Informe o Código Promocional";
const std::string kForeignPrompt = "Identificação Estrangeira";
const std::string kEmailPrompt = "E-mail para envio de cupom";
const std::string kSearchPrompt = "Informe as iniciais do nome, crachá, código ou CPF do consumidor";
const std::string kInvalidEmail = "Email inválido. Favor digitar um email correto ou deixar de informar o mesmo.";
const std::string kHiddenButton = "script: [sbtIdEstrangeira] is hidden";

// Host answers pre-filled in 0 to 2, so that what a step keeps and what it empties shows.
Call Prefilled() { return Call().Param(0, kValidCpf).Param(1, "Maria").Param(2, "Rua B 20"); }

TEST(TelephoneStep, StartsEmptyOnTheDigitKeypadAndReturnsTheDigits)
{
    const CallResult result = Prefilled().Param(3, "S").Run("011987654321{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.Lines("prompt"), std::vector<std::string>{kTelephonePrompt});
    EXPECT_EQ(result.Lines("keypad"), std::vector<std::string>{"digits"});
    EXPECT_EQ(result.Lines("step"), (std::vector<std::string>{"4", "0"}));
    EXPECT_EQ(result.Lines("display").back(), "(11)98765-4321");
    EXPECT_EQ(result.slots, (Slots{kValidCpf, "Maria", "Rua B 20", "011987654321", "N", "N", "", "N"}));
}

TEST(TelephoneStep, ConfirmedAtOnceReturnsAnEmptyTelephoneNeverTheFlag)
{
    const CallResult result = Prefilled().Param(3, "S").Run("{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots[3], "");
    EXPECT_TRUE(result.Lines("display").empty());
}

TEST(TelephoneStep, DigitKeysTypeAndLettersAreRefused)
{
    const CallResult result = Call().Param(3, "S").Run("[sbt01][sbt01]ab[sbt09]{Backspace}[sbt00]{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots[3], "110");
}

TEST(TelephoneStep, DeclineKeepsDocumentNameAndAddress)
{
    const CallResult result = Prefilled().Param(3, "S").Param(12, "a@b.com").Run("1198{Escape}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots, (Slots{kValidCpf, "Maria", "Rua B 20"}));
}

TEST(PromoCodeStep, AsksOnTheLetterKeyboard)
{
    const CallResult result = Prefilled().Param(8, "S").Run("abc12{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.Lines("prompt"), std::vector<std::string>{kPromoPrompt});
    EXPECT_EQ(result.Lines("keypad"), std::vector<std::string>{"letters"});
    EXPECT_EQ(result.slots, (Slots{kValidCpf, "Maria", "Rua B 20", "N", "abc12", "N", "", "N"}));
    EXPECT_EQ(Cli_Tzc04182::frmCNPJCPF->sPedeCPF, "N");
    EXPECT_TRUE(Cli_Tzc04182::frmCNPJCPF->bCodPromoc);
}

TEST(PromoCodeStep, ReturnsTenCharactersUnlessTheLongCodeIsAsked)
{
    const std::string code = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123";  // 30
    struct Case {
        std::optional<std::string> longo;  // nullopt: element 10 absent
        std::size_t returned;
    };
    for (const Case& length : {Case{"S", 30}, Case{"N", 10}, Case{"s", 10}, Case{"", 10}, Case{std::nullopt, 10}}) {
        Call call = Call().Param(8, "S");
        if (length.longo)
            call.Param(10, *length.longo);
        else
            call.Null(10);
        const CallResult result = call.Run(code + "{Enter}");
        ASSERT_FALSE(result.error) << *result.error;
        EXPECT_EQ(result.slots[4], code.substr(0, length.returned)) << length.longo.value_or("absent");
    }
}

TEST(PromoCodeStep, LineBreakAfterFiftyCharactersIsGoneAfterEnter)
{
    const std::string sixty(60, 'A');
    const CallResult result = Call().Param(8, "S").Param(10, "S").Run(sixty + "{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(Cli_Tzc04182::frmCNPJCPF->sCodPromoc, sixty);
    EXPECT_EQ(result.slots[4], std::string(50, 'A'));
}

TEST(PromoCodeStep, DeclineKeepsTheTelephoneTheHostPassed)
{
    const CallResult result = Prefilled().Param(3, "TEL").Param(8, "S").Param(9, "S").Run("AB{Escape}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots, (Slots{kValidCpf, "Maria", "Rua B 20", "TEL"}));
}

TEST(EmailStep, ProposesTheHostAddressAndReturnsItConfirmed)
{
    const CallResult result = Prefilled().Param(11, "S").Param(12, "cliente@loja.com.br").Param(13, "S").Run("{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.Lines("prompt"), std::vector<std::string>{kEmailPrompt});
    EXPECT_EQ(result.Lines("keypad"), std::vector<std::string>{"letters"});
    EXPECT_EQ(result.Lines("display"), std::vector<std::string>{"cliente@loja.com.br"});
    EXPECT_EQ(result.slots, (Slots{kValidCpf, "Maria", "Rua B 20", "N", "N", "N", "cliente@loja.com.br", "N"}));
}

TEST(EmailStep, RejectedAddressKeepsTheStepOpenWithTheAddressShown)
{
    const CallResult result = Call().Param(11, "S").Param(12, "ana@b").Param(13, "S").Run("{Enter}{Enter}ol.com{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.Lines("message"), std::vector<std::string>{kInvalidEmail});
    EXPECT_EQ(result.Lines("display"), (std::vector<std::string>{"ana@b", "ana@bo", "ana@bol", "ana@bol.",
                                                                 "ana@bol.c", "ana@bol.co", "ana@bol.com"}));
    EXPECT_EQ(result.slots[6], "ana@bol.com");
}

TEST(EmailStep, ValidationIsSkippedOnlyForN)
{
    struct Case {
        std::optional<std::string> valida;  // nullopt: element 13 absent, which defaults to "N"
        bool validated;
    };
    for (const Case& flag : {Case{"N", false}, Case{std::nullopt, false}, Case{"S", true}, Case{"n", true},
                             Case{"", true}}) {
        Call call = Call().Param(11, "S").Param(12, "ana@b");
        if (flag.valida)
            call.Param(13, *flag.valida);
        else
            call.Null(13);
        const CallResult result = call.Run(flag.validated ? "{Enter}{Enter}{Escape}" : "{Enter}");
        ASSERT_FALSE(result.error) << *result.error;
        EXPECT_EQ(result.Lines("message").size(), flag.validated ? 1u : 0u) << flag.valida.value_or("absent");
        EXPECT_EQ(result.slots[6], flag.validated ? "" : "ana@b");
    }
}

TEST(EmailStep, EmptyAddressIsAcceptedWithoutATest)
{
    const CallResult result = Call().Param(11, "S").Param(13, "S").Run("{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_TRUE(result.Lines("message").empty());
    EXPECT_EQ(result.slots[6], "");
}

TEST(EmailStep, DeclineEmptiesEveryAnswer)
{
    const CallResult result = Prefilled().Param(11, "S").Param(12, "a@bc.com").Run("{Escape}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots, Slots{});
}

TEST(ConsumerSearchStep, StartsEmptyAndReturnsTheText)
{
    const CallResult search = Prefilled().Param(14, "S").Run("joao 123{Enter}");
    ASSERT_FALSE(search.error) << *search.error;
    EXPECT_EQ(search.Lines("prompt"), std::vector<std::string>{kSearchPrompt});
    EXPECT_EQ(search.Lines("keypad"), std::vector<std::string>{"letters"});
    EXPECT_EQ(search.slots, (Slots{kValidCpf, "Maria", "Rua B 20", "N", "N", "N", "", "joao 123"}));
}

TEST(ConsumerSearchStep, DeclineEmptiesEveryAnswer)
{
    const CallResult result = Prefilled().Param(14, "S").Param(12, "a@bc.com").Run("jo{Escape}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots, Slots{});
}

// The side button is offered by the identification flow only: pressed in a one-answer step it
// would lead the customer into name and address under the wrong prompt.
TEST(OptionalSteps, NeverOfferTheForeignIdentificationButton)
{
    for (int flag : {3, 8, 11, 14}) {
        const CallResult result = Call().Param(flag, "S").Param(9, "S").Run("[sbtIdEstrangeira]");
        ASSERT_TRUE(result.error) << flag;
        EXPECT_EQ(*result.error, kHiddenButton) << flag;
    }
}

TEST(ForeignIdentification, TakesThePlaceOfTheDocument)
{
    const CallResult result =
        Call().Param(9, "S").Run("[sbtIdEstrangeira]{Enter}AB12345{Enter}maria{Enter}rua{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.Lines("prompt"), (std::vector<std::string>{"Informe o CPF ou CNPJ", kForeignPrompt,
                                                                "Informe o Nome", "Informe o endereço"}));
    EXPECT_EQ(result.Lines("keypad"), (std::vector<std::string>{"digits", "letters"}));
    EXPECT_EQ(result.Lines("step"), (std::vector<std::string>{"1", "6", "2", "3", "0"}));
    EXPECT_EQ(result.slots, (Slots{"", "maria", "rua", "N", "N", "AB12345", "", "N"}));
}

TEST(ForeignIdentification, ButtonDisappearsWhenPressed)
{
    const CallResult result = Call().Param(9, "S").Run("[sbtIdEstrangeira]AB{Enter}[sbtIdEstrangeira]");
    ASSERT_TRUE(result.error);
    EXPECT_EQ(*result.error, kHiddenButton);
}

TEST(ForeignIdentification, DeclineEmptiesEveryAnswer)
{
    const CallResult result = Prefilled().Param(9, "S").Param(0, "").Run("[sbtIdEstrangeira]AB{Escape}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots, Slots{});
}

// Digits typed before the button stay the document: checked as one once the identification is in.
TEST(ForeignIdentification, DocumentDigitsTypedBeforeAreStillChecked)
{
    const CallResult result = Call().Param(9, "S").Run("5299[sbtIdEstrangeira]AB1{Enter}{Enter}{Delete}" + kValidCpf +
                                                       "{Enter}maria{Enter}rua x{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.Lines("message"), std::vector<std::string>{"Número do CPF/CNPJ inválido."});
    EXPECT_EQ(result.slots, (Slots{kValidCpf, "maria", "rua x", "N", "N", "AB1", "", "N"}));
}

// Taken in the name step, the identification's Enter leaves the name step in force: the next
// text is the name, and the address step shows its own prompt again.
TEST(ForeignIdentification, InTheNameStepTheFlowGoesOnToTheAddress)
{
    const CallResult result =
        Call().Param(9, "S").Run(kValidCpf + "{Enter}[sbtIdEstrangeira]X9{Enter}maria{Enter}rua das flores{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.Lines("prompt"), (std::vector<std::string>{"Informe o CPF ou CNPJ", "Informe o Nome",
                                                                kForeignPrompt, "Informe o endereço"}));
    EXPECT_EQ(result.slots, (Slots{kValidCpf, "maria", "rua das flores", "N", "N", "X9", "", "N"}));
}

TEST(ForeignIdentification, DocumentStepTimerKeepsRunningOnApc)
{
    const CallResult late = Prefilled().Param(0, "").Param(5, "APC").Param(9, "S").Run(
        "{wait 10s}[sbtIdEstrangeira]{wait 11s}AB{Enter}");
    ASSERT_FALSE(late.error) << *late.error;
    EXPECT_EQ(late.slots, Slots{});

    const CallResult in_time = Call().Param(5, "APC").Param(9, "S").Run(
        "{wait 10s}[sbtIdEstrangeira]{wait 9s}AB{Enter}{wait 19s}maria{Enter}{wait 19s}rua x{Enter}");
    ASSERT_FALSE(in_time.error) << *in_time.error;
    EXPECT_EQ(in_time.slots, (Slots{"", "maria", "rua x", "N", "N", "AB", "", "N"}));
}

TEST(ForeignIdentification, NotOfferedUnlessTheCallAllowsIt)
{
    for (const char* flag : {"N", "s", ""}) {
        const CallResult result = Call().Param(9, flag).Run("[sbtIdEstrangeira]");
        ASSERT_TRUE(result.error) << flag;
        EXPECT_EQ(*result.error, kHiddenButton) << flag;
    }
}

}  // namespace
