// The settings window's rules: the item form that follows the selected tree node, the
// field handlers, the tree editing commands and the OK/Cancel sequences. The presenter
// owns no window; it drives an ItemFormView and edits the live ItemStore and Tree.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/items.h"
#include "core/tree.h"
#include "settings/tree_edit.h"

namespace kestrin {

// The edit fields of the item form.
enum class FormEdit {
    Title,  // the node's text
    Command,
    Parameters,
    Directory,
    IconFile,
    IconIndex,  // in decimal
};
constexpr int kFormEditCount = 6;

// The two selectors; an entry's index is the stored code.
enum class FormCombo {
    Kind,       // "Program/Command", "Separator (line)", "Submenu"
    ShowState,  // "Normal", "Maximized", "Minimized"
};
constexpr int kFormComboCount = 2;
constexpr int kComboEntryCount = 3;

constexpr const char* kSeparatorTitle = "--------------------";

// What the window carries out for the presenter. Calls are synchronous. Any change
// notification the window raises while carrying out a call (a text set, a selection made)
// may be forwarded to the presenter, which ignores it.
class ItemFormView {
public:
    virtual ~ItemFormView() = default;
    virtual void SetEditText(FormEdit edit, const std::string& text) = 0;
    // Read-only fields show the button-face colour, editable ones the window colour.
    virtual void SetEditReadOnly(FormEdit edit, bool readOnly) = 0;
    // An index outside the entries clears the selector's choice.
    virtual void SetComboIndex(FormCombo combo, int index) = 0;
    // Selectors are never read-only; only their colour says whether the choice matters.
    virtual void SetComboFace(FormCombo combo, bool face) = 0;
    virtual void ApplyTreeSteps(const std::vector<TreeStep>& steps) = 0;
    virtual void FocusTree() = 0;
    // Shown in the program's standard error box.
    virtual void ShowError(const std::string& message) = 0;
    // The six keyboard commands: Ctrl+arrows, Esc and Enter.
    virtual void SetKeyboardCommandsEnabled(bool enabled) = 0;
};

// What the window itself does, in list order, for opening, OK and Cancel. A step that
// fails (its error goes to the error box) ends the list: a failed SaveItems leaves the
// window hidden, the autostart untouched and the edits in memory. Only a failed
// WriteAutostart lets the list go on and is shown at its end: a save is always followed by
// its reload, or the launcher menu would pair the new titles with the old rows.
enum class WindowStep {
    ReleaseHotkey,   // release the global hotkey while the window is open
    ReadAutostart,   // read the autostart value into the check box and remember it
    Show,            // make the window visible (then ItemForm::OnShown)
    OpenTree,        // ItemForm::OpenTree()
    Hide,            // hide the window (then ItemForm::OnHidden)
    SaveItems,       // write the hotkey, the tree and the ItemTable to the ConfigFile
    WriteAutostart,  // apply the check box to the autostart value
    LoadItems,       // reload store, tree and hotkey; then ItemForm::TreeRebuilt()
};

// Runs `steps` in order through `run`. A step that throws ends the list and its error goes
// on; a throwing WriteAutostart lets the rest run and its error goes on after them.
void RunWindowSteps(const std::vector<WindowStep>& steps, const std::function<void(WindowStep)>& run);

// The window's keyboard commands, matched before the focused control: Ctrl+Up, Ctrl+Down,
// Ctrl+Right, Ctrl+Left, Esc and Enter.
enum class CommandKey { MoveUp, MoveDown, MoveIntoSubmenu, MoveOutOfSubmenu, Cancel, Ok };

// The INI integer reading of a text (ParseIniInteger), nullopt where it is no integer.
std::optional<int> ParseIniIntegerText(std::string_view text);

class ItemForm {
public:
    ItemForm(ItemStore& store, Tree& tree, ItemFormView& view);

    // Opening: the steps for "&Settings"; none while the window is already visible.
    std::vector<WindowStep> OpeningSteps(bool windowVisible) const;
    // Collapses every node, selects the node at `position` in tree order (the first when
    // out of range) and syncs; on an empty tree shows a blank, read-only form.
    void OpenTree(int position = 0);
    // After a load replaced the tree: node ids no longer mean what they meant. A load that
    // emptied the table under the tree (store.unsavedLoadError set) leaves syncing off until
    // New or Duplicate gives the tree a row again.
    void TreeRebuilt();

    // OK and Cancel (also Enter and Esc).
    std::vector<WindowStep> OkSteps() const;
    std::vector<WindowStep> CancelSteps() const;
    // What Import does first: what OK does, with the window kept open.
    std::vector<WindowStep> SaveSteps() const;
    void OnShown();
    void OnHidden();

    // The tree reports a new selection, and nodes the user expanded or collapsed.
    void OnSelectionChanged(NodeId node);
    void OnExpandedChanged(NodeId node, bool expanded);
    // The sync: children rule, then the form filled from the node and its row.
    void Sync(NodeId node);

    // A field's new text, on every change.
    void OnEditChanged(FormEdit edit, const std::string& text);
    // The chosen entry's index; -1 (typed text matching no entry) or any other index
    // outside the entries stores nothing.
    void OnKindChosen(int index);
    void OnShowStateChosen(int index);

    // Tree editing.
    void OnMoveUp() { Apply(MoveUp(tree_, selected_)); }
    void OnMoveDown() { Apply(MoveDown(tree_, selected_)); }
    void OnMoveIntoSubmenu() { Apply(MoveIntoSubmenu(tree_, selected_)); }
    void OnMoveOutOfSubmenu() { Apply(MoveOutOfSubmenu(tree_, selected_)); }
    // Drag to arrange, and entries for things dropped onto the tree.
    void OnDragMove(NodeId moved, const DropPoint& point) { Apply(DragMove(tree_, moved, point)); }
    void OnDropEntries(const std::vector<NewEntry>& entries, const DropPoint& point);
    void OnNew();
    void OnDuplicate();
    void OnDelete();

    NodeId Selected() const { return selected_; }

private:
    static size_t Index(FormEdit edit) { return static_cast<size_t>(edit); }
    static size_t Index(FormCombo combo) { return static_cast<size_t>(combo); }
    NodeId SelectedNode() const;
    Item* SelectedRow();
    void Apply(const TreeEdit& edit);
    void ShowText(FormEdit edit, const std::string& text);
    void ShowReadOnly(FormEdit edit, bool readOnly);
    void ShowCombo(FormCombo combo, int index, std::optional<bool> face);
    void ShowBlankForm();

    ItemStore& store_;
    Tree& tree_;
    ItemFormView& view_;
    NodeId selected_ = kNoNode;
    // True while the presenter itself drives the view: change notifications are echoes.
    bool updating_ = false;
    // Set while the tree's nodes have no rows (a failed load): a sync would show nothing real.
    bool syncSuppressed_ = false;
    std::array<std::optional<std::string>, kFormEditCount> editText_;
    std::array<std::optional<bool>, kFormEditCount> editReadOnly_;
    std::array<std::optional<int>, kFormComboCount> comboIndex_;
    std::array<std::optional<bool>, kFormComboCount> comboFace_;
};

}  // namespace kestrin
