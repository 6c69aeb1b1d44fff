// The settings tree's control kept in step with the model where subtrees are too deep for the
// control's own recursive delete: after every edit the control must hold exactly the model's
// nodes, each under its parent, in order, open where the model is.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "core/items.h"
#include "settings/tree_edit.h"
#include "settings/tree_view_win32.h"
#include "tests/wine/check.h"

using namespace kestrin;

namespace {

// Where the control differs from the model, or empty.
std::string Difference(HWND control, const Tree& tree) {
    const auto next = [&](HTREEITEM item, UINT how) {
        return reinterpret_cast<HTREEITEM>(SendMessageA(control, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
    };
    const auto nodeOf = [&](HTREEITEM item) {
        TVITEMA data = {};
        data.mask = TVIF_PARAM | TVIF_STATE;
        data.hItem = item;
        SendMessageA(control, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
        return std::make_pair(static_cast<NodeId>(data.lParam), (data.state & TVIS_EXPANDED) != 0);
    };
    const int count = static_cast<int>(SendMessageA(control, TVM_GETCOUNT, 0, 0));
    if (count != tree.Count()) return std::to_string(count) + " items for " + std::to_string(tree.Count()) + " nodes";
    // Both in pre-order, the control walked with a path of its own.
    const std::vector<NodeId> order = tree.PreOrder();
    std::vector<HTREEITEM> path;
    HTREEITEM item = next(nullptr, TVGN_ROOT);
    for (NodeId id : order) {
        if (!item) return "the control ends before node " + std::to_string(id);
        const auto [shown, open] = nodeOf(item);
        const NodeId parent = path.empty() ? kNoNode : nodeOf(path.back()).first;
        if (shown != id || parent != tree.Parent(id)) return "node " + std::to_string(id) + " is out of place";
        if (tree.HasChildren(id) && open != tree.Expanded(id)) return "node " + std::to_string(id) + " open state";
        if (HTREEITEM child = next(item, TVGN_CHILD)) {
            path.push_back(item);
            item = child;
            continue;
        }
        for (HTREEITEM after = next(item, TVGN_NEXT);; after = next(item, TVGN_NEXT)) {
            if (after || path.empty()) {
                item = after;
                break;
            }
            item = path.back();
            path.pop_back();
        }
    }
    return {};
}

// Top, then a chain of `depth` nodes under a second top-level node, then Bottom.
void BuildChain(Tree& tree, int depth) {
    tree = Tree();
    tree.AddRoot("Top");
    NodeId node = tree.AddRoot("Chain 0");
    for (int i = 1; i < depth; ++i) {
        tree.SetExpanded(node, true);
        node = tree.AddChild(node, "Chain " + std::to_string(i));
    }
    tree.AddRoot("Bottom");
}

}  // namespace

int main() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    HWND control = CreateWindowExA(0, WC_TREEVIEWA, "", WS_POPUP | WS_VISIBLE | TVS_HASLINES | TVS_HASBUTTONS, 0, 0,
                                   300, 400, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    TreeViewAdapter adapter(control);
    Tree tree;
    ItemTable items;
    // 300 levels: four times the depth the control is trusted to delete in one go.
    constexpr int kDepth = 300;
    using Edit = TreeEdit (*)(Tree&, NodeId);
    struct Case {
        const char* name;
        Edit edit;
        int target;  // in pre-order
    };
    const Case cases[] = {
        {"deep_subtree_moved_up", MoveUp, 1},
        {"deep_subtree_moved_down", MoveDown, 1},
        {"deep_subtree_moved_into_a_submenu", MoveIntoSubmenu, 1},
        {"deep_subtree_moved_out_of_a_submenu", MoveOutOfSubmenu, 2},
        {"deep_subtree_deleted", DeleteItem, 1},
        {"middle_of_a_deep_subtree_deleted", DeleteItem, 150},
        {"middle_of_a_deep_subtree_moved_out", MoveOutOfSubmenu, 150},
    };
    for (const Case& c : cases) {
        BuildChain(tree, kDepth);
        adapter.Fill(tree);
        std::string why = Difference(control, tree);
        if (why.empty()) {
            const TreeEdit edit = c.edit(tree, tree.AtPreOrderIndex(c.target));
            adapter.Apply(tree, edit.steps);
            why = edit.changed ? Difference(control, tree) : "the edit changed nothing";
        }
        Check(why.empty(), c.name, why);
    }
    // New, duplicated and deleted nodes around the chain keep the whole tree in step too.
    BuildChain(tree, kDepth);
    adapter.Fill(tree);
    std::string why;
    for (int i = 0; i < 3 && why.empty(); ++i) {
        adapter.Apply(tree, NewItem(tree, items, tree.AtPreOrderIndex(kDepth)).steps);
        adapter.Apply(tree, DuplicateItem(tree, items, tree.AtPreOrderIndex(1)).steps);
        adapter.Apply(tree, DeleteItem(tree, tree.AtPreOrderIndex(2)).steps);
        adapter.Apply(tree, MoveIntoSubmenu(tree, tree.AtPreOrderIndex(1)).steps);
        why = Difference(control, tree);
    }
    Check(why.empty(), "edits_around_a_deep_subtree", why);
    adapter.Clear();
    Check(SendMessageA(control, TVM_GETCOUNT, 0, 0) == 0, "deep_tree_cleared", "items left");
    DestroyWindow(control);
    return CheckExitCode();
}
