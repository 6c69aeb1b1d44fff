// The resident program as a user feels it: time from start to tray icon, from a click on the
// icon to the shown launcher menu (first and repeated showings) for menus of 10, 100 and
// 1,000 entries, and the resident process's memory. Each size runs a fresh copy of
// kestrin.exe in its own folder; the click is the shell's callback message posted to the
// icon's window, exactly what the notification area sends. A second, in-process pass runs
// the same menu build steps here to show where the time of a showing goes.
//
// Usage: resident_wine.exe KESTRIN_EXE UNCACHED_EXE WORK_FOLDER
// (and, run by itself, resident_wine.exe --floor FOLDER: the bare program of the floor)
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "base/pictures_win32.h"
#include "core/config.h"
#include "core/file_system.h"
#include "core/launch.h"
#include "core/launcher_menu.h"
#include "shell/icon_loader_win32.h"
#include "shell/launcher_menu_win32.h"
#include "core/outline.h"
#include "shell/hotkey.h"
#include "base/popup_menu_win32.h"
#include "base/owned_win32.h"
#include "shell/tray_icon.h"
#include "shell/tray_icon_win32.h"

using namespace kestrin;

namespace {

constexpr int kRepeats = 9;
constexpr int kAtIconStarts = 3;
// Where a user's pointer is when clicking the first notification-area icon.
constexpr int kIconX = 1010;
constexpr int kIconY = 757;
// The resident program creates one icon, the first id its icon handler hands out.
constexpr UINT kIconId = kTrayIconId;
constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kMenuTimeoutMs = 10000;

// ---- time ---------------------------------------------------------------------------------

double Now() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / frequency;
}

double Median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// Polls `ready` about every millisecond until it holds or the time is up.
template <typename F>
bool PollUntil(DWORD timeoutMs, F ready) {
    const double deadline = Now() + timeoutMs;
    while (!ready()) {
        if (Now() > deadline) return false;
        Sleep(1);
    }
    return true;
}

// ---- the configuration ---------------------------------------------------------------------

bool WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

void PutLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// An .ico file with a 16x16 and a 32x32 32-bit image: a rounded tile of one colour with a
// lighter band, so that every generated file is a distinct, valid icon.
std::string MakeIcoFile(std::uint32_t rgb) {
    const int sizes[] = {16, 32};
    std::vector<std::string> images;
    for (int size : sizes) {
        std::string image;
        PutLe(image, 40, 4);  // BITMAPINFOHEADER
        PutLe(image, size, 4);
        PutLe(image, size * 2, 4);  // colour rows plus mask rows
        PutLe(image, 1, 2);
        PutLe(image, 32, 2);
        PutLe(image, 0, 4);  // BI_RGB
        PutLe(image, 0, 4);
        PutLe(image, 0, 4);
        PutLe(image, 0, 4);
        PutLe(image, 0, 4);
        PutLe(image, 0, 4);
        for (int y = 0; y < size; ++y) {  // bottom-up
            for (int x = 0; x < size; ++x) {
                const bool corner = (x == 0 || x == size - 1) && (y == 0 || y == size - 1);
                const bool band = y >= size / 2 - size / 8 && y < size / 2 + size / 8;
                std::uint32_t pixel = band ? (rgb | 0x404040) : rgb;
                PutLe(image, corner ? 0 : (0xFF000000u | pixel), 4);
            }
        }
        const int maskStride = ((size + 31) / 32) * 4;
        image.append(static_cast<size_t>(maskStride * size), '\0');  // alpha decides
        images.push_back(image);
    }
    std::string ico;
    PutLe(ico, 0, 2);
    PutLe(ico, 1, 2);  // icon
    PutLe(ico, static_cast<std::uint32_t>(images.size()), 2);
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        ico.push_back(static_cast<char>(sizes[i]));
        ico.push_back(static_cast<char>(sizes[i]));
        ico.push_back(0);  // no palette
        ico.push_back(0);
        PutLe(ico, 1, 2);
        PutLe(ico, 32, 2);
        PutLe(ico, static_cast<std::uint32_t>(images[i].size()), 4);
        PutLe(ico, offset, 4);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const std::string& image : images) ico += image;
    return ico;
}

struct IconSource {
    std::string path;
    int index;
};

// Programs and libraries with icons, as a user's menu would point at them; each file with
// every icon it holds, so that the menu's entries ask for many different pictures.
std::vector<IconSource> FindIconSources(const std::string& kestrinCopy, std::vector<std::string>& report) {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string win = windows;
    const std::string sys = win + "\\system32\\";
    const std::string candidates[] = {
        sys + "notepad.exe",
        win + "\\regedit.exe",
        sys + "taskmgr.exe",
        win + "\\explorer.exe",
        sys + "winefile.exe",
        sys + "cmd.exe",
        sys + "control.exe",
        sys + "winemine.exe",
        "C:\\Program Files\\Windows NT\\Accessories\\wordpad.exe",
        "C:\\Program Files\\Internet Explorer\\iexplore.exe",
        sys + "shell32.dll",
        sys + "user32.dll",
        sys + "comdlg32.dll",
        kestrinCopy,
    };
    std::vector<std::vector<IconSource>> perFile;
    for (const std::string& path : candidates) {
        const UINT count = ExtractIconExA(path.c_str(), -1, nullptr, nullptr, 0);
        report.push_back(path + " " + std::to_string(count));
        if (count == 0) continue;
        perFile.emplace_back();
        for (UINT i = 0; i < count && i < 256; ++i) perFile.back().push_back({path, static_cast<int>(i)});
    }
    // Round robin over the files: the first entries show each program's own main icon.
    std::vector<IconSource> sources;
    for (size_t round = 0;; ++round) {
        bool any = false;
        for (const auto& file : perFile) {
            if (round < file.size()) {
                sources.push_back(file[round]);
                any = true;
            }
        }
        if (!any) break;
    }
    return sources;
}

std::string TitleFor(const std::string& path) {
    std::string name = path.substr(path.find_last_of('\\') + 1);
    const size_t dot = name.find('.');
    if (dot != std::string::npos) name.resize(dot);
    if (!name.empty()) name[0] = static_cast<char>(toupper(static_cast<unsigned char>(name[0])));
    return name;
}

bool IsExe(const std::string& path) { return path.size() > 4 && _stricmp(path.c_str() + path.size() - 4, ".exe") == 0; }

// A menu of `count` entries, interleaved: a third take their picture from a program or
// library (the Command itself, or a library as IconFile), a third from an .ico file of their
// own, a third have none (web links and documents), with separators and a few submenus of
// three entries among them.
// With `iconFolder`, every tenth entry's picture is an .ico file of that folder
// ("slow<N>.ico", written beforehand).
bool WriteMenuConfig(const std::string& folder, int count, const std::vector<IconSource>& sources,
                     const std::string& iconFolder = "") {
    const char* docs[] = {"Quarterly report", "Budget", "Meeting notes", "Travel plan", "Recipes", "Invoices"};
    const char* sites[] = {"Mail", "Calendar", "News", "Wiki", "Tracker", "Weather", "Maps"};
    ItemStore store;
    Tree tree;
    NodeId submenu = kNoNode;
    int childrenLeft = 0;
    CreateDirectoryA((folder + "\\icons").c_str(), nullptr);
    for (int i = 0; i < count; ++i) {
        Item item;
        std::string title;
        const std::string n = std::to_string(i);
        switch (i % 3) {
        case 0: {
            const IconSource& source = sources[static_cast<size_t>(i / 3) % sources.size()];
            if (IsExe(source.path)) {
                item.command = source.path;
            } else {
                item.command = "C:\\windows\\system32\\cmd.exe";
                item.parameters = "/k cd |C:\\users\\Public|";
                item.iconFile = source.path;
            }
            item.iconIndex = static_cast<std::uint8_t>(source.index);
            title = (i % 7 == 0 ? "&" : "") + TitleFor(source.path) + " " + n;
            break;
        }
        case 1: {
            const std::string ico = folder + "\\icons\\tool" + n + ".ico";
            const std::uint32_t rgb = (static_cast<std::uint32_t>(i) * 2654435761u) & 0xBFBFBF;
            if (!WriteBytes(ico, MakeIcoFile(rgb))) return false;
            item.command = "C:\\windows\\system32\\notepad.exe";
            item.parameters = "|C:\\users\\Public\\Documents\\" + std::string(docs[i % 6]) + " " + n + ".txt|";
            item.iconFile = ico;
            title = std::string(docs[i % 6]) + " " + n;
            break;
        }
        default:
            if (i % 30 == 26) {
                item.kind = kKindSeparator;
                title = "-";
            } else if (i % 30 == 17) {
                item.kind = kKindSubmenu;
                title = "Group " + n;
            } else if (i % 2) {
                item.command = "https://example.org/" + std::string(sites[i % 7]) + "/" + n;
                title = std::string(sites[i % 7]) + " " + n;
            } else {
                item.command = "C:\\users\\Public\\Documents\\" + std::string(docs[i % 6]) + " " + n + ".docx";
                title = std::string(docs[i % 6]) + " " + n + " (document)";
            }
            break;
        }
        if (!iconFolder.empty() && i % 10 == 4) {
            item.iconFile = iconFolder + "\\slow" + n + ".ico";
            item.iconIndex = 0;
        }
        const int slot = store.items.Append(item);
        if (childrenLeft > 0) {
            tree.AddChild(submenu, title, slot);
            --childrenLeft;
        } else {
            const NodeId node = tree.AddRoot(title, slot);
            if (item.kind == kKindSubmenu) {
                submenu = node;
                childrenLeft = 3;
            }
        }
    }
    try {
        SaveItems(Win32FileSystem(), ConfigFilePath(folder + "\\kestrin.exe"), store, tree, kDefaultHotkey);
    } catch (const KestrinError& e) {
        std::fprintf(stderr, "bench: cannot write the configuration: %s\n", e.what());
        return false;
    }
    return true;
}

// ---- the resident process from outside ------------------------------------------------------

struct WindowQuery {
    DWORD pid;
    const char* className;
    bool visibleOnly;
    HWND found;
};

HWND FindProcessWindow(DWORD pid, const char* className, bool visibleOnly) {
    WindowQuery query{pid, className, visibleOnly, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* q = reinterpret_cast<WindowQuery*>(lp);
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            if (pid != q->pid) return TRUE;
            if (q->visibleOnly && !IsWindowVisible(hwnd)) return TRUE;
            char name[64] = {};
            GetClassNameA(hwnd, name, sizeof name);
            if (std::strcmp(name, q->className) != 0) return TRUE;
            q->found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&query));
    return query.found;
}

// The shell knows the icon: a modification that changes nothing succeeds only for an icon
// that is in the notification area.
bool IconInTray(HWND handler) {
    NOTIFYICONDATAA data = {};
    data.cbSize = kNotifyDataSize;
    data.hWnd = handler;
    data.uID = kIconId;
    data.uFlags = 0;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

// Returns once the window's thread has handled everything before this message, i.e. is back
// in a message loop.
bool RoundTrip(HWND hwnd) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, kMenuTimeoutMs, &result) != 0;
}

struct Showing {
    double visibleMs = -1;  // click posted -> menu window visible
    double readyMs = -1;    // -> the menu's thread back in its loop, the menu drawn
    RECT rect = {};
};

struct Run {
    int entries = 0;
    bool ok = false;
    std::string error;
    double startToIconMs = -1;
    double startToReadyMs = -1;
    Showing first;
    std::vector<Showing> again;
    SIZE_T privateUsage = 0;  // PROCESS_MEMORY_COUNTERS_EX.PrivateUsage as the platform fills it
    SIZE_T workingSet = 0;
    SIZE_T committedPrivate = 0;  // committed private regions, walked
    // Private bytes: the counter, or the walked figure where the platform leaves the counter 0.
    SIZE_T PrivateBytes() const { return privateUsage ? privateUsage : committedPrivate; }
    bool exitedCleanly = false;
};

// The committed private memory of a process, walked region by region: what Windows counts
// as a process's private bytes, independent of what the counters of the platform fill in.
SIZE_T CommittedPrivate(HANDLE process) {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION info;
    char* address = nullptr;
    while (VirtualQueryEx(process, address, &info, sizeof info) == sizeof info) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
        char* next = static_cast<char*>(info.BaseAddress) + info.RegionSize;
        if (next <= address) break;
        address = next;
    }
    return total;
}

bool ShowMenu(DWORD pid, HWND handler, Showing& showing, std::string& error) {
    SetCursorPos(kIconX, kIconY);
    const double t0 = Now();
    PostMessageA(handler, kTrayCallbackMessage, kIconId, WM_LBUTTONDOWN);
    PostMessageA(handler, kTrayCallbackMessage, kIconId, WM_LBUTTONUP);
    HWND menu = nullptr;
    if (!PollUntil(kMenuTimeoutMs, [&] { return (menu = FindProcessWindow(pid, "#32768", true)) != nullptr; })) {
        error = "no menu within 10 s of the click";
        return false;
    }
    showing.visibleMs = Now() - t0;
    if (!RoundTrip(menu)) {
        error = "the menu's thread did not answer";
        return false;
    }
    showing.readyMs = Now() - t0;
    GetWindowRect(menu, &showing.rect);

    // Escape ends a top-level menu; the menu loop reads keys from its queue whatever the window.
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(menu, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    if (!PollUntil(kMenuTimeoutMs, [&] { return FindProcessWindow(pid, "#32768", true) == nullptr; })) {
        error = "the menu did not close on Escape";
        return false;
    }
    // The launcher's own tidying after the menu (foreground, tag, menu reference) is done.
    if (!RoundTrip(handler)) {
        error = "no answer after the menu closed";
        return false;
    }
    return true;
}

// A program started for measuring: its process and the window that takes the click.
struct Instance {
    PROCESS_INFORMATION process = {};
    HWND handler = nullptr;
    DWORD Pid() const { return process.dwProcessId; }
};

bool StartProcess(const std::string& exe, std::string commandLine, const std::string& folder, Instance& instance,
                  std::string& error) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &instance.process)) {
        error = "CreateProcess failed: " + std::to_string(GetLastError());
        return false;
    }
    return true;
}

// Ends the program as "E&xit" does (closing its window quits the message loop); true when
// it ended so.
bool EndProcess(Instance& instance, const char* windowClass) {
    if (!instance.process.hProcess) return false;
    if (HWND window = FindProcessWindow(instance.Pid(), windowClass, false)) PostMessageA(window, WM_CLOSE, 0, 0);
    const bool clean = WaitForSingleObject(instance.process.hProcess, 10000) == WAIT_OBJECT_0;
    if (!clean) {
        TerminateProcess(instance.process.hProcess, 1);
        WaitForSingleObject(instance.process.hProcess, 5000);
    }
    CloseHandle(instance.process.hThread);
    CloseHandle(instance.process.hProcess);
    instance = Instance();
    return clean;
}

// Kestrin started in its folder, timed to its tray icon, and its first showing. atIcon: the
// first click comes the moment the icon appears, before the program has settled; otherwise
// a moment later, as a user's does. The program is left running for the repeated showings.
bool StartResident(const std::string& exe, const std::string& folder, bool atIcon, Run& run, Instance& instance) {
    const double t0 = Now();
    if (!StartProcess(exe, "\"" + exe + "\"", folder, instance, run.error)) return false;
    const DWORD pid = instance.Pid();
    const bool iconShown = PollUntil(kStartTimeoutMs, [&] {
        if (!instance.handler) instance.handler = FindProcessWindow(pid, "KestrinApplication", false);
        return instance.handler && IconInTray(instance.handler);
    });
    if (!iconShown) {
        run.error = "no tray icon within 30 s";
        return false;
    }
    run.startToIconMs = Now() - t0;
    if (!atIcon) {
        if (RoundTrip(instance.handler)) run.startToReadyMs = Now() - t0;
        Sleep(300);
    }
    return ShowMenu(pid, instance.handler, run.first, run.error);
}

std::uint64_t CpuTime(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    const auto ticks = [](const FILETIME& t) { return (std::uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime; };
    return ticks(kernel) + ticks(user);
}

// Waits (at most a few seconds) until the program has used no processor time for a while:
// what it does in the background after a showing (a look at the icon files) is over, as it is
// when a user clicks again seconds later.
void Settle(const Instance& instance) {
    std::uint64_t last = CpuTime(instance.process.hProcess);
    const double deadline = Now() + 3000;
    while (Now() < deadline) {
        Sleep(50);
        const std::uint64_t now = CpuTime(instance.process.hProcess);
        if (now == last) return;
        last = now;
    }
}

bool ShowAgain(const Instance& instance, Run& run) {
    Showing again;
    if (!ShowMenu(instance.Pid(), instance.handler, again, run.error)) return false;
    run.again.push_back(again);
    return true;
}

void ReadMemory(const Instance& instance, Run& run) {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(instance.process.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    run.privateUsage = counters.PrivateUsage;
    run.workingSet = counters.WorkingSetSize;
    run.committedPrivate = CommittedPrivate(instance.process.hProcess);
}

// ---- the same build, in this process ------------------------------------------------------

struct Profile {
    double modelMs = -1;  // BuildLauncherMenu: entries, separators, access keys
    // Every icon of the menu read by the loader's workers, from a cleared loader until it is
    // idle: background time, which no showing waits for.
    double picturesMs = -1;
    double itemsMs = -1;  // old items removed, new items appended
    double trackMs = -1;  // TrackPopupMenu until the drawn menu waits for input
    // What a reused showing checks: the model built and compared, the files queued for a look.
    double reuseCheckMs = -1;
    int pictures = 0;
    int extractions = 0;  // distinct (file, icon number) pairs asked for
    // One extraction, by the kind of file asked: count and median ms.
    std::map<std::string, std::pair<int, double>> perKind;
    // All icons of each program or library asked for, in one call per file: ms per icon.
    double batchPerIconMs = -1;
};

std::string FileKind(const std::string& path) {
    const size_t dot = path.find_last_of('.');
    std::string ext = dot == std::string::npos ? "" : path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    if (ext == "ico" || ext == "exe" || ext == "dll") return ext;
    return "no icon";
}

// Times every distinct extraction of one showing on its own, and the alternative of reading
// each program or library once for all of its icons that the menu asks for.
void ProfileExtractions(const LauncherMenu& model, Profile& profile) {
    std::map<std::pair<std::string, int>, int> distinct;
    for (const MenuEntry& entry : model.entries)
        if (entry.picture.source == PictureRequest::Source::File && !entry.picture.path.empty())
            distinct[{entry.picture.path, entry.picture.index}] = 1;
    profile.extractions = static_cast<int>(distinct.size());
    std::map<std::string, std::vector<double>> times;
    std::map<std::string, int> highestIndex;
    for (const auto& [request, unused] : distinct) {
        const double t = Now();
        HICON icon = ExtractSmallIcon(request.first, request.second);
        times[FileKind(request.first)].push_back(Now() - t);
        if (icon) DestroyIcon(icon);
        const std::string kind = FileKind(request.first);
        if (kind == "exe" || kind == "dll")
            highestIndex[request.first] = std::max(highestIndex[request.first], request.second);
    }
    for (const auto& [kind, list] : times) profile.perKind[kind] = {static_cast<int>(list.size()), Median(list)};
    int icons = 0;
    const double t = Now();
    for (const auto& [path, highest] : highestIndex) {
        // ExtractIconExA fills only the first small icon of a longer request under Wine, so
        // the many-icon call here is the one underneath it.
        std::vector<HICON> smalls(static_cast<size_t>(highest + 1), nullptr);
        std::vector<UINT> ids(smalls.size(), 0);
        PrivateExtractIconsA(path.c_str(), 0, 16, 16, smalls.data(), ids.data(), static_cast<UINT>(smalls.size()), 0);
        for (HICON icon : smalls) {
            if (!icon) continue;
            ++icons;
            DestroyIcon(icon);
        }
    }
    if (icons > 0) profile.batchPerIconMs = (Now() - t) / icons;
}

// The owner window's message for the icon workers' results.
constexpr UINT kBenchIconsRead = WM_APP + 7;
constexpr DWORD kIconsTimeoutMs = 60000;

// Runs this thread's messages (the owner window takes the workers' results) until nothing is
// queued or being read; false when that takes longer than timeoutMs.
bool PumpUntilIdle(const IconLoader& icons, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!icons.Idle()) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - spent, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return true;
}

double gTrackStart = 0;
double gTrackEnd = 0;

// Runs once the menu loop has nothing else to do, i.e. after the menu is painted.
void CALLBACK EndMenuTimer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    gTrackEnd = Now();
    EndMenu();
}

Profile ProfileBuild(const std::string& folder) {
    Profile profile;
    ItemStore store;
    Tree tree;
    const std::string exe = folder + "\\kestrin.exe";
    try {
        LoadItems(Win32FileSystem(), ConfigFilePath(exe), store, tree, [](int) {});
    } catch (const KestrinError& e) {
        std::fprintf(stderr, "bench: cannot load %s: %s\n", ConfigFilePath(exe).c_str(), e.what());
        return profile;
    }
    HIMAGELIST images = CreateMenuImageList();
    OwnedMenu menu(CreatePopupMenu());
    LauncherMenuBuilder builder;
    LauncherMenu model;
    std::vector<int> pictures;
    std::vector<double> modelMs, picturesMs, itemsMs, trackMs;
    const std::string drive = ExeDrive(exe);
    // The menu's owner takes in what the icon workers read, draws the pictures that are ready
    // and fills deep submenus, as the resident window does.
    struct Owner {
        HIMAGELIST images;
        LauncherMenuBuilder* builder;
        IconLoader* icons;
        const LauncherMenu* model;
        const std::vector<int>* pictures;
        bool iconsChanged = false;  // a result taken since this was last cleared changed an entry
    } owner{images, &builder, nullptr, &model, &pictures};
    WNDCLASSA wc = {};
    wc.lpfnWndProc = [](HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        auto* o = reinterpret_cast<Owner*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (o && o->icons && msg == kBenchIconsRead) {
            const IconChange change = o->icons->TakeResults();
            o->iconsChanged = o->iconsChanged || !change.entries.empty() || change.placesChanged;
            return 0;
        }
        if (o && msg == WM_MEASUREITEM && MeasureMenuPicture(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp))) return TRUE;
        if (o && msg == WM_DRAWITEM) {
            const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
            const size_t entry = draw.itemData;
            if (entry < o->pictures->size() && (*o->pictures)[entry] == kEntryIcon)
                o->icons->Draw(draw, o->model->entries[entry].picture);
            else if (entry < o->pictures->size()) DrawMenuPicture(draw, o->images, (*o->pictures)[entry]);
            return TRUE;
        }
        if (o && msg == WM_INITMENUPOPUP) o->builder->FillOnOpen(reinterpret_cast<HMENU>(wp));
        return DefWindowProcA(hwnd, msg, wp, lp);
    };
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "BenchMenuOwner";
    RegisterClassA(&wc);
    OwnedWindow ownerWindow(
        CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr));
    SetWindowLongPtrA(ownerWindow.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&owner));
    IconLoader icons(ownerWindow.get(), kBenchIconsRead);
    owner.icons = &icons;
    for (int i = 0; i < kRepeats + 1; ++i) {
        double t = Now();
        ClearMenu(menu.get());
        builder.Release();
        model = BuildLauncherMenu(store.outline, store.items, drive);
        modelMs.push_back(Now() - t);
        // Every icon read again by the workers; the menu is shown once they are done, so that
        // the drawing below draws every picture.
        t = Now();
        icons.Clear();
        icons.Want(model);
        if (PumpUntilIdle(icons, kIconsTimeoutMs)) {
            picturesMs.push_back(Now() - t);
        } else {
            std::fprintf(stderr, "bench: the icons of the %zu-entry menu were not all read in %lu ms\n",
                         model.entries.size(), static_cast<unsigned long>(kIconsTimeoutMs));
            picturesMs.push_back(-1);
        }
        pictures = icons.Pictures(model);
        t = Now();
        builder.Build(menu.get(), model, pictures, 1);
        itemsMs.push_back(Now() - t);
        gTrackStart = Now();
        SetTimer(nullptr, 0, 1, EndMenuTimer);
        gTrackEnd = 0;
        TrackMenu(menu.get(), ownerWindow.get(), kIconX, kIconY, true);
        if (gTrackEnd > 0) trackMs.push_back(gTrackEnd - gTrackStart);
    }
    // The first round pays for loading libraries and warming caches; the figures are the
    // repeated showings, as "again" is.
    auto repeated = [](std::vector<double> v) {
        if (v.size() > 1) v.erase(v.begin());
        return Median(v);
    };
    profile.modelMs = repeated(modelMs);
    profile.picturesMs = repeated(picturesMs);
    profile.itemsMs = repeated(itemsMs);
    profile.trackMs = repeated(trackMs);
    std::vector<double> checkMs;
    for (int i = 0; i < kRepeats; ++i) {
        const double t = Now();
        const LauncherMenu again = BuildLauncherMenu(store.outline, store.items, drive);
        const bool changed = !(again == model);
        icons.LookAgain();
        checkMs.push_back(Now() - t);
        // The looks themselves are the workers'; a file they saw change spoils the figure.
        owner.iconsChanged = false;
        if (changed || !PumpUntilIdle(icons, kIconsTimeoutMs) || owner.iconsChanged) checkMs.back() = -1;
    }
    profile.reuseCheckMs = Median(checkMs);
    ProfileExtractions(model, profile);
    for (int picture : pictures)
        if (picture >= kFixedMenuPictureCount) ++profile.pictures;
    ClearMenu(menu.get());
    builder.Release();
    ImageList_Destroy(images);
    return profile;
}

// ---- the platform's floor ---------------------------------------------------------------------
// The same menu (entries, submenus, captions) shown by a bare program with TrackPopupMenu,
// every picture a bitmap drawn beforehand: what a showing costs on this platform at the least.
// This program runs itself as that program ("--floor FOLDER") and measures it as it measures
// Kestrin, by the click message posted to its window.

constexpr char kFloorClass[] = "BenchMenuFloor";

HBITMAP IconBitmap(HICON icon) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 16;
    info.bmiHeader.biHeight = -16;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    DrawIconEx(dc, 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
    SelectObject(dc, old);
    DeleteDC(dc);
    return bitmap;
}

int RunFloor(const std::string& folder) {
    ItemStore store;
    Tree tree;
    try {
        LoadItems(Win32FileSystem(), ConfigFilePath(folder + "\\kestrin.exe"), store, tree, [](int) {});
    } catch (const KestrinError&) {
        return 1;
    }
    const LauncherMenu model = BuildLauncherMenu(store.outline, store.items, ExeDrive(folder + "\\kestrin.exe"));
    HIMAGELIST images = CreateMenuImageList();
    HICON folderIcon = ImageList_GetIcon(images, kMenuPictureFolder, ILD_NORMAL);
    std::map<std::pair<std::string, int>, HBITMAP> bitmaps;
    auto pictureOf = [&](const PictureRequest& request) -> HBITMAP {
        if (request.source == PictureRequest::Source::Folder) {
            static HBITMAP folderBitmap = IconBitmap(folderIcon);
            return folderBitmap;
        }
        if (request.source != PictureRequest::Source::File || request.path.empty()) return nullptr;
        const std::pair<std::string, int> key(request.path, request.index);
        auto found = bitmaps.find(key);
        if (found != bitmaps.end()) return found->second;
        const std::string file = IsSearchedFor(request.path) ? SearchedIconFile(request.path) : request.path;
        HICON icon = ExtractSmallIcon(file, request.index);
        HBITMAP bitmap = icon ? IconBitmap(icon) : nullptr;
        if (icon) DestroyIcon(icon);
        return bitmaps[key] = bitmap;
    };
    HMENU root = CreatePopupMenu();
    std::vector<std::pair<HMENU, const std::vector<int>*>> levels{{root, &model.topLevel}};
    for (size_t next = 0; next < levels.size(); ++next) {
        HMENU menu = levels[next].first;
        for (int index : *levels[next].second) {
            const MenuEntry& entry = model.entries[static_cast<size_t>(index)];
            if (!entry.visible) continue;
            MENUITEMINFOA item = {};
            item.cbSize = sizeof item;
            if (entry.separator) {
                item.fMask = MIIM_FTYPE;
                item.fType = MFT_SEPARATOR;
            } else {
                item.fMask = MIIM_STRING | MIIM_ID | MIIM_BITMAP;
                item.dwTypeData = const_cast<char*>(entry.caption.c_str());
                item.wID = static_cast<UINT>(index + 1);
                item.hbmpItem = pictureOf(entry.picture);
                if (OpensSubmenu(entry)) {
                    item.fMask |= MIIM_SUBMENU;
                    item.hSubMenu = CreatePopupMenu();
                    levels.push_back({item.hSubMenu, &entry.children});
                }
            }
            InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &item);
        }
    }
    static HMENU shown = root;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = [](HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg == kTrayCallbackMessage && LOWORD(lp) == WM_LBUTTONUP) {
            POINT at = {};
            GetCursorPos(&at);
            const HWND previous = GetForegroundWindow();
            SetForegroundWindow(hwnd);
            TrackMenu(shown, hwnd, at.x, at.y, true);
            SetForegroundWindow(previous);
            return 0;
        }
        if (msg == WM_CLOSE) {
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wp, lp);
    };
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kFloorClass;
    RegisterClassA(&wc);
    CreateWindowExA(0, kFloorClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

// The floor program on the folder's settings, clicked as Kestrin is, and its first showing;
// left running for the repeated showings.
bool StartFloor(const std::string& folder, Run& run, Instance& instance) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    if (!StartProcess(self, "\"" + std::string(self) + "\" --floor \"" + folder + "\"", folder, instance, run.error))
        return false;
    if (!PollUntil(kStartTimeoutMs,
                   [&] { return (instance.handler = FindProcessWindow(instance.Pid(), kFloorClass, false)) != nullptr; }) ||
        !RoundTrip(instance.handler)) {
        run.error = "no floor window within 30 s";
        return false;
    }
    return ShowMenu(instance.Pid(), instance.handler, run.first, run.error);
}

// ---- one menu measured ------------------------------------------------------------------------

// Kestrin's first and repeated showings of the menu in `folder`. With `floor`, the bare
// program runs beside it and each of Kestrin's repeated showings is followed by one of the
// bare program's, so that whatever else the machine does falls on both alike.
Run MeasureResident(const std::string& exe, const std::string& folder, int entries, bool atIcon = false,
                    Run* floor = nullptr) {
    Run run;
    run.entries = entries;
    Instance kestrin;
    Instance bare;
    bool ok = StartResident(exe, folder, atIcon, run, kestrin);
    if (floor) {
        floor->entries = entries;
        floor->ok = ok && StartFloor(folder, *floor, bare);
    }
    for (int i = 0; ok && !atIcon && i < kRepeats; ++i) {
        Settle(kestrin);
        ok = ShowAgain(kestrin, run);
        if (floor && floor->ok) {
            Settle(kestrin);
            Settle(bare);
            floor->ok = ShowAgain(bare, *floor);
        }
    }
    if (ok) ReadMemory(kestrin, run);
    run.ok = ok;
    if (floor) floor->exitedCleanly = EndProcess(bare, kFloorClass);
    run.exitedCleanly = EndProcess(kestrin, "KestrinApplication");
    return run;
}

// ---- report ---------------------------------------------------------------------------------

void Line(const std::string& key, double value) { std::printf("bench: %s %.1f\n", key.c_str(), value); }
void Line(const std::string& key, unsigned long long value) { std::printf("bench: %s %llu\n", key.c_str(), value); }

double AgainReady(const Run& run) {
    std::vector<double> v;
    for (const Showing& s : run.again) v.push_back(s.readyMs);
    return Median(v);
}

double AgainVisible(const Run& run) {
    std::vector<double> v;
    for (const Showing& s : run.again) v.push_back(s.visibleMs);
    return Median(v);
}

// The shell desktop starts with this program; its taskbar must be up before any start is timed.
bool WaitForTaskbar() {
    if (PollUntil(kStartTimeoutMs, [] {
            HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
            return tray && IsWindowVisible(tray);
        }))
        return true;
    std::fprintf(stderr, "bench: no taskbar within 30 s\n");
    return false;
}

double FastestAgain(const Run& run) {
    double fastest = -1;
    for (const Showing& s : run.again)
        if (fastest < 0 || s.readyMs < fastest) fastest = s.readyMs;
    return fastest;
}

// The 100-entry menu with 10 entries' icon files on a drive whose every look waits, beside the
// same menu with those files on a drive that answers. The benchmark's script mounts the slow
// drive as a mirror of ICON_FOLDER (on a fast drive), so both menus show the same files.
//   resident_wine.exe --slow-drive KESTRIN_EXE WORK_FOLDER ICON_FOLDER SLOW_FOLDER
int RunSlowDrive(const std::string& exe, const std::string& work, const std::string& fastIcons,
                 const std::string& slowIcons) {
    constexpr int kEntries = 100;
    constexpr int kRounds = 2;  // fast, slow, fast, slow: a drift of the machine falls on both
    CreateDirectoryA(work.c_str(), nullptr);
    for (int i = 4; i < kEntries; i += 10) {
        if (!WriteBytes(fastIcons + "\\slow" + std::to_string(i) + ".ico",
                        MakeIcoFile(0x203080u + static_cast<std::uint32_t>(i) * 0x010203u))) {
            std::fprintf(stderr, "bench: cannot write the icons in %s\n", fastIcons.c_str());
            return 1;
        }
    }
    const std::pair<const char*, std::string> variants[] = {{"fast", fastIcons}, {"slow", slowIcons}};
    std::map<std::string, Run> all;
    for (const auto& [name, icons] : variants) {
        const std::string folder = work + "\\" + name;
        CreateDirectoryA(folder.c_str(), nullptr);
        std::vector<std::string> report;
        const bool copied = CopyFileA(exe.c_str(), (folder + "\\kestrin.exe").c_str(), FALSE) != FALSE;
        const std::vector<IconSource> sources = FindIconSources(folder + "\\kestrin.exe", report);
        if (!copied || sources.empty() || !WriteMenuConfig(folder, kEntries, sources, icons)) {
            std::fprintf(stderr, "bench: cannot prepare the %s menu\n", name);
            return 1;
        }
        all[name].entries = kEntries;
    }
    for (int round = 0; round < kRounds; ++round) {
        for (const auto& [name, icons] : variants) {
            const Run run = MeasureResident(work + "\\" + name + "\\kestrin.exe", work + "\\" + name, kEntries);
            if (!run.ok) {
                std::printf("%s-drive run FAILED: %s\n", name, run.error.c_str());
                return 1;
            }
            Run& sum = all[name];
            // The first showings of every round count as the repeated ones do: fastest and median.
            sum.first.readyMs = sum.first.readyMs < 0 ? run.first.readyMs : std::min(sum.first.readyMs, run.first.readyMs);
            sum.again.insert(sum.again.end(), run.again.begin(), run.again.end());
            if (!run.exitedCleanly) std::printf("note: the %s-drive instance did not end on WM_CLOSE\n", name);
        }
    }
    const Run& fast = all["fast"];
    const Run& slow = all["slow"];
    std::printf("100 entries, 10 of their icon files on a drive whose every look waits (ms; fastest of %d starts,\n"
                "again = median and fastest of %d showings):\n", kRounds, kRounds * kRepeats);
    std::printf("%-12s %10s %10s %10s\n", "icon drive", "first", "again", "fastest");
    for (const auto& [name, run] : {std::pair<const char*, const Run*>{"answers", &fast}, {"waits", &slow}})
        std::printf("%-12s %10.1f %10.1f %10.1f\n", name, run->first.readyMs, AgainReady(*run), FastestAgain(*run));
    Line("menu.show.100.slow_drive.first.ms", slow.first.readyMs);
    Line("menu.show.100.slow_drive.again.ms", AgainReady(slow));
    Line("menu.show.100.fast_drive.first.ms", fast.first.readyMs);
    Line("menu.show.100.fast_drive.again.ms", AgainReady(fast));
    std::printf("bench: menu.show.100.slow_drive.first.ratio %.2f\n", slow.first.readyMs / fast.first.readyMs);
    std::printf("bench: menu.show.100.slow_drive.again.ratio %.2f\n", FastestAgain(slow) / FastestAgain(fast));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--floor") == 0) return RunFloor(argv[2]);
    if (argc == 6 && std::strcmp(argv[1], "--slow-drive") == 0) {
        if (!WaitForTaskbar()) return 1;
        return RunSlowDrive(argv[2], argv[3], argv[4], argv[5]);
    }
    if (argc < 4) {
        std::fprintf(stderr, "usage: resident_wine KESTRIN_EXE UNCACHED_EXE WORK_FOLDER\n");
        return 2;
    }
    const std::string exe = argv[1];
    // The same program built to show every launcher menu afresh, every icon read again.
    const std::string uncachedExe = argv[2];
    const std::string work = argv[3];
    CreateDirectoryA(work.c_str(), nullptr);

    if (!WaitForTaskbar()) return 1;

    const int sizes[] = {10, 100, 1000};
    std::vector<Run> runs;
    std::vector<Profile> profiles;
    std::vector<Run> floors;
    std::vector<std::string> sourceReport;
    size_t sourceCount = 0;
    for (int entries : sizes) {
        const std::string folder = work + "\\menu" + std::to_string(entries);
        CreateDirectoryA(folder.c_str(), nullptr);
        const std::string copy = folder + "\\kestrin.exe";
        if (!CopyFileA(exe.c_str(), copy.c_str(), FALSE)) {
            std::fprintf(stderr, "bench: cannot copy %s to %s\n", exe.c_str(), copy.c_str());
            return 1;
        }
        sourceReport.clear();
        const std::vector<IconSource> sources = FindIconSources(copy, sourceReport);
        sourceCount = sources.size();
        if (sources.empty() || !WriteMenuConfig(folder, entries, sources)) {
            std::fprintf(stderr, "bench: cannot prepare the %d-entry menu\n", entries);
            return 1;
        }
        // The larger menus beside the bare program showing the same menu.
        Run floor;
        const bool withFloor = entries >= 100;
        runs.push_back(MeasureResident(copy, folder, entries, false, withFloor ? &floor : nullptr));
        if (withFloor) floors.push_back(floor);
        profiles.push_back(ProfileBuild(folder));
    }
    // The largest menu once more, every showing built afresh, for comparison.
    // In a folder of its own, named kestrin.exe beside a copy of the same settings file.
    const std::string uncachedFolder = work + "\\menu1000-uncached";
    CreateDirectoryA(uncachedFolder.c_str(), nullptr);
    if (!CopyFileA(uncachedExe.c_str(), (uncachedFolder + "\\kestrin.exe").c_str(), FALSE) ||
        !CopyFileA((work + "\\menu1000\\kestrin.ini").c_str(), (uncachedFolder + "\\kestrin.ini").c_str(), FALSE)) {
        std::fprintf(stderr, "bench: cannot prepare the uncached run\n");
        return 1;
    }
    const Run uncached = MeasureResident(uncachedFolder + "\\kestrin.exe", uncachedFolder, 1000);
    // Clicked the moment the icon appears, from a few fresh starts.
    std::vector<double> atIconMs;
    std::string atIconError;
    for (int i = 0; i < kAtIconStarts; ++i) {
        const Run run = MeasureResident(work + "\\menu1000\\kestrin.exe", work + "\\menu1000", 1000, true);
        if (run.ok)
            atIconMs.push_back(run.first.readyMs);
        else
            atIconError = run.error;
    }

    std::printf("Icon sources (file, icons held): ");
    for (const std::string& s : sourceReport) std::printf("%s; ", s.c_str());
    std::printf("\n%zu distinct program/library icons cycled through.\n\n", sourceCount);

    std::printf("Resident program under Wine, click posted to the tray icon's window; ms unless noted\n");
    std::printf(
        "(visible = menu window shown, drawn = its thread back in the menu loop; again = median of %d;\n"
        " private B = PrivateUsage, or where that is 0 the committed private regions walked)\n\n",
        kRepeats);
    std::printf("%8s %10s %10s %11s %10s %11s %10s %12s %12s %12s\n", "entries", "to icon", "to ready", "1st visible",
                "1st drawn", "again vis.", "again drw.", "private B", "working B", "PrivateUsage");
    bool allOk = true;
    for (const Run& run : runs) {
        if (!run.ok) {
            std::printf("%8d  FAILED: %s\n", run.entries, run.error.c_str());
            allOk = false;
            continue;
        }
        std::printf("%8d %10.1f %10.1f %11.1f %10.1f %11.1f %10.1f %12llu %12llu %12llu\n", run.entries,
                    run.startToIconMs, run.startToReadyMs, run.first.visibleMs, run.first.readyMs, AgainVisible(run),
                    AgainReady(run), static_cast<unsigned long long>(run.PrivateBytes()),
                    static_cast<unsigned long long>(run.workingSet), static_cast<unsigned long long>(run.privateUsage));
    }
    std::printf(
        "\nWhere a repeated showing goes, the same steps in this process (median of %d); \"bg icons\" is\n"
        "every icon read by the background workers from a cleared loader until idle, which the\n"
        "showing does not wait for and the sum leaves out:\n\n",
        kRepeats);
    std::printf("%8s %10s %10s %10s %10s %10s %12s %10s\n", "entries", "model", "items", "track", "sum", "bg icons",
                "extractions", "pictures");
    for (size_t i = 0; i < profiles.size(); ++i) {
        const Profile& p = profiles[i];
        std::printf("%8d %10.1f %10.1f %10.1f %10.1f %10.1f %12d %10d\n", runs[i].entries, p.modelMs, p.itemsMs,
                    p.trackMs, p.modelMs + p.itemsMs + p.trackMs, p.picturesMs, p.extractions, p.pictures);
    }
    std::printf("\nOne icon extraction by file kind (count, median ms), and all icons of a file in one call:\n");
    for (size_t i = 0; i < profiles.size(); ++i) {
        std::printf("%8d:", runs[i].entries);
        for (const auto& [kind, stat] : profiles[i].perKind)
            std::printf("  %s %d x %.2f", kind.c_str(), stat.first, stat.second);
        std::printf("  | batched %.2f per icon\n", profiles[i].batchPerIconMs);
    }
    std::printf("\nEvery showing, drawn (ms): ");
    for (const Run& run : runs) {
        std::printf("%d entries %.1f", run.entries, run.first.readyMs);
        for (const Showing& s : run.again) std::printf(" %.1f", s.readyMs);
        std::printf("; ");
    }
    std::printf("\nMenu windows (first showing): ");
    for (const Run& run : runs)
        std::printf("%d entries %ldx%ld; ", run.entries, run.first.rect.right - run.first.rect.left,
                    run.first.rect.bottom - run.first.rect.top);
    std::printf("\n\n");

    if (uncached.ok) {
        Line("menu.show.1000.first.uncached.ms", uncached.first.readyMs);
        Line("menu.show.1000.again.uncached.ms", AgainReady(uncached));
    } else {
        std::printf("uncached 1000-entry run FAILED: %s\n", uncached.error.c_str());
        allOk = false;
    }
    if (atIconError.empty()) {
        // Ratios of the fastest figures: what is compared is the showing, not what else the
        // machine did meanwhile.
        const double fastestAtIcon = *std::min_element(atIconMs.begin(), atIconMs.end());
        Line("menu.show.1000.first_at_icon.ms", Median(atIconMs));
        Line("menu.show.1000.first_at_icon.fastest.ms", fastestAtIcon);
        for (const Run& run : runs)
            if (run.entries == 1000 && run.ok)
                std::printf("bench: menu.show.1000.first_at_icon.ratio %.2f\n", fastestAtIcon / FastestAgain(run));
    } else {
        std::printf("1000-entry run clicked at the icon FAILED: %s\n", atIconError.c_str());
        allOk = false;
    }
    for (size_t i = 0; i < runs.size(); ++i) {
        const Run& run = runs[i];
        if (!run.ok) continue;
        const std::string n = std::to_string(run.entries);
        Line("menu.show." + n + ".first.ms", run.first.readyMs);
        Line("menu.show." + n + ".again.ms", AgainReady(run));
        Line("menu.visible." + n + ".first.ms", run.first.visibleMs);
        Line("menu.visible." + n + ".again.ms", AgainVisible(run));
        Line("start.to_icon." + n + ".ms", run.startToIconMs);
        Line("memory." + n + ".private.bytes", static_cast<unsigned long long>(run.PrivateBytes()));
        Line("memory." + n + ".working_set.bytes", static_cast<unsigned long long>(run.workingSet));
        Line("memory." + n + ".private_usage.bytes", static_cast<unsigned long long>(run.privateUsage));
        const Profile& p = profiles[i];
        Line("profile." + n + ".model.ms", p.modelMs);
        Line("profile." + n + ".pictures.ms", p.picturesMs);
        Line("profile." + n + ".items.ms", p.itemsMs);
        Line("profile." + n + ".track.ms", p.trackMs);
        Line("profile." + n + ".reuse_check.ms", p.reuseCheckMs);
        for (const auto& [kind, stat] : p.perKind) {
            std::string key = kind == "no icon" ? "none" : kind;
            Line("profile." + n + ".extract." + key + ".ms", stat.second);
        }
        Line("profile." + n + ".extract.batched_per_icon.ms", p.batchPerIconMs);
    }
    // Each repeated showing beside the same menu shown by a bare program.
    for (const Run& floor : floors) {
        const std::string n = std::to_string(floor.entries);
        if (!floor.ok) {
            std::printf("floor run of %d entries FAILED: %s\n", floor.entries, floor.error.c_str());
            allOk = false;
            continue;
        }
        Line("floor.menu.show." + n + ".again.ms", AgainReady(floor));
        Line("floor.menu.show." + n + ".again.fastest.ms", FastestAgain(floor));
        for (const Run& run : runs) {
            if (run.entries != floor.entries || !run.ok) continue;
            Line("menu.show." + n + ".again.fastest.ms", FastestAgain(run));
            std::printf("bench: menu.show.%s.again.ratio %.2f\n", n.c_str(), FastestAgain(run) / FastestAgain(floor));
        }
    }
    // The headline figures are those of the 100-entry menu, the size the targets speak of.
    for (const Run& run : runs) {
        if (run.entries != 100 || !run.ok) continue;
        Line("start.to_icon.ms", run.startToIconMs);
        Line("memory.private.bytes", static_cast<unsigned long long>(run.PrivateBytes()));
        Line("memory.working_set.bytes", static_cast<unsigned long long>(run.workingSet));
    }
    for (const Run& run : runs)
        if (!run.exitedCleanly) std::printf("note: the %d-entry instance did not end on WM_CLOSE\n", run.entries);
    return allOk ? 0 : 1;
}
