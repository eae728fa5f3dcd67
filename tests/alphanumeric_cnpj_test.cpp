// The CNPJ with letters, which a call switches on with element 17 = "S": typed and touched,
// shown, checked and returned; and, with the option off, every call exactly as before.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "entry/entry.h"
#include "support/call_harness.h"
#include "support/step_scripts.h"

using namespace testing_support;

namespace {

const std::string kInvalidDocument = "Número do CPF/CNPJ inválido.";
const std::string kBranchDocument = "CNPJ informado deve ser diferente do CNPJ da filial.";
// The example the Receita Federal published with the rule.
const std::string kReceitaExample = "12ABC34501DE35";

// The Receita's rule, written here on its own: from the right, weights 2 to 9 and again 2 to 9,
// each character worth its code minus 48; a remainder below 2 gives 0, else 11 minus it.
char CheckDigit(std::string_view characters)
{
    int sum = 0, weight = 2;
    for (auto c = characters.rbegin(); c != characters.rend(); ++c) {
        sum += (*c - 48) * weight;
        weight = weight == 9 ? 2 : weight + 1;
    }
    const int rest = sum % 11;
    return static_cast<char>('0' + (rest < 2 ? 0 : 11 - rest));
}

std::string WithCheckDigits(std::string base)
{
    base += CheckDigit(base);
    base += CheckDigit(base);
    return base;
}

// The same number with one check digit changed.
std::string WrongCheckDigit(std::string cnpj, std::size_t at)
{
    cnpj[at] = static_cast<char>('0' + (cnpj[at] - '0' + 1) % 10);
    return cnpj;
}

// The option on; a confirmed document ends the call.
Call Alphanumeric() { return Call().Param(7, "N").Param(17, "S"); }

// The keys of the letter keyboard that type text.
std::string Touches(std::string_view text)
{
    std::string touches;
    for (const char c : text)
        touches += "[sbt" + std::string(1, c) + "]";
    return touches;
}

// Slot 0 as tzc-host prints it for these arguments.
std::string HostSlot0(const std::string& arguments)
{
    const std::string command = std::string(TZC_HOST) + " --screen headless --param 7=N " + arguments + " 2>&1";
    FILE* host = popen(command.c_str(), "r");
    if (host == nullptr)
        return "no tzc-host";
    std::string output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, host) != nullptr)
        output += buffer;
    pclose(host);
    const std::size_t slot = output.find("0=");
    return slot == std::string::npos ? output : output.substr(slot, output.find('\n', slot) - slot);
}

}  // namespace

TEST(AlphanumericCnpj, TheTestsRuleGivesTheReceitasExample)
{
    EXPECT_EQ(WithCheckDigits("12ABC34501DE"), kReceitaExample);
    EXPECT_EQ(WithCheckDigits("112223330001"), kValidCnpj);
}

TEST(AlphanumericCnpj, ValidNumbersAreAcceptedAndWrongCheckDigitsRejected)
{
    // Letters at either end, letters only, and one whose digits alone would be a repeated number.
    for (const char* base : {"12ABC34501DE", "ZZZZZZZZZZZZ", "A1B2C3D4E5F6", "QWERTYUIOPAS", "00000000000A", "1111111111Z1"}) {
        const std::string valid = WithCheckDigits(base);
        const CallResult accepted = Alphanumeric().Run(valid + "{Enter}");
        ASSERT_FALSE(accepted.error) << valid << ": " << *accepted.error;
        EXPECT_EQ(accepted.slots[0], valid);
        EXPECT_EQ(accepted.slots[1], "CONSUMIDOR FINAL");
        EXPECT_TRUE(accepted.Lines("message").empty()) << valid;

        for (const std::string& invalid : {WrongCheckDigit(valid, 12), WrongCheckDigit(valid, 13), valid.substr(0, 13)}) {
            const CallResult rejected = Alphanumeric().Run(invalid + "{Enter}[ok]{Escape}");
            ASSERT_FALSE(rejected.error) << invalid << ": " << *rejected.error;
            EXPECT_EQ(rejected.Lines("message"), std::vector<std::string>{kInvalidDocument}) << invalid;
            EXPECT_EQ(rejected.slots[0], "") << invalid;
        }
    }
}

TEST(AlphanumericCnpj, LowerCaseTypedIsTakenAsCapitals)
{
    const CallResult result = Alphanumeric().Run("12abc34501de35{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots[0], kReceitaExample);
    EXPECT_EQ(result.Lines("display").back(), "12.ABC.345/01DE-35");
}

TEST(AlphanumericCnpj, LettersOnlyBeforeTheCheckDigitsAndNoOtherCharacter)
{
    // "Ç", accented letters, marks and the blank are refused everywhere; a letter in place 13 or 14 too.
    const CallResult result = Alphanumeric().Run("12ÇçãÁ.-/ @ABC34501DEAz3Bq5x{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots[0], kReceitaExample);
    EXPECT_TRUE(result.Lines("message").empty());
}

TEST(AlphanumericCnpj, DisplayIsTheCnpjMaskWhileALetterIsThere)
{
    const CallResult typed = Alphanumeric().Run(kReceitaExample + "{Escape}");
    ASSERT_FALSE(typed.error) << *typed.error;
    EXPECT_EQ(typed.Lines("display"),
              (std::vector<std::string>{"1", "12", "12.A./-", "12.AB./-", "12.ABC./-", "12.ABC.3/-", "12.ABC.34/-",
                                        "12.ABC.345/-", "12.ABC.345/0-", "12.ABC.345/01-", "12.ABC.345/01D-",
                                        "12.ABC.345/01DE-", "12.ABC.345/01DE-3", "12.ABC.345/01DE-35"}));

    // Erased back to digits, today's growing mask again.
    const CallResult erased = Alphanumeric().Run("12A{Backspace}{Backspace}3A{Backspace}{Backspace}3{Delete}{Escape}");
    ASSERT_FALSE(erased.error) << *erased.error;
    EXPECT_EQ(erased.Lines("display"),
              (std::vector<std::string>{"1", "12", "12.A./-", "12", "1", "13", "13.A./-", "13", "1", "13", ""}));

    // Rejected, it opens again in the CNPJ mask, not the CPF one.
    const CallResult reopened = Alphanumeric().Run("12ABC{Enter}[ok]{Backspace}{Escape}");
    ASSERT_FALSE(reopened.error) << *reopened.error;
    EXPECT_TRUE(ShowsInTurn(reopened.Lines("display"), {"12.ABC./-", "12.AB./-"}));
}

TEST(AlphanumericCnpj, KeyAbcShowsTheLetterKeyboardAndKey123TheDigitsAgain)
{
    const CallResult letters =
        Alphanumeric().Run("[sbt01][sbt02][sbtLetras]" + Touches("ABC34501DE") + "[sbtNumeros][sbt03][sbt05][sbtEnter]");
    ASSERT_FALSE(letters.error) << *letters.error;
    EXPECT_EQ(letters.slots[0], kReceitaExample);
    EXPECT_EQ(letters.Lines("keypad"), (std::vector<std::string>{"digits", "letters", "digits"}));

    // At the name step the letter keyboard has its space bar again.
    const CallResult name = Call().Param(17, "S").Run("[sbtLetras]" + Touches("12ABC34501DE35") +
                                                      "[sbtEnter][sbtA][BlendedBitBtn1][sbtB]{Enter}{Enter}");
    ASSERT_FALSE(name.error) << *name.error;
    EXPECT_EQ(name.slots[0], kReceitaExample);
    EXPECT_EQ(name.slots[1], "A B");
}

TEST(AlphanumericCnpj, KeyAbcIsThereOnlyAtTheDocumentStepOfACallThatTakesLetters)
{
    struct Case {
        const char* what;
        Call call;
    };
    for (const Case& hidden : {Case{"option off", Call()}, Case{"option lower-case", Call().Param(17, "s")},
                               Case{"telephone step", Call().Param(3, "S").Param(17, "S")},
                               Case{"name without document", Call().Param(15, "N").Param(17, "S")}}) {
        ASSERT_FALSE(Alphanumeric().Run("[sbtLetras]{Escape}").error);  // left shown by no earlier call
        const CallResult result = hidden.call.Run("[sbtLetras]");
        ASSERT_TRUE(result.error) << hidden.what;
        EXPECT_EQ(*result.error, "script: [sbtLetras] is hidden") << hidden.what;
    }
}

TEST(AlphanumericCnpj, WithoutTheOptionLettersAreRefusedAsBefore)
{
    struct Case {
        const char* what;
        Call call;
    };
    for (const Case& off : {Case{"absent", Call().Param(7, "N")}, Case{"N", Call().Param(7, "N").Param(17, "N")},
                            Case{"lower-case s", Call().Param(7, "N").Param(17, "s")},
                            Case{"S and a blank", Call().Param(7, "N").Param(17, "S ")},
                            Case{"Null", Call().Param(7, "N").Null(17)},
                            Case{"S beyond the last index", Call().Param(7, "N").Param(17, "S").Last(16)}}) {
        const CallResult result = off.call.Run(kReceitaExample + "{Enter}[ok]{Escape}");
        ASSERT_FALSE(result.error) << off.what << ": " << *result.error;
        EXPECT_TRUE(ShowsInTurn(result.Lines("display"), {"123.450.135-"})) << off.what;
        EXPECT_EQ(result.Lines("message"), std::vector<std::string>{kInvalidDocument}) << off.what;
    }
}

TEST(AlphanumericCnpj, DigitsAloneBehaveTheSameWithTheOptionOnOrOff)
{
    // Every trace line and slot the same: masks, checks, repeated numbers, value checks, erasing.
    const std::string keypad = "[sbt01][sbt01][sbt02][sbt02][sbt02][sbt03][sbt03][sbt03][sbt00][sbt00][sbt00][sbt01]"
                               "[sbt08][sbt01][sbtEnter]maria{Enter}rua das flores{Enter}";
    for (const std::string& script :
         {std::string(kValidCpf) + "{Enter}maria{Enter}rua{Enter}", std::string(kValidCnpj) + "{Enter}{Enter}{Enter}", keypad,
          std::string("11111111111{Enter}[ok]{Escape}"), std::string("00011111111111{Enter}[ok]{Escape}"),
          std::string("1234567890123{Backspace}{Backspace}{Enter}[ok]{Delete}5{Enter}[ok]{Escape}"),
          std::string("12345678909{Enter}[sbtSair]")}) {
        const CallResult off = Call().Run(script);
        const CallResult on = Call().Param(17, "S").Run(script);
        ASSERT_FALSE(off.error) << script << ": " << *off.error;
        ASSERT_FALSE(on.error) << script << ": " << *on.error;
        EXPECT_EQ(on.trace, off.trace) << script;
        EXPECT_EQ(on.slots, off.slots) << script;
    }
}

TEST(AlphanumericCnpj, PrefilledAlphanumericPassesLikeAnyLongPrefilledValue)
{
    for (const char* prefilled : {"12ABC34501DE35", "12ABC34501DE00", "12.ABC.345/01DE-35"}) {
        const CallResult result = Alphanumeric().Param(0, prefilled).Run("");
        ASSERT_FALSE(result.error) << prefilled << ": " << *result.error;
        EXPECT_EQ(result.slots[0], prefilled);
        EXPECT_EQ(result.slots[1], "CONSUMIDOR FINAL");
        EXPECT_TRUE(result.Lines("message").empty()) << prefilled;
    }
}

TEST(AlphanumericCnpj, BranchCnpjWithLettersIsRefusedExactly)
{
    ASSERT_FALSE(Alphanumeric().Run("{Escape}").error);
    struct FreshDialogAfter {
        ~FreshDialogAfter() { FreshDialog(); }
    } fresh;
    // As read from the branch file; no file beside the test binary replaces it.
    Cli_Tzc04182::frmCNPJCPF->sCNPJFilial = kReceitaExample;

    const CallResult branch = Alphanumeric().Run("12abc34501de35{Enter}[ok]{Escape}");
    ASSERT_FALSE(branch.error) << *branch.error;
    EXPECT_EQ(branch.Lines("message"), std::vector<std::string>{kBranchDocument});

    const std::string other = WithCheckDigits("12ABC34501DF");
    const CallResult customer = Alphanumeric().Run(other + "{Enter}");
    ASSERT_FALSE(customer.error) << *customer.error;
    EXPECT_TRUE(customer.Lines("message").empty());
    EXPECT_EQ(customer.slots[0], other);
}

TEST(AlphanumericCnpj, TzcHostPassesElement17WhenItIsSet)
{
    const std::string typed = " --input '12abc34501de35{Enter}{Enter}{Escape}'";
    EXPECT_EQ(HostSlot0("--param 17=S" + typed), "0=" + kReceitaExample);
    EXPECT_EQ(HostSlot0("--last 17 --param 17=S" + typed), "0=" + kReceitaExample);
    EXPECT_EQ(HostSlot0("--param 17=S --last 16" + typed), "0=");
    EXPECT_EQ(HostSlot0(typed), "0=");
}
