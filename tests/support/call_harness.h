#pragma once
// Calls the entry as a host would, with a scripted customer on the headless screen, and
// collects the eight slots and the trace lines (UTF-8).
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "host/screens/headless_screen.h"
#include "host/variant/variant.h"
#include "support/faulty_screen.h"

namespace testing_support {

struct CallResult {
    std::array<std::string, 8> slots;  // UTF-8
    std::vector<std::string> trace;    // "display: 123.", "message: ..."
    std::optional<std::string> error;  // what() of an exception from the call

    // The trace lines that start with "kind: ".
    std::vector<std::string> Lines(const std::string& kind) const;
    // The last trace line of that kind, without "kind: ", or "" when there is none.
    std::string Last(const std::string& kind) const;
};

class Call {
public:
    // The typical call: empty answers, "S" at 7 and 15, terminal "PDV", "N" for the other flags,
    // passed as elements 0 to 16. Element 17 ("N" until set) is passed once it has been set.
    Call();
    Call& Param(int index, const std::string& utf8);
    Call& Null(int index);
    Call& Param(int index, host::Variant value);
    Call& Last(int last_index);
    CallResult Run(const std::string& script) const;

private:
    std::vector<host::Variant> params_;
    int last_ = 16;
};

// The headless screen the tests play on (installed on first use).
void UseHeadlessScreen();
host::HeadlessScreen& Headless();
// Its faults, for making a call fail where the screen or the customer would.
FaultyScreen& HeadlessFaults();
// Deletes the dialog so that the next call builds a fresh one.
void FreshDialog();
// Runs the entry with this script, catching nothing: for tests of what the call throws.
void CallEntry(const std::vector<host::Variant>& params, int last_index, host::Variant& result, const std::string& script);

}  // namespace testing_support
