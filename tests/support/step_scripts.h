#pragma once
// How a scripted customer reaches each step from outside, and how the step's answer comes back.
#include <algorithm>
#include <string>
#include <vector>

#include "support/call_harness.h"
#include "support/clean_module.h"
#include "dialog/frmCNPJCPF.h"

namespace testing_support {

inline constexpr const char* kValidCpf = "52998224725";
inline constexpr const char* kValidCnpj = "11222333000181";

struct StepScript {
    Call call;
    std::string opening;  // the keys that open the step
    std::string closing;  // the keys that finish the call once the step has been confirmed
    int slot;             // where the step's answer comes back
};

// Opens step 1 to 8 on the typical call. The promotional code comes back up to 50 characters;
// the e-mail is validated.
inline StepScript AtStep(int step)
{
    std::string document = std::string(kValidCpf) + "{Enter}";
    switch (step) {
    case 1: return {Call(), "", "{Enter}{Enter}", 0};
    case 2: return {Call(), document, "{Enter}", 1};
    case 3: return {Call(), document + "{Enter}", "", 2};
    case 4: return {Call().Param(3, "S"), "", "", 3};
    case 5: return {Call().Param(8, "S").Param(10, "S"), "", "", 4};
    // Confirmed, the foreign identification stands in for the document: name and address follow.
    case 6: return {Call().Param(9, "S"), "[sbtIdEstrangeira]", "{Enter}{Enter}", 5};
    case 7: return {Call().Param(11, "S").Param(13, "S"), "", "", 6};
    default: return {Call().Param(14, "S"), "", "", 7};
    }
}

// Whether lines holds expected as one unbroken run.
inline bool ShowsInTurn(const std::vector<std::string>& lines, const std::vector<std::string>& expected)
{
    return std::search(lines.begin(), lines.end(), expected.begin(), expected.end()) != lines.end();
}

}  // namespace testing_support
