#include "shell/tray_icon_win32.h"

#include <shlwapi.h>

#include <map>

#include "shell/window_dispatch_win32.h"

namespace kestrin {

namespace {

constexpr const char* kOwnerProp = "KestrinTrayIconOwner";
constexpr const char* kApplicationProp = "KestrinTrayIconApplication";

// The shell announces a new taskbar with this message only from common controls 4.71 on.
UINT RegisterTaskbarCreated() {
    HMODULE comctl = LoadLibraryA("comctl32.dll");
    if (!comctl) return 0;
    auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void*>(GetProcAddress(comctl, "DllGetVersion")));
    DLLVERSIONINFO info = {};
    info.cbSize = sizeof info;
    if (!getVersion || FAILED(getVersion(&info))) return 0;
    const DWORD packed = (info.dwMajorVersion << 16) + info.dwMinorVersion;
    return packed >= 0x40047 ? RegisterWindowMessageA("TaskbarCreated") : 0;
}

// Registered before the entry code runs, as the shell may restart at any time.
const UINT gTaskbarCreated = RegisterTaskbarCreated();

// The one hidden window for every icon, alive while at least one icon is.
struct TrayIconHandler {
    HWND window = nullptr;
    int references = 0;
    UINT nextId = 1;
    std::map<UINT, TrayIcon*> icons;
};
TrayIconHandler gHandler;
bool gOpeningMenu = false;

}  // namespace

// Lets the window procedures reach the private handlers.
struct TrayIconAccess {
    static void Mouse(TrayIcon* icon, unsigned message) { icon->HandleMouse(message); }
    static void Timer(TrayIcon* icon) { icon->HandleClickTimer(); }
    static LRESULT Owner(TrayIcon* icon, HWND h, UINT m, WPARAM w, LPARAM l) { return icon->OwnerProc(h, m, w, l); }
    static LRESULT Application(TrayIcon* icon, HWND h, UINT m, WPARAM w, LPARAM l) {
        return icon->ApplicationHook(h, m, w, l);
    }
};

namespace {

TrayIcon* FindIcon(WPARAM id) {
    auto found = gHandler.icons.find(static_cast<UINT>(id));
    return found == gHandler.icons.end() ? nullptr : found->second;
}

LRESULT CALLBACK HandlerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case kTrayCallbackMessage:
        // Never passed on; an unknown id is an icon that has gone.
        CallGuarded([&] {
            if (TrayIcon* icon = FindIcon(wp)) TrayIconAccess::Mouse(icon, static_cast<unsigned>(LOWORD(lp)));
            return LRESULT(0);
        });
        return 0;
    case WM_TIMER:
        CallGuarded([&] {
            if (TrayIcon* icon = FindIcon(wp)) TrayIconAccess::Timer(icon);
            return LRESULT(0);
        });
        return 0;
    // The hidden window cannot be closed by a message and consents to the end of a session.
    case WM_DESTROY:
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
    case WM_QUIT:
    case WM_ENDSESSION:
    case WM_NCDESTROY:
        return 1;
    default:
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

HWND JoinHandler() {
    if (gHandler.references++ == 0) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = HandlerProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KestrinTrayIconHandler";
        RegisterClassA(&wc);
        gHandler.window = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                          wc.hInstance, nullptr);
    }
    return gHandler.window;
}

void LeaveHandler() {
    if (gHandler.references == 0) return;
    if (--gHandler.references == 0) {
        DestroyWindow(gHandler.window);
        gHandler.window = nullptr;
    }
}

LRESULT CALLBACK OwnerSubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* icon = static_cast<TrayIcon*>(GetPropA(hwnd, kOwnerProp));
    if (!icon) return DefWindowProcA(hwnd, msg, wp, lp);
    return TrayIconAccess::Owner(icon, hwnd, msg, wp, lp);
}

LRESULT CALLBACK ApplicationSubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* icon = static_cast<TrayIcon*>(GetPropA(hwnd, kApplicationProp));
    if (!icon) return DefWindowProcA(hwnd, msg, wp, lp);
    return TrayIconAccess::Application(icon, hwnd, msg, wp, lp);
}

WNDPROC Subclass(HWND hwnd, const char* prop, TrayIcon* icon, WNDPROC proc) {
    if (!hwnd) return nullptr;
    SetPropA(hwnd, prop, icon);
    return reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

void Unsubclass(HWND hwnd, const char* prop, WNDPROC previous) {
    if (!hwnd || !previous || !IsWindow(hwnd)) return;
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropA(hwnd, prop);
}

}  // namespace

TrayIcon::TrayIcon(HWND owner, HWND application) : owner_(owner), application_(application) {
    const HWND handler = JoinHandler();
    id_ = gHandler.nextId++;
    gHandler.icons[id_] = this;
    data_.cbSize = kNotifyDataSize;
    data_.hWnd = handler;
    data_.uID = id_;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = kTrayCallbackMessage;
    applicationPrevious_ = Subclass(application_, kApplicationProp, this, ApplicationSubclassProc);
    ownerPrevious_ = Subclass(owner_, kOwnerProp, this, OwnerSubclassProc);
}

TrayIcon::~TrayIcon() {
    RemoveFromTray();
    KillTimer(gHandler.window, id_);
    Unsubclass(application_, kApplicationProp, applicationPrevious_);
    Unsubclass(owner_, kOwnerProp, ownerPrevious_);
    gHandler.icons.erase(id_);
    LeaveHandler();
}

HWND TrayIcon::HandlerWindow() { return gHandler.window; }
UINT TrayIcon::TaskbarCreatedMessage() { return gTaskbarCreated; }

void TrayIcon::SetIcon(HICON icon) {
    icon_ = icon;
    UpdateTray();
}

void TrayIcon::SetHint(const std::string& hint) {
    hint_ = hint;
    UpdateTray();
}

void TrayIcon::SetShowHint(bool show) {
    showHint_ = show;
    UpdateTray();
}

void TrayIcon::SetIconVisible(bool visible) {
    if (visible) AddToTray();
    else RemoveFromTray();
}

void TrayIcon::FillNotifyData() {
    data_.hIcon = icon_;
    const std::string tip = TrayTipText(hint_, showHint_);
    ZeroMemory(data_.szTip, sizeof data_.szTip);
    CopyMemory(data_.szTip, tip.data(), tip.size());
}

// The shell's answers are not acted on: a refused add means the icon is there already, and
// the only later attempts are the re-adds on a new taskbar or a minimize.
bool TrayIcon::AddToTray() {
    iconVisible_ = true;
    FillNotifyData();
    return Shell_NotifyIconA(NIM_ADD, &data_) != FALSE;
}

void TrayIcon::RemoveFromTray() {
    iconVisible_ = false;
    FillNotifyData();
    Shell_NotifyIconA(NIM_DELETE, &data_);
}

void TrayIcon::UpdateTray() {
    FillNotifyData();
    Shell_NotifyIconA(NIM_MODIFY, &data_);
}

void TrayIcon::Loaded() {
    UpdateTray();
    SetIconVisible(iconVisible_);
    data_.uVersion = 0;  // the classic notification behaviour
    Shell_NotifyIconA(NIM_SETVERSION, &data_);
}

void TrayIcon::HandleMouse(unsigned mouseMessage) {
    TrayClickSetup setup;
    setup.enabled = enabled_;
    setup.hasDoubleClickHandler = static_cast<bool>(onDblClick);
    setup.leftPopup = leftPopup;
    setup.hasPopupMenu = popupMenu_ != nullptr;
    setup.autoPopup = popupMenu_ && popupMenu_->autoPopup;
    const TrayReaction reaction = clicks_.OnMouse(mouseMessage, setup);
    if (reaction.startClickTimer) SetTimer(gHandler.window, id_, GetDoubleClickTime(), nullptr);
    if (reaction.openMenu) {
        SetForegroundWindow(gHandler.window);
        OpenMenuAtCursor();
    }
    if (reaction.click && onClick) onClick();
    if (reaction.doubleClick && onDblClick) onDblClick();
    if (reaction.clickDefaultItem && popupMenu_) popupMenu_->ClickDefaultItem();
}

void TrayIcon::HandleClickTimer() {
    KillTimer(gHandler.window, id_);
    const TrayReaction reaction = clicks_.OnClickTimer();
    if (reaction.click && onClick) onClick();
}

void TrayIcon::OpenMenuAt(int x, int y) {
    if (!popupMenu_ || gOpeningMenu || PopupMenu::AnyTracking()) return;
    struct OpeningScope {
        OpeningScope() { gOpeningMenu = true; }
        ~OpeningScope() { gOpeningMenu = false; }
    } opening;
    // A notification-area menu closes on a click elsewhere only while a window of its
    // process has the foreground.
    SetForegroundWindow(gHandler.window);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (!popupMenu_) return;
    popupMenu_->Popup(x, y);
    if (owner_) PostMessageA(owner_, WM_NULL, 0, 0);
}

void TrayIcon::OpenMenuAtCursor() {
    POINT cursor;
    if (GetCursorPos(&cursor)) OpenMenuAt(cursor.x, cursor.y);
}

void TrayIcon::ConcealMainForm() {
    if (!owner_) return;
    ShowWindow(owner_, SW_HIDE);
    if (application_ && IsWindowVisible(application_)) ShowWindow(application_, SW_HIDE);
}

// Watches the application window and never consumes a message.
LRESULT TrayIcon::ApplicationHook(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    const WNDPROC previous = applicationPrevious_;
    CallGuarded([&] {
        if (msg == WM_SIZE && wp == SIZE_MINIMIZED && minimizeToTray) {
            ConcealMainForm();
            SetIconVisible(true);
        } else if (msg == WM_SYSCOMMAND && (wp & 0xFFF0) == SC_RESTORE && owner_) {
            if (IsIconic(owner_)) ShowWindow(owner_, SW_RESTORE);
            ShowWindow(owner_, SW_SHOW);
        }
        // A restarted taskbar has forgotten our icon.
        if (gTaskbarCreated != 0 && msg == gTaskbarCreated && iconVisible_) AddToTray();
        return LRESULT(0);
    });
    return CallWindowProcA(previous, hwnd, msg, wp, lp);
}

LRESULT TrayIcon::OwnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    const WNDPROC previous = ownerPrevious_;
    if (msg == WM_SHOWWINDOW && wp == TRUE && lp == 0) {
        // So the settings window comes to the front when it is shown.
        if (application_) SetForegroundWindow(application_);
        SetForegroundWindow(hwnd);
    }
    return CallWindowProcA(previous, hwnd, msg, wp, lp);
}

}  // namespace kestrin
