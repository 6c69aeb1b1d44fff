// Load and save of configurations of 100, 1,000 and 10,000 items: Kestrin's engine (one read,
// one atomic write) beside the per-key private-profile approach, in the same run.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/config.h"
#include "core/file_system.h"
#include "core/ini.h"
#include "core/outline.h"
#include "tests/wine/profile_items.h"

using namespace kestrin;

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

// A realistic set: submenus of a dozen entries, some nested, separators between groups.
void MakeConfig(int count, ItemStore& store, Tree& tree) {
    const char* apps[] = {"Editor", "Terminal", "Browser", "Mail", "Calculator", "Paint", "Notes", "Archive"};
    NodeId menu = kNoNode;
    NodeId sub = kNoNode;
    for (int i = 0; i < count; ++i) {
        Item item;
        std::string title;
        const char* app = apps[i % 8];
        if (i % 40 == 0) {
            item.kind = kKindSubmenu;
            item.iconFile = "%usb%\\Icons\\folders.dll";
            item.iconIndex = static_cast<std::uint8_t>(i % 12);
            title = "Group " + std::to_string(i / 40);
            menu = tree.AddRoot(title, store.items.Append(item));
            sub = kNoNode;
            continue;
        }
        if (i % 40 == 20) {
            item.kind = kKindSubmenu;
            title = "More tools " + std::to_string(i);
            sub = tree.AddChild(menu, title, store.items.Append(item));
            continue;
        }
        if (i % 13 == 0) {
            item.kind = kKindSeparator;
            title = "-";
        } else {
            item.command = std::string("%usb%\\PortableApps\\") + app + "\\" + app + "Portable.exe";
            item.parameters = i % 3 ? "" : "|C:\\Users\\Public\\Documents\\Project " + std::to_string(i) + ".txt|";
            item.directory = i % 5 ? "" : std::string("%usb%\\Data\\") + app;
            item.showState = static_cast<std::uint8_t>(i % 3);
            item.iconFile = i % 4 ? item.command : "C:\\Windows\\System32\\shell32.dll";
            item.iconIndex = static_cast<std::uint8_t>(i % 40);
            title = std::string(app) + " " + std::to_string(i) + " (&" + static_cast<char>('A' + i % 26) + ")";
        }
        const int slot = store.items.Append(item);
        tree.AddChild(sub != kNoNode ? sub : menu, title, slot);
    }
}

// The per-key approach rewrites the whole file at every write, so its time grows with the
// square of the item count; past this budget a run stops and its time is a lower bound.
Clock::time_point gDeadline;
bool gStopped = false;
int gDone = 0, gTotal = 0;

bool OverBudget() {
    if (Clock::now() < gDeadline) return false;
    gStopped = true;
    return true;
}

// The per-key approach: one profile call for every key, as a plain Win32 program would.
void ProfileSave(const std::string& path, const ItemStore& store, const Tree& tree, int hotkey) {
    DeleteFileA(path.c_str());
    gTotal = tree.Count();
    WriteProfileItems(path.c_str(), store, tree, hotkey, [](size_t) {
        if (OverBudget()) return false;
        ++gDone;  // the entry asked for is written in full
        return true;
    });
}

std::string ProfileText(const char* path, const char* section, const char* key, const char* fallback) {
    char buffer[2048];
    GetPrivateProfileStringA(section, key, fallback, buffer, sizeof buffer, path);
    return buffer;
}

int ProfileInt(const char* path, const char* section, const char* key, int fallback) {
    return ParseIniInteger(ProfileText(path, section, key, ""), fallback);
}

void ProfileLoad(const std::string& path, ItemStore& store, Tree& tree) {
    const char* p = path.c_str();
    store.items.Clear();
    const int count = ProfileInt(p, "Dat", "Cnt", -1);
    ProfileInt(p, "Dat", "Key", 0);
    store.outline.clear();
    store.items.SetCount(std::max(count, 0));
    std::string text;
    gTotal = count;
    for (int i = 0; i < count; ++i, ++gDone) {
        if (OverBudget()) return;
        const std::string section = std::to_string(i);
        const char* s = section.c_str();
        Item& item = store.items.At(i);
        store.outline.push_back(DecodeTitle(ProfileText(p, s, "Tit", "New Item")));
        item.kind = LowByte(ProfileInt(p, s, "Art", 0));
        item.command = ProfileText(p, s, "Prg", "");
        item.parameters = ProfileText(p, s, "Par", "");
        item.directory = ProfileText(p, s, "Dir", "");
        item.showState = LowByte(ProfileInt(p, s, "Win", 0));
        item.iconFile = ProfileText(p, s, "Ico", "");
        item.iconIndex = LowByte(ProfileInt(p, s, "Idx", 0));
        text += store.outline.back() + "\r\n";
    }
    ReadOutlineText(text, tree);
    int slot = 0;
    for (NodeId id = tree.FirstRoot(); id != kNoNode; id = tree.NextPreOrder(id)) tree.SetSlot(id, slot++);
}

struct Row {
    int items;
    const char* engine;
    double loadMs, saveMs;
    bool loadCut = false, saveCut = false;
};

std::string Figure(double ms, bool cut) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%.2f", cut ? ">=" : "", ms);
    return text;
}

}  // namespace

// The committed private memory of this process, walked region by region (the platform's
// counters may stay 0 under Wine).
SIZE_T CommittedPrivate() {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION info;
    char* address = nullptr;
    while (VirtualQuery(address, &info, sizeof info) == sizeof info) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
        char* next = static_cast<char*>(info.BaseAddress) + info.RegionSize;
        if (next <= address) break;
        address = next;
    }
    return total;
}

struct PeakLoad {
    unsigned long long fileBytes = 0;
    unsigned long long peakBytes = 0;  // above what the process held before the load
    double loadMs = 0;
    bool ok = false;
};

// A ConfigFile of about 50 MB (100,000 items, the most a file may hold, with long fields),
// loaded while another thread samples the process's memory.
PeakLoad MeasurePeakLoad(const std::string& path) {
    PeakLoad result;
    {
        std::string text = "[Dat]\r\nKey=57382\r\nCnt=100000\r\n";
        text.reserve(52u << 20);
        const std::string longField(230, 'x');
        for (int i = 0; i < 100000; ++i) {
            const std::string n = std::to_string(i);
            text += "[" + n + "]\r\nTit=" + (i % 10 ? "#|" : "") + "Item " + n + "\r\nArt=0\r\nPrg=C:\\Tools\\" +
                    longField + n + ".exe\r\nPar=" + longField + "\r\nDir=\r\nWin=0\r\nIco=\r\nIdx=0\r\n";
        }
        result.fileBytes = text.size();
        if (!Win32FileSystem().ReplaceAtomically(path, text)) return result;
    }
    const SIZE_T before = CommittedPrivate();
    struct Sampler {
        volatile bool stop = false;
        SIZE_T peak = 0;
    } sampler;
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](void* param) -> DWORD {
            auto* s = static_cast<Sampler*>(param);
            while (!s->stop) {
                s->peak = std::max(s->peak, CommittedPrivate());
                Sleep(1);
            }
            return 0;
        },
        &sampler, 0, nullptr);
    {
        ItemStore store;
        Tree tree;
        const auto start = Clock::now();
        LoadItems(Win32FileSystem(), path, store, tree, [](int) {});
        result.loadMs = Ms(start);
        result.ok = store.items.Count() == 100000 && tree.Count() == 100000;
        sampler.peak = std::max(sampler.peak, CommittedPrivate());
    }
    sampler.stop = true;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    result.peakBytes = sampler.peak > before ? sampler.peak - before : 0;
    DeleteFileA(path.c_str());
    return result;
}

int main() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string dir = std::string(temp) + "kestrin-bench-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    const char* limitText = std::getenv("KESTRIN_BENCH_PROFILE_MAX");
    const int profileMax = limitText ? std::atoi(limitText) : 10000;
    const char* budgetText = std::getenv("KESTRIN_BENCH_PROFILE_BUDGET_S");
    const int budgetSeconds = budgetText ? std::atoi(budgetText) : 60;
    std::vector<std::string> notes;
    auto startBudget = [&]() {
        gDeadline = Clock::now() + std::chrono::seconds(budgetSeconds);
        gStopped = false;
        gDone = gTotal = 0;
    };
    auto noteCut = [&](int count, const char* what) {
        if (!gStopped) return false;
        notes.push_back("bench-note: config." + std::string(what) + "." + std::to_string(count) +
                        ".profile stopped after " + std::to_string(budgetSeconds) + " s with " + std::to_string(gDone) +
                        " of " + std::to_string(gTotal) + " items done; its figure is a lower bound");
        return true;
    };

    std::vector<Row> rows;
    bool ok = true;
    for (int count : {100, 1000, 10000}) {
        ItemStore store;
        Tree tree;
        MakeConfig(count, store, tree);
        const std::string ours = dir + "kestrin" + std::to_string(count) + ".ini";
        const std::string theirs = dir + "profile" + std::to_string(count) + ".ini";

        // Best of three: the first run also pays for the cold cache.
        Row kestrin{count, "kestrin", 1e9, 1e9};
        for (int run = 0; run < 3; ++run) {
            auto start = Clock::now();
            SaveItems(Win32FileSystem(), ours, store, tree, 0x6026);
            kestrin.saveMs = std::min(kestrin.saveMs, Ms(start));
            ItemStore loaded;
            Tree loadedTree;
            start = Clock::now();
            LoadItems(Win32FileSystem(), ours, loaded, loadedTree, [](int) {});
            kestrin.loadMs = std::min(kestrin.loadMs, Ms(start));
            if (loaded.items.Count() != count || loadedTree.Count() != count) ok = false;
        }
        rows.push_back(kestrin);

        if (count <= profileMax) {
            Row profile{count, "profile", 0, 0};
            startBudget();
            auto start = Clock::now();
            ProfileSave(theirs, store, tree, 0x6026);
            profile.saveMs = Ms(start);
            profile.saveCut = noteCut(count, "save");
            // A cut save leaves a partial file: load the complete one Kestrin wrote instead.
            const std::string& loadPath = profile.saveCut ? ours : theirs;
            SaveItems(Win32FileSystem(), ours, store, tree, 0x6026);
            ItemStore loaded;
            Tree loadedTree;
            startBudget();
            start = Clock::now();
            ProfileLoad(loadPath, loaded, loadedTree);
            profile.loadMs = Ms(start);
            profile.loadCut = noteCut(count, "load");
            if (!profile.loadCut && loaded.items.Count() != count) ok = false;
            rows.push_back(profile);
        }
        DeleteFileA(ours.c_str());
        DeleteFileA(theirs.c_str());
    }
    const PeakLoad peak = MeasurePeakLoad(dir + "kestrin50mb.ini");
    if (!peak.ok) ok = false;
    RemoveDirectoryA(dir.c_str());

    std::printf("%8s  %-8s %12s %12s %10s %10s\n", "items", "engine", "load ms", "save ms", "load ratio", "save ratio");
    for (const Row& row : rows) {
        const Row* base = nullptr;
        for (const Row& other : rows)
            if (other.items == row.items && std::string(other.engine) == "kestrin") base = &other;
        std::printf("%8d  %-8s %12s %12s %10s %10s\n", row.items, row.engine, Figure(row.loadMs, row.loadCut).c_str(),
                    Figure(row.saveMs, row.saveCut).c_str(), Figure(row.loadMs / base->loadMs, row.loadCut).c_str(),
                    Figure(row.saveMs / base->saveMs, row.saveCut).c_str());
    }
    for (const Row& row : rows) {
        std::printf("bench: config.load.%d.%s.ms %.3f\n", row.items, row.engine, row.loadMs);
        std::printf("bench: config.save.%d.%s.ms %.3f\n", row.items, row.engine, row.saveMs);
    }
    std::printf(
        "\nLoading a %.1f MB ConfigFile (100,000 items): %.0f ms, peak %.1f MB above the process before (%.2fx the "
        "file)\n",
        peak.fileBytes / 1048576.0, peak.loadMs, peak.peakBytes / 1048576.0,
        peak.fileBytes ? static_cast<double>(peak.peakBytes) / peak.fileBytes : 0.0);
    std::printf("bench: memory.load.50mb.file.bytes %llu\n", peak.fileBytes);
    std::printf("bench: memory.load.50mb.peak.bytes %llu\n", peak.peakBytes);
    std::printf("bench: config.load.50mb.ms %.1f\n", peak.loadMs);
    for (const std::string& note : notes) std::printf("%s\n", note.c_str());
    if (!ok) std::printf("bench: config round trip lost items\n");
    return ok ? 0 : 1;
}
