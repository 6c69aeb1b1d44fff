#include "settings/settings_window_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "base/dpi_win32.h"
#include "base/error.h"
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

// The edit fields by FormEdit.
constexpr C kEditRoles[kFormEditCount] = {C::TitleEdit,     C::CommandEdit,  C::ParametersEdit,
                                          C::DirectoryEdit, C::IconFileEdit, C::IconIndexEdit};

std::optional<FormEdit> EditOfRole(C role) {
    for (int i = 0; i < kFormEditCount; ++i)
        if (kEditRoles[i] == role) return static_cast<FormEdit>(i);
    return std::nullopt;
}

std::optional<FormCombo> ComboOfRole(C role) {
    if (role == C::Kind) return FormCombo::Kind;
    if (role == C::ShowState) return FormCombo::ShowState;
    return std::nullopt;
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

SettingsWindow::SettingsWindow(HWND owner, SettingsHost& host)
    : owner_(owner),
      host_(host),
      state_(host.State()),
      faceBrush_(CreateSolidBrush(GetSysColor(COLOR_BTNFACE))),
      windowBrush_(CreateSolidBrush(GetSysColor(COLOR_WINDOW))),
      form_(state_.store, state_.tree, *this) {
    CreateForm(kSettingsForm, owner);
    const HWND hwnd = Handle();
    const int dpi = WindowDpi(hwnd);
    font_ = CreateFormFont(kSettingsForm, dpi);
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    controls_ = BuildForm(hwnd, kSettingsForm, font_.get());
    PlaceForm(hwnd, LayOutForm(hwnd, kSettingsForm, dpi, font_.get(), &controls_), dpi);
    treeView_.Attach(controls_.Get(C::Tree));
    for (int i = 0; i < kFormEditCount; ++i) edits_[static_cast<size_t>(i)] = controls_.Get(kEditRoles[i]);
    combos_ = {controls_.Get(C::Kind), controls_.Get(C::ShowState)};
    hotkeyField_ = controls_.Get(C::Hotkey);
    autostartBox_ = controls_.Get(C::Autostart);
    if (hotkeyField_) SetHotKeyControlRules(hotkeyField_);
    ShowHotkey();
    saveDialog_.forSaving = true;
    SetUpDropping();
}

SettingsWindow::~SettingsWindow() {
    fileDropTarget_.reset();
    // A deep tree would be torn down recursively by the control itself.
    treeView_.Clear();
    // The controls go with the window, before the glyphs, fonts and brushes they use.
    Destroy();
}

void SettingsWindow::Open() { RunSteps(form_.OpeningSteps(IsWindowVisible(Handle()) != FALSE)); }

void SettingsWindow::StateReloaded() {
    form_.TreeRebuilt();
    treeView_.Fill(state_.tree);
    ShowHotkey();
}

void SettingsWindow::ShowHotkey() {
    if (hotkeyField_) WriteHotKeyControl(hotkeyField_, state_.hotkey);
}

void SettingsWindow::OnDpiChanged(int dpi, const RECT& suggested) {
    if (dpi <= 0) return;
    OwnedFont font = CreateFormFont(kSettingsForm, dpi);
    const HWND hwnd = Handle();
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    const SIZE client = LayOutForm(hwnd, kSettingsForm, dpi, font.get(), &controls_);
    // The controls hold the new font now; the old one can go.
    font_ = std::move(font);
    ResizeForDpi(hwnd, client, dpi, suggested);
}

void SettingsWindow::OnTaskbarMinimized() {
    ShowWindow(Handle(), SW_HIDE);
    if (IsWindowVisible(owner_)) ShowWindow(owner_, SW_HIDE);
}

void SettingsWindow::OnTaskbarRestored() {
    if (IsIconic(Handle())) ShowWindow(Handle(), SW_RESTORE);
    ShowWindow(Handle(), SW_SHOW);
}

bool SettingsWindow::AutostartChecked() const {
    return autostartBox_ && SendMessageA(autostartBox_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SettingsWindow::RunSteps(const std::vector<WindowStep>& steps) {
    RunWindowSteps(steps, [this](WindowStep step) {
        switch (step) {
        case WindowStep::ReleaseHotkey: host_.ReleaseHotkey(); break;
        case WindowStep::ReadAutostart: {
            const bool on = host_.AutostartIsOn();
            if (autostartBox_) SendMessageA(autostartBox_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
            state_.autostartWasOn = AutostartChecked();
            break;
        }
        case WindowStep::Show:
            // The owner carries the taskbar button while the window is shown.
            ShowWindow(owner_, SW_SHOWNOACTIVATE);
            ShowWindow(Handle(), SW_SHOW);
            break;
        case WindowStep::OpenTree: form_.OpenTree(); break;
        case WindowStep::Hide:
            ShowWindow(Handle(), SW_HIDE);
            ShowWindow(owner_, SW_HIDE);
            break;
        case WindowStep::SaveItems:
            if (hotkeyField_) state_.hotkey = ReadHotKeyControl(hotkeyField_);
            host_.SaveState();
            break;
        case WindowStep::WriteAutostart: {
            const AutostartPlan plan = PlanAutostart(AutostartChecked(), state_.autostartWasOn);
            host_.ApplyAutostart(plan);
            state_.autostartWasOn = plan.wasOnAfter;
            break;
        }
        case WindowStep::LoadItems: host_.ReloadState(); break;
        }
    });
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
    const HWND hwnd = Handle();
    if (!hwnd || (msg.hwnd != hwnd && !IsChild(hwnd, msg.hwnd))) return false;
    // Esc during a drag ends the drag, not the window.
    if (dragged_ != kNoNode && msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
        EndDrag(false);
        return true;
    }
    if (msg.message == WM_KEYDOWN && IsWindowVisible(hwnd) && GetActiveWindow() == hwnd) {
        if (const std::optional<CommandKey> key = KeyCommandOf(msg)) {
            CallGuarded([&] {
                RunKeyCommand(*key);
                return LRESULT(0);
            });
            return true;
        }
    }
    return IsDialogMessageA(hwnd, &msg) != FALSE;
}

std::optional<CommandKey> SettingsWindow::KeyCommandOf(const MSG& msg) const {
    KeyPress press;
    press.key = KeyOf(msg.wParam);
    if (press.key == PressedKey::Other) return std::nullopt;
    press.ctrl = GetKeyState(VK_CONTROL) < 0;
    press.shift = GetKeyState(VK_SHIFT) < 0;
    press.alt = GetKeyState(VK_MENU) < 0;
    bool dropped = false;
    if (const std::optional<FormCombo> combo = ComboOf(GetFocus()))
        dropped = SendMessageA(combos_[static_cast<size_t>(*combo)], CB_GETDROPPEDSTATE, 0, 0) != 0;
    return MatchKeyCommand(press, commandsEnabled_, dropped);
}

LRESULT SettingsWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (OnDragMessage(msg, wp, lp)) return 0;
    switch (msg) {
    case WM_SYSCOMMAND:
        // Alt+F4 on the shown window is Cancel, as Esc is.
        if ((wp & 0xFFF0) == SC_CLOSE) {
            if (IsWindowVisible(Handle())) OnCancel();
            return 0;
        }
        break;
    case WM_CLOSE:
        // A request from outside (the window's own close is Cancel, above) ends the program.
        PostQuitMessage(0);
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: {
        LRESULT result = 0;
        if (msg == WM_CTLCOLORSTATIC && HandleLinkLabelColor(controls_, wp, lp, &result)) return result;
        if (OnColor(msg, reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp), &result)) return result;
        break;
    }
    case WM_COMMAND: OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)); return 0;
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
                SetForegroundWindow(Handle());
            }
            form_.OnShown();
        } else {
            form_.OnHidden();
        }
        break;
    case WM_ACTIVATE: OnActivate(LOWORD(wp) != WA_INACTIVE); return 0;
    case WM_DPICHANGED: OnDpiChanged(HIWORD(wp), *reinterpret_cast<const RECT*>(lp)); return 0;
    default: break;
    }
    return DefaultHandling(msg, wp, lp);
}

// Like a dialog, the window gives the focus back to the control that last had it.
void SettingsWindow::OnActivate(bool active) {
    if (!active) {
        const HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus)) lastFocus_ = focus;
        return;
    }
    if (lastFocus_ && IsWindow(lastFocus_) && IsChild(Handle(), lastFocus_)) SetFocus(lastFocus_);
    else if (treeView_.Handle()) SetFocus(treeView_.Handle());
}

LRESULT SettingsWindow::ColorResult(HDC dc, bool face) const {
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(face ? COLOR_BTNFACE : COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(face ? faceBrush_.get() : windowBrush_.get());
}

bool SettingsWindow::IsEdit(HWND control) const {
    const ControlDef* row = control ? ControlById(kSettingsForm, GetDlgCtrlID(control)) : nullptr;
    return row && GetParent(control) == Handle() && EditOfRole(static_cast<C>(row->role));
}

// The selector itself or the edit field inside it.
std::optional<FormCombo> SettingsWindow::ComboOf(HWND control) const {
    if (control && GetParent(control) != Handle()) control = GetParent(control);
    if (!control || GetParent(control) != Handle()) return std::nullopt;
    const ControlDef* row = ControlById(kSettingsForm, GetDlgCtrlID(control));
    return row ? ComboOfRole(static_cast<C>(row->role)) : std::nullopt;
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

void SettingsWindow::ApplyTreeSteps(const std::vector<TreeStep>& steps) { treeView_.Apply(state_.tree, steps); }

void SettingsWindow::FocusTree() {
    if (treeView_.Handle()) SetFocus(treeView_.Handle());
}

void SettingsWindow::ShowError(const std::string& message) { ReportError(message.c_str()); }

void SettingsWindow::OnCommand(int id, int code, HWND control) {
    // Menus and accelerators (no control) have nothing here.
    const ControlDef* row = control ? ControlById(kSettingsForm, id) : nullptr;
    if (!row) return;
    const C role = static_cast<C>(row->role);
    if (const std::optional<FormEdit> edit = EditOfRole(role)) {
        if (code == EN_CHANGE) form_.OnEditChanged(*edit, WindowText(control));
        return;
    }
    if (const std::optional<FormCombo> combo = ComboOfRole(role)) return OnComboChanged(*combo, code, control);
    if (role == C::HomePageLink) {
        if (code == STN_DBLCLK) OnHomePage();
        return;
    }
    if (code != BN_CLICKED) return;
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
    default: break;
    }
}

void SettingsWindow::OnComboChanged(FormCombo combo, int code, HWND control) {
    int index = 0;
    if (code == CBN_SELCHANGE) {
        index = static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0));
    } else if (code == CBN_EDITCHANGE) {
        // Typed text counts only when it names an entry.
        const std::string text = WindowText(control);
        index = text.empty() ? -1
                             : static_cast<int>(SendMessageA(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                             reinterpret_cast<LPARAM>(text.c_str())));
    } else {
        return;
    }
    if (index < 0) index = -1;
    if (combo == FormCombo::Kind) form_.OnKindChosen(index);
    else form_.OnShowStateChosen(index);
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
    if (openDialog_.Execute(Handle())) SetFieldText(edit, openDialog_.fileName);
    else openDialog_.fileName = remembered;  // a proposal not taken is not remembered
}

void SettingsWindow::OnBrowseFolder() {
    // The working directory starts from the Command's folder, not from its own text.
    // Pipes and quotes are no part of the folder; a Command that is no path gives none.
    const std::string command = FileDialogPath(ExpandDrive(FieldText(FormEdit::Command), ExeDrive(ExecutablePath())));
    if (!command.empty()) folderBrowser_.folderName = FolderPartOf(command);
    if (folderBrowser_.Execute(Handle())) SetFieldText(FormEdit::Directory, folderBrowser_.folderName);
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
    if (const std::optional<int> picked = RunIconPicker(Handle(), file, *index))
        SetFieldText(FormEdit::IconIndex, std::to_string(*picked));
}

void SettingsWindow::OnHomePage() {
    const HWND link = controls_.Get(C::HomePageLink);
    if (!link) return;
    // Nothing to report when no browser takes it.
    ShellExecuteA(Handle(), "open", HomePageAddress(WindowText(link)).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
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
    const Tree& tree = state_.tree;
    const NodeId selected = form_.Selected();
    const int position = tree.IsAlive(selected) ? tree.PreOrderIndex(selected) : 0;
    // The set is written from the saved file's order, so the window's edits are saved first;
    // a failed save ends here with the window hidden.
    OnOk();
    ShowWindow(owner_, SW_SHOWNOACTIVATE);
    ShowWindow(Handle(), SW_SHOW);
    form_.OpenTree(position);

    const NodeId node = form_.Selected();
    saveDialog_.filter = kItemSetFilter;
    saveDialog_.defaultExtension = "set";
    saveDialog_.initialDir = ProgramFolderForDialogs(ExecutablePath());
    saveDialog_.fileName = tree.IsAlive(node) ? ExportFileName(tree.Title(node)) : std::string();
    if (!saveDialog_.Execute(Handle())) return;
    // The same file by another spelling of its name: a short name, say.
    const auto longPath = [](const std::string& path) {
        char full[MAX_PATH];
        const DWORD length = GetLongPathNameA(path.c_str(), full, sizeof full);
        return length > 0 && length < sizeof full ? std::string(full, length) : path;
    };
    if (IsSameFilePath(longPath(saveDialog_.fileName), longPath(host_.ConfigPath())))
        throw KestrinError(
            FormatText("The settings file cannot be the target of an export: %s", saveDialog_.fileName.c_str()));
    const WaitCursor wait;
    ExportItemSetFile(Win32FileSystem(), saveDialog_.fileName, state_.store, tree.IsAlive(node) ? position : -1);
}

void SettingsWindow::OnImport() {
    // The edits are saved first, so an import never throws them away; a failed save ends
    // here with the window open.
    const Tree& tree = state_.tree;
    const NodeId selected = form_.Selected();
    const int position = tree.IsAlive(selected) ? tree.PreOrderIndex(selected) : 0;
    RunSteps(form_.SaveSteps());
    form_.OpenTree(position);

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
    if (!openDialog_.Execute(Handle())) return;
    {
        const WaitCursor wait;
        ImportItemSetFile(Win32FileSystem(), host_.ConfigPath(), openDialog_.fileName);
    }
    // The window stays open on the reloaded tree, its first node selected.
    try {
        host_.ReloadState();
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
    case TVN_BEGINDRAGA:
    case TVN_BEGINDRAGW: BeginDrag(TreeViewAdapter::NodeOfItem(tv.itemNew)); return true;
    default: return false;
    }
}

// Editable fields in the window colour; read-only fields, face-coloured selectors and every
// label in the button-face colour.
bool SettingsWindow::OnColor(UINT msg, HDC dc, HWND control, LRESULT* result) const {
    if (msg == WM_CTLCOLOREDIT) {
        if (IsEdit(control)) {
            *result = ColorResult(dc, false);
            return true;
        }
        const std::optional<FormCombo> combo = ComboOf(control);
        if (!combo) return false;
        *result = ColorResult(dc, comboFace_[static_cast<size_t>(*combo)]);
        return true;
    }
    if (msg != WM_CTLCOLORSTATIC) return false;
    // Read-only edits, labels, the check box and the group box all sit on the face colour.
    *result = ColorResult(dc, true);
    return true;
}

}  // namespace kestrin
