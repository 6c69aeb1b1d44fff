// The rules of the notification-area icon that need no window: the tip text that goes to
// the shell and the click detection on the mouse messages the shell reports.
#pragma once

#include <string>
#include <string_view>

namespace kestrin {

// The message the shell sends to the icon's window; wParam is the icon's id, lParam the
// mouse message. The same for every icon.
constexpr unsigned kTrayCallbackMessage = 0x800;

// The tip field holds 128 bytes, the last one always zero.
constexpr size_t kTrayTipCapacity = 128;

// The text that goes into the tip field: at most 127 characters of the hint, or nothing
// when the hint is not to be shown.
std::string TrayTipText(std::string_view hint, bool showHint);

// Mouse messages as the shell reports them for an icon.
enum TrayMouseMessage : unsigned {
    kTrayMouseMove = 0x200,
    kTrayLeftDown = 0x201,
    kTrayLeftUp = 0x202,
    kTrayLeftDoubleClick = 0x203,
    kTrayRightDown = 0x204,
    kTrayRightUp = 0x205,
    kTrayRightDoubleClick = 0x206,
    kTrayMiddleDown = 0x207,
    kTrayMiddleUp = 0x208,
};

// What the icon's owner has set up, as far as the reaction to a mouse message depends on it.
struct TrayClickSetup {
    bool enabled = true;
    bool hasDoubleClickHandler = false;  // only then is a double click awaited with a timer
    bool leftPopup = false;              // a left press opens the menu too
    bool hasPopupMenu = false;
    bool autoPopup = true;               // of the assigned menu
};

// What the icon does in answer to one mouse message, in this order.
struct TrayReaction {
    bool startClickTimer = false;
    bool openMenu = false;          // bring the icon's window to the front, then the menu at the cursor
    bool click = false;             // OnClick
    bool doubleClick = false;       // OnDblClick
    bool clickDefaultItem = false;  // the menu's default item, if it has one
};

// A click is a left press on the icon followed by the release: the click is reported on the
// release. A double click starts no second click, so it shows the launcher once. When a
// double-click handler exists, a click waits for the double-click time instead.
class TrayClickDetector {
public:
    TrayReaction OnMouse(unsigned mouseMessage, const TrayClickSetup& setup);
    // The double-click time has passed without a second press.
    TrayReaction OnClickTimer();
    bool ClickTimerRunning() const { return timerRunning_; }

private:
    bool clickStarted_ = false;
    bool clickReady_ = false;
    bool timerRunning_ = false;
};

}  // namespace kestrin
