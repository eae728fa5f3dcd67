// cds-field FILE FIELD [RECORD]: prints the text of FIELD in RECORD (1-based, default 1) of a
// stored dataset, as UTF-8.
// Exit status: 0 printed; 1 the file is not a readable dataset; 2 no such field or record, or a
// wrong command line; 3 the field's value has no text form (a date, a BCD number).
#include "host/dataset/dataset.h"
#include "host/text/strings.h"

#include <charconv>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>

namespace {

constexpr int kPrinted = 0;
constexpr int kUnreadableFile = 1;
constexpr int kNoSuchValue = 2;
constexpr int kNoText = 3;

int Usage()
{
    std::cerr << "usage: cds-field FILE FIELD [RECORD]\n";
    return kNoSuchValue;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 4)
        return Usage();
    std::size_t record = 1;
    if (argc == 4) {
        const std::string_view text = argv[3];
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), record);
        if (error != std::errc() || end != text.data() + text.size() || record == 0)
            return Usage();
    }

    host::TClientDataSet dataset;
    try {
        dataset.LoadFromFile(argv[1]);
    } catch (const host::EDatabaseError& error) {
        std::cerr << "cds-field: " << host::Cp1252ToUtf8(error.what()) << "\n";
        return kUnreadableFile;
    }

    // The command line speaks UTF-8, the dataset Windows-1252.
    const std::string name = host::Utf8ToCp1252(argv[2]);
    const host::TField* field = nullptr;
    try {
        dataset.FieldByName(name);  // a missing field is reported before a missing record
        dataset.MoveTo(record - 1);
        field = &dataset.FieldByName(name);
    } catch (const host::EDatabaseError& error) {
        std::cerr << "cds-field: " << host::Cp1252ToUtf8(error.what()) << "\n";
        return kNoSuchValue;
    }
    try {
        std::cout << host::Cp1252ToUtf8(field->AsString()) << "\n";
    } catch (const host::EDatabaseError& error) {
        std::cerr << "cds-field: " << host::Cp1252ToUtf8(error.what()) << "\n";
        return kNoText;
    }
    return kPrinted;
}
