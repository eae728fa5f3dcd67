#pragma once
// StackWindow: the real window of a modal stack of forms. It paints the forms (the lowest fills
// the window, the ones above lie over it at their positions) and turns Qt's input into the
// framework's messages for the form on top: key-down and character messages for keys, a click
// message when a touch or left click is released over the control it was pressed on. The window
// lies wholly on its display, centred: a form larger than the display's free area (a small
// display, or the platform's scale) is drawn shrunk to fit. Once its last form is removed it
// hides and can be shown again for the next stack, placed anew.
//
// The window is mapped at the first paint after it is asked to show (when the dialog first waits
// for the customer, its step set up), with that picture as the X window's background: from the
// map on, the server shows the dialog, never black, and never the previous call's picture.
#include <QBackingStore>
#include <QPainter>
#include <QImage>
#include <QPointer>
#include <QScreen>
#include <QWindow>
#include <chrono>
#include <optional>
#include <vector>

#include "host/forms/controls.h"
#include "host/screens/changed_looks.h"
#include "host/screens/button_press.h"
#include "host/screens/qt/window_background.h"

namespace host {
class TApplication;
class TForm;
}  // namespace host

namespace host::qt {

class StackWindow final : public QWindow {
public:
    explicit StackWindow(TApplication& application);
    ~StackWindow() override;

    // A form shown modally on top of the others; the first one sizes and centres the window on
    // `display` (nullptr: where the platform puts it), shown at the next PaintIfChanged.
    void Push(TForm& form, QScreen* display);
    void Remove(TForm& form);
    bool Holds(const TForm& form) const;
    bool Empty() const { return stack_.empty(); }

    void RenderNow();
    // Something shown has changed. Painted by PaintIfChanged, which the screen calls before it
    // waits for input: at once, not a throttled platform update later.
    void Invalidate() { changed_ = true; }
    void PaintIfChanged();
    // When the first frame since the window was last shown was put on the display, if it was.
    std::optional<std::chrono::steady_clock::time_point> FirstFrameAt() const { return first_frame_at_; }
    // How much the forms are shrunk to fit the display: 1 when they fit as they are.
    double Scale() const { return scale_; }
    QImage Grab() const;
    // Where a control of a shown form lies in the window.
    QRect WindowRect(const TControl& control) const;

    // Input as a platform would deliver it, for the scripted customer.
    void SynthesizeClick(QPoint at);
    void SynthesizeKey(int qt_key, Qt::KeyboardModifiers modifiers, const QString& text);

protected:
    bool event(QEvent* event) override;
    void exposeEvent(QExposeEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Place(const TForm& form);
    void ShowPainted();
    void Paint(QPainter& painter, const QRect& area);
    TForm* TopForm() const;
    std::vector<const TControl*> Layers() const;
    // The topmost showing control of the top form under a window point, or nullptr.
    TControl* ControlAt(QPointF at) const;
    // Repaints when what a press holds down changes.
    void PaintIfHeldChanged(const TControl* held_before);
    // Characters the platform's input method composed, to the form on top.
    void TypeComposed(const QString& text);

    TApplication& application_;
    QPointer<QScreen> display_;  // gone when the display is unplugged
    double scale_ = 1.0;
    std::optional<std::chrono::steady_clock::time_point> first_frame_at_;
    QBackingStore backing_store_;
    std::vector<TForm*> stack_;
    ButtonPress press_;
    bool changed_ = false;
    bool show_pending_ = false;
    WindowBackground background_;
    ChangedLooks changed_looks_;  // against the window's frames
    QImage picture_;              // the picture of the last show, kept for the next
    ChangedLooks picture_looks_;  // against that picture, until the frames are first drawn
};

}  // namespace host::qt
