#include "base/error_box_win32.h"

#include "base/error_box.h"

namespace kestrin {

namespace {
HWND gOwner = nullptr;
}  // namespace

void SetErrorBoxOwner(HWND owner) { gOwner = owner; }

void ShowErrorBox(const std::string& message) {
    const std::string text = ErrorBoxText(message);
    // Owned by the window the user is working in (the settings window, say), so that window
    // is disabled while the box shows and no second command can run beneath it.
    const HWND active = GetActiveWindow();
    MessageBoxA(active ? active : gOwner, text.c_str(), kApplicationTitle, MB_OK | MB_ICONERROR);
}

}  // namespace kestrin
