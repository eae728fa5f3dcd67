#pragma once
// Where the Variant room's strings and arrays come from. On Windows they are the system's (a host
// frees what the module stored with VariantClear, and the module frees what the host made); on
// other systems the room allocates them itself. Only variant.cpp uses this header.
#include <cstddef>
#include <cstdint>

#include "tzc04182.h"

namespace host::allocation {

// A BSTR of `units` UTF-16 units, its length set and its terminating zero written; the units
// themselves are for the caller to fill. std::bad_alloc when it cannot be made.
tzc_bstr NewBstr(std::size_t units);
void FreeBstr(tzc_bstr bstr) noexcept;

// A one-dimensional array of `count` Empty Variants whose first index is `lower`.
// std::bad_alloc when it cannot be made.
tzc_safearray* NewVariantArray(int32_t lower, uint32_t count);
// Frees an array's blocks; Variant elements still holding something are freed with it on Windows
// and are the caller's to free first elsewhere.
void FreeArray(tzc_safearray* array) noexcept;

// Gives up a value held in a host's array before the module stores over it, as the host's own
// runtime would free it.
void ReleaseStored(tzc_variant& value) noexcept;

}  // namespace host::allocation
