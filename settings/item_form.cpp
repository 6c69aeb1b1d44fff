#include "settings/item_form.h"

#include "core/ini.h"
#include "base/error.h"

namespace kestrin {

const KeyCommand kActionList1[6] = {
    {"Action1", CommandKey::CtrlUp, "BitBtn3Click"},
    {"Action2", CommandKey::CtrlDown, "BitBtn4Click"},
    {"Action3", CommandKey::CtrlRight, "BitBtn6Click"},
    {"Action4", CommandKey::CtrlLeft, "BitBtn7Click"},
    {"Action5", CommandKey::Escape, "Button4Click"},
    {"Action6", CommandKey::Enter, "Button3Click"},
};

namespace {

// Field states by Kind; kinds outside the table leave every state as it was.
struct FieldStates {
    bool kindFace;      // ComboBox2
    bool titleReadOnly;  // Edit1
    bool launchReadOnly; // Edit3, Edit2, Edit5
    bool iconReadOnly;  // Edit4, Edit6
    bool showFace;      // ComboBox1
};
constexpr FieldStates kFieldStates[3] = {
    /* Program/Command */ {false, false, false, false, false},
    /* Separator */       {false, true, true, true, true},
    /* Submenu */         {true, false, true, false, true},
};

constexpr FormEdit kAllEdits[kFormEditCount] = {FormEdit::Edit1, FormEdit::Edit3, FormEdit::Edit2,
                                                FormEdit::Edit5, FormEdit::Edit4, FormEdit::Edit6};

// Restores a flag on every way out, exceptions included.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = old_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
    bool old_;
};

}  // namespace

std::optional<int> ParseIniIntegerText(std::string_view text) {
    // The INI reading answers with a fallback on failure; no text reads as both 0 and 1.
    const int value = ParseIniInteger(text, 0);
    if (value == 0 && ParseIniInteger(text, 1) == 1) return std::nullopt;
    return value;
}

int ParseIconIndexText(const std::string& text) {
    std::optional<int> value = ParseIniIntegerText(text);
    if (!value) throw KestrinError(FormatText("'%s' is not a valid integer value", text.c_str()));
    return *value;
}

ItemForm::ItemForm(ItemStore& store, Tree& tree, ItemFormView& view) : store_(store), tree_(tree), view_(view) {}

std::vector<WindowStep> ItemForm::miSettingsClick(bool windowVisible) const {
    if (windowVisible) return {};
    return {WindowStep::ReleaseHotkey, WindowStep::ReadAutostart, WindowStep::Show, WindowStep::OpenTree};
}

std::vector<WindowStep> ItemForm::Button3Click() const {
    return {WindowStep::Hide, WindowStep::SaveItems, WindowStep::WriteAutostart, WindowStep::LoadItems};
}

std::vector<WindowStep> ItemForm::Button4Click() const { return {WindowStep::Hide, WindowStep::LoadItems}; }

void ItemForm::FormShow() {
    commandsEnabled_ = true;
    view_.SetKeyboardCommandsEnabled(true);
}

void ItemForm::FormHide() {
    commandsEnabled_ = false;
    view_.SetKeyboardCommandsEnabled(false);
}

void ItemForm::OpenTree(int position) {
    std::vector<TreeStep> steps;
    for (NodeId id : tree_.PreOrder()) {
        if (!tree_.Expanded(id)) continue;
        tree_.SetExpanded(id, false);
        steps.push_back({TreeStep::Kind::Collapse, id});
    }
    NodeId first = tree_.AtPreOrderIndex(position);
    if (first == kNoNode) first = tree_.FirstRoot();
    if (first != kNoNode) steps.push_back({TreeStep::Kind::Select, first});
    {
        FlagScope scope(updating_);
        selected_ = first;
        if (!steps.empty()) view_.ApplyTreeSteps(steps);
    }
    if (first == kNoNode) ShowBlankForm();
    else Sync(first);
    FlagScope scope(updating_);
    view_.FocusTree();
}

void ItemForm::TreeRebuilt() { selected_ = kNoNode; }

NodeId ItemForm::SelectedNode() const { return tree_.IsAlive(selected_) ? selected_ : kNoNode; }

Item* ItemForm::SelectedRow() {
    NodeId node = SelectedNode();
    if (node == kNoNode) return nullptr;
    int slot = tree_.Slot(node);
    return store_.items.IsValid(slot) ? &store_.items.At(slot) : nullptr;
}

void ItemForm::TreeView1Change(NodeId node) {
    if (updating_) return;
    if (!tree_.IsAlive(node)) {
        // The window must not sit without a selection while nodes exist.
        TreeEdit first;
        first.selected = tree_.FirstRoot();
        first.syncAfter = first.selected != kNoNode;
        if (first.syncAfter) first.steps.push_back({TreeStep::Kind::Select, first.selected});
        Apply(first);
        return;
    }
    selected_ = node;
    Sync(node);
}

void ItemForm::TreeView1Expanded(NodeId node, bool expanded) {
    if (tree_.IsAlive(node)) tree_.SetExpanded(node, expanded);
}

void ItemForm::Sync(NodeId node) {
    if (store_.suppressTreeSync || !tree_.IsAlive(node)) return;
    const int slot = tree_.Slot(node);
    const bool validRow = store_.items.IsValid(slot);
    // A node left with a stale SlotNumber by a failed load shows a default Program item
    // and stores nothing into the table.
    Item fallback;
    Item& row = validRow ? store_.items.At(slot) : fallback;
    if (tree_.HasChildren(node)) row.kind = kKindSubmenu;
    else if (row.kind == kKindSubmenu) row.kind = kKindProgram;

    FlagScope scope(updating_);
    ShowCombo(FormCombo::ComboBox2, row.kind, std::nullopt);
    ShowText(FormEdit::Edit1, tree_.Title(node));
    ShowText(FormEdit::Edit3, row.command);
    ShowText(FormEdit::Edit2, row.parameters);
    ShowText(FormEdit::Edit5, row.directory);
    ShowText(FormEdit::Edit4, row.iconFile);
    ShowText(FormEdit::Edit6, std::to_string(row.iconIndex));
    ShowCombo(FormCombo::ComboBox1, row.showState, std::nullopt);

    if (row.kind >= kComboEntryCount) return;
    const FieldStates& s = kFieldStates[row.kind];
    ShowCombo(FormCombo::ComboBox2, row.kind, s.kindFace);
    ShowReadOnly(FormEdit::Edit1, s.titleReadOnly);
    ShowReadOnly(FormEdit::Edit3, s.launchReadOnly);
    ShowReadOnly(FormEdit::Edit2, s.launchReadOnly);
    ShowReadOnly(FormEdit::Edit5, s.launchReadOnly);
    ShowReadOnly(FormEdit::Edit4, s.iconReadOnly);
    ShowReadOnly(FormEdit::Edit6, s.iconReadOnly);
    ShowCombo(FormCombo::ComboBox1, row.showState, s.showFace);
}

void ItemForm::ShowBlankForm() {
    FlagScope scope(updating_);
    for (FormEdit edit : kAllEdits) {
        ShowText(edit, edit == FormEdit::Edit6 ? "0" : "");
        ShowReadOnly(edit, true);
    }
    ShowCombo(FormCombo::ComboBox2, -1, true);
    ShowCombo(FormCombo::ComboBox1, -1, true);
}

void ItemForm::ShowText(FormEdit edit, const std::string& text) {
    std::optional<std::string>& shown = editText_[Index(edit)];
    if (shown && *shown == text) return;
    shown = text;
    view_.SetEditText(edit, text);
}

void ItemForm::ShowReadOnly(FormEdit edit, bool readOnly) {
    std::optional<bool>& shown = editReadOnly_[Index(edit)];
    if (shown && *shown == readOnly) return;
    shown = readOnly;
    view_.SetEditReadOnly(edit, readOnly);
}

void ItemForm::ShowCombo(FormCombo combo, int index, std::optional<bool> face) {
    const size_t i = static_cast<size_t>(combo);
    if (index < 0 || index >= kComboEntryCount) index = -1;
    if (comboIndex_[i] != index) {
        comboIndex_[i] = index;
        view_.SetComboIndex(combo, index);
    }
    if (face && comboFace_[i] != face) {
        comboFace_[i] = face;
        view_.SetComboFace(combo, *face);
    }
}

void ItemForm::EditChange(FormEdit edit, const std::string& text) {
    // The control shows this text now, whoever set it.
    editText_[Index(edit)] = text;
    if (updating_) return;
    const NodeId node = SelectedNode();
    if (node == kNoNode) return;
    Item* row = SelectedRow();
    switch (edit) {
    case FormEdit::Edit1: {
        tree_.SetTitle(node, text);
        FlagScope scope(updating_);
        view_.ApplyTreeSteps({{TreeStep::Kind::Retitle, node}});
        break;
    }
    case FormEdit::Edit3: if (row) row->command = text; break;
    case FormEdit::Edit2: if (row) row->parameters = text; break;
    case FormEdit::Edit5: if (row) row->directory = text; break;
    case FormEdit::Edit4: if (row) row->iconFile = text; break;
    case FormEdit::Edit6: {
        std::optional<int> value = ParseIniIntegerText(text);
        if (!value) {
            // The typed text stays and the stored index keeps its value.
            view_.ShowError(FormatText("'%s' is not a valid integer value", text.c_str()));
            return;
        }
        if (row) row->iconIndex = LowByte(*value);
        break;
    }
    }
    Sync(node);
}

void ItemForm::ComboBox1Change(int index) {
    const size_t i = static_cast<size_t>(FormCombo::ComboBox1);
    if (updating_) return;
    if (index < 0 || index >= kComboEntryCount) {
        comboIndex_[i].reset();  // the box shows typed text: the next sync sets it again
        return;
    }
    comboIndex_[i] = index;
    const NodeId node = SelectedNode();
    if (node == kNoNode) return;
    if (Item* row = SelectedRow()) row->showState = LowByte(index);
    Sync(node);
}

void ItemForm::ComboBox2Change(int index) {
    const size_t i = static_cast<size_t>(FormCombo::ComboBox2);
    if (updating_) return;
    if (index < 0 || index >= kComboEntryCount) {
        comboIndex_[i].reset();
        return;
    }
    comboIndex_[i] = index;
    const NodeId node = SelectedNode();
    if (node == kNoNode) return;
    if (index == kKindSeparator) {
        tree_.SetTitle(node, kSeparatorTitle);
        FlagScope scope(updating_);
        view_.ApplyTreeSteps({{TreeStep::Kind::Retitle, node}});
    }
    if (Item* row = SelectedRow()) row->kind = LowByte(index);
    Sync(node);
}

void ItemForm::Apply(const TreeEdit& edit) {
    {
        FlagScope scope(updating_);
        selected_ = edit.selected;
        if (!edit.steps.empty()) view_.ApplyTreeSteps(edit.steps);
        if (edit.focusTree) view_.FocusTree();
    }
    if (edit.syncAfter) Sync(edit.selected);
}

void ItemForm::Button1Click() {
    // SuppressTreeSync covers the insertion; New clears it, also after a failed load left it set.
    store_.suppressTreeSync = true;
    TreeEdit edit = NewItem(tree_, store_.items, SelectedNode());
    store_.suppressTreeSync = false;
    Apply(edit);
}

void ItemForm::Button9Click() {
    const NodeId node = SelectedNode();
    if (node == kNoNode) return;
    store_.suppressTreeSync = true;
    TreeEdit edit = DuplicateItem(tree_, store_.items, node);
    store_.suppressTreeSync = false;
    Apply(edit);
}

void ItemForm::Button2Click() {
    const NodeId node = SelectedNode();
    if (node == kNoNode) return;
    Apply(DeleteItem(tree_, node));
}

}  // namespace kestrin
