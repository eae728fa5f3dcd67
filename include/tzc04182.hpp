/* Tzc04182 for C++ hosts: the entry under its unit-qualified name, and a Variant that frees what
 * it holds. Self-contained: needs only tzc04182.h beside it and the library (-ltzc04182).
 *
 *     std::vector<host::Variant> params;
 *     params.emplace_back("");            // 0 document, 1 name, 2 address: empty answers
 *     ...                                 // 17 values in all (or 18), see docs/integration.md
 *     host::Variant result = host::Variant::Array(0, 7);
 *     try {
 *         Cli_Tzc04182::CriaInfAdicional(params.data(), 16, result);
 *         std::string name = result.Element(1)->Utf8().value_or("");
 *     } catch (const std::exception& error) { ... error.what() ... }
 *
 * Strings go in and come out as UTF-8 here; the module keeps Windows-1252 inside.
 */
#ifndef TZC04182_HPP
#define TZC04182_HPP

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "tzc04182.h"

/* The module's C++ entry takes its Variants by this name, so the class is named as the module's
 * own: host::Variant. It is a tzc_variant (OLE VARIANT layout) with nothing added. */
namespace host {

class Variant {
public:
    Variant() noexcept : raw_{} {}
    explicit Variant(const char* utf8) : raw_(tzc_variant_string(utf8)) {}
    explicit Variant(const std::string& utf8) : Variant(utf8.c_str()) {}
    explicit Variant(int32_t value) : raw_(tzc_variant_int(value)) {}
    static Variant Null() { return Variant(tzc_variant_null()); }
    // A one-dimensional array of Empty Variants indexed lower..upper, such as the result vector.
    // Null when the module cannot make it (too large).
    static Variant Array(int32_t lower, int32_t upper) { return Variant(tzc_variant_array(lower, upper)); }

    // No copies: the module's helpers offer no deep copy, and a shallow one would free twice.
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    Variant(Variant&& other) noexcept : raw_(std::exchange(other.raw_, tzc_variant{})) {}
    Variant& operator=(Variant&& other) noexcept
    {
        if (this != &other) {
            tzc_variant_clear(&raw_);
            raw_ = std::exchange(other.raw_, tzc_variant{});
        }
        return *this;
    }
    ~Variant() { tzc_variant_clear(&raw_); }

    uint16_t Type() const { return raw_.vt; }

    // The value as UTF-8 text; nothing when it cannot be read as a string (Null, an array).
    std::optional<std::string> Utf8() const
    {
        const long length = tzc_variant_to_utf8(&raw_, nullptr, 0);
        if (length < 0)
            return std::nullopt;
        std::string text(static_cast<std::size_t>(length), '\0');
        tzc_variant_to_utf8(&raw_, text.data(), text.size() + 1);
        return text;
    }

    // The element at index of an array; null when this is no array or index lies outside it.
    const Variant* Element(int32_t index) const
    {
        // The elements are tzc_variants owned by the array; Variant is layout-identical.
        return reinterpret_cast<const Variant*>(tzc_array_element(const_cast<tzc_variant*>(&raw_), index));
    }

    tzc_variant& Raw() { return raw_; }
    const tzc_variant& Raw() const { return raw_; }

private:
    explicit Variant(tzc_variant raw) noexcept : raw_(raw) {}
    tzc_variant raw_;
};

static_assert(sizeof(Variant) == sizeof(tzc_variant), "host::Variant must keep the VARIANT layout");

}  // namespace host

namespace Cli_Tzc04182 {

using host::Variant;

/* Shows the dialog and stores the eight answers in result, an array whose bounds cover 0..7.
 * params points at element 0; lastIndex is the index of the last element: 16 for the 17 elements
 * of old, 17 with element 17 ("S": the CNPJ with letters).
 * Call on the user-interface thread, one call at a time. Errors of the call leave it as
 * exceptions derived from std::exception; what() is Windows-1252 text. */
#ifndef _WIN32
void CriaInfAdicional(const Variant* params, int lastIndex, Variant& result);
#else
/* The DLL exports its C entries alone: here the call goes through CriaInfAdicionalC, and what() of
 * the exception is its text, UTF-8. */
inline void CriaInfAdicional(const Variant* params, int lastIndex, Variant& result)
{
    char error[1024];
    if (CriaInfAdicionalC(params != nullptr ? &params->Raw() : nullptr, lastIndex, &result.Raw(), error,
                          sizeof error) != TZC_OK)
        throw std::runtime_error(error);
}
#endif

}  // namespace Cli_Tzc04182

#endif
