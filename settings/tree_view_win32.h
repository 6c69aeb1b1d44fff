// The settings tree's control: a tree view kept in step with a Tree.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "core/tree.h"
#include "settings/tree_edit.h"

namespace kestrin {

// Keeps a tree view control in step with a Tree. Every item's lParam is its NodeId. Edits
// arrive as TreeStep lists, so an operation touches only the items it moved, never the rest.
class TreeViewAdapter {
public:
    explicit TreeViewAdapter(HWND treeView = nullptr) : tree_(treeView) {}
    void Attach(HWND treeView) { tree_ = treeView; }
    TreeViewAdapter(const TreeViewAdapter&) = delete;
    TreeViewAdapter& operator=(const TreeViewAdapter&) = delete;

    HWND Handle() const { return tree_; }
    // Replaces every item by the model's nodes, titles and expanded flags.
    void Fill(const Tree& tree);
    void Clear();
    // Carries out the steps in order against the model as it stands after the operation.
    void Apply(const Tree& tree, const std::vector<TreeStep>& steps);
    // While the adapter changes the control, the control's notifications are its echoes.
    bool Busy() const { return busy_ > 0; }

    HTREEITEM ItemOf(NodeId id) const;
    static NodeId NodeOfItem(const TVITEMA& item) { return item.hItem ? static_cast<NodeId>(item.lParam) : kNoNode; }

    // Redraw is switched off while items are removed or inserted, so a move shows once.
    bool freezeRedraw = true;

private:
    class BusyScope;
    HTREEITEM Insert(const Tree& tree, NodeId id, HTREEITEM parent, HTREEITEM after);
    void InsertSubtree(const Tree& tree, NodeId root, HTREEITEM parent, HTREEITEM after);
    void RemoveSubtree(const Tree& tree, NodeId id);
    std::vector<HTREEITEM> CutsBelow(HTREEITEM root) const;
    void SetExpanded(HTREEITEM item, bool expanded);
    HTREEITEM Next(HTREEITEM item, UINT how) const;

    HWND tree_;
    std::vector<HTREEITEM> items_;  // by NodeId
    std::vector<int> depths_;       // by NodeId, where the item went in
    int deepest_ = 0;               // of every item that went in since the last Clear
    int busy_ = 0;
};

}  // namespace kestrin
