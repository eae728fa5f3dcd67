#include "entry/entry.h"

#ifndef _WIN32
#include <dlfcn.h>
#endif

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>
#include <vector>

#include "capture/branch_file.h"
#include "dialog/steps.h"
#include "entry/last_error.h"
#include "entry/screen_choice.h"
#include "entry/ui_thread.h"
#include "entry/voice_choice.h"
#include "host/forms/message_box.h"
#include "host/screens/script.h"
#include "host/text/strings.h"

namespace Cli_Tzc04182 {

TfrmCNPJCPF* frmCNPJCPF = nullptr;

namespace {

#ifndef _WIN32
// The OpenMP runtime that Qt's libraries bring in allocates at start-up and cannot give it back
// when it is unloaded: keep it resident, so that loading and unloading the module loses nothing.
[[maybe_unused]] const bool kRuntimeKept =
    dlopen("libgomp.so.1", RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE) != nullptr;
#endif

// The one dialog's lifetime in the module: the trace follows it, whichever instance it is now,
// and it is freed with the message box when the module is unloaded. Made after the application
// object and after the first dialog (whose own statics the destructor still uses), so that it
// is destroyed before them.
struct DialogLifetime {
    DialogLifetime()
    {
        host::Application().SetObserver([] {
            if (frmCNPJCPF != nullptr)
                frmCNPJCPF->TraceChanges();
        });
    }
    ~DialogLifetime()
    {
        host::Application().SetObserver(nullptr);
        delete frmCNPJCPF;
        frmCNPJCPF = nullptr;
        host::FreeMessageBox();
    }
    DialogLifetime(const DialogLifetime&) = delete;
    DialogLifetime& operator=(const DialogLifetime&) = delete;
};

// A call that failed while the dialog showed leaves no step open and no step timer running, so
// that the next call starts as a first call would.
void EndFailedShow(TfrmCNPJCPF& dialog) noexcept
{
    nPasso = PassoNenhum;
    dialog.tmrCancAutoPag.SetEnabled(false);
}

}  // namespace

TfrmCNPJCPF& Dialog()
{
    if (frmCNPJCPF == nullptr) {
        frmCNPJCPF = new TfrmCNPJCPF();
        static const DialogLifetime lifetime;
    }
    return *frmCNPJCPF;
}

void CriaInfAdicional(const Variant* params, int lastIndex, Variant& result)
{
    static UiThread uiThread;
    const bool firstCall = uiThread.Enter();
    if (frmCNPJCPF != nullptr && frmCNPJCPF->Modal())
        throw std::logic_error("CriaInfAdicional: the dialog is already open; one call at a time");

    // Only the 18 defined elements are ever read.
    const int count = params == nullptr || lastIndex < 0 ? 0 : std::min(lastIndex, 17) + 1;
    const std::vector<Variant> copy(params, params + count);

    TfrmCNPJCPF& dialog = Dialog();
    try {
        EnsureScreen();
    } catch (...) {
        if (firstCall)
            uiThread.Release();
        throw;
    }
    EnsureVoice();
    const VoiceOfOneCall voice_of_call;
    dialog.InicializaForm(copy.data(), count - 1);
    try {
        dialog.ShowModal();
    } catch (const host::EInputEnded&) {
        const std::string step = std::to_string(nPasso);
        EndFailedShow(dialog);
        throw std::runtime_error("input ended at step " + step);
    } catch (...) {
        EndFailedShow(dialog);
        throw;
    }

    dialog.nTamCodPromoc = static_cast<int>(
        Consiste::iif(dialog.sCodPromocLongo == "S", Variant(int32_t(50)), Variant(int32_t(10))).ToInteger());
    for (const PassoInfo& passo : kPassos) {
        const std::size_t length =
            passo.slot_length != 0 ? passo.slot_length : static_cast<std::size_t>(dialog.nTamCodPromoc);
        result.SetElement(passo.slot, Variant(std::string_view(dialog.*passo.field).substr(0, length)));
    }
}

}  // namespace Cli_Tzc04182

using Cli_Tzc04182::Variant;

namespace {

// One call of either exported entry; errors leave it as C++ exceptions.
void Call(const tzc_variant* params, int last_index, tzc_variant* result)
{
    if (result == nullptr)
        throw host::EVariantError("Variant is not an array");
    Cli_Tzc04182::CriaInfAdicional(params != nullptr ? &Variant::From(*params) : nullptr, last_index,
                                   Variant::From(*result));
}

// The call with every error caught and its message kept: true when it worked.
bool CallKeepingError(const tzc_variant* params, int last_index, tzc_variant* result) noexcept
{
    try {
        Call(params, last_index, result);
        Cli_Tzc04182::KeepLastError("");
        return true;
    } catch (const std::exception& failure) {
        Cli_Tzc04182::KeepLastError(failure.what());
    } catch (...) {
        Cli_Tzc04182::KeepLastError("unknown error");
    }
    return false;
}

}  // namespace

extern "C" {

void TZC_PASCAL CriaInfAdicional(const tzc_variant* params, int last_index, tzc_variant* result)
{
#ifdef _WIN32
    // A C++ exception must not reach a Pascal or C host's frames (a Pascal host hangs on one): the
    // call's objects are all gone when this frame raises the system's exception instead.
    if (!CallKeepingError(params, last_index, result))
        Cli_Tzc04182::RaiseLastError();
#else
    try {
        Call(params, last_index, result);
        Cli_Tzc04182::KeepLastError("");
    } catch (const std::exception& failure) {
        Cli_Tzc04182::KeepLastError(failure.what());
        throw;
    } catch (...) {
        Cli_Tzc04182::KeepLastError("unknown error");
        throw;
    }
#endif
}

int TZC_CALL CriaInfAdicionalC(const tzc_variant* params, int last_index, tzc_variant* result, char* error,
                               size_t error_size)
{
    const bool worked = CallKeepingError(params, last_index, result);
    if (error != nullptr && error_size > 0) {
        const std::size_t length = std::min(std::strlen(Cli_Tzc04182::LastError()), error_size - 1);
        std::memcpy(error, Cli_Tzc04182::LastError(), length);
        error[length] = '\0';
    }
    return worked ? TZC_OK : TZC_ERROR;
}

int TZC_CALL tzc_set_branch_file(const char* utf8_path)
{
    try {
        Cli_Tzc04182::NameBranchFile(utf8_path != nullptr ? utf8_path : "");
        return TZC_OK;
    } catch (...) {
        return TZC_ERROR;  // no memory for the path: the earlier name stays
    }
}

const char* TZC_CALL tzc_last_error(void) { return Cli_Tzc04182::LastError(); }

const char* TZC_CALL tzc_version(void) { return TZC_VERSION; }

tzc_variant TZC_CALL tzc_variant_string(const char* utf8)
{
    tzc_variant value{};
    value.vt = TZC_VT_BSTR;
    value.u.bstrVal = host::BstrFromUtf8(utf8 != nullptr ? utf8 : "");
    return value;
}

tzc_variant TZC_CALL tzc_variant_int(int32_t number)
{
    Variant value(number);
    return std::exchange(value.Raw(), tzc_variant{});
}

tzc_variant TZC_CALL tzc_variant_null(void)
{
    tzc_variant value{};
    value.vt = TZC_VT_NULL;
    return value;
}

tzc_variant TZC_CALL tzc_variant_array(int32_t lower, int32_t upper)
{
    try {
        Variant array = Variant::Array(lower, upper);
        return std::exchange(array.Raw(), tzc_variant{});
    } catch (...) {
        return tzc_variant_null();
    }
}

tzc_variant* TZC_CALL tzc_array_element(tzc_variant* array, int32_t index)
{
    if (array == nullptr)
        return nullptr;
    try {
        return &const_cast<Variant&>(Variant::From(*array).Element(index)).Raw();
    } catch (...) {
        return nullptr;
    }
}

long TZC_CALL tzc_variant_to_utf8(const tzc_variant* value, char* buffer, size_t size)
{
    if (value == nullptr)
        return -1;
    std::string utf8;
    try {
        utf8 = host::Cp1252ToUtf8(Variant::From(*value).ToString());
    } catch (...) {
        return -1;
    }
    if (buffer != nullptr && size > 0) {
        const std::size_t length = std::min(utf8.size(), size - 1);
        std::memcpy(buffer, utf8.data(), length);
        buffer[length] = '\0';
    }
    return static_cast<long>(utf8.size());
}

void TZC_CALL tzc_variant_clear(tzc_variant* value)
{
    if (value != nullptr)
        host::ClearRaw(*value);
}

}  // extern "C"
