#include "support/dataset_writer.h"

#include "host/dataset/dataset.h"
#include "host/dataset/dataset_format.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <set>
#include <stdexcept>

namespace host {

namespace {

constexpr std::size_t kMaxValue = 0xFFFF;
constexpr unsigned kVariableString = 0x49;
constexpr unsigned kUnsignedProperty = 0x02;
constexpr unsigned kSignedProperty = 0x01;
constexpr std::uint32_t kBrazilianPortuguese = 0x0416;  // the LCID the till's programs write

void Check(bool condition, const std::string& problem)
{
    if (!condition)
        throw std::invalid_argument("cannot encode the dataset: " + problem);
}

void CheckShape(const StringDataset& dataset)
{
    std::set<std::string> names;
    for (const std::string& name : dataset.field_names) {
        Check(!name.empty() && name.size() <= 0xFF, "field names take 1 to 255 bytes");
        Check(names.insert(name).second, "duplicate field name '" + name + "'");
    }
    Check(dataset.field_names.size() <= 0xFFFF, "too many fields");
    Check(dataset.records.size() <= 0x7FFFFFFF, "too many records");
    for (const auto& record : dataset.records) {
        Check(record.size() == dataset.field_names.size(), "a record has the wrong number of values");
        for (const auto& value : record)
            Check(!value || value->size() <= kMaxValue, "a value is longer than 65535 bytes");
    }
}

std::size_t LongestValue(const StringDataset& dataset, std::size_t field)
{
    std::size_t longest = 0;
    for (const auto& record : dataset.records)
        if (record[field])
            longest = std::max(longest, record[field]->size());
    return longest;
}

class LittleEndianBuffer {
public:
    void Bytes(std::string_view bytes) { out_ += bytes; }
    void Unsigned(std::uint64_t value, std::size_t width)
    {
        for (std::size_t i = 0; i < width; ++i, value >>= 8)
            out_ += static_cast<char>(value & 0xFF);
    }
    void Name(std::string_view name)
    {
        Unsigned(name.size(), 1);
        Bytes(name);
    }
    std::size_t Size() const { return out_.size(); }
    void Patch(std::size_t offset, std::uint64_t value, std::size_t width)
    {
        for (std::size_t i = 0; i < width; ++i, value >>= 8)
            out_[offset + i] = static_cast<char>(value & 0xFF);
    }
    std::string Take() { return std::move(out_); }

private:
    std::string out_;
};

std::string EncodeBinary(const StringDataset& dataset)
{
    const std::size_t fields = dataset.field_names.size();
    std::vector<std::size_t> prefix(fields);
    LittleEndianBuffer out;
    out.Bytes(dataset_format::kBinarySignature);
    out.Unsigned(1, 4);
    out.Unsigned(24, 4);
    out.Unsigned(fields, 2);
    out.Unsigned(dataset.records.size(), 4);
    out.Unsigned(3, 4);
    const std::size_t header_size_at = out.Size();
    out.Unsigned(0, 2);
    for (std::size_t f = 0; f < fields; ++f) {
        const std::size_t longest = LongestValue(dataset, f);
        prefix[f] = longest > 0xFF ? 2 : 1;
        out.Name(dataset.field_names[f]);
        out.Unsigned(prefix[f], 2);
        out.Unsigned(kVariableString, 2);
        out.Unsigned(0, 2);  // attributes
        out.Unsigned(1, 2);  // one property: WIDTH
        out.Name("WIDTH");
        out.Unsigned(2, 2);
        out.Unsigned(kUnsignedProperty, 2);
        out.Unsigned(std::max<std::size_t>(longest, 1), 2);
    }
    out.Unsigned(1, 2);  // one dataset property: LCID
    out.Name("LCID");
    out.Unsigned(4, 2);
    out.Unsigned(kSignedProperty, 2);
    out.Unsigned(kBrazilianPortuguese, 4);
    Check(out.Size() <= 0xFFFF, "the field descriptors exceed 65535 bytes");
    out.Patch(header_size_at, out.Size(), 2);

    for (const auto& record : dataset.records) {
        out.Unsigned(0, 1);  // status
        std::string bitmap((fields * 2 + 7) / 8, '\0');
        for (std::size_t f = 0; f < fields; ++f)
            if (!record[f])
                bitmap[f / 4] = static_cast<char>(bitmap[f / 4] | (1 << (2 * (f % 4))));
        out.Bytes(bitmap);
        for (std::size_t f = 0; f < fields; ++f) {
            if (!record[f])
                continue;
            out.Unsigned(record[f]->size(), prefix[f]);
            out.Bytes(*record[f]);
        }
    }
    return out.Take();
}

bool IsXmlNameByte(char c, bool first)
{
    const auto byte = static_cast<unsigned char>(c);
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || byte >= 0x80;
    return letter || (!first && ((c >= '0' && c <= '9') || c == '.' || c == '-'));
}

std::string XmlEscaped(std::string_view text)
{
    std::string escaped;
    for (char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        default:
            Check(c != '\0', "a NUL byte cannot be written in XML");
            // Literal line ends and tabs in an attribute would not survive an XML reader.
            if (static_cast<unsigned char>(c) < 0x20)
                escaped += "&#" + std::to_string(static_cast<int>(c)) + ";";
            else
                escaped += c;
        }
    }
    return escaped;
}

// Windows-1252 bytes as stored, without an encoding declaration, as the framework writes them.
std::string EncodeXml(const StringDataset& dataset)
{
    for (const std::string& name : dataset.field_names) {
        bool valid = true;
        for (std::size_t i = 0; i < name.size(); ++i)
            valid = valid && IsXmlNameByte(name[i], i == 0);
        Check(valid, "'" + name + "' is not an XML name");
    }
    std::string out = "<?xml version=\"1.0\" standalone=\"yes\"?>  <DATAPACKET Version=\"2.0\"><METADATA><FIELDS>";
    for (std::size_t f = 0; f < dataset.field_names.size(); ++f)
        out += "<FIELD attrname=\"" + dataset.field_names[f] + "\" fieldtype=\"string\" WIDTH=\"" +
               std::to_string(std::max<std::size_t>(LongestValue(dataset, f), 1)) + "\"/>";
    out += "</FIELDS><PARAMS LCID=\"" + std::to_string(kBrazilianPortuguese) + "\"/></METADATA><ROWDATA>";
    for (const auto& record : dataset.records) {
        out += "<ROW";
        for (std::size_t f = 0; f < record.size(); ++f)
            if (record[f])
                out += " " + dataset.field_names[f] + "=\"" + XmlEscaped(*record[f]) + "\"";
        out += "/>";
    }
    out += "</ROWDATA></DATAPACKET>";
    return out;
}

}  // namespace

std::string EncodeDataset(const StringDataset& dataset, DatasetEncoding encoding)
{
    CheckShape(dataset);
    return encoding == DatasetEncoding::Binary ? EncodeBinary(dataset) : EncodeXml(dataset);
}

void SaveDataset(const StringDataset& dataset, DatasetEncoding encoding, const std::string& path)
{
    const std::string bytes = EncodeDataset(dataset, encoding);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw EDatabaseError(path + ": cannot write the file");
}

}  // namespace host
