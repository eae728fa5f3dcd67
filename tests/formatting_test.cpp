// The display masks of the document and the telephone, the digit filter, the e-mail shape and
// the character sets of the steps.
#include <gtest/gtest.h>

#include "dialog/char_sets.h"
#include "dialog/document_masks.h"
#include "support/step_scripts.h"

using namespace testing_support;
using Cli_Tzc04182::TfrmCNPJCPF;

TEST(ExtraiDigitos, KeepsTheDigitsInTheirOrder)
{
    EXPECT_EQ(Cli_Tzc04182::ExtraiDigitos(""), "");
    EXPECT_EQ(Cli_Tzc04182::ExtraiDigitos("529.982.247-25"), "52998224725");
    EXPECT_EQ(Cli_Tzc04182::ExtraiDigitos(std::string("a\n1\0" "2\xB9\xB2/", 8)), "12");
}

TEST(FormataTelefone, ChoosesTheLayoutByTheDigitCount)
{
    struct Case {
        std::string typed, shown;
    };
    const Case cases[] = {
        {"", ""},
        {"0", ""},
        {"00", "0"},
        {"1", "1"},
        {"1234567", "1234567"},
        {"12345678", "1234-5678"},
        {"123456789", "12345-6789"},
        {"1234567890", "(12)3456-7890"},
        {"12345678901", "(12)34567-8901"},
        {"123456789012", "12(34)5678-9012"},
        {"1234567890123", "12(34)56789-0123"},
        {"12345678901234", "12345678901234"},
        {"012345678901", "(12)34567-8901"},   // the leading zero goes, then 11 digits
        {"0012345678", "01234-5678"},         // one zero only: 9 digits remain
        {"123\n45678901", "(12)34567-8901"},  // the marker neither shows nor counts
        {"12 34-5678", "1234-5678"},
    };
    CleanModule module;
    for (const Case& c : cases) {
        std::string typed = c.typed;
        EXPECT_EQ(module.dialog.FormataTelefone(typed), c.shown) << c.typed;
        EXPECT_EQ(typed, c.typed);
    }
}

TEST(FormataTelefone, DisplayChangesLayoutWhileTheCustomerTypesAndErases)
{
    const std::vector<std::string> while_typed = {
        "5", "55", "551", "5511", "55119", "551198", "5511987", "5511-9876", "55119-8765", "(55)1198-7654",
        "(55)11987-6543", "55(11)9876-5432", "55(11)98765-4321", "55119876543210"};
    for (const std::string& erase : {std::string("{Backspace}"), std::string("[sbtBackSpace]")}) {
        std::string script = "55119876543210";
        for (int i = 0; i < 15; ++i)
            script += erase;
        const auto result = AtStep(4).call.Run(script + "{Enter}");
        ASSERT_FALSE(result.error) << *result.error;
        std::vector<std::string> expected = while_typed;
        expected.insert(expected.end(), while_typed.rbegin() + 1, while_typed.rend());
        expected.push_back("");
        EXPECT_EQ(result.Lines("display"), expected) << erase;
        EXPECT_EQ(result.slots[3], "");
    }
}

TEST(FormataCPFCNPJ, ChoosesTheMaskByTheLengthOfTheDisplay)
{
    struct Case {
        std::string document, shown;
    };
    const Case cases[] = {
        {"", "..-"},
        {"1", "1..-"},
        {"123", "123..-"},
        {"1234", "123.4.-"},
        {"12345678901", "123.456.789-01"},
        {"123456789012", "123.456.789-01"},  // the twelfth digit is not shown
        {"1234567890123", "12.345.678/9012-3"},
        {"12345678901234", "12.345.678/9012-34"},
        {"123456789012345678", "12.345.678/9012-34"},
    };
    CleanModule module;
    TfrmCNPJCPF& dialog = module.dialog;
    for (const Case& c : cases) {
        dialog.sCPFCNPJ = c.document;
        dialog.lblInforma.SetText(c.document);
        dialog.FormataCPFCNPJ();
        EXPECT_EQ(dialog.lblInforma.GetText(), c.shown) << c.document;
        EXPECT_EQ(dialog.sCPFCNPJ, c.document);
    }
    // The display decides, not the document.
    dialog.sCPFCNPJ = "12345678901234";
    dialog.lblInforma.SetText("short");
    dialog.FormataCPFCNPJ();
    EXPECT_EQ(dialog.lblInforma.GetText(), "123.456.789-01");
    dialog.sCPFCNPJ = "12";
    dialog.lblInforma.SetText("a display of 13");
    dialog.FormataCPFCNPJ();
    EXPECT_EQ(dialog.lblInforma.GetText(), "12../-");
}

TEST(ValidaEMail, AcceptsAnAtWithTextBeforeAndTwoCharactersBeforeTheDot)
{
    struct Case {
        std::string address;
        bool accepted;
    };
    const Case cases[] = {
        {"joao@loja.com", true},
        {"", false},
        {"   ", false},
        {"joao", false},
        {"@loja.com", false},
        {"  @loja.com", false},
        {"\t@loja.com", false},
        {"a@b.com", false},
        {"a@bc.com", true},
        {"a@bc.", true},
        {"a@bc", false},
        {"a.b@c", false},
        {"a.b@cd.e", true},
        {"a@", false},
        {"a@.com", false},
        {"a@@b.c", true},
        {"a@b@c.d", true},
        {"  joao@loja.com \n", true},
        {"jo ao@lo ja.com", true},
        {"a@b\x01.c", true},
        {"JOAO@LOJA.COM", true},
        {"a@b..c", false},
    };
    CleanModule module;
    for (const Case& c : cases) {
        std::string address = c.address;
        EXPECT_EQ(module.dialog.ValidaEMail(address), c.accepted) << '"' << c.address << '"';
        EXPECT_EQ(address, c.address);
    }
}

TEST(CharSet, HoldsOnlyCodesFrom32To231)
{
    constexpr Cli_Tzc04182::CharSet everything{{0, 255}};
    for (int code = 0; code <= 255; ++code)
        EXPECT_EQ(everything.Contains(static_cast<unsigned char>(code)), code >= 32 && code <= 231) << code;
    constexpr Cli_Tzc04182::CharSet edges{{32, 32}, {231, 231}};
    EXPECT_TRUE(edges.Contains(32));
    EXPECT_TRUE(edges.Contains(231));
    EXPECT_FALSE(edges.Contains(33));
    EXPECT_FALSE(edges.Contains(230));
}
