// The dialog's make-up, component by component, as a freshly built dialog has it.
#include <gtest/gtest.h>

#include "dialog/frmCNPJCPF.h"
#include "host/text/strings.h"

using namespace host;
using Cli_Tzc04182::TfrmCNPJCPF;

namespace {

struct Expected {
    const char* name;
    int left, top, width, height;
    bool visible;
    const char* text;  // UTF-8; nullptr: not checked
    int font_height;
    bool bold;
    TColor fill;
};

constexpr TColor kGrey{128, 128, 128};

const Expected kComponents[] = {
    {"Shape1", 0, 0, 730, 378, true, nullptr, 16, false, clWhite},
    {"lblTexto", 218, 18, 259, 28, true, "Informe o CPF ou CNPJ", 21, true, clWhite},
    {"lblTexto2", 250, 18, 160, 24, false, "Informe o Nome", 21, true, clWhite},
    {"sbtSair", 616, 115, 105, 60, true, "Não informar", 16, true, clRed},
    {"sbtLimpar", 616, 176, 105, 60, true, "Limpar", 13, true, kGrey},
    {"sbtEnter", 616, 298, 105, 60, true, "Confirmar", 16, true, TColor{34, 221, 100}},
    {"sbtBackSpace", 616, 237, 105, 60, true, "Corrrigir", 13, true, kGrey},
    {"lblCupomDesc", 210, 18, 311, 28, true, "Informe o Código Promocional", 21, true, clWhite},
    {"lblIdEstrangeira", 194, 18, 311, 28, true, "Identificação Estrangeira", 21, true, clWhite},
    {"sbtIdEstrangeira", 616, 54, 105, 60, false, "Cons Estrang.", 16, true, kGrey},
    {"lblEmailCupom", 194, 18, 311, 28, true, "E-mail para envio de cupom", 21, true, clWhite},
    {"lblPesqCons", 24, 18, 682, 28, true, "Informe as iniciais do nome, crachá, código ou CPF do consumidor", 21, true, clWhite},
    {"Panel1", 8, 56, 598, 41, true, nullptr, 16, false, clWhite},
    {"lblInforma", 4, 10, 590, 23, true, "", 16, false, clWhite},
    {"ntbAlfanumerico", 10, 115, 600, 244, true, nullptr, 16, false, clWhite},
    {"ntbNumerico2", 9, 638, 600, 244, false, nullptr, 16, false, clWhite},
    // The keypad switches of the alphanumeric CNPJ, inside their holders.
    {"sbtLetras", 440, 184, 90, 60, false, "ABC", 24, false, TColor{72, 72, 72}},
    {"sbtNumeros", 1, 198, 478, 46, false, "123", 24, false, TColor{72, 72, 72}},
};

TfrmCNPJCPF& Dialog()
{
    static TfrmCNPJCPF dialog;
    return dialog;
}

}  // namespace

TEST(Layout, WindowIsBorderless730By378WithKeyPreview)
{
    EXPECT_EQ(Dialog().Width(), 730);
    EXPECT_EQ(Dialog().Height(), 378);
    EXPECT_TRUE(Dialog().KeyPreview);
    EXPECT_EQ(Dialog().Look().color, clBlack);
    EXPECT_EQ(Dialog().Shape1.Look().border_color, (TColor{204, 91, 44}));
    EXPECT_EQ(Dialog().Shape1.Look().border_width, 2);
}

TEST(Layout, EveryComponentStandsWhereItBelongs)
{
    for (const Expected& expected : kComponents) {
        SCOPED_TRACE(expected.name);
        TControl* control = Dialog().FindComponent(expected.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->Left(), expected.left);
        EXPECT_EQ(control->Top(), expected.top);
        EXPECT_EQ(control->Width(), expected.width);
        EXPECT_EQ(control->Height(), expected.height);
        EXPECT_EQ(control->Visible(), expected.visible);
        if (expected.text != nullptr) {
            EXPECT_EQ(control->GetText(), Utf8ToCp1252(expected.text));
        }
        if (control->Kind() != TControlKind::Shape && control->Kind() != TControlKind::Panel &&
            control->Kind() != TControlKind::PageHolder) {
            EXPECT_EQ(control->Look().font.height, expected.font_height);
            EXPECT_EQ(control->Look().font.bold, expected.bold);
        }
        if (control->Kind() == TControlKind::Button || control->Kind() == TControlKind::PageHolder) {
            EXPECT_EQ(control->Look().color, expected.fill);
        }
    }
    EXPECT_EQ(Dialog().lblInforma.Parent(), &Dialog().Panel1);
    EXPECT_EQ(Dialog().sbtEnter.Look().down_color, clBlack);
    EXPECT_EQ(Dialog().sbtBackSpace.Look().down_color, clBlack);
    EXPECT_EQ(Dialog().sbtEnter.Look().layout, TButtonLayout::GlyphBottom);
    EXPECT_EQ(Dialog().lblcodtela.Look().alignment, TAlignment::Right);
}

TEST(Layout, SideButtonsCarryTheirPictures)
{
    EXPECT_EQ(Dialog().sbtSair.Look().glyph, TGlyph::Cross);
    EXPECT_EQ(Dialog().sbtLimpar.Look().glyph, TGlyph::Eraser);
    EXPECT_EQ(Dialog().sbtBackSpace.Look().glyph, TGlyph::BackArrow);
    EXPECT_EQ(Dialog().sbtEnter.Look().glyph, TGlyph::Check);
    EXPECT_EQ(Dialog().sbtIdEstrangeira.Look().glyph, TGlyph::Globe);
}

TEST(Layout, LetterKeyboardKeysTypeTheirCaptions)
{
    const char* rows[] = {"1234567890", "QWERTYUIOP", "ASDFGHJKL\xC7", "ZXCVBNM./@"};
    const int tops[] = {2, 51, 100, 149};
    const auto& children = Dialog().ntbAlfanumerico.Children();
    ASSERT_EQ(children.size(), 44u);  // and "123", in the table above
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 10; ++column) {
            const TControl& key = *children[row * 10 + column];
            SCOPED_TRACE(key.Name());
            EXPECT_EQ(key.Left(), 1 + 60 * column);
            EXPECT_EQ(key.Top(), tops[row]);
            EXPECT_EQ(key.Width(), row == 0 && column == 9 ? 58 : 57);
            EXPECT_EQ(key.Height(), 46);
            EXPECT_EQ(key.Tag, static_cast<unsigned char>(rows[row][column]));
            EXPECT_EQ(key.GetText(), std::string(1, rows[row][column]));
            EXPECT_EQ(key.Look().font.height, 24);
            EXPECT_FALSE(key.Look().font.bold);
        }
    }
    for (const char* name : {"sbt1", "sbt0", "sbtQ", "sbtP", "sbtCCdil", "sbtPonto", "sbtBarra", "sbtArroba", "sbtM"})
        EXPECT_NE(Dialog().ntbAlfanumerico.FindComponent(name), nullptr) << name;
    const TControl* space = Dialog().FindComponent("BlendedBitBtn1");
    ASSERT_NE(space, nullptr);
    EXPECT_EQ(space->Left(), 1);
    EXPECT_EQ(space->Width(), 478);
    EXPECT_EQ(space->Tag, ' ');
    EXPECT_EQ(space->GetText(), "");
    EXPECT_EQ(Dialog().FindComponent("sbtHifen")->Left(), 481);
    EXPECT_EQ(Dialog().FindComponent("sbtUnderline")->Left(), 541);
}

TEST(Layout, DigitKeypadIsABlockOfNineAndAWideZero)
{
    const auto& children = Dialog().ntbNumerico2.Children();
    ASSERT_EQ(children.size(), 11u);  // and "ABC", in the table above
    const int lefts[] = {164, 256, 348};
    const int tops[] = {1, 62, 123};
    for (int digit = 1; digit <= 9; ++digit) {
        const TControl* key = Dialog().FindComponent("sbt0" + std::to_string(digit));
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(key->Left(), lefts[(digit - 1) % 3]);
        EXPECT_EQ(key->Top(), tops[(digit - 1) / 3]);
        EXPECT_EQ(key->Width(), 90);
        EXPECT_EQ(key->Height(), 60);
        EXPECT_EQ(key->Tag, '0' + digit);
    }
    const TControl* zero = Dialog().FindComponent("sbt00");
    ASSERT_NE(zero, nullptr);
    EXPECT_EQ(zero->Left(), 164);
    EXPECT_EQ(zero->Top(), 184);
    EXPECT_EQ(zero->Width(), 274);
    EXPECT_EQ(zero->Tag, '0');
}

TEST(Layout, CatalogueHoldsEveryKeyInOrder)
{
    const std::vector<std::string>& lines = Dialog().msgPadrao.Lines();
    const char* keys[] = {"CGCCPF_NOK", "ENDERECO", "FILIAL", "CAIXA", "LOJA", "INFTEXTO",
                          "NOME", "DIGITE", "CNPJ_NOK", "CODPROMOC", "EMAILINV"};
    ASSERT_EQ(lines.size(), std::size(keys));
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_TRUE(lines[i].starts_with(std::string(keys[i]) + "|")) << lines[i];
    EXPECT_EQ(Dialog().msgPadrao.Msg("CGCCPF_NOK"), Utf8ToCp1252("Número do CPF/CNPJ inválido."));
    EXPECT_EQ(Dialog().msgPadrao.Msg("EMAILINV"),
              Utf8ToCp1252("Email inválido. Favor digitar um email correto ou deixar de informar o mesmo."));
    EXPECT_EQ(Dialog().msgPadrao.Msg("NOPE"), "");
}

TEST(Layout, TimerStartsDisabledWithTwentySeconds)
{
    EXPECT_FALSE(Dialog().tmrCancAutoPag.Enabled());
    EXPECT_EQ(Dialog().tmrCancAutoPag.Interval(), std::chrono::milliseconds(20000));
    EXPECT_TRUE(Dialog().cdsParametrosVlx.IsEmpty());
}
