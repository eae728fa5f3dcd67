// A test program with one failing and one skipped test, each while a second thread lives: what the
// test main prints for them (tests/test_main_test.sh). Under QEMU 7.2's i386 emulator, a printer
// that raised a structured exception here would kill the process instead.
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

class SecondThread {
public:
    SecondThread()
        : thread_([this] {
              std::unique_lock lock(mutex_);
              woken_.wait(lock, [this] { return done_; });
          })
    {
    }
    ~SecondThread()
    {
        {
            const std::lock_guard lock(mutex_);
            done_ = true;
        }
        woken_.notify_one();
        thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable woken_;
    bool done_ = false;
    std::thread thread_;
};

TEST(ConsolePrinter, FailsWhileASecondThreadLives)
{
    const SecondThread second;
    EXPECT_EQ(1 + 1, 3) << "the message of a failure";
}

TEST(ConsolePrinter, SkipsWhileASecondThreadLives)
{
    const SecondThread second;
    GTEST_SKIP() << "the reason of a skip";
}

}  // namespace
