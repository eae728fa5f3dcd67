#include "host/message_box.h"

#include <memory>

#include "host/application.h"
#include "host/trace.h"

namespace host {

namespace {

std::unique_ptr<TMessageBox>& Box()
{
    static std::unique_ptr<TMessageBox> box;
    return box;
}

}  // namespace

TMessageBox::TMessageBox()
    : TForm("frmMensagem"), text(Add<TLabel>("lblMensagem")), ok(Add<TBlendedBitBtn>("ok"))
{
    // Centred over the 730 x 378 dialog.
    SetBounds(115, 94, 500, 190);
    color = clWhite;
    border_color = TColor{204, 91, 44};
    border_width = 2;
    text.SetBounds(20, 20, 460, 100);
    text.word_wrap = true;
    text.alignment = TAlignment::Center;
    text.font = {18, true, clBlack};
    text.transparent = true;
    ok.SetBounds(190, 124, 120, 50);
    ok.SetText("OK");
    ok.color = TColor{34, 221, 100};
    ok.font = {18, true, clWhite};
    ok.OnClick = [this](TObject*) { SetModalResult(mrOk); };
    OnKeyDown = [this](TObject*, uint16_t& key, ShiftState) {
        if (key == VK_RETURN)
            SetModalResult(mrOk);
    };
}

void ShowMessageBox(const std::string& message)
{
    if (!Box())
        Box() = std::make_unique<TMessageBox>();
    TMessageBox& box = *Box();
    Application().Observe();
    Trace("message", message);
    box.text.SetText(message);
    box.ShowModal();
}

void FreeMessageBox() { Box().reset(); }

}  // namespace host
