// A popup menu with pictures from an image list, tracked at a point. Items draw their
// picture through HBMMENU_CALLBACK, so any image list entry shows as it is drawn there.
// A chosen item's command is posted and runs after the tracking call has returned, once
// the code that showed the menu has finished its own tidying.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

namespace kestrin {

class PopupMenu {
public:
    PopupMenu();
    ~PopupMenu();
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    HMENU Handle() const { return menu_; }

    int tag = 0;
    bool autoPopup = true;
    HIMAGELIST images = nullptr;  // shared, not owned
    std::function<void()> onPopup;
    std::function<void(UINT id)> onCommand;
    // A submenu of this menu is about to open (WM_INITMENUPOPUP).
    std::function<void(HMENU submenu)> onSubmenuOpening;

    // Removes every item, the last first; submenus are detached, not destroyed.
    void Clear();
    // Raises onPopup, then tracks the menu with its top-left corner at the point (screen
    // coordinates) until it closes. Does nothing while any menu of the program is tracked:
    // rebuilding a menu that is on screen would pull its items away under the user.
    void Popup(int x, int y);
    // Runs the command of the first top-level item marked default, if there is one.
    void ClickDefaultItem();

    static bool AnyTracking();

private:
    HMENU menu_;
};

// Appends an item to a menu: a command (id), a submenu holder (submenu not null) or a
// separator line; image -1 shows no picture.
void AppendMenuEntry(HMENU menu, const std::string& caption, UINT id, int image, HMENU submenu, bool separator);

}  // namespace kestrin
