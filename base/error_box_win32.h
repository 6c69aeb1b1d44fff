// The standard error box: text by ErrorBoxText, caption "Kestrin", error icon, OK.
#pragma once

#include <windows.h>

#include <string>

namespace kestrin {

// The window that owns the box when none of the program's windows is active (the
// resident window); may be null. Otherwise the active window owns it.
void SetErrorBoxOwner(HWND owner);
void ShowErrorBox(const std::string& message);

}  // namespace kestrin
