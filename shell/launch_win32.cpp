#include "shell/launch_win32.h"

#include <shellapi.h>

#include <system_error>
#include <thread>

#include "base/owned_win32.h"
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

void LaunchItem(const Item& item, std::string_view exeDrive, const char* verb) {
    const LaunchRequest request = ComposeLaunch(item, exeDrive, ProcessEnvironment());
    if (!request.launch) return;
    auto launch = [](const LaunchRequest& request, const std::string& verb) {
        // The shell may use COM to start the target; the thread is its own apartment.
        ScopedCom com;
        // No owner window: a window of another thread would tie its input to this one's.
        // "runas" elevates only the started program: the shell asks, Kestrin stays as it is.
        ShellExecuteA(nullptr, verb.c_str(), request.file.c_str(), request.parameters.c_str(),
                      request.hasDirectory ? request.directory.c_str() : nullptr, ShowCommand(request.show));
    };
    // A target on a share that does not answer holds the shell for as long as the share; on
    // a thread of its own it holds nothing else up.
    try {
        std::thread(launch, request, std::string(verb)).detach();
    } catch (const std::system_error&) {
        launch(request, verb);  // no thread to be had: start it here rather than not at all
    }
}

}  // namespace kestrin
