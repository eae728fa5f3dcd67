#pragma once
// Where the lowest form of a stack goes: centred on a work area, scaled from the layout's 96 dpi
// to the monitor's, but shrunk to fit when the work area is smaller than that.
#include "host/screens/win32/windows_api.h"

namespace host::win32 {

struct Placement {
    RECT window;   // in screen pixels
    double scale;  // device pixels per layout pixel
};

Placement CentredPlacement(SIZE form, RECT work_area, UINT dpi);

// The monitor's dpi (GetDpiForMonitor where the system has it, else the screen's).
UINT MonitorDpi(HMONITOR monitor);

// While it lives, windows made and coordinates read on this thread are per-monitor dpi aware
// (where the system knows of it), whatever the host's process is.
class PerMonitorDpiScope {
public:
    PerMonitorDpiScope();
    ~PerMonitorDpiScope();
    PerMonitorDpiScope(const PerMonitorDpiScope&) = delete;
    PerMonitorDpiScope& operator=(const PerMonitorDpiScope&) = delete;

private:
    void* previous_ = nullptr;
};

}  // namespace host::win32
