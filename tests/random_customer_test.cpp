// Random customers against random calls, the dialog checked before every action. Each run is
// made from its seed, so a failure names the seed (TZC_RANDOM_SEED=N replays that one run) and
// the tzc-host command line with the customer's script.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "support/random_customer.h"

namespace {

using testing_support::PlayRandomCall;
using testing_support::SeededChoices;

constexpr int kActionsPerCall = 150;

uint64_t FromEnvironment(const char* name, uint64_t fallback)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::strtoull(value, nullptr, 10) : fallback;
}

TEST(RandomCustomer, KeepsTheInvariantsAfterEveryAction)
{
    // Bounded in count and in time: a slow machine runs fewer seeds, never a longer test.
    const uint64_t first = FromEnvironment("TZC_RANDOM_SEED", 1);
    const uint64_t runs = std::getenv("TZC_RANDOM_SEED") != nullptr ? 1 : FromEnvironment("TZC_RANDOM_RUNS", 3000);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(FromEnvironment("TZC_RANDOM_SECONDS", 4));
    uint64_t played = 0;
    for (uint64_t seed = first; seed < first + runs && std::chrono::steady_clock::now() < deadline; ++seed, ++played) {
        SeededChoices choices(seed);
        const std::string broken = PlayRandomCall(choices, kActionsPerCall);
        ASSERT_EQ(broken, "") << "seed " << seed << " (TZC_RANDOM_SEED=" << seed << " replays it)";
    }
    EXPECT_GT(played, 0u);
    RecordProperty("runs", static_cast<int>(played));
}

}  // namespace
