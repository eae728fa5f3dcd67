// Typed characters per step: which are taken, how much room each step has, the line-feed
// marker, and the document display that grows while digits are typed.
#include <gtest/gtest.h>

#include <algorithm>

#include "dialog/frmCNPJCPF.h"
#include "dialog/steps.h"
#include "host/text/strings.h"
#include "support/step_scripts.h"

using namespace testing_support;
using Cli_Tzc04182::nPasso;
using Cli_Tzc04182::TfrmCNPJCPF;

namespace {

std::string Range(char first, char last)
{
    std::string range;
    for (int c = static_cast<unsigned char>(first); c <= static_cast<unsigned char>(last); ++c)
        range += static_cast<char>(c);
    return range;
}

const std::string kDigits = Range('0', '9');
const std::string kLetters = Range('A', 'Z') + Range('a', 'z') + "\xC7\xE7";
const std::string kNameCharacters = " " + kLetters;
const std::string kTextCharacters = " ,./" + kDigits + kLetters;
const std::string kEmailCharacters = kTextCharacters + "-@_";

std::string Repeat(const std::string& text, std::size_t times)
{
    std::string repeated;
    for (std::size_t i = 0; i < times; ++i)
        repeated += text;
    return repeated;
}

}  // namespace

TEST(CharacterEntry, EachStepTakesExactlyItsCharacters)
{
    const std::string allowed[] = {"", kDigits, kNameCharacters, kTextCharacters, kDigits,
                                   kTextCharacters, kTextCharacters, kEmailCharacters, kTextCharacters};
    CleanModule module;
    TfrmCNPJCPF& dialog = module.dialog;
    for (uint8_t step = 0; step <= 8; ++step) {
        for (int code = 0; code <= 255; ++code) {
            for (std::string* field : {&dialog.sCPFCNPJ, &dialog.sNome, &dialog.sEndereco, &dialog.sObsTexto,
                                       &dialog.sCodPromoc, &dialog.sIdEstrangeira, &dialog.sEmailCupom, &dialog.sPesqCons})
                field->clear();
            dialog.lblInforma.SetText("");
            module.AtStep(static_cast<Cli_Tzc04182::Passo>(step));
            char key = static_cast<char>(code);
            dialog.FormKeyPress(&dialog, key);
            EXPECT_EQ(key, static_cast<char>(code)) << "the handler changed the character";
            const std::string* field = Cli_Tzc04182::StepField(dialog, static_cast<Cli_Tzc04182::Passo>(step));
            const bool taken = field != nullptr && *field == std::string(1, static_cast<char>(code));
            const bool expected = allowed[step].find(static_cast<char>(code)) != std::string::npos;
            EXPECT_EQ(taken, expected) << "step " << int(step) << ", code " << code;
        }
    }
}

TEST(CharacterEntry, EachStepHasRoomForItsLimit)
{
    struct Case {
        int step;
        std::size_t room;
    };
    for (const Case c : {Case{2, 30}, Case{3, 80}, Case{6, 20}, Case{7, 50}, Case{8, 50}}) {
        StepScript at = AtStep(c.step);
        at.call.Param(13, "N");
        const std::string typed = Repeat("abcdefghij", 10).substr(0, c.room + 1);
        const auto result = at.call.Run(at.opening + typed + "{Enter}" + at.closing);
        ASSERT_FALSE(result.error) << "step " << c.step << ": " << *result.error;
        EXPECT_EQ(result.slots[at.slot], typed.substr(0, c.room)) << "step " << c.step;
        // The slots are cut to the same lengths, so the display tells what the field took.
        std::size_t longest = 0;
        for (const std::string& line : result.Lines("display"))
            longest = std::max(longest, line.size());
        EXPECT_EQ(longest, c.room) << "step " << c.step;
    }
}

TEST(CharacterEntry, RoomIsMeasuredOnTheDisplayNotOnTheField)
{
    // A proposed e-mail longer than the step's room takes nothing until it is erased below 50.
    const std::string proposed = Repeat("a", 44) + "@xy.com";  // 51
    const auto result = AtStep(7).call.Param(12, proposed).Run("b{Backspace}b{Backspace}b{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots[6], proposed.substr(0, 49) + "b");
}

TEST(CharacterEntry, NameStepTakesLettersAndShowsThemUpperCased)
{
    // "ç" stays as it is on the display; the letter keyboard types capitals, "Ç" included; "ã"
    // is its plain letter.
    const StepScript at = AtStep(2);
    const auto result = at.call.Run(at.opening + "-1ãçj [sbtCCdil][sbtA]{Enter}" + at.closing);
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots[1], "açj ÇA");
    EXPECT_TRUE(ShowsInTurn(result.Lines("display"), {"A", "Aç", "AçJ", "AçJ ", "AçJ Ç", "AçJ ÇA", ""}));
}

TEST(CharacterEntry, AccentedLetterIsItsPlainLetterWhereTheStepTakesLetters)
{
    struct Case {
        int step;
        const char* typed;     // UTF-8, typed as Windows-1252 bytes
        const char* answer;    // UTF-8
        const char* display;   // UTF-8, the last display line
    };
    const Case cases[] = {
        {2, "JOÃO", "JOAO", "JOAO"},
        {2, "joão ÁÂÀÄÅÉÊËÈÍÎÏÌ", "joao AAAAAEEEEIIII", "JOAO AAAAAEEEEIIII"},
        {2, "ÓÔÕÖÒÚÛÜÙÑÝŠŽŸ", "OOOOOUUUUNYSZY", "OOOOOUUUUNYSZY"},
        {2, "áâàäåéêëèíîïìóôõöòúûüùñýÿšž", "aaaaaeeeeiiiiooooouuuunyysz", "AAAAAEEEEIIIIOOOOOUUUUNYYSZ"},
        // Letters of their own, and marks, are still refused; "Ç" and "ç" stay.
        {2, "ÇÆæØøÐðÞþßŒœºª´¨çA", "ÇçA", "ÇçA"},
        {3, "Avenida São João, 1º", "Avenida Sao Joao, 1", "AVENIDA SAO JOAO, 1"},
        {5, "PROMOÇÃO É", "PROMOÇAO E", "PROMOÇAO E"},
        {6, "Müller", "Muller", "Muller"},
        {7, "joão_ñ@x.com", "joao_n@x.com", "joao_n@x.com"},
        {8, "Conceição", "Conceiçao", "Conceiçao"},
        // Steps that take digits only take no letter, plain or not.
        {1, "529982Ã24725", "52998224725", "529.982.247-25"},
        {4, "11Õ9", "119", "119"},
    };
    for (const Case& c : cases) {
        StepScript at = AtStep(c.step);
        at.call.Param(13, "N");
        const auto result = at.call.Run(at.opening + c.typed + "{Enter}" + at.closing);
        ASSERT_FALSE(result.error) << "step " << c.step << ", " << c.typed << ": " << *result.error;
        EXPECT_EQ(result.slots[at.slot], c.answer) << "step " << c.step << ", " << c.typed;
        EXPECT_TRUE(ShowsInTurn(result.Lines("display"), {c.display})) << "step " << c.step << ", " << c.typed;
    }
}

TEST(CharacterEntry, AddressTakesTheTextSetWithoutHyphen)
{
    const StepScript at = AtStep(3);
    const auto result = at.call.Run(at.opening + "rua-a, 1./b[sbtHifen][sbtPonto]{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots[2], "ruaa, 1./b.");
    EXPECT_EQ(result.Last("display"), "RUAA, 1./B.");
}

TEST(CharacterEntry, EmailTakesItsOwnMarks)
{
    const auto result = AtStep(7).call.Param(13, "N").Run("a+b;c@d_e-f,g[sbtHifen][sbtUnderline][sbtArroba]{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots[6], "abc@d_e-f,g-_@");
}

TEST(CharacterEntry, HyphenKeyIsRefusedWhereTheTextSetApplies)
{
    for (const int step : {3, 5, 6, 8}) {
        const StepScript at = AtStep(step);
        const auto result = at.call.Run(at.opening + "ab[sbtHifen]cde{Enter}" + at.closing);
        ASSERT_FALSE(result.error) << "step " << step << ": " << *result.error;
        EXPECT_EQ(result.slots[at.slot], "abcde") << "step " << step;
    }
}

TEST(CharacterEntry, PromotionalCodeGetsALineFeedBeforeItsFiftyFirstCharacter)
{
    const std::string typed = Repeat("ABCDE12345", 6);  // 60
    const auto result = AtStep(5).call.Run(typed + "{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.Last("display"), typed.substr(0, 50) + "\n" + typed.substr(50));
    EXPECT_EQ(result.slots[4], typed.substr(0, 50));
}

TEST(CharacterEntry, PromotionalCodeHoldsAtMostAHundredBytes)
{
    const std::string typed = Repeat("ABCDE12345", 12);  // 120
    const auto result = AtStep(5).call.Run(typed + "{Escape}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.Last("display"), typed.substr(0, 50) + "\n" + typed.substr(50, 49));
}

TEST(CharacterEntry, TelephoneMarkerNeverShowsAndEnterRemovesIt)
{
    // Slot 3 is long enough to show that the marker has gone.
    const std::string typed = Repeat("1234567890", 6);
    const auto result = AtStep(4).call.Run(typed + "{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.Last("display"), typed);
    EXPECT_EQ(result.slots[3], typed);
}

TEST(CharacterEntry, TelephoneHasRoomForAHundredDigitsOnTheDisplay)
{
    const std::string typed = Repeat("1234567890", 11);
    const auto result = AtStep(4).call.Run(typed + "{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.Last("display"), typed.substr(0, 100));
    EXPECT_EQ(result.slots[3], typed.substr(0, 80));
}

TEST(CharacterEntry, TelephoneErasedBackToFiftyDigitsGetsNoSecondMarker)
{
    // The display hides the marker, so a second one would survive Enter and reach the host.
    const std::string typed = Repeat("1234567890", 5) + "1";
    const auto result = AtStep(4).call.Run(typed + "{Backspace}7{Backspace}8{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots[3], typed.substr(0, 50) + "8");
}

TEST(CharacterEntry, TelephoneMarkerGoesInWhenTheDisplayHoldsFiftyDigits)
{
    // A leading zero does not show, so the marker comes one character later in the field.
    CleanModule module;
    TfrmCNPJCPF& dialog = module.dialog;
    for (const std::string& lead : {std::string(), std::string("0")}) {
        dialog.sObsTexto.clear();
        dialog.lblInforma.SetText("");
        module.AtStep(Cli_Tzc04182::PassoTelefone);
        const std::string typed = lead + Repeat("1234567890", 6);
        for (char key : typed)
            dialog.FormKeyPress(&dialog, key);
        EXPECT_EQ(dialog.sObsTexto, typed.substr(0, lead.size() + 50) + "\n" + typed.substr(lead.size() + 50)) << lead;
    }
}

TEST(CharacterEntry, NothingIsTakenAtStepZero)
{
    CleanModule module;
    TfrmCNPJCPF& dialog = module.dialog;
    for (int code = 0; code <= 255; ++code) {
        char key = static_cast<char>(code);
        dialog.FormKeyPress(&dialog, key);
    }
    EXPECT_EQ(dialog.lblInforma.GetText(), "");
    EXPECT_EQ(dialog.sCPFCNPJ + dialog.sNome + dialog.sEndereco + dialog.sObsTexto + dialog.sCodPromoc +
                  dialog.sIdEstrangeira + dialog.sEmailCupom + dialog.sPesqCons,
              "");
}

// The display after each digit of 1 2 3 4 5 6 7 8 9 0 1 2 3 4.
const std::vector<std::string> kDocumentWhileTyped = {
    "1", "12", "123.", "123.4", "123.45", "123.456.", "123.456.7", "123.456.78", "123.456.789-",
    "123.456.789-0", "123.456.789-01", "12.345.678/9012-", "12.345.678/9012-3", "12.345.678/9012-34"};

TEST(DocumentDisplay, GrowsInTheCpfMaskThenTheCnpjMask)
{
    // The keyboard and the digit keypad alike; letters, blanks and a 15th digit change nothing.
    const std::string keypad = "[sbt01][sbt02][sbt03][sbt04][sbt05][sbt06][sbt07][sbt08][sbt09][sbt00]"
                               "[sbt01][sbt02][sbt03][sbt04][sbt05]";
    for (const std::string& typing : {std::string("1a 2345678901234 5"), keypad}) {
        const auto result = Call().Run(typing + "{Escape}");
        ASSERT_FALSE(result.error) << *result.error;
        const std::vector<std::string> lines = result.Lines("display");
        ASSERT_GE(lines.size(), kDocumentWhileTyped.size());
        EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 14), kDocumentWhileTyped) << typing;
    }
}

TEST(DocumentDisplay, FifteenthDigitLeavesTheDocumentAtFourteen)
{
    const auto result = Call().Run(std::string(kValidCnpj) + "9{Enter}{Enter}{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots[0], kValidCnpj);
}

TEST(DocumentDisplay, TypingAfterARejectionShowsWhatIsStored)
{
    // A rejected short number reopens masked as "1..-"; typing and erasing then follow the
    // document, not the leftover separators.
    const auto typed = Call().Run("1{Enter}[ok]2{Escape}");
    ASSERT_FALSE(typed.error) << *typed.error;
    EXPECT_TRUE(ShowsInTurn(typed.Lines("display"), {"1", "1..-", "12"}));

    const auto erased = Call().Run("1{Enter}[ok]{Backspace}{Escape}");
    ASSERT_FALSE(erased.error) << *erased.error;
    EXPECT_TRUE(ShowsInTurn(erased.Lines("display"), {"1", "1..-", ""}));
}

TEST(DocumentDisplay, RejectedCpfReopensMaskedAndTypingContinuesFromIt)
{
    const auto result = Call().Run("12345678900{Enter}[ok]1{Backspace}{Backspace}{Escape}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.Last("message"), "Número do CPF/CNPJ inválido.");
    std::vector<std::string> expected(kDocumentWhileTyped.begin(), kDocumentWhileTyped.begin() + 10);
    // Reopened as it was left: "123.456.789-00" shows again, so no new display line.
    for (const char* shown : {"123.456.789-00", "12.345.678/9001-", "123.456.789-00", "123.456.789-0"})
        expected.push_back(shown);
    const std::vector<std::string> lines = result.Lines("display");
    ASSERT_GE(lines.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + expected.size()), expected);
}
