// The program entry: one instance per session, the hidden main form, the message loop.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <exception>
#include <memory>

#include "app/error_box.h"
#include "app/error_box_win32.h"
#include "app/main_form.h"
#include "shell/window_dispatch_win32.h"

namespace {

void ReportToErrorBox(const char* message) { kestrin::ShowErrorBox(message); }

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // A second start ends here, silently, before any window exists; the handle is kept
    // open so the name lives exactly as long as this process.
    HANDLE mutex = CreateMutexA(nullptr, TRUE, kestrin::kApplicationTitle);
    if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS) return 0;

    // For the shell's folder browser of the settings window.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_HOTKEY_CLASS | ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&controls);

    kestrin::SetErrorReporter(ReportToErrorBox);
    const HWND application = kestrin::CreateApplicationWindow();
    kestrin::SetErrorBoxOwner(application);

    std::unique_ptr<kestrin::MainForm> form;
    try {
        form = std::make_unique<kestrin::MainForm>(application);
    } catch (const std::exception& e) {
        kestrin::ShowErrorBox(e.what());
        return 0;
    }

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (form->PreTranslateMessage(msg)) continue;
        if (IsDialogMessageA(form->Handle(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }

    form.reset();
    DestroyWindow(application);
    CoUninitialize();
    return 0;
}
