#include "settings/tree_edit.h"

namespace kestrin {

namespace {

using Step = TreeStep::Kind;

// A selected node that the operation leaves as it is: the tree still takes the focus.
TreeEdit Unchanged(NodeId s) {
    TreeEdit e;
    e.selected = s;
    e.focusTree = true;
    return e;
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

TreeEdit MoveNode(Tree& tree, NodeId s, Placement placement, NodeId d) {
    if (!tree.IsAlive(s)) return {};
    TreeEdit e = Unchanged(s);
    if (d != kNoNode && (!tree.IsAlive(d) || tree.IsInSubtree(d, s))) return e;

    NodeId newParent = kNoNode;
    switch (placement) {
    case Placement::InsertBefore:
        if (d == kNoNode || tree.NextSibling(s) == d) return e;
        newParent = tree.Parent(d);
        break;
    case Placement::AddChild:
        if (d == kNoNode) return e;
        newParent = d;
        break;
    case Placement::AddSibling:
        newParent = d == kNoNode ? kNoNode : tree.Parent(d);
        break;
    }
    if (placement != Placement::InsertBefore && LastChildOf(tree, newParent) == s) return e;

    const NodeId oldParent = tree.Parent(s);
    const bool emptiesOldParent = IsOnlyChild(tree, s);
    if (placement == Placement::InsertBefore) tree.MoveBefore(s, d);
    else tree.MoveToLastChild(s, newParent);

    e.changed = true;
    e.steps.push_back({Step::Remove, s});
    e.steps.push_back({Step::Insert, s, newParent, tree.PrevSibling(s)});
    if (emptiesOldParent) {
        tree.SetExpanded(oldParent, false);
        e.steps.push_back({Step::Collapse, oldParent});
    }
    // The new parent always opens; its ancestors open too where they are closed, so the
    // selection is never hidden inside a collapsed branch (the on-screen tree would open
    // them itself when selecting, and the model must agree with it).
    std::vector<NodeId> chain;
    for (NodeId a = newParent; a != kNoNode; a = tree.Parent(a)) chain.push_back(a);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (*it != newParent && tree.Expanded(*it)) continue;
        tree.SetExpanded(*it, true);
        e.steps.push_back({Step::Expand, *it});
    }
    e.steps.push_back({Step::Select, s});
    return e;
}

TreeEdit MoveUp(Tree& tree, NodeId s) {
    if (!tree.IsAlive(s)) return {};
    NodeId p = PrevPreOrder(tree, s);
    if (p == kNoNode) return Unchanged(s);
    return MoveNode(tree, s, Placement::InsertBefore, p);
}

TreeEdit MoveDown(Tree& tree, NodeId s) {
    if (!tree.IsAlive(s)) return {};
    if (!tree.HasChildren(s)) {
        NodeId m = tree.NextAfterSubtree(s);
        if (m == kNoNode) return Unchanged(s);
        NodeId n = tree.NextPreOrder(m);
        if (n != kNoNode) return MoveNode(tree, s, Placement::InsertBefore, n);
        return MoveNode(tree, s, Placement::AddSibling, m);
    }
    NodeId t = tree.NextSibling(s);
    if (t == kNoNode) return MoveLeft(tree, s);  // top-level: MoveLeft does nothing either
    NodeId parent = tree.Parent(s);
    if (parent != kNoNode && tree.LastChild(parent) == t) return MoveNode(tree, s, Placement::AddChild, parent);
    NodeId afterT = tree.NextSibling(t);
    if (afterT != kNoNode) return MoveNode(tree, s, Placement::InsertBefore, afterT);
    return MoveNode(tree, s, Placement::AddSibling, kNoNode);
}

TreeEdit MoveRight(Tree& tree, NodeId s) {
    if (!tree.IsAlive(s)) return {};
    NodeId r = tree.PrevSibling(s);
    if (r == kNoNode) return Unchanged(s);
    return MoveNode(tree, s, Placement::AddChild, r);
}

TreeEdit MoveLeft(Tree& tree, NodeId s) {
    if (!tree.IsAlive(s)) return {};
    NodeId q = tree.Parent(s);
    if (q == kNoNode) return Unchanged(s);
    NodeId q2 = tree.NextSibling(q);
    return MoveNode(tree, s, Placement::InsertBefore, q2 != kNoNode ? q2 : q);
}

namespace {

// New and Duplicate: a node carrying a freshly appended row, inserted before S.
TreeEdit InsertNewNode(Tree& tree, ItemTable& items, NodeId s, const Item& row, std::string title) {
    const int slot = items.Append(row);
    const NodeId node = tree.IsAlive(s) ? tree.InsertBefore(s, std::move(title), slot)
                                        : tree.AddRoot(std::move(title), slot);
    TreeEdit e;
    e.changed = true;
    e.selected = node;
    e.focusTree = true;
    e.syncAfter = true;
    e.steps.push_back({Step::Insert, node, tree.Parent(node), tree.PrevSibling(node)});
    e.steps.push_back({Step::Select, node});
    return e;
}

}  // namespace

TreeEdit NewItem(Tree& tree, ItemTable& items, NodeId s) {
    return InsertNewNode(tree, items, s, Item{}, kNewItemTitle);
}

TreeEdit DuplicateItem(Tree& tree, ItemTable& items, NodeId s) {
    if (!tree.IsAlive(s)) return {};
    const int slot = tree.Slot(s);
    // Copied before appending: the append may move the row being copied.
    const Item row = items.IsValid(slot) ? items.At(slot) : Item{};
    return InsertNewNode(tree, items, s, row, tree.Title(s));
}

TreeEdit DeleteItem(Tree& tree, NodeId s) {
    if (!tree.IsAlive(s)) return {};
    TreeEdit e = Unchanged(s);
    e.syncAfter = true;
    if (tree.Parent(s) == kNoNode && tree.FirstRoot() == s && tree.LastRoot() == s) return e;

    NodeId next = tree.NextSibling(s);
    if (next == kNoNode) next = tree.PrevSibling(s);
    if (next == kNoNode) next = tree.Parent(s);
    const NodeId parent = tree.Parent(s);
    const bool emptiesParent = IsOnlyChild(tree, s);
    tree.Remove(s);

    e.changed = true;
    e.selected = next;
    e.steps.push_back({Step::Remove, s});
    if (emptiesParent) {
        tree.SetExpanded(parent, false);
        e.steps.push_back({Step::Collapse, parent});
    }
    e.steps.push_back({Step::Select, next});
    return e;
}

}  // namespace kestrin
