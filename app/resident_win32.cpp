#include "app/resident_win32.h"

#include <exception>
#include <utility>

#include "app/banner.h"
#include "base/dpi_win32.h"
#include "base/error.h"
#include "base/error_box.h"
#include "base/error_box_win32.h"
#include "base/flag_scope.h"
#include "base/form_scale.h"
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
// The icon workers have read something.
constexpr UINT kIconsRead = WM_APP + 3;
// While icons still come in, the menu is built again for their picture places at most this often.
constexpr UINT_PTR kRebuildTimer = 1;
constexpr UINT kRebuildIntervalMs = 1000;

// The benchmark's own build shows every launcher menu built afresh, every icon read again (in
// the background).
#ifdef KESTRIN_REBUILD_EVERY_SHOWING
constexpr bool kReuseLauncherMenu = false;
#else
constexpr bool kReuseLauncherMenu = true;
#endif

std::string CurrentExeDrive() { return ExeDrive(ExecutablePath()); }

}  // namespace

Resident::Resident()
    : configPath_(ChooseConfigFile(Win32FileSystem(), ExecutablePath())),
      menuPictureSize_(SmallIconSizeFor(SystemDpi())),
      menuPictures_(CreateMenuImageList(menuPictureSize_)),
      contextMenu_(CreatePopupMenu()),
      launcherMenu_(CreatePopupMenu()),
      // The notification area shows the small icon of the session's scale.
      trayPicture_(CreatePictureIcon(PictureId::TrayIcon, GetSystemMetrics(SM_CXSMICON))),
      bigPicture_(CreatePictureIcon(PictureId::TrayIcon, GetSystemMetrics(SM_CXICON))) {
    // Zero size in the middle of the screen: only its taskbar button is ever seen.
    Create(kResidentClass, kApplicationTitle, WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, 0,
           GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr);
    launcherIcons_ = std::make_unique<IconLoader>(Handle(), kIconsRead);
    launcherIcons_->SetSize(menuPictureSize_);
    trayIcon_ = std::make_unique<TrayIcon>(Handle());
    hotkey_ = std::make_unique<LauncherHotkey>(Handle());
    SetErrorBoxOwner(Handle());
    settings_ = std::make_unique<SettingsWindow>(Handle(), static_cast<SettingsHost&>(*this));
    AppendMenuEntry(contextMenu_.get(), "&Settings", kSettingsCommand, true, kMenuPictureSettings, nullptr, false);
    AppendMenuEntry(contextMenu_.get(), "E&xit", kExitCommand, true, kMenuPictureExit, nullptr, false);
    // The taskbar button, shown while the settings window is, carries the same picture.
    SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(trayPicture_.get()));
    SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigPicture_.get()));
    trayIcon_->SetIcon(trayPicture_.get());
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
    std::exception_ptr error;
    try {
        WriteDefaultConfig(Win32FileSystem(), configPath_, state_.hotkey);
        trayIcon_->SetTip(TipFromBanner(kSettingsForm.caption));
        ReloadState();
    } catch (...) {
        error = std::current_exception();
    }
    // The icon goes up once a click on it can be answered at once: the items loaded and the
    // first menu built. A load that failed shows its error with the icon up.
    BuildMenuAhead();
    trayIcon_->Add();
    if (error) std::rethrow_exception(error);
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
        // A new load builds the menu afresh, once the loop is idle, so even the first showing
        // is quick, and its icons start being read in the background.
        preparePosted_ = PostMessageA(Handle(), kPrepareLauncherMenu, 0, 0) != FALSE;
    }
    if (error) std::rethrow_exception(error);
}

void Resident::SaveState() {
    kestrin::SaveItems(Win32FileSystem(), configPath_, state_.store, state_.tree, state_.hotkey);
}

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
    // The icon workers wait until the menu is up (WM_ENTERIDLE), or until it has closed.
    launcherIcons_->HoldForShowing();
    TrackAt(launcherMenu_.get(), cursor);
    launcherIcons_->ResumeAfterShowing();
    // The entry starts in the background once this has returned: the program it starts may
    // take the foreground only while Kestrin hands that right on, so do it while we hold it.
    MSG chosen;
    if (PeekMessageA(&chosen, Handle(), WM_MENUCOMMAND, WM_MENUCOMMAND, PM_NOREMOVE))
        AllowSetForegroundWindow(ASFW_ANY);
    SetForegroundWindow(previous);
}

void Resident::TrackAt(HMENU menu, POINT at) {
    if (menuOpen_) return;
    FlagScope open(menuOpen_);
    const int pictureSize = SmallIconSizeFor(DpiAtPoint(at));
    if (pictureSize != menuPictureSize_) {
        if (OwnedImageList pictures{CreateMenuImageList(pictureSize)}) {
            menuPictures_ = std::move(pictures);
            menuPictureSize_ = pictureSize;
            // Icons are read again at the new size; the menu is measured anew.
            launcherIcons_->SetSize(pictureSize);
            launcherBuilt_ = false;
        }
    }
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
        FillLauncherMenu(true);
        TrackMenu(menu, Handle(), at.x, at.y, false);
        return;
    }
    const UINT id = TrackMenu(menu, Handle(), at.x, at.y, true);
    if (id != 0) PostMessageA(Handle(), kContextChosen, id, 0);
}

// Fields edited in the settings window count at the next showing; what did not change is
// shown as it was built. Pictures come from what the icon workers have read so far: the
// showing never waits for a file, and a change to an icon file shows once it has been seen.
void Resident::FillLauncherMenu(bool look) {
    LauncherMenu model =
        BuildLauncherMenu(state_.store.outline, state_.store.items, CurrentExeDrive(), ProcessEnvironment());
    if (look) {
        // The benchmark's variant forgets every icon at a showing (not when the pictures read
        // since ask for a new build, or it would read them for ever).
        if (!kReuseLauncherMenu) launcherIcons_->Clear();
        launcherIcons_->LookAgain();
    }
    if (kReuseLauncherMenu && launcherBuilt_ && model == launcher_) {
        if (picturePlacesChanged_) UpdatePicturePlaces();
        return;
    }
    launcherBuilt_ = false;
    picturePlacesChanged_ = false;
    ClearMenu(launcherMenu_.get());
    launcherBuilder_.Release();
    launcher_ = std::move(model);
    launcherIcons_->Want(launcher_);
    launcherPictures_ = launcherIcons_->Pictures(launcher_);
    launcherBuilder_.Build(launcherMenu_.get(), launcher_, launcherPictures_, kFirstLauncherCommand);
    launcherBuilt_ = true;
}

// Entries that gained or lost a picture place (their icon file counted, appeared or
// vanished) change in place; the rest of the built menu stays as it is.
void Resident::UpdatePicturePlaces() {
    picturePlacesChanged_ = false;
    const std::vector<int> pictures = launcherIcons_->Pictures(launcher_);
    for (size_t i = 0; i < pictures.size() && i < launcherPictures_.size(); ++i) {
        if (pictures[i] == launcherPictures_[i]) continue;
        launcherPictures_[i] = pictures[i];
        launcherBuilder_.PictureChanged(static_cast<int>(i));
    }
}

void Resident::OnIconsRead() {
    const IconChange change = launcherIcons_->TakeResults();
    if (launcherMenuShowing_)
        for (int entry : change.entries) RedrawEntry(entry);
    if (!change.placesChanged) return;
    // An open menu keeps its places until it closes; a closed one is updated when idle.
    picturePlacesChanged_ = true;
    // Once the reading has settled, or a while later: going over a large menu's places after
    // every batch of icons would keep the program from answering.
    if (launcherIcons_->Idle()) PrepareLauncherMenu();
    else if (!rebuildTimerSet_) rebuildTimerSet_ = SetTimer(Handle(), kRebuildTimer, kRebuildIntervalMs, nullptr) != 0;
}

// Not while a menu is open: the shown one must not change under the user. A huge menu is left
// to its first showing: building it ahead would hold the settings window up after every load.
void Resident::BuildMenuAhead() {
    if (!menuOpen_ && state_.store.outline.size() <= kPreparedMenuLimit) FillLauncherMenu(false);
}

void Resident::PrepareLauncherMenu() {
    if (!preparePosted_ && state_.store.outline.size() <= kPreparedMenuLimit)
        preparePosted_ = PostMessageA(Handle(), kPrepareLauncherMenu, 0, 0) != FALSE;
}

namespace {

struct MenuWindowSearch {
    HMENU menu;
    HWND found;
};

BOOL CALLBACK FindMenuWindow(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<MenuWindowSearch*>(lp);
    char name[16] = {};
    if (!IsWindowVisible(hwnd) || !GetClassNameA(hwnd, name, sizeof name) || lstrcmpA(name, "#32768") != 0) return TRUE;
    if (reinterpret_cast<HMENU>(SendMessageA(hwnd, MN_GETHMENU, 0, 0)) != search->menu) return TRUE;
    search->found = hwnd;
    return FALSE;
}

}  // namespace

void Resident::RedrawEntry(int entry) {
    HMENU menu = nullptr;
    UINT position = 0;
    if (!launcherBuilder_.PlaceOf(entry, &menu, &position)) return;
    // The menu's window exists only while that (sub)menu is open.
    MenuWindowSearch search{menu, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindMenuWindow, reinterpret_cast<LPARAM>(&search));
    RECT rect;
    if (!search.found || !GetMenuItemRect(nullptr, menu, position, &rect)) return;
    MapWindowPoints(nullptr, search.found, reinterpret_cast<POINT*>(&rect), 2);
    InvalidateRect(search.found, &rect, FALSE);
}

void Resident::DrawMenuItem(const DRAWITEMSTRUCT& draw) {
    if (reinterpret_cast<HMENU>(draw.hwndItem) == contextMenu_.get()) {
        DrawMenuPicture(draw, menuPictures_.get(), static_cast<int>(draw.itemData));
        return;
    }
    const size_t entry = draw.itemData;
    if (entry >= launcherPictures_.size()) return;
    const int picture = launcherPictures_[entry];
    if (picture == kEntryIcon) launcherIcons_->Draw(draw, launcher_.entries[entry].picture);
    else DrawMenuPicture(draw, menuPictures_.get(), picture);
}

void Resident::LaunchEntry(size_t entry) {
    if (entry >= launcher_.entries.size()) return;
    const MenuEntry& chosen = launcher_.entries[entry];
    const ItemTable& items = state_.store.items;
    if (!chosen.launches || !items.IsValid(chosen.slot)) return;
    // The fields are read now, so edits made in the settings window count at once.
    LaunchItem(items.At(chosen.slot), CurrentExeDrive(), LaunchVerbForHeldKeys());
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
    case WM_HOTKEY: OnHotkey(wp); return 0;
    case WM_MENUCOMMAND: LaunchEntry(MenuItemData(reinterpret_cast<HMENU>(lp), static_cast<UINT>(wp))); return 0;
    case kContextChosen: OnContextCommand(static_cast<UINT>(wp)); return 0;
    case kIconsRead: OnIconsRead(); return 0;
    case WM_TIMER:
        if (wp != kRebuildTimer) break;
        KillTimer(Handle(), kRebuildTimer);
        rebuildTimerSet_ = false;
        PrepareLauncherMenu();
        return 0;
    case kPrepareLauncherMenu:
        preparePosted_ = false;
        BuildMenuAhead();
        return 0;
    case WM_MEASUREITEM:
        if (MeasureMenuPicture(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp), menuPictureSize_)) return TRUE;
        break;
    case WM_DRAWITEM: {
        const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (draw.CtlType != ODT_MENU) break;
        DrawMenuItem(draw);
        return TRUE;
    }
    case WM_ENTERIDLE:
        if (wp == MSGF_MENU && launcherMenuShowing_) launcherIcons_->ResumeAfterShowing();
        break;
    case WM_INITMENUPOPUP:
        // Deep submenus of the launcher menu are filled only when they open.
        if (launcherMenuShowing_ && reinterpret_cast<HMENU>(wp) != launcherMenu_.get())
            launcherBuilder_.FillOnOpen(reinterpret_cast<HMENU>(wp));
        // The icons of a menu that opens are read before the rest of their drives.
        if (launcherMenuShowing_) {
            std::vector<int> entries;
            const HMENU opened = reinterpret_cast<HMENU>(wp);
            for (int i = 0, n = GetMenuItemCount(opened); i < n; ++i)
                entries.push_back(static_cast<int>(MenuItemData(opened, static_cast<UINT>(i))));
            launcherIcons_->Prioritize(entries);
        }
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
    default: break;
    }
    return DefaultHandling(msg, wp, lp);
}

}  // namespace kestrin
