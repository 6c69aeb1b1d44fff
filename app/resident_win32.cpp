#include "app/resident_win32.h"

#include <exception>

#include "app/banner.h"
#include "base/error.h"
#include "base/error_box.h"
#include "base/error_box_win32.h"
#include "base/flag_scope.h"
#include "base/pictures_win32.h"
#include "base/popup_menu_win32.h"
#include "base/window_dispatch_win32.h"
#include "core/config.h"
#include "core/file_system.h"
#include "core/launch.h"
#include "settings/layout.h"
#include "shell/autostart.h"
#include "shell/hotkey.h"
#include "shell/environment_win32.h"
#include "shell/launch_win32.h"

namespace kestrin {

namespace {

constexpr const char* kResidentClass = "KestrinApplication";

// The context menu's items.
constexpr UINT kSettingsCommand = 1;
constexpr UINT kExitCommand = 2;
// The launcher menu's items: this plus the entry's index in the launcher model (ids are not
// how a choice comes back; positions are).
constexpr UINT kFirstLauncherCommand = 1;

// Private messages follow the tray icon's callback (WM_APP).
// Posted after a load: build the launcher menu ahead of its first showing.
constexpr UINT kPrepareLauncherMenu = WM_APP + 1;
constexpr size_t kPreparedMenuLimit = 5000;
// The context menu's chosen id, run once the code that showed the menu has finished its tidying.
constexpr UINT kContextChosen = WM_APP + 2;

// The benchmark's own build shows every launcher menu built afresh, every icon read again.
#ifdef KESTRIN_REBUILD_EVERY_SHOWING
constexpr bool kReuseLauncherMenu = false;
#else
constexpr bool kReuseLauncherMenu = true;
#endif

std::string CurrentExeDrive() { return ExeDrive(ExecutablePath()); }

}  // namespace

Resident::Resident()
    : configPath_(ChooseConfigFile(Win32FileSystem(), ExecutablePath())),
      menuPictures_(CreateMenuImageList()),
      contextMenu_(CreatePopupMenu()),
      launcherMenu_(CreatePopupMenu()),
      trayPicture_(CreatePictureIcon(PictureId::TrayIcon)) {
    // Zero size in the middle of the screen: only its taskbar button is ever seen.
    Create(kResidentClass, kApplicationTitle, WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
           0, GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr);
    trayIcon_ = std::make_unique<TrayIcon>(Handle());
    hotkey_ = std::make_unique<LauncherHotkey>(Handle());
    SetErrorBoxOwner(Handle());
    settings_ = std::make_unique<SettingsWindow>(Handle(), static_cast<SettingsHost&>(*this));
    AppendMenuEntry(contextMenu_.get(), "&Settings", kSettingsCommand, true, kMenuPictureSettings, nullptr, false);
    AppendMenuEntry(contextMenu_.get(), "E&xit", kExitCommand, true, kMenuPictureExit, nullptr, false);
    // The icon shows as soon as it is set up, before the start gives it its tip.
    trayIcon_->SetIcon(trayPicture_.get());
    trayIcon_->Add();
    CallGuarded([&] {
        Start();
        return LRESULT(0);
    });
}

Resident::~Resident() {
    // The settings window, the icon and the hotkey go before the window; nothing of their
    // teardown may reach handlers that use them.
    Unbind();
    ClearMenu(launcherMenu_.get());
    launcherBuilder_.Release();
}

void Resident::Start() {
    WriteDefaultConfig(Win32FileSystem(), configPath_, state_.hotkey);
    trayIcon_->SetTip(TipFromBanner(kSettingsForm.caption));
    ReloadState();
}

void Resident::ReloadState() {
    launcherBuilt_ = false;
    std::exception_ptr error;
    try {
        kestrin::LoadItems(Win32FileSystem(), configPath_, state_.store, state_.tree,
                           [this](int value) { state_.hotkey = HotkeyFromStored(value); });
    } catch (...) {
        error = std::current_exception();
    }
    // The window shows what the load got to, also when it failed.
    settings_->StateReloaded();
    // "Invalid level" comes after a complete load; only a failed count leaves nothing loaded.
    if (state_.store.unsavedLoadError.empty()) {
        if (!hotkey_->Register(state_.hotkey))
            trayIcon_->ShowBalloon(kApplicationTitle,
                                   HotkeyInUseText(HotkeyName(state_.hotkey, HotkeyKeyName(state_.hotkey))));
        // A new load builds the menu afresh, once the loop is idle, so even the first showing is quick.
        PostMessageA(Handle(), kPrepareLauncherMenu, 0, 0);
    }
    if (error) std::rethrow_exception(error);
}

void Resident::SaveState() { kestrin::SaveItems(Win32FileSystem(), configPath_, state_.store, state_.tree, state_.hotkey); }

bool Resident::AutostartIsOn() { return ReadAutostart(kApplicationTitle); }

void Resident::ApplyAutostart(const AutostartPlan& plan) { WriteAutostart(plan, kApplicationTitle, ExecutablePath()); }

void Resident::OnTrayMouse(TrayMouse message) {
    const TrayReaction reaction = clicks_.OnMouse(message);
    if (reaction.openContextMenu) ShowContextMenu();
    if (reaction.click) ShowLauncherMenu();
}

void Resident::ShowContextMenu() {
    POINT cursor = {};
    if (GetCursorPos(&cursor)) TrackAt(contextMenu_.get(), cursor);
}

void Resident::ShowLauncherMenu() {
    POINT cursor = {};
    GetCursorPos(&cursor);
    const HWND previous = GetForegroundWindow();
    FlagScope showing(launcherMenuShowing_);
    TrackAt(launcherMenu_.get(), cursor);
    SetForegroundWindow(previous);
}

void Resident::TrackAt(HMENU menu, POINT at) {
    if (menuOpen_) return;
    FlagScope open(menuOpen_);
    // A notification-area menu closes on a click elsewhere only while a window of its
    // process has the foreground.
    SetForegroundWindow(Handle());
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (menu == launcherMenu_.get()) {
        // The launcher menu reports a choice by position (WM_MENUCOMMAND, posted).
        FillLauncherMenu();
        TrackMenu(menu, Handle(), at.x, at.y, false);
        return;
    }
    const UINT id = TrackMenu(menu, Handle(), at.x, at.y, true);
    if (id != 0) PostMessageA(Handle(), kContextChosen, id, 0);
}

// Fields edited in the settings window count at the next showing, and so does every icon
// file's current state; what did not change is shown as it was built.
void Resident::FillLauncherMenu() {
    LauncherMenu model = BuildLauncherMenu(state_.store.outline, state_.store.items, CurrentExeDrive(), ProcessEnvironment());
    if (!kReuseLauncherMenu) launcherIcons_.Clear();
    const bool filesChanged = launcherIcons_.Refresh(model);
    if (kReuseLauncherMenu && launcherBuilt_ && !filesChanged && model == launcher_) return;
    launcherBuilt_ = false;
    ClearMenu(launcherMenu_.get());
    launcherBuilder_.Release();
    launcher_ = std::move(model);
    launcherPictures_ = launcherIcons_.Pictures(launcher_);
    if (!kReuseLauncherMenu) {
        // As a build without reuse: every icon read now.
        for (size_t i = 0; i < launcher_.entries.size(); ++i)
            if (launcherPictures_[i] == kEntryIcon) launcherIcons_.Icon(launcher_.entries[i].picture);
    }
    launcherBuilder_.Build(launcherMenu_.get(), launcher_, launcherPictures_, kFirstLauncherCommand);
    launcherBuilt_ = true;
}

void Resident::DrawMenuItem(const DRAWITEMSTRUCT& draw) {
    if (reinterpret_cast<HMENU>(draw.hwndItem) == contextMenu_.get()) {
        DrawMenuPicture(draw, menuPictures_.get(), static_cast<int>(draw.itemData));
        return;
    }
    const size_t entry = draw.itemData;
    if (entry >= launcherPictures_.size()) return;
    const int picture = launcherPictures_[entry];
    if (picture == kEntryIcon) launcherIcons_.Draw(draw, launcher_.entries[entry].picture);
    else DrawMenuPicture(draw, menuPictures_.get(), picture);
}

void Resident::LaunchEntry(size_t entry) {
    if (entry >= launcher_.entries.size()) return;
    const MenuEntry& chosen = launcher_.entries[entry];
    const ItemTable& items = state_.store.items;
    if (!chosen.launches || !items.IsValid(chosen.slot)) return;
    // The fields are read now, so edits made in the settings window count at once.
    LaunchItem(Handle(), items.At(chosen.slot), CurrentExeDrive(), LaunchVerbForHeldKeys());
}

void Resident::OnContextCommand(UINT id) {
    if (id == kSettingsCommand) settings_->Open();
    else if (id == kExitCommand) PostQuitMessage(0);
}

void Resident::OnHotkey(WPARAM id) {
    if (!hotkey_->IsOurs(id)) return;
    if (launcherMenuShowing_) {
        // The menu's own loop picks these up and closes the menu; no second menu is shown.
        PostMessageA(Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
        PostMessageA(Handle(), WM_LBUTTONUP, MK_LBUTTON, 0);
        return;
    }
    ShowLauncherMenu();
}

LRESULT Resident::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == TrayIcon::TaskbarCreatedMessage()) {
        // A restarted taskbar has forgotten our icon.
        if (trayIcon_->Shown()) trayIcon_->Add();
        return 0;
    }
    switch (msg) {
    case kTrayCallbackMessage:
        if (wp == kTrayIconId) OnTrayMouse(TrayMouseOf(lp));
        return 0;
    case WM_HOTKEY:
        OnHotkey(wp);
        return 0;
    case WM_MENUCOMMAND:
        LaunchEntry(MenuItemData(reinterpret_cast<HMENU>(lp), static_cast<UINT>(wp)));
        return 0;
    case kContextChosen: OnContextCommand(static_cast<UINT>(wp)); return 0;
    case kPrepareLauncherMenu:
        // Not while a menu is open: the shown one must not change under the user. A huge menu
        // is left to its first showing: building it here would hold the settings window up
        // after every load.
        if (!menuOpen_ && state_.store.outline.size() <= kPreparedMenuLimit) FillLauncherMenu();
        return 0;
    case WM_MEASUREITEM:
        if (MeasureMenuPicture(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp))) return TRUE;
        break;
    case WM_DRAWITEM: {
        const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (draw.CtlType != ODT_MENU) break;
        DrawMenuItem(draw);
        return TRUE;
    }
    case WM_INITMENUPOPUP:
        // Deep submenus of the launcher menu are filled only when they open.
        if (launcherMenuShowing_ && reinterpret_cast<HMENU>(wp) != launcherMenu_.get())
            launcherBuilder_.FillOnOpen(reinterpret_cast<HMENU>(wp));
        return 0;
    case WM_SIZE:
        // Minimizing the settings window's taskbar button hides the window to the tray.
        if (wp == SIZE_MINIMIZED) {
            settings_->OnTaskbarMinimized();
            trayIcon_->Add();
        }
        break;
    case WM_SYSCOMMAND:
        if ((wp & 0xFFF0) == SC_CLOSE) {
            PostQuitMessage(0);
            return 0;
        }
        if ((wp & 0xFFF0) == SC_RESTORE) settings_->OnTaskbarRestored();
        break;
    case WM_CLOSE:
        // Closing the window (from its taskbar button, or a polite request to end the
        // program) ends the program as "E&xit" does.
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefaultHandling(msg, wp, lp);
}

}  // namespace kestrin
