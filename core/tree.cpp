#include "core/tree.h"

#include <stdexcept>

namespace kestrin {

void Tree::Clear() {
    nodes_.clear();
    free_.clear();
    firstRoot_ = lastRoot_ = kNoNode;
    count_ = 0;
}

bool Tree::IsAlive(NodeId id) const {
    return id >= 0 && static_cast<size_t>(id) < nodes_.size() && nodes_[static_cast<size_t>(id)].alive;
}

Tree::Node& Tree::node(NodeId id) {
    if (!IsAlive(id)) throw std::out_of_range("tree node");
    return nodes_[static_cast<size_t>(id)];
}

const Tree::Node& Tree::node(NodeId id) const {
    if (!IsAlive(id)) throw std::out_of_range("tree node");
    return nodes_[static_cast<size_t>(id)];
}

int Tree::Depth(NodeId id) const {
    int depth = 0;
    for (NodeId ancestor = node(id).parent; ancestor != kNoNode; ancestor = node(ancestor).parent) ++depth;
    return depth;
}

bool Tree::IsInSubtree(NodeId id, NodeId ancestor) const {
    for (NodeId cursor = id; cursor != kNoNode; cursor = node(cursor).parent)
        if (cursor == ancestor) return true;
    return false;
}

NodeId Tree::NextPreOrder(NodeId id) const {
    const Node& current = node(id);
    if (current.firstChild != kNoNode) return current.firstChild;
    return NextAfterSubtree(id);
}

NodeId Tree::NextAfterSubtree(NodeId id) const {
    for (NodeId cursor = id; cursor != kNoNode; cursor = node(cursor).parent)
        if (node(cursor).next != kNoNode) return node(cursor).next;
    return kNoNode;
}

std::vector<NodeId> Tree::PreOrder() const {
    std::vector<NodeId> order;
    order.reserve(static_cast<size_t>(count_));
    for (NodeId id = firstRoot_; id != kNoNode; id = NextPreOrder(id)) order.push_back(id);
    return order;
}

int Tree::PreOrderIndex(NodeId id) const {
    int index = 0;
    for (NodeId cursor = firstRoot_; cursor != kNoNode; cursor = NextPreOrder(cursor), ++index)
        if (cursor == id) return index;
    return -1;
}

NodeId Tree::AtPreOrderIndex(int index) const {
    if (index < 0) return kNoNode;
    NodeId cursor = firstRoot_;
    for (int i = 0; cursor != kNoNode && i < index; ++i) cursor = NextPreOrder(cursor);
    return cursor;
}

NodeId Tree::LastInSubtree(NodeId id) const {
    NodeId last = id;
    while (node(last).lastChild != kNoNode) last = node(last).lastChild;
    return last;
}

NodeId Tree::NewNode(std::string title, int slot) {
    NodeId id;
    if (!free_.empty()) {
        id = free_.back();
        free_.pop_back();
        nodes_[static_cast<size_t>(id)] = Node{};
    } else {
        id = static_cast<NodeId>(nodes_.size());
        nodes_.emplace_back();
    }
    Node& created = nodes_[static_cast<size_t>(id)];
    created.title = std::move(title);
    created.slot = slot;
    created.alive = true;
    ++count_;
    return id;
}

void Tree::Unlink(NodeId id) {
    Node& unlinked = node(id);
    if (unlinked.prev != kNoNode) node(unlinked.prev).next = unlinked.next;
    else if (unlinked.parent != kNoNode) node(unlinked.parent).firstChild = unlinked.next;
    else firstRoot_ = unlinked.next;
    if (unlinked.next != kNoNode) node(unlinked.next).prev = unlinked.prev;
    else if (unlinked.parent != kNoNode) node(unlinked.parent).lastChild = unlinked.prev;
    else lastRoot_ = unlinked.prev;
    unlinked.parent = unlinked.prev = unlinked.next = kNoNode;
}

void Tree::LinkBefore(NodeId id, NodeId sibling) {
    Node& anchor = node(sibling);
    Node& linked = node(id);
    linked.parent = anchor.parent;
    linked.next = sibling;
    linked.prev = anchor.prev;
    if (anchor.prev != kNoNode) node(anchor.prev).next = id;
    else if (anchor.parent != kNoNode) node(anchor.parent).firstChild = id;
    else firstRoot_ = id;
    anchor.prev = id;
}

void Tree::LinkLastChild(NodeId id, NodeId parent) {
    Node& linked = node(id);
    linked.parent = parent;
    linked.next = kNoNode;
    NodeId& first = parent == kNoNode ? firstRoot_ : node(parent).firstChild;
    NodeId& last = parent == kNoNode ? lastRoot_ : node(parent).lastChild;
    linked.prev = last;
    if (last != kNoNode) node(last).next = id;
    else first = id;
    last = id;
}

NodeId Tree::AddRoot(std::string title, int slot) { return AddChild(kNoNode, std::move(title), slot); }

NodeId Tree::AddChild(NodeId parent, std::string title, int slot) {
    if (parent != kNoNode) node(parent);  // validates before allocating
    NodeId id = NewNode(std::move(title), slot);
    LinkLastChild(id, parent);
    return id;
}

NodeId Tree::InsertBefore(NodeId sibling, std::string title, int slot) {
    node(sibling);
    NodeId id = NewNode(std::move(title), slot);
    LinkBefore(id, sibling);
    return id;
}

void Tree::MoveBefore(NodeId id, NodeId sibling) {
    if (id == sibling) return;
    if (IsInSubtree(sibling, id)) throw std::invalid_argument("move into own subtree");
    Unlink(id);
    LinkBefore(id, sibling);
}

void Tree::MoveToLastChild(NodeId id, NodeId parent) {
    if (parent != kNoNode && IsInSubtree(parent, id)) throw std::invalid_argument("move into own subtree");
    Unlink(id);
    LinkLastChild(id, parent);
}

void Tree::Remove(NodeId id) {
    NodeId stop = NextAfterSubtree(id);
    std::vector<NodeId> doomed;
    for (NodeId doomedId = id; doomedId != kNoNode && doomedId != stop; doomedId = NextPreOrder(doomedId))
        doomed.push_back(doomedId);
    Unlink(id);
    for (NodeId doomedId : doomed) {
        nodes_[static_cast<size_t>(doomedId)] = Node{};
        free_.push_back(doomedId);
        --count_;
    }
}

}  // namespace kestrin
