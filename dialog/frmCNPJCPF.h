#pragma once
// TfrmCNPJCPF: the one dialog of the module. It asks the customer, one step at a time, for the
// document, name and address, or for one optional answer (telephone, promotional code, receipt
// e-mail, consumer search, foreign identification). The flows set the step and wait; the key
// handlers fill in the step's field; the on-screen keys only inject key messages.
#include <array>
#include <cstdint>
#include <string>

#include "host/forms/application.h"
#include "host/dataset/dataset.h"
#include "host/forms/form.h"
#include "host/services/services.h"
#include "host/forms/timer.h"
#include "host/variant/variant.h"

namespace Cli_Tzc04182 {

using host::Variant;

// The steps of a capture, in the order of the answers they fill.
enum Passo : uint8_t {
    PassoNenhum = 0,
    PassoDocumento = 1,
    PassoNome = 2,
    PassoEndereco = 3,
    PassoTelefone = 4,
    PassoCodPromoc = 5,
    PassoIdEstrangeira = 6,
    PassoEmail = 7,
    PassoPesqCons = 8,
};

// The current step; one byte, as the flows and the key handlers share it.
extern Passo nPasso;

// The prompt labels, which share one row, by their place in `TfrmCNPJCPF::Prompts()`.
enum class Prompt : uint8_t { lblTexto, lblTexto2, lblCupomDesc, lblIdEstrangeira, lblEmailCupom, lblPesqCons };

struct PassoInfo;

class TfrmCNPJCPF final : public host::TForm {
public:
    TfrmCNPJCPF();

    // Components, back to front.
    host::TShape& Shape1;
    host::TLabel& lblTexto;
    host::TLabel& lblTexto2;
    host::TBlendedBitBtn& sbtSair;
    host::TBlendedBitBtn& sbtLimpar;
    host::TLabel& lblcodtela;
    host::TBlendedBitBtn& sbtEnter;
    host::TBlendedBitBtn& sbtBackSpace;
    host::TLabel& lblCupomDesc;
    host::TLabel& lblIdEstrangeira;
    host::TBlendedBitBtn& sbtIdEstrangeira;
    host::TLabel& lblEmailCupom;
    host::TLabel& lblPesqCons;
    host::TPanel& Panel1;
    host::TLabel& lblInforma;
    host::TNotebook& ntbAlfanumerico;
    host::TNotebook& ntbNumerico2;
    // Keys of the keypads that the steps show and hide; made with their keypads.
    host::TBlendedBitBtn* BlendedBitBtn1 = nullptr;  // the space bar
    host::TBlendedBitBtn* sbtNumeros = nullptr;      // "123", in the space bar's place
    host::TBlendedBitBtn* sbtLetras = nullptr;       // "ABC" on the digit keypad
    TMessages msgPadrao;
    host::TClientDataSet cdsParametrosVlx;
    host::TTimer tmrCancAutoPag;

    // Capture state of one call.
    std::string sCPFCNPJ, sNome, sEndereco, sObsTexto, sSomenteNome, sTipoTerminal, sContextoMsg,
        sPedeNomeEndereco, sCNPJFilial, sCodPromoc, sIdEstrangeira, sCodPromocLongo, sPedeEmail,
        sEmailCupom, sValidaEmail, sPesqCons, sPedeCPF, sCPFCRM, sCNPJAlfanumerico;
    int nTamCodPromoc = 0;
    bool bCodPromoc = false;
    bool bSair = false;

    // Start of a call.
    void InicializaForm(const Variant* params, int lastIndex);
    // Reads the branch's CNPJ from the branch parameter file of this call, once per file.
    void LeArquivoFilial();
    void FormShow(host::TObject* sender);
    void FormActivate(host::TObject* sender);

    // Keys.
    void FormKeyDown(host::TObject* sender, uint16_t& key, host::ShiftState shift);
    void FormKeyPress(host::TObject* sender, char& key);
    void PostText(const std::string& text, bool enter, bool characters);
    void sbt1Click(host::TObject* sender);
    void sbtArrobaClick(host::TObject* sender);
    void sbtUnderlineClick(host::TObject* sender);
    void sbtHifenClick(host::TObject* sender);
    void sbtBackSpaceClick(host::TObject* sender);
    void sbtLimparClick(host::TObject* sender);
    void sbtEnterClick(host::TObject* sender);
    // The keys that switch the document step between the digit keypad ("ABC") and the letter
    // keyboard ("123"); they change no field.
    void sbtLetrasClick(host::TObject* sender);
    void sbtNumerosClick(host::TObject* sender);
    // Whether this call takes the CNPJ with letters at the document step.
    bool AceitaCNPJAlfanumerico() const { return sCNPJAlfanumerico == "S"; }
    // Shows or hides "ABC" on the digit keypad, for the time the document step waits.
    void ShowLetterSwitch(bool shown);

    // Flows.
    void DoCPFNome();
    void DoObsTexto();
    void DoCodPromoc();
    void doEmailCupom();
    void DoPesqCons();
    void DoIdEstrangeira();
    void sbtIdEstrangeiraClick(host::TObject* sender);
    void sbtSairClick(host::TObject* sender);
    void tmrCancAutoPagTimer(host::TObject* sender);

    // Display and validation.
    void FormataCPFCNPJ();
    std::string FormataTelefone(std::string telefone) const;
    bool ValidaEMail(std::string email) const;

    // The prompt label the customer sees now, or nullptr.
    const host::TLabel* VisiblePrompt() const;
    // Writes the trace lines of what changed since the last ones, while the dialog is shown.
    void TraceChanges();

private:
    void BuildLayout();
    void BuildLetterKeyboard();
    void BuildDigitKeypad();
    void SetupSideButton(host::TBlendedBitBtn& button, int top, const char* caption, host::TColor color,
                         int font_height, host::TGlyph glyph);
    // Every prompt label, in the order of `Prompt`; a step shows exactly one.
    std::array<host::TLabel*, 6> Prompts() const;
    host::TLabel& PromptLabel(Prompt prompt) const;
    void ShowOnlyPrompt(host::TLabel& prompt);
    void ShowDigitKeypad();
    void ShowLetterKeyboard();
    // Sets the step and shows its prompt, its field on the display line and its keypad.
    const PassoInfo& AbrePasso(Passo step);
    // A flow of one answer: the step, its wait, the close.
    void PedeSomente(Passo step);
    // The identification flow's parts: the document step, opened and asked until the document
    // stands; the name or the address step.
    void AskDocument();
    const PassoInfo& OpenDocumentStep();
    void WaitForDocument(Passo confirmed);
    void AskIdentificationStep(Passo step);
    void WaitUntilStep(Passo end);
    // Shows the catalogue's text for `key` as an error; returns once it is dismissed.
    void Rejeita(const char* key);
    void PostClose();

    bool bActivated_ = false;  // the flow of a call runs on its first activation only
    std::string arquivoFilial_;  // the branch parameter file cdsParametrosVlx was read from
    struct Seen {
        std::string display, prompt, keypad;
        int step = -1;
    } seen_;
};

}  // namespace Cli_Tzc04182
