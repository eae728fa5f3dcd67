#include "host/screens/win32/placement.h"

#include <algorithm>
#include <cmath>

namespace host::win32 {

namespace {

using DpiContext = void*;
using SetThreadDpiAwarenessContextFn = DpiContext(WINAPI*)(DpiContext);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

// A function the running system may lack (older Windows), or nullptr.
template <typename Function>
Function SystemFunction(const wchar_t* library, const char* name)
{
    HMODULE module = GetModuleHandleW(library);
    if (module == nullptr)
        module = LoadLibraryW(library);
    if (module == nullptr)
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

SetThreadDpiAwarenessContextFn SetThreadDpiAwarenessContextFunction()
{
    static const auto function =
        SystemFunction<SetThreadDpiAwarenessContextFn>(L"user32.dll", "SetThreadDpiAwarenessContext");
    return function;
}

const DpiContext kPerMonitorAwareV2 = reinterpret_cast<DpiContext>(static_cast<intptr_t>(-4));
const DpiContext kPerMonitorAware = reinterpret_cast<DpiContext>(static_cast<intptr_t>(-3));

}  // namespace

Placement CentredPlacement(SIZE form, RECT work_area, UINT dpi)
{
    const double width = std::max<LONG>(1, work_area.right - work_area.left);
    const double height = std::max<LONG>(1, work_area.bottom - work_area.top);
    const double wanted = (dpi == 0 ? 96 : dpi) / 96.0;
    const double scale = std::min({wanted, width / std::max<LONG>(1, form.cx), height / std::max<LONG>(1, form.cy)});
    const LONG w = std::min(static_cast<LONG>(width), std::lround(form.cx * scale));
    const LONG h = std::min(static_cast<LONG>(height), std::lround(form.cy * scale));
    const LONG left = work_area.left + (static_cast<LONG>(width) - w) / 2;
    const LONG top = work_area.top + (static_cast<LONG>(height) - h) / 2;
    return {RECT{left, top, left + w, top + h}, scale};
}

UINT MonitorDpi(HMONITOR monitor)
{
    static const auto get_dpi = SystemFunction<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor");
    UINT x = 0;
    UINT y = 0;
    if (get_dpi != nullptr && monitor != nullptr && get_dpi(monitor, 0 /* effective */, &x, &y) == S_OK && x != 0)
        return x;
    HDC screen = GetDC(nullptr);
    x = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSX));
    ReleaseDC(nullptr, screen);
    return x != 0 ? x : 96;
}

PerMonitorDpiScope::PerMonitorDpiScope()
{
    if (const auto set = SetThreadDpiAwarenessContextFunction()) {
        previous_ = set(kPerMonitorAwareV2);
        if (previous_ == nullptr)
            previous_ = set(kPerMonitorAware);
    }
}

PerMonitorDpiScope::~PerMonitorDpiScope()
{
    if (previous_ != nullptr)
        SetThreadDpiAwarenessContextFunction()(previous_);
}

}  // namespace host::win32
