// Times the seven editing operations on 5,000-node trees shown in a real tree view: the
// settings window's controls built from their table, the item form presenter, and the
// adapter that carries each operation's steps into TreeView1, repaint included. Shapes as in
// the native benchmark (flat, 50 menus of 100, a 5,000-deep chain), every node expanded so
// that every item is laid out. Prints the slowest call per operation and shape, then the
// slowest of all as the headline.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>

#include "bench/bench_support.h"
#include "settings/item_form.h"
#include "settings/settings_host.h"
#include "settings/settings_window_win32.h"

using namespace kestrin;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kNodes = 5000;
constexpr int kCallsPerOp = 20;

// The window asks for nothing while the bench edits the tree.
class NoHost final : public SettingsHost {
public:
    void ReleaseHotkey() override {}
    bool AutostartIsOn() override { return false; }
    void ApplyAutostart(const AutostartPlan&) override {}
    void SaveItems(std::uint16_t) override {}
    void LoadItems() override {}
    void ImportItemSet(const std::string&) override {}
};

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

double Ms(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

}  // namespace

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_TREEVIEW_CLASSES | ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&icc);
    ItemStore store;
    Tree tree;
    NoHost host;
    SettingsWindow window(nullptr, store, tree, host);
    ItemForm& itemForm = window.Presenter();
    const HWND form = window.Handle();
    ShowWindow(form, SW_SHOW);
    Pump();
    if (argc > 1 && std::string(argv[1]) == "--no-freeze") window.TreeView().freezeRedraw = false;
    HWND treeView = window.TreeView().Handle();

    const char* shapes[] = {"flat", "menus", "chain"};
    const char* opNames[] = {"up", "down", "right", "left", "new", "duplicate", "delete"};
    std::mt19937 rng(7);
    double slowest = 0;
    double slowestFill = 0;
    std::printf("%-10s", "op \\ ms");
    for (const char* shape : shapes) std::printf("%12s", shape);
    std::printf("\n");
    for (int op = 0; op < 7; ++op) {
        std::printf("%-10s", opNames[op]);
        for (const char* shape : shapes) {
            double worst = 0;
            for (int call = 0; call < kCallsPerOp; ++call) {
                if (call % 10 == 0) {
                    BuildBenchTree(shape, kNodes, tree, store.items);
                    const auto fillStart = Clock::now();
                    window.TreeView().Fill(tree);
                    itemForm.TreeRebuilt();
                    UpdateWindow(treeView);
                    slowestFill = std::max(slowestFill, Ms(fillStart));
                }
                std::vector<NodeId> all = tree.PreOrder();
                NodeId target = call % 2 ? all.back() : all[rng() % all.size()];
                // The largest subtrees: the first node, its first child, and for the moves
                // the second node in tree order.
                if (call % 4 == 1) target = tree.FirstRoot();
                if (call % 4 == 3 && all.size() > 1) target = all[1];
                window.TreeView().Apply(tree, {{TreeStep::Kind::Select, target}});
                itemForm.OnSelectionChanged(target);
                Pump();
                const auto start = Clock::now();
                switch (op) {
                case 0: itemForm.OnMoveUp(); break;
                case 1: itemForm.OnMoveDown(); break;
                case 2: itemForm.OnMoveIntoSubmenu(); break;
                case 3: itemForm.OnMoveOutOfSubmenu(); break;
                case 4: itemForm.OnNew(); break;
                case 5: itemForm.OnDuplicate(); break;
                case 6: itemForm.OnDelete(); break;
                }
                UpdateWindow(form);
                worst = std::max(worst, Ms(start));
                Pump();
            }
            slowest = std::max(slowest, worst);
            std::printf("%12.3f", worst);
            std::fflush(stdout);
        }
        std::printf("\n");
    }
    std::printf("fill (not an edit): %.3f ms\n", slowestFill);
    std::printf("bench: tree.op.5000.treeview.ms %.3f\n", slowest);
    return 0;
}
