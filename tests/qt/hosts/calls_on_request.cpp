// A host that calls again whenever it is asked: the typical call at once, then one more after
// each line on standard input; a line NAME=VALUE first sets that variable of the environment
// (the display that has come up, for one). Prints "call N: ok SLOT0" or "call N: error: TEXT".
// For the test that a call fails while the display is missing and a later one works.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "tzc04182.h"

namespace {

std::string Call()
{
    const char* values[17] = {"", "", "", "N", "N", "PDV", "", "S", "N", "N", "N", "N", "", "N", "N", "S", "N"};
    tzc_variant params[17];
    for (int i = 0; i < 17; ++i)
        params[i] = tzc_variant_string(values[i]);
    tzc_variant result = tzc_variant_array(0, 7);
    char error[512];
    std::string outcome;
    if (CriaInfAdicionalC(params, 16, &result, error, sizeof error) == TZC_OK) {
        char slot[64];
        tzc_variant_to_utf8(tzc_array_element(&result, 0), slot, sizeof slot);
        outcome = std::string("ok ") + slot;
    } else {
        outcome = std::string("error: ") + error;
    }
    for (tzc_variant& param : params)
        tzc_variant_clear(&param);
    tzc_variant_clear(&result);
    return outcome;
}

}  // namespace

int main()
{
    int number = 1;
    std::cout << "call " << number << ": " << Call() << std::endl;
    for (std::string line; std::getline(std::cin, line);) {
        if (const std::size_t equals = line.find('='); equals != std::string::npos)
            setenv(line.substr(0, equals).c_str(), line.substr(equals + 1).c_str(), 1);
        std::cout << "call " << ++number << ": " << Call() << std::endl;
    }
    return 0;
}
