#pragma once
// The characters a step accepts, as bitmaps of 200 bits over the codes 32 to 231: bit i stands
// for code 32 + i, bit 0 being the lowest bit of the first byte. Codes outside are never members.
#include <array>
#include <cstdint>
#include <initializer_list>
#include <utility>

namespace Cli_Tzc04182 {

class CharSet {
public:
    constexpr CharSet(std::initializer_list<std::pair<unsigned char, unsigned char>> ranges)
    {
        for (const auto& [first, last] : ranges)
            for (int code = first; code <= last; ++code)
                if (code >= kFirst && code <= kLast)
                    bits_[(code - kFirst) / 8] |= static_cast<uint8_t>(1u << ((code - kFirst) % 8));
    }
    constexpr bool Contains(unsigned char code) const
    {
        return code >= kFirst && code <= kLast && ((bits_[(code - kFirst) / 8] >> ((code - kFirst) % 8)) & 1) != 0;
    }

private:
    static constexpr int kFirst = 32;
    static constexpr int kLast = 231;
    std::array<uint8_t, 25> bits_{};
};

// Address, promotional code, foreign identification, consumer search.
inline constexpr CharSet kTextSet{{' ', ' '}, {',', ','}, {'.', '/'}, {'0', '9'}, {'A', 'Z'}, {'a', 'z'}, {199, 199}, {231, 231}};
// The e-mail: the text set and "-", "@", "_".
inline constexpr CharSet kEmailSet{{' ', ' '}, {',', '/'}, {'0', '9'}, {'@', 'Z'}, {'_', '_'}, {'a', 'z'}, {199, 199}, {231, 231}};

}  // namespace Cli_Tzc04182
