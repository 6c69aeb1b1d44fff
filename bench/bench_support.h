// Shared by the tree editing benchmarks, native and in a real tree view, so that both time
// the same trees.
#pragma once

#include <string>

#include "core/items.h"
#include "core/tree.h"

namespace kestrin {

// Flat: every node top-level. Menus: submenus of 99 entries each. Chain: each node the
// only child of the one before, the deepest outline there can be. Every node is expanded,
// so every item is laid out; node i carries slot i.
// `open`: every node expanded, as after the user opened them all; a load leaves them closed.
inline void BuildBenchTree(const std::string& shape, int nodes, Tree& tree, ItemTable& items, bool open = true) {
    tree.Clear();
    items.SetCount(nodes);
    NodeId last = kNoNode, menu = kNoNode;
    for (int i = 0; i < nodes; ++i) {
        std::string title = "Item " + std::to_string(i);
        if (shape == "flat") {
            last = tree.AddRoot(title, i);
        } else if (shape == "menus") {
            if (i % 100 == 0) menu = last = tree.AddRoot(title, i);
            else last = tree.AddChild(menu, title, i);
        } else {
            last = tree.AddChild(last, title, i);
        }
        tree.SetExpanded(last, open);
    }
}

}  // namespace kestrin
