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

#include "app/form_builder_win32.h"
#include "app/form_layout.h"
#include "bench/bench_support.h"
#include "settings/item_form.h"
#include "settings/settings_window_win32.h"

using namespace kestrin;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kNodes = 5000;
constexpr int kCallsPerOp = 20;

SettingsWindow* gWindow = nullptr;

LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (gWindow) {
        if (msg == WM_COMMAND && gWindow->Command(reinterpret_cast<HWND>(lp), HIWORD(wp))) return 0;
        if (msg == WM_NOTIFY && gWindow->Notify(*reinterpret_cast<const NMHDR*>(lp))) return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

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
    WNDCLASSA wc = {};
    wc.lpfnWndProc = FormProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "TreeViewBench";
    RegisterClassA(&wc);
    HWND form = CreateWindowExA(FormExStyle(kForm1), wc.lpszClassName, "tree view bench", FormStyle(kForm1), 0, 0,
                                kForm1.clientWidth, kForm1.clientHeight, nullptr, nullptr, wc.hInstance, nullptr);
    if (!form) {
        std::printf("bench: tree view window could not be created\n");
        return 1;
    }
    PlaceForm(form, kForm1);
    HFONT font = CreateFormFont(kForm1);
    BuiltForm controls = BuildForm(form, kForm1, font);
    ShowWindow(form, SW_SHOW);
    Pump();

    ItemStore store;
    Tree tree;
    SettingsWindow window([&](const char* name) { return controls.Get(name); }, tree);
    ItemForm itemForm(store, tree, window);
    window.Attach(&itemForm);
    gWindow = &window;
    if (argc > 1 && std::string(argv[1]) == "--no-freeze") window.TreeView().freezeRedraw = false;
    HWND treeView = controls.Get("TreeView1");

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
                itemForm.TreeView1Change(target);
                Pump();
                const auto start = Clock::now();
                switch (op) {
                case 0: itemForm.BitBtn3Click(); break;
                case 1: itemForm.BitBtn4Click(); break;
                case 2: itemForm.BitBtn6Click(); break;
                case 3: itemForm.BitBtn7Click(); break;
                case 4: itemForm.Button1Click(); break;
                case 5: itemForm.Button9Click(); break;
                case 6: itemForm.Button2Click(); break;
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
    gWindow = nullptr;
    window.TreeView().Clear();
    DestroyWindow(form);
    DeleteObject(font);
    return 0;
}
