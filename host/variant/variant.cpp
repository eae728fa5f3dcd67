#include "host/variant/variant.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "host/text/strings.h"
#include "host/variant/allocation.h"
#include "host/variant/variant_text.h"

namespace host {

namespace {

[[noreturn]] void CannotConvert(uint16_t vt, const char* target)
{
    throw EVariantError("Could not convert variant of type (" + FrameworkTypeName(vt) + ") into type (" + target + ")");
}

tzc_bstr AllocateBstr(std::size_t units) { return allocation::NewBstr(units); }

std::size_t BstrUnits(tzc_bstr bstr) { return BstrLength(bstr); }

// Arrays inside arrays deeper than this are copied as Null: a host's hostile nesting must not
// exhaust the stack of the till.
constexpr int kDeepestCopy = 64;

// One dimension of Variant elements whose last index lies within the 32-bit range.
bool UsableArray(const tzc_safearray* array)
{
    return array != nullptr && array->cDims == 1 && array->pvData != nullptr &&
           array->cbElements == sizeof(tzc_variant) && array->rgsabound[0].cElements <= 0x1000000 &&
           int64_t(array->rgsabound[0].lLbound) + array->rgsabound[0].cElements - 1 <= INT32_MAX;
}

}  // namespace

tzc_bstr BstrFromCp1252(std::string_view cp1252)
{
    tzc_bstr text = AllocateBstr(cp1252.size());
    for (std::size_t i = 0; i < cp1252.size(); ++i)
        text[i] = static_cast<uint16_t>(Cp1252ToCodePoint(static_cast<unsigned char>(cp1252[i])));
    return text;
}

tzc_bstr BstrFromUtf8(std::string_view utf8)
{
    const std::u32string points = Utf8ToCodePoints(utf8);
    std::size_t units = 0;
    for (char32_t cp : points)
        units += cp > 0xFFFF ? 2 : 1;
    tzc_bstr text = AllocateBstr(units);
    std::size_t at = 0;
    for (char32_t cp : points) {
        if (cp > 0xFFFF) {
            cp -= 0x10000;
            text[at++] = static_cast<uint16_t>(0xD800 + (cp >> 10));
            text[at++] = static_cast<uint16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            text[at++] = static_cast<uint16_t>(cp);
        }
    }
    return text;
}

void BstrFree(tzc_bstr bstr) noexcept { allocation::FreeBstr(bstr); }

void ClearRaw(tzc_variant& raw) noexcept
{
    // Nested arrays are freed from a list, not by recursion: a host's nesting has no depth limit.
    // Should the list not grow, what it cannot hold is left allocated rather than the till crash.
    std::vector<tzc_safearray*> pending;
    auto release = [&pending](tzc_variant& value) noexcept {
        if (value.vt == TZC_VT_BSTR) {
            BstrFree(value.u.bstrVal);
        } else if (value.vt == TZC_VT_ARRAY_OF_VARIANT && value.u.parray != nullptr) {
            try {
                pending.push_back(value.u.parray);
            } catch (const std::bad_alloc&) {
            }
        }
        std::memset(&value, 0, sizeof value);
    };
    release(raw);
    while (!pending.empty()) {
        tzc_safearray* array = pending.back();
        pending.pop_back();
        // Elements of another size cannot be read as Variants: only the blocks are freed.
        auto* elements = static_cast<tzc_variant*>(array->pvData);
        const uint32_t count = array->cbElements == sizeof(tzc_variant) ? array->rgsabound[0].cElements : 0;
        for (uint32_t i = 0; elements != nullptr && i < count; ++i)
            release(elements[i]);
        allocation::FreeArray(array);
    }
}

Variant::Variant() noexcept { std::memset(&raw_, 0, sizeof raw_); }

Variant::Variant(std::string_view cp1252) : Variant()
{
    raw_.u.bstrVal = BstrFromCp1252(cp1252);
    raw_.vt = TZC_VT_BSTR;
}

Variant::Variant(int32_t value) noexcept : Variant()
{
    raw_.vt = TZC_VT_I4;
    raw_.u.lVal = value;
}

Variant Variant::Null() noexcept
{
    Variant result;
    result.raw_.vt = TZC_VT_NULL;
    return result;
}

Variant Variant::Array(int32_t lower, int32_t upper)
{
    const int64_t count = upper >= lower ? int64_t(upper) - lower + 1 : 0;
    if (count > 0x1000000)
        throw EVariantError("Variant array too large");
    tzc_safearray* array = allocation::NewVariantArray(lower, static_cast<uint32_t>(count));
    Variant result;
    result.raw_.vt = TZC_VT_ARRAY_OF_VARIANT;
    result.raw_.u.parray = array;
    return result;
}

Variant Variant::CopyOf(const tzc_variant& value) { return CopyAt(value, 0); }

Variant Variant::CopyAt(const tzc_variant& value, int depth)
{
    Variant result;
    switch (value.vt) {
    case TZC_VT_BSTR: {
        const std::size_t units = BstrUnits(value.u.bstrVal);
        result.raw_.u.bstrVal = AllocateBstr(units);
        if (units > 0)
            std::memcpy(result.raw_.u.bstrVal, value.u.bstrVal, units * sizeof(uint16_t));
        result.raw_.vt = TZC_VT_BSTR;
        break;
    }
    case TZC_VT_ARRAY_OF_VARIANT: {
        const tzc_safearray* array = value.u.parray;
        if (!UsableArray(array) || depth >= kDeepestCopy) {
            result.raw_ = value;  // unusable either way: keep the type, own nothing
            result.raw_.vt = TZC_VT_NULL;
            break;
        }
        const int32_t lower = array->rgsabound[0].lLbound;
        const uint32_t count = array->rgsabound[0].cElements;
        result = Array(lower, static_cast<int32_t>(lower + int64_t(count) - 1));
        const auto* from = static_cast<const tzc_variant*>(array->pvData);
        auto* to = static_cast<tzc_variant*>(result.raw_.u.parray->pvData);
        for (uint32_t i = 0; i < count; ++i)
            new (&to[i]) Variant(CopyAt(from[i], depth + 1));
        break;
    }
    default:
        result.raw_ = value;
        break;
    }
    return result;
}

Variant::Variant(const Variant& other) : Variant(CopyOf(other.raw_)) {}

Variant::Variant(Variant&& other) noexcept : raw_(other.raw_) { std::memset(&other.raw_, 0, sizeof other.raw_); }

Variant& Variant::operator=(Variant other) noexcept
{
    std::swap(raw_, other.raw_);
    return *this;
}

Variant::~Variant() { ClearRaw(raw_); }

std::string Variant::ToString() const { return TextOf(raw_); }

int64_t Variant::ToInteger() const
{
    switch (raw_.vt) {
    case TZC_VT_EMPTY: return 0;
    case TZC_VT_I2: return raw_.u.iVal;
    case TZC_VT_I4: return raw_.u.lVal;
    case TZC_VT_I8: return raw_.u.llVal;
    case TZC_VT_BOOL: return raw_.u.boolVal != 0 ? -1 : 0;
    case TZC_VT_R8:
        if (std::isfinite(raw_.u.dblVal) && std::fabs(raw_.u.dblVal) < 9.2e18)
            return static_cast<int64_t>(std::llround(raw_.u.dblVal));
        break;
    case TZC_VT_BSTR:
        try {
            return StrToInt64(ToString());
        } catch (const EConvertError&) {
        }
        break;
    default:
        break;
    }
    CannotConvert(raw_.vt, "Int64");
}

bool Variant::Equals(std::string_view cp1252) const noexcept
{
    try {
        return ToString() == cp1252;
    } catch (...) {
        return false;
    }
}

Variant* Variant::ElementAt(int32_t index) const
{
    // A host may pass its array by reference (VT_BYREF | VT_ARRAY | VT_VARIANT, or a reference
    // to a Variant that holds it): the elements are stored in the host's array itself.
    const tzc_variant target = Dereferenced(raw_);
    if (target.vt != TZC_VT_ARRAY_OF_VARIANT || target.u.parray == nullptr)
        throw EVariantError("Variant is not an array");
    const tzc_safearray* array = target.u.parray;
    const int64_t offset = int64_t(index) - array->rgsabound[0].lLbound;
    if (array->cDims != 1 || array->pvData == nullptr || array->cbElements != sizeof(tzc_variant) || offset < 0 ||
        offset >= array->rgsabound[0].cElements)
        throw EVariantError("Variant or safe array index out of bounds");
    return &From(static_cast<tzc_variant*>(array->pvData)[offset]);
}

void Variant::SetElement(int32_t index, Variant value)
{
    // The element's old value is the host's: it is given up the way the host's runtime would.
    tzc_variant& element = ElementAt(index)->raw_;
    allocation::ReleaseStored(element);
    element = std::exchange(value.raw_, tzc_variant{});
}

const Variant& Variant::Element(int32_t index) const { return *ElementAt(index); }

}  // namespace host
