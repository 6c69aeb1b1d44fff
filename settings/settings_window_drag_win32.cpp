// The settings window's part in dragging: a node dragged within the tree (the window holds
// the mouse capture until the button comes up or Esc) and files dropped onto the tree.
#include "settings/settings_window_win32.h"

#include <shellapi.h>
#include <windowsx.h>

namespace kestrin {

void SettingsWindow::SetUpDropping() {
    const HWND tree = treeView_.Handle();
    if (!tree) return;
    fileDropTarget_ = std::make_unique<TreeFileDropTarget>(
        tree,
        [this](POINT screen) {
            const DropPoint point = FileDropPointAt(screen);
            dropFeedback_.Show(state_.tree, point, true);
        },
        [this] { dropFeedback_.Hide(); },
        [this](const std::vector<std::string>& paths, POINT screen) { DropFiles(paths, screen); });
    // Sources that do not speak OLE send WM_DROPFILES; it reaches the window, not the tree.
    DragAcceptFiles(Handle(), TRUE);
}

// Files go into a submenu when dropped onto it; onto any other node they go before it.
DropPoint SettingsWindow::FileDropPointAt(POINT screen) const {
    const Tree& tree = state_.tree;
    const ItemTable& items = state_.store.items;
    return dropFeedback_.PointAt(tree, screen, [&](NodeId node) {
        const int slot = tree.Slot(node);
        return tree.HasChildren(node) || (items.IsValid(slot) && items.At(slot).kind == kKindSubmenu);
    });
}

void SettingsWindow::DropFiles(const std::vector<std::string>& paths, POINT screen) {
    if (!IsWindowVisible(Handle())) return;
    const DropPoint point = FileDropPointAt(screen);
    form_.OnDropEntries(EntriesForDroppedPaths(paths), point);
}

void SettingsWindow::BeginDrag(NodeId node) {
    if (!state_.tree.IsAlive(node)) return;
    dragged_ = node;
    SetCapture(Handle());
}

void SettingsWindow::EndDrag(bool drop) {
    const NodeId moved = dragged_;
    if (moved == kNoNode) return;
    dragged_ = kNoNode;
    POINT screen = {};
    GetCursorPos(&screen);
    dropFeedback_.Hide();
    if (GetCapture() == Handle()) ReleaseCapture();
    if (!drop) return;
    const DropPoint point = dropFeedback_.PointAt(state_.tree, screen, [](NodeId) { return true; });
    form_.OnDragMove(moved, point);
}

bool SettingsWindow::OnDragMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DROPFILES) {
        const HDROP drop = reinterpret_cast<HDROP>(wp);
        POINT at = {};
        DragQueryPoint(drop, &at);
        const std::vector<std::string> paths = DroppedPaths(drop);
        DragFinish(drop);
        ClientToScreen(Handle(), &at);
        RECT tree = {};
        GetWindowRect(treeView_.Handle(), &tree);
        // Only the tree takes files; elsewhere on the form a drop means nothing.
        if (PtInRect(&tree, at)) DropFiles(paths, at);
        return true;
    }
    if (dragged_ == kNoNode) return false;
    switch (msg) {
    case WM_MOUSEMOVE: {
        POINT screen = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ClientToScreen(Handle(), &screen);
        // Above or below the tree the drag scrolls it, a line per move, to reach every node.
        RECT tree = {};
        GetWindowRect(treeView_.Handle(), &tree);
        if (screen.y < tree.top || screen.y >= tree.bottom)
            SendMessageA(treeView_.Handle(), WM_VSCROLL, screen.y < tree.top ? SB_LINEUP : SB_LINEDOWN, 0);
        const DropPoint point = dropFeedback_.PointAt(state_.tree, screen, [](NodeId) { return true; });
        const bool valid = CanDragTo(state_.tree, dragged_, point);
        dropFeedback_.Show(state_.tree, point, valid);
        SetCursor(LoadCursor(nullptr, valid ? IDC_ARROW : IDC_NO));
        return true;
    }
    case WM_LBUTTONUP: EndDrag(true); return true;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lp) != Handle()) EndDrag(false);
        return true;
    case WM_CANCELMODE: EndDrag(false); return false;
    default: return false;
    }
}

}  // namespace kestrin
