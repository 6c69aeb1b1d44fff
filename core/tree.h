// The settings tree as a portable model: nodes with a title, a SlotNumber, an expanded
// flag and ordered children. Node ids stay valid while a node lives, also across moves,
// so a view can map them to its own handles. Every walk is iterative: outlines can be
// hostile and arbitrarily deep.
#pragma once

#include <string>
#include <vector>

namespace kestrin {

using NodeId = int;
constexpr NodeId kNoNode = -1;

class Tree {
public:
    struct Node {
        std::string title;
        int slot = -1;
        bool expanded = false;
        NodeId parent = kNoNode;
        NodeId firstChild = kNoNode;
        NodeId lastChild = kNoNode;
        NodeId prev = kNoNode;
        NodeId next = kNoNode;
        bool alive = false;
    };

    void Clear();
    int Count() const { return count_; }
    bool IsAlive(NodeId id) const;

    // Structure.
    NodeId FirstRoot() const { return firstRoot_; }
    NodeId LastRoot() const { return lastRoot_; }
    NodeId Parent(NodeId id) const { return node(id).parent; }
    NodeId FirstChild(NodeId id) const { return node(id).firstChild; }
    NodeId LastChild(NodeId id) const { return node(id).lastChild; }
    NodeId NextSibling(NodeId id) const { return node(id).next; }
    NodeId PrevSibling(NodeId id) const { return node(id).prev; }
    bool HasChildren(NodeId id) const { return node(id).firstChild != kNoNode; }
    int Depth(NodeId id) const;
    // Whether `id` lies inside the subtree of `ancestor` (a node is inside its own subtree).
    bool IsInSubtree(NodeId id, NodeId ancestor) const;

    // Fields.
    const std::string& Title(NodeId id) const { return node(id).title; }
    void SetTitle(NodeId id, std::string title) { node(id).title = std::move(title); }
    int Slot(NodeId id) const { return node(id).slot; }
    void SetSlot(NodeId id, int slot) { node(id).slot = slot; }
    bool Expanded(NodeId id) const { return node(id).expanded; }
    void SetExpanded(NodeId id, bool expanded) { node(id).expanded = expanded; }

    // Pre-order walk.
    NodeId NextPreOrder(NodeId id) const;
    // Next node in pre-order that is not inside the subtree of `id`.
    NodeId NextAfterSubtree(NodeId id) const;
    std::vector<NodeId> PreOrder() const;
    // Pre-order position (absolute index) of a node; O(n).
    int PreOrderIndex(NodeId id) const;
    NodeId AtPreOrderIndex(int index) const;
    // Last node of the subtree of `id` in pre-order.
    NodeId LastInSubtree(NodeId id) const;
    // Calls visit(id, depth) for every node in pre-order; depth 0 is the top level.
    template <typename Visit>
    void WalkWithDepth(Visit visit) const;

    // Creation: new nodes carry the given title and slot, collapsed.
    NodeId AddRoot(std::string title, int slot = -1);                  // last top-level node
    NodeId AddChild(NodeId parent, std::string title, int slot = -1);  // last child; parent kNoNode = top level
    NodeId InsertBefore(NodeId sibling, std::string title, int slot = -1);

    // Moving a whole subtree. The target must not lie inside the moved subtree.
    void MoveBefore(NodeId id, NodeId sibling);
    void MoveToLastChild(NodeId id, NodeId parent);  // parent kNoNode = last top-level node

    // Removes the node and its whole subtree.
    void Remove(NodeId id);

private:
    Node& node(NodeId id);
    const Node& node(NodeId id) const;
    NodeId NewNode(std::string title, int slot);
    void Unlink(NodeId id);
    void LinkBefore(NodeId id, NodeId sibling);
    void LinkLastChild(NodeId id, NodeId parent);

    std::vector<Node> nodes_;
    std::vector<NodeId> free_;
    NodeId firstRoot_ = kNoNode;
    NodeId lastRoot_ = kNoNode;
    int count_ = 0;
};

template <typename Visit>
void Tree::WalkWithDepth(Visit visit) const {
    int depth = 0;
    for (NodeId id = firstRoot_; id != kNoNode;) {
        visit(id, depth);
        if (node(id).firstChild != kNoNode) {
            id = node(id).firstChild;
            ++depth;
            continue;
        }
        while (id != kNoNode && node(id).next == kNoNode) {
            id = node(id).parent;
            --depth;
        }
        if (id != kNoNode) id = node(id).next;
    }
}

}  // namespace kestrin
