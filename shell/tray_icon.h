// The rules of the notification-area icon that need no window: the tip text that goes to
// the shell and what a mouse message on the icon does.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrin {

// The tip field holds 128 bytes, the last one always zero.
constexpr std::size_t kTrayTipCapacity = 128;

// The text that goes into the tip field: at most 127 characters of the hint.
std::string TrayTipText(std::string_view hint);

// The mouse messages the shell reports for an icon, as far as the icon reacts to them.
enum class TrayMouse { LeftDown, LeftUp, LeftDoubleClick, RightDown, Other };

// What the icon does in answer to one mouse message.
struct TrayReaction {
    bool click = false;            // show the launcher menu
    bool openContextMenu = false;  // "&Settings" and "E&xit", at the cursor
};

// A click is a left press on the icon followed by the release, reported on the release. A
// double click starts no second click, so it shows the launcher once; the right button's
// press opens the context menu.
class TrayClickDetector {
public:
    TrayReaction OnMouse(TrayMouse message);

private:
    bool clickStarted_ = false;
};

}  // namespace kestrin
