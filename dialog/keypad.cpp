// The on-screen keys: each touch becomes key messages sent to the dialog's own window, so the
// two key handlers keep every rule.
#include "dialog/frmCNPJCPF.h"
#include "host/text/strings.h"

namespace Cli_Tzc04182 {

using namespace host;

void TfrmCNPJCPF::PostText(const std::string& text, bool enter, bool characters)
{
    for (const char byte : text)
        SendMessageA(GetHandle(), characters ? WM_CHAR : WM_KEYDOWN, static_cast<unsigned char>(byte), 0);
    if (enter)
        SendMessageA(GetHandle(), WM_KEYDOWN, VK_RETURN, 0);
}

void TfrmCNPJCPF::sbt1Click(TObject* sender)
{
    const auto* key = dynamic_cast<const TControl*>(sender);
    if (key == nullptr)
        return;
    PostText(UpperCase(std::string(1, static_cast<char>(key->Tag & 0xFF))), false, true);
}

void TfrmCNPJCPF::sbtArrobaClick(TObject*) { PostText("@", false, true); }
void TfrmCNPJCPF::sbtUnderlineClick(TObject*) { PostText("_", false, true); }
void TfrmCNPJCPF::sbtHifenClick(TObject*) { PostText("-", false, true); }

void TfrmCNPJCPF::sbtBackSpaceClick(TObject*)
{
    PostText(std::string(1, char(VK_BACK)), false, false);
    Refresh();
}

// Code 46 as a key-down is Delete.
void TfrmCNPJCPF::sbtLimparClick(TObject*)
{
    PostText(".", false, false);
    Refresh();
}

void TfrmCNPJCPF::sbtEnterClick(TObject*) { SendMessageA(GetHandle(), WM_KEYDOWN, VK_RETURN, 0); }

// The letter keyboard in the document step: its digits type the number, and "123" in place of
// the space bar, which the document refuses, goes back to the digit keypad.
void TfrmCNPJCPF::sbtLetrasClick(TObject*)
{
    ntbNumerico2.SetVisible(false);
    ntbAlfanumerico.SetVisible(true);
    BlendedBitBtn1->SetVisible(false);
    sbtNumeros->SetVisible(true);
}

void TfrmCNPJCPF::sbtNumerosClick(TObject*)
{
    ntbAlfanumerico.SetVisible(false);
    ntbNumerico2.SetVisible(true);
}

}  // namespace Cli_Tzc04182
