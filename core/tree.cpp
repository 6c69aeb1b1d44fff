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
    for (NodeId p = node(id).parent; p != kNoNode; p = node(p).parent) ++depth;
    return depth;
}

int Tree::ChildCount(NodeId id) const {
    int n = 0;
    for (NodeId c = node(id).firstChild; c != kNoNode; c = node(c).next) ++n;
    return n;
}

bool Tree::IsInSubtree(NodeId id, NodeId ancestor) const {
    for (NodeId p = id; p != kNoNode; p = node(p).parent)
        if (p == ancestor) return true;
    return false;
}

NodeId Tree::NextPreOrder(NodeId id) const {
    const Node& n = node(id);
    if (n.firstChild != kNoNode) return n.firstChild;
    return NextAfterSubtree(id);
}

NodeId Tree::NextAfterSubtree(NodeId id) const {
    for (NodeId p = id; p != kNoNode; p = node(p).parent)
        if (node(p).next != kNoNode) return node(p).next;
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
    for (NodeId n = firstRoot_; n != kNoNode; n = NextPreOrder(n), ++index)
        if (n == id) return index;
    return -1;
}

NodeId Tree::AtPreOrderIndex(int index) const {
    if (index < 0) return kNoNode;
    NodeId n = firstRoot_;
    for (int i = 0; n != kNoNode && i < index; ++i) n = NextPreOrder(n);
    return n;
}

NodeId Tree::LastInSubtree(NodeId id) const {
    NodeId n = id;
    while (node(n).lastChild != kNoNode) n = node(n).lastChild;
    return n;
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
    Node& n = nodes_[static_cast<size_t>(id)];
    n.title = std::move(title);
    n.slot = slot;
    n.alive = true;
    ++count_;
    return id;
}

void Tree::Unlink(NodeId id) {
    Node& n = node(id);
    if (n.prev != kNoNode) node(n.prev).next = n.next;
    else if (n.parent != kNoNode) node(n.parent).firstChild = n.next;
    else firstRoot_ = n.next;
    if (n.next != kNoNode) node(n.next).prev = n.prev;
    else if (n.parent != kNoNode) node(n.parent).lastChild = n.prev;
    else lastRoot_ = n.prev;
    n.parent = n.prev = n.next = kNoNode;
}

void Tree::LinkBefore(NodeId id, NodeId sibling) {
    Node& s = node(sibling);
    Node& n = node(id);
    n.parent = s.parent;
    n.next = sibling;
    n.prev = s.prev;
    if (s.prev != kNoNode) node(s.prev).next = id;
    else if (s.parent != kNoNode) node(s.parent).firstChild = id;
    else firstRoot_ = id;
    s.prev = id;
}

void Tree::LinkAfter(NodeId id, NodeId sibling) {
    Node& s = node(sibling);
    Node& n = node(id);
    n.parent = s.parent;
    n.prev = sibling;
    n.next = s.next;
    if (s.next != kNoNode) node(s.next).prev = id;
    else if (s.parent != kNoNode) node(s.parent).lastChild = id;
    else lastRoot_ = id;
    s.next = id;
}

void Tree::LinkLastChild(NodeId id, NodeId parent) {
    Node& n = node(id);
    n.parent = parent;
    n.next = kNoNode;
    NodeId& first = parent == kNoNode ? firstRoot_ : node(parent).firstChild;
    NodeId& last = parent == kNoNode ? lastRoot_ : node(parent).lastChild;
    n.prev = last;
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

NodeId Tree::InsertAfter(NodeId sibling, std::string title, int slot) {
    node(sibling);
    NodeId id = NewNode(std::move(title), slot);
    LinkAfter(id, sibling);
    return id;
}

void Tree::MoveBefore(NodeId id, NodeId sibling) {
    if (id == sibling) return;
    if (IsInSubtree(sibling, id)) throw std::invalid_argument("move into own subtree");
    Unlink(id);
    LinkBefore(id, sibling);
}

void Tree::MoveAfter(NodeId id, NodeId sibling) {
    if (id == sibling) return;
    if (IsInSubtree(sibling, id)) throw std::invalid_argument("move into own subtree");
    Unlink(id);
    LinkAfter(id, sibling);
}

void Tree::MoveToLastChild(NodeId id, NodeId parent) {
    if (parent != kNoNode && IsInSubtree(parent, id)) throw std::invalid_argument("move into own subtree");
    Unlink(id);
    LinkLastChild(id, parent);
}

void Tree::Remove(NodeId id) {
    NodeId stop = NextAfterSubtree(id);
    std::vector<NodeId> doomed;
    for (NodeId n = id; n != kNoNode && n != stop; n = NextPreOrder(n)) doomed.push_back(n);
    Unlink(id);
    for (NodeId n : doomed) {
        nodes_[static_cast<size_t>(n)] = Node{};
        free_.push_back(n);
        --count_;
    }
}

}  // namespace kestrin
