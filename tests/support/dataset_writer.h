#pragma once
// Writes a dataset of string fields in the framework's stored form, binary or XML, for the tests
// and tools that need a branch parameter file. TClientDataSet reads back exactly what was given:
// the same field names, texts (Windows-1252 bytes) and nulls.
#include <optional>
#include <string>
#include <vector>

namespace host {

enum class DatasetEncoding { Binary, Xml };

struct StringDataset {
    std::vector<std::string> field_names;
    // One entry per field in each record; nullopt is a null field.
    std::vector<std::vector<std::optional<std::string>>> records;
};

// Throws std::invalid_argument for what the encoding cannot hold: a record of the wrong width,
// a field name that is empty, repeated, longer than 255 bytes or (XML) not an XML name, a value
// longer than 65535 bytes, a NUL byte in an XML value.
std::string EncodeDataset(const StringDataset& dataset, DatasetEncoding encoding);

// EncodeDataset into a file; EDatabaseError when the file cannot be written.
void SaveDataset(const StringDataset& dataset, DatasetEncoding encoding, const std::string& path);

}  // namespace host
