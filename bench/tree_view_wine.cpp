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
//
// Beside each figure stands the platform's floor: a bare tree view (same styles, size and
// font as TreeView1, in a plain window of its own) holding the same items, open as Kestrin's
// are, that makes the same one-node edit with nothing but tree-view messages. What that edit
// is comes from Kestrin's model before and after its run, so the floor follows whatever
// Kestrin did without repeating its rules: a moved node is deleted and its subtree inserted
// at its new place, a new node inserted, a deleted node deleted, then the resulting node
// selected, all under WM_SETREDRAW and ending in a repaint. The floor's runs alternate with
// Kestrin's, so load on the machine falls on both alike, and each takes its fastest run too.
// Its fill puts the same closed tree into an emptied bare tree view, selects the first node
// and repaints. The ratios are Kestrin's over the floor of the same case.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iterator>
#include <random>
#include <string>
#include <vector>

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

// The bare tree view of the floor: items carry what TreeViewAdapter::Insert gives them
// (title, NodeId, open state), keyed by NodeId here.
class BareTree {
public:
    // Styles, size and font are Kestrin's tree view's; the window stands at (x, y).
    bool Create(HWND model, int x, int y) {
        WNDCLASSA cls = {};
        cls.lpfnWndProc = DefWindowProcA;
        cls.hInstance = GetModuleHandleA(nullptr);
        cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
        cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        cls.lpszClassName = "KestrinBareTree";
        if (!RegisterClassA(&cls)) return false;
        RECT size;
        GetWindowRect(model, &size);
        const int width = size.right - size.left, height = size.bottom - size.top;
        const DWORD frame = WS_OVERLAPPED | WS_CAPTION;
        RECT outer = {0, 0, width, height};
        AdjustWindowRectEx(&outer, frame, FALSE, 0);
        window_ = CreateWindowExA(0, cls.lpszClassName, "bare tree view", frame, x, y, outer.right - outer.left,
                                  outer.bottom - outer.top, nullptr, nullptr, cls.hInstance, nullptr);
        if (!window_) return false;
        // The scroll bars are the control's state of the moment, not a style it was made with.
        const DWORD style = static_cast<DWORD>(GetWindowLongA(model, GWL_STYLE)) & ~(WS_HSCROLL | WS_VSCROLL);
        const DWORD exStyle = static_cast<DWORD>(GetWindowLongA(model, GWL_EXSTYLE));
        control_ = CreateWindowExA(exStyle, WC_TREEVIEWA, "", style, 0, 0, width, height, window_, nullptr,
                                   cls.hInstance, nullptr);
        if (!control_) return false;
        SendMessageA(control_, WM_SETFONT, SendMessageA(model, WM_GETFONT, 0, 0), FALSE);
        // Kestrin's window keeps the activation, as it has it in its own runs.
        ShowWindow(window_, SW_SHOWNOACTIVATE);
        return true;
    }
    HWND Window() const { return window_; }
    HWND Control() const { return control_; }

    HTREEITEM ItemOf(NodeId id) const {
        return id >= 0 && static_cast<size_t>(id) < items_.size() ? items_[static_cast<size_t>(id)] : nullptr;
    }
    NodeId NodeOf(HTREEITEM item) const {
        if (!item) return kNoNode;
        TVITEMA data = {};
        data.mask = TVIF_PARAM;
        data.hItem = item;
        SendMessageA(control_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
        return static_cast<NodeId>(data.lParam);
    }
    HTREEITEM Next(HTREEITEM item, UINT how) const {
        return reinterpret_cast<HTREEITEM>(
            SendMessageA(control_, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
    }
    bool IsOpen(HTREEITEM item) const {
        return SendMessageA(control_, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) & TVIS_EXPANDED;
    }
    int Count() const { return static_cast<int>(SendMessageA(control_, TVM_GETCOUNT, 0, 0)); }

    void Insert(const Tree& tree, NodeId id, HTREEITEM parent, HTREEITEM after) {
        TVINSERTSTRUCTA insert = {};
        insert.hParent = parent ? parent : TVI_ROOT;
        insert.hInsertAfter = after;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
        insert.item.pszText = const_cast<char*>(tree.Title(id).c_str());
        insert.item.lParam = id;
        insert.item.stateMask = TVIS_EXPANDED;
        insert.item.state = tree.HasChildren(id) && tree.Expanded(id) ? TVIS_EXPANDED : 0;
        if (static_cast<size_t>(id) >= items_.size()) items_.resize(static_cast<size_t>(id) + 1, nullptr);
        items_[static_cast<size_t>(id)] =
            reinterpret_cast<HTREEITEM>(SendMessageA(control_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    }
    // Pre-order, so every parent is in before its children, which append in order.
    void InsertSubtree(const Tree& tree, NodeId root, HTREEITEM parent, HTREEITEM after) {
        Insert(tree, root, parent, after);
        const NodeId end = tree.NextAfterSubtree(root);
        for (NodeId id = tree.NextPreOrder(root); id != kNoNode && id != end; id = tree.NextPreOrder(id))
            Insert(tree, id, ItemOf(tree.Parent(id)), TVI_LAST);
    }
    void Select(NodeId id) { SendMessageA(control_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(ItemOf(id))); }
    // Empties the control and puts the whole tree in; not timed where it fills for an edit.
    void Fill(const Tree& tree) {
        SendMessageA(control_, WM_SETREDRAW, FALSE, 0);
        SendMessageA(control_, TVM_SELECTITEM, TVGN_CARET, 0);
        SendMessageA(control_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
        items_.clear();
        for (NodeId id = tree.FirstRoot(); id != kNoNode; id = tree.NextSibling(id))
            InsertSubtree(tree, id, nullptr, TVI_LAST);
        SendMessageA(control_, WM_SETREDRAW, TRUE, 0);
    }
    // Empties the control; the caller keeps it from drawing meanwhile.
    void Clear() {
        SendMessageA(control_, TVM_SELECTITEM, TVGN_CARET, 0);
        SendMessageA(control_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
        items_.clear();
    }

private:
    HWND window_ = nullptr;
    HWND control_ = nullptr;
    std::vector<HTREEITEM> items_;  // by NodeId
};

// One edit as a plain program makes it: subtrees taken out, subtrees put in as the model
// has them afterwards, a node selected.
struct BareEdit {
    std::vector<NodeId> removed;
    std::vector<NodeId> inserted;
    NodeId selected = kNoNode;
    bool Changes() const { return !removed.empty() || !inserted.empty(); }
};

// What Kestrin's run did, read from its model before and after. Ids stay the same across a
// move; a new node is an id that was not there, a deleted one an id that is gone.
BareEdit EditBetween(const Tree& before, const Tree& after, NodeId target, NodeId selected) {
    BareEdit edit;
    edit.selected = selected;
    for (NodeId id : before.PreOrder()) {
        const NodeId parent = before.Parent(id);
        if (!after.IsAlive(id) && (parent == kNoNode || after.IsAlive(parent))) edit.removed.push_back(id);
    }
    for (NodeId id : after.PreOrder()) {
        const NodeId parent = after.Parent(id);
        if (!before.IsAlive(id) && (parent == kNoNode || before.IsAlive(parent))) edit.inserted.push_back(id);
    }
    if (edit.Changes()) return edit;
    // A move: the target if it went anywhere, else whichever node changed its parent, else
    // its previous sibling (when two siblings swap places, either may be said to have moved).
    const auto moved = [&](NodeId id, bool byPrev) {
        return before.Parent(id) != after.Parent(id) || (byPrev && before.PrevSibling(id) != after.PrevSibling(id));
    };
    NodeId node = before.IsAlive(target) && moved(target, true) ? target : kNoNode;
    for (int byPrev = 0; byPrev < 2 && node == kNoNode; ++byPrev)
        for (NodeId id : before.PreOrder())
            if (moved(id, byPrev != 0)) {
                node = id;
                break;
            }
    if (node != kNoNode) {
        edit.removed.push_back(node);
        edit.inserted.push_back(node);
    }
    return edit;
}

// Neither the control nor its window draws while items change (the window's own flag keeps
// the control from drawing its scroll bars on every change); then one repaint.
void Freeze(HWND control, bool freeze) {
    if (freeze) {
        SendMessageA(control, WM_SETREDRAW, FALSE, 0);
        CallWindowProcA(DefWindowProcA, control, WM_SETREDRAW, FALSE, 0);
        return;
    }
    CallWindowProcA(DefWindowProcA, control, WM_SETREDRAW, TRUE, 0);
    SendMessageA(control, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

// The floor of one edit: tree-view messages only, the control frozen while items change.
void ApplyBare(BareTree& bare, const Tree& after, const BareEdit& edit) {
    const HWND control = bare.Control();
    if (edit.Changes()) Freeze(control, true);
    for (NodeId id : edit.removed) SendMessageA(control, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(bare.ItemOf(id)));
    for (NodeId id : edit.inserted) {
        const NodeId parent = after.Parent(id);
        const NodeId prev = after.PrevSibling(id);
        const HTREEITEM parentItem = bare.ItemOf(parent);
        // A node about to get its first child is shown open, as Kestrin shows it. Marked open
        // before the child goes in, the child is laid out once, with no TVM_EXPAND (which
        // redraws the scroll bars even while the control is frozen).
        if (parentItem && after.Expanded(parent) && !bare.IsOpen(parentItem)) {
            TVITEMA open = {};
            open.mask = TVIF_STATE;
            open.hItem = parentItem;
            open.stateMask = open.state = TVIS_EXPANDED;
            SendMessageA(control, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&open));
        }
        bare.InsertSubtree(after, id, parentItem, prev == kNoNode ? TVI_FIRST : bare.ItemOf(prev));
    }
    bare.Select(edit.selected);
    if (edit.Changes()) Freeze(control, false);
    UpdateWindow(bare.Window());
}

// Whether the bare tree view shows what Kestrin's model holds where the edit happened: the
// item count, and the selected item with its parent and previous sibling. Empty when it does.
std::string BareMismatch(const BareTree& bare, const Tree& after, NodeId selected) {
    if (bare.Count() != after.Count())
        return "holds " + std::to_string(bare.Count()) + " items for " + std::to_string(after.Count()) + " nodes";
    const HTREEITEM item = bare.Next(nullptr, TVGN_CARET);
    if (bare.NodeOf(item) != selected) return "selects another node";
    if (selected == kNoNode) return {};
    if (bare.NodeOf(bare.Next(item, TVGN_PARENT)) != after.Parent(selected) ||
        bare.NodeOf(bare.Next(item, TVGN_PREVIOUS)) != after.PrevSibling(selected))
        return "puts node " + std::to_string(selected) + " elsewhere";
    for (HTREEITEM parent = bare.Next(item, TVGN_PARENT); parent; parent = bare.Next(parent, TVGN_PARENT))
        if (!bare.IsOpen(parent)) return "hides node " + std::to_string(selected) + " in a closed branch";
    return {};
}

struct Case {
    double ms = 0;
    double floorMs = 0;
    const char* op = "";
    const char* target = "";
    int subtree = 0;
    bool changes = true;  // whether Kestrin's run changed the tree at all
    double Ratio() const { return floorMs > 0 ? ms / floorMs : 0; }
};

void PrintTable(const char* title, const double (&ops)[std::size(kTreeOps)][std::size(kShapes)],
                const double (&fill)[std::size(kShapes)], const char* format) {
    std::printf("%-10s", title);
    for (const char* shape : kShapes) std::printf("%12s", shape);
    std::printf("\n");
    for (size_t op = 0; op < std::size(kTreeOps); ++op) {
        std::printf("%-10s", kTreeOps[op]);
        for (size_t shape = 0; shape < std::size(kShapes); ++shape) std::printf(format, ops[op][shape]);
        std::printf("\n");
    }
    std::printf("%-10s", "fill");
    for (size_t shape = 0; shape < std::size(kShapes); ++shape) std::printf(format, fill[shape]);
    std::printf("\n");
}

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

    // The bare window stands beside the settings window, so neither covers what the other paints.
    RECT formRect;
    GetWindowRect(form, &formRect);
    BareTree bare;
    if (!bare.Create(treeView, formRect.right + 8, formRect.top)) {
        std::fprintf(stderr, "tree_view bench: no bare tree view (error %lu)\n", GetLastError());
        return 1;
    }
    Pump();

    std::mt19937 rng(7);
    Case table[std::size(kTreeOps)][std::size(kShapes)] = {};
    double fill[std::size(kShapes)] = {};
    double floorFill[std::size(kShapes)] = {};
    Case worst[std::size(kShapes)];
    for (size_t shape = 0; shape < std::size(kShapes); ++shape) {
        fill[shape] = floorFill[shape] = 1e9;
        for (int run = 0; run < kRuns; ++run) {
            BuildBenchTree(kShapes[shape], kNodes, tree, store.items, /*open=*/false);
            Pump();
            auto start = Clock::now();
            window.StateReloaded();
            itemForm.OpenTree();
            UpdateWindow(form);
            fill[shape] = std::min(fill[shape], Ms(start));
            Pump();

            // As Kestrin's, the bare fill takes out what the control held before (the same
            // tree), in one deletion of the root.
            bare.Fill(tree);
            Pump();
            UpdateWindow(bare.Window());
            start = Clock::now();
            Freeze(bare.Control(), true);
            bare.Clear();
            for (NodeId id = tree.FirstRoot(); id != kNoNode; id = tree.NextSibling(id))
                bare.InsertSubtree(tree, id, nullptr, TVI_LAST);
            bare.Select(tree.FirstRoot());
            Freeze(bare.Control(), false);
            UpdateWindow(bare.Window());
            floorFill[shape] = std::min(floorFill[shape], Ms(start));
            Pump();
        }
        for (size_t op = 0; op < std::size(kTreeOps); ++op) {
            for (const char* target : kTargets) {
                const unsigned pick = rng();
                Case fastest{1e9, 1e9, kTreeOps[op], target};
                for (int run = 0; run < kRuns; ++run) {
                    BuildBenchTree(kShapes[shape], kNodes, tree, store.items);
                    const Tree before = tree;
                    window.TreeView().Fill(tree);
                    itemForm.TreeRebuilt();
                    UpdateWindow(treeView);
                    const std::vector<NodeId> all = tree.PreOrder();
                    const std::string kind = target;
                    const NodeId node = kind == "first"    ? all.front()
                                        : kind == "second" ? all[1]
                                        : kind == "last"   ? all.back()
                                                           : all[pick % all.size()];
                    fastest.subtree = 0;
                    const NodeId end = tree.NextAfterSubtree(node);
                    for (NodeId n = node; n != end; n = tree.NextPreOrder(n)) ++fastest.subtree;
                    window.TreeView().Apply(tree, {{TreeStep::Kind::Select, node}});
                    itemForm.OnSelectionChanged(node);
                    Pump();
                    UpdateWindow(form);
                    auto start = Clock::now();
                    RunTreeOp(itemForm, static_cast<int>(op));
                    UpdateWindow(form);
                    fastest.ms = std::min(fastest.ms, Ms(start));
                    Pump();
                    const int shown = static_cast<int>(SendMessageA(treeView, TVM_GETCOUNT, 0, 0));
                    if (shown != tree.Count()) {
                        std::fprintf(stderr, "tree_view bench: after %s on the %s %s node TreeView1 holds %d items for %d nodes\n",
                                     kTreeOps[op], kShapes[shape], target, shown, tree.Count());
                        return 1;
                    }

                    // The same edit in the bare tree view, from the same tree and selection.
                    const BareEdit edit = EditBetween(before, tree, node, itemForm.Selected());
                    fastest.changes = edit.Changes();
                    bare.Fill(before);
                    bare.Select(node);
                    Pump();
                    UpdateWindow(bare.Window());
                    start = Clock::now();
                    ApplyBare(bare, tree, edit);
                    fastest.floorMs = std::min(fastest.floorMs, Ms(start));
                    Pump();
                    const std::string mismatch = BareMismatch(bare, tree, edit.selected);
                    if (!mismatch.empty()) {
                        std::fprintf(stderr, "tree_view bench: after %s on the %s %s node the bare tree view %s\n",
                                     kTreeOps[op], kShapes[shape], target, mismatch.c_str());
                        return 1;
                    }
                }
                if (fastest.ms > table[op][shape].ms) table[op][shape] = fastest;
                if (fastest.ms > worst[shape].ms) worst[shape] = fastest;
            }
        }
    }

    double kestrinMs[std::size(kTreeOps)][std::size(kShapes)], floorMs[std::size(kTreeOps)][std::size(kShapes)],
        ratio[std::size(kTreeOps)][std::size(kShapes)];
    double fillRatio[std::size(kShapes)];
    const Case* largest = &table[0][0];
    const char* largestShape = kShapes[0];
    for (size_t op = 0; op < std::size(kTreeOps); ++op)
        for (size_t shape = 0; shape < std::size(kShapes); ++shape) {
            const Case& c = table[op][shape];
            kestrinMs[op][shape] = c.ms;
            floorMs[op][shape] = c.floorMs;
            ratio[op][shape] = c.Ratio();
            // A case that changed nothing compares two figures of a few microseconds.
            if (c.changes && c.Ratio() > largest->Ratio()) {
                largest = &c;
                largestShape = kShapes[shape];
            }
        }
    for (size_t shape = 0; shape < std::size(kShapes); ++shape) fillRatio[shape] = fill[shape] / floorFill[shape];

    PrintTable("op \\ ms", kestrinMs, fill, "%12.3f");
    for (size_t shape = 0; shape < std::size(kShapes); ++shape)
        std::printf("slowest %s edit: %s on the %s node, whose subtree holds %d nodes\n", kShapes[shape],
                    worst[shape].op, worst[shape].target, worst[shape].subtree);
    std::printf("\nThe floor: a bare tree view making the same edits (each the same case as above)\n");
    PrintTable("floor ms", floorMs, floorFill, "%12.3f");
    std::printf("\nKestrin over the floor\n");
    PrintTable("ratio", ratio, fillRatio, "%11.2fx");
    for (size_t op = 0; op < std::size(kTreeOps); ++op)
        for (size_t shape = 0; shape < std::size(kShapes); ++shape)
            if (!table[op][shape].changes)
                std::printf("%s on the %s tree changed nothing in its slowest case (the %s node)\n", kTreeOps[op],
                            kShapes[shape], table[op][shape].target);
    std::printf("largest ratio: %.2fx, %s on the %s tree (the %s node)\n", largest->Ratio(), largest->op, largestShape,
                largest->target);

    double slowest = 0;
    size_t slowestFill = 0;
    for (size_t shape = 0; shape < std::size(kShapes); ++shape) {
        slowest = std::max(slowest, worst[shape].ms);
        if (fill[shape] > fill[slowestFill]) slowestFill = shape;
    }
    std::printf("bench: tree.fill.5000.treeview.ms %.3f\n", fill[slowestFill]);
    std::printf("bench: floor.tree.fill.5000.treeview.ms %.3f\n", floorFill[slowestFill]);
    std::printf("bench: tree.fill.5000.treeview.ratio %.2f\n", fillRatio[slowestFill]);
    for (size_t shape = 0; shape < std::size(kShapes); ++shape) {
        std::printf("bench: tree.op.5000.treeview.%s.ms %.3f\n", kShapes[shape], worst[shape].ms);
        std::printf("bench: floor.tree.op.5000.treeview.%s.ms %.3f\n", kShapes[shape], worst[shape].floorMs);
        std::printf("bench: tree.op.5000.treeview.%s.ratio %.2f\n", kShapes[shape], worst[shape].Ratio());
    }
    std::printf("bench: tree.op.5000.treeview.ms %.3f\n", slowest);
    std::printf("bench: tree.op.5000.treeview.ratio %.2f\n", largest->Ratio());
    return 0;
}
