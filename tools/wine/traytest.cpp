// traytest.exe TIP: a minimal tray program with a known menu, used to check probe.exe and
// the e2e helpers independently of Kestrin. A left click (on release) or a right press
// shows: "&Picture" (a 16x16 bitmap), "&Nested" (submenu with "&Inner"), a separator
// and "E&xit", which removes the icon and ends the program.
#include <windows.h>
#include <shellapi.h>

namespace {

const UINT kCallback = WM_APP + 1;
const UINT kExitId = 100;
NOTIFYICONDATAA gIcon = {};
HBITMAP gPicture = nullptr;

HBITMAP MakePicture() {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF colours[] = {RGB(200, 0, 0), RGB(0, 160, 0), RGB(0, 0, 220), RGB(240, 200, 0)};
    for (int i = 0; i < 4; ++i) {
        RECT quarter = {(i % 2) * 8, (i / 2) * 8, (i % 2) * 8 + 8, (i / 2) * 8 + 8};
        HBRUSH brush = CreateSolidBrush(colours[i]);
        FillRect(dc, &quarter, brush);
        DeleteObject(brush);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

void ShowMenu(HWND hwnd) {
    HMENU nested = CreatePopupMenu();
    AppendMenuA(nested, MF_STRING, 11, "&Inner");
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 10, "&Picture");
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_BITMAP;
    info.hbmpItem = gPicture;
    SetMenuItemInfoA(menu, 0, TRUE, &info);
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(nested), "&Nested");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, kExitId, "E&xit");
    POINT at = {};
    GetCursorPos(&at);
    SetForegroundWindow(hwnd);
    const UINT chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd, nullptr);
    PostMessageA(hwnd, WM_NULL, 0, 0);
    DestroyMenu(menu);
    if (chosen == kExitId) DestroyWindow(hwnd);
}

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kCallback && (lp == WM_LBUTTONUP || lp == WM_RBUTTONDOWN)) {
        ShowMenu(hwnd);
        return 0;
    }
    if (msg == WM_DESTROY) {
        Shell_NotifyIconA(NIM_DELETE, &gIcon);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "KestrinTrayTest";
    RegisterClassA(&windowClass);
    HWND hwnd =
        CreateWindowA("KestrinTrayTest", "traytest", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    gPicture = MakePicture();
    gIcon.cbSize = sizeof gIcon;
    gIcon.hWnd = hwnd;
    gIcon.uID = 1;
    gIcon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    gIcon.uCallbackMessage = kCallback;
    gIcon.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    lstrcpynA(gIcon.szTip, __argc > 1 ? __argv[1] : "traytest", sizeof gIcon.szTip);
    Shell_NotifyIconA(NIM_ADD, &gIcon);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    DeleteObject(gPicture);
    return 0;
}
