// Helpers shared by the programs that inspect and drive other processes' windows from
// outside (probe.exe, formprobe.exe): handles, memory inside another process, window and
// process lookups, polling, and the COMMAND [ARGS] dispatch with its usage text.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace kestrin::probe {

class Handle {
public:
    explicit Handle(HANDLE h = nullptr) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    ~Handle() {
        if (h_) CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

private:
    HANDLE h_;
};

// Memory inside another process, released with it: messages such as the tooltip's and the
// tree view's carry pointers nobody marshals.
class RemoteMemory {
public:
    RemoteMemory(HANDLE process, size_t size)
        : process_(process),
          address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~RemoteMemory() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    char* get() const { return static_cast<char*>(address_); }
    bool Write(const void* data, size_t size, size_t offset = 0) const {
        return WriteProcessMemory(process_, get() + offset, data, size, nullptr);
    }
    bool Read(void* data, size_t size, size_t offset = 0) const {
        return ReadProcessMemory(process_, get() + offset, data, size, nullptr);
    }

private:
    HANDLE process_;
    void* address_;
};

inline std::string ClassOf(HWND hwnd) {
    char name[256] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

inline std::string TextOf(HWND hwnd) {
    char text[4096] = {};
    // A timeout, so a hung window cannot hang the test run.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        &ignored);
    return text;
}

inline DWORD ProcessOf(HWND hwnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid;
}

using ProcessList = std::vector<std::pair<DWORD, std::string>>;

inline ProcessList Processes() {
    ProcessList result;
    Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return result;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry))
        result.emplace_back(entry.th32ProcessID, entry.szExeFile);
    return result;
}

inline std::string ExeOf(DWORD pid, const ProcessList& processes = Processes()) {
    for (const auto& p : processes)
        if (p.first == pid) return p.second;
    return "";
}

inline std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> result;
    EnumWindows(
        [](HWND hwnd, LPARAM out) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(out)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&result));
    return result;
}

// Polls `ready` every 100 ms until it holds or `seconds` have passed.
template <typename F>
bool WaitFor(double seconds, F ready) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    for (;;) {
        if (ready()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(100);
    }
}

struct Command {
    const char* name;
    const char* usage;
    int (*run)(int argc, char** argv);
};

// Runs `program COMMAND [ARGS]` from the table. A command returns 2 for bad usage; then,
// and for an unknown command, the usage goes to stderr.
template <size_t N>
int RunCommand(const char* program, const Command (&commands)[N], int argc, char** argv) {
    if (argc >= 2) {
        for (const Command& command : commands) {
            if (std::strcmp(argv[1], command.name) != 0) continue;
            const int rc = command.run(argc - 2, argv + 2);
            if (rc == 2) std::fprintf(stderr, "usage: %s %s\n", program, command.usage);
            std::fflush(stdout);
            return rc;
        }
    }
    std::fprintf(stderr, "usage: %s COMMAND [ARGS]\n", program);
    for (const Command& command : commands) std::fprintf(stderr, "  %s\n", command.usage);
    return 2;
}

}  // namespace kestrin::probe
