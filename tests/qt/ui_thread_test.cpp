// Under the Qt screen too, a call from another thread is refused before any window is made, and
// the user-interface thread's next call works.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "entry/entry.h"
#include "qt_harness.h"

using namespace qt_testing;

TEST(QtScreenThread, ACallFromAnotherThreadFailsAndTheUiThreadCallsOn)
{
    ASSERT_FALSE(QtCall().Run({Key(Qt::Key_Escape, "\x1b")}).error);

    const std::vector<host::Variant> params(17, host::Variant(std::string_view("N")));
    host::Variant result = host::Variant::Array(0, 7);
    std::optional<std::string> error;
    std::thread worker([&] {
        try {
            Cli_Tzc04182::CriaInfAdicional(params.data(), 16, result);
        } catch (const std::exception& failure) {
            error = failure.what();
        }
    });
    worker.join();
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("another thread"), std::string::npos) << *error;

    const QtCallResult next = QtCall().Run({Type("123"), Key(Qt::Key_Escape, "\x1b")});
    EXPECT_FALSE(next.error) << *next.error;
    EXPECT_EQ(next.answers.size(), 8u);
}
