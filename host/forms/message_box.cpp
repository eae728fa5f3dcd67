#include "host/forms/message_box.h"

#include <utility>

#include "host/forms/application.h"
#include "host/text/trace.h"

namespace host {

namespace {

// Freed by FreeMessageBox alone, never by a static destructor: the dialog's lifetime, made
// before the first box, frees it at unload, and a second delete would crash the host at exit.
TMessageBox*& Box()
{
    static TMessageBox* box = nullptr;
    return box;
}

}  // namespace

TMessageBox::TMessageBox()
    : TForm("frmMensagem"), text(Add<TLabel>("lblMensagem")), ok(Add<TBlendedBitBtn>("ok"))
{
    // Centred over the 730 x 378 dialog.
    SetBounds(115, 94, 500, 190);
    SetLook({.color = clWhite, .border_color = TColor{204, 91, 44}, .border_width = 2});
    text.SetBounds(20, 20, 460, 100);
    text.SetLook(
        {.font = {18, true, clBlack}, .alignment = TAlignment::Center, .transparent = true, .word_wrap = true});
    ok.SetBounds(190, 124, 120, 50);
    ok.SetText("OK");
    ok.SetLook({.color = TColor{34, 221, 100}, .font = {18, true, clWhite}});
    ok.OnClick = [this](TObject*) { SetModalResult(mrOk); };
    OnKeyDown = [this](TObject*, uint16_t& key, ShiftState) {
        if (key == VK_RETURN)
            SetModalResult(mrOk);
    };
}

void ShowMessageBox(const std::string& message)
{
    if (Box() == nullptr)
        Box() = new TMessageBox();
    TMessageBox& box = *Box();
    Application().Observe();
    Trace("message", message);
    box.text.SetText(message);
    box.ShowModal();
}

void FreeMessageBox() { delete std::exchange(Box(), nullptr); }

}  // namespace host
