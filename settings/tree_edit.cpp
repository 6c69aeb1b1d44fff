#include "settings/tree_edit.h"

namespace kestrin {

namespace {

using Step = TreeStep::Kind;

// A selected node that the operation leaves as it is: the tree still takes the focus.
TreeEdit Unchanged(NodeId selected) {
    TreeEdit edit;
    edit.selected = selected;
    edit.focusTree = true;
    return edit;
}

NodeId LastChildOf(const Tree& tree, NodeId parent) {
    return parent == kNoNode ? tree.LastRoot() : tree.LastChild(parent);
}

bool IsOnlyChild(const Tree& tree, NodeId id) {
    NodeId parent = tree.Parent(id);
    return parent != kNoNode && tree.FirstChild(parent) == id && tree.LastChild(parent) == id;
}

}  // namespace

NodeId PrevPreOrder(const Tree& tree, NodeId id) {
    NodeId prev = tree.PrevSibling(id);
    if (prev != kNoNode) return tree.LastInSubtree(prev);
    return tree.Parent(id);
}

TreeEdit MoveNode(Tree& tree, NodeId moved, Placement placement, NodeId target) {
    if (!tree.IsAlive(moved)) return {};
    TreeEdit edit = Unchanged(moved);
    if (target != kNoNode && (!tree.IsAlive(target) || tree.IsInSubtree(target, moved))) return edit;

    NodeId newParent = kNoNode;
    switch (placement) {
    case Placement::InsertBefore:
        if (target == kNoNode || tree.NextSibling(moved) == target) return edit;
        newParent = tree.Parent(target);
        break;
    case Placement::AddChild:
        if (target == kNoNode) return edit;
        newParent = target;
        break;
    case Placement::AddSibling: newParent = target == kNoNode ? kNoNode : tree.Parent(target); break;
    }
    if (placement != Placement::InsertBefore && LastChildOf(tree, newParent) == moved) return edit;

    const NodeId oldParent = tree.Parent(moved);
    const bool emptiesOldParent = IsOnlyChild(tree, moved);
    if (placement == Placement::InsertBefore) tree.MoveBefore(moved, target);
    else tree.MoveToLastChild(moved, newParent);

    edit.changed = true;
    edit.steps.push_back({Step::Remove, moved});
    edit.steps.push_back({Step::Insert, moved, newParent, tree.PrevSibling(moved)});
    if (emptiesOldParent) {
        tree.SetExpanded(oldParent, false);
        edit.steps.push_back({Step::Collapse, oldParent});
    }
    // The new parent always opens; its ancestors open too where they are closed, so the
    // selection is never hidden inside a collapsed branch (the on-screen tree would open
    // them itself when selecting, and the model must agree with it).
    std::vector<NodeId> chain;
    for (NodeId ancestor = newParent; ancestor != kNoNode; ancestor = tree.Parent(ancestor)) chain.push_back(ancestor);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (*it != newParent && tree.Expanded(*it)) continue;
        tree.SetExpanded(*it, true);
        edit.steps.push_back({Step::Expand, *it});
    }
    edit.steps.push_back({Step::Select, moved});
    return edit;
}

TreeEdit MoveUp(Tree& tree, NodeId selected) {
    if (!tree.IsAlive(selected)) return {};
    const NodeId before = PrevPreOrder(tree, selected);
    if (before == kNoNode) return Unchanged(selected);
    return MoveNode(tree, selected, Placement::InsertBefore, before);
}

TreeEdit MoveDown(Tree& tree, NodeId selected) {
    if (!tree.IsAlive(selected)) return {};
    if (!tree.HasChildren(selected)) {
        const NodeId after = tree.NextAfterSubtree(selected);
        if (after == kNoNode) return Unchanged(selected);
        const NodeId afterNext = tree.NextPreOrder(after);
        if (afterNext != kNoNode) return MoveNode(tree, selected, Placement::InsertBefore, afterNext);
        return MoveNode(tree, selected, Placement::AddSibling, after);
    }
    const NodeId next = tree.NextSibling(selected);
    if (next == kNoNode) return MoveOutOfSubmenu(tree, selected);  // top-level: does nothing either
    const NodeId parent = tree.Parent(selected);
    if (parent != kNoNode && tree.LastChild(parent) == next)
        return MoveNode(tree, selected, Placement::AddChild, parent);
    const NodeId afterNext = tree.NextSibling(next);
    if (afterNext != kNoNode) return MoveNode(tree, selected, Placement::InsertBefore, afterNext);
    return MoveNode(tree, selected, Placement::AddSibling, kNoNode);
}

TreeEdit MoveIntoSubmenu(Tree& tree, NodeId selected) {
    if (!tree.IsAlive(selected)) return {};
    const NodeId previous = tree.PrevSibling(selected);
    if (previous == kNoNode) return Unchanged(selected);
    return MoveNode(tree, selected, Placement::AddChild, previous);
}

TreeEdit MoveOutOfSubmenu(Tree& tree, NodeId selected) {
    if (!tree.IsAlive(selected)) return {};
    const NodeId parent = tree.Parent(selected);
    if (parent == kNoNode) return Unchanged(selected);
    const NodeId parentNext = tree.NextSibling(parent);
    return MoveNode(tree, selected, Placement::InsertBefore, parentNext != kNoNode ? parentNext : parent);
}

namespace {

// New and Duplicate: a node carrying a freshly appended row, inserted before the selected one.
TreeEdit InsertNewNode(Tree& tree, ItemTable& items, NodeId selected, const Item& row, std::string title) {
    const int slot = items.Append(row);
    const NodeId node = tree.IsAlive(selected) ? tree.InsertBefore(selected, std::move(title), slot)
                                               : tree.AddRoot(std::move(title), slot);
    TreeEdit edit;
    edit.changed = true;
    edit.selected = node;
    edit.focusTree = true;
    edit.syncAfter = true;
    edit.steps.push_back({Step::Insert, node, tree.Parent(node), tree.PrevSibling(node)});
    edit.steps.push_back({Step::Select, node});
    return edit;
}

}  // namespace

TreeEdit NewItem(Tree& tree, ItemTable& items, NodeId selected) {
    return InsertNewNode(tree, items, selected, Item{}, kNewItemTitle);
}

TreeEdit DuplicateItem(Tree& tree, ItemTable& items, NodeId selected) {
    if (!tree.IsAlive(selected)) return {};
    const int slot = tree.Slot(selected);
    // Copied before appending: the append may move the row being copied.
    const Item row = items.IsValid(slot) ? items.At(slot) : Item{};
    return InsertNewNode(tree, items, selected, row, tree.Title(selected));
}

DropPoint DropPointAt(const Tree& tree, NodeId under, DropZone zone, bool intoAllowed) {
    if (!tree.IsAlive(under)) return {};
    switch (zone) {
    case DropZone::Above: return {Placement::InsertBefore, under};
    case DropZone::On: return {intoAllowed ? Placement::AddChild : Placement::InsertBefore, under};
    case DropZone::Below:
        if (tree.HasChildren(under) && tree.Expanded(under)) return {Placement::InsertBefore, tree.FirstChild(under)};
        if (tree.NextSibling(under) != kNoNode) return {Placement::InsertBefore, tree.NextSibling(under)};
        return {Placement::AddSibling, under};
    }
    return {};
}

bool CanDragTo(const Tree& tree, NodeId moved, const DropPoint& point) {
    if (!tree.IsAlive(moved)) return false;
    if (point.target == kNoNode) return point.placement == Placement::AddSibling;
    if (!tree.IsAlive(point.target)) return false;
    // The last place of the moved node's own level lies outside its subtree.
    if (point.placement == Placement::AddSibling && point.target == moved) return true;
    return !tree.IsInSubtree(point.target, moved);
}

TreeEdit DragMove(Tree& tree, NodeId moved, const DropPoint& point) {
    if (!CanDragTo(tree, moved, point)) return Unchanged(moved);
    return MoveNode(tree, moved, point.placement, point.target);
}

TreeEdit InsertEntries(Tree& tree, ItemTable& items, const std::vector<NewEntry>& entries, const DropPoint& point) {
    TreeEdit edit;
    if (entries.empty()) return edit;
    NodeId target = tree.IsAlive(point.target) ? point.target : kNoNode;
    NodeId parent = kNoNode;
    if (target != kNoNode && point.placement == Placement::AddChild) parent = target;
    else if (target != kNoNode && point.placement == Placement::AddSibling) parent = tree.Parent(target);
    const bool before = target != kNoNode && point.placement == Placement::InsertBefore;
    const bool opensParent = parent != kNoNode && !tree.Expanded(parent);
    for (const NewEntry& entry : entries) {
        const int slot = items.Append(entry.row);
        const NodeId node =
            before ? tree.InsertBefore(target, entry.title, slot) : tree.AddChild(parent, entry.title, slot);
        edit.steps.push_back({Step::Insert, node, tree.Parent(node), tree.PrevSibling(node)});
        if (edit.selected == kNoNode) edit.selected = node;
    }
    // A submenu dropped into shows what it got.
    if (opensParent) {
        for (NodeId ancestor = parent; ancestor != kNoNode; ancestor = tree.Parent(ancestor)) {
            if (tree.Expanded(ancestor) && ancestor != parent) continue;
            tree.SetExpanded(ancestor, true);
            edit.steps.push_back({Step::Expand, ancestor});
        }
    }
    edit.changed = true;
    edit.focusTree = true;
    edit.syncAfter = true;
    edit.steps.push_back({Step::Select, edit.selected});
    return edit;
}

TreeEdit DeleteItem(Tree& tree, NodeId selected) {
    if (!tree.IsAlive(selected)) return {};
    TreeEdit edit = Unchanged(selected);
    edit.syncAfter = true;
    if (tree.Parent(selected) == kNoNode && tree.FirstRoot() == selected && tree.LastRoot() == selected) return edit;

    NodeId next = tree.NextSibling(selected);
    if (next == kNoNode) next = tree.PrevSibling(selected);
    if (next == kNoNode) next = tree.Parent(selected);
    const NodeId parent = tree.Parent(selected);
    const bool emptiesParent = IsOnlyChild(tree, selected);
    tree.Remove(selected);

    edit.changed = true;
    edit.selected = next;
    edit.steps.push_back({Step::Remove, selected});
    if (emptiesParent) {
        tree.SetExpanded(parent, false);
        edit.steps.push_back({Step::Collapse, parent});
    }
    edit.steps.push_back({Step::Select, next});
    return edit;
}

}  // namespace kestrin
