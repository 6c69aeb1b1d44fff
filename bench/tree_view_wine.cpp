// Times the settings tree in a real tree view: the seven editing operations on 5,000-node
// trees, and filling the tree as opening the settings window does. The settings window's
// controls are built from their table, with the item form presenter and the adapter that
// carries each operation's steps into TreeView1, repaint included. Shapes as in the native
// benchmark (flat, 50 menus of 100, a 5,000-deep chain).
//
// Edits start from a tree whose every node is expanded, so that every item is laid out. Each
// operation is timed on the first node, the second node in tree order (the largest subtrees),
// the last node and two random ones; each such case runs on a freshly filled tree several
// times and keeps its fastest run, so that what is measured is the operation and not whatever
// else the machine did meanwhile. The table shows the slowest case per operation and shape.
// The fill is SettingsWindow::StateReloaded() (the tree view's Fill and the presenter's
// rebuild) of a tree as a load leaves it (every node closed), the presenter's OpenTree() and
// a repaint, also the fastest of several runs.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iterator>
#include <random>
#include <string>

#include "bench/bench_support.h"
#include "bench/tree_ops.h"
#include "settings/item_form.h"
#include "settings/settings_host.h"
#include "settings/settings_window_win32.h"

using namespace kestrin;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kNodes = 5000;
constexpr int kRuns = 5;  // per case; the fastest counts

const char* const kShapes[] = {"flat", "menus", "chain"};
const char* const kTargets[] = {"first", "second", "last", "random", "random"};

// The window asks for nothing while the bench edits the tree.
class NoHost final : public SettingsHost {
public:
    ProgramState& State() override { return state; }
    const std::string& ConfigPath() const override { return path; }
    void ReleaseHotkey() override {}
    bool AutostartIsOn() override { return false; }
    void ApplyAutostart(const AutostartPlan&) override {}
    void SaveState() override {}
    void ReloadState() override {}

    ProgramState state;
    std::string path;
};

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

double Ms(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

struct Worst {
    double ms = 0;
    const char* op = "";
    const char* target = "";
    int subtree = 0;
};

}  // namespace

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_TREEVIEW_CLASSES | ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&icc);
    NoHost host;
    ItemStore& store = host.state.store;
    Tree& tree = host.state.tree;
    SettingsWindow window(nullptr, host);
    ItemForm& itemForm = window.Presenter();
    const HWND form = window.Handle();
    ShowWindow(form, SW_SHOW);
    Pump();
    if (argc > 1 && std::string(argv[1]) == "--no-freeze") window.TreeView().freezeRedraw = false;
    const HWND treeView = window.TreeView().Handle();

    std::mt19937 rng(7);
    double table[std::size(kTreeOps)][std::size(kShapes)] = {};
    double fill[std::size(kShapes)] = {};
    Worst worst[std::size(kShapes)];
    for (size_t shape = 0; shape < std::size(kShapes); ++shape) {
        fill[shape] = 1e9;
        for (int run = 0; run < kRuns; ++run) {
            BuildBenchTree(kShapes[shape], kNodes, tree, store.items, /*open=*/false);
            Pump();
            const auto start = Clock::now();
            window.StateReloaded();
            itemForm.OpenTree();
            UpdateWindow(form);
            fill[shape] = std::min(fill[shape], Ms(start));
            Pump();
        }
        for (size_t op = 0; op < std::size(kTreeOps); ++op) {
            for (const char* target : kTargets) {
                const unsigned pick = rng();
                double fastest = 1e9;
                int subtree = 0;
                for (int run = 0; run < kRuns; ++run) {
                    BuildBenchTree(kShapes[shape], kNodes, tree, store.items);
                    window.TreeView().Fill(tree);
                    itemForm.TreeRebuilt();
                    UpdateWindow(treeView);
                    const std::vector<NodeId> all = tree.PreOrder();
                    const std::string kind = target;
                    const NodeId node = kind == "first"    ? all.front()
                                        : kind == "second" ? all[1]
                                        : kind == "last"   ? all.back()
                                                           : all[pick % all.size()];
                    subtree = 0;
                    const NodeId end = tree.NextAfterSubtree(node);
                    for (NodeId n = node; n != end; n = tree.NextPreOrder(n)) ++subtree;
                    window.TreeView().Apply(tree, {{TreeStep::Kind::Select, node}});
                    itemForm.OnSelectionChanged(node);
                    Pump();
                    UpdateWindow(form);
                    const auto start = Clock::now();
                    RunTreeOp(itemForm, static_cast<int>(op));
                    UpdateWindow(form);
                    fastest = std::min(fastest, Ms(start));
                    Pump();
                }
                table[op][shape] = std::max(table[op][shape], fastest);
                if (fastest > worst[shape].ms) worst[shape] = {fastest, kTreeOps[op], target, subtree};
            }
        }
    }

    std::printf("%-10s", "op \\ ms");
    for (const char* shape : kShapes) std::printf("%12s", shape);
    std::printf("\n");
    for (size_t op = 0; op < std::size(kTreeOps); ++op) {
        std::printf("%-10s", kTreeOps[op]);
        for (size_t shape = 0; shape < std::size(kShapes); ++shape) std::printf("%12.3f", table[op][shape]);
        std::printf("\n");
    }
    std::printf("%-10s", "fill");
    for (size_t shape = 0; shape < std::size(kShapes); ++shape) std::printf("%12.3f", fill[shape]);
    std::printf("\n");
    for (size_t shape = 0; shape < std::size(kShapes); ++shape)
        std::printf("slowest %s edit: %s on the %s node, whose subtree holds %d nodes\n", kShapes[shape],
                    worst[shape].op, worst[shape].target, worst[shape].subtree);

    double slowest = 0;
    double slowestFill = 0;
    for (size_t shape = 0; shape < std::size(kShapes); ++shape) {
        slowest = std::max(slowest, worst[shape].ms);
        slowestFill = std::max(slowestFill, fill[shape]);
    }
    std::printf("bench: tree.fill.5000.treeview.ms %.3f\n", slowestFill);
    for (size_t shape = 0; shape < std::size(kShapes); ++shape)
        std::printf("bench: tree.op.5000.treeview.%s.ms %.3f\n", kShapes[shape], worst[shape].ms);
    std::printf("bench: tree.op.5000.treeview.ms %.3f\n", slowest);
    return 0;
}
