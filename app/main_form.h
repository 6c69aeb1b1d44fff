// TForm1, the main form: hidden for the whole run unless the settings are open. It owns
// every object of the user interface: the tray icon, both popup menus, ImageList1, HotKey1,
// TreeView1; its window is the target of the global hotkey and the owner of launches.
// Win32 side, included only by _win32.cpp files.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "app/form_builder_win32.h"
#include "core/items.h"
#include "core/launcher_menu.h"
#include "core/launcher_menu_win32.h"
#include "core/tree.h"
#include "settings/item_form.h"
#include "settings/settings_window_win32.h"
#include "shell/hotkey_win32.h"
#include "shell/popup_menu_win32.h"
#include "shell/tray_icon_win32.h"

namespace kestrin {

// The application window: zero size, titled "Kestrin", the owner of every form. It carries
// the taskbar button while it is visible, so a hidden main form has none.
HWND CreateApplicationWindow();

class MainForm {
public:
    // Creates the form hidden from its layout (the tray icon joins and shows itself, HotKey1
    // gets its stored value and rules), then runs FormCreate; an error there is shown in the
    // error box and start-up goes on. Throws only when the window itself cannot be made.
    explicit MainForm(HWND application);
    // FormDestroy (errors shown), then the components: tray icon, menus, window.
    ~MainForm();
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    HWND Handle() const { return hwnd_; }

    void FormCreate();
    void FormDestroy();
    // Reads the ConfigFile into the store, TreeView1 and HotKey1, then registers the hotkey.
    void LoadItems();
    void ShowLauncherMenu();
    void PopupMenu1Popup();
    void TrayIconClick() { ShowLauncherMenu(); }
    void miSettingsClick();
    void miExitClick();
    void WMHotKey(WPARAM id);
    // OK and Cancel of the settings window (also Enter and Esc).
    void Button3Click();
    void Button4Click();
    // The settings window's keyboard commands, matched before the focused control sees
    // the key: true when the message ran a command and must go no further.
    bool PreTranslateMessage(const MSG& msg);

    ItemStore& Store() { return store_; }
    Tree& SettingsTree() { return tree_; }
    HWND Control(const char* name) const { return controls_.Get(name); }
    // AutostartWasOn: 1 when the autostart value exists as the program last read or wrote it.
    int Tag() const { return tag_; }

private:
    static LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
    void CreateComponents();
    void LaunchEntry(UINT id);
    void RunSteps(const std::vector<WindowStep>& steps);
    void RunKeyCommand(CommandKey key);

    HWND application_;
    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;
    BuiltForm controls_;
    HWND hotKey1_ = nullptr;
    // The control that had the focus when the form was last deactivated.
    HWND lastFocus_ = nullptr;
    int tag_ = 0;
    HIMAGELIST imageList1_ = nullptr;
    HICON trayPicture_ = nullptr;
    PopupMenu popupMenu1_;
    PopupMenu popupMenu2_;
    std::unique_ptr<TrayIcon> trayIcon_;
    std::unique_ptr<LauncherHotkey> hotkey_;
    ItemStore store_;
    Tree tree_;
    std::unique_ptr<SettingsWindow> settings_;
    std::unique_ptr<ItemForm> itemForm_;
    LauncherMenu launcher_;
    std::vector<int> launcherPictures_;
    LauncherMenuBuilder launcherBuilder_;
    LauncherPictureCache launcherPictureCache_;
};

}  // namespace kestrin
