#include "shell/launch_win32.h"

#include <shellapi.h>

#include "core/launch.h"
#include "shell/environment_win32.h"

namespace kestrin {

namespace {

int ShowCommand(WindowShow show) {
    switch (show) {
        case WindowShow::Maximized: return SW_SHOWMAXIMIZED;
        case WindowShow::Minimized: return SW_MINIMIZE;
        case WindowShow::Normal: break;
    }
    return SW_SHOWNORMAL;
}

}  // namespace

std::string ExecutablePath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0) return std::string();
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

void LaunchItem(HWND owner, const Item& item, std::string_view exeDrive, const char* verb) {
    const LaunchRequest request = ComposeLaunch(item, exeDrive, ProcessEnvironment());
    if (!request.launch) return;
    // "runas" elevates only the started program: the shell asks, Kestrin stays as it is.
    ShellExecuteA(owner, verb, request.file.c_str(), request.parameters.c_str(),
                  request.hasDirectory ? request.directory.c_str() : nullptr, ShowCommand(request.show));
}

}  // namespace kestrin
