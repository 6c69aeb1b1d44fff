// The standard error box: text by ErrorBoxText, caption "Kestrin", error icon, OK.
#pragma once

#include <windows.h>

#include <string>

namespace kestrin {

// The window that owns the box (the application window); may be null.
void SetErrorBoxOwner(HWND owner);
void ShowErrorBox(const std::string& message);

}  // namespace kestrin
