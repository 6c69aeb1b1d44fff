// The one error box: every error that a handler raises ends there, with the application
// title as its caption.
#pragma once

#include <string>
#include <string_view>

namespace kestrin {

// The application title: caption of every error box and name of the single-instance mutex.
constexpr const char* kApplicationTitle = "Kestrin";

// The box's text: the message, with a full stop appended when its last character sorts
// after "." (bytes compared unsigned, so ANSI letters above 0x7F count as after).
std::string ErrorBoxText(std::string_view message);

}  // namespace kestrin
