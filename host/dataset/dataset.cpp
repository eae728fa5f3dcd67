#include "host/dataset/dataset.h"

#include "host/dataset/dataset_format.h"
#include "host/text/paths.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace host {

namespace {

// A branch parameter file is a few kilobytes; anything this big is not one.
constexpr std::uintmax_t kMaxFileSize = 64u << 20;

std::string ReadWholeFile(const std::string& path)
{
    const std::filesystem::path file = PathFromUtf8(path);
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (error || !std::filesystem::exists(status))
        throw EDatabaseError(path + ": cannot open the file");
    if (!std::filesystem::is_regular_file(status))
        throw EDatabaseError(path + ": not a regular file");
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error)
        throw EDatabaseError(path + ": cannot read the file size");
    if (size > kMaxFileSize)
        throw EDatabaseError(path + ": file too large for a dataset (" + std::to_string(size) + " bytes)");

    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw EDatabaseError(path + ": cannot open the file");
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        throw EDatabaseError(path + ": read error");
    return bytes;
}

bool StartsLikeXml(std::string_view bytes)
{
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        return true;  // UTF-16: the XML reader says why it refuses it
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    const std::size_t first = bytes.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && bytes[first] == '<';
}

}  // namespace

TField TField::Null(std::string name) { return TField(std::move(name), {}, Kind::Null); }

TField TField::WithoutText(std::string name, std::string message)
{
    return TField(std::move(name), std::move(message), Kind::WithoutText);
}

const std::string& TField::AsString() const
{
    if (kind_ == Kind::WithoutText)
        throw EDatabaseError(text_);
    return text_;
}

void TClientDataSet::LoadFromFile(const std::string& path) { LoadFromBytes(ReadWholeFile(path), path); }

void TClientDataSet::LoadFromBytes(std::string_view bytes, const std::string& source)
{
    namespace format = dataset_format;
    format::Contents contents;
    if (bytes.empty())
        throw EDatabaseError(source + ": empty file, not a dataset");
    if (format::LooksBinary(bytes))
        contents = format::ReadBinary(bytes, source);
    else if (StartsLikeXml(bytes))
        contents = format::ReadXml(bytes, source);
    else
        throw EDatabaseError(source + ": not a dataset file (neither the binary nor the XML encoding)");

    std::vector<TField> nulls;
    nulls.reserve(contents.field_names.size());
    for (const std::string& name : contents.field_names)
        nulls.push_back(TField::Null(name));

    source_ = source;
    field_names_ = std::move(contents.field_names);
    records_ = std::move(contents.records);
    nulls_ = std::move(nulls);
    current_ = 0;
    active_ = true;
}

void TClientDataSet::MoveTo(std::size_t record)
{
    if (record >= records_.size())
        throw EDatabaseError(source_ + ": record " + std::to_string(record + 1) + " is past the end (" +
                             std::to_string(records_.size()) + " records)");
    current_ = record;
}

const TField& TClientDataSet::FieldByName(const std::string& name) const
{
    for (std::size_t i = 0; i < field_names_.size(); ++i) {
        if (field_names_[i] == name)
            return current_ < records_.size() ? records_[current_][i] : nulls_[i];
    }
    throw EDatabaseError((source_.empty() ? std::string() : source_ + ": ") + "Field '" + name + "' not found");
}

namespace dataset_format {

void Fail(const std::string& source, std::string_view problem, std::size_t offset)
{
    throw EDatabaseError(source + ": " + std::string(problem) + " at byte " + std::to_string(offset));
}

bool LooksBinary(std::string_view bytes)
{
    const std::size_t n = std::min(bytes.size(), kBinarySignature.size());
    return n > 0 && bytes.substr(0, n) == kBinarySignature.substr(0, n);
}

namespace {

// The fewest digits that read back as the same value, fixed or scientific, whichever is shorter.
template <typename Float>
std::string ShortestText(Float value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

}  // namespace

std::string FloatText(double value) { return ShortestText(value); }
std::string FloatText(float value) { return ShortestText(value); }

std::string BooleanText(bool value) { return value ? "True" : "False"; }

std::string NoTextMessage(const std::string& source, const std::string& field, std::string_view kind)
{
    return source + ": field '" + field + "' holds " + std::string(kind) + ", which has no text form here";
}

}  // namespace dataset_format

}  // namespace host
