#include "settings/item_form.h"

#include <exception>

#include "core/ini.h"
#include "base/error.h"
#include "base/flag_scope.h"

namespace kestrin {

namespace {

// Field states by Kind; kinds outside the table leave every state as it was.
struct FieldStates {
    bool kindFace;
    bool titleReadOnly;
    bool launchReadOnly;  // Command, Parameters, Directory
    bool iconReadOnly;    // IconFile, IconIndex
    bool showFace;
};
constexpr FieldStates kFieldStates[3] = {
    /* Program/Command */ {false, false, false, false, false},
    /* Separator */ {false, true, true, true, true},
    /* Submenu */ {true, false, true, false, true},
};

constexpr FormEdit kAllEdits[kFormEditCount] = {FormEdit::Title,     FormEdit::Command,  FormEdit::Parameters,
                                                FormEdit::Directory, FormEdit::IconFile, FormEdit::IconIndex};

}  // namespace

std::optional<int> ParseIniIntegerText(std::string_view text) {
    // The INI reading answers with a fallback on failure; no text reads as both 0 and 1.
    const int value = ParseIniInteger(text, 0);
    if (value == 0 && ParseIniInteger(text, 1) == 1) return std::nullopt;
    return value;
}

void RunWindowSteps(const std::vector<WindowStep>& steps, const std::function<void(WindowStep)>& run) {
    std::exception_ptr autostartError;
    for (WindowStep step : steps) {
        if (step != WindowStep::WriteAutostart) {
            run(step);
            continue;
        }
        try {
            run(step);
        } catch (...) {
            autostartError = std::current_exception();
        }
    }
    if (autostartError) std::rethrow_exception(autostartError);
}

ItemForm::ItemForm(ItemStore& store, Tree& tree, ItemFormView& view) : store_(store), tree_(tree), view_(view) {}

std::vector<WindowStep> ItemForm::OpeningSteps(bool windowVisible) const {
    if (windowVisible) return {};
    return {WindowStep::ReleaseHotkey, WindowStep::ReadAutostart, WindowStep::Show, WindowStep::OpenTree};
}

std::vector<WindowStep> ItemForm::OkSteps() const {
    return {WindowStep::Hide, WindowStep::SaveItems, WindowStep::WriteAutostart, WindowStep::LoadItems};
}

std::vector<WindowStep> ItemForm::CancelSteps() const { return {WindowStep::Hide, WindowStep::LoadItems}; }

std::vector<WindowStep> ItemForm::SaveSteps() const {
    return {WindowStep::SaveItems, WindowStep::WriteAutostart, WindowStep::LoadItems};
}

void ItemForm::OnShown() { view_.SetKeyboardCommandsEnabled(true); }

void ItemForm::OnHidden() { view_.SetKeyboardCommandsEnabled(false); }

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

void ItemForm::TreeRebuilt() {
    selected_ = kNoNode;
    syncSuppressed_ = !store_.unsavedLoadError.empty();
}

NodeId ItemForm::SelectedNode() const { return tree_.IsAlive(selected_) ? selected_ : kNoNode; }

Item* ItemForm::SelectedRow() {
    NodeId node = SelectedNode();
    if (node == kNoNode) return nullptr;
    int slot = tree_.Slot(node);
    return store_.items.IsValid(slot) ? &store_.items.At(slot) : nullptr;
}

void ItemForm::OnSelectionChanged(NodeId node) {
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

void ItemForm::OnExpandedChanged(NodeId node, bool expanded) {
    if (tree_.IsAlive(node)) tree_.SetExpanded(node, expanded);
}

void ItemForm::Sync(NodeId node) {
    if (syncSuppressed_ || !tree_.IsAlive(node)) return;
    const int slot = tree_.Slot(node);
    const bool validRow = store_.items.IsValid(slot);
    // A node left with a stale SlotNumber by a failed load shows a default Program item
    // and stores nothing into the table.
    Item fallback;
    Item& row = validRow ? store_.items.At(slot) : fallback;
    if (tree_.HasChildren(node)) row.kind = kKindSubmenu;
    else if (row.kind == kKindSubmenu) row.kind = kKindProgram;

    FlagScope scope(updating_);
    ShowCombo(FormCombo::Kind, row.kind, std::nullopt);
    ShowText(FormEdit::Title, tree_.Title(node));
    ShowText(FormEdit::Command, row.command);
    ShowText(FormEdit::Parameters, row.parameters);
    ShowText(FormEdit::Directory, row.directory);
    ShowText(FormEdit::IconFile, row.iconFile);
    ShowText(FormEdit::IconIndex, std::to_string(row.iconIndex));
    ShowCombo(FormCombo::ShowState, row.showState, std::nullopt);

    if (row.kind >= kComboEntryCount) return;
    const FieldStates& states = kFieldStates[row.kind];
    ShowCombo(FormCombo::Kind, row.kind, states.kindFace);
    ShowReadOnly(FormEdit::Title, states.titleReadOnly);
    ShowReadOnly(FormEdit::Command, states.launchReadOnly);
    ShowReadOnly(FormEdit::Parameters, states.launchReadOnly);
    ShowReadOnly(FormEdit::Directory, states.launchReadOnly);
    ShowReadOnly(FormEdit::IconFile, states.iconReadOnly);
    ShowReadOnly(FormEdit::IconIndex, states.iconReadOnly);
    ShowCombo(FormCombo::ShowState, row.showState, states.showFace);
}

void ItemForm::ShowBlankForm() {
    FlagScope scope(updating_);
    for (FormEdit edit : kAllEdits) {
        ShowText(edit, edit == FormEdit::IconIndex ? "0" : "");
        ShowReadOnly(edit, true);
    }
    ShowCombo(FormCombo::Kind, -1, true);
    ShowCombo(FormCombo::ShowState, -1, true);
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
    if (index < 0 || index >= kComboEntryCount) index = -1;
    if (comboIndex_[Index(combo)] != index) {
        comboIndex_[Index(combo)] = index;
        view_.SetComboIndex(combo, index);
    }
    if (face && comboFace_[Index(combo)] != face) {
        comboFace_[Index(combo)] = face;
        view_.SetComboFace(combo, *face);
    }
}

void ItemForm::OnEditChanged(FormEdit edit, const std::string& text) {
    // The control shows this text now, whoever set it.
    editText_[Index(edit)] = text;
    if (updating_) return;
    const NodeId node = SelectedNode();
    if (node == kNoNode) return;
    Item* row = SelectedRow();
    switch (edit) {
    case FormEdit::Title: {
        tree_.SetTitle(node, text);
        FlagScope scope(updating_);
        view_.ApplyTreeSteps({{TreeStep::Kind::Retitle, node}});
        break;
    }
    case FormEdit::Command:
        if (row) row->command = text;
        break;
    case FormEdit::Parameters:
        if (row) row->parameters = text;
        break;
    case FormEdit::Directory:
        if (row) row->directory = text;
        break;
    case FormEdit::IconFile:
        if (row) row->iconFile = text;
        break;
    case FormEdit::IconIndex: {
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

void ItemForm::OnShowStateChosen(int index) {
    if (updating_) return;
    if (index < 0 || index >= kComboEntryCount) {
        // The box shows typed text: the next sync sets it again.
        comboIndex_[Index(FormCombo::ShowState)].reset();
        return;
    }
    comboIndex_[Index(FormCombo::ShowState)] = index;
    const NodeId node = SelectedNode();
    if (node == kNoNode) return;
    if (Item* row = SelectedRow()) row->showState = LowByte(index);
    Sync(node);
}

void ItemForm::OnKindChosen(int index) {
    if (updating_) return;
    if (index < 0 || index >= kComboEntryCount) {
        comboIndex_[Index(FormCombo::Kind)].reset();
        return;
    }
    comboIndex_[Index(FormCombo::Kind)] = index;
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

void ItemForm::OnNew() {
    // The new node has a row: syncing is on again, also after a failed load turned it off.
    TreeEdit edit = NewItem(tree_, store_.items, SelectedNode());
    syncSuppressed_ = false;
    Apply(edit);
}

void ItemForm::OnDropEntries(const std::vector<NewEntry>& entries, const DropPoint& point) {
    if (entries.empty()) return;
    TreeEdit edit = InsertEntries(tree_, store_.items, entries, point);
    syncSuppressed_ = false;
    Apply(edit);
}

void ItemForm::OnDuplicate() {
    const NodeId node = SelectedNode();
    if (node == kNoNode) return;
    TreeEdit edit = DuplicateItem(tree_, store_.items, node);
    syncSuppressed_ = false;
    Apply(edit);
}

void ItemForm::OnDelete() {
    const NodeId node = SelectedNode();
    if (node == kNoNode) return;
    Apply(DeleteItem(tree_, node));
}

}  // namespace kestrin
