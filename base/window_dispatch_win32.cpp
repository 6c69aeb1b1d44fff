#include "base/window_dispatch_win32.h"

namespace kestrin {

namespace {
ErrorReporter gReporter = nullptr;
}  // namespace

void SetErrorReporter(ErrorReporter reporter) { gReporter = reporter; }

void ReportError(const char* message) noexcept {
    if (!gReporter) return;
    try {
        gReporter(message);
    } catch (...) {
        // Reporting must not throw back into the window procedure that failed.
    }
}

}  // namespace kestrin
