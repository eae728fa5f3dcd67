#pragma once
// TForm: a top-level window. ShowModal shows it, raises its show and activation events, and runs
// its modal loop until a close request has been handled. A close request that arrives while the
// activation handler still runs only marks the loop to end once activation has returned. Once
// the loop is ending, input still queued for the form is dropped, as the framework's loop would
// have ended before dispatching it. When ShowModal throws instead (the window cannot be made, a
// handler or the screen fails), the form is no longer modal nor shown, and its window is given
// back with everything still queued for it.
#include <cstdint>
#include <functional>

#include "host/forms/controls.h"
#include "host/forms/messages.h"

namespace host {

constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;

class TForm : public TControl {
public:
    explicit TForm(std::string name);
    ~TForm() override;

    // The form's window handle, made on first use by the screen's window system (or the
    // application's queue).
    HWND GetHandle();
    bool HandleAllocated() const { return handle_ != 0; }
    // Gives the handle back; the next GetHandle makes a new one.
    void DestroyHandle();
    int ShowModal();
    bool Modal() const { return modal_; }
    void Close() { modal_result_ = mrCancel; }
    void SetModalResult(int result) { modal_result_ = result; }
    int ModalResult() const { return modal_result_; }
    // Raises the window above the host's windows.
    void BringToFront();

    void Invalidate();
    void Repaint();

    bool KeyPreview = false;
    std::function<void(TObject*)> OnShow;
    std::function<void(TObject*)> OnActivate;
    std::function<void(TObject*, uint16_t& key, ShiftState shift)> OnKeyDown;
    std::function<void(TObject*, char& key)> OnKeyPress;

    // The window procedure: key, character, click and close messages.
    void WindowProc(const Message& message);

private:
    class ModalScope;
    bool Closing() const { return modal_ && modal_result_ != mrNone && !activating_; }

    HWND handle_ = 0;
    bool modal_ = false;
    bool activating_ = false;
    int modal_result_ = mrNone;
};

}  // namespace host
