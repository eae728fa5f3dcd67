#pragma once
// Reading a host's Variant as text, the way the framework converts Variants: every OLE type that
// has a text form, references to them, and the Pascal runtimes' own strings. Reading only: what
// owns or frees a value is variant.h's business.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tzc04182.h"

namespace host {

// The text of a value in Windows-1252. Numbers, dates and currency are written without regard
// to the process's locale. EVariantError ("Could not convert variant of type (...) into type
// (String)") when the value has no text: Null, arrays, objects, unknown types, a reference to
// nothing, a date or decimal out of range.
std::string TextOf(const tzc_variant& value);

// What a value is, in words, for a host's developer: "Null", "an Int32", "a SAFEARRAY of Int32",
// "a reference to a Date out of range", "a reference to nothing".
std::string TypeInWords(const tzc_variant& value);

// The framework's name of a type, as its conversion errors print it ("OleStr", "Unknown (73)").
std::string FrameworkTypeName(uint16_t vt);

// The units of a BSTR before its terminating zero. The length before the text is trusted when a
// zero unit ends the text there, as in every BSTR; otherwise the text is not a BSTR (a Pascal
// runtime's string, whose header differs) and is read up to its first zero.
std::size_t BstrLength(tzc_bstr bstr);

// A reference (TZC_VT_BYREF) followed to the value it points at, as a Variant that owns
// nothing; a value that is no reference is returned as it is. A reference to nothing, or one
// whose type cannot be followed, is returned unchanged (still TZC_VT_BYREF).
tzc_variant Dereferenced(const tzc_variant& value);

}  // namespace host
