#pragma once
// The readers of the two stored encodings of a dataset, and what they share. Internal to the
// dataset: the rest of the system uses TClientDataSet.
#include "host/dataset/dataset.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace host::dataset_format {

struct Contents {
    std::vector<std::string> field_names;
    std::vector<std::vector<TField>> records;
};

// The first bytes of the binary encoding.
inline constexpr std::string_view kBinarySignature{"\x96\x19\xE0\xBD", 4};

// True when bytes start with the binary signature, or are a cut-off start of it.
bool LooksBinary(std::string_view bytes);

// Each raises EDatabaseError "<source>: <problem> at byte <offset>".
Contents ReadBinary(std::string_view bytes, const std::string& source);
Contents ReadXml(std::string_view bytes, const std::string& source);

// Text forms shared by both encodings, as the framework shows them.
std::string FloatText(double value);
std::string FloatText(float value);
std::string BooleanText(bool value);
// What AsString of a value without text form (a date, a BCD number) raises; kind is "a date".
std::string NoTextMessage(const std::string& source, const std::string& field, std::string_view kind);

// More cells than this is not a parameter file but a way to exhaust memory.
inline constexpr std::size_t kMaxCells = std::size_t{1} << 22;

[[noreturn]] void Fail(const std::string& source, std::string_view problem, std::size_t offset);

}  // namespace host::dataset_format
