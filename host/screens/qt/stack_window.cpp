#include "host/screens/qt/stack_window.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QInputMethodQueryEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "host/forms/application.h"
#include "host/forms/form.h"
#include "host/screens/form_painter.h"
#include "host/screens/qt/display_choice.h"
#include "host/screens/qt/key_map.h"
#include "host/screens/qt/qt_canvas.h"
#include "host/screens/touch.h"

namespace host::qt {

StackWindow::StackWindow(TApplication& application) : application_(application), backing_store_(this)
{
    setFlags(Qt::Window | Qt::FramelessWindowHint);
    setTitle(QStringLiteral("TZC04182"));
}

StackWindow::~StackWindow() = default;

void StackWindow::Push(TForm& form, QScreen* display)
{
    stack_.push_back(&form);
    if (stack_.size() == 1) {
        display_ = display;
        Place(form);
        first_frame_at_.reset();
        show_pending_ = true;
        changed_ = true;
        return;
    }
    RenderNow();
}

void StackWindow::ShowPainted()
{
    show_pending_ = false;
    // The picture as it stands now, given to the server as the window's background before the map
    // that shows it, and copied to the window's frames when it is exposed. Kept between calls:
    // drawn again into the same pixels, and its rows the server has already are not sent again.
    create();
    const QSize pixels = size() * devicePixelRatio();
    if (picture_.size() != pixels)
        picture_ = QImage(pixels, QImage::Format_RGB32);
    picture_.setDevicePixelRatio(devicePixelRatio());
    {
        QPainter painter(&picture_);
        Paint(painter, QRect(QPoint(0, 0), size()));
    }
    background_.Set(*this, picture_);
    picture_looks_.Forget();
    picture_looks_.Since(Layers(), press_.Held(), scale_);
    changed_looks_.Forget();
    show();
    // Above the host's windows, with the keyboard.
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        raise();
        requestActivate();
    }
    RenderNow();
}

void StackWindow::Place(const TForm& form)
{
    // Worked out at every show: the display, its area or its scale may have changed since.
    if (display_ != nullptr && display_ != screen())
        setScreen(display_);
    const QSize designed(std::max(1, form.Width()), std::max(1, form.Height()));
    const QRect area = display_ != nullptr ? display_->availableGeometry() : QRect(QPoint(0, 0), designed);
    scale_ = FitScale(designed, area.size(), display_ != nullptr ? display_->devicePixelRatio() : 1.0);
    const QSize size = scale_ == 1.0 ? designed
                                     : QSize(std::max(1, static_cast<int>(designed.width() * scale_)),
                                             std::max(1, static_cast<int>(designed.height() * scale_)));
    setMinimumSize(size);
    setMaximumSize(size);
    resize(size);
    setPosition(area.topLeft() + QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2));
}

void StackWindow::Remove(TForm& form)
{
    std::erase(stack_, &form);
    // A press does not outlive the form it began on.
    press_.Cancel();
    if (stack_.empty()) {
        show_pending_ = false;
        hide();
        // Let the platform take the window away before the call returns to a host that may not
        // run Qt's event loop itself.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    } else {
        RenderNow();
    }
}

bool StackWindow::Holds(const TForm& form) const
{
    return std::find(stack_.begin(), stack_.end(), &form) != stack_.end();
}

std::vector<const TControl*> StackWindow::Layers() const { return {stack_.begin(), stack_.end()}; }

TForm* StackWindow::TopForm() const
{
    TForm* active = application_.ActiveForm();
    if (active != nullptr && Holds(*active))
        return active;
    return stack_.empty() ? nullptr : stack_.back();
}

namespace {

QRegion RegionOf(const std::vector<Rect>& parts)
{
    QRegion region;
    for (const Rect& part : parts)
        region += QRect(part.left, part.top, part.width, part.height);
    return region;
}

}  // namespace

void StackWindow::RenderNow()
{
    if (!isExposed() || stack_.empty())
        return;
    const QRect area(QPoint(0, 0), size());
    // Only what looks different is drawn and sent to the display.
    const std::optional<std::vector<Rect>> changed = changed_looks_.Since(Layers(), press_.Held(), scale_);
    // Drawn whole, the show's picture serves for what has not changed since it was drawn (at this
    // size: the window may have been resized since).
    const std::optional<std::vector<Rect>> since_picture =
        changed || picture_.size() != area.size() * devicePixelRatio()
            ? std::nullopt
            : picture_looks_.Since(Layers(), press_.Held(), scale_);
    picture_looks_.Forget();
    const QRegion region = changed ? QRegion(area) & RegionOf(*changed) : QRegion(area);
    changed_ = false;
    if (region.isEmpty())
        return;
    backing_store_.beginPaint(region);
    {
        QPainter painter(backing_store_.paintDevice());
        if (since_picture) {
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(QPoint(0, 0), picture_);
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
            painter.setClipRegion(RegionOf(*since_picture));
        } else if (changed) {
            painter.setClipRegion(region);
        }
        if (!since_picture || !since_picture->empty())
            Paint(painter, area);
    }
    backing_store_.endPaint();
    backing_store_.flush(region);
    if (!first_frame_at_)
        first_frame_at_ = std::chrono::steady_clock::now();
}

void StackWindow::Paint(QPainter& painter, const QRect& area)
{
    painter.fillRect(area, Qt::black);
    if (scale_ != 1.0) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.scale(scale_, scale_);
    }
    PaintStack(painter, Layers(), press_.Held());
}

void StackWindow::PaintIfChanged()
{
    if (show_pending_)
        ShowPainted();
    else if (changed_)
        RenderNow();
}

QImage StackWindow::Grab() const
{
    return RenderStack(Layers(), press_.Held());
}

QRect StackWindow::WindowRect(const TControl& control) const
{
    const TControl* form = &control;
    while (form->Parent() != nullptr)
        form = form->Parent();
    if (form->Kind() != TControlKind::Form || stack_.empty())
        return {};
    const Point form_origin = FormOrigin(*stack_.front(), *form);
    const QPoint origin(form_origin.x, form_origin.y);
    const QRect designed = &control == form ? QRect(origin, QSize(form->Width(), form->Height()))
                                            : QRect(origin + QPoint(control.FormLeft(), control.FormTop()),
                                                    QSize(control.Width(), control.Height()));
    if (scale_ == 1.0)
        return designed;
    return QRectF(QPointF(designed.topLeft()) * scale_, QSizeF(designed.size()) * scale_).toAlignedRect();
}

TControl* StackWindow::ControlAt(QPointF at) const
{
    TForm* form = TopForm();
    if (form == nullptr || stack_.empty())
        return nullptr;
    // Back from the window's pixels to the forms' own.
    const QPoint designed(static_cast<int>(std::floor(at.x() / scale_)), static_cast<int>(std::floor(at.y() / scale_)));
    const Point origin = FormOrigin(*stack_.front(), *form);
    const QRect bounds(QPoint(origin.x, origin.y), QSize(form->Width(), form->Height()));
    if (!bounds.contains(designed))
        return nullptr;
    const QPoint inside = designed - bounds.topLeft();
    return TopmostControlAt(*form, inside.x(), inside.y());
}

void StackWindow::PaintIfHeldChanged(const TControl* held_before)
{
    // Painted before the dialog waits again, with what the release's click changes.
    if (press_.Held() != held_before)
        Invalidate();
}

bool StackWindow::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::UpdateRequest:
        RenderNow();
        return true;
    case QEvent::Close:
        // Only the dialog's own flow closes it.
        event->ignore();
        return true;
    case QEvent::InputMethodQuery: {
        // The platform composes dead keys in its input context, which serves only a focus
        // object that takes input methods; without it the dead key is dropped.
        auto* query = static_cast<QInputMethodQueryEvent*>(event);
        if (query->queries().testFlag(Qt::ImEnabled))
            query->setValue(Qt::ImEnabled, true);
        query->accept();
        return true;
    }
    case QEvent::InputMethod:
        TypeComposed(static_cast<QInputMethodEvent*>(event)->commitString());
        return true;
    default:
        return QWindow::event(event);
    }
}

void StackWindow::exposeEvent(QExposeEvent*)
{
    changed_looks_.Forget();
    RenderNow();
}

void StackWindow::resizeEvent(QResizeEvent*)
{
    backing_store_.resize(size());
    changed_looks_.Forget();
}

void StackWindow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const TControl* held_before = press_.Held();
    press_.Begin(ControlAt(event->position()));
    PaintIfHeldChanged(held_before);
}

void StackWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (!press_.Active())
        return;
    const TControl* held_before = press_.Held();
    press_.Move(ControlAt(event->position()));
    PaintIfHeldChanged(held_before);
}

void StackWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !press_.Active())
        return;
    const TControl* held_before = press_.Held();
    TControl* clicked = press_.End(ControlAt(event->position()));
    PaintIfHeldChanged(held_before);
    if (clicked != nullptr)
        application_.Post({clicked->Form()->GetHandle(), WM_TOUCH_CLICK, 0, reinterpret_cast<LPARAM>(clicked)});
}

void StackWindow::keyPressEvent(QKeyEvent* event)
{
    TForm* form = TopForm();
    if (form == nullptr)
        return;
    const KeyStroke stroke = TranslateKey(event->key(), event->modifiers(), event->text());
    const HWND window = form->GetHandle();
    if (stroke.virtual_key != 0)
        application_.Post({window, WM_KEYDOWN, stroke.virtual_key, static_cast<LPARAM>(stroke.shift)});
    if (stroke.character)
        application_.Post({window, WM_CHAR, static_cast<unsigned char>(*stroke.character), 0});
}

void StackWindow::TypeComposed(const QString& text)
{
    // What is being composed shows nothing, as on Windows; what is committed is typed.
    TForm* form = TopForm();
    if (form == nullptr)
        return;
    for (const char character : ComposedCharacters(text))
        application_.Post({form->GetHandle(), WM_CHAR, static_cast<unsigned char>(character), 0});
}

void StackWindow::SynthesizeClick(QPoint at)
{
    const QPointF local(at);
    const QPointF global(mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(this, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(this, &release);
}

void StackWindow::SynthesizeKey(int qt_key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, qt_key, modifiers, text);
    QCoreApplication::sendEvent(this, &press);
    QKeyEvent release(QEvent::KeyRelease, qt_key, modifiers, text);
    QCoreApplication::sendEvent(this, &release);
}

}  // namespace host::qt
