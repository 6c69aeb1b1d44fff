// Editing operations on the settings tree: the four moves, New, Duplicate and Delete.
// Each works on the model (Tree, and the ItemTable for the two that append a row) and
// reports what changed as a short list of view steps, so the on-screen tree can follow
// without being rebuilt.
#pragma once

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

    bool operator==(const TreeStep& o) const {
        return kind == o.kind && node == o.node && parent == o.parent && after == o.after;
    }
};

// The result of one operation.
struct TreeEdit {
    bool changed = false;        // the tree's shape, a title or the ItemTable changed
    NodeId selected = kNoNode;   // the selection afterwards
    bool focusTree = false;      // the tree takes the keyboard focus
    bool syncAfter = false;      // run the item form's sync on `selected` (New, Duplicate, Delete)
    std::vector<TreeStep> steps;
};

// Where the move primitive puts a node relative to the destination D.
enum class Placement {
    InsertBefore,  // S becomes D's sibling, directly before D
    AddChild,      // S becomes D's last child
    AddSibling,    // S becomes the last child of D's parent; last top-level node when D is
                   // top-level or kNoNode
};

// Moves S with its subtree. Nothing happens when D lies inside S's subtree or S already
// stands where it would go. S stays selected. A parent left without children is
// collapsed; the new parent and every ancestor above it are expanded so S stays in view.
TreeEdit MoveNode(Tree& tree, NodeId s, Placement placement, NodeId d);

// The four moves of the selected node S. With no selection they do nothing and do not
// take the focus; a move that does not apply to S still gives the tree the focus.
TreeEdit MoveUp(Tree& tree, NodeId s);
TreeEdit MoveDown(Tree& tree, NodeId s);
TreeEdit MoveRight(Tree& tree, NodeId s);
TreeEdit MoveLeft(Tree& tree, NodeId s);

// Appends an empty row and inserts "New Item" carrying it directly before S. With no
// selection the node goes to the end of the top level (on an empty tree: the first node).
TreeEdit NewItem(Tree& tree, ItemTable& items, NodeId s);
// Appends a copy of S's row (a default row when S's slot is not valid) and inserts a
// childless node titled like S before S. Nothing without a selection.
TreeEdit DuplicateItem(Tree& tree, ItemTable& items, NodeId s);
// Removes S and its subtree, leaving their rows unreferenced in the ItemTable. Removes
// nothing when that would empty the tree. Selects the next sibling of the removed subtree,
// else its previous sibling, else its parent.
TreeEdit DeleteItem(Tree& tree, NodeId s);

// The node just before `id` in pre-order, kNoNode for the first node.
NodeId PrevPreOrder(const Tree& tree, NodeId id);

}  // namespace kestrin
