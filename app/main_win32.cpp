// The program entry: one instance per session, the resident program, the message loop.
#include <windows.h>
#include <commctrl.h>

#include <exception>
#include <memory>

#include "app/resident_win32.h"
#include "base/error_box.h"
#include "base/error_box_win32.h"
#include "base/lead_bytes_win32.h"
#include "base/owned_win32.h"
#include "base/window_dispatch_win32.h"

namespace {

void ReportToErrorBox(const char* message) { kestrin::ShowErrorBox(message); }

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // A second start ends here, silently, before any window exists; the mutex is held for the
    // whole run, so the name lives exactly as long as this process.
    const kestrin::ScopedMutex instance(kestrin::kApplicationTitle);
    if (!instance.FirstInstance()) return 0;

    // For the shell's folder browser of the settings window.
    const kestrin::ScopedCom com;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_HOTKEY_CLASS | ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    kestrin::SetErrorReporter(ReportToErrorBox);
    kestrin::InstallAnsiLeadBytes();

    std::unique_ptr<kestrin::Resident> resident;
    try {
        resident = std::make_unique<kestrin::Resident>();
    } catch (const std::exception& e) {
        kestrin::ShowErrorBox(e.what());
        return 0;
    }

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (resident->PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
