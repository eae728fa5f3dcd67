#include "bench_support.h"

#include "entry/entry.h"

namespace bench {

std::vector<host::Variant> TypicalParams()
{
    const char* typical[] = {"", "", "", "N", "N", "PDV", "", "S", "N", "N", "N", "N", "", "N", "N", "S", "N"};
    std::vector<host::Variant> params;
    for (const char* value : typical)
        params.emplace_back(std::string_view(value));
    return params;
}

std::array<std::string, 8> Call(const std::vector<host::Variant>& params)
{
    host::Variant result = host::Variant::Array(0, 7);
    Cli_Tzc04182::CriaInfAdicional(params.data(), static_cast<int>(params.size()) - 1, result);
    std::array<std::string, 8> slots;
    for (int32_t slot = 0; slot < 8; ++slot)
        slots[static_cast<std::size_t>(slot)] = result.Element(slot).ToString();
    return slots;
}

}  // namespace bench
