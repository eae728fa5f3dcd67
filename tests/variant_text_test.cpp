// What each type a host may pass reads as, and how an unreadable one is named.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "host/variant/variant.h"
#include "host/variant/variant_text.h"
#include "support/call_harness.h"

using host::EVariantError;
using host::TextOf;
using host::TypeInWords;

namespace {

template <typename T>
tzc_variant Of(uint16_t vt, T value)
{
    tzc_variant raw{};
    raw.vt = vt;
    static_assert(sizeof(T) <= sizeof raw.u);
    std::memcpy(&raw.u, &value, sizeof value);
    return raw;
}

tzc_variant Decimal(uint8_t scale, bool negative, uint32_t hi32, uint64_t lo64)
{
    tzc_variant raw{};
    const tzc_decimal decimal{0, scale, static_cast<uint8_t>(negative ? 0x80 : 0), hi32, lo64};
    std::memcpy(&raw, &decimal, sizeof decimal);
    raw.vt = TZC_VT_DECIMAL;
    return raw;
}

// Storage that the references below point at; it outlives each test's table.
struct Targets {
    int32_t i4 = 42;
    double r8 = 0.5;
    tzc_bstr bstr = host::BstrFromCp1252("Jo\xe3o");
    tzc_variant variant = Of(TZC_VT_BSTR, bstr);
    tzc_variant decimal = Decimal(1, true, 0, 15);
    tzc_variant reference_to_variant = Of(TZC_VT_BYREF | TZC_VT_VARIANT, &variant);
    const char* ansi = "A\xc3\xa7\xc3\xa3o";
    ~Targets() { host::BstrFree(bstr); }
};

}  // namespace

TEST(VariantText, EveryTypeAHostPassesReadsAsItsText)
{
    Targets to;
    // Free Pascal on Linux: a WideString whose 8-byte length puts zeros where a BSTR keeps its own.
    const uint16_t pascal_wide[] = {0, 0, 0, 0, 'A', 0xE7, 0xE3, 'o', 0};
    const char16_t unicode[] = u"A\u00e7\u00e3o \u20ac \U0001F600";
    struct Case {
        tzc_variant raw;
        std::string text;
    };
    const Case cases[] = {
        {Of(TZC_VT_I1, int8_t(-128)), "-128"},
        {Of(TZC_VT_UI1, uint8_t(255)), "255"},
        {Of(TZC_VT_UI2, uint16_t(65535)), "65535"},
        {Of(TZC_VT_UI4, uint32_t(4294967295u)), "4294967295"},
        {Of(TZC_VT_UI8, std::numeric_limits<uint64_t>::max()), "18446744073709551615"},
        {Of(TZC_VT_INT, int32_t(-2147483647 - 1)), "-2147483648"},
        {Of(TZC_VT_UINT, uint32_t(4000000000u)), "4000000000"},
        {Of(TZC_VT_R4, 0.1f), "0.1"},
        {Of(TZC_VT_R4, 16777216.0f), "16777216"},
        {Of(TZC_VT_R4, 3.4028235e38f), "3.4028235E+38"},
        {Of(TZC_VT_R4, -0.0f), "-0"},
        {Of(TZC_VT_R8, 1.0 / 3), "0.333333333333333"},
        {Of(TZC_VT_R8, 1e20), "1E+20"},
        {Of(TZC_VT_CY, int64_t(123450)), "12.345"},
        {Of(TZC_VT_CY, int64_t(-5)), "-0.0005"},
        {Of(TZC_VT_CY, int64_t(10000)), "1"},
        {Of(TZC_VT_CY, std::numeric_limits<int64_t>::min()), "-922337203685477.5808"},
        {Of(TZC_VT_DATE, 0.0), "1899-12-30"},
        {Of(TZC_VT_DATE, 45000.5), "2023-03-15 12:00:00"},
        {Of(TZC_VT_DATE, -1.25), "1899-12-29 06:00:00"},
        {Of(TZC_VT_DATE, 45000.0 + 86399.6 / 86400), "2023-03-16"},
        {Of(TZC_VT_DATE, -657434.0), "0100-01-01"},
        {Of(TZC_VT_DATE, 2958465.0), "9999-12-31"},
        {Of(TZC_VT_DATE, 2958465.9999999), "9999-12-31 23:59:59"},
        {Decimal(2, false, 0, 12345), "123.45"},
        {Decimal(2, false, 0, 150), "1.5"},
        {Decimal(0, true, 0xFFFFFFFF, 0xFFFFFFFFFFFFFFFF), "-79228162514264337593543950335"},
        {Decimal(28, false, 0, 1), "0.0000000000000000000000000001"},
        {Decimal(3, true, 0, 0), "0"},
        {Decimal(0, false, 0, 52998224725), "52998224725"},
        {Of(TZC_VT_BYREF | TZC_VT_I4, &to.i4), "42"},
        {Of(TZC_VT_BYREF | TZC_VT_R8, &to.r8), "0.5"},
        {Of(TZC_VT_BYREF | TZC_VT_BSTR, &to.bstr), "Jo\xe3o"},
        {Of(TZC_VT_BYREF | TZC_VT_DECIMAL, &to.decimal), "-1.5"},
        {Of(TZC_VT_BYREF | TZC_VT_VARIANT, &to.variant), "Jo\xe3o"},
        {Of(TZC_VT_BYREF | TZC_VT_VARIANT, &to.reference_to_variant), "Jo\xe3o"},
        {Of(TZC_VT_BYREF | TZC_VT_PASCAL_ANSISTRING, &to.ansi), "A\xe7\xe3o"},
        {Of(TZC_VT_PASCAL_ANSISTRING, "A\xc3\xa7\xc3\xa3o \xe2\x82\xac"), "A\xe7\xe3o \x80"},  // UTF-8
        {Of(TZC_VT_PASCAL_ANSISTRING, "A\xe7\xe3o \x80"), "A\xe7\xe3o \x80"},                // Windows-1252
        {Of(TZC_VT_PASCAL_ANSISTRING, "\xc0\xaf"), "\xc0\xaf"},  // an overlong form is not UTF-8
        {Of(TZC_VT_PASCAL_ANSISTRING, static_cast<const char*>(nullptr)), ""},
        {Of(TZC_VT_PASCAL_UNICODESTRING, unicode), "A\xe7\xe3o \x80 ?"},
        {Of(TZC_VT_PASCAL_UNICODESTRING, static_cast<const char16_t*>(nullptr)), ""},
        {Of(TZC_VT_BSTR, &pascal_wide[4]), "A\xe7\xe3o"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextOf(c.raw), c.text) << "type " << c.raw.vt << ", " << TypeInWords(c.raw);
}

TEST(VariantText, ValuesWithoutTextAreNamedInWords)
{
    int32_t numbers[] = {1, 2};
    tzc_safearray ints{1, 0, sizeof(int32_t), 0, numbers, {{2, 0}}};
    tzc_safearray* ints_ref = &ints;
    struct Case {
        tzc_variant raw;
        std::string words;
    };
    const Case cases[] = {
        {Of(TZC_VT_NULL, 0), "Null"},
        {Of(TZC_VT_ARRAY | TZC_VT_I4, &ints), "a SAFEARRAY of Int32"},
        {Of(TZC_VT_BYREF | TZC_VT_ARRAY | TZC_VT_I4, &ints_ref), "a reference to a SAFEARRAY of Int32"},
        {Of(TZC_VT_BYREF | TZC_VT_I4, static_cast<int32_t*>(nullptr)), "a reference to nothing"},
        {Of(uint16_t(9), &ints), "an IDispatch"},
        {Of(TZC_VT_DATE, 1e300), "a Date out of range"},
        {Decimal(29, false, 0, 1), "a Decimal out of range"},
        {Of(uint16_t(0x49), 0), "a Variant of unknown type 73"},
    };
    for (const Case& c : cases) {
        EXPECT_THROW(TextOf(c.raw), EVariantError) << c.words;
        EXPECT_EQ(TypeInWords(c.raw), c.words);
    }
}

TEST(VariantText, AResultArrayByReferenceTakesTheAnswersInPlace)
{
    host::Variant array = host::Variant::Array(0, 7);
    tzc_safearray* parray = array.Raw().u.parray;
    tzc_variant to_array = Of(TZC_VT_BYREF | TZC_VT_ARRAY_OF_VARIANT, &parray);
    host::Variant::From(to_array).SetElement(3, host::Variant(std::string_view("S")));
    tzc_variant to_variant = Of(TZC_VT_BYREF | TZC_VT_VARIANT, &array.Raw());
    host::Variant::From(to_variant).SetElement(4, host::Variant(std::string_view("N")));
    EXPECT_EQ(array.Element(3).ToString(), "S");
    EXPECT_EQ(array.Element(4).ToString(), "N");
}

TEST(VariantText, AnUnreadableElementIsAnErrorWhenRequiredAndTracedWhenOptional)
{
    int32_t numbers[] = {1, 2};
    tzc_safearray ints{1, 0, sizeof(int32_t), 0, numbers, {{2, 0}}};
    const host::Variant array_of_ints = host::Variant::CopyOf(Of(TZC_VT_ARRAY | TZC_VT_I4, &ints));

    const auto required = testing_support::Call().Param(3, array_of_ints).Run("{Escape}");
    ASSERT_TRUE(required.error);
    EXPECT_EQ(*required.error, "element 3 is a SAFEARRAY of Int32, not text");

    const auto optional = testing_support::Call().Param(12, array_of_ints).Param(14, host::Variant::Null()).Run("{Escape}");
    EXPECT_FALSE(optional.error);
    EXPECT_EQ(optional.Lines("parameter"),
              (std::vector<std::string>{"element 12 is a SAFEARRAY of Int32, not text; its default \"\" is taken",
                                        "element 14 is Null, not text; its default \"N\" is taken"}));
}
