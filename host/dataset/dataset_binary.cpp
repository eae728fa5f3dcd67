// The binary encoding (little-endian): a 24-byte header, one descriptor per field, the dataset's
// properties, then the records. Every length is checked against the bytes that remain.
#include "host/dataset/dataset_format.h"
#include "host/text/strings.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <set>
#include <string>

namespace host::dataset_format {

namespace {

// A little-endian unsigned integer of up to 8 bytes.
std::uint64_t LittleEndian(std::string_view bytes)
{
    std::uint64_t value = 0;
    for (std::size_t i = bytes.size(); i-- > 0;)
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return value;
}

enum TypeCode : unsigned {
    kSigned = 1,
    kUnsigned = 2,
    kBoolean = 3,
    kFloat = 4,
    kBcd = 5,
    kDate = 6,
    kTime = 7,
    kDateTime = 8,
    kString = 9,
    kWideString = 10,
    kBytes = 11,
};
constexpr unsigned kBaseMask = 0x3F;
constexpr unsigned kVariable = 0x40;  // length prefix of `size` bytes, then the value
constexpr unsigned kArray = 0x80;     // uint32 count, then the elements
constexpr std::size_t kHeaderSize = 24;

std::string Hex(unsigned value)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string digits;
    do {
        digits.insert(digits.begin(), kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    if (digits.size() % 2 != 0)
        digits.insert(digits.begin(), '0');
    return "0x" + digits;
}

class ByteReader {
public:
    ByteReader(std::string_view bytes, const std::string& source) : bytes_(bytes), source_(source) {}

    std::size_t Offset() const { return offset_; }
    std::size_t Remaining() const { return bytes_.size() - offset_; }

    std::string_view Take(std::size_t count, std::string_view what)
    {
        if (count > Remaining())
            Fail(source_, "truncated " + std::string(what), offset_);
        const std::string_view part = bytes_.substr(offset_, count);
        offset_ += count;
        return part;
    }

    // A little-endian unsigned integer of 1 to 8 bytes.
    std::uint64_t Unsigned(std::size_t width, std::string_view what) { return LittleEndian(Take(width, what)); }
    unsigned U8(std::string_view what) { return static_cast<unsigned>(Unsigned(1, what)); }
    unsigned U16(std::string_view what) { return static_cast<unsigned>(Unsigned(2, what)); }
    std::uint32_t U32(std::string_view what) { return static_cast<std::uint32_t>(Unsigned(4, what)); }

    void SkipTo(std::size_t offset, std::string_view what)
    {
        if (offset > bytes_.size())
            Fail(source_, "truncated " + std::string(what), bytes_.size());
        offset_ = offset;
    }

    [[noreturn]] void FailAt(std::size_t offset, std::string_view problem) const { Fail(source_, problem, offset); }
    const std::string& Source() const { return source_; }

private:
    std::string_view bytes_;
    const std::string& source_;
    std::size_t offset_ = 0;
};

struct Column {
    std::string name;
    unsigned base = 0;
    bool variable = false;
    std::size_t size = 0;  // a fixed value's bytes, or the width of a variable value's length prefix
    std::string no_text;   // for the types without text form, what reading their text raises
};

bool IsPrefixWidth(std::size_t size) { return size == 1 || size == 2 || size == 4; }
bool IsIntegerWidth(std::size_t size) { return size == 1 || size == 2 || size == 4 || size == 8; }

// Empty when the descriptor's type and size make sense together.
std::string ColumnProblem(const Column& column, unsigned type)
{
    const std::string of = " of field '" + column.name + "'";
    if ((type & kArray) != 0 || type > 0xFF)
        return "unsupported field type " + Hex(type) + of;
    if (column.base < kSigned || column.base > kBytes)
        return "unknown field type " + Hex(type) + of;
    if (column.variable) {
        if (column.base != kString && column.base != kWideString && column.base != kBytes)
            return "field type " + Hex(type) + of + " cannot have a variable length";
        if (!IsPrefixWidth(column.size))
            return "invalid length-prefix size " + std::to_string(column.size) + of;
        return {};
    }
    bool valid = column.size > 0;
    switch (column.base) {
    case kSigned: case kUnsigned: case kBoolean: valid = IsIntegerWidth(column.size); break;
    case kFloat: valid = column.size == 4 || column.size == 8; break;
    case kWideString: valid = column.size % 2 == 0 && column.size > 0; break;
    default: break;
    }
    return valid ? std::string() : "invalid size " + std::to_string(column.size) + of;
}

// Properties (of a field or of the dataset) are skipped: nothing the dialog reads lives there.
void SkipProperties(ByteReader& in, unsigned count, std::string_view what)
{
    for (unsigned p = 0; p < count; ++p) {
        const std::size_t start = in.Offset();
        in.Take(in.U8(what), what);
        const std::size_t size = in.U16(what);
        const unsigned type = in.U16(what);
        if (type > 0xFF || (type & kBaseMask) < kSigned || (type & kBaseMask) > kBytes)
            in.FailAt(start, "unknown property type " + Hex(type));
        const std::uint64_t elements = (type & kArray) != 0 ? in.U32(what) : 1;
        if ((type & kVariable) != 0) {
            if (!IsPrefixWidth(size))
                in.FailAt(start, "invalid property length-prefix size " + std::to_string(size));
            if (elements > in.Remaining())  // every element has at least its prefix
                in.FailAt(in.Offset(), "truncated " + std::string(what));
            for (std::uint64_t e = 0; e < elements; ++e)
                in.Take(in.Unsigned(size, what), what);
        } else {
            if (size != 0 && elements > in.Remaining() / size)
                in.FailAt(in.Offset(), "truncated " + std::string(what));
            in.Take(static_cast<std::size_t>(elements * size), what);
        }
    }
}

Column ReadColumn(ByteReader& in, std::set<std::string>& names)
{
    static constexpr std::string_view kWhat = "field descriptor";
    const std::size_t start = in.Offset();
    Column column;
    column.name = std::string(in.Take(in.U8(kWhat), kWhat));
    if (column.name.empty())
        in.FailAt(start, "empty field name");
    column.size = in.U16(kWhat);
    const unsigned type = in.U16(kWhat);
    column.base = type & kBaseMask;
    column.variable = (type & kVariable) != 0;
    in.U16(kWhat);  // attributes: required, read-only, hidden; nothing to read here
    const unsigned properties = in.U16(kWhat);
    if (const std::string problem = ColumnProblem(column, type); !problem.empty())
        in.FailAt(start, problem);
    if (!names.insert(column.name).second)
        in.FailAt(start, "duplicate field name '" + column.name + "'");
    SkipProperties(in, properties, "field property");
    const auto kind = [&]() -> std::string_view {
        switch (column.base) {
        case kBcd: return "a BCD number";
        case kDate: return "a date";
        case kTime: return "a time";
        case kDateTime: return "a date-time";
        default: return {};
        }
    }();
    if (!kind.empty())
        column.no_text = NoTextMessage(in.Source(), column.name, kind);
    return column;
}

char32_t Utf16Unit(std::string_view bytes, std::size_t at)
{
    return static_cast<unsigned char>(bytes[at]) | (static_cast<unsigned char>(bytes[at + 1]) << 8);
}

std::string WideToCp1252(std::string_view bytes, bool stop_at_nul)
{
    std::string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char32_t unit = Utf16Unit(bytes, i);
        if (unit == 0 && stop_at_nul)
            break;
        char32_t code_point = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = Utf16Unit(bytes, i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                code_point = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        text += CodePointToCp1252(code_point);
    }
    return text;
}

struct Cell {
    std::string_view bytes;
    bool null = false;
};

// Where the value lies; every length is checked here, before anything is decoded.
Cell LocateValue(ByteReader& in, const Column& column, std::size_t record)
{
    // The message is built only when needed: this runs for every value of the file.
    const auto what = [&] { return "value of field '" + column.name + "' in record " + std::to_string(record + 1); };
    const std::size_t start = in.Offset();
    if (in.Remaining() < column.size)
        in.FailAt(start, "truncated " + what());
    const std::size_t length = column.variable ? static_cast<std::size_t>(in.Unsigned(column.size, {})) : column.size;
    if (in.Remaining() < length)
        in.FailAt(start, "truncated " + what());
    if (column.base == kWideString && length % 2 != 0)
        in.FailAt(start, "odd byte count in the UTF-16 " + what());
    return Cell{in.Take(length, {})};
}

TField Decode(const Column& column, std::string_view bytes)
{
    switch (column.base) {
    case kSigned: {
        const unsigned shift = static_cast<unsigned>(64 - 8 * bytes.size());
        const auto value = static_cast<std::int64_t>(LittleEndian(bytes) << shift) >> shift;
        return TField(column.name, std::to_string(value));
    }
    case kUnsigned:
        return TField(column.name, std::to_string(LittleEndian(bytes)));
    case kBoolean:
        return TField(column.name, BooleanText(LittleEndian(bytes) != 0));
    case kFloat:
        if (bytes.size() == 4) {
            const auto bits = static_cast<std::uint32_t>(LittleEndian(bytes));
            return TField(column.name, FloatText(std::bit_cast<float>(bits)));
        }
        return TField(column.name, FloatText(std::bit_cast<double>(LittleEndian(bytes))));
    case kBcd: case kDate: case kTime: case kDateTime:
        return TField::WithoutText(column.name, column.no_text);
    case kString:
        return TField(column.name, std::string(column.variable ? bytes : bytes.substr(0, bytes.find('\0'))));
    case kWideString:
        return TField(column.name, WideToCp1252(bytes, !column.variable));
    default:
        return TField(column.name, std::string(bytes));
    }
}

}  // namespace

Contents ReadBinary(std::string_view bytes, const std::string& source)
{
    ByteReader in(bytes, source);
    static constexpr std::string_view kHeader = "header";
    if (bytes.size() < kHeaderSize)
        in.Take(kHeaderSize, kHeader);
    if (in.Take(kBinarySignature.size(), kHeader) != kBinarySignature)
        in.FailAt(0, "not a dataset file (bad signature)");
    in.U32(kHeader);  // 1 in every file seen
    in.U32(kHeader);  // 24 in every file seen
    const unsigned field_count = in.U16(kHeader);
    const std::uint32_t record_count = in.U32(kHeader);
    in.U32(kHeader);  // 3 in every file seen
    const std::size_t header_size = in.U16(kHeader);
    if (record_count > 0x7FFFFFFF)
        in.FailAt(14, "negative record count");
    if (header_size < kHeaderSize)
        in.FailAt(22, "header size " + std::to_string(header_size) + " too small");

    std::vector<Column> columns;
    std::set<std::string> names;
    for (unsigned f = 0; f < field_count; ++f)
        columns.push_back(ReadColumn(in, names));
    SkipProperties(in, in.U16("dataset properties"), "dataset property");
    if (in.Offset() > header_size)
        in.FailAt(in.Offset(), "field descriptors run past the header size " + std::to_string(header_size));
    in.SkipTo(header_size, "header");

    if (field_count > 0 && record_count > kMaxCells / field_count)
        in.FailAt(14, "too many values for a dataset (" + std::to_string(record_count) + " records of " +
                          std::to_string(field_count) + " fields)");
    const std::size_t bitmap_size = (std::size_t{field_count} * 2 + 7) / 8;
    std::vector<Cell> cells;
    cells.reserve(std::min<std::size_t>(std::size_t{record_count} * field_count, in.Remaining()));
    for (std::uint32_t r = 0; r < record_count; ++r) {
        if (in.Remaining() < 1 + bitmap_size)
            in.FailAt(in.Offset(), "truncated record " + std::to_string(r + 1));
        in.U8({});  // status: how the record came to be; every stored record is shown
        const std::string_view bitmap = in.Take(bitmap_size, {});
        for (std::size_t f = 0; f < columns.size(); ++f) {
            // Two bits per field, the first field in the low bits; non-zero: null or blank, no bytes.
            const unsigned state = (static_cast<unsigned char>(bitmap[f / 4]) >> (2 * (f % 4))) & 3;
            cells.push_back(state != 0 ? Cell{{}, true} : LocateValue(in, columns[f], r));
        }
    }
    if (in.Remaining() != 0)
        in.FailAt(in.Offset(), "unexpected data after the last record");

    Contents contents;
    contents.records.reserve(record_count);  // each took at least its status byte
    for (std::size_t r = 0; r < record_count; ++r) {
        std::vector<TField> fields;
        fields.reserve(columns.size());
        for (std::size_t f = 0; f < columns.size(); ++f) {
            const Cell& cell = cells[r * columns.size() + f];
            fields.push_back(cell.null ? TField::Null(columns[f].name) : Decode(columns[f], cell.bytes));
        }
        contents.records.push_back(std::move(fields));
    }
    for (Column& column : columns)
        contents.field_names.push_back(std::move(column.name));
    return contents;
}

}  // namespace host::dataset_format
