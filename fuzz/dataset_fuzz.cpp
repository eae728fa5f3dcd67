// Any bytes given to the dataset reader end in a dataset or in EDatabaseError: no other
// exception, no crash, no out-of-bounds read, no hang. A dataset that loads, written again as
// strings, reads back with the same texts.
#include "host/dataset/dataset.h"
#include "support/dataset_writer.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

// The texts of every field of every record, or nullopt when one has no text form.
std::optional<host::StringDataset> Texts(host::TClientDataSet& dataset)
{
    host::StringDataset texts{dataset.FieldNames(), {}};
    for (std::size_t r = 0; r < dataset.RecordCount(); ++r) {
        dataset.MoveTo(r);
        auto& record = texts.records.emplace_back();
        for (const std::string& name : dataset.FieldNames()) {
            const host::TField& field = dataset.FieldByName(name);
            try {
                record.push_back(field.IsNull() ? std::nullopt : std::optional<std::string>(field.AsString()));
            } catch (const host::EDatabaseError&) {
                return std::nullopt;
            }
        }
    }
    return texts;
}

void CheckRoundTrip(const host::StringDataset& texts, host::DatasetEncoding encoding)
{
    std::string bytes;
    try {
        bytes = host::EncodeDataset(texts, encoding);
    } catch (const std::invalid_argument&) {
        return;  // not every dataset is a dataset of strings that the encoding can hold
    }
    host::TClientDataSet again;
    again.LoadFromBytes(bytes, "rewritten");
    const std::optional<host::StringDataset> reread = Texts(again);
    if (!reread || reread->field_names != texts.field_names || reread->records != texts.records)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    host::TClientDataSet dataset;
    try {
        dataset.LoadFromBytes(std::string_view(reinterpret_cast<const char*>(data), size), "input");
    } catch (const host::EDatabaseError&) {
        return 0;
    }
    if (const std::optional<host::StringDataset> texts = Texts(dataset)) {
        CheckRoundTrip(*texts, host::DatasetEncoding::Binary);
        CheckRoundTrip(*texts, host::DatasetEncoding::Xml);
    }
    return 0;
}
