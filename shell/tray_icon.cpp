#include "shell/tray_icon.h"

namespace kestrin {

std::string TrayTipText(std::string_view hint) { return std::string(hint.substr(0, kTrayTipCapacity - 1)); }

TrayReaction TrayClickDetector::OnMouse(TrayMouse message) {
    TrayReaction reaction;
    switch (message) {
    case TrayMouse::LeftDown: clickStarted_ = true; break;
    case TrayMouse::LeftUp:
        reaction.click = clickStarted_;
        clickStarted_ = false;
        break;
    case TrayMouse::LeftDoubleClick: clickStarted_ = false; break;
    case TrayMouse::RightDown: reaction.openContextMenu = true; break;
    case TrayMouse::Other: break;
    }
    return reaction;
}

}  // namespace kestrin
