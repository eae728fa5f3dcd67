// Prints what random customers did and saw, seed by seed: the script, every trace line and the
// eight answers. Two builds of the dialog behave alike when their outputs are byte-identical:
//   tzc_random_traces FIRST COUNT > traces.txt
#include <cstdlib>
#include <iostream>

#include "support/random_customer.h"

int main(int argc, char** argv)
{
    using namespace testing_support;
    const uint64_t first = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1;
    const uint64_t count = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 30000;
    constexpr int kActionsPerCall = 150;
    UseHeadlessScreen();
    for (uint64_t seed = first; seed < first + count; ++seed) {
        SeededChoices choices(seed);
        std::string script;
        CallResult result;
        PlayRandomCall(choices, kActionsPerCall, &script, &result);
        std::cout << "seed " << seed << "\nscript " << script << '\n';
        for (const std::string& line : result.trace)
            std::cout << line << '\n';
        if (result.error)
            std::cout << "error " << *result.error << '\n';
        for (const std::string& slot : result.slots)
            std::cout << "slot " << slot << '\n';
    }
}
