// The XML encoding: <DATAPACKET> holding <METADATA><FIELDS> with one <FIELD> per field, then
// <ROWDATA> with one <ROW> per record, its attributes the field values. A small parser of just
// that much XML: elements, attributes, the five named entities and character references;
// comments and processing instructions are skipped, anything else is refused.
#include "host/dataset/dataset_format.h"
#include "host/text/strings.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <set>
#include <utility>

namespace host::dataset_format {

namespace {

// Deeper or bigger than any data packet; bounds the work on hostile input.
constexpr std::size_t kMaxDepth = 32;
constexpr std::size_t kMaxElements = std::size_t{1} << 20;

using Attributes = std::vector<std::pair<std::string, std::string>>;

struct Element {
    std::string name;
    Attributes attributes;  // sorted by name
    std::vector<Element> children;
    std::size_t offset = 0;

    const std::string* Attribute(std::string_view wanted) const
    {
        const auto before = [](const auto& attribute, std::string_view key) { return attribute.first < key; };
        const auto at = std::lower_bound(attributes.begin(), attributes.end(), wanted, before);
        return at != attributes.end() && at->first == wanted ? &at->second : nullptr;
    }
    const Element* Child(std::string_view wanted) const
    {
        for (const Element& child : children)
            if (child.name == wanted)
                return &child;
        return nullptr;
    }
};

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsNameChar(char c)
{
    return !IsSpace(c) && c != '<' && c != '>' && c != '/' && c != '=' && c != '"' && c != '\'' &&
           c != '&' && c != '?' && c != '!';
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

class XmlParser {
public:
    XmlParser(std::string_view bytes, const std::string& source) : bytes_(bytes), source_(source) {}

    // The root element, with everything inside it; the whole input must be one document.
    Element Document()
    {
        if (bytes_.starts_with("\xEF\xBB\xBF")) {
            utf8_ = true;
            pos_ = 3;
        } else if (bytes_.starts_with("\xFF\xFE") || bytes_.starts_with("\xFE\xFF")) {
            Fail(source_, "UTF-16 XML is not supported", 0);
        }
        // A document ends with the '>' of its last tag; this refuses most cut-off files at once.
        const std::size_t last = bytes_.find_last_not_of(" \t\r\n");
        if (last == std::string_view::npos || bytes_[last] != '>')
            Fail(source_, "truncated document (it does not end with a tag)", bytes_.size());
        if (Rest().starts_with("<?xml") && Rest().size() > 5 && IsSpace(Rest()[5]))
            Declaration();
        SkipMisc();
        if (AtEnd() || Peek() != '<')
            Fail(source_, "no root element", pos_);
        Element root = Tree();
        SkipMisc();
        if (!AtEnd())
            Fail(source_, "unexpected data after the root element", pos_);
        return root;
    }

private:
    std::string_view Rest() const { return bytes_.substr(pos_); }
    bool AtEnd() const { return pos_ >= bytes_.size(); }
    char Peek() const { return bytes_[pos_]; }
    [[noreturn]] void Truncated(std::string_view what) const { Fail(source_, "truncated " + std::string(what), pos_); }

    void Declaration()
    {
        pos_ += 5;
        Attributes pseudo;
        while (true) {
            SkipSpace();
            if (Rest().starts_with("?>"))
                break;
            if (AtEnd())
                Truncated("XML declaration");
            pseudo.push_back(Attribute());
        }
        pos_ += 2;
        for (const auto& [key, value] : pseudo) {
            if (key != "encoding")
                continue;
            if (EqualsIgnoringCase(value, "UTF-8") || EqualsIgnoringCase(value, "UTF8"))
                utf8_ = true;
            else if (!EqualsIgnoringCase(value, "windows-1252") && !EqualsIgnoringCase(value, "cp1252") &&
                     !EqualsIgnoringCase(value, "ISO-8859-1") && !EqualsIgnoringCase(value, "latin1") &&
                     !EqualsIgnoringCase(value, "US-ASCII"))
                Fail(source_, "unsupported XML encoding '" + value + "'", 0);
        }
    }

    void SkipSpace()
    {
        while (!AtEnd() && IsSpace(Peek()))
            ++pos_;
    }

    // Whitespace, comments and processing instructions, where the packet may hold them.
    void SkipMisc()
    {
        while (true) {
            SkipSpace();
            if (Rest().starts_with("<!--")) {
                const std::size_t end = bytes_.find("-->", pos_ + 4);
                if (end == std::string_view::npos)
                    Truncated("comment");
                pos_ = end + 3;
            } else if (Rest().starts_with("<?")) {
                const std::size_t end = bytes_.find("?>", pos_ + 2);
                if (end == std::string_view::npos)
                    Truncated("processing instruction");
                pos_ = end + 2;
            } else {
                return;
            }
        }
    }

    // Builds the element tree without recursion, so that nesting costs no stack.
    Element Tree()
    {
        std::vector<Element> open;
        while (true) {
            bool empty = false;
            Element element = StartTag(empty);
            if (!empty) {
                if (open.size() >= kMaxDepth)
                    Fail(source_, "elements nested too deeply", element.offset);
                open.push_back(std::move(element));
            } else if (open.empty()) {
                return element;
            } else {
                open.back().children.push_back(std::move(element));
            }
            while (!open.empty()) {
                SkipMisc();
                if (AtEnd())
                    Fail(source_, "truncated document: <" + open.back().name + "> is not closed", pos_);
                if (Peek() != '<')
                    Fail(source_, "unexpected text", pos_);
                if (Rest().starts_with("<!"))
                    Fail(source_, "unsupported markup", pos_);
                if (!Rest().starts_with("</"))
                    break;
                EndTag(open.back().name);
                Element done = std::move(open.back());
                open.pop_back();
                if (open.empty())
                    return done;
                open.back().children.push_back(std::move(done));
            }
        }
    }

    std::string Name(std::string_view what)
    {
        const std::size_t start = pos_;
        while (!AtEnd() && IsNameChar(Peek()))
            ++pos_;
        if (AtEnd())
            Truncated(what);
        if (pos_ == start)
            Fail(source_, "invalid " + std::string(what), pos_);
        const std::string_view name = bytes_.substr(start, pos_ - start);
        return utf8_ ? Utf8ToCp1252(name) : std::string(name);
    }

    Element StartTag(bool& empty)
    {
        if (++elements_ > kMaxElements)
            Fail(source_, "too many elements for a data packet", pos_);
        Element element;
        element.offset = pos_;
        ++pos_;  // '<'
        element.name = Name("element name");
        while (true) {
            const bool spaced = !AtEnd() && IsSpace(Peek());
            SkipSpace();
            if (AtEnd())
                Truncated("tag <" + element.name + ">");
            if (Rest().starts_with("/>") || Peek() == '>') {
                empty = Peek() == '/';
                pos_ += empty ? 2 : 1;
                SortAttributes(element);
                return element;
            }
            if (!spaced)
                Fail(source_, "malformed tag <" + element.name + ">", pos_);
            element.attributes.push_back(Attribute());
        }
    }

    void SortAttributes(Element& element) const
    {
        auto& attributes = element.attributes;
        std::sort(attributes.begin(), attributes.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        const auto twin = std::adjacent_find(attributes.begin(), attributes.end(),
                                             [](const auto& a, const auto& b) { return a.first == b.first; });
        if (twin != attributes.end())
            Fail(source_, "duplicate attribute " + twin->first + " in <" + element.name + ">", element.offset);
    }

    void EndTag(const std::string& expected)
    {
        const std::size_t start = pos_;
        pos_ += 2;
        const std::string name = Name("end tag");
        SkipSpace();
        if (AtEnd())
            Truncated("end tag </" + name + ">");
        if (Peek() != '>')
            Fail(source_, "malformed end tag </" + name + ">", pos_);
        ++pos_;
        if (name != expected)
            Fail(source_, "</" + name + "> closes <" + expected + ">", start);
    }

    std::pair<std::string, std::string> Attribute()
    {
        std::string key = Name("attribute name");
        SkipSpace();
        if (AtEnd())
            Truncated("attribute " + key);
        if (Peek() != '=')
            Fail(source_, "attribute " + key + " has no value", pos_);
        ++pos_;
        SkipSpace();
        if (AtEnd())
            Truncated("attribute " + key);
        const char quote = Peek();
        if (quote != '"' && quote != '\'')
            Fail(source_, "attribute " + key + " has no quoted value", pos_);
        const std::size_t end = bytes_.find(quote, pos_ + 1);
        if (end == std::string_view::npos)
            Truncated("attribute " + key);
        std::string value = Unescape(bytes_.substr(pos_ + 1, end - pos_ - 1), pos_ + 1);
        pos_ = end + 1;
        return {std::move(key), std::move(value)};
    }

    std::string Unescape(std::string_view raw, std::size_t offset) const
    {
        std::string text;
        text.reserve(raw.size());
        std::size_t i = 0;
        while (i < raw.size()) {
            const std::size_t special = std::min(raw.find_first_of("&<", i), raw.size());
            text.append(raw.substr(i, special - i));
            i = special;
            if (i == raw.size())
                break;
            if (raw[i] == '<')
                Fail(source_, "'<' in an attribute value", offset + i);
            const std::size_t semicolon = raw.find(';', i);
            if (semicolon == std::string_view::npos || semicolon - i > 12)
                Fail(source_, "unterminated entity reference", offset + i);
            const char32_t cp = Entity(raw.substr(i + 1, semicolon - i - 1), offset + i);
            if (utf8_)
                AppendUtf8(text, cp);
            else
                text += CodePointToCp1252(cp);
            i = semicolon + 1;
        }
        return utf8_ ? Utf8ToCp1252(text) : text;
    }

    char32_t Entity(std::string_view name, std::size_t offset) const
    {
        static constexpr std::array<std::pair<std::string_view, char32_t>, 5> kNamed{
            {{"amp", U'&'}, {"lt", U'<'}, {"gt", U'>'}, {"quot", U'"'}, {"apos", U'\''}}};
        for (const auto& [entity, cp] : kNamed)
            if (name == entity)
                return cp;
        if (name.size() >= 2 && name[0] == '#') {
            const bool hex = name[1] == 'x';
            const std::string_view digits = name.substr(hex ? 2 : 1);
            std::uint32_t cp = 0;
            const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), cp, hex ? 16 : 10);
            if (!digits.empty() && error == std::errc() && end == digits.data() + digits.size() && cp != 0 &&
                cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF))
                return cp;
            Fail(source_, "invalid character reference &" + std::string(name) + ";", offset);
        }
        Fail(source_, "unknown entity &" + std::string(name) + ";", offset);
    }

    std::string_view bytes_;
    const std::string& source_;
    std::size_t pos_ = 0;
    std::size_t elements_ = 0;
    bool utf8_ = false;  // otherwise bytes are Windows-1252 as stored, as the framework writes them
};

enum class Kind { String, Signed, Unsigned, Float, Boolean, Bytes, NoText };

struct Column {
    std::string name;
    Kind kind = Kind::String;
    std::int64_t min = 0;
    std::uint64_t max = 0;
    std::string no_text;  // what reading the text of a NoText value raises
};

Column ColumnOf(const Element& field, const std::string& source)
{
    const std::string* name = field.Attribute("attrname");
    const std::string* type = field.Attribute("fieldtype");
    if (name == nullptr || name->empty())
        Fail(source, "<FIELD> without attrname", field.offset);
    if (type == nullptr)
        Fail(source, "field '" + *name + "' has no fieldtype", field.offset);
    if (field.Child("FIELDS") != nullptr)
        Fail(source, "nested dataset field '" + *name + "' is not supported", field.offset);

    struct Known {
        std::string_view type;
        Kind kind;
        std::int64_t min;
        std::uint64_t max;
        std::string_view no_text;
    };
    static constexpr std::array<Known, 18> kTypes{{
        {"string", Kind::String, 0, 0, {}},
        {"string.uni", Kind::String, 0, 0, {}},
        {"i1", Kind::Signed, INT8_MIN, INT8_MAX, {}},
        {"i2", Kind::Signed, INT16_MIN, INT16_MAX, {}},
        {"i4", Kind::Signed, INT32_MIN, INT32_MAX, {}},
        {"i8", Kind::Signed, INT64_MIN, INT64_MAX, {}},
        {"ui1", Kind::Unsigned, 0, UINT8_MAX, {}},
        {"ui2", Kind::Unsigned, 0, UINT16_MAX, {}},
        {"ui4", Kind::Unsigned, 0, UINT32_MAX, {}},
        {"ui8", Kind::Unsigned, 0, UINT64_MAX, {}},
        {"r8", Kind::Float, 0, 0, {}},
        {"boolean", Kind::Boolean, 0, 0, {}},
        {"bin.hex", Kind::Bytes, 0, 0, {}},
        {"fixed", Kind::NoText, 0, 0, "a BCD number"},
        {"fixedFMT", Kind::NoText, 0, 0, "a BCD number"},
        {"date", Kind::NoText, 0, 0, "a date"},
        {"time", Kind::NoText, 0, 0, "a time"},
        {"dateTime", Kind::NoText, 0, 0, "a date-time"},
    }};
    for (const Known& known : kTypes)
        if (*type == known.type)
            return Column{*name, known.kind, known.min, known.max,
                          known.no_text.empty() ? std::string() : NoTextMessage(source, *name, known.no_text)};
    if (*type == "SQLdateTime")
        return Column{*name, Kind::NoText, 0, 0, NoTextMessage(source, *name, "a date-time")};
    Fail(source, "unknown field type '" + *type + "' of field '" + *name + "'", field.offset);
}

std::optional<std::string> Base64(std::string_view text)
{
    std::string bytes;
    std::uint32_t group = 0;
    int filled = 0;
    int padding = 0;
    for (char c : text) {
        if (IsSpace(c))
            continue;
        int value = -1;
        if (c >= 'A' && c <= 'Z') value = c - 'A';
        else if (c >= 'a' && c <= 'z') value = c - 'a' + 26;
        else if (c >= '0' && c <= '9') value = c - '0' + 52;
        else if (c == '+') value = 62;
        else if (c == '/') value = 63;
        else if (c == '=' && filled >= 2) { value = 0; ++padding; }
        if (value < 0 || (padding > 0 && c != '='))
            return std::nullopt;
        group = (group << 6) | static_cast<std::uint32_t>(value);
        if (++filled == 4) {
            const char decoded[3] = {static_cast<char>(group >> 16), static_cast<char>(group >> 8),
                                     static_cast<char>(group)};
            bytes.append(decoded, 3 - padding);
            group = 0;
            filled = 0;
            if (padding > 0)
                padding = -1;  // nothing may follow a padded group
        } else if (padding < 0) {
            return std::nullopt;
        }
    }
    if (filled != 0)
        return std::nullopt;
    return bytes;
}

// The value's text, or nullopt when the stored value is not of the field's type.
std::optional<TField> ValueOf(const Column& column, const std::string& value)
{
    if (value.empty() && column.kind != Kind::String)
        return TField::Null(column.name);
    const char* first = value.data();
    const char* last = value.data() + value.size();
    switch (column.kind) {
    case Kind::String:
        return TField(column.name, value);
    case Kind::Signed: {
        std::int64_t number = 0;
        const auto [end, error] = std::from_chars(first, last, number);
        const auto max = static_cast<std::int64_t>(column.max);
        if (error != std::errc() || end != last || number < column.min || number > max)
            return std::nullopt;
        return TField(column.name, std::to_string(number));
    }
    case Kind::Unsigned: {
        std::uint64_t number = 0;
        const auto [end, error] = std::from_chars(first, last, number);
        if (error != std::errc() || end != last || number > column.max)
            return std::nullopt;
        return TField(column.name, std::to_string(number));
    }
    case Kind::Float: {
        double number = 0;
        const auto [end, error] = std::from_chars(first, last, number);
        if (error != std::errc() || end != last)
            return std::nullopt;
        return TField(column.name, FloatText(number));
    }
    case Kind::Boolean:
        if (EqualsIgnoringCase(value, "TRUE"))
            return TField(column.name, BooleanText(true));
        if (EqualsIgnoringCase(value, "FALSE"))
            return TField(column.name, BooleanText(false));
        return std::nullopt;
    case Kind::Bytes:
        if (std::optional<std::string> bytes = Base64(value))
            return TField(column.name, std::move(*bytes));
        return std::nullopt;
    case Kind::NoText:
        break;
    }
    return TField::WithoutText(column.name, column.no_text);
}

const Element& RequiredChild(const Element& parent, std::string_view name, const std::string& source)
{
    if (const Element* child = parent.Child(name))
        return *child;
    Fail(source, "<" + parent.name + "> has no <" + std::string(name) + ">", parent.offset);
}

}  // namespace

Contents ReadXml(std::string_view bytes, const std::string& source)
{
    const Element root = XmlParser(bytes, source).Document();
    if (root.name != "DATAPACKET")
        Fail(source, "not a data packet: the root element is <" + root.name + ">", root.offset);
    const Element& fields = RequiredChild(RequiredChild(root, "METADATA", source), "FIELDS", source);
    const Element& rows = RequiredChild(root, "ROWDATA", source);

    std::vector<Column> columns;
    std::set<std::string> names;
    for (const Element& field : fields.children) {
        if (field.name != "FIELD")
            Fail(source, "unexpected <" + field.name + "> in <FIELDS>", field.offset);
        Column column = ColumnOf(field, source);
        if (!names.insert(column.name).second)
            Fail(source, "duplicate field name '" + column.name + "'", field.offset);
        columns.push_back(std::move(column));
    }
    if (!columns.empty() && rows.children.size() > kMaxCells / columns.size())
        Fail(source, "too many values for a dataset", rows.offset);

    Contents contents;
    contents.records.reserve(rows.children.size());
    for (const Element& row : rows.children) {
        const std::string where = " in row " + std::to_string(contents.records.size() + 1);
        if (row.name != "ROW")
            Fail(source, "unexpected <" + row.name + "> in <ROWDATA>", row.offset);
        if (!row.children.empty())
            Fail(source, "nested rows are not supported" + where, row.offset);
        std::vector<TField> record;
        record.reserve(columns.size());
        // A field that the row does not mention is null; attributes that name no field (the
        // change log's RowState) are not values.
        for (const Column& column : columns) {
            const std::string* value = row.Attribute(column.name);
            std::optional<TField> field = value ? ValueOf(column, *value) : TField::Null(column.name);
            if (!field) {
                const std::string shown = value->size() > 40 ? value->substr(0, 40) + "..." : *value;
                Fail(source, "invalid value '" + shown + "' of field '" + column.name + "'" + where, row.offset);
            }
            record.push_back(std::move(*field));
        }
        contents.records.push_back(std::move(record));
    }
    for (Column& column : columns)
        contents.field_names.push_back(std::move(column.name));
    return contents;
}

}  // namespace host::dataset_format
