// The program's icon in the notification area. The shell reports mouse messages on it to the
// given window as kTrayCallbackMessage (wParam the icon's id, lParam the mouse message).
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "shell/tray_icon.h"

namespace kestrin {

constexpr UINT kTrayCallbackMessage = WM_APP;
constexpr UINT kTrayIconId = 1;

// The NOTIFYICONDATAA size of the classic (Windows 2000) layout the icon uses: 488 bytes in
// a 32-bit build, 504 in a 64-bit one, whose pointers are wider. The shell matches the size
// against the layouts it knows, so the 32-bit figure must not reach a 64-bit shell.
constexpr DWORD kNotifyDataSize = NOTIFYICONDATAA_V2_SIZE;
static_assert(sizeof(void*) == 8 ? kNotifyDataSize == 504 : kNotifyDataSize == 488, "classic layout size");

// The lParam of kTrayCallbackMessage in the icon's own terms.
TrayMouse TrayMouseOf(LPARAM lp);

class TrayIcon {
public:
    explicit TrayIcon(HWND window);
    ~TrayIcon();  // removes the icon
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Adds the icon with the classic notification behaviour. Also after the taskbar was
    // restarted, which forgets every icon; a refused add means the icon is there already.
    void Add();
    // Not owned; the shell copies the icon on every update.
    void SetIcon(HICON icon);
    void SetTip(const std::string& hint);
    // A warning balloon at the icon, shown once (when the icon is added, if it is not yet).
    void ShowBalloon(const std::string& title, const std::string& text);
    bool Shown() const { return shown_; }

    // The number of the "TaskbarCreated" message.
    static UINT TaskbarCreatedMessage();

private:
    void Fill();

    NOTIFYICONDATAA data_ = {};
    std::string tip_;
    bool shown_ = false;
    std::string balloonTitle_;  // a balloon waiting for the icon
    std::string balloonText_;
};

}  // namespace kestrin
