#pragma once
// The one thread the dialog lives on. Its windows, timers and message queue belong to the thread
// that made them (Qt's windows above all), so the first call fixes that thread and a call from
// any other thread is refused before it touches anything.
#include <atomic>
#include <thread>

namespace Cli_Tzc04182 {

class UiThread {
public:
    // Claims the calling thread when none is fixed yet and returns true; returns false when the
    // calling thread is the fixed one. Throws std::logic_error, changing nothing, for any other.
    bool Enter();
    // Gives the claim back: for a first call that could not get its screen, so that the host's
    // real user-interface thread may still call.
    void Release() noexcept;

private:
    std::atomic<std::thread::id> owner_{};
};

}  // namespace Cli_Tzc04182
