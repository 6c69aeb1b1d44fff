// The program's one error type: a failure the user is shown verbatim in the standard error
// box. Every layer throws it; only the window dispatch catches it.
#pragma once

#include <stdexcept>
#include <string>

namespace kestrin {

class KestrinError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// printf-style formatting for the program's error texts.
std::string FormatText(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

}  // namespace kestrin
