// Injected by probe.exe into the process that shows a menu: an HMENU can only be read
// from inside its own process (and a control's font measured only there: ReadControlTexts). probe.exe loads this DLL there with a remote LoadLibraryA
// and then runs ReadMenuItems in a second remote thread; the result goes back as text
// through the shared memory that probe.exe created under kMappingName.
//
// One line per item, tab-separated:
//   item <index> <type> <submenu 0|1> <picture> <state hex> <left> <top> <right> <bottom> <caption>
// type is string, separator, bitmap or ownerdraw; picture is none, callback, sys:<n> or
// bitmap:<width>x<height> (the item's hbmpItem). The rectangle is in screen coordinates.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const char kMappingName[] = "KestrinProbeMenuReader";
const size_t kMappingSize = 1 << 20;

std::string PictureOf(HBITMAP bitmap) {
    if (!bitmap) return "none";
    if (bitmap == HBMMENU_CALLBACK) return "callback";
    const auto value = reinterpret_cast<INT_PTR>(bitmap);
    if (value > 0 && value <= 11) return "sys:" + std::to_string(value);
    BITMAP info = {};
    if (!GetObjectA(bitmap, sizeof info, &info)) return "invalid";
    return "bitmap:" + std::to_string(info.bmWidth) + "x" + std::to_string(info.bmHeight);
}

std::string TypeOf(UINT type) {
    if (type & MFT_SEPARATOR) return "separator";
    if (type & MFT_OWNERDRAW) return "ownerdraw";
    if (type & MFT_BITMAP) return "bitmap";
    return "string";
}

std::string DescribeItem(HMENU menu, int index) {
    char caption[1024] = {};
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING | MIIM_BITMAP | MIIM_ID;
    info.dwTypeData = caption;
    info.cch = sizeof caption - 1;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(index), TRUE, &info))
        return "item\t" + std::to_string(index) + "\tunreadable\n";
    RECT rect = {};
    GetMenuItemRect(nullptr, menu, static_cast<UINT>(index), &rect);
    const bool hasText = !(info.fType & (MFT_SEPARATOR | MFT_OWNERDRAW | MFT_BITMAP));
    char line[256];
    std::snprintf(line, sizeof line, "item\t%d\t%s\t%d\t%s\t0x%04x\t%ld\t%ld\t%ld\t%ld\t", index,
                  TypeOf(info.fType).c_str(), info.hSubMenu ? 1 : 0, PictureOf(info.hbmpItem).c_str(), info.fState,
                  rect.left, rect.top, rect.right, rect.bottom);
    return std::string(line) + (hasText ? caption : "") + "\n";
}

}  // namespace

// Writes the items of `param` (an HMENU of this process) into the shared memory and
// returns the item count, or 0xFFFFFFFF when the menu or the memory cannot be used.
extern "C" __declspec(dllexport) DWORD WINAPI ReadMenuItems(LPVOID param) {
    HMENU menu = static_cast<HMENU>(param);
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, kMappingName);
    if (!mapping) return 0xFFFFFFFF;
    char* view = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, kMappingSize));
    if (!view) {
        CloseHandle(mapping);
        return 0xFFFFFFFF;
    }
    const int count = GetMenuItemCount(menu);
    std::string text;
    for (int i = 0; i < count; ++i) text += DescribeItem(menu, i);
    const size_t length = text.size() < kMappingSize - 1 ? text.size() : kMappingSize - 1;
    text.copy(view, length);
    view[length] = '\0';
    UnmapViewOfFile(view);
    CloseHandle(mapping);
    return count < 0 ? 0xFFFFFFFF : static_cast<DWORD>(count);
}

namespace {

std::string WindowTextOf(HWND hwnd) {
    char text[1024] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

// The hotkey field's text as the control shows it: the modifiers and the key, " + " between.
std::string HotkeyText(HWND hotkey) {
    const WORD value = static_cast<WORD>(SendMessageA(hotkey, HKM_GETHOTKEY, 0, 0));
    const UINT vk = LOBYTE(value), mods = HIBYTE(value);
    std::string text;
    auto add = [&](UINT key, bool extended) {
        char name[64] = {};
        const LONG code = static_cast<LONG>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC) << 16) | (extended ? 1 << 24 : 0);
        GetKeyNameTextA(code, name, sizeof name);
        if (!text.empty()) text += " + ";
        text += name;
    };
    if (mods & HOTKEYF_CONTROL) add(VK_CONTROL, false);
    if (mods & HOTKEYF_SHIFT) add(VK_SHIFT, false);
    if (mods & HOTKEYF_ALT) add(VK_MENU, false);
    if (vk) add(vk, (mods & HOTKEYF_EXT) != 0);
    return text;
}

// The width DrawText takes and the height of the letters: the line less the internal
// leading, which only accents above capitals use.
SIZE TextSize(HDC dc, const std::string& text, bool prefixes) {
    RECT rect{0, 0, 0, 0};
    if (!text.empty())
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                  DT_CALCRECT | DT_SINGLELINE | (prefixes ? 0 : DT_NOPREFIX));
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    return {rect.right - rect.left, rect.bottom - rect.top - metrics.tmInternalLeading};
}

// One line per child with text: what it shows, measured in its own font, against the room
// the control leaves for it.
std::string DescribeControl(HWND window, HWND control) {
    char className[64] = {};
    GetClassNameA(control, className, sizeof className);
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    RECT client{}, rect{};
    GetClientRect(control, &client);
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    const int width = client.right - client.left;
    std::string text;
    bool prefixes = true;
    int room = width;
    int heightRoom = client.bottom - client.top;
    if (lstrcmpiA(className, "Static") == 0) {
        text = WindowTextOf(control);
        prefixes = !(style & SS_NOPREFIX);
    } else if (lstrcmpiA(className, "Button") == 0) {
        text = WindowTextOf(control);
        switch (style & BS_TYPEMASK) {
        case BS_GROUPBOX: room = width - MulDiv(16, dpi, 96); break;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX: room = width - GetSystemMetrics(SM_CXMENUCHECK) - MulDiv(4, dpi, 96); break;
        default:
            if (style & (BS_ICON | BS_BITMAP)) text.clear();
            room = width - 2 * GetSystemMetrics(SM_CXEDGE);
            heightRoom -= 2 * GetSystemMetrics(SM_CYEDGE);
        }
    } else if (lstrcmpiA(className, HOTKEY_CLASSA) == 0) {
        text = HotkeyText(control);
        prefixes = false;
        room = width - 2;
    } else if (lstrcmpiA(className, "ComboBox") == 0) {
        // The widest item against the box less its arrow button.
        prefixes = false;
        room = width - GetSystemMetrics(SM_CXVSCROLL) - 2 * GetSystemMetrics(SM_CXEDGE);
        GetWindowRect(control, &rect);  // the closed box
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        const LRESULT count = SendMessageA(control, CB_GETCOUNT, 0, 0);
        HDC dc = GetDC(control);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
        int widest = 0;
        for (LRESULT i = 0; i < count; ++i) {
            char item[256] = {};
            if (SendMessageA(control, CB_GETLBTEXTLEN, i, 0) >= static_cast<LRESULT>(sizeof item)) continue;
            SendMessageA(control, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
            const SIZE size = TextSize(dc, item, false);
            if (size.cx > widest) {
                widest = size.cx;
                text = item;
            }
        }
        SelectObject(dc, old);
        ReleaseDC(control, dc);
    }
    if (lstrcmpiA(className, "ListBox") == 0) {
        RECT cell = {};
        SendMessageA(control, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
        char line[96];
        std::snprintf(line, sizeof line, "cell\t%d\t%ld\t%ld\n", GetDlgCtrlID(control), cell.right - cell.left,
                      cell.bottom - cell.top);
        return line;
    }
    if (text.empty()) return "";
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    const SIZE size = TextSize(dc, text, prefixes);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    char line[256];
    std::snprintf(line, sizeof line, "text\t%d\t%s\t%ld\t%ld\t%ld\t%ld\t%ld\t%d\t%ld\t%d\t", GetDlgCtrlID(control),
                  className, rect.left, rect.top, rect.right, rect.bottom, size.cx, room, size.cy, heightRoom);
    return std::string(line) + text + "\n";
}

}  // namespace

// Writes an "icons" line for `param` (a top-level window of this process), a "cell" line for
// each list box and a "text" line for every child that shows text:
//   icons <small width> <small height> <big width> <big height>
//   cell <id> <width> <height>
//   text <id> <class> <left> <top> <right> <bottom> <text width> <room> <text height> <room> <text>
// The rectangle is in the window's client coordinates. Returns the line count, or 0xFFFFFFFF.
extern "C" __declspec(dllexport) DWORD WINAPI ReadControlTexts(LPVOID param) {
    HWND window = static_cast<HWND>(param);
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, kMappingName);
    if (!mapping || !IsWindow(window)) return 0xFFFFFFFF;
    char* view = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, kMappingSize));
    if (!view) {
        CloseHandle(mapping);
        return 0xFFFFFFFF;
    }
    std::string text;
    DWORD lines = 0;
    // The window's own icons, as its taskbar button shows them.
    char line[128];
    SIZE icons[2] = {};
    const WPARAM kinds[2] = {ICON_SMALL, ICON_BIG};
    for (int i = 0; i < 2; ++i) {
        ICONINFO info = {};
        const HICON icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, kinds[i], 0));
        if (!icon || !GetIconInfo(icon, &info)) continue;
        BITMAP bitmap = {};
        GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
        icons[i] = {bitmap.bmWidth, info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2};
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
    }
    std::snprintf(line, sizeof line, "icons\t%ld\t%ld\t%ld\t%ld\n", icons[0].cx, icons[0].cy, icons[1].cx, icons[1].cy);
    text += line;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::string line = DescribeControl(window, child);
        if (line.empty()) continue;
        text += line;
        ++lines;
    }
    const size_t length = text.size() < kMappingSize - 1 ? text.size() : kMappingSize - 1;
    text.copy(view, length);
    view[length] = '\0';
    UnmapViewOfFile(view);
    CloseHandle(mapping);
    return lines;
}

// Tells `param` (a top-level window of this process) that it moved to a monitor of the DPI
// written as text at the start of the shared memory, as Windows does: from a thread of the
// window's own process, with the suggested rectangle (the window's, scaled) in memory it can
// read. Returns the message's result, or 0xFFFFFFFF.
extern "C" __declspec(dllexport) DWORD WINAPI SendDpiChanged(LPVOID param) {
    HWND window = static_cast<HWND>(param);
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, kMappingName);
    if (!mapping || !IsWindow(window)) return 0xFFFFFFFF;
    const char* view = static_cast<const char*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, kMappingSize));
    const int dpi = view ? std::atoi(view) : 0;
    if (view) UnmapViewOfFile(view);
    CloseHandle(mapping);
    if (dpi <= 0) return 0xFFFFFFFF;
    RECT rect = {};
    GetWindowRect(window, &rect);
    HDC screen = GetDC(nullptr);
    const int old = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    rect.right = rect.left + MulDiv(rect.right - rect.left, dpi, old);
    rect.bottom = rect.top + MulDiv(rect.bottom - rect.top, dpi, old);
    return static_cast<DWORD>(
        SendMessageA(window, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&rect)));
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
