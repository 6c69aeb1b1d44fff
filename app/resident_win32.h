// The resident program: one hidden window, titled "Kestrin", that takes the tray icon's
// mouse messages, the global hotkey and the menus' commands, and carries the taskbar button
// while the settings window shows. It owns the item store and serves the settings window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/owned_win32.h"
#include "core/items.h"
#include "core/launcher_menu.h"
#include "core/tree.h"
#include "settings/settings_host.h"
#include "settings/settings_window_win32.h"
#include "shell/hotkey_win32.h"
#include "shell/launcher_menu_win32.h"
#include "shell/tray_icon_win32.h"

namespace kestrin {

class Resident final : private SettingsHost {
public:
    // Shows the tray icon, writes the first-run ConfigFile and loads the items; an error
    // there is shown in the error box and start-up goes on. Throws only when a window
    // cannot be made.
    Resident();
    ~Resident() override;
    Resident(const Resident&) = delete;
    Resident& operator=(const Resident&) = delete;

    // Before dispatch: true when the message was used up by the settings window.
    bool PreTranslate(MSG& msg) { return settings_->PreTranslate(msg); }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    void Start();
    void OnTrayMouse(TrayMouse message);
    void OnHotkey(WPARAM id);
    void ShowLauncherMenu();
    void ShowContextMenu();
    // Tracks one of the two menus at the point; the choice comes back as a posted message.
    void TrackAt(HMENU menu, POINT at);
    void FillLauncherMenu();
    void LaunchEntry(size_t entry);
    void DrawMenuItem(const DRAWITEMSTRUCT& draw);
    void OnContextCommand(UINT id);

    // SettingsHost
    void ReleaseHotkey() override { hotkey_.Release(); }
    bool AutostartIsOn() override;
    void ApplyAutostart(const AutostartPlan& plan) override;
    void SaveItems(std::uint16_t hotkey) override;
    void LoadItems() override;
    void ImportItemSet(const std::string& setFile) override;

    OwnedWindow window_;
    OwnedImageList menuPictures_;
    OwnedMenu contextMenu_;
    OwnedMenu launcherMenu_;
    OwnedIcon trayPicture_;
    TrayIcon trayIcon_;
    TrayClickDetector clicks_;
    LauncherHotkey hotkey_;
    ItemStore store_;
    Tree tree_;
    std::unique_ptr<SettingsWindow> settings_;
    // The launcher menu as last built: shown again as it is while the model and the icon
    // files are unchanged.
    LauncherMenu launcher_;
    std::vector<int> launcherPictures_;
    LauncherMenuBuilder launcherBuilder_;
    LauncherIcons launcherIcons_;
    bool launcherBuilt_ = false;
    // Off only to measure what every showing costs without it.
    bool reuseLauncherMenu_ = true;
    // While a menu is being opened or tracked no second one opens: rebuilding a menu that
    // is on screen would pull its items away under the user.
    bool menuOpen_ = false;
    bool launcherMenuShowing_ = false;
};

}  // namespace kestrin
