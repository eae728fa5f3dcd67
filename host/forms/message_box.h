#pragma once
// The host's message box: a modal panel over the dialog with the text and an "OK" button
// (named "ok"); Enter or a touch of the button dismisses it.
#include <string>

#include "host/forms/form.h"

namespace host {

class TMessageBox final : public TForm {
public:
    TMessageBox();
    TLabel& text;
    TBlendedBitBtn& ok;
};

// Shows text (Windows-1252) and returns when the operator has dismissed it.
void ShowMessageBox(const std::string& text);
// Frees the box, if one was made (module unload).
void FreeMessageBox();

}  // namespace host
