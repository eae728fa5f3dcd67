#include <gtest/gtest.h>

#include "call_harness.h"
#include "entry/entry.h"

using testing_support::Call;

TEST(Entry, TypicalCallReturnsDocumentNameAndAddress)
{
    const auto result = Call().Run("52998224725{Enter}maria{Enter}rua das flores{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    const std::array<std::string, 8> expected = {"52998224725", "maria", "rua das flores", "N", "N", "N", "", "N"};
    EXPECT_EQ(result.slots, expected);
    EXPECT_EQ(result.Last("display"), "RUA DAS FLORES");
}

TEST(Entry, ScriptThatEndsWhileTheDialogWaitsIsAnErrorNotAHang)
{
    const auto result = Call().Run("123");
    ASSERT_TRUE(result.error);
    EXPECT_EQ(*result.error, "input ended at step 1");
    EXPECT_FALSE(Cli_Tzc04182::frmCNPJCPF->Modal());
}
