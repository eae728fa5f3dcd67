#include "host/screens/qt/window_screen.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <cstdlib>

#include "host/forms/application.h"
#include "host/forms/form.h"
#include "host/screens/qt/display_choice.h"
#include "host/screens/qt/font_warm_up.h"
#include "host/screens/qt/platform_check.h"
#include "host/screens/qt/qt_screen.h"

namespace host::qt {

namespace {

// The Qt application, made on first use when the host has none. It lives as long as the process:
// destroying it at exit would run after Qt's own globals are gone. Qt would end the process when
// its platform cannot start, so the platform is checked first: a call fails instead, and a later
// call makes the application once the display is there.
void EnsureApplication(bool offscreen)
{
    if (QCoreApplication* existing = QCoreApplication::instance()) {
        if (qobject_cast<QGuiApplication*>(existing) == nullptr)
            throw std::runtime_error("the host's Qt application is a QCoreApplication; the window screen needs a QGuiApplication");
        return;
    }
    const CheckedPlatform checked = StartablePlatform(offscreen);
    // Qt keeps argc and argv for the application's lifetime; this runs once.
    static std::string platform = checked.platform.text;
    static char name[] = "tzc04182";
    static char option[] = "-platform";
    static char* arguments[] = {name, option, platform.data(), nullptr};
    static int count = 3;
    new QGuiApplication(count, arguments);
}

// The screen whose window Qt's application must take down with it when it ends first.
WindowScreen* screen_keeping_window = nullptr;

void DropKeptWindow()
{
    if (screen_keeping_window != nullptr)
        screen_keeping_window->DropWindow();
}

// A process that ends with the module loaded destroys statics in the reverse order of their
// making: what Qt's platform plugin made after the application object would go before the
// window that still uses it. Made once the first window is, this goes before them, at exit or
// when the module is unloaded.
struct KeptWindowEnd {
    ~KeptWindowEnd() { DropKeptWindow(); }
};

}  // namespace

WindowScreen::WindowScreen(bool offscreen, std::string display) : offscreen_(offscreen), display_(std::move(display))
{
    fonts_.emplace();
    EnsureApplication(offscreen);
    // Windows made on another thread than the Qt application's would never get their events.
    if (QThread::currentThread() != QCoreApplication::instance()->thread())
        throw std::runtime_error("the window screen runs on the thread of the host's Qt application, and this call "
                                 "came from another thread");
    RequireDisplay(display_);
}

WindowScreen::~WindowScreen()
{
    if (QCoreApplication::instance() != nullptr) {
        DropWindow();
    } else {
        // No application: its platform, and the window's with it, are gone already.
        (void)window_.release();
        (void)wake_.release();
    }
    if (screen_keeping_window == this)
        screen_keeping_window = nullptr;
}

void WindowScreen::DropWindow()
{
    if (screen_keeping_window == this) {
        // The routine lives in this module, which may be unloaded before the application ends.
        qRemovePostRoutine(&DropKeptWindow);
        screen_keeping_window = nullptr;
    }
    window_.reset();
    wake_.reset();
}

void WindowScreen::FormShown(TForm& form)
{
    // A host's Qt application may have ended since the last call.
    EnsureApplication(offscreen_);
    // Read by now, before anything is drawn.
    fonts_.reset();
    if (!window_) {
        window_ = std::make_unique<FormWindow>(Application());
        static KeptWindowEnd kept_window_end;
        if (screen_keeping_window == nullptr) {
            screen_keeping_window = this;
            // Run by the application's destructor while its platform is still there.
            qAddPostRoutine(&DropKeptWindow);
        }
    }
    window_->Push(form, window_->Empty() ? DisplayToOpenOn(display_) : nullptr);
}

void WindowScreen::FormHidden(TForm& form)
{
    if (window_)
        window_->Remove(form);
}

void WindowScreen::Invalidate(TForm& form)
{
    if (window_ && window_->Holds(form))
        window_->Invalidate();
}

void WindowScreen::Repaint(TForm& form)
{
    if (window_ && window_->Holds(form))
        window_->RenderNow();
}

void WindowScreen::SaveShot(const std::string& utf8_path)
{
    const QImage picture = window_ ? window_->Grab() : QImage();
    if (picture.isNull())
        throw EScriptError("script: no window to take a picture of for " + utf8_path);
    if (!picture.save(QString::fromStdString(utf8_path), "PNG"))
        throw EScriptError("script: cannot write the picture " + utf8_path);
}

void WindowScreen::PumpInput(TApplication& application, bool wait, std::optional<TimePoint> deadline)
{
    // What the last messages changed is on the display before anything else is looked at.
    if (window_)
        window_->PaintIfChanged();
    QCoreApplication::processEvents();
    if (application.HasPending())
        return;
    std::optional<TimePoint> wake = deadline;
    if (customer_) {
        const TimePoint now = clock_.Now();
        const std::optional<TimePoint> due = customer_->NextDue(now);
        if (due && *due <= now) {
            customer_->Act(*this);
            QCoreApplication::processEvents();
            return;
        }
        // Once the script has done everything, a timer no longer stands in for the customer.
        if (!due && wait && customer_->EndsWhenDone())
            throw EInputEnded();
        if (due && (!wake || *due < *wake))
            wake = due;
    }
    if (wait)
        SleepUntil(application, wake);
}

void WindowScreen::SleepUntil(TApplication& application, std::optional<TimePoint> wake)
{
    if (wake) {
        const Duration left = *wake - clock_.Now();
        if (left <= Duration::zero())
            return;
        if (!wake_) {
            wake_ = std::make_unique<QTimer>();
            wake_->setSingleShot(true);
            wake_->setTimerType(Qt::PreciseTimer);
        }
        wake_->start(static_cast<int>(std::min<int64_t>(
            std::chrono::ceil<std::chrono::milliseconds>(left).count(), std::numeric_limits<int>::max())));
    }
    while (!application.HasPending() && !(wake && clock_.Now() >= *wake)) {
        // A press shows its colour while the finger is held.
        if (window_)
            window_->PaintIfChanged();
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    if (wake_)
        wake_->stop();
}

}  // namespace host::qt

namespace host {

std::unique_ptr<Screen> MakeQtScreen(bool offscreen)
{
    const char* display = std::getenv("TZC_DISPLAY");
    auto screen = std::make_unique<qt::WindowScreen>(offscreen, display != nullptr ? display : "");
    const char* script = std::getenv("TZC_INPUT");
    // Offscreen nobody else can act: no script is a customer who has nothing to do. At a window
    // a person takes over once the script is done.
    if (script != nullptr || offscreen)
        screen->SetCustomer(
            std::make_unique<qt::ScriptedCustomer>(ParseScript(script != nullptr ? script : ""), offscreen));
    return screen;
}

}  // namespace host
