#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "host/variant/variant.h"

using host::EVariantError;
using host::Variant;

TEST(Variant, HasTheOleLayout)
{
    // OLE's sizes on 32-bit Windows, and on 64-bit systems.
    const bool narrow = sizeof(void*) == 4;
    EXPECT_EQ(offsetof(tzc_variant, vt), 0u);
    EXPECT_EQ(offsetof(tzc_variant, u), 8u);
    EXPECT_EQ(sizeof(tzc_variant), narrow ? 16u : 24u);
    EXPECT_EQ(offsetof(tzc_safearray, pvData), narrow ? 12u : 16u);
    EXPECT_EQ(offsetof(tzc_safearray, rgsabound), narrow ? 16u : 24u);
}

TEST(Variant, ConvertsToStringAsTheFrameworkDoes)
{
    struct Case {
        tzc_variant raw;
        const char* text;
    };
    tzc_variant i2{}, i4{}, i8{}, r8{}, yes{}, no{}, empty{};
    i2.vt = TZC_VT_I2, i2.u.iVal = -7;
    i4.vt = TZC_VT_I4, i4.u.lVal = 2147483647;
    i8.vt = TZC_VT_I8, i8.u.llVal = 12345678901234LL;
    r8.vt = TZC_VT_R8, r8.u.dblVal = 2.5;
    yes.vt = TZC_VT_BOOL, yes.u.boolVal = -1;
    no.vt = TZC_VT_BOOL, no.u.boolVal = 0;
    const Case cases[] = {{i2, "-7"}, {i4, "2147483647"}, {i8, "12345678901234"}, {r8, "2.5"},
                          {yes, "True"}, {no, "False"}, {empty, ""}};
    for (const Case& c : cases)
        EXPECT_EQ(Variant::From(c.raw).ToString(), c.text);
    EXPECT_EQ(Variant("Jo\xe3o").ToString(), "Jo\xe3o");
}

TEST(Variant, NullArraysAndUnknownTypesDoNotConvert)
{
    EXPECT_THROW(Variant::Null().ToString(), EVariantError);
    EXPECT_THROW(Variant::Array(0, 3).ToString(), EVariantError);
    tzc_variant odd{};
    odd.vt = 0x4008;  // a reference to a string
    EXPECT_THROW(Variant::From(odd).ToString(), EVariantError);
    try {
        Variant::Null().ToString();
    } catch (const EVariantError& error) {
        EXPECT_STREQ(error.what(), "Could not convert variant of type (Null) into type (String)");
    }
}

TEST(Variant, StringsCrossTheBoundaryAsUtf16)
{
    tzc_variant value = tzc_variant_string("Ação € 中");
    ASSERT_EQ(value.vt, TZC_VT_BSTR);
    EXPECT_EQ(reinterpret_cast<uint32_t*>(value.u.bstrVal)[-1], 8u * 2);  // length in bytes
    EXPECT_EQ(value.u.bstrVal[8], 0);
    EXPECT_EQ(Variant::From(value).ToString(), "A\xe7\xe3o \x80 ?");
    char text[32];
    EXPECT_EQ(tzc_variant_to_utf8(&value, text, sizeof text), 12);
    EXPECT_STREQ(text, "Ação € ?");
    EXPECT_EQ(tzc_variant_to_utf8(&value, text, 3), 12);  // cut, still terminated
    EXPECT_STREQ(text, "A\xc3");
    tzc_variant_clear(&value);
    EXPECT_EQ(value.vt, TZC_VT_EMPTY);
    tzc_variant null = tzc_variant_null();
    EXPECT_EQ(tzc_variant_to_utf8(&null, text, sizeof text), -1);
}

TEST(Variant, ComparisonWithAStringIsFalseWhenItCannotBeMade)
{
    EXPECT_TRUE(Variant("S").Equals("S"));
    EXPECT_FALSE(Variant("s").Equals("S"));
    EXPECT_FALSE(Variant("S ").Equals("S"));
    EXPECT_FALSE(Variant::Null().Equals("S"));
    EXPECT_FALSE(Variant::Array(0, 0).Equals("S"));
    EXPECT_FALSE(Variant(int32_t(1)).Equals("S"));
}

TEST(Variant, ArrayElementsAreStoredWithinTheirBounds)
{
    Variant array = Variant::Array(-1, 9);
    array.SetElement(-1, Variant("first"));
    array.SetElement(9, Variant("last"));
    array.SetElement(9, Variant("again"));  // the old string is freed
    EXPECT_EQ(array.Element(-1).ToString(), "first");
    EXPECT_EQ(array.Element(9).ToString(), "again");
    EXPECT_EQ(array.Element(0).Type(), TZC_VT_EMPTY);
    EXPECT_THROW(array.SetElement(10, Variant("x")), EVariantError);
    EXPECT_THROW(array.SetElement(-2, Variant("x")), EVariantError);
    EXPECT_THROW(Variant("not an array").SetElement(0, Variant("x")), EVariantError);

    const Variant copy = array;  // deep
    array.SetElement(-1, Variant("changed"));
    EXPECT_EQ(copy.Element(-1).ToString(), "first");

    tzc_variant raw = tzc_variant_array(0, 7);
    EXPECT_NE(tzc_array_element(&raw, 7), nullptr);
    EXPECT_EQ(tzc_array_element(&raw, 8), nullptr);
    EXPECT_EQ(tzc_array_element(nullptr, 0), nullptr);
    tzc_variant_clear(&raw);
}
