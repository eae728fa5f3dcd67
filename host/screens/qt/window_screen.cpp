#include "host/screens/qt/window_screen.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <cstdlib>
#include <vector>

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

// How the process ends around a window still kept, when no host's Qt application took it down
// first (DropKeptWindow above):
// - The module unloaded: Qt's libraries outlive it, and a host's Qt application would keep a
//   window whose code is gone, so the window goes, while every Qt global is there.
// - The process exiting: statics end in the reverse order of their making, and Qt makes many
//   of its globals on first use (QOpenGLContext's thread storage, used by ~QWindow, is made
//   after the first window goes). Whether the program links these objects, links the library
//   or loads it, no order of ours is sure to come before all of them. So at exit the window is
//   left to the process, as Qt leaves its own application: no call into Qt, and the X server
//   takes the window with the connection.
enum class ModuleEnd { none, unload, exit };
ModuleEnd module_end = ModuleEnd::none;

// Left at exit; reachable, so leak checkers do not count them.
std::vector<std::unique_ptr<QObject>>& LeftToTheProcess()
{
    static auto* left = new std::vector<std::unique_ptr<QObject>>();
    return *left;
}

// The loader runs a shared object's finalisers at dlclose before the destructors of its C++
// statics, and at exit after every static of every object: run first, it is an unload.
__attribute__((destructor)) void EndOfModule()
{
    if (module_end != ModuleEnd::none)
        return;
    module_end = ModuleEnd::unload;
    DropKeptWindow();
}

// Made once the first window is; it ends at exit (before the statics that hold the screen),
// or at unload after EndOfModule.
struct KeptWindowEnd {
    ~KeptWindowEnd()
    {
        if (module_end != ModuleEnd::none)
            return;
        module_end = ModuleEnd::exit;
        if (screen_keeping_window != nullptr)
            screen_keeping_window->LeaveWindow();
    }
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
    // Without an application its platform, and the window's with it, are gone already.
    if (QCoreApplication::instance() != nullptr && module_end != ModuleEnd::exit)
        DropWindow();
    else
        LeaveWindow();
}

void WindowScreen::LeaveWindow()
{
    if (screen_keeping_window == this)
        screen_keeping_window = nullptr;
    if (window_)
        LeftToTheProcess().push_back(std::move(window_));
    if (wake_)
        LeftToTheProcess().push_back(std::move(wake_));
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
        window_ = std::make_unique<StackWindow>(Application());
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
    const TimePoint now = clock_.Now();
    if (customer_.ActIfDue(*this, now)) {
        QCoreApplication::processEvents();
        return;
    }
    if (wait && customer_.Done(now))
        throw EInputEnded();
    if (wait)
        SleepUntil(application, customer_.Wake(deadline, now));
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
    screen->SetCustomer(CustomerFromEnvironment<qt::WindowScreen>(offscreen));
    return screen;
}

}  // namespace host
