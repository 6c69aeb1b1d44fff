#include "settings/settings_window_win32.h"

#include <algorithm>

#include "settings/keyboard_commands.h"
#include "shell/window_dispatch_win32.h"

namespace kestrin {

namespace {

// Deeper subtrees are taken apart leaf by leaf: the control deletes a subtree recursively,
// and an outline can be thousands of levels deep.
constexpr int kMaxRecursiveDeleteDepth = 64;

std::string WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthA(hwnd);
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(hwnd, &text[0], length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return text;
}

PressedKey KeyOf(WPARAM vk) {
    switch (vk) {
    case VK_UP: return PressedKey::Up;
    case VK_DOWN: return PressedKey::Down;
    case VK_LEFT: return PressedKey::Left;
    case VK_RIGHT: return PressedKey::Right;
    case VK_ESCAPE: return PressedKey::Escape;
    case VK_RETURN: return PressedKey::Enter;
    default: return PressedKey::Other;
    }
}

}  // namespace

class TreeViewAdapter::BusyScope {
public:
    BusyScope(TreeViewAdapter& adapter, bool freeze) : adapter_(adapter), freeze_(freeze) {
        ++adapter_.busy_;
        if (freeze_) SendMessageA(adapter_.tree_, WM_SETREDRAW, FALSE, 0);
    }
    ~BusyScope() {
        if (freeze_) {
            SendMessageA(adapter_.tree_, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(adapter_.tree_, nullptr, TRUE);
        }
        --adapter_.busy_;
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    TreeViewAdapter& adapter_;
    bool freeze_;
};

HTREEITEM TreeViewAdapter::ItemOf(NodeId id) const {
    if (id < 0 || static_cast<size_t>(id) >= items_.size()) return nullptr;
    return items_[static_cast<size_t>(id)];
}

HTREEITEM TreeViewAdapter::Next(HTREEITEM item, UINT how) const {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
}

// The open state goes in with the item: expanding afterwards would lay the items out again
// once per opened branch.
HTREEITEM TreeViewAdapter::Insert(const Tree& tree, NodeId id, HTREEITEM parent, HTREEITEM after) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
    insert.item.pszText = const_cast<char*>(tree.Title(id).c_str());
    insert.item.lParam = id;
    insert.item.stateMask = TVIS_EXPANDED;
    insert.item.state = tree.HasChildren(id) && tree.Expanded(id) ? TVIS_EXPANDED : 0;
    HTREEITEM item =
        reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    if (static_cast<size_t>(id) >= items_.size()) items_.resize(static_cast<size_t>(id) + 1, nullptr);
    items_[static_cast<size_t>(id)] = item;
    return item;
}

void TreeViewAdapter::InsertSubtree(const Tree& tree, NodeId root, HTREEITEM parent, HTREEITEM after) {
    Insert(tree, root, parent, after);
    const NodeId end = tree.NextAfterSubtree(root);
    // Pre-order: every parent is in the control before its children, which append in order.
    for (NodeId id = tree.NextPreOrder(root); id != kNoNode && id != end; id = tree.NextPreOrder(id))
        Insert(tree, id, ItemOf(tree.Parent(id)), TVI_LAST);
}

void TreeViewAdapter::RemoveSubtree(HTREEITEM root) {
    if (!root) return;
    std::vector<HTREEITEM> order;  // pre-order
    int depth = 0, maxDepth = 0;
    HTREEITEM item = root;
    while (item) {
        order.push_back(item);
        if (HTREEITEM child = Next(item, TVGN_CHILD)) {
            item = child;
            maxDepth = std::max(maxDepth, ++depth);
            continue;
        }
        while (item != root && !Next(item, TVGN_NEXT)) {
            item = Next(item, TVGN_PARENT);
            --depth;
        }
        item = item == root ? nullptr : Next(item, TVGN_NEXT);
    }
    if (maxDepth <= kMaxRecursiveDeleteDepth) {
        SendMessageA(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(root));
        return;
    }
    // Closed first, so taking the hidden descendants out lays nothing out again.
    SendMessageA(tree_, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(root));
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        SendMessageA(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(*it));
}

void TreeViewAdapter::SetExpanded(HTREEITEM item, bool expanded) {
    if (!item) return;
    if (Next(item, TVGN_CHILD)) {
        SendMessageA(tree_, TVM_EXPAND, expanded ? TVE_EXPAND : TVE_COLLAPSE, reinterpret_cast<LPARAM>(item));
        return;
    }
    if (expanded) return;
    // A childless item keeps no open state, or a child it gets later would show at once.
    TVITEMA state = {};
    state.mask = TVIF_STATE;
    state.hItem = item;
    state.stateMask = TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    SendMessageA(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&state));
}

void TreeViewAdapter::Clear() {
    if (!tree_ || !IsWindow(tree_)) return;
    BusyScope busy(*this, false);
    while (HTREEITEM root = Next(nullptr, TVGN_ROOT)) RemoveSubtree(root);
    items_.clear();
}

void TreeViewAdapter::Fill(const Tree& tree) {
    BusyScope busy(*this, true);
    Clear();
    for (NodeId id = tree.FirstRoot(); id != kNoNode; id = tree.NextSibling(id)) InsertSubtree(tree, id, nullptr, TVI_LAST);
}

void TreeViewAdapter::Apply(const Tree& tree, const std::vector<TreeStep>& steps) {
    const bool structural = std::any_of(steps.begin(), steps.end(), [](const TreeStep& s) {
        return s.kind == TreeStep::Kind::Remove || s.kind == TreeStep::Kind::Insert;
    });
    BusyScope busy(*this, freezeRedraw && structural);
    for (const TreeStep& step : steps) {
        switch (step.kind) {
        case TreeStep::Kind::Remove: {
            RemoveSubtree(ItemOf(step.node));
            break;
        }
        case TreeStep::Kind::Insert: {
            if (!tree.IsAlive(step.node)) break;
            HTREEITEM after = step.after == kNoNode ? TVI_FIRST : ItemOf(step.after);
            InsertSubtree(tree, step.node, step.parent == kNoNode ? nullptr : ItemOf(step.parent),
                          after ? after : TVI_LAST);
            break;
        }
        case TreeStep::Kind::Expand: SetExpanded(ItemOf(step.node), true); break;
        case TreeStep::Kind::Collapse: SetExpanded(ItemOf(step.node), false); break;
        case TreeStep::Kind::Retitle: {
            HTREEITEM item = ItemOf(step.node);
            if (!item || !tree.IsAlive(step.node)) break;
            TVITEMA text = {};
            text.mask = TVIF_TEXT;
            text.hItem = item;
            text.pszText = const_cast<char*>(tree.Title(step.node).c_str());
            SendMessageA(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&text));
            break;
        }
        case TreeStep::Kind::Select:
            SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(ItemOf(step.node)));
            break;
        }
    }
}

// Brushes of our own: a themed edit that is handed the system's stock brush may draw its
// theme background instead, and then a face-coloured selector would show white.
SettingsWindow::SettingsWindow(const ControlLookup& controls, const Tree& tree)
    : tree_(tree),
      treeView_(controls("TreeView1")),
      faceBrush_(CreateSolidBrush(GetSysColor(COLOR_BTNFACE))),
      windowBrush_(CreateSolidBrush(GetSysColor(COLOR_WINDOW))) {
    edits_ = {controls("Edit1"), controls("Edit3"), controls("Edit2"),
              controls("Edit5"), controls("Edit4"), controls("Edit6")};
    combos_ = {controls("ComboBox2"), controls("ComboBox1")};
    checkBox1_ = controls("CheckBox1");
    bitBtn3_ = controls("BitBtn3");
    bitBtn4_ = controls("BitBtn4");
    bitBtn6_ = controls("BitBtn6");
    bitBtn7_ = controls("BitBtn7");
    button1_ = controls("Button1");
    button9_ = controls("Button9");
    button2_ = controls("Button2");
}

SettingsWindow::~SettingsWindow() {
    DeleteObject(faceBrush_);
    DeleteObject(windowBrush_);
}

LRESULT SettingsWindow::ColorResult(HDC dc, bool face) const {
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(face ? COLOR_BTNFACE : COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(face ? faceBrush_ : windowBrush_);
}

int SettingsWindow::EditIndex(HWND control) const {
    if (!control) return -1;
    for (size_t i = 0; i < edits_.size(); ++i)
        if (edits_[i] == control) return static_cast<int>(i);
    return -1;
}

// The selector itself or the edit field inside it.
int SettingsWindow::ComboIndex(HWND control) const {
    if (!control) return -1;
    for (size_t i = 0; i < combos_.size(); ++i)
        if (combos_[i] && (combos_[i] == control || GetParent(control) == combos_[i])) return static_cast<int>(i);
    return -1;
}

void SettingsWindow::SetEditText(FormEdit edit, const std::string& text) {
    if (HWND hwnd = edits_[static_cast<size_t>(edit)]) SetWindowTextA(hwnd, text.c_str());
}

void SettingsWindow::SetEditReadOnly(FormEdit edit, bool readOnly) {
    HWND hwnd = edits_[static_cast<size_t>(edit)];
    if (!hwnd) return;
    SendMessageA(hwnd, EM_SETREADONLY, readOnly, 0);
    InvalidateRect(hwnd, nullptr, TRUE);
}

void SettingsWindow::SetComboIndex(FormCombo combo, int index) {
    if (HWND hwnd = combos_[static_cast<size_t>(combo)]) SendMessageA(hwnd, CB_SETCURSEL, index, 0);
}

void SettingsWindow::SetComboFace(FormCombo combo, bool face) {
    comboFace_[static_cast<size_t>(combo)] = face;
    if (HWND hwnd = combos_[static_cast<size_t>(combo)])
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void SettingsWindow::ApplyTreeSteps(const std::vector<TreeStep>& steps) { treeView_.Apply(tree_, steps); }

void SettingsWindow::FocusTree() {
    if (treeView_.Handle()) SetFocus(treeView_.Handle());
}

void SettingsWindow::ShowError(const std::string& message) { ReportError(message.c_str()); }

bool SettingsWindow::Command(HWND control, int code) {
    if (!form_ || !control) return false;
    const int edit = EditIndex(control);
    if (edit >= 0) {
        if (code == EN_CHANGE) form_->EditChange(static_cast<FormEdit>(edit), WindowText(control));
        return true;
    }
    const int combo = combos_[0] == control ? 0 : combos_[1] == control ? 1 : -1;
    if (combo >= 0) {
        int index = -2;
        if (code == CBN_SELCHANGE) {
            index = static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0));
        } else if (code == CBN_EDITCHANGE) {
            // Typed text counts only when it names an entry.
            const std::string text = WindowText(control);
            index = text.empty() ? -1
                                 : static_cast<int>(SendMessageA(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                                 reinterpret_cast<LPARAM>(text.c_str())));
        }
        if (index != -2) {
            if (index < 0) index = -1;
            if (combo == 0) form_->ComboBox2Change(index);
            else form_->ComboBox1Change(index);
        }
        return true;
    }
    if (code != BN_CLICKED) return false;
    if (control == bitBtn3_) form_->BitBtn3Click();
    else if (control == bitBtn4_) form_->BitBtn4Click();
    else if (control == bitBtn6_) form_->BitBtn6Click();
    else if (control == bitBtn7_) form_->BitBtn7Click();
    else if (control == button1_) form_->Button1Click();
    else if (control == button9_) form_->Button9Click();
    else if (control == button2_) form_->Button2Click();
    else return false;
    return true;
}

bool SettingsWindow::Notify(const NMHDR& header) {
    if (!form_ || header.hwndFrom != treeView_.Handle()) return false;
    const auto& tv = reinterpret_cast<const NMTREEVIEWA&>(header);
    switch (header.code) {
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
        if (!treeView_.Busy()) form_->TreeView1Change(TreeViewAdapter::NodeOfItem(tv.itemNew));
        return true;
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDEDW:
        if (!treeView_.Busy())
            form_->TreeView1Expanded(TreeViewAdapter::NodeOfItem(tv.itemNew),
                                     (tv.action & (TVE_EXPAND | TVE_COLLAPSE)) == TVE_EXPAND);
        return true;
    default: return false;
    }
}

bool SettingsWindow::Color(UINT msg, HDC dc, HWND control, LRESULT* result) const {
    if (msg == WM_CTLCOLOREDIT) {
        if (EditIndex(control) >= 0) {
            *result = ColorResult(dc, false);
            return true;
        }
        const int combo = ComboIndex(control);
        if (combo < 0) return false;
        *result = ColorResult(dc, comboFace_[static_cast<size_t>(combo)]);
        return true;
    }
    if (msg != WM_CTLCOLORSTATIC) return false;
    // Read-only edits, labels, the check box and the group box all sit on the face colour.
    *result = ColorResult(dc, true);
    return true;
}

std::optional<CommandKey> SettingsWindow::KeyCommand(const MSG& msg) const {
    if (msg.message != WM_KEYDOWN) return std::nullopt;
    KeyPress press;
    press.key = KeyOf(msg.wParam);
    if (press.key == PressedKey::Other) return std::nullopt;
    press.ctrl = GetKeyState(VK_CONTROL) < 0;
    press.shift = GetKeyState(VK_SHIFT) < 0;
    press.alt = GetKeyState(VK_MENU) < 0;
    bool dropped = false;
    const int combo = ComboIndex(GetFocus());
    if (combo >= 0) dropped = SendMessageA(combos_[static_cast<size_t>(combo)], CB_GETDROPPEDSTATE, 0, 0) != 0;
    return MatchKeyCommand(press, commandsEnabled_, dropped);
}

bool SettingsWindow::CheckBox1Checked() const {
    return checkBox1_ && SendMessageA(checkBox1_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SettingsWindow::SetCheckBox1(bool checked) {
    if (checkBox1_) SendMessageA(checkBox1_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace kestrin
