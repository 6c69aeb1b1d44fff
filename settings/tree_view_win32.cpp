#include "settings/tree_view_win32.h"

#include <algorithm>

namespace kestrin {

namespace {

// Deeper subtrees are taken apart leaf by leaf: the control deletes a subtree recursively,
// and an outline can be thousands of levels deep.
constexpr int kMaxRecursiveDeleteDepth = 64;

}  // namespace

class TreeViewAdapter::BusyScope {
public:
    BusyScope(TreeViewAdapter& adapter, bool freeze) : adapter_(adapter), freeze_(freeze) {
        ++adapter_.busy_;
        if (!freeze_) return;
        SendMessageA(adapter_.tree_, WM_SETREDRAW, FALSE, 0);
        // The control keeps its scroll bars up to date on every change, drawing them each
        // time, unless the window itself is marked as not to be drawn.
        CallWindowProcA(DefWindowProcA, adapter_.tree_, WM_SETREDRAW, FALSE, 0);
    }
    ~BusyScope() {
        if (freeze_) {
            CallWindowProcA(DefWindowProcA, adapter_.tree_, WM_SETREDRAW, TRUE, 0);
            SendMessageA(adapter_.tree_, WM_SETREDRAW, TRUE, 0);
            RedrawWindow(adapter_.tree_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
        }
        --adapter_.busy_;
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    TreeViewAdapter& adapter_;
    bool freeze_;
};

HTREEITEM TreeViewAdapter::ItemOf(NodeId id) const {
    if (id < 0 || static_cast<size_t>(id) >= items_.size()) return nullptr;
    return items_[static_cast<size_t>(id)];
}

HTREEITEM TreeViewAdapter::Next(HTREEITEM item, UINT how) const {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
}

// The open state goes in with the item: expanding afterwards would lay the items out again
// once per opened branch.
HTREEITEM TreeViewAdapter::Insert(const Tree& tree, NodeId id, HTREEITEM parent, HTREEITEM after) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
    insert.item.pszText = const_cast<char*>(tree.Title(id).c_str());
    insert.item.lParam = id;
    insert.item.stateMask = TVIS_EXPANDED;
    insert.item.state = tree.HasChildren(id) && tree.Expanded(id) ? TVIS_EXPANDED : 0;
    HTREEITEM item =
        reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    if (static_cast<size_t>(id) >= items_.size()) {
        items_.resize(static_cast<size_t>(id) + 1, nullptr);
        depths_.resize(items_.size(), 0);
    }
    items_[static_cast<size_t>(id)] = item;
    const NodeId holder = tree.Parent(id);
    const int depth =
        holder >= 0 && static_cast<size_t>(holder) < depths_.size() ? depths_[static_cast<size_t>(holder)] + 1 : 0;
    depths_[static_cast<size_t>(id)] = depth;
    deepest_ = std::max(deepest_, depth);
    return item;
}

void TreeViewAdapter::InsertSubtree(const Tree& tree, NodeId root, HTREEITEM parent, HTREEITEM after) {
    Insert(tree, root, parent, after);
    const NodeId end = tree.NextAfterSubtree(root);
    // Pre-order: every parent is in the control before its children, which append in order.
    for (NodeId id = tree.NextPreOrder(root); id != kNoNode && id != end; id = tree.NextPreOrder(id))
        Insert(tree, id, ItemOf(tree.Parent(id)), TVI_LAST);
}

// The items below root at a multiple of the control's delete depth, in pre-order: taken out
// from the bottom up, each takes at most that many levels with it, what lay deeper being gone
// already. The walk keeps its own path down: every question to the control is a search of its
// item list (under Wine), so none is asked twice.
std::vector<HTREEITEM> TreeViewAdapter::CutsBelow(HTREEITEM root) const {
    std::vector<HTREEITEM> cuts;
    std::vector<HTREEITEM> path{root};
    while (!path.empty()) {
        HTREEITEM item = path.back();
        const int depth = static_cast<int>(path.size()) - 1;
        if (depth > 0 && depth % kMaxRecursiveDeleteDepth == 0) cuts.push_back(item);
        if (HTREEITEM child = Next(item, TVGN_CHILD)) {
            path.push_back(child);
            continue;
        }
        for (;;) {
            HTREEITEM done = path.back();
            path.pop_back();
            if (path.empty()) break;
            if (HTREEITEM next = Next(done, TVGN_NEXT)) {
                path.push_back(next);
                break;
            }
        }
    }
    return cuts;
}

void TreeViewAdapter::RemoveSubtree(const Tree& tree, NodeId id) {
    HTREEITEM root = ItemOf(id);
    if (!root) return;
    const int rootDepth = depths_[static_cast<size_t>(id)];
    // Nothing lies deeper than the deepest item that went in: a subtree that cannot be too
    // deep for the control's recursive delete goes in one message, without walking it.
    if (deepest_ - rootDepth <= kMaxRecursiveDeleteDepth) {
        SendMessageA(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(root));
        return;
    }
    // What lies deeper goes first, in pieces (see CutsBelow).
    std::vector<HTREEITEM> cuts;
    if (tree.IsAlive(id)) {
        // A node still in the model is being moved, and moves carry their subtree whole: its
        // shape comes from the model, without asking the control item by item.
        const NodeId end = tree.NextAfterSubtree(id);
        for (NodeId n = tree.NextPreOrder(id); n != kNoNode && n != end; n = tree.NextPreOrder(n)) {
            const int below = depths_[static_cast<size_t>(n)] - rootDepth;
            if (below % kMaxRecursiveDeleteDepth == 0) cuts.push_back(ItemOf(n));
        }
    } else {
        cuts = CutsBelow(root);
    }
    // A few dozen deletions even for a chain of thousands; closing the subtree first would
    // cost more than they do.
    for (auto it = cuts.rbegin(); it != cuts.rend(); ++it)
        SendMessageA(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(*it));
    SendMessageA(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(root));
}

void TreeViewAdapter::SetExpanded(HTREEITEM item, bool expanded) {
    if (!item) return;
    if (Next(item, TVGN_CHILD)) {
        SendMessageA(tree_, TVM_EXPAND, expanded ? TVE_EXPAND : TVE_COLLAPSE, reinterpret_cast<LPARAM>(item));
        return;
    }
    if (expanded) return;
    // A childless item keeps no open state, or a child it gets later would show at once.
    TVITEMA state = {};
    state.mask = TVIF_STATE;
    state.hItem = item;
    state.stateMask = TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    SendMessageA(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&state));
}

void TreeViewAdapter::Clear() {
    if (!tree_ || !IsWindow(tree_)) return;
    BusyScope busy(*this, false);
    // Without a selection the control has nothing to select and scroll to while items go.
    SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, 0);
    // One deletion of the root takes the items out in one pass, where deleting the top-level
    // items one by one lays out everything after each of them again. The control deletes
    // recursively, so what lies deeper than it can take goes first, in pieces from the bottom.
    std::vector<HTREEITEM> deep;
    // Walking the control costs a search of its item list per call: only a deep tree is walked.
    if (deepest_ > kMaxRecursiveDeleteDepth) {
        for (HTREEITEM top = Next(nullptr, TVGN_ROOT); top; top = Next(top, TVGN_NEXT)) {
            const std::vector<HTREEITEM> cuts = CutsBelow(top);
            deep.insert(deep.end(), cuts.begin(), cuts.end());
        }
    }
    // Closed first (the shallowest first, the rest are hidden by then), so the deletions lay
    // nothing out again.
    for (HTREEITEM cut : deep) SendMessageA(tree_, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(cut));
    for (auto it = deep.rbegin(); it != deep.rend(); ++it)
        SendMessageA(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(*it));
    SendMessageA(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    items_.clear();
    depths_.clear();
    deepest_ = 0;
}

void TreeViewAdapter::Fill(const Tree& tree) {
    BusyScope busy(*this, true);
    Clear();
    for (NodeId id = tree.FirstRoot(); id != kNoNode; id = tree.NextSibling(id))
        InsertSubtree(tree, id, nullptr, TVI_LAST);
}

void TreeViewAdapter::Apply(const Tree& tree, const std::vector<TreeStep>& steps) {
    const bool structural = std::any_of(steps.begin(), steps.end(), [](const TreeStep& s) {
        return s.kind == TreeStep::Kind::Remove || s.kind == TreeStep::Kind::Insert;
    });
    BusyScope busy(*this, freezeRedraw && structural);
    for (const TreeStep& step : steps) {
        switch (step.kind) {
        case TreeStep::Kind::Remove: {
            RemoveSubtree(tree, step.node);
            break;
        }
        case TreeStep::Kind::Insert: {
            if (!tree.IsAlive(step.node)) break;
            HTREEITEM after = step.after == kNoNode ? TVI_FIRST : ItemOf(step.after);
            HTREEITEM parent = step.parent == kNoNode ? nullptr : ItemOf(step.parent);
            // A parent about to get its first child opens before the child goes in: the child
            // is laid out once, where opening afterwards lays out the whole control again.
            if (parent && tree.Expanded(step.parent) && !Next(parent, TVGN_CHILD)) {
                TVITEMA open = {};
                open.mask = TVIF_STATE;
                open.hItem = parent;
                open.stateMask = open.state = TVIS_EXPANDED;
                SendMessageA(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&open));
            }
            InsertSubtree(tree, step.node, parent, after ? after : TVI_LAST);
            break;
        }
        case TreeStep::Kind::Expand: SetExpanded(ItemOf(step.node), true); break;
        case TreeStep::Kind::Collapse: SetExpanded(ItemOf(step.node), false); break;
        case TreeStep::Kind::Retitle: {
            HTREEITEM item = ItemOf(step.node);
            if (!item || !tree.IsAlive(step.node)) break;
            TVITEMA text = {};
            text.mask = TVIF_TEXT;
            text.hItem = item;
            text.pszText = const_cast<char*>(tree.Title(step.node).c_str());
            SendMessageA(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&text));
            break;
        }
        case TreeStep::Kind::Select:
            SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(ItemOf(step.node)));
            break;
        }
    }
}

}  // namespace kestrin
