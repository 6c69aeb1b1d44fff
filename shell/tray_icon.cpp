#include "shell/tray_icon.h"

namespace kestrin {

std::string TrayTipText(std::string_view hint, bool showHint) {
    if (!showHint || hint.empty()) return std::string();
    return std::string(hint.substr(0, kTrayTipCapacity - 1));
}

TrayReaction TrayClickDetector::OnMouse(unsigned mouseMessage, const TrayClickSetup& setup) {
    TrayReaction reaction;
    if (!setup.enabled) return reaction;
    const bool menuReady = setup.hasPopupMenu && setup.autoPopup;
    switch (mouseMessage) {
    case kTrayLeftDown:
        if (setup.hasDoubleClickHandler) {
            timerRunning_ = true;
            reaction.startClickTimer = true;
        }
        clickStarted_ = true;
        reaction.openMenu = setup.leftPopup && menuReady;
        break;
    case kTrayLeftUp:
        if (clickStarted_) clickReady_ = true;
        if (clickStarted_ && !timerRunning_) {
            clickReady_ = false;
            reaction.click = true;
        }
        clickStarted_ = false;
        break;
    case kTrayLeftDoubleClick:
        clickReady_ = false;
        timerRunning_ = false;
        reaction.doubleClick = setup.hasDoubleClickHandler;
        reaction.clickDefaultItem = menuReady && !setup.leftPopup;
        break;
    case kTrayRightDown:
        reaction.openMenu = menuReady;
        break;
    default:
        break;
    }
    return reaction;
}

TrayReaction TrayClickDetector::OnClickTimer() {
    TrayReaction reaction;
    timerRunning_ = false;
    if (clickReady_) {
        clickReady_ = false;
        reaction.click = true;
    }
    return reaction;
}

}  // namespace kestrin
