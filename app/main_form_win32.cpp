#include "app/main_form.h"

#include <algorithm>

#include "app/banner.h"
#include "app/error_box.h"
#include "app/form_layout.h"
#include "app/pictures_win32.h"
#include "core/config.h"
#include "core/file_system.h"
#include "core/launch.h"
#include "core/launch_win32.h"
#include "base/error.h"
#include "shell/autostart.h"
#include "shell/hotkey.h"
#include "shell/window_dispatch_win32.h"

namespace kestrin {

namespace {

constexpr const char* kApplicationClass = "KestrinApplication";
constexpr const char* kFormClass = "TForm1";

// PopupMenu2's items.
constexpr UINT kSettingsCommand = 1;
constexpr UINT kExitCommand = 2;
// PopupMenu1's items: this plus the entry's index in the launcher model.
constexpr UINT kFirstLauncherCommand = 1;
// Posted after a load: read the launcher menu's icons ahead of its first showing.
constexpr UINT kWarmLauncherPictures = WM_APP + 1;

LRESULT HandleApplicationMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    // Closing the application window (from its taskbar button, or a polite request to end
    // the program) ends the program as E&xit does.
    if (msg == WM_CLOSE || (msg == WM_SYSCOMMAND && (wp & 0xFFF0) == SC_CLOSE)) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK ApplicationProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return CallGuarded([&] { return HandleApplicationMessage(hwnd, msg, wp, lp); });
}

std::string CurrentExeDrive() { return ExeDrive(ExecutablePath()); }

}  // namespace

HWND CreateApplicationWindow() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ApplicationProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kApplicationClass;
    RegisterClassA(&wc);
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
    return CreateWindowExA(0, kApplicationClass, "Kestrin",
                           WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, x, y, 0, 0,
                           nullptr, nullptr, wc.hInstance, nullptr);
}

MainForm::MainForm(HWND application) : application_(application) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = FormProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFormClass;
    RegisterClassA(&wc);
    hwnd_ = CreateWindowExA(FormExStyle(kForm1), kFormClass, kForm1.caption, FormStyle(kForm1), 0, 0,
                            kForm1.clientWidth, kForm1.clientHeight, application_, nullptr, wc.hInstance, this);
    if (!hwnd_) throw KestrinError("Error creating window");
    PlaceForm(hwnd_, kForm1);
    font_ = CreateFormFont(kForm1);
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    controls_ = BuildForm(hwnd_, kForm1, font_);
    hotKey1_ = controls_.Get("HotKey1");
    settings_ = std::make_unique<SettingsWindow>([this](const char* name) { return controls_.Get(name); }, tree_);
    itemForm_ = std::make_unique<ItemForm>(store_, tree_, *settings_);
    settings_->Attach(itemForm_.get());
    CreateComponents();
    CallGuarded([&] {
        FormCreate();
        return LRESULT(0);
    });
}

void MainForm::CreateComponents() {
    imageList1_ = CreateMenuImageList();
    hotkey_ = std::make_unique<LauncherHotkey>(hwnd_);

    popupMenu2_.images = imageList1_;
    AppendMenuEntry(popupMenu2_.Handle(), "&Settings", kSettingsCommand, kMenuPictureSettings, nullptr, false);
    AppendMenuEntry(popupMenu2_.Handle(), "E&xit", kExitCommand, kMenuPictureExit, nullptr, false);
    popupMenu2_.onCommand = [this](UINT id) {
        if (id == kSettingsCommand) miSettingsClick();
        else if (id == kExitCommand) miExitClick();
    };

    popupMenu1_.images = imageList1_;
    popupMenu1_.onPopup = [this] { PopupMenu1Popup(); };
    popupMenu1_.onCommand = [this](UINT id) { LaunchEntry(id); };
    popupMenu1_.onSubmenuOpening = [this](HMENU submenu) { launcherBuilder_.FillOnOpen(submenu); };

    // The tray icon shows itself as soon as it is set up, before FormCreate gives it its tip.
    trayPicture_ = CreatePictureIcon(PictureId::TrayIcon);
    trayIcon_ = std::make_unique<TrayIcon>(hwnd_, application_);
    trayIcon_->SetIcon(trayPicture_);
    trayIcon_->SetIconVisible(true);
    trayIcon_->minimizeToTray = true;
    trayIcon_->SetPopupMenu(&popupMenu2_);
    trayIcon_->onClick = [this] { TrayIconClick(); };
    trayIcon_->Loaded();

    if (hotKey1_) {
        SetHotKeyControlRules(hotKey1_);
        WriteHotKeyControl(hotKey1_, kDefaultHotkey);
    }
}

MainForm::~MainForm() {
    CallGuarded([&] {
        FormDestroy();
        return LRESULT(0);
    });
    popupMenu1_.Clear();
    launcherBuilder_.Release();
    trayIcon_.reset();
    hotkey_.reset();
    // A deep tree would be torn down recursively by the control itself.
    settings_->TreeView().Clear();
    DestroyWindow(hwnd_);
    controls_ = BuiltForm();
    if (font_) DeleteObject(font_);
    if (imageList1_) ImageList_Destroy(imageList1_);
    if (trayPicture_) DestroyIcon(trayPicture_);
}

void MainForm::FormCreate() {
    const std::string path = ConfigFilePath(ExecutablePath());
    WriteDefaultConfig(Win32FileSystem(), path, hotKey1_ ? ReadHotKeyControl(hotKey1_) : kDefaultHotkey);
    trayIcon_->SetHint(TipFromBanner(kForm1.caption));
    LoadItems();
}

void MainForm::FormDestroy() {
    store_.outline.clear();
    store_.outline.shrink_to_fit();
    hotkey_->Release();
}

void MainForm::LoadItems() {
    const std::string path = ConfigFilePath(ExecutablePath());
    try {
        kestrin::LoadItems(Win32FileSystem(), path, store_, tree_, [this](int value) {
            if (hotKey1_) WriteHotKeyControl(hotKey1_, HotkeyFromStored(value));
        });
    } catch (...) {
        // The tree shows what the load got to before it failed.
        itemForm_->TreeRebuilt();
        settings_->TreeView().Fill(tree_);
        throw;
    }
    itemForm_->TreeRebuilt();
    settings_->TreeView().Fill(tree_);
    hotkey_->Register(hotKey1_ ? ReadHotKeyControl(hotKey1_) : 0);
    // Read the menu's icons once the loop is idle, so even the first showing is quick.
    PostMessageA(hwnd_, kWarmLauncherPictures, 0, 0);
}

void MainForm::ShowLauncherMenu() {
    trayIcon_->SetPopupMenu(&popupMenu1_);
    POINT cursor = {};
    GetCursorPos(&cursor);
    const HWND previous = GetForegroundWindow();
    popupMenu1_.tag = 1;
    // Put everything back also when building the menu fails.
    struct Restore {
        MainForm* form;
        HWND previous;
        ~Restore() {
            SetForegroundWindow(previous);
            form->popupMenu1_.tag = 0;
            form->trayIcon_->SetPopupMenu(&form->popupMenu2_);
        }
    } restore{this, previous};
    trayIcon_->OpenMenuAt(cursor.x, cursor.y);
}

void MainForm::PopupMenu1Popup() {
    popupMenu1_.Clear();
    launcherBuilder_.Release();
    launcher_ = BuildLauncherMenu(store_.outline, store_.items, CurrentExeDrive());
    launcherPictures_ = launcherPictureCache_.Load(launcher_, imageList1_);
    launcherBuilder_.Build(popupMenu1_.Handle(), launcher_, launcherPictures_, kFirstLauncherCommand);
}

void MainForm::LaunchEntry(UINT id) {
    const size_t entry = id - kFirstLauncherCommand;
    if (id < kFirstLauncherCommand || entry >= launcher_.entries.size()) return;
    const MenuEntry& chosen = launcher_.entries[entry];
    if (!chosen.launches || !store_.items.IsValid(chosen.slot)) return;
    // The fields are read now, so edits made in the settings window count at once.
    kestrin::LaunchItem(hwnd_, store_.items.At(chosen.slot), CurrentExeDrive());
}

void MainForm::miSettingsClick() { RunSteps(itemForm_->miSettingsClick(IsWindowVisible(hwnd_) != FALSE)); }

void MainForm::Button3Click() { RunSteps(itemForm_->Button3Click()); }

void MainForm::Button4Click() { RunSteps(itemForm_->Button4Click()); }

// A step that throws ends the list: the error box shows it and later steps do not run.
void MainForm::RunSteps(const std::vector<WindowStep>& steps) {
    for (WindowStep step : steps) {
        switch (step) {
        case WindowStep::ReleaseHotkey: hotkey_->Release(); break;
        case WindowStep::ReadAutostart: {
            settings_->SetCheckBox1(ReadAutostart(kApplicationTitle));
            tag_ = settings_->CheckBox1Checked() ? 1 : 0;
            break;
        }
        case WindowStep::Show:
            // The application window carries the taskbar button while the form is shown.
            ShowWindow(application_, SW_SHOWNOACTIVATE);
            ShowWindow(hwnd_, SW_SHOW);
            break;
        case WindowStep::OpenTree: itemForm_->OpenTree(); break;
        case WindowStep::Hide:
            ShowWindow(hwnd_, SW_HIDE);
            ShowWindow(application_, SW_HIDE);
            break;
        case WindowStep::SaveItems:
            kestrin::SaveItems(Win32FileSystem(), ConfigFilePath(ExecutablePath()), store_, tree_,
                               hotKey1_ ? ReadHotKeyControl(hotKey1_) : 0);
            break;
        case WindowStep::WriteAutostart: {
            const AutostartPlan plan = PlanAutostart(settings_->CheckBox1Checked(), tag_);
            WriteAutostart(plan, kApplicationTitle, ExecutablePath());
            tag_ = plan.wasOnAfter;
            break;
        }
        case WindowStep::LoadItems: LoadItems(); break;
        }
    }
}

void MainForm::RunKeyCommand(CommandKey key) {
    switch (key) {
    case CommandKey::CtrlUp: itemForm_->BitBtn3Click(); break;
    case CommandKey::CtrlDown: itemForm_->BitBtn4Click(); break;
    case CommandKey::CtrlRight: itemForm_->BitBtn6Click(); break;
    case CommandKey::CtrlLeft: itemForm_->BitBtn7Click(); break;
    case CommandKey::Escape: Button4Click(); break;
    case CommandKey::Enter: Button3Click(); break;
    }
}

bool MainForm::PreTranslateMessage(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || !IsWindowVisible(hwnd_) || GetActiveWindow() != hwnd_) return false;
    if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
    const std::optional<CommandKey> key = settings_->KeyCommand(msg);
    if (!key) return false;
    CallGuarded([&] {
        RunKeyCommand(*key);
        return LRESULT(0);
    });
    return true;
}

void MainForm::miExitClick() { PostQuitMessage(0); }

void MainForm::WMHotKey(WPARAM id) {
    if (!hotkey_->IsOurs(id)) return;
    if (popupMenu1_.tag == 1) {
        // The menu's own loop picks these up and closes the menu; no second menu is shown.
        PostMessageA(hwnd_, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        PostMessageA(hwnd_, WM_LBUTTONUP, MK_LBUTTON, 0);
        return;
    }
    ShowLauncherMenu();
}

LRESULT CALLBACK MainForm::FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lp);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* form = reinterpret_cast<MainForm*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!form || !form->hwnd_) return DefWindowProcA(hwnd, msg, wp, lp);
    return CallGuarded([&] { return form->WindowProc(msg, wp, lp); });
}

LRESULT MainForm::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_HOTKEY:
        WMHotKey(wp);
        return 0;
    case kWarmLauncherPictures:
        // Not while the menu shows: its entries point into the picture list.
        if (popupMenu1_.tag == 0)
            launcherPictureCache_.Load(BuildLauncherMenu(store_.outline, store_.items, CurrentExeDrive()), imageList1_);
        return 0;
    case WM_CLOSE:
        // Closing the main form ends the program.
        miExitClick();
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: {
        LRESULT result = 0;
        if (msg == WM_CTLCOLORSTATIC && HandleLinkLabelColor(controls_, wp, lp, &result)) return result;
        if (settings_->Color(msg, reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp), &result)) return result;
        break;
    }
    case WM_COMMAND: {
        const HWND control = reinterpret_cast<HWND>(lp);
        const int code = HIWORD(wp);
        if (control && code == BN_CLICKED && control == controls_.Get("Button3")) Button3Click();
        else if (control && code == BN_CLICKED && control == controls_.Get("Button4")) Button4Click();
        else settings_->Command(control, code);
        return 0;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lp);
        if (header && settings_->Notify(*header)) return 0;
        break;
    }
    case WM_SHOWWINDOW:
        // FormShow and FormHide, whoever shows or hides the form.
        if (wp) itemForm_->FormShow();
        else itemForm_->FormHide();
        break;
    case WM_ACTIVATE:
        // Like a dialog, the form gives the focus back to the control that last had it.
        if (LOWORD(wp) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
            return 0;
        }
        if (lastFocus_ && IsWindow(lastFocus_) && IsChild(hwnd_, lastFocus_)) SetFocus(lastFocus_);
        else if (HWND tree = controls_.Get("TreeView1")) SetFocus(tree);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd_, msg, wp, lp);
}

}  // namespace kestrin
