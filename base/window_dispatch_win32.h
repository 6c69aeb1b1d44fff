// Every window procedure of the program runs its handling through CallGuarded, so that no
// exception unwinds through user32: the error goes to the reporter (the application's error
// box) and the program goes on.
#pragma once

#include <windows.h>

#include <exception>
#include <utility>

namespace kestrin {

using ErrorReporter = void (*)(const char* message);

// Installed once by the entry; without a reporter errors are dropped.
void SetErrorReporter(ErrorReporter reporter);
void ReportError(const char* message) noexcept;

template <typename Handler>
LRESULT CallGuarded(Handler&& handler, LRESULT resultOnError = 0) noexcept {
    try {
        return std::forward<Handler>(handler)();
    } catch (const std::exception& e) {
        ReportError(e.what());
    } catch (...) {
        ReportError("Unknown error");
    }
    return resultOnError;
}

}  // namespace kestrin
