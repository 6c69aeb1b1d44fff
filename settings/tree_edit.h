// Editing operations on the settings tree: the four moves, New, Duplicate and Delete.
// Each works on the model (Tree, and the ItemTable for the two that append a row) and
// reports what changed as a short list of view steps, so the on-screen tree can follow
// without being rebuilt.
#pragma once

#include <string>
#include <vector>

#include "core/items.h"
#include "core/tree.h"

namespace kestrin {

// One change for the on-screen tree, to be applied in list order once the operation has
// returned. Insert reads the node's title and whole subtree (children, expanded flags)
// from the model as it stands after the operation.
struct TreeStep {
    enum class Kind {
        Remove,    // delete `node` and its subtree from the view
        Insert,    // insert `node` with its subtree under `parent` (kNoNode: top level),
                   // directly after `after` (kNoNode: as the first child)
        Expand,    // show `node` expanded
        Collapse,  // show `node` collapsed; a node without children shows no expand button
        Retitle,   // show the model's title of `node`
        Select,    // make `node` the tree's selection; the view must not sync for it
    };
    Kind kind;
    NodeId node = kNoNode;
    NodeId parent = kNoNode;
    NodeId after = kNoNode;

    bool operator==(const TreeStep& other) const {
        return kind == other.kind && node == other.node && parent == other.parent && after == other.after;
    }
};

// The result of one operation.
struct TreeEdit {
    bool changed = false;       // the tree's shape, a title or the ItemTable changed
    NodeId selected = kNoNode;  // the selection afterwards
    bool focusTree = false;     // the tree takes the keyboard focus
    bool syncAfter = false;     // run the item form's sync on `selected` (New, Duplicate, Delete)
    std::vector<TreeStep> steps;
};

// Where the move primitive puts the moved node relative to the target.
enum class Placement {
    InsertBefore,  // the target's sibling, directly before it
    AddChild,      // the target's last child
    AddSibling,    // the last child of the target's parent; the last top-level node when the
                   // target is top-level or kNoNode
};

// Moves `moved` with its subtree. Nothing happens when the target lies inside that subtree
// or the node already stands where it would go. The moved node stays selected. A parent left
// without children is collapsed; the new parent and every ancestor above it are expanded so
// the node stays in view.
TreeEdit MoveNode(Tree& tree, NodeId moved, Placement placement, NodeId target);

// The four moves of the selected node. With no selection they do nothing and do not take
// the focus; a move that does not apply to the node still gives the tree the focus.
TreeEdit MoveUp(Tree& tree, NodeId selected);
TreeEdit MoveDown(Tree& tree, NodeId selected);
// Makes the node the last child of its previous sibling.
TreeEdit MoveIntoSubmenu(Tree& tree, NodeId selected);
// Takes the node out to its parent's level: before the parent's next sibling, or before the
// parent when it is the last of its level.
TreeEdit MoveOutOfSubmenu(Tree& tree, NodeId selected);

// Appends an empty row and inserts "New Item" carrying it directly before the selected node.
// With no selection the node goes to the end of the top level (on an empty tree: the first
// node).
TreeEdit NewItem(Tree& tree, ItemTable& items, NodeId selected);
// Appends a copy of the selected node's row (a default row when its slot is not valid) and
// inserts a childless node of the same title before it. Nothing without a selection.
TreeEdit DuplicateItem(Tree& tree, ItemTable& items, NodeId selected);
// Removes the selected node and its subtree, leaving their rows unreferenced in the
// ItemTable. Removes nothing when that would empty the tree. Selects the next sibling of the
// removed subtree, else its previous sibling, else its parent.
TreeEdit DeleteItem(Tree& tree, NodeId selected);

// Where the pointer is over a node while dragging: its upper or lower edge, or its middle.
enum class DropZone { Above, On, Below };

// Where a drop puts what is dropped; `placement` and `target` as for MoveNode. Nothing under
// the pointer (below the last node) is the end of the top level.
struct DropPoint {
    Placement placement = Placement::AddSibling;
    NodeId target = kNoNode;
};

// The drop point for the pointer over `under` (kNoNode: below every node). Above goes before
// the node; Below goes just under it on screen: before its first child when it shows them,
// else before its next sibling, else last of its level. On goes into the node as its last
// child when `intoAllowed`, else before it.
DropPoint DropPointAt(const Tree& tree, NodeId under, DropZone zone, bool intoAllowed);

// Whether dragging `moved` to `point` would move it: a drop into its own subtree is refused.
bool CanDragTo(const Tree& tree, NodeId moved, const DropPoint& point);

// Drag to arrange: MoveNode to the drop point (the same as some sequence of the four moves).
TreeEdit DragMove(Tree& tree, NodeId moved, const DropPoint& point);

// Inserts one node per entry, in order, at the drop point, each with a freshly appended row.
// The first new node is selected and synced.
struct NewEntry {
    std::string title;
    Item row;
};
TreeEdit InsertEntries(Tree& tree, ItemTable& items, const std::vector<NewEntry>& entries, const DropPoint& point);

// The node just before `id` in pre-order, kNoNode for the first node.
NodeId PrevPreOrder(const Tree& tree, NodeId id);

}  // namespace kestrin
