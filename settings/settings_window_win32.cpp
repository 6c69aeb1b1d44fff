#include "settings/settings_window_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "base/error.h"
#include "core/config.h"
#include "core/file_system.h"
#include "base/window_dispatch_win32.h"
#include "core/launch.h"
#include "settings/icon_picker.h"
#include "settings/icon_picker_win32.h"
#include "settings/item_sets.h"
#include "settings/keyboard_commands.h"
#include "settings/layout.h"
#include "settings/path_rules.h"
#include "shell/hotkey.h"
#include "shell/hotkey_win32.h"
#include "shell/launch_win32.h"

namespace kestrin {

namespace {

using C = SettingsControl;

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

SettingsWindow::SettingsWindow(HWND owner, ItemStore& store, Tree& tree, SettingsHost& host)
    : owner_(owner),
      store_(store),
      tree_(tree),
      host_(host),
      font_(CreateFormFont(kSettingsForm)),
      faceBrush_(CreateSolidBrush(GetSysColor(COLOR_BTNFACE))),
      windowBrush_(CreateSolidBrush(GetSysColor(COLOR_WINDOW))),
      form_(store, tree, *this) {
    hwnd_ = CreateFormWindow(kSettingsForm, owner);
    if (!hwnd_) throw KestrinError("Error creating window");
    PlaceForm(hwnd_, kSettingsForm);
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    controls_ = BuildForm(hwnd_, kSettingsForm, font_.get());
    treeView_.Attach(controls_.Get(C::Tree));
    edits_ = {controls_.Get(C::TitleEdit),     controls_.Get(C::CommandEdit),  controls_.Get(C::ParametersEdit),
              controls_.Get(C::DirectoryEdit), controls_.Get(C::IconFileEdit), controls_.Get(C::IconIndexEdit)};
    combos_ = {controls_.Get(C::Kind), controls_.Get(C::ShowState)};
    hotkeyField_ = controls_.Get(C::Hotkey);
    autostartBox_ = controls_.Get(C::Autostart);
    if (hotkeyField_) {
        SetHotKeyControlRules(hotkeyField_);
        WriteHotKeyControl(hotkeyField_, kDefaultHotkey);
    }
    // Messages reach the handlers only once everything they use exists.
    saveDialog_.forSaving = true;
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc));
}

SettingsWindow::~SettingsWindow() {
    SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
    // A deep tree would be torn down recursively by the control itself.
    treeView_.Clear();
    // The controls go with the window; their glyphs, fonts and brushes after them.
    DestroyWindow(hwnd_);
    controls_ = BuiltForm();
}

void SettingsWindow::Open() { RunSteps(form_.OpeningSteps(IsWindowVisible(hwnd_) != FALSE)); }

void SettingsWindow::ShowHotkey(std::uint16_t value) {
    if (hotkeyField_) WriteHotKeyControl(hotkeyField_, value);
}

std::uint16_t SettingsWindow::Hotkey() const { return hotkeyField_ ? ReadHotKeyControl(hotkeyField_) : 0; }

void SettingsWindow::TreeReloaded() {
    form_.TreeRebuilt();
    treeView_.Fill(tree_);
}

bool SettingsWindow::AutostartChecked() const {
    return autostartBox_ && SendMessageA(autostartBox_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// A step that throws ends the list: the error box shows it and later steps do not run.
void SettingsWindow::RunSteps(const std::vector<WindowStep>& steps) {
    for (WindowStep step : steps) {
        switch (step) {
        case WindowStep::ReleaseHotkey: host_.ReleaseHotkey(); break;
        case WindowStep::ReadAutostart: {
            const bool on = host_.AutostartIsOn();
            if (autostartBox_) SendMessageA(autostartBox_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
            autostartWasOn_ = AutostartChecked() ? 1 : 0;
            break;
        }
        case WindowStep::Show:
            // The owner carries the taskbar button while the window is shown.
            ShowWindow(owner_, SW_SHOWNOACTIVATE);
            ShowWindow(hwnd_, SW_SHOW);
            break;
        case WindowStep::OpenTree: form_.OpenTree(); break;
        case WindowStep::Hide:
            ShowWindow(hwnd_, SW_HIDE);
            ShowWindow(owner_, SW_HIDE);
            break;
        case WindowStep::SaveItems: host_.SaveItems(Hotkey()); break;
        case WindowStep::WriteAutostart: {
            const AutostartPlan plan = PlanAutostart(AutostartChecked(), autostartWasOn_);
            host_.ApplyAutostart(plan);
            autostartWasOn_ = plan.wasOnAfter;
            break;
        }
        case WindowStep::LoadItems: host_.LoadItems(); break;
        }
    }
}

void SettingsWindow::RunKeyCommand(CommandKey key) {
    switch (key) {
    case CommandKey::MoveUp: form_.OnMoveUp(); break;
    case CommandKey::MoveDown: form_.OnMoveDown(); break;
    case CommandKey::MoveIntoSubmenu: form_.OnMoveIntoSubmenu(); break;
    case CommandKey::MoveOutOfSubmenu: form_.OnMoveOutOfSubmenu(); break;
    case CommandKey::Cancel: OnCancel(); break;
    case CommandKey::Ok: OnOk(); break;
    }
}

bool SettingsWindow::PreTranslate(MSG& msg) {
    if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
    if (msg.message == WM_KEYDOWN && IsWindowVisible(hwnd_) && GetActiveWindow() == hwnd_) {
        if (const std::optional<CommandKey> key = KeyCommandOf(msg)) {
            CallGuarded([&] {
                RunKeyCommand(*key);
                return LRESULT(0);
            });
            return true;
        }
    }
    return IsDialogMessageA(hwnd_, &msg) != FALSE;
}

std::optional<CommandKey> SettingsWindow::KeyCommandOf(const MSG& msg) const {
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

LRESULT CALLBACK SettingsWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* window = reinterpret_cast<SettingsWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!window) return DefWindowProcA(hwnd, msg, wp, lp);
    return CallGuarded([&] { return window->HandleMessage(msg, wp, lp); });
}

LRESULT SettingsWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CLOSE:
        // Closing the settings window from outside ends the program.
        PostQuitMessage(0);
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: {
        LRESULT result = 0;
        if (msg == WM_CTLCOLORSTATIC && HandleLinkLabelColor(controls_, wp, lp, &result)) return result;
        if (OnColor(msg, reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp), &result)) return result;
        break;
    }
    case WM_COMMAND:
        OnCommand(reinterpret_cast<HWND>(lp), HIWORD(wp));
        return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lp);
        if (header && OnNotify(*header)) return 0;
        break;
    }
    case WM_SHOWWINDOW:
        if (wp) {
            // Shown by the program (not uncovered): it comes to the front.
            if (lp == 0) {
                if (owner_) SetForegroundWindow(owner_);
                SetForegroundWindow(hwnd_);
            }
            form_.OnShown();
        } else {
            form_.OnHidden();
        }
        break;
    case WM_ACTIVATE:
        OnActivate(LOWORD(wp) != WA_INACTIVE);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd_, msg, wp, lp);
}

// Like a dialog, the window gives the focus back to the control that last had it.
void SettingsWindow::OnActivate(bool active) {
    if (!active) {
        const HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
        return;
    }
    if (lastFocus_ && IsWindow(lastFocus_) && IsChild(hwnd_, lastFocus_)) SetFocus(lastFocus_);
    else if (treeView_.Handle()) SetFocus(treeView_.Handle());
}

LRESULT SettingsWindow::ColorResult(HDC dc, bool face) const {
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(face ? COLOR_BTNFACE : COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(face ? faceBrush_.get() : windowBrush_.get());
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

bool SettingsWindow::OnCommand(HWND control, int code) {
    if (!control) return false;
    const int edit = EditIndex(control);
    if (edit >= 0) {
        if (code == EN_CHANGE) form_.OnEditChanged(static_cast<FormEdit>(edit), WindowText(control));
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
            if (static_cast<FormCombo>(combo) == FormCombo::Kind) form_.OnKindChosen(index);
            else form_.OnShowStateChosen(index);
        }
        return true;
    }
    const BuiltControl* clicked = controls_.ByHwnd(control);
    if (!clicked) return false;
    const C role = static_cast<C>(clicked->def->role);
    if (role == C::HomePageLink) {
        if (code == STN_DBLCLK) OnHomePage();
        return true;
    }
    if (code != BN_CLICKED) return false;
    switch (role) {
    case C::Ok: OnOk(); break;
    case C::Cancel: OnCancel(); break;
    case C::MoveUp: form_.OnMoveUp(); break;
    case C::MoveDown: form_.OnMoveDown(); break;
    case C::MoveIntoSubmenu: form_.OnMoveIntoSubmenu(); break;
    case C::MoveOutOfSubmenu: form_.OnMoveOutOfSubmenu(); break;
    case C::New: form_.OnNew(); break;
    case C::Duplicate: form_.OnDuplicate(); break;
    case C::Delete: form_.OnDelete(); break;
    case C::CommandUsb: OnDriveToPlaceholder(FormEdit::Command); break;
    case C::DirectoryUsb: OnDriveToPlaceholder(FormEdit::Directory); break;
    case C::IconFileUsb: OnDriveToPlaceholder(FormEdit::IconFile); break;
    case C::CommandBrowse: OnBrowseFile(FormEdit::Command); break;
    case C::IconFileBrowse: OnBrowseFile(FormEdit::IconFile); break;
    case C::DirectoryBrowse: OnBrowseFolder(); break;
    case C::IconPick: OnPickIcon(); break;
    case C::Export: OnExport(); break;
    case C::Import: OnImport(); break;
    default: return false;
    }
    return true;
}

std::string SettingsWindow::FieldText(FormEdit edit) const {
    const HWND field = edits_[static_cast<size_t>(edit)];
    return field ? WindowText(field) : std::string();
}

// The field reports the change as if typed, so the selected item's row takes the text.
void SettingsWindow::SetFieldText(FormEdit edit, const std::string& text) {
    if (const HWND field = edits_[static_cast<size_t>(edit)]) SetWindowTextA(field, text.c_str());
}

void SettingsWindow::OnDriveToPlaceholder(FormEdit edit) {
    if (const std::optional<std::string> text = DriveToPlaceholder(FieldText(edit))) SetFieldText(edit, *text);
}

void SettingsWindow::OnBrowseFile(FormEdit edit) {
    const std::string remembered = openDialog_.fileName;
    const std::string path = FileDialogPath(ExpandDrive(FieldText(edit), ExeDrive(ExecutablePath())));
    if (!path.empty()) {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        const bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
        const FileDialogStart start = FileDialogStartFor(path, folder);
        if (!start.initialDir.empty()) openDialog_.initialDir = start.initialDir;
        if (start.fileName) openDialog_.fileName = *start.fileName;
    }
    if (openDialog_.Execute(hwnd_)) SetFieldText(edit, openDialog_.fileName);
    else openDialog_.fileName = remembered;  // a proposal not taken is not remembered
}

void SettingsWindow::OnBrowseFolder() {
    // The working directory starts from the Command's folder, not from its own text.
    const std::string command = ExpandDrive(FieldText(FormEdit::Command), ExeDrive(ExecutablePath()));
    if (!command.empty()) folderBrowser_.folderName = FolderPartOf(command);
    if (folderBrowser_.Execute(hwnd_)) SetFieldText(FormEdit::Directory, folderBrowser_.folderName);
}

void SettingsWindow::OnPickIcon() {
    const std::string iconFile = FieldText(FormEdit::IconFile);
    const std::string command = FieldText(FormEdit::Command);
    if (iconFile.empty() && command.empty()) {
        SetFieldText(FormEdit::IconIndex, "0");
        return;
    }
    const std::string indexText = FieldText(FormEdit::IconIndex);
    const std::optional<int> index = ParseIniIntegerText(indexText);
    if (!index) throw KestrinError(FormatText("'%s' is not a valid integer value", indexText.c_str()));
    const std::string exe = ExecutablePath();
    const std::string file = IconPickerFile(iconFile, command, FolderPartOf(exe), ExeDrive(exe));
    if (const std::optional<int> picked = RunIconPicker(hwnd_, file, *index))
        SetFieldText(FormEdit::IconIndex, std::to_string(*picked));
}

void SettingsWindow::OnHomePage() {
    const HWND link = controls_.Get(C::HomePageLink);
    if (!link) return;
    // Nothing to report when no browser takes it.
    ShellExecuteA(hwnd_, "open", HomePageAddress(WindowText(link)).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

namespace {

constexpr const char* kItemSetFilter = "Kestrin (*.set)|*.set";

// The hourglass while a file is written or read.
class WaitCursor {
public:
    WaitCursor() : previous_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous_;
};

}  // namespace

void SettingsWindow::OnExport() {
    const NodeId selected = form_.Selected();
    const int position = tree_.IsAlive(selected) ? tree_.PreOrderIndex(selected) : 0;
    // The set is written from the saved file's order, so the window's edits are saved first;
    // a failed save ends here with the window hidden.
    OnOk();
    ShowWindow(owner_, SW_SHOWNOACTIVATE);
    ShowWindow(hwnd_, SW_SHOW);
    form_.OpenTree(position);

    const NodeId node = form_.Selected();
    saveDialog_.filter = kItemSetFilter;
    saveDialog_.defaultExtension = "set";
    saveDialog_.initialDir = ProgramFolderForDialogs(ExecutablePath());
    saveDialog_.fileName = tree_.IsAlive(node) ? ExportFileName(tree_.Title(node)) : std::string();
    if (!saveDialog_.Execute(hwnd_)) return;
    // The same file by another spelling of its name: a short name, say.
    const auto longPath = [](const std::string& path) {
        char full[MAX_PATH];
        const DWORD length = GetLongPathNameA(path.c_str(), full, sizeof full);
        return length > 0 && length < sizeof full ? std::string(full, length) : path;
    };
    if (IsSameFilePath(longPath(saveDialog_.fileName), longPath(ConfigFilePath(ExecutablePath()))))
        throw KestrinError(
            FormatText("The settings file cannot be the target of an export: %s", saveDialog_.fileName.c_str()));
    const WaitCursor wait;
    const std::string text = ItemSetText(store_.outline, store_.items, tree_.IsAlive(node) ? position : -1);
    if (!Win32FileSystem().ReplaceAtomically(saveDialog_.fileName, text))
        throw KestrinError(FormatText("Unable to write to %s", saveDialog_.fileName.c_str()));
}

void SettingsWindow::OnImport() {
    openDialog_.filter = kItemSetFilter;
    openDialog_.initialDir = ProgramFolderForDialogs(ExecutablePath());
    // The browse buttons find the dialog as it was, whatever happens here.
    struct ClearAfterwards {
        FileDialog& dialog;
        ~ClearAfterwards() {
            dialog.filter.clear();
            dialog.initialDir.clear();
        }
    } clear{openDialog_};
    if (!openDialog_.Execute(hwnd_)) return;
    {
        const WaitCursor wait;
        host_.ImportItemSet(openDialog_.fileName);
    }
    // The window stays open on the reloaded tree, its first node selected.
    try {
        host_.LoadItems();
    } catch (...) {
        form_.OpenTree();
        throw;
    }
    form_.OpenTree();
}

bool SettingsWindow::OnNotify(const NMHDR& header) {
    if (header.hwndFrom != treeView_.Handle() || !treeView_.Handle()) return false;
    const auto& tv = reinterpret_cast<const NMTREEVIEWA&>(header);
    switch (header.code) {
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
        if (!treeView_.Busy()) form_.OnSelectionChanged(TreeViewAdapter::NodeOfItem(tv.itemNew));
        return true;
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDEDW:
        if (!treeView_.Busy())
            form_.OnExpandedChanged(TreeViewAdapter::NodeOfItem(tv.itemNew),
                                    (tv.action & (TVE_EXPAND | TVE_COLLAPSE)) == TVE_EXPAND);
        return true;
    default: return false;
    }
}

// Editable fields in the window colour; read-only fields, face-coloured selectors and every
// label in the button-face colour.
bool SettingsWindow::OnColor(UINT msg, HDC dc, HWND control, LRESULT* result) const {
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

}  // namespace kestrin
