// Injected by probe.exe into the process that shows a menu: an HMENU can only be read
// from inside its own process. probe.exe loads this DLL there with a remote LoadLibraryA
// and then runs ReadMenuItems in a second remote thread; the result goes back as text
// through the shared memory that probe.exe created under kMappingName.
//
// One line per item, tab-separated:
//   item <index> <type> <submenu 0|1> <picture> <state hex> <left> <top> <right> <bottom> <caption>
// type is string, separator, bitmap or ownerdraw; picture is none, callback, sys:<n> or
// bitmap:<width>x<height> (the item's hbmpItem). The rectangle is in screen coordinates.
#include <windows.h>

#include <cstdio>
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
                  TypeOf(info.fType).c_str(), info.hSubMenu ? 1 : 0, PictureOf(info.hbmpItem).c_str(),
                  info.fState, rect.left, rect.top, rect.right, rect.bottom);
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

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
