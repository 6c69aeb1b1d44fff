// Dragging on the settings tree: a node dragged to a new place, and files, folders and
// shortcuts dropped in from Explorer (OLE drop target, and WM_DROPFILES from older sources).
// What a drop means is tree_edit's and drop_rules'; this file finds the node under the
// pointer, shows the insertion mark and reads what was dropped.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

#include "core/items.h"
#include "core/tree.h"
#include "settings/tree_edit.h"
#include "settings/tree_view_win32.h"

namespace kestrin {

// The node under a screen point and the part of it, with the insertion mark or the drop
// highlight that shows where a drop would go.
class TreeDropFeedback {
public:
    explicit TreeDropFeedback(TreeViewAdapter& view) : view_(view) {}
    // The drop point under `screen`; `intoAllowed` says whether a node may take it as a child.
    DropPoint PointAt(const Tree& tree, POINT screen, const std::function<bool(NodeId)>& intoAllowed) const;
    // Shows where `point` puts things (nothing for an invalid drop); Hide takes the mark away.
    void Show(const Tree& tree, const DropPoint& point, bool valid);
    void Hide();

private:
    TreeViewAdapter& view_;
    HTREEITEM shownMark_ = nullptr;
    BOOL shownAfter_ = FALSE;
    HTREEITEM shownHighlight_ = nullptr;
};

// The new entries for dropped paths, in order: titles, resolved shortcuts, travelling paths.
std::vector<NewEntry> EntriesForDroppedPaths(const std::vector<std::string>& paths);

// The paths of an HDROP, in order.
std::vector<std::string> DroppedPaths(HDROP drop);

// Registers an OLE drop target for files on the tree control for its lifetime. Over the
// tree it shows the insertion mark; a drop hands the paths and the point to `onDrop`.
class TreeFileDropTarget {
public:
    using DropHandler = std::function<void(const std::vector<std::string>& paths, POINT screen)>;
    using Hover = std::function<void(POINT screen)>;
    TreeFileDropTarget(HWND tree, Hover hover, std::function<void()> leave, DropHandler onDrop);
    ~TreeFileDropTarget();
    TreeFileDropTarget(const TreeFileDropTarget&) = delete;
    TreeFileDropTarget& operator=(const TreeFileDropTarget&) = delete;

private:
    class Target;
    HWND tree_;
    bool oleReady_ = false;
    Target* target_ = nullptr;
};

}  // namespace kestrin
