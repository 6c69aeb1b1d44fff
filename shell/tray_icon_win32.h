// The notification-area icon of a form: one shared hidden window receives the shell's
// callbacks for every icon; each icon hooks the application window (re-add after the
// taskbar restarts, minimize to tray) and subclasses its owner form's window.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>

#include "shell/popup_menu_win32.h"
#include "shell/tray_icon.h"

namespace kestrin {

// The NOTIFYICONDATAA size of the classic (Windows 2000) layout the icon uses: 488 bytes in
// a 32-bit build, 504 in a 64-bit one, whose pointers are wider. The shell matches the size
// against the layouts it knows, so the 32-bit figure must not reach a 64-bit shell.
constexpr DWORD kNotifyDataSize = NOTIFYICONDATAA_V2_SIZE;
static_assert(sizeof(void*) == 8 ? kNotifyDataSize == 504 : kNotifyDataSize == 488, "classic layout size");

class TrayIcon {
public:
    // owner: the form whose window is subclassed and gets WM_NULL after a menu; application:
    // the window that carries the taskbar button. Either may be null.
    TrayIcon(HWND owner, HWND application);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Not owned; the icon is copied into the notification area on every update.
    void SetIcon(HICON icon);
    void SetHint(const std::string& hint);
    void SetShowHint(bool show);
    void SetIconVisible(bool visible);  // adds or removes, whatever the current state
    bool IconVisible() const { return iconVisible_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    void SetPopupMenu(PopupMenu* menu) { popupMenu_ = menu; }
    PopupMenu* GetPopupMenu() const { return popupMenu_; }

    bool leftPopup = false;
    bool minimizeToTray = false;
    std::function<void()> onClick;
    std::function<void()> onDblClick;

    bool AddToTray();
    void RemoveFromTray();
    void UpdateTray();
    // Ends the construction as the stored layout does: update, add again, classic version.
    void Loaded();

    void OpenMenuAt(int x, int y);
    void OpenMenuAtCursor();

    // The hidden window that receives the callbacks (brought to the front before a menu).
    static HWND HandlerWindow();
    // The number of the "TaskbarCreated" message, 0 when not registered.
    static UINT TaskbarCreatedMessage();

private:
    friend struct TrayIconAccess;
    void FillNotifyData();
    void HandleMouse(unsigned mouseMessage);
    void HandleClickTimer();
    LRESULT ApplicationHook(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OwnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void ConcealMainForm();

    UINT id_;
    HWND owner_;
    HWND application_;
    WNDPROC ownerPrevious_ = nullptr;
    WNDPROC applicationPrevious_ = nullptr;
    NOTIFYICONDATAA data_ = {};
    HICON icon_ = nullptr;
    std::string hint_;
    bool showHint_ = true;
    bool iconVisible_ = false;
    bool enabled_ = true;
    PopupMenu* popupMenu_ = nullptr;
    TrayClickDetector clicks_;
};

}  // namespace kestrin
