#include "host/forms/timer.h"

#include "host/forms/application.h"

namespace host {

TTimer::TTimer(TObject* owner) : owner_(owner) { Application().AddTimer(*this); }

TTimer::~TTimer() { Application().RemoveTimer(*this); }

void TTimer::SetEnabled(bool enabled)
{
    if (enabled == Enabled())
        return;
    if (enabled)
        due_ = Application().clock().Now() + interval_;
    else
        due_.reset();
}

void TTimer::Tick()
{
    if (!due_)
        return;
    due_ = *due_ + interval_;
    if (OnTimer)
        OnTimer(owner_ != nullptr ? owner_ : nullptr);
}

}  // namespace host
