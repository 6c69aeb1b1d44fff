// The settings window's Win32 side: TreeView1 following the settings tree, and the item
// form's fields carrying out what the ItemForm presenter decides. Events of the fields,
// the tree and the editing buttons are forwarded to the presenter unchanged.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/tree.h"
#include "settings/item_form.h"
#include "settings/tree_edit.h"

namespace kestrin {

// Keeps a tree view control in step with a Tree. Every item's lParam is its NodeId. Edits
// arrive as TreeSteps, so an operation touches only the items it moved, never the rest.
class TreeViewAdapter {
public:
    explicit TreeViewAdapter(HWND treeView) : tree_(treeView) {}
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
    void RemoveSubtree(HTREEITEM item);
    void SetExpanded(HTREEITEM item, bool expanded);
    HTREEITEM Next(HTREEITEM item, UINT how) const;

    HWND tree_;
    std::vector<HTREEITEM> items_;  // by NodeId
    int busy_ = 0;
};

// A built control by its designer name; nullptr when the form has none of that name.
using ControlLookup = std::function<HWND(const char* name)>;

// The item form as ItemFormView, over the controls of the built settings window.
class SettingsWindow final : public ItemFormView {
public:
    SettingsWindow(const ControlLookup& controls, const Tree& tree);
    ~SettingsWindow() override;
    SettingsWindow(const SettingsWindow&) = delete;
    SettingsWindow& operator=(const SettingsWindow&) = delete;

    // The presenter that receives the window's events; set once both exist.
    void Attach(ItemForm* form) { form_ = form; }
    TreeViewAdapter& TreeView() { return treeView_; }

    void SetEditText(FormEdit edit, const std::string& text) override;
    void SetEditReadOnly(FormEdit edit, bool readOnly) override;
    void SetComboIndex(FormCombo combo, int index) override;
    void SetComboFace(FormCombo combo, bool face) override;
    void ApplyTreeSteps(const std::vector<TreeStep>& steps) override;
    void FocusTree() override;
    void ShowError(const std::string& message) override;
    void SetKeyboardCommandsEnabled(bool enabled) override { commandsEnabled_ = enabled; }

    // WM_COMMAND from a field or an editing button; false for any other control.
    bool Command(HWND control, int code);
    // WM_NOTIFY; false when it is not TreeView1's selection or expansion news.
    bool Notify(const NMHDR& header);
    // WM_CTLCOLOREDIT and WM_CTLCOLORSTATIC: editable fields in the window colour,
    // read-only fields, face-coloured selectors and every label in the button-face colour.
    bool Color(UINT msg, HDC dc, HWND control, LRESULT* result) const;
    // The keyboard command a WM_KEYDOWN runs, if any (only while commands are enabled).
    std::optional<CommandKey> KeyCommand(const MSG& msg) const;
    bool CheckBox1Checked() const;
    void SetCheckBox1(bool checked);

private:
    LRESULT ColorResult(HDC dc, bool face) const;
    int EditIndex(HWND control) const;
    int ComboIndex(HWND control) const;

    const Tree& tree_;
    ItemForm* form_ = nullptr;
    TreeViewAdapter treeView_;
    std::array<HWND, kFormEditCount> edits_{};
    std::array<HWND, kFormComboCount> combos_{};
    std::array<bool, kFormComboCount> comboFace_{};
    HWND checkBox1_ = nullptr;
    HWND bitBtn3_ = nullptr, bitBtn4_ = nullptr, bitBtn6_ = nullptr, bitBtn7_ = nullptr;
    HWND button1_ = nullptr, button9_ = nullptr, button2_ = nullptr;
    bool commandsEnabled_ = false;
    HBRUSH faceBrush_;
    HBRUSH windowBrush_;
};

}  // namespace kestrin
