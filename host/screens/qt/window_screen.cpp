#include "host/screens/qt/window_screen.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <cstdlib>

#include "host/forms/application.h"
#include "host/forms/form.h"
#include "host/screens/qt/display_choice.h"
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

}  // namespace

WindowScreen::WindowScreen(bool offscreen, std::string display) : display_(std::move(display))
{
    EnsureApplication(offscreen);
    // Windows made on another thread than the Qt application's would never get their events.
    if (QThread::currentThread() != QCoreApplication::instance()->thread())
        throw std::runtime_error("the window screen runs on the thread of the host's Qt application, and this call "
                                 "came from another thread");
    RequireDisplay(display_);
}

WindowScreen::~WindowScreen()
{
    // A host's own Qt application may be gone already, and its objects with it.
    if (QCoreApplication::instance() == nullptr) {
        (void)window_.release();
        (void)wake_.release();
    }
}

void WindowScreen::FormShown(TForm& form)
{
    if (!window_)
        window_ = std::make_unique<FormWindow>(Application(), DisplayToOpenOn(display_));
    window_->Push(form);
}

void WindowScreen::FormHidden(TForm& form)
{
    if (!window_)
        return;
    window_->Remove(form);
    if (window_->Empty())
        window_.reset();
}

void WindowScreen::Invalidate(TForm& form)
{
    if (window_ && window_->Holds(form))
        window_->requestUpdate();
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
    while (!application.HasPending() && !(wake && clock_.Now() >= *wake))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
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
