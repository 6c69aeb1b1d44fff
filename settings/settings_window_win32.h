// The settings window: built from its layout table, hidden until "&Settings", owner of its
// controls, their messages, OK and Cancel. Rules are the ItemForm presenter's; the state it
// edits, the hotkey registration and the autostart value are the host's.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/form_builder_win32.h"
#include "base/message_window_win32.h"
#include "base/owned_win32.h"
#include "settings/file_dialog_win32.h"
#include "settings/folder_browser_win32.h"
#include "settings/item_form.h"
#include "settings/settings_host.h"
#include "settings/tree_drop_win32.h"
#include "settings/tree_view_win32.h"

namespace kestrin {

class SettingsWindow final : public MessageWindow, private ItemFormView {
public:
    // Creates the window hidden, owned by `owner` (the window that carries the taskbar button
    // while this one shows). Throws KestrinError when the window cannot be made.
    SettingsWindow(HWND owner, SettingsHost& host);
    ~SettingsWindow() override;

    // "&Settings": shows the window on the first node; nothing while it is already shown.
    void Open();
    // The keyboard commands and dialog navigation, before the message is dispatched: true
    // when the message was used up.
    bool PreTranslate(MSG& msg);
    // After every load of the host's state: the tree and the hotkey shown anew.
    void StateReloaded();
    // The owner's taskbar button was minimized (the window hides to the tray) or restored.
    void OnTaskbarMinimized();
    void OnTaskbarRestored();

    // For the benchmark that drives the tree as the window does.
    ItemForm& Presenter() { return form_; }
    TreeViewAdapter& TreeView() { return treeView_; }

private:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void RunSteps(const std::vector<WindowStep>& steps);
    void RunKeyCommand(CommandKey key);
    void OnOk() { RunSteps(form_.OkSteps()); }
    void OnCancel() { RunSteps(form_.CancelSteps()); }
    void OnCommand(int id, int code, HWND control);
    void OnComboChanged(FormCombo combo, int code, HWND control);
    // The path helpers: each only sets a field's text, which the field's change handling
    // stores, also in a read-only field.
    void OnDriveToPlaceholder(FormEdit edit);
    void OnBrowseFile(FormEdit edit);
    void OnBrowseFolder();
    void OnPickIcon();
    void OnHomePage();
    // Item sets: Export saves the window first, Import appends to the ConfigFile and reloads.
    void OnExport();
    void OnImport();
    std::string FieldText(FormEdit edit) const;
    void SetFieldText(FormEdit edit, const std::string& text);
    bool OnNotify(const NMHDR& header);
    // Dragging on the tree (settings_window_drag_win32.cpp).
    void SetUpDropping();
    void BeginDrag(NodeId node);
    bool OnDragMessage(UINT msg, WPARAM wp, LPARAM lp);
    void EndDrag(bool drop);
    DropPoint FileDropPointAt(POINT screen) const;
    void DropFiles(const std::vector<std::string>& paths, POINT screen);
    bool OnColor(UINT msg, HDC dc, HWND control, LRESULT* result) const;
    void OnActivate(bool active);
    std::optional<CommandKey> KeyCommandOf(const MSG& msg) const;
    LRESULT ColorResult(HDC dc, bool face) const;
    bool IsEdit(HWND control) const;
    std::optional<FormCombo> ComboOf(HWND control) const;
    bool AutostartChecked() const;
    void ShowHotkey();
    // Lays the window out at a new DPI, keeping the top-left corner Windows suggests.
    void OnDpiChanged(int dpi, const RECT& suggested);

    // ItemFormView
    void SetEditText(FormEdit edit, const std::string& text) override;
    void SetEditReadOnly(FormEdit edit, bool readOnly) override;
    void SetComboIndex(FormCombo combo, int index) override;
    void SetComboFace(FormCombo combo, bool face) override;
    void ApplyTreeSteps(const std::vector<TreeStep>& steps) override;
    void FocusTree() override;
    void ShowError(const std::string& message) override;
    void SetKeyboardCommandsEnabled(bool enabled) override { commandsEnabled_ = enabled; }

    HWND owner_;
    SettingsHost& host_;
    ProgramState& state_;
    OwnedFont font_;
    // Brushes of our own: a themed edit handed the system's stock brush may draw its theme
    // background instead, and then a face-coloured selector would show white.
    OwnedBrush faceBrush_;
    OwnedBrush windowBrush_;
    BuiltForm controls_;
    TreeViewAdapter treeView_;
    std::array<HWND, kFormEditCount> edits_{};
    std::array<HWND, kFormComboCount> combos_{};
    std::array<bool, kFormComboCount> comboFace_{};
    HWND hotkeyField_ = nullptr;
    HWND autostartBox_ = nullptr;
    ItemForm form_;
    FileDialog openDialog_;
    FileDialog saveDialog_;
    FolderBrowser folderBrowser_;
    // The control that had the focus when the window was last deactivated.
    HWND lastFocus_ = nullptr;
    bool commandsEnabled_ = false;
    TreeDropFeedback dropFeedback_{treeView_};
    std::unique_ptr<TreeFileDropTarget> fileDropTarget_;
    NodeId dragged_ = kNoNode;  // the node being dragged within the tree
};

}  // namespace kestrin
