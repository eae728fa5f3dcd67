#pragma once
// Variant: an OLE VARIANT that owns what it holds. It has exactly the layout of tzc_variant, so
// a host's vectors are read and written in place. Strings inside are Windows-1252 bytes; the
// stored form is a UTF-16 BSTR.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "tzc04182.h"

namespace host {

class EVariantError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Variant {
public:
    Variant() noexcept;
    explicit Variant(std::string_view cp1252);
    explicit Variant(int32_t value) noexcept;
    static Variant Null() noexcept;
    static Variant Array(int32_t lower, int32_t upper);
    // A deep copy of a Variant that someone else owns. An array that cannot be used (more than
    // one dimension, elements of another size, bounds beyond the 32-bit range, nested more than
    // 64 deep) is copied as Null.
    static Variant CopyOf(const tzc_variant& value);

    Variant(const Variant& other);
    Variant(Variant&& other) noexcept;
    Variant& operator=(Variant other) noexcept;
    ~Variant();

    uint16_t Type() const { return raw_.vt; }
    bool IsArray() const { return raw_.vt == TZC_VT_ARRAY_OF_VARIANT && raw_.u.parray != nullptr; }

    // The framework's conversion to a string; EVariantError for Null, arrays and unknown types.
    std::string ToString() const;
    // The framework's conversion to an integer; EVariantError when it has none.
    int64_t ToInteger() const;
    // Variant comparison with a string: false whenever the comparison cannot be made.
    bool Equals(std::string_view cp1252) const noexcept;

    // Stores one element of an array; EVariantError when this is not an array or the index lies
    // outside its bounds.
    void SetElement(int32_t index, Variant value);
    const Variant& Element(int32_t index) const;

    tzc_variant& Raw() { return raw_; }
    const tzc_variant& Raw() const { return raw_; }
    static Variant& From(tzc_variant& raw) { return reinterpret_cast<Variant&>(raw); }
    static const Variant& From(const tzc_variant& raw) { return reinterpret_cast<const Variant&>(raw); }

private:
    static Variant CopyAt(const tzc_variant& value, int depth);
    Variant* ElementAt(int32_t index) const;
    tzc_variant raw_;
};

static_assert(sizeof(Variant) == sizeof(tzc_variant));
static_assert(sizeof(tzc_variant) == 8 + 2 * sizeof(void*));

// BSTR helpers: a BSTR is UTF-16 units after a uint32 byte length, ending in a zero unit.
tzc_bstr BstrFromCp1252(std::string_view cp1252);
tzc_bstr BstrFromUtf8(std::string_view utf8);
std::string BstrToCp1252(tzc_bstr bstr);
void BstrFree(tzc_bstr bstr) noexcept;

// Frees what a raw Variant owns and leaves it Empty.
void ClearRaw(tzc_variant& raw) noexcept;

}  // namespace host
