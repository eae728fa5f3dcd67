#pragma once
// The framework's in-memory dataset, as far as the dialog uses it: load the stored form of a
// dataset (binary or XML encoding, told apart by content) and read a field of the current record
// as text. Every malformed file raises EDatabaseError naming the file and the problem; nothing is
// read out of bounds.
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace host {

class EDatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TField {
public:
    TField(std::string name, std::string text) : name_(std::move(name)), text_(std::move(text)) {}
    // A field that holds no value (null, or stored blank): its text is "".
    static TField Null(std::string name);
    // A value that has no text form here (a date, a BCD number): AsString raises EDatabaseError
    // with this message. Loading such a file still works; only asking for this text fails.
    static TField WithoutText(std::string name, std::string message);

    const std::string& FieldName() const { return name_; }
    // The value as the framework shows it as text (Windows-1252); "" for a null field.
    const std::string& AsString() const;
    bool IsNull() const { return kind_ == Kind::Null; }

private:
    enum class Kind { Text, Null, WithoutText };
    TField(std::string name, std::string text, Kind kind)
        : name_(std::move(name)), text_(std::move(text)), kind_(kind) {}

    std::string name_;
    std::string text_;  // the error message for Kind::WithoutText
    Kind kind_ = Kind::Text;
};

class TClientDataSet {
public:
    // Replaces the contents with the file's; the first record becomes current and the dataset
    // active. On any error the dataset keeps what it held.
    void LoadFromFile(const std::string& path);
    // The same, from the stored bytes themselves; source names them in error messages.
    void LoadFromBytes(std::string_view bytes, const std::string& source);

    void SetActive(bool active) { active_ = active; }
    bool Active() const { return active_; }
    bool IsEmpty() const { return records_.empty(); }
    std::size_t RecordCount() const { return records_.size(); }
    const std::vector<std::string>& FieldNames() const { return field_names_; }
    // Moves to a record, 0-based; throws EDatabaseError past the end.
    void MoveTo(std::size_t record);
    // The named field (exact, case-sensitive name) of the current record; throws EDatabaseError
    // when there is no such field. In a dataset without records a field reads as null.
    const TField& FieldByName(const std::string& name) const;

private:
    std::string source_;
    std::vector<std::string> field_names_;
    std::vector<std::vector<TField>> records_;
    std::vector<TField> nulls_;  // what a dataset without records shows
    std::size_t current_ = 0;
    bool active_ = false;
};

}  // namespace host
