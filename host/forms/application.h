#pragma once
// TApplication: the user-interface thread's message queue and loop. Sent messages are handled
// before the send returns; posted ones wait for the next dispatch. The framework's silent
// exception (Abort) ends the handler it was raised in and nothing else.
//
// A wait ("until the step moves on or the customer declines") tests its condition, dispatches
// everything pending, and tests again; when nothing is pending it sleeps in the screen until
// input arrives or the next timer is due, instead of spinning.
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

#include "host/forms/clock.h"
#include "host/forms/messages.h"

namespace host {

class Screen;
class TForm;
class TTimer;
class WindowSystem;

// The framework's silent exception.
class EAbort : public std::exception {
public:
    const char* what() const noexcept override { return "Operation aborted"; }
};
[[noreturn]] void Abort();

class TApplication {
public:
    TApplication();
    ~TApplication();

    // The screen in use, set by whoever puts the program together; std::logic_error before that.
    Screen& screen();
    bool HasScreen() const { return screen_ != nullptr; }
    // The forms' handles belong to the screen's window system: a new screen takes them back, and
    // each form makes its own again when next asked.
    void SetScreen(std::unique_ptr<Screen> screen);
    Clock& clock();

    // Dispatches every pending message and due timer, and returns without waiting.
    void ProcessMessages();
    // Like ProcessMessages, but when nothing is pending first sleeps until something is.
    void WaitAndProcessMessages();
    // Keeps dispatching while `keep_waiting` holds; tests before every dispatch.
    void WaitWhile(const std::function<bool()>& keep_waiting);

    intptr_t Send(const Message& message);
    bool Post(const Message& message);
    bool HasPending() const { return !queue_.empty(); }
    // Runs the addressed form's window procedure now: for a window system's own window procedure.
    void Dispatch(const Message& message);

    // Windows and timers register themselves. A form's handle is made when first asked for.
    void Register(TForm& form);
    void Unregister(TForm& form);
    HWND CreateHandle(TForm& form);
    void DestroyHandle(HWND handle);
    TForm* Window(HWND handle) const;
    void AddTimer(TTimer& timer);
    void RemoveTimer(TTimer& timer);
    std::optional<TimePoint> NextTimerDue() const;

    // The form whose modal loop runs innermost, or nullptr. PopModal also ends a PushModal whose
    // screen failed to show the form: the screen hears it hidden, whatever it had shown of it.
    TForm* ActiveForm() const;
    void PushModal(TForm& form);
    void PopModal(TForm& form);

    // Called before every dispatch and after it: the trace looks here for what changed.
    void SetObserver(std::function<void()> observer) { observer_ = std::move(observer); }
    void Observe() const
    {
        if (observer_)
            observer_();
    }

private:
    bool DispatchPending();
    bool FireDueTimers();
    // The screen's window system, or nullptr when this queue carries the messages.
    WindowSystem* Windows() const;

    std::unique_ptr<Screen> screen_;
    std::deque<Message> queue_;
    std::vector<TForm*> windows_;
    std::vector<TTimer*> timers_;
    std::vector<TForm*> modal_stack_;
    std::function<void()> observer_;
};

// The one application object of the process.
TApplication& Application();

}  // namespace host
