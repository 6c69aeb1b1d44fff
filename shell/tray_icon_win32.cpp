#include "shell/tray_icon_win32.h"

namespace kestrin {

TrayMouse TrayMouseOf(LPARAM lp) {
    switch (LOWORD(lp)) {
    case WM_LBUTTONDOWN: return TrayMouse::LeftDown;
    case WM_LBUTTONUP: return TrayMouse::LeftUp;
    case WM_LBUTTONDBLCLK: return TrayMouse::LeftDoubleClick;
    case WM_RBUTTONDOWN: return TrayMouse::RightDown;
    default: return TrayMouse::Other;
    }
}

UINT TrayIcon::TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

TrayIcon::TrayIcon(HWND window) {
    data_.cbSize = kNotifyDataSize;
    data_.hWnd = window;
    data_.uID = kTrayIconId;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = kTrayCallbackMessage;
    TaskbarCreatedMessage();
}

TrayIcon::~TrayIcon() {
    if (shown_) Shell_NotifyIconA(NIM_DELETE, &data_);
}

void TrayIcon::Fill() {
    const std::string tip = TrayTipText(tip_);
    ZeroMemory(data_.szTip, sizeof data_.szTip);
    CopyMemory(data_.szTip, tip.data(), tip.size());
}

void TrayIcon::Add() {
    shown_ = true;
    Fill();
    Shell_NotifyIconA(NIM_ADD, &data_);
    data_.uVersion = 0;  // the classic notification behaviour
    Shell_NotifyIconA(NIM_SETVERSION, &data_);
    if (!balloonText_.empty()) {
        ShowBalloon(balloonTitle_, balloonText_);
        balloonTitle_.clear();
        balloonText_.clear();
    }
}

void TrayIcon::SetIcon(HICON icon) {
    data_.hIcon = icon;
    Fill();
    if (shown_) Shell_NotifyIconA(NIM_MODIFY, &data_);
}

void TrayIcon::SetTip(const std::string& hint) {
    tip_ = hint;
    Fill();
    if (shown_) Shell_NotifyIconA(NIM_MODIFY, &data_);
}

void TrayIcon::ShowBalloon(const std::string& title, const std::string& text) {
    if (!shown_) {
        balloonTitle_ = title;
        balloonText_ = text;
        return;
    }
    NOTIFYICONDATAA balloon = data_;
    balloon.uFlags = NIF_INFO;
    balloon.dwInfoFlags = NIIF_WARNING;
    lstrcpynA(balloon.szInfoTitle, title.c_str(), sizeof balloon.szInfoTitle);
    lstrcpynA(balloon.szInfo, text.c_str(), sizeof balloon.szInfo);
    Shell_NotifyIconA(NIM_MODIFY, &balloon);
}

}  // namespace kestrin
