// Bytes become the two vectors a host hands over: parameters of every Variant type (strings of
// any units and lengths, numbers, arrays, arrays no host should make, types the module does
// not know), any last index or no vector at all, and a result vector of any shape with elements
// of any type; the remaining bytes play the customer. The call ends with eight answers within
// their lengths, or with an error that left the host's result as it was; the parameters are
// never written. Anything else is a finding.
#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "host/text/strings.h"
#include "host/variant/variant.h"
#include "support/random_customer.h"

namespace {

using host::Variant;
using testing_support::ByteChoices;

[[noreturn]] void Finding(const std::string& what)
{
    std::fprintf(stderr, "%s\n", what.c_str());
    std::abort();
}

// A host's value: made with the module's own helpers, or by hand as a header no usable array has.
struct HostValue {
    tzc_variant raw{};
    bool hand_made = false;

    void Release()
    {
        if (hand_made) {
            std::free(raw.u.parray->pvData);
            std::free(raw.u.parray);
            raw = {};
            hand_made = false;
        } else {
            host::ClearRaw(raw);
        }
    }
};

tzc_variant Take(Variant value)
{
    const tzc_variant raw = value.Raw();
    std::memset(&value.Raw(), 0, sizeof(tzc_variant));
    return raw;
}

// Takes over what raw owns.
Variant Own(tzc_variant raw)
{
    Variant value;
    value.Raw() = raw;
    return value;
}

tzc_variant MakeValue(ByteChoices& choices, int depth);

tzc_variant MakeString(ByteChoices& choices)
{
    static constexpr const char* kWords[] = {"S", "N", "s", "", "APC", "TAA", "52998224725", "11444777000161"};
    if (choices.Chance(50))
        return Take(Variant(std::string_view(choices.Pick(kWords))));
    // Any UTF-16 units, lone surrogates and zeros included; now and then very long.
    const uint32_t units = choices.Chance(3) ? choices.Below(100'001) : choices.Below(120);
    std::u16string text(units, u'A');
    for (char16_t& unit : text)
        if (choices.Chance(30))
            unit = static_cast<char16_t>(choices.Below(0x10000));
    tzc_variant raw{};
    raw.vt = TZC_VT_BSTR;
    auto* block = static_cast<uint32_t*>(std::malloc(sizeof(uint32_t) + (text.size() + 1) * 2));
    block[0] = static_cast<uint32_t>(text.size() * 2);
    raw.u.bstrVal = reinterpret_cast<tzc_bstr>(block + 1);
    std::memcpy(raw.u.bstrVal, text.data(), text.size() * 2);
    raw.u.bstrVal[text.size()] = 0;
    return raw;
}

tzc_variant MakeArray(ByteChoices& choices, int depth)
{
    static constexpr int32_t kLower[] = {0, 0, 1, -3, 8, INT32_MAX - 8, INT32_MIN};
    const int32_t lower = choices.Pick(kLower);
    const int32_t count = static_cast<int32_t>(choices.Below(12));
    const int64_t upper = std::min<int64_t>(int64_t(lower) + count - 1, INT32_MAX);
    // An empty array at the bottom of the range would need an upper bound below it.
    Variant array = count == 0 ? Variant::Array(1, 0) : Variant::Array(lower, static_cast<int32_t>(upper));
    for (int64_t i = lower; i < int64_t(lower) + count && i <= INT32_MAX; ++i)
        if (choices.Chance(60))
            array.SetElement(static_cast<int32_t>(i), Own(MakeValue(choices, depth + 1)));
    return Take(std::move(array));
}

tzc_variant MakeValue(ByteChoices& choices, int depth)
{
    tzc_variant raw{};
    switch (choices.Below(depth < 2 ? 12 : 10)) {
    case 0: break;
    case 1: raw.vt = TZC_VT_NULL; break;
    case 2: raw.vt = TZC_VT_I2, raw.u.iVal = static_cast<int16_t>(choices.Below(0x10000)); break;
    case 3: raw.vt = TZC_VT_I4, raw.u.lVal = static_cast<int32_t>(choices.Below(UINT32_MAX)); break;
    case 4: {
        static const double kNumbers[] = {0.0, -0.0, 1.5, 1e300, -1e-300, std::numeric_limits<double>::infinity(),
                                          std::numeric_limits<double>::quiet_NaN(), 52998224725.0};
        raw.vt = TZC_VT_R8, raw.u.dblVal = choices.Pick(kNumbers);
        break;
    }
    case 5: raw.vt = TZC_VT_BOOL, raw.u.boolVal = choices.Chance(50) ? -1 : 0; break;
    case 6: raw.vt = TZC_VT_I8, raw.u.llVal = int64_t(choices.Below(UINT32_MAX)) << choices.Below(32); break;
    case 7: raw.vt = TZC_VT_BSTR; break;  // a null BSTR: an empty string
    case 8: raw.vt = static_cast<uint16_t>(choices.Below(0x10000)); break;
    case 9:
    case 10: return MakeString(choices);
    default: return MakeArray(choices, depth);
    }
    if (raw.vt == TZC_VT_ARRAY_OF_VARIANT)
        raw.vt = TZC_VT_NULL;  // a header is needed: hand-made ones come below
    if (raw.vt == TZC_VT_BSTR && raw.u.bstrVal != nullptr)
        raw.u.bstrVal = nullptr;
    // Types that carry a pointer the module must not follow.
    if ((raw.vt & 0x6000) != 0 || raw.vt == 9 || raw.vt == 13 || raw.vt == 36)
        std::memset(&raw.u, 0, sizeof raw.u);
    return raw;
}

// A header that no usable array has: two dimensions, no data, elements of another size, or
// bounds beyond the 32-bit range.
HostValue MakeUnusableArray(ByteChoices& choices)
{
    HostValue value;
    value.hand_made = true;
    auto* array = static_cast<tzc_safearray*>(std::calloc(1, sizeof(tzc_safearray)));
    array->cDims = 1;
    array->cbElements = sizeof(tzc_variant);
    array->rgsabound[0].cElements = 8;
    array->pvData = std::calloc(8, sizeof(tzc_variant));
    switch (choices.Below(4)) {
    case 0: array->cDims = static_cast<uint16_t>(choices.Chance(50) ? 0 : 2); break;
    case 1: std::free(array->pvData), array->pvData = nullptr; break;
    case 2: array->cbElements = 16; break;
    default: array->rgsabound[0].lLbound = INT32_MAX - static_cast<int32_t>(choices.Below(4)); break;
    }
    value.raw.vt = TZC_VT_ARRAY_OF_VARIANT;
    value.raw.u.parray = array;
    return value;
}

// What a value holds, to tell whether the call wrote to it.
std::string Shape(const tzc_variant& raw)
{
    std::string shape = std::to_string(raw.vt) + "(";
    if (raw.vt == TZC_VT_BSTR) {
        shape += raw.u.bstrVal == nullptr ? "null" : host::BstrToCp1252(raw.u.bstrVal);
    } else if (raw.vt == TZC_VT_ARRAY_OF_VARIANT && raw.u.parray != nullptr) {
        const tzc_safearray& array = *raw.u.parray;
        shape += std::to_string(array.cDims) + "," + std::to_string(array.cbElements) + "," +
                 std::to_string(array.rgsabound[0].lLbound) + "," + std::to_string(array.rgsabound[0].cElements);
        if (array.cDims == 1 && array.pvData != nullptr && array.cbElements == sizeof(tzc_variant))
            for (uint32_t i = 0; i < array.rgsabound[0].cElements; ++i)
                shape += " " + Shape(static_cast<const tzc_variant*>(array.pvData)[i]);
    } else {
        char bytes[sizeof raw.u * 2 + 1];
        for (std::size_t i = 0; i < sizeof raw.u; ++i)
            std::snprintf(bytes + 2 * i, 3, "%02x", reinterpret_cast<const unsigned char*>(&raw.u)[i]);
        shape += bytes;
    }
    return shape + ")";
}

// The result's header and each element by index, to tell what the call stored.
struct ResultShape {
    std::string header;
    std::vector<std::pair<int64_t, std::string>> elements;
};

ResultShape ShapeOfResult(const tzc_variant& raw)
{
    ResultShape shape;
    const tzc_safearray* array = raw.vt == TZC_VT_ARRAY_OF_VARIANT ? raw.u.parray : nullptr;
    if (array == nullptr || array->cDims != 1 || array->pvData == nullptr || array->cbElements != sizeof(tzc_variant)) {
        shape.header = Shape(raw);
        return shape;
    }
    shape.header = std::to_string(array->rgsabound[0].lLbound) + "," + std::to_string(array->rgsabound[0].cElements);
    for (uint32_t i = 0; i < array->rgsabound[0].cElements; ++i)
        shape.elements.emplace_back(int64_t(array->rgsabound[0].lLbound) + i,
                                    Shape(static_cast<const tzc_variant*>(array->pvData)[i]));
    return shape;
}

std::string Text(const tzc_variant& raw)
{
    try {
        return Variant::From(raw).ToString();
    } catch (const host::EVariantError&) {
        return "";
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ByteChoices choices({data, size});
    static constexpr int kLast[] = {16, 16, 16, 16, 7, 0, -1, 8, 12, 17, 1000, INT_MAX, INT_MIN};
    const int last = choices.Pick(kLast);
    const bool no_vector = choices.Chance(3);

    std::vector<HostValue> params(18);
    for (HostValue& param : params) {
        if (choices.Chance(4))
            param = MakeUnusableArray(choices);
        else
            param.raw = MakeValue(choices, 0);
    }
    // Most calls get valid flags where it matters, so that the dialog runs.
    for (int i = 3; i < 18; ++i)
        if (choices.Chance(70)) {
            params[static_cast<std::size_t>(i)].Release();
            params[static_cast<std::size_t>(i)].raw = Take(Variant(std::string_view(i == 15 || i == 7 || i == 17 ? "S" : "N")));
        }

    HostValue result;
    switch (choices.Below(8)) {
    case 0: result.raw = MakeValue(choices, 2); break;
    case 1: result = MakeUnusableArray(choices); break;
    case 2: break;  // no result at all: passed as a null pointer below
    default: {
        static constexpr int32_t kBounds[][2] = {{0, 7}, {0, 7}, {0, 9}, {1, 8}, {0, 6}, {-3, 10}, {0, -1}};
        const int32_t* bounds = choices.Pick(kBounds);
        Variant array = Variant::Array(bounds[0], bounds[1]);
        for (int32_t i = bounds[0]; i <= bounds[1]; ++i)
            if (choices.Chance(40))
                array.SetElement(i, Own(MakeValue(choices, 1)));
        result.raw = Take(std::move(array));
    }
    }
    const bool no_result = result.raw.vt == TZC_VT_EMPTY && !result.hand_made && choices.Chance(50);

    std::vector<tzc_variant> raw_params;
    std::vector<std::string> before;
    testing_support::Parameters texts;
    for (std::size_t i = 0; i < params.size(); ++i) {
        raw_params.push_back(params[i].raw);
        before.push_back(Shape(params[i].raw));
        texts[i] = int(i) <= last ? Text(params[i].raw) : "";
    }
    const ResultShape result_before = ShapeOfResult(result.raw);

    const testing_support::Invariants invariants(texts);
    testing_support::RandomCustomer customer(choices, invariants, 30);
    char error[512] = "";
    int status = TZC_OK;
    {
        const testing_support::ActionSourceScope scope([&customer] { return customer.Next(); });
        status = CriaInfAdicionalC(no_vector ? nullptr : raw_params.data(), last, no_result ? nullptr : &result.raw,
                                   error, sizeof error);
    }
    if (!customer.Broken().empty())
        Finding(customer.Broken());
    for (std::size_t i = 0; i < params.size(); ++i)
        if (Shape(raw_params[i]) != before[i])
            Finding("parameter " + std::to_string(i) + " was written");

    if (status != TZC_OK) {
        if (error[0] == '\0')
            Finding("an error without a message");
        // A store that fails comes after the dialog: the slots before it hold their answers,
        // and nothing else was written.
        const ResultShape after = ShapeOfResult(result.raw);
        if (after.header != result_before.header || after.elements.size() != result_before.elements.size())
            Finding(std::string("the call failed (") + error + ") and changed the result's shape");
        for (std::size_t i = 0; i < after.elements.size(); ++i) {
            const auto& [index, now] = after.elements[i];
            const bool slot = index >= 0 && index < 8 && now.starts_with(std::to_string(TZC_VT_BSTR) + "(");
            if (now != result_before.elements[i].second && !slot)
                Finding(std::string("the call failed (") + error + ") and wrote element " + std::to_string(index));
        }
    } else {
        std::array<std::string, 8> slots;
        for (int32_t slot = 0; slot < 8; ++slot) {
            const tzc_variant& element = Variant::From(result.raw).Element(slot).Raw();
            if (element.vt != TZC_VT_BSTR)
                Finding("slot " + std::to_string(slot) + " is no string");
            slots[static_cast<std::size_t>(slot)] = host::Cp1252ToUtf8(Text(element));
        }
        if (const std::string broken = invariants.CheckSlots(slots); !broken.empty())
            Finding(broken);
    }
    for (HostValue& param : params)
        param.Release();
    result.Release();
    return 0;
}
