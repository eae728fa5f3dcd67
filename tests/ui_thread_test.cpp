// The dialog lives on one thread: the first call's.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "entry/entry.h"
#include "support/call_harness.h"

using testing_support::Call;

TEST(UiThread, ACallFromAnotherThreadFailsAtOnceAndTheUiThreadCallsOn)
{
    ASSERT_FALSE(Call().Run("{Escape}").error);  // this thread is now the dialog's

    const std::vector<host::Variant> params(17, host::Variant(std::string_view("S")));
    host::Variant result = host::Variant::Array(0, 7);
    result.SetElement(0, host::Variant(std::string_view("host's")));
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
    EXPECT_NE(error->find("another thread than the user-interface thread"), std::string::npos) << *error;
    EXPECT_EQ(result.Element(0).ToString(), "host's");
    EXPECT_EQ(result.Element(1).Type(), TZC_VT_EMPTY);

    const auto next = Call().Run("52998224725{Enter}{Escape}");
    EXPECT_FALSE(next.error);
    EXPECT_EQ(next.slots[0], "52998224725");
}
