#include "host/variant/variant_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "host/text/strings.h"
#include "host/variant/variant.h"

namespace host {

namespace {

// A reference to a reference is not OLE's, but a host may build one; a chain this long is not a
// value, and following it further could loop.
constexpr int kDeepestReference = 8;

struct TypeName {
    uint16_t vt;
    const char* article;  // "a" or "an", as the name is spoken
    const char* name;
};

constexpr TypeName kTypeNames[] = {
    {TZC_VT_EMPTY, "", "Empty"},       {TZC_VT_NULL, "", "Null"},
    {TZC_VT_I2, "an", "Int16"},        {TZC_VT_I4, "an", "Int32"},
    {TZC_VT_R4, "a", "Single"},        {TZC_VT_R8, "a", "Double"},
    {TZC_VT_CY, "a", "Currency"},      {TZC_VT_DATE, "a", "Date"},
    {TZC_VT_BSTR, "a", "BSTR"},        {9, "an", "IDispatch"},
    {10, "an", "error code"},          {TZC_VT_BOOL, "a", "Boolean"},
    {TZC_VT_VARIANT, "a", "Variant"},  {13, "an", "IUnknown"},
    {TZC_VT_DECIMAL, "a", "Decimal"},  {TZC_VT_I1, "an", "Int8"},
    {TZC_VT_UI1, "a", "UInt8"},        {TZC_VT_UI2, "a", "UInt16"},
    {TZC_VT_UI4, "a", "UInt32"},       {TZC_VT_I8, "an", "Int64"},
    {TZC_VT_UI8, "a", "UInt64"},       {TZC_VT_INT, "an", "INT"},
    {TZC_VT_UINT, "a", "UINT"},        {24, "a", "VOID"},
    {25, "an", "HRESULT"},             {26, "a", "pointer"},
    {27, "a", "SAFEARRAY"},            {28, "a", "C array"},
    {29, "a", "user-defined type"},    {30, "an", "LPSTR"},
    {31, "an", "LPWSTR"},              {36, "a", "record"},
    {37, "an", "INT_PTR"},             {38, "a", "UINT_PTR"},
    {64, "a", "FILETIME"},             {65, "a", "BLOB"},
    {66, "a", "stream"},               {67, "a", "storage"},
    {68, "a", "streamed object"},      {69, "a", "stored object"},
    {70, "a", "BLOB object"},          {71, "a", "clipboard format"},
    {72, "a", "CLSID"},                {TZC_VT_PASCAL_ANSISTRING, "a", "Pascal AnsiString"},
    {TZC_VT_PASCAL_UNICODESTRING, "a", "Pascal UnicodeString"},
};

const TypeName* NameOf(uint16_t vt)
{
    for (const TypeName& entry : kTypeNames)
        if (entry.vt == vt)
            return &entry;
    return nullptr;
}

[[noreturn]] void CannotConvert(uint16_t vt)
{
    throw EVariantError("Could not convert variant of type (" + FrameworkTypeName(vt) + ") into type (String)");
}

// Bytes a reference to a value of this type points at; 0 when it cannot be followed.
std::size_t ReferencedSize(uint16_t vt)
{
    if ((vt & TZC_VT_ARRAY) != 0)
        return sizeof(void*);
    switch (vt) {
    case TZC_VT_I1: case TZC_VT_UI1: return 1;
    case TZC_VT_I2: case TZC_VT_UI2: case TZC_VT_BOOL: return 2;
    case TZC_VT_I4: case TZC_VT_UI4: case TZC_VT_INT: case TZC_VT_UINT: case TZC_VT_R4: return 4;
    case TZC_VT_I8: case TZC_VT_UI8: case TZC_VT_R8: case TZC_VT_CY: case TZC_VT_DATE: return 8;
    case TZC_VT_BSTR: case TZC_VT_PASCAL_ANSISTRING: case TZC_VT_PASCAL_UNICODESTRING: return sizeof(void*);
    default: return 0;
    }
}

std::string Uppercased(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// "%.*G" without the locale: a host (or Qt) may have set a decimal comma for the process.
template <typename Float>
std::string GeneralText(Float value, int digits)
{
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    return Uppercased(std::string(buffer, written.ptr));
}

// Fifteen significant digits, as the framework prints a Double.
std::string DoubleText(double value) { return GeneralText(value, 15); }

// The fewest digits that read back as the same Single, in the Double's notation.
std::string SingleText(float value)
{
    if (!std::isfinite(value))
        return GeneralText(value, 9);
    for (int digits = 1; digits < 9; ++digits) {
        const std::string text = GeneralText(value, digits);
        float back = 0;
        const auto read = std::from_chars(text.data(), text.data() + text.size(), back);
        if (read.ec == std::errc() && back == value)
            return text;
    }
    return GeneralText(value, 9);
}

// A magnitude with a decimal point placed `scale` digits from the right, trailing zeros after
// the point dropped: 1250 at scale 2 is "12.5", at scale 0 "1250".
std::string ScaledText(bool negative, std::string digits, unsigned scale)
{
    if (digits.size() <= scale)
        digits.insert(0, scale + 1 - digits.size(), '0');
    std::string text = digits.substr(0, digits.size() - scale);
    std::string fraction = digits.substr(digits.size() - scale);
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    if (!fraction.empty())
        text += "." + fraction;
    return negative && text != "0" ? "-" + text : text;
}

std::string CurrencyText(int64_t units)
{
    const uint64_t magnitude = units < 0 ? 0 - static_cast<uint64_t>(units) : static_cast<uint64_t>(units);
    return ScaledText(units < 0, std::to_string(magnitude), 4);
}

std::string DecimalText(const tzc_variant& value)
{
    tzc_decimal decimal;
    std::memcpy(&decimal, &value, sizeof decimal);
    if (decimal.scale > 28)
        CannotConvert(TZC_VT_DECIMAL);
    // 96 bits as three 32-bit limbs, divided by ten until nothing is left.
    uint32_t limbs[3] = {decimal.hi32, static_cast<uint32_t>(decimal.lo64 >> 32), static_cast<uint32_t>(decimal.lo64)};
    std::string digits;
    do {
        uint64_t remainder = 0;
        for (uint32_t& limb : limbs) {
            const uint64_t current = (remainder << 32) | limb;
            limb = static_cast<uint32_t>(current / 10);
            remainder = current % 10;
        }
        digits.insert(digits.begin(), static_cast<char>('0' + remainder));
    } while ((limbs[0] | limbs[1] | limbs[2]) != 0);
    return ScaledText((decimal.sign & 0x80) != 0, digits, decimal.scale);
}

// The civil date of a count of days since 1970-01-01 (proleptic Gregorian).
void CivilDate(int64_t days, int64_t& year, unsigned& month, unsigned& day)
{
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned day_of_era = static_cast<unsigned>(days - era * 146097);
    const unsigned year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    const unsigned day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const unsigned shifted_month = (5 * day_of_year + 2) / 153;
    day = day_of_year - (153 * shifted_month + 2) / 5 + 1;
    month = shifted_month < 10 ? shifted_month + 3 : shifted_month - 9;
    year = static_cast<int64_t>(year_of_era) + era * 400 + (month <= 2 ? 1 : 0);
}

// An OLE date: whole days since 1899-12-30, the fraction's magnitude the time of day (so -1.25
// is 1899-12-29 06:00). Written "YYYY-MM-DD", with " hh:mm:ss" when the time, to the nearest
// second, is not midnight. Only OLE's range, the years 100 to 9999, has a text.
std::string DateText(double value)
{
    if (!(value >= -657434.0 && value < 2958466.0))
        CannotConvert(TZC_VT_DATE);
    double whole = 0;
    const double fraction = std::fabs(std::modf(value, &whole));
    int64_t days = static_cast<int64_t>(whole);
    int64_t seconds = std::llround(fraction * 86400.0);
    if (seconds >= 86400) {
        // A time that rounds to midnight is the next day's, but OLE has no day after its last.
        if (days < 2958465) {
            seconds -= 86400;
            ++days;
        } else {
            seconds = 86399;
        }
    }
    int64_t year = 0;
    unsigned month = 0, day = 0;
    CivilDate(days - 25569, year, month, day);
    char text[40];
    if (seconds == 0)
        std::snprintf(text, sizeof text, "%04lld-%02u-%02u", static_cast<long long>(year), month, day);
    else
        std::snprintf(text, sizeof text, "%04lld-%02u-%02u %02d:%02d:%02d", static_cast<long long>(year), month, day,
                      static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return text;
}

std::string Utf16Text(const uint16_t* units, std::size_t count)
{
    std::string result;
    result.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const uint16_t unit = units[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < count && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            result += '?';  // a pair is always outside Windows-1252
            ++i;
        } else {
            result += CodePointToCp1252(unit);
        }
    }
    return result;
}

std::size_t Utf16Length(const uint16_t* units)
{
    std::size_t count = 0;
    while (units[count] != 0)
        ++count;
    return count;
}

// Well-formed UTF-8: no overlong form, no surrogate, nothing above U+10FFFF.
bool IsUtf8(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        int extra = 0;
        char32_t cp = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1, cp = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2, cp = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3, cp = lead & 0x07;
        } else {
            return false;
        }
        if (bytes.size() - i <= static_cast<std::size_t>(extra))
            return false;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (next & 0x3F);
        }
        constexpr char32_t kShortest[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kShortest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

// An ANSI string of a Pascal runtime: UTF-8 when its bytes are well-formed UTF-8 (Free Pascal on
// Linux), else Windows-1252 (the ANSI code page of a Brazilian Windows). Its empty string is nil.
std::string AnsiText(const char* bytes)
{
    if (bytes == nullptr)
        return "";
    const std::string_view text(bytes);
    return IsUtf8(text) ? Utf8ToCp1252(text) : std::string(text);
}

std::string Phrase(const TypeName* name)
{
    return std::string(name->article) + (*name->article != '\0' ? " " : "") + name->name;
}

std::string WordsForType(uint16_t vt)
{
    if ((vt & TZC_VT_ARRAY) != 0) {
        const TypeName* element = NameOf(vt & ~TZC_VT_ARRAY);
        return std::string("a SAFEARRAY of ") + (element != nullptr ? element->name : "type " + std::to_string(vt & ~TZC_VT_ARRAY));
    }
    const TypeName* name = NameOf(vt);
    return name != nullptr ? Phrase(name) : "a Variant of unknown type " + std::to_string(vt);
}

}  // namespace

std::string FrameworkTypeName(uint16_t vt)
{
    switch (vt) {
    case TZC_VT_EMPTY: return "Empty";
    case TZC_VT_NULL: return "Null";
    case TZC_VT_I2: return "Smallint";
    case TZC_VT_I4: return "Integer";
    case TZC_VT_R4: return "Single";
    case TZC_VT_R8: return "Double";
    case TZC_VT_CY: return "Currency";
    case TZC_VT_DATE: return "Date";
    case TZC_VT_BSTR: return "OleStr";
    case TZC_VT_BOOL: return "Boolean";
    case TZC_VT_DECIMAL: return "Decimal";
    case TZC_VT_I1: return "ShortInt";
    case TZC_VT_UI1: return "Byte";
    case TZC_VT_UI2: return "Word";
    case TZC_VT_UI4: return "LongWord";
    case TZC_VT_I8: return "Int64";
    case TZC_VT_UI8: return "UInt64";
    case TZC_VT_PASCAL_ANSISTRING: return "String";
    case TZC_VT_PASCAL_UNICODESTRING: return "UnicodeString";
    case TZC_VT_ARRAY_OF_VARIANT: return "Array Variant";
    default: return "Unknown (" + std::to_string(vt) + ")";
    }
}

std::size_t BstrLength(tzc_bstr bstr)
{
    if (bstr == nullptr)
        return 0;
    const std::size_t counted = reinterpret_cast<const uint32_t*>(bstr)[-1] / 2;
    return bstr[counted] == 0 ? counted : Utf16Length(bstr);
}

std::string BstrToCp1252(tzc_bstr bstr) { return bstr == nullptr ? "" : Utf16Text(bstr, BstrLength(bstr)); }

tzc_variant Dereferenced(const tzc_variant& value)
{
    tzc_variant current = value;
    for (int depth = 0; depth < kDeepestReference && (current.vt & TZC_VT_BYREF) != 0; ++depth) {
        const uint16_t type = current.vt & ~TZC_VT_BYREF;
        const void* target = current.u.byref;
        if (target == nullptr)
            return current;
        tzc_variant next{};
        if (type == TZC_VT_VARIANT) {
            std::memcpy(&next, target, sizeof next);
        } else if (type == TZC_VT_DECIMAL) {
            std::memcpy(&next, target, sizeof(tzc_decimal));
            next.vt = TZC_VT_DECIMAL;
        } else if (const std::size_t size = ReferencedSize(type); size != 0) {
            std::memcpy(&next.u, target, size);
            next.vt = type;
        } else {
            return current;
        }
        current = next;
    }
    return current;
}

std::string TextOf(const tzc_variant& reference)
{
    const tzc_variant value = Dereferenced(reference);
    const auto& u = value.u;
    switch (value.vt) {
    case TZC_VT_EMPTY: return "";
    case TZC_VT_I1: return std::to_string(u.cVal);
    case TZC_VT_UI1: return std::to_string(u.bVal);
    case TZC_VT_I2: return std::to_string(u.iVal);
    case TZC_VT_UI2: return std::to_string(u.uiVal);
    case TZC_VT_I4: case TZC_VT_INT: return std::to_string(u.lVal);
    case TZC_VT_UI4: case TZC_VT_UINT: return std::to_string(u.ulVal);
    case TZC_VT_I8: return std::to_string(u.llVal);
    case TZC_VT_UI8: return std::to_string(u.ullVal);
    case TZC_VT_R4: return SingleText(u.fltVal);
    case TZC_VT_R8: return DoubleText(u.dblVal);
    case TZC_VT_CY: return CurrencyText(u.cyVal);
    case TZC_VT_DATE: return DateText(u.date);
    case TZC_VT_DECIMAL: return DecimalText(value);
    case TZC_VT_BOOL: return u.boolVal != 0 ? "True" : "False";
    case TZC_VT_BSTR: return BstrToCp1252(u.bstrVal);
    case TZC_VT_PASCAL_ANSISTRING: return AnsiText(static_cast<const char*>(u.byref));
    case TZC_VT_PASCAL_UNICODESTRING: {
        const auto* units = static_cast<const uint16_t*>(u.byref);
        return units == nullptr ? "" : Utf16Text(units, Utf16Length(units));
    }
    default: CannotConvert(value.vt);
    }
}

std::string TypeInWords(const tzc_variant& reference)
{
    const tzc_variant value = Dereferenced(reference);
    if ((value.vt & TZC_VT_BYREF) != 0)
        return value.u.byref == nullptr ? "a reference to nothing" : "a reference to " + WordsForType(value.vt & ~TZC_VT_BYREF);
    std::string words = WordsForType(value.vt);
    if (value.vt == TZC_VT_DATE || value.vt == TZC_VT_DECIMAL) {
        try {
            TextOf(value);
        } catch (const EVariantError&) {
            words += " out of range";
        }
    }
    return (reference.vt & TZC_VT_BYREF) != 0 ? "a reference to " + words : words;
}

}  // namespace host
