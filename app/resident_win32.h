// The resident program: one hidden window, titled "Kestrin", that takes the tray icon's
// mouse messages, the global hotkey and the menus' commands, and carries the taskbar button
// while the settings window shows. It owns the loaded state and serves the settings window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/message_window_win32.h"
#include "base/owned_win32.h"
#include "core/launcher_menu.h"
#include "settings/settings_host.h"
#include "settings/settings_window_win32.h"
#include "shell/hotkey_win32.h"
#include "shell/icon_loader_win32.h"
#include "shell/launcher_menu_win32.h"
#include "shell/tray_icon_win32.h"

namespace kestrin {

class Resident final : public MessageWindow, private SettingsHost {
public:
    // Shows the tray icon, writes the first-run ConfigFile and loads the state; an error
    // there is shown in the error box and start-up goes on. Throws only when a window
    // cannot be made.
    Resident();
    ~Resident() override;

    // Before dispatch: true when the message was used up by the settings window.
    bool PreTranslate(MSG& msg) { return settings_->PreTranslate(msg); }

private:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void Start();
    void OnTrayMouse(TrayMouse message);
    void OnHotkey(WPARAM id);
    void ShowLauncherMenu();
    void ShowContextMenu();
    // Tracks one of the two menus at the point; the choice comes back as a posted message.
    void TrackAt(HMENU menu, POINT at);
    // look: every icon file is looked at again (in the background) for changes.
    void FillLauncherMenu(bool look);
    void BuildMenuAhead();
    void UpdatePicturePlaces();
    void OnIconsRead();
    // Builds the launcher menu again once the loop is idle (not while one is open).
    void PrepareLauncherMenu();
    // Draws one entry of an open launcher menu again.
    void RedrawEntry(int entry);
    void LaunchEntry(size_t entry);
    void DrawMenuItem(const DRAWITEMSTRUCT& draw);
    void OnContextCommand(UINT id);

    // SettingsHost
    ProgramState& State() override { return state_; }
    const std::string& ConfigPath() const override { return configPath_; }
    void ReleaseHotkey() override { hotkey_->Release(); }
    bool AutostartIsOn() override;
    void ApplyAutostart(const AutostartPlan& plan) override;
    void SaveState() override;
    void ReloadState() override;

    const std::string configPath_;
    ProgramState state_;
    // The menus' pictures at the small-icon size of the monitor the last menu opened on.
    int menuPictureSize_;
    OwnedImageList menuPictures_;
    OwnedMenu contextMenu_;
    OwnedMenu launcherMenu_;
    OwnedIcon trayPicture_;
    OwnedIcon bigPicture_;  // the taskbar button's large picture
    // After the window: the icon and the hotkey go before the window they were added on.
    std::unique_ptr<TrayIcon> trayIcon_;
    std::unique_ptr<LauncherHotkey> hotkey_;
    TrayClickDetector clicks_;
    std::unique_ptr<SettingsWindow> settings_;
    // The launcher menu as last built: shown again as it is while the model and the icon
    // files are unchanged.
    LauncherMenu launcher_;
    std::vector<int> launcherPictures_;
    LauncherMenuBuilder launcherBuilder_;
    std::unique_ptr<IconLoader> launcherIcons_;
    bool launcherBuilt_ = false;
    // An entry gained or lost its picture place since the menu was built.
    bool picturePlacesChanged_ = false;
    bool preparePosted_ = false;
    bool rebuildTimerSet_ = false;
    // While a menu is being opened or tracked no second one opens: rebuilding a menu that
    // is on screen would pull its items away under the user.
    bool menuOpen_ = false;
    bool launcherMenuShowing_ = false;
};

}  // namespace kestrin
