// The system's OLE allocation: the host builds its vectors with oleaut32 and frees the answers
// with VariantClear, so every string and array the module hands over or takes back is oleaut32's.
#include <windows.h>
#include <oleauto.h>

#include <new>

#include "host/variant/allocation.h"

namespace host::allocation {

static_assert(sizeof(tzc_variant) == sizeof(VARIANT));
static_assert(sizeof(tzc_safearray) == sizeof(SAFEARRAY));

tzc_bstr NewBstr(std::size_t units)
{
    if (units > 0x3FFFFFFF)
        throw std::bad_alloc();
    BSTR text = SysAllocStringLen(nullptr, static_cast<UINT>(units));
    if (text == nullptr)
        throw std::bad_alloc();
    return reinterpret_cast<tzc_bstr>(text);
}

void FreeBstr(tzc_bstr bstr) noexcept { SysFreeString(reinterpret_cast<BSTR>(bstr)); }

tzc_safearray* NewVariantArray(int32_t lower, uint32_t count)
{
    SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, lower, count);
    if (array == nullptr)
        throw std::bad_alloc();
    return reinterpret_cast<tzc_safearray*>(array);
}

void FreeArray(tzc_safearray* array) noexcept
{
    if (array != nullptr)
        SafeArrayDestroy(reinterpret_cast<SAFEARRAY*>(array));
}

void ReleaseStored(tzc_variant& value) noexcept { VariantClear(reinterpret_cast<VARIANT*>(&value)); }

}  // namespace host::allocation
