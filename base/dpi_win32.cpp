#include "base/dpi_win32.h"

#include "base/form_scale.h"
#include "base/owned_win32.h"

namespace kestrin {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
// shcore's GetDpiForMonitor; 0 is MDT_EFFECTIVE_DPI.
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

template <typename Fn>
Fn User32Function(const char* name) {
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

GetDpiForMonitorFn MonitorDpiFunction() {
    // Loaded once and kept: shcore is a system DLL from Windows 8.1 on.
    static const GetDpiForMonitorFn function = [] {
        const HMODULE shcore = LoadLibraryA("shcore.dll");
        return shcore ? reinterpret_cast<GetDpiForMonitorFn>(
                            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    return function;
}

}  // namespace

int SystemDpi() {
    const ScopedDC screen;
    const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : kBaseDpi;
}

int WindowDpi(HWND hwnd) {
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    const UINT dpi = (getDpiForWindow && hwnd) ? getDpiForWindow(hwnd) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : SystemDpi();
}

int DpiAtPoint(POINT point) {
    if (const GetDpiForMonitorFn getDpiForMonitor = MonitorDpiFunction()) {
        UINT x = 0, y = 0;
        if (SUCCEEDED(getDpiForMonitor(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), 0, &x, &y)) && y > 0)
            return static_cast<int>(y);
    }
    return SystemDpi();
}

int SystemMetricForDpi(int index, int dpi) {
    static const auto forDpi = User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (forDpi) return forDpi(index, static_cast<UINT>(dpi));
    const int system = SystemDpi();
    return MulDiv(GetSystemMetrics(index), dpi, system);
}

void AdjustWindowRectForDpi(RECT* rect, DWORD style, DWORD exStyle, int dpi) {
    static const auto forDpi = User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
    if (!forDpi || !forDpi(rect, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(rect, style, FALSE, exStyle);
}

}  // namespace kestrin
