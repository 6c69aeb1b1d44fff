#include "app/error_box_win32.h"

#include "app/error_box.h"

namespace kestrin {

namespace {
HWND gOwner = nullptr;
}  // namespace

void SetErrorBoxOwner(HWND owner) { gOwner = owner; }

void ShowErrorBox(const std::string& message) {
    const std::string text = ErrorBoxText(message);
    MessageBoxA(gOwner, text.c_str(), kApplicationTitle, MB_OK | MB_ICONERROR);
}

}  // namespace kestrin
