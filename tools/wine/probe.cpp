// probe.exe: looks at the shared Wine desktop for the end-to-end scripts and prints what it
// finds as tab-separated lines, one record per line, first field the record type.
// Run inside the test prefix: `wine probe.exe COMMAND [ARGS]`. Exit code 0 means success
// (for wait-* commands: the condition was met in time), 1 failure, 2 bad usage.
//
// Windows of other processes are read with plain messages; data behind pointers (tooltip
// tools) goes through memory allocated in the owner process; menus, which only their own
// process can read, through the injected menureader_dll.dll.
#include <windows.h>
#include <aclapi.h>
#include <commctrl.h>
#include <tlhelp32.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tools/wine/probe_support.h"

namespace {

using namespace kestrin::probe;

const UINT kGetMenuHandle = 0x01E1;  // MN_GETHMENU
const char kMappingName[] = "KestrinProbeMenuReader";
const size_t kMappingSize = 1 << 20;
const char kReaderDll[] = "menureader_dll.dll";

// A process given as a decimal Windows process id or as an executable name.
bool MatchesProcess(DWORD pid, const std::string& which, const ProcessList& processes) {
    char* end = nullptr;
    unsigned long number = std::strtoul(which.c_str(), &end, 10);
    if (!which.empty() && *end == '\0') return number == pid;
    return lstrcmpiA(ExeOf(pid, processes).c_str(), which.c_str()) == 0;
}

std::string RectText(const RECT& r) {
    return std::to_string(r.left) + "\t" + std::to_string(r.top) + "\t" + std::to_string(r.right) + "\t" +
           std::to_string(r.bottom);
}

std::string HwndText(HWND hwnd) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)));
    return text;
}

// ---- tray ----------------------------------------------------------------------------

struct TrayIcon {
    RECT rect;  // screen coordinates
    std::string tip;
    bool tipShown;
};

HWND TrayWindow() { return FindWindowA("Shell_TrayWnd", nullptr); }

// The shell keeps one tooltip window per icon; a removed icon leaves its tool behind with
// an empty rectangle, so only tools with a rectangle are icons.
// The shell's process, opened for reading and writing its memory; its id in `pid`.
Handle OpenShellProcess(DWORD& pid) {
    const HWND tray = TrayWindow();
    pid = tray ? ProcessOf(tray) : 0;
    return Handle(pid ? OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid) : nullptr);
}

std::vector<TrayIcon> TrayIcons() {
    std::vector<TrayIcon> icons;
    DWORD shellPid = 0;
    const Handle process = OpenShellProcess(shellPid);
    if (!process) return icons;
    const size_t textSize = 1024;
    RemoteMemory remote(process.get(), sizeof(TTTOOLINFOA) + textSize);
    if (!remote.get()) return icons;
    char* remoteText = remote.get() + sizeof(TTTOOLINFOA);
    for (HWND tip : TopLevelWindows()) {
        if (ProcessOf(tip) != shellPid || ClassOf(tip) != TOOLTIPS_CLASSA) continue;
        const int count = static_cast<int>(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            TTTOOLINFOA info = {};
            info.cbSize = sizeof info;
            info.lpszText = remoteText;
            char text[textSize] = {};
            if (!remote.Write(&info, sizeof info) || !remote.Write(text, textSize, sizeof info)) continue;
            if (!SendMessageA(tip, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(remote.get()))) continue;
            if (!remote.Read(&info, sizeof info) || !remote.Read(text, textSize - 1, sizeof info)) continue;
            if (IsRectEmpty(&info.rect)) continue;
            MapWindowPoints(info.hwnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&info.rect), 2);
            icons.push_back({info.rect, text, IsWindowVisible(tip) != FALSE});
        }
    }
    return icons;
}

void PrintIcon(const TrayIcon& icon) {
    std::printf("icon\t%s\t%d\t%s\n", RectText(icon.rect).c_str(), icon.tipShown ? 1 : 0, icon.tip.c_str());
}

// The shell's balloon notifications shown now: balloon TITLE<TAB>TEXT.
std::vector<std::string> Balloons() {
    std::vector<std::string> shown;
    DWORD shellPid = 0;
    const Handle process = OpenShellProcess(shellPid);
    if (!process) return shown;
    const size_t textSize = 1024;
    RemoteMemory remote(process.get(), sizeof(TTTOOLINFOA) + sizeof(TTGETTITLE) + 2 * textSize);
    if (!remote.get()) return shown;
    char* remoteText = remote.get() + sizeof(TTTOOLINFOA) + sizeof(TTGETTITLE);
    for (HWND tip : TopLevelWindows()) {
        if (ProcessOf(tip) != shellPid || ClassOf(tip) != TOOLTIPS_CLASSA || !IsWindowVisible(tip)) continue;
        if (!(GetWindowLongA(tip, GWL_STYLE) & TTS_BALLOON)) continue;
        TTTOOLINFOA info = {};
        info.cbSize = sizeof info;
        info.lpszText = remoteText;
        char text[textSize] = {};
        if (!remote.Write(&info, sizeof info) || !remote.Write(text, textSize, sizeof info + sizeof(TTGETTITLE)))
            continue;
        if (!SendMessageA(tip, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(remote.get()))) continue;
        remote.Read(text, textSize - 1, sizeof info + sizeof(TTGETTITLE));
        // The title comes back in UTF-16 whatever the message's character set.
        TTGETTITLE title = {};
        title.dwSize = sizeof title;
        title.cch = textSize / 2;
        title.pszTitle = reinterpret_cast<WCHAR*>(remoteText + textSize);
        wchar_t wide[textSize / 2] = {};
        remote.Write(&title, sizeof title, sizeof info);
        remote.Write(wide, sizeof wide, sizeof info + sizeof(TTGETTITLE) + textSize);
        SendMessageA(tip, TTM_GETTITLE, 0, reinterpret_cast<LPARAM>(remote.get() + sizeof info));
        remote.Read(wide, sizeof wide - sizeof(wchar_t), sizeof info + sizeof(TTGETTITLE) + textSize);
        char narrow[textSize] = {};
        WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, sizeof narrow - 1, nullptr, nullptr);
        shown.push_back(std::string(narrow) + "\t" + text);
    }
    return shown;
}

int CmdWaitBalloon(int argc, char** argv) {
    if (argc < 1) return 2;
    std::vector<std::string> shown;
    if (!WaitFor(std::atof(argv[0]), [&] {
            shown = Balloons();
            return !shown.empty();
        }))
        return 1;
    for (const std::string& balloon : shown) std::printf("balloon\t%s\n", balloon.c_str());
    return 0;
}

int CmdTray(int, char**) {
    for (const TrayIcon& icon : TrayIcons()) PrintIcon(icon);
    return 0;
}

int CountIcons(const std::string& tip) {
    int count = 0;
    for (const TrayIcon& icon : TrayIcons()) count += icon.tip == tip;
    return count;
}

int CmdWaitTray(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string tip = argv[0];
    if (!WaitFor(std::atof(argv[1]), [&] { return CountIcons(tip) > 0; })) return 1;
    for (const TrayIcon& icon : TrayIcons())
        if (icon.tip == tip) PrintIcon(icon);
    return 0;
}

int CmdWaitNoTray(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string tip = argv[0];
    return WaitFor(std::atof(argv[1]), [&] { return CountIcons(tip) == 0; }) ? 0 : 1;
}

int CmdWaitTip(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string tip = argv[0];
    return WaitFor(std::atof(argv[1]),
                   [&] {
                       for (const TrayIcon& icon : TrayIcons())
                           if (icon.tip == tip && icon.tipShown) return true;
                       return false;
                   })
               ? 0
               : 1;
}

// ---- menus ---------------------------------------------------------------------------

std::vector<HWND> ShownMenus() {
    std::vector<HWND> menus;
    for (HWND hwnd : TopLevelWindows())
        if (IsWindowVisible(hwnd) && ClassOf(hwnd) == "#32768") menus.push_back(hwnd);
    return menus;
}

std::string ProbeFolder() {
    char path[MAX_PATH * 4] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

HMODULE RemoteModule(DWORD pid, const char* name) {
    Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid));
    if (!snapshot) return nullptr;
    MODULEENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Module32First(snapshot.get(), &entry); more; more = Module32Next(snapshot.get(), &entry))
        if (lstrcmpiA(entry.szModule, name) == 0) return entry.hModule;
    return nullptr;
}

bool RunRemote(HANDLE process, LPTHREAD_START_ROUTINE start, void* param, DWORD* exitCode) {
    Handle thread(CreateRemoteThread(process, nullptr, 0, start, param, 0, nullptr));
    if (!thread) return false;
    if (WaitForSingleObject(thread.get(), 10000) != WAIT_OBJECT_0) return false;
    return GetExitCodeThread(thread.get(), exitCode) != FALSE;
}

// Loads the reader DLL into `pid` (once; a second load only counts up) and returns the
// address of its function `name` (ReadMenuItems, ReadControlTexts) there.
LPTHREAD_START_ROUTINE RemoteReader(HANDLE process, DWORD pid, std::string* error, const char* name = "ReadMenuItems") {
    const std::string dllPath = ProbeFolder() + kReaderDll;
    HMODULE local = LoadLibraryA(dllPath.c_str());
    FARPROC localProc = local ? GetProcAddress(local, name) : nullptr;
    if (!localProc) {
        *error = "cannot load " + dllPath;
        return nullptr;
    }
    HMODULE remoteBase = RemoteModule(pid, kReaderDll);
    if (!remoteBase) {
        RemoteMemory path(process, dllPath.size() + 1);
        if (!path.get() || !path.Write(dllPath.c_str(), dllPath.size() + 1)) {
            *error = "cannot write into process";
            return nullptr;
        }
        // kernel32 sits at the same address in every process of the prefix.
        auto loadLibrary = reinterpret_cast<LPTHREAD_START_ROUTINE>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA")));
        DWORD ignored = 0;
        if (!RunRemote(process, loadLibrary, path.get(), &ignored)) {
            *error = "remote LoadLibraryA failed";
            return nullptr;
        }
        // The thread's exit code holds only the low half of the module address.
        remoteBase = RemoteModule(pid, kReaderDll);
        if (!remoteBase) {
            *error = "reader DLL not loaded";
            return nullptr;
        }
    }
    const auto offset = reinterpret_cast<const char*>(localProc) - reinterpret_cast<const char*>(local);
    return reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<char*>(remoteBase) + offset);
}

// Prints one "menu" line and the reader's "item" lines for a shown menu window.
bool PrintMenu(int index, HWND window, char* view) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    const DWORD pid = ProcessOf(window);
    DWORD_PTR menu = 0;
    SendMessageTimeoutA(window, kGetMenuHandle, 0, 0, SMTO_ABORTIFHUNG, 2000, &menu);
    std::string error;
    DWORD count = 0xFFFFFFFF;
    Handle process(OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid));
    if (!menu) {
        error = "no menu handle";
    } else if (!process) {
        error = "cannot open process";
    } else if (LPTHREAD_START_ROUTINE reader = RemoteReader(process.get(), pid, &error)) {
        view[0] = '\0';
        if (!RunRemote(process.get(), reader, reinterpret_cast<void*>(menu), &count)) error = "reader thread failed";
        else if (count == 0xFFFFFFFF) error = "reader could not read the menu";
    }
    std::printf("menu\t%d\t%s\t%s\t%s\t%s\n", index, HwndText(window).c_str(), RectText(rect).c_str(),
                ExeOf(pid).c_str(), error.empty() ? std::to_string(count).c_str() : "-1");
    if (!error.empty()) {
        std::printf("error\t%d\t%s\n", index, error.c_str());
        return false;
    }
    std::fputs(view, stdout);
    return true;
}

int CmdMenus(int, char**) {
    Handle mapping(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      static_cast<DWORD>(kMappingSize), kMappingName));
    if (!mapping) return 1;
    char* view = static_cast<char*>(MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, kMappingSize));
    if (!view) return 1;
    bool ok = true;
    int index = 0;
    // Window order: an open submenu comes before the menu it belongs to.
    for (HWND window : ShownMenus()) ok = PrintMenu(index++, window, view) && ok;
    UnmapViewOfFile(view);
    return ok ? 0 : 1;
}

// A shown window whose title starts so, else a hidden one titled exactly so.
HWND TitledWindow(const char* start) {
    HWND window = nullptr;
    for (HWND hwnd : TopLevelWindows()) {
        const std::string title = TextOf(hwnd);
        if (IsWindowVisible(hwnd) && title.compare(0, std::strlen(start), start) == 0) window = hwnd;
        else if (!window && title == start) window = hwnd;
    }
    if (!window) std::fprintf(stderr, "probe: no window %s\n", start);
    return window;
}

// Runs a function of the reader DLL in the window's process with the window as its parameter;
// `input` goes into the shared memory first, and what the function writes there is printed.
int RunInWindowProcess(HWND window, const char* function, const char* input) {
    Handle mapping(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      static_cast<DWORD>(kMappingSize), kMappingName));
    if (!mapping) return 1;
    char* view = static_cast<char*>(MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, kMappingSize));
    if (!view) return 1;
    lstrcpynA(view, input, static_cast<int>(kMappingSize));
    const DWORD pid = ProcessOf(window);
    Handle process(OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid));
    std::string error;
    DWORD count = 0xFFFFFFFF;
    if (!process) error = "cannot open process";
    else if (LPTHREAD_START_ROUTINE reader = RemoteReader(process.get(), pid, &error, function))
        if (!RunRemote(process.get(), reader, window, &count) || count == 0xFFFFFFFF) error = "reader failed";
    if (error.empty()) std::fputs(view, stdout);
    else std::fprintf(stderr, "probe: %s\n", error.c_str());
    UnmapViewOfFile(view);
    return error.empty() ? 0 : 1;
}

// The texts of a window's controls, each measured in its own font inside its process, and
// the window's icons.
int CmdTexts(int argc, char** argv) {
    if (argc < 1) return 2;
    HWND window = TitledWindow(argv[0]);
    return window ? RunInWindowProcess(window, "ReadControlTexts", "") : 1;
}

// WM_DPICHANGED as Windows sends it when the window moves to a monitor of that DPI.
int CmdDpiChanged(int argc, char** argv) {
    if (argc < 2) return 2;
    HWND window = TitledWindow(argv[0]);
    return window ? RunInWindowProcess(window, "SendDpiChanged", argv[1]) : 1;
}

int CmdWaitMenus(int argc, char** argv) {
    if (argc < 2) return 2;
    const size_t wanted = static_cast<size_t>(std::atoi(argv[0]));
    size_t shown = 0;
    const bool met = WaitFor(std::atof(argv[1]), [&] { return (shown = ShownMenus().size()) == wanted; });
    std::printf("menus\t%u\n", static_cast<unsigned>(shown));
    return met ? 0 : 1;
}

// ---- windows and processes -----------------------------------------------------------

void PrintWindow(const char* type, HWND hwnd) {
    RECT rect = {};
    GetWindowRect(hwnd, &rect);
    std::printf("%s\t%s\t%d\t%s\t%s\t%s\n", type, HwndText(hwnd).c_str(), IsWindowVisible(hwnd) ? 1 : 0,
                ClassOf(hwnd).c_str(), RectText(rect).c_str(), TextOf(hwnd).c_str());
}

// All top-level windows of a process, hidden ones included; the second field is visibility.
int CmdWindows(int argc, char** argv) {
    if (argc < 1) return 2;
    const ProcessList processes = Processes();
    for (HWND hwnd : TopLevelWindows())
        if (MatchesProcess(ProcessOf(hwnd), argv[0], processes)) PrintWindow("window", hwnd);
    return 0;
}

// The child windows (controls) of a process's visible top-level windows, for driving forms:
// control TOPHWND HWND ID VISIBLE CLASS L T R B TEXT.
int CmdControls(int argc, char** argv) {
    if (argc < 1) return 2;
    const ProcessList processes = Processes();
    for (HWND top : TopLevelWindows()) {
        if (!IsWindowVisible(top) || !MatchesProcess(ProcessOf(top), argv[0], processes)) continue;
        EnumChildWindows(
            top,
            [](HWND hwnd, LPARAM topParam) -> BOOL {
                RECT rect = {};
                GetWindowRect(hwnd, &rect);
                std::printf("control\t%s\t%s\t%d\t%d\t%s\t%s\t%s\n", HwndText(reinterpret_cast<HWND>(topParam)).c_str(),
                            HwndText(hwnd).c_str(), GetDlgCtrlID(hwnd), IsWindowVisible(hwnd) ? 1 : 0,
                            ClassOf(hwnd).c_str(), RectText(rect).c_str(), TextOf(hwnd).c_str());
                return TRUE;
            },
            reinterpret_cast<LPARAM>(top));
    }
    return 0;
}

// The taskbar's own child windows: its buttons stand for the programs' visible windows.
int CmdTaskbar(int, char**) {
    HWND tray = TrayWindow();
    if (!tray) return 1;
    EnumChildWindows(
        tray,
        [](HWND hwnd, LPARAM) -> BOOL {
            PrintWindow("child", hwnd);
            return TRUE;
        },
        0);
    return 0;
}

int CmdProcesses(int, char**) {
    for (const auto& p : Processes()) std::printf("process\t%lu\t%s\n", p.first, p.second.c_str());
    return 0;
}

int CmdWaitNoProcess(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string which = argv[0];
    return WaitFor(std::atof(argv[1]),
                   [&] {
                       const ProcessList processes = Processes();
                       for (const auto& p : processes)
                           if (MatchesProcess(p.first, which, processes)) return false;
                       return true;
                   })
               ? 0
               : 1;
}

int CmdForeground(int, char**) {
    HWND hwnd = GetForegroundWindow();
    if (!hwnd) {
        std::printf("foreground\t0x0\t0\t\n");
        return 0;
    }
    const DWORD pid = ProcessOf(hwnd);
    std::printf("foreground\t%s\t%lu\t%s\t%s\t%s\n", HwndText(hwnd).c_str(), pid, ExeOf(pid).c_str(),
                ClassOf(hwnd).c_str(), TextOf(hwnd).c_str());
    return 0;
}

// ---- input and shell -----------------------------------------------------------------

// Whether a key combination is free: registering it ourselves succeeds only when no other
// program holds it. MODS as for RegisterHotKey (1 Alt, 2 Ctrl, 4 Shift), VK decimal or 0x hex.
int CmdHotkeyFree(int argc, char** argv) {
    if (argc < 2) return 2;
    const UINT mods = static_cast<UINT>(std::strtoul(argv[0], nullptr, 0));
    const UINT key = static_cast<UINT>(std::strtoul(argv[1], nullptr, 0));
    const int id = 0x7E57;
    if (RegisterHotKey(nullptr, id, mods, key)) {
        UnregisterHotKey(nullptr, id);
        std::printf("hotkey\tfree\n");
        return 0;
    }
    std::printf("hotkey\ttaken\t%lu\n", GetLastError());
    return 1;
}

// Holds the combination as another program would, until the time is up.
int CmdHoldHotkey(int argc, char** argv) {
    if (argc < 3) return 2;
    const UINT mods = static_cast<UINT>(std::strtoul(argv[0], nullptr, 0));
    const UINT key = static_cast<UINT>(std::strtoul(argv[1], nullptr, 0));
    if (!RegisterHotKey(nullptr, 0x7E58, mods, key)) return 1;
    std::printf("hotkey\theld\n");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(std::atof(argv[2]) * 1000));
    UnregisterHotKey(nullptr, 0x7E58);
    return 0;
}

// The user's Run key made to refuse new values (as security software may), or allowed again.
int CmdRunKey(int argc, char** argv) {
    if (argc < 1) return 2;
    const bool deny = std::string(argv[0]) == "deny";
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0,
                      READ_CONTROL | WRITE_DAC, &key) != ERROR_SUCCESS)
        return 1;
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    EXPLICIT_ACCESSA access[2] = {};
    access[0].grfAccessPermissions = KEY_SET_VALUE | KEY_CREATE_SUB_KEY;
    access[0].grfAccessMode = DENY_ACCESS;
    access[1].grfAccessPermissions = KEY_ALL_ACCESS;
    access[1].grfAccessMode = GRANT_ACCESS;
    for (EXPLICIT_ACCESSA& entry : access) {
        entry.Trustee.TrusteeForm = TRUSTEE_IS_SID;
        entry.Trustee.ptstrName = static_cast<LPSTR>(everyone);
    }
    PACL acl = nullptr;
    DWORD rc = deny ? SetEntriesInAclA(2, access, nullptr, &acl) : SetEntriesInAclA(1, access + 1, nullptr, &acl);
    if (rc == ERROR_SUCCESS)
        rc = SetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                             nullptr, nullptr, acl, nullptr);
    LocalFree(acl);
    FreeSid(everyone);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? 0 : 1;
}

int CmdIcon(int argc, char** argv) {
    if (argc < 2) return 2;
    HICON small = nullptr;
    const UINT count = ExtractIconExA(argv[0], std::atoi(argv[1]), nullptr, &small, 1);
    const UINT total = ExtractIconExA(argv[0], -1, nullptr, nullptr, 0);
    std::printf("icon\t%u\t%u\n", count, total);
    if (small) DestroyIcon(small);
    return count == 1 ? 0 : 1;
}

// The first list box in a visible top-level window captioned TITLE: its entry count, the
// selected entry (-1 for none) and whether it is enabled.
int CmdListbox(int argc, char** argv) {
    if (argc < 1) return 2;
    for (HWND top : TopLevelWindows()) {
        if (!IsWindowVisible(top) || TextOf(top) != argv[0]) continue;
        HWND list = FindWindowExA(top, nullptr, "ListBox", nullptr);
        if (!list) continue;
        std::printf("listbox\t%ld\t%ld\t%d\n", static_cast<long>(SendMessageA(list, LB_GETCOUNT, 0, 0)),
                    static_cast<long>(SendMessageA(list, LB_GETCURSEL, 0, 0)), IsWindowEnabled(list) ? 1 : 0);
        return 0;
    }
    return 1;
}

const Command kCommands[] = {
    {"listbox", "listbox TITLE             first list box of that window: listbox COUNT SELECTED ENABLED", CmdListbox},
    {"tray", "tray                      live tray icons: icon L T R B TIPSHOWN TIP", CmdTray},
    {"wait-tray", "wait-tray TIP SECONDS     until an icon with TIP is there", CmdWaitTray},
    {"wait-no-tray", "wait-no-tray TIP SECONDS  until no icon has TIP", CmdWaitNoTray},
    {"wait-tip", "wait-tip TIP SECONDS      until the tip of TIP's icon is shown", CmdWaitTip},
    {"menus", "menus                     shown menus (submenus first) with their items", CmdMenus},
    {"dpi-changed", "dpi-changed TITLE DPI     WM_DPICHANGED to the window, sent inside its process", CmdDpiChanged},
    {"texts", "texts TITLE               a window's icons, list cells, controls' texts measured in their fonts",
     CmdTexts},
    {"wait-menus", "wait-menus N SECONDS      until exactly N menus are shown", CmdWaitMenus},
    {"windows", "windows PID|EXE           top-level windows: window HWND VISIBLE CLASS L T R B TEXT", CmdWindows},
    {"controls", "controls PID|EXE          child windows of its visible top-level windows", CmdControls},
    {"taskbar", "taskbar                   the taskbar's child windows", CmdTaskbar},
    {"processes", "processes                 process PID EXE", CmdProcesses},
    {"wait-no-process", "wait-no-process PID|EXE SECONDS", CmdWaitNoProcess},
    {"foreground", "foreground                foreground HWND PID EXE CLASS TEXT", CmdForeground},
    {"hotkey-free", "hotkey-free MODS VK       exit 0 when no program holds the combination", CmdHotkeyFree},
    {"hold-hotkey", "hold-hotkey MODS VK SECONDS  holds the combination as another program", CmdHoldHotkey},
    {"wait-balloon", "wait-balloon SECONDS      until a balloon shows: balloon TITLE TEXT", CmdWaitBalloon},
    {"run-key", "run-key deny|allow        the user's Run key refuses new values, or takes them", CmdRunKey},
    {"icon", "icon FILE INDEX           small icons ExtractIconExA gives: icon GOT TOTAL", CmdIcon},
};

}  // namespace

int main(int argc, char** argv) { return RunCommand("probe", kCommands, argc, argv); }
