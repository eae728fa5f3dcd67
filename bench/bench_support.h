#pragma once
// What the benchmarks share: the typical call's parameters and one call of the entry.
#include <array>
#include <string>
#include <vector>

#include "host/variant/variant.h"

namespace bench {

// The customer of the typical call: a valid CPF, a name, an address.
inline constexpr const char* kTypicalScript = "52998224725{Enter}MARIA DA SILVA{Enter}RUA DAS FLORES 100{Enter}";

// The 17 parameters of the typical call: empty answers, "S" at 7 and 15, terminal "PDV", "N" for
// the other flags. Windows-1252.
std::vector<host::Variant> TypicalParams();

// Calls the entry on the screen that is installed and returns the eight slots (Windows-1252).
std::array<std::string, 8> Call(const std::vector<host::Variant>& params);

}  // namespace bench
