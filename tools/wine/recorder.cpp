// Stand-in for a program that Kestrin launches: appends what it was started with to
// recorder.log beside itself and exits at once. A GUI program, so starting it opens no
// console and the show state it is handed is the one the launcher chose.
//
// Each run appends one block:
//   [run]
//   exe=<module path>
//   cmdline=<GetCommandLineA>
//   cwd=<current directory>
//   flags=<STARTUPINFO dwFlags, hex>
//   show=<STARTUPINFO wShowWindow, decimal>
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string ModulePath() {
    char path[MAX_PATH * 4] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, length);
}

std::string LogPath() {
    std::string path = ModulePath();
    size_t slash = path.find_last_of("\\/");
    return path.substr(0, slash == std::string::npos ? 0 : slash + 1) + "recorder.log";
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    char cwd[MAX_PATH * 4] = {};
    GetCurrentDirectoryA(sizeof cwd, cwd);

    char numbers[64];
    std::snprintf(numbers, sizeof numbers, "flags=0x%08lx\r\nshow=%u\r\n", static_cast<unsigned long>(startup.dwFlags),
                  static_cast<unsigned>(startup.wShowWindow));
    const std::string block =
        "[run]\r\nexe=" + ModulePath() + "\r\ncmdline=" + GetCommandLineA() + "\r\ncwd=" + cwd + "\r\n" + numbers;

    // One write in append mode, so two recorders started close together never interleave.
    HANDLE log = CreateFileA(LogPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    BOOL ok = WriteFile(log, block.data(), static_cast<DWORD>(block.size()), &written, nullptr);
    CloseHandle(log);
    return ok && written == block.size() ? 0 : 1;
}
