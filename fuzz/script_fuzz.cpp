// Bytes become a call and a customer: the first byte chooses the flow, the next ones its flags
// and pre-filled answers, the rest what the customer types, presses, touches and waits; then
// the customer declines. A crash, a hang, a broken invariant, or a call that does not end
// after the customer declined (a loop the customer cannot leave) is a finding.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/random_customer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    testing_support::ByteChoices choices({data, size});
    const int budget = static_cast<int>(std::min<size_t>(size / 2, 500));
    const std::string broken = testing_support::PlayRandomCall(choices, budget);
    if (!broken.empty()) {
        std::fprintf(stderr, "%s\n", broken.c_str());
        std::abort();
    }
    return 0;
}
