// The module's own allocation, on systems without OLE: a BSTR is a malloc'd block holding the
// byte length before the text, an array a calloc'd descriptor and element block.
#include <cstdlib>
#include <new>

#include "host/variant/allocation.h"
#include "host/variant/variant.h"

namespace host::allocation {

tzc_bstr NewBstr(std::size_t units)
{
    if (units > 0x3FFFFFFF)
        throw std::bad_alloc();
    auto* block = static_cast<uint32_t*>(std::malloc(sizeof(uint32_t) + (units + 1) * sizeof(uint16_t)));
    if (block == nullptr)
        throw std::bad_alloc();
    block[0] = static_cast<uint32_t>(units * sizeof(uint16_t));
    auto* text = reinterpret_cast<tzc_bstr>(block + 1);
    text[units] = 0;
    return text;
}

void FreeBstr(tzc_bstr bstr) noexcept
{
    if (bstr != nullptr)
        std::free(reinterpret_cast<uint32_t*>(bstr) - 1);
}

tzc_safearray* NewVariantArray(int32_t lower, uint32_t count)
{
    auto* array = static_cast<tzc_safearray*>(std::calloc(1, sizeof(tzc_safearray)));
    // One element at least, so that an empty array still has its block.
    auto* elements = static_cast<tzc_variant*>(std::calloc(count > 0 ? count : 1, sizeof(tzc_variant)));
    if (array == nullptr || elements == nullptr) {
        std::free(array);
        std::free(elements);
        throw std::bad_alloc();
    }
    array->cDims = 1;
    array->cbElements = sizeof(tzc_variant);
    array->pvData = elements;
    array->rgsabound[0].cElements = count;
    array->rgsabound[0].lLbound = lower;
    return array;
}

void FreeArray(tzc_safearray* array) noexcept
{
    if (array == nullptr)
        return;
    std::free(array->pvData);
    std::free(array);
}

void ReleaseStored(tzc_variant& value) noexcept { ClearRaw(value); }

}  // namespace host::allocation
