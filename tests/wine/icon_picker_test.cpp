// The "Select Icon" picker as its caller meets it: RunIconPicker runs while a timer looks at
// the open window and then closes it the way a user would; the returned selection and the
// owner are checked afterwards. Prints "PASS name" or "FAIL name: why" per check.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "settings/icon_picker.h"
#include "settings/icon_picker_win32.h"
#include "tests/wine/check.h"

using namespace kestrin;

namespace {

// What the timer saw while the picker was open.
struct Seen {
    bool found = false;
    HWND picker = nullptr;
    HWND pickerOwner = nullptr;
    bool ownerEnabled = true;
    bool listEnabled = false;
    bool listHasFocus = false;
    int count = -1;
    int selection = -2;
    int itemHeight = -1;
    LOGFONTA font{};
    RECT client{};
    RECT list{};
    RECT clientResized{};
    RECT listResized{};
};

using Action = void (*)(HWND picker, HWND list);

struct Outcome {
    int returned = -2;
    Seen seen;
    bool ownerEnabled = false;
    bool ownerActive = false;
    bool pickerGone = false;
    int quitCode = -1;  // -1: no WM_QUIT waiting
};

// A picker the action did not close is ended through the quit message and answers this.
constexpr int kStillOpen = -99;
// What stands for "leave the Icon index field as it is".
constexpr int kNothing = -100;

Action gAction = nullptr;
Seen gSeen;
int gTicks = 0;
bool gActed = false;
bool gTimedOut = false;

BOOL CALLBACK FindPickerWindow(HWND hwnd, LPARAM found) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char caption[64] = {};
    GetWindowTextA(hwnd, caption, sizeof caption);
    if (pid != GetCurrentProcessId() || std::strcmp(caption, "Select Icon") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
}

HWND FindPicker() {
    HWND picker = nullptr;
    EnumWindows(FindPickerWindow, reinterpret_cast<LPARAM>(&picker));
    return picker;
}

RECT ClientOf(HWND hwnd) {
    RECT rc{};
    GetClientRect(hwnd, &rc);
    return rc;
}

// The list's window rectangle in its parent's client coordinates.
RECT PlaceOf(HWND list) {
    RECT rc{};
    GetWindowRect(list, &rc);
    MapWindowPoints(nullptr, GetParent(list), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
    // Never opened, or not closed by the action: end the picker's loop rather than hang.
    if (++gTicks > (gActed ? 40 : 100)) {
        if (!gTimedOut) PostQuitMessage(99);
        gTimedOut = true;
        return;
    }
    const HWND picker = FindPicker();
    if (gActed || !picker) return;
    gActed = true;
    gTicks = 0;
    const HWND list = FindWindowExA(picker, nullptr, "LISTBOX", nullptr);
    Seen& s = gSeen;
    s.found = true;
    s.picker = picker;
    s.pickerOwner = GetWindow(picker, GW_OWNER);
    s.ownerEnabled = s.pickerOwner && IsWindowEnabled(s.pickerOwner);
    s.listEnabled = IsWindowEnabled(list) != FALSE;
    s.listHasFocus = list && GetFocus() == list;
    s.count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    s.selection = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
    s.itemHeight = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)), sizeof s.font, &s.font);
    s.client = ClientOf(picker);
    s.list = PlaceOf(list);
    gAction(picker, list);
}

// Opens the picker, lets `action` close it once it shows, and collects what followed.
Outcome Open(HWND owner, const std::string& file, int storedIndex, Action action) {
    gAction = action;
    gSeen = Seen{};
    gTicks = 0;
    gActed = false;
    gTimedOut = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, OnTick);
    Outcome out;
    out.returned = RunIconPicker(owner, file, storedIndex).value_or(kNothing);
    KillTimer(nullptr, timer);
    if (gTimedOut) out.returned = kStillOpen;
    out.seen = gSeen;
    out.ownerEnabled = IsWindowEnabled(owner) != FALSE;
    out.ownerActive = GetActiveWindow() == owner;
    out.pickerGone = !FindPicker() && !IsWindow(out.seen.picker);
    MSG msg;
    if (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) out.quitCode = static_cast<int>(msg.wParam);
    return out;
}

void PostKey(HWND target, WPARAM key) { PostMessageA(target, WM_KEYDOWN, key, 1); }
void Enter(HWND, HWND list) { PostKey(list, VK_RETURN); }
void Escape(HWND, HWND list) { PostKey(list, VK_ESCAPE); }
void EnterOnFrame(HWND picker, HWND) { PostKey(picker, VK_RETURN); }
void CloseButton(HWND picker, HWND) { PostMessageA(picker, WM_SYSCOMMAND, SC_CLOSE, 0); }
void Quit(HWND, HWND) { PostQuitMessage(7); }

void ResizeThenEnter(HWND picker, HWND list) {
    SetWindowPos(picker, nullptr, 0, 0, 600, 400, SWP_NOMOVE | SWP_NOZORDER);
    gSeen.clientResized = ClientOf(picker);
    gSeen.listResized = PlaceOf(list);
    Enter(picker, list);
}

// The user goes to another window and comes back.
void SwitchAwayAndBack(HWND picker, HWND list) {
    HWND other = CreateWindowExA(0, "STATIC", "Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200, 100, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    SetActiveWindow(other);
    const bool away = GetFocus() != list;
    SetActiveWindow(picker);
    gSeen.listHasFocus = away && GetFocus() == list;
    DestroyWindow(other);
    Enter(picker, list);
}

// A double click on entry 2, as the mouse would send it.
void DoubleClickSecond(HWND, HWND list) {
    RECT cell{};
    SendMessageA(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&cell));
    const LPARAM at = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
    PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
}

std::string Text(const char* what, int value) { return std::string(what) + " " + std::to_string(value); }

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string RectText(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

int IconCount(const std::string& file) {
    return static_cast<int>(
        reinterpret_cast<UINT_PTR>(ExtractIconA(GetModuleHandleA(nullptr), file.c_str(), static_cast<UINT>(-1))));
}

}  // namespace

int main() {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string system = std::string(windows) + "\\system32\\";
    const std::string shell32 = system + "shell32.dll";
    // Few icons, but more than one: the stored index 25 lies beyond them.
    const std::string shortFile = system + "user32.dll";

    HWND owner = CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    SetActiveWindow(owner);

    {
        const Outcome o = Open(owner, shell32, 3, Enter);
        const Seen& s = o.seen;
        Check(s.found && s.count > 3 && s.selection == 3 && s.listEnabled, "lists_the_icons_with_the_stored_index",
              Text("found", s.found) + Text(" count", s.count) + Text(" selection", s.selection) +
                  Text(" enabled", s.listEnabled));
        Check(o.returned == 3, "enter_keeps_the_selection", Text("returned", o.returned));
        Check(s.pickerOwner == owner && !s.ownerEnabled && o.ownerEnabled && o.ownerActive,
              "owner_disabled_while_open_enabled_and_active_after",
              Text("owned", s.pickerOwner == owner) + Text(" enabled while open", s.ownerEnabled) +
                  Text(" enabled after", o.ownerEnabled) + Text(" active after", o.ownerActive));
        Check(o.pickerGone && o.quitCode == -1, "picker_gone_after_return",
              Text("gone", o.pickerGone) + Text(" quit", o.quitCode));
        const RECT expected{0, 0, 373, 210};
        Check(s.listHasFocus && SameRect(s.client, expected) && SameRect(s.list, expected),
              "focused_list_fills_the_window",
              Text("focus", s.listHasFocus) + " client " + RectText(s.client) + " list " + RectText(s.list));
        const CellSize cell = IconCellSize(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
        Check(s.itemHeight == cell.height && std::strcmp(s.font.lfFaceName, "Arial") == 0 &&
                  s.font.lfHeight == cell.height,
              "cells_fit_a_large_icon",
              Text("item height", s.itemHeight) + " font " + s.font.lfFaceName + Text(" height", s.font.lfHeight));
    }
    {
        const Outcome o = Open(owner, shell32, 3, ResizeThenEnter);
        const Seen& s = o.seen;
        Check(
            o.returned == 3 && s.clientResized.right > 373 && SameRect(s.listResized, s.clientResized),
            "list_follows_the_window_size",
            "client " + RectText(s.clientResized) + " list " + RectText(s.listResized) + Text(" returned", o.returned));
    }
    {
        const Outcome o = Open(owner, shell32, 3, SwitchAwayAndBack);
        Check(o.returned == 3 && o.seen.listHasFocus, "focus_returns_to_the_list",
              Text("focus", o.seen.listHasFocus) + Text(" returned", o.returned));
    }
    {
        const Outcome o = Open(owner, shell32, 3, Escape);
        Check(o.returned == 0, "escape_selects_the_first_icon", Text("returned", o.returned));
    }
    {
        const Outcome o = Open(owner, shell32, 3, EnterOnFrame);
        Check(o.returned == 3, "enter_works_outside_the_list", Text("returned", o.returned));
    }
    {
        const Outcome o = Open(owner, shell32, 3, CloseButton);
        Check(o.returned == 3 && o.ownerEnabled, "close_button_keeps_the_selection", Text("returned", o.returned));
    }
    {
        const Outcome o = Open(owner, shell32, 5, DoubleClickSecond);
        Check(o.returned == 2, "double_click_picks_the_clicked_icon", Text("returned", o.returned));
    }
    {
        const int count = IconCount(shortFile);
        const Outcome o = Open(owner, shortFile, 25, Enter);
        Check(count > 1 && count <= 25 && o.seen.count == count && o.returned == 0,
              "stored_index_beyond_the_file_selects_the_first",
              Text("icons", count) + Text(" listed", o.seen.count) + Text(" returned", o.returned));
    }
    {
        const Outcome o = Open(owner, system + "no-such-file.dll", 3, Enter);
        const Seen& s = o.seen;
        Check(s.found && s.count == 0 && !s.listEnabled && o.returned == kNothing,
              "missing_file_gives_an_empty_disabled_list_and_no_index",
              Text("count", s.count) + Text(" enabled", s.listEnabled) + Text(" returned", o.returned));
        const Outcome folder = Open(owner, std::string(windows), 3, Escape);
        Check(folder.seen.count == 0 && !folder.seen.listEnabled && folder.returned == kNothing,
              "folder_gives_an_empty_disabled_list_and_no_index",
              Text("count", folder.seen.count) + Text(" enabled", folder.seen.listEnabled) +
                  Text(" returned", folder.returned));
    }
    {
        // 257 characters, still short enough for the file system: only a cut name fails.
        std::string longName = system;
        while (longName.size() + std::strlen("shell32.dll") < 257) longName += ".\\";
        longName += "shell32.dll";
        const Outcome o = Open(owner, longName, 3, Enter);
        Check(longName.size() >= 256 && o.seen.count > 3 && o.returned == 3, "long_file_name_is_used_whole",
              Text("length", static_cast<int>(longName.size())) + Text(" count", o.seen.count) +
                  Text(" returned", o.returned));
    }
    {
        const Outcome o = Open(owner, shell32, 3, Quit);
        Check(o.returned == 3 && o.quitCode == 7 && o.pickerGone && o.ownerEnabled,
              "quit_ends_the_picker_and_stays_posted",
              Text("returned", o.returned) + Text(" quit", o.quitCode) + Text(" gone", o.pickerGone));
    }
    DestroyWindow(owner);
    return CheckExitCode();
}
