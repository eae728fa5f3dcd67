// The dialog's make-up: the window, prompts, display line, side buttons, both keypads, the
// message catalogue and the wiring of events to handlers.
#include <array>
#include <utility>
#include <vector>

#include "dialog/frmCNPJCPF.h"
#include "host/text/strings.h"

namespace Cli_Tzc04182 {

using namespace host;

Passo nPasso = PassoNenhum;
static_assert(sizeof(nPasso) == 1);

namespace {

// Texts are written here in UTF-8 and kept in Windows-1252.
std::string Text(const char* utf8) { return Utf8ToCp1252(utf8); }

constexpr TColor kFrameColor{204, 91, 44};
constexpr TColor kConfirmGreen{34, 221, 100};
constexpr TColor kKeyColor{72, 72, 72};
constexpr TFont kPromptFont{21, true, clBlack};

void SetupPrompt(TLabel& label, int left, int top, int width, int height, const char* caption, bool visible)
{
    label.SetBounds(left, top, width, height);
    label.SetText(Text(caption));
    label.SetLook({.font = kPromptFont, .transparent = true, .word_wrap = true});
    label.SetVisible(visible);
}

void SetupKey(TBlendedBitBtn& key, int left, int top, int width, int height, std::string caption, char typed, int font_height)
{
    key.SetBounds(left, top, width, height);
    key.SetText(std::move(caption));
    key.Tag = static_cast<unsigned char>(typed);
    key.SetLook({.color = kKeyColor, .font = {font_height, false, clWhite}});
}

constexpr std::array kCatalogue = {
    "CGCCPF_NOK|Número do CPF/CNPJ inválido.",
    "ENDERECO|Informe o endereço",
    "FILIAL|Filial",
    "CAIXA|Caixa",
    "LOJA|Loja",
    "INFTEXTO|Informe o telefone",
    "NOME|Informe o Nome",
    "DIGITE|( DIGITE AQUI ... )",
    "CNPJ_NOK|CNPJ informado deve ser diferente do CNPJ da filial.",
    "CODPROMOC|Informe o Código Promocional",
    "EMAILINV|Email inválido. Favor digitar um email correto ou deixar de informar o mesmo.",
};

}  // namespace

TfrmCNPJCPF::TfrmCNPJCPF()
    : TForm("frmCNPJCPF"),
      Shape1(Add<TShape>("Shape1")),
      lblTexto(Add<TLabel>("lblTexto")),
      lblTexto2(Add<TLabel>("lblTexto2")),
      sbtSair(Add<TBlendedBitBtn>("sbtSair")),
      sbtLimpar(Add<TBlendedBitBtn>("sbtLimpar")),
      lblcodtela(Add<TLabel>("lblcodtela")),
      sbtEnter(Add<TBlendedBitBtn>("sbtEnter")),
      sbtBackSpace(Add<TBlendedBitBtn>("sbtBackSpace")),
      lblCupomDesc(Add<TLabel>("lblCupomDesc")),
      lblIdEstrangeira(Add<TLabel>("lblIdEstrangeira")),
      sbtIdEstrangeira(Add<TBlendedBitBtn>("sbtIdEstrangeira")),
      lblEmailCupom(Add<TLabel>("lblEmailCupom")),
      lblPesqCons(Add<TLabel>("lblPesqCons")),
      Panel1(Add<TPanel>("Panel1")),
      lblInforma(Panel1.Add<TLabel>("lblInforma")),
      ntbAlfanumerico(Add<TNotebook>("ntbAlfanumerico")),
      ntbNumerico2(Add<TNotebook>("ntbNumerico2")),
      tmrCancAutoPag(this)
{
    BuildLayout();
}

void TfrmCNPJCPF::BuildLayout()
{
    SetBounds(0, 0, 730, 378);
    SetLook({.color = clBlack});
    KeyPreview = true;

    Shape1.SetBounds(0, 0, 730, 378);
    Shape1.SetLook({.color = clWhite, .border_color = kFrameColor, .border_width = 2});

    SetupPrompt(lblTexto, 218, 18, 259, 28, "Informe o CPF ou CNPJ", true);
    SetupPrompt(lblTexto2, 250, 18, 160, 24, "Informe o Nome", false);
    lblTexto2.SetLook({.font = kPromptFont, .transparent = true, .auto_size = true});

    SetupSideButton(sbtSair, 115, "Não informar", clRed, 16, TGlyph::Cross);
    SetupSideButton(sbtLimpar, 176, "Limpar", clGray, 13, TGlyph::Eraser);

    lblcodtela.SetBounds(672, 360, 49, 14);
    // Grows to the left to show the whole code.
    lblcodtela.SetLook(
        {.font = {11, false, clGray}, .alignment = TAlignment::Right, .transparent = true, .auto_size = true});

    SetupSideButton(sbtEnter, 298, "Confirmar", kConfirmGreen, 16, TGlyph::Check);
    TLook confirm = sbtEnter.Look();
    confirm.layout = TButtonLayout::GlyphBottom;
    confirm.margin = 5;
    confirm.spacing = 1;
    sbtEnter.SetLook(confirm);
    SetupSideButton(sbtBackSpace, 237, "Corrrigir", clGray, 13, TGlyph::BackArrow);

    SetupPrompt(lblCupomDesc, 210, 18, 311, 28, "Informe o Código Promocional", true);
    SetupPrompt(lblIdEstrangeira, 194, 18, 311, 28, "Identificação Estrangeira", true);
    SetupSideButton(sbtIdEstrangeira, 54, "Cons Estrang.", clGray, 16, TGlyph::Globe);
    sbtIdEstrangeira.SetVisible(false);
    SetupPrompt(lblEmailCupom, 194, 18, 311, 28, "E-mail para envio de cupom", true);
    SetupPrompt(lblPesqCons, 24, 18, 682, 28, "Informe as iniciais do nome, crachá, código ou CPF do consumidor", true);

    Panel1.SetBounds(8, 56, 598, 41);
    Panel1.SetLook({.color = clWhite, .border_width = 1});  // lowered inner bevel
    lblInforma.SetBounds(4, 10, 590, 23);
    lblInforma.SetLook({.color = clWhite, .font = {16, false, clBlack}});

    ntbAlfanumerico.SetBounds(10, 115, 600, 244);
    ntbAlfanumerico.SetLook({.color = clWhite});
    ntbNumerico2.SetBounds(9, 638, 600, 244);
    ntbNumerico2.SetLook({.color = clWhite});
    ntbNumerico2.SetVisible(false);
    BuildLetterKeyboard();
    BuildDigitKeypad();

    std::vector<std::string> catalogue;
    for (const char* line : kCatalogue)
        catalogue.push_back(Text(line));
    msgPadrao.SetLines(std::move(catalogue));

    tmrCancAutoPag.SetInterval(std::chrono::milliseconds(20000));
    tmrCancAutoPag.SetEnabled(false);

    OnShow = [this](TObject* sender) { FormShow(sender); };
    OnActivate = [this](TObject* sender) { FormActivate(sender); };
    OnKeyDown = [this](TObject* sender, uint16_t& key, ShiftState shift) { FormKeyDown(sender, key, shift); };
    OnKeyPress = [this](TObject* sender, char& key) { FormKeyPress(sender, key); };
    sbtSair.OnClick = [this](TObject* sender) { sbtSairClick(sender); };
    sbtLimpar.OnClick = [this](TObject* sender) { sbtLimparClick(sender); };
    sbtEnter.OnClick = [this](TObject* sender) { sbtEnterClick(sender); };
    sbtBackSpace.OnClick = [this](TObject* sender) { sbtBackSpaceClick(sender); };
    sbtIdEstrangeira.OnClick = [this](TObject* sender) { sbtIdEstrangeiraClick(sender); };
    tmrCancAutoPag.OnTimer = [this](TObject* sender) { tmrCancAutoPagTimer(sender); };
}

void TfrmCNPJCPF::SetupSideButton(TBlendedBitBtn& button, int top, const char* caption, TColor fill, int font_height,
                                  TGlyph glyph)
{
    button.SetBounds(616, top, 105, 60);
    button.SetText(Text(caption));
    button.SetLook(
        {.color = fill, .font = {font_height, true, clWhite}, .glyph = glyph, .layout = TButtonLayout::GlyphRight});
}

void TfrmCNPJCPF::BuildLetterKeyboard()
{
    constexpr std::array<const char*, 4> rows = {"1234567890", "QWERTYUIOP", "ASDFGHJKL\xC7", "ZXCVBNM./@"};
    constexpr std::array<int, 5> tops = {2, 51, 100, 149, 198};
    auto click = [this](TObject* sender) { sbt1Click(sender); };
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (int column = 0; column < 10; ++column) {
            const char typed = rows[row][column];
            std::string name = "sbt" + std::string(1, typed);
            if (typed == '\xC7')
                name = "sbtCCdil";
            else if (typed == '.')
                name = "sbtPonto";
            else if (typed == '/')
                name = "sbtBarra";
            else if (typed == '@')
                name = "sbtArroba";
            auto& key = ntbAlfanumerico.Add<TBlendedBitBtn>(name);
            const int width = row == 0 && column == 9 ? 58 : 57;
            SetupKey(key, 1 + 60 * column, tops[row], width, 46, std::string(1, typed), typed, 24);
            key.OnClick = click;
            if (typed == '@')
                key.OnClick = [this](TObject* sender) { sbtArrobaClick(sender); };
        }
    }
    auto& space = ntbAlfanumerico.Add<TBlendedBitBtn>("BlendedBitBtn1");
    BlendedBitBtn1 = &space;
    SetupKey(space, 1, tops[4], 478, 46, "", ' ', 24);
    space.OnClick = click;
    auto& hyphen = ntbAlfanumerico.Add<TBlendedBitBtn>("sbtHifen");
    SetupKey(hyphen, 481, tops[4], 57, 46, "-", '-', 24);
    hyphen.OnClick = [this](TObject* sender) { sbtHifenClick(sender); };
    auto& underline = ntbAlfanumerico.Add<TBlendedBitBtn>("sbtUnderline");
    SetupKey(underline, 541, tops[4], 57, 46, "_", '_', 24);
    underline.OnClick = [this](TObject* sender) { sbtUnderlineClick(sender); };
    // Back to the digit keypad from an alphanumeric CNPJ; shown by "ABC" only.
    auto& digits = ntbAlfanumerico.Add<TBlendedBitBtn>("sbtNumeros");
    SetupKey(digits, 1, tops[4], 478, 46, "123", '\0', 24);
    digits.OnClick = [this](TObject* sender) { sbtNumerosClick(sender); };
    digits.SetVisible(false);
    sbtNumeros = &digits;
}

void TfrmCNPJCPF::BuildDigitKeypad()
{
    auto click = [this](TObject* sender) { sbt1Click(sender); };
    for (int digit = 1; digit <= 9; ++digit) {
        const char typed = static_cast<char>('0' + digit);
        auto& key = ntbNumerico2.Add<TBlendedBitBtn>("sbt0" + std::string(1, typed));
        SetupKey(key, 164 + 92 * ((digit - 1) % 3), 1 + 61 * ((digit - 1) / 3), 90, 60, std::string(1, typed), typed, 24);
        key.OnClick = click;
    }
    auto& zero = ntbNumerico2.Add<TBlendedBitBtn>("sbt00");
    SetupKey(zero, 164, 184, 274, 60, "0", '0', 24);
    zero.OnClick = click;
    // The letter keyboard for an alphanumeric CNPJ; shown only while the document step takes one.
    auto& letters = ntbNumerico2.Add<TBlendedBitBtn>("sbtLetras");
    SetupKey(letters, 440, 184, 90, 60, "ABC", '\0', 24);
    letters.OnClick = [this](TObject* sender) { sbtLetrasClick(sender); };
    letters.SetVisible(false);
    sbtLetras = &letters;
}

}  // namespace Cli_Tzc04182
