#include "host/forms/application.h"

#include <algorithm>

#include "host/forms/form.h"
#include "host/forms/screen.h"
#include "host/forms/timer.h"
#include "host/forms/window_system.h"

namespace host {

void Abort() { throw EAbort(); }

TApplication::TApplication() = default;
TApplication::~TApplication() = default;

Screen& TApplication::screen()
{
    if (!screen_)
        throw std::logic_error("no screen: the module's entry chooses one before the first form is shown");
    return *screen_;
}

void TApplication::SetScreen(std::unique_ptr<Screen> screen)
{
    for (TForm* form : windows_)
        form->DestroyHandle();
    queue_.clear();
    screen_ = std::move(screen);
}

WindowSystem* TApplication::Windows() const { return screen_ ? screen_->Windows() : nullptr; }

Clock& TApplication::clock() { return screen().clock(); }

void TApplication::ProcessMessages()
{
    screen().PumpInput(*this, false, std::nullopt);
    DispatchPending();
}

void TApplication::WaitAndProcessMessages()
{
    const std::optional<TimePoint> due = NextTimerDue();
    const bool timer_due = due && *due <= clock().Now();
    screen().PumpInput(*this, queue_.empty() && !timer_due, due);
    DispatchPending();
}

void TApplication::WaitWhile(const std::function<bool()>& keep_waiting)
{
    while (keep_waiting()) {
        Observe();
        WaitAndProcessMessages();
    }
}

bool TApplication::DispatchPending()
{
    bool dispatched = FireDueTimers();
    while (!queue_.empty()) {
        const Message message = queue_.front();
        queue_.pop_front();
        Dispatch(message);
        dispatched = true;
    }
    return dispatched;
}

bool TApplication::FireDueTimers()
{
    bool fired = false;
    const TimePoint now = clock().Now();
    // A tick may enable or disable timers: look again after each one.
    for (bool again = true; again;) {
        again = false;
        for (TTimer* timer : timers_) {
            if (timer->Due() && *timer->Due() <= now) {
                Observe();
                try {
                    timer->Tick();
                } catch (const EAbort&) {
                }
                Observe();
                fired = again = true;
                break;
            }
        }
    }
    return fired;
}

void TApplication::Dispatch(const Message& message)
{
    TForm* window = Window(message.hwnd);
    if (window == nullptr)
        return;
    Observe();
    try {
        window->WindowProc(message);
    } catch (const EAbort&) {
        // The framework's silent exception ends the handler and nothing else.
    }
    Observe();
}

intptr_t TApplication::Send(const Message& message)
{
    if (WindowSystem* windows = Windows())
        return windows->Send(message);
    Dispatch(message);
    return 0;
}

bool TApplication::Post(const Message& message)
{
    if (WindowSystem* windows = Windows())
        return windows->Post(message);
    queue_.push_back(message);
    return true;
}

void TApplication::Register(TForm& form) { windows_.push_back(&form); }

void TApplication::Unregister(TForm& form)
{
    form.DestroyHandle();
    std::erase(windows_, &form);
}

HWND TApplication::CreateHandle(TForm& form)
{
    if (WindowSystem* windows = Windows())
        return windows->CreateHandle(form);
    static HWND next = 0x10000;
    return next += 4;
}

void TApplication::DestroyHandle(HWND handle)
{
    if (WindowSystem* windows = Windows())
        windows->DestroyHandle(handle);
    std::erase_if(queue_, [handle](const Message& message) { return message.hwnd == handle; });
}

TForm* TApplication::Window(HWND handle) const
{
    for (TForm* form : windows_)
        if (form->HandleAllocated() && form->GetHandle() == handle)
            return form;
    return nullptr;
}

void TApplication::AddTimer(TTimer& timer) { timers_.push_back(&timer); }
void TApplication::RemoveTimer(TTimer& timer) { std::erase(timers_, &timer); }

std::optional<TimePoint> TApplication::NextTimerDue() const
{
    std::optional<TimePoint> next;
    for (const TTimer* timer : timers_)
        if (timer->Due() && (!next || *timer->Due() < *next))
            next = timer->Due();
    return next;
}

TForm* TApplication::ActiveForm() const { return modal_stack_.empty() ? nullptr : modal_stack_.back(); }

void TApplication::PushModal(TForm& form)
{
    modal_stack_.push_back(&form);
    screen().FormShown(form);
}

void TApplication::PopModal(TForm& form)
{
    std::erase(modal_stack_, &form);
    screen().FormHidden(form);
}

TApplication& Application()
{
    static TApplication application;
    return application;
}

intptr_t SendMessageA(HWND hwnd, uint32_t msg, WPARAM wParam, LPARAM lParam)
{
    return Application().Send({hwnd, msg, wParam, lParam});
}

bool PostMessageA(HWND hwnd, uint32_t msg, WPARAM wParam, LPARAM lParam)
{
    return Application().Post({hwnd, msg, wParam, lParam});
}

}  // namespace host
