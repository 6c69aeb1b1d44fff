// The display scale, asked of Windows at run time: the per-monitor functions came after
// Windows 7, so they are looked up, never imported, and the screen's LOGPIXELS stands in.
#pragma once

#include <windows.h>

// Sent to a per-monitor aware window moved to a monitor of another scale (Windows 8.1 on):
// wParam's high word the new DPI, lParam the suggested window rectangle.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace kestrin {

// The DPI of the whole session (the screen DC's LOGPIXELSY).
int SystemDpi();
// The DPI the window is drawn at: its monitor's for a per-monitor aware window.
int WindowDpi(HWND hwnd);
// The DPI of the monitor that holds the point (screen coordinates).
int DpiAtPoint(POINT point);
// GetSystemMetrics for a DPI; the metric scaled from the session's DPI where Windows has no
// per-DPI metrics.
int SystemMetricForDpi(int index, int dpi);
// AdjustWindowRectEx for a DPI.
void AdjustWindowRectForDpi(RECT* rect, DWORD style, DWORD exStyle, int dpi);

}  // namespace kestrin
