#include "core/file_system.h"

#include <windows.h>

#include <algorithm>

#include "base/owned_win32.h"

namespace kestrin {

namespace {

// CreateFileA fails with INVALID_HANDLE_VALUE, not null.
OwnedHandle OpenedFile(HANDLE handle) { return OwnedHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle); }

// Closes now, reporting whether buffered data reached the file.
bool CloseReporting(OwnedHandle& file) { return CloseHandle(file.release()) != FALSE; }

bool WriteWhole(HANDLE file, const std::string& data) {
    size_t done = 0;
    while (done < data.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1u << 24));
        DWORD written = 0;
        if (!WriteFile(file, data.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

class Win32Files final : public FileSystem {
public:
    bool ReadAll(const std::string& path, std::string& out) override {
        const OwnedHandle file = OpenedFile(CreateFileA(path.c_str(), GENERIC_READ,
                                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN,
                                                        nullptr));
        if (!file) return false;
        LARGE_INTEGER size;
        if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
            static_cast<unsigned long long>(size.QuadPart) > kMaxReadSize)
            return false;
        std::string data(static_cast<size_t>(size.QuadPart), '\0');
        size_t done = 0;
        while (done < data.size()) {
            DWORD got = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1u << 24));
            if (!ReadFile(file.get(), &data[done], chunk, &got, nullptr)) return false;
            if (got == 0) break;  // the file shrank meanwhile
            done += got;
        }
        data.resize(done);
        out.swap(data);
        return true;
    }

    bool IsFile(const std::string& path) override {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    bool ReplaceAtomically(const std::string& path, const std::string& data) override {
        // A read-only file stays as it is: the user protected it.
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
            return false;
        static unsigned counter = 0;
        const std::string temp =
            path + ".~" + std::to_string(GetCurrentProcessId()) + "." + std::to_string(counter++) + ".tmp";
        OwnedHandle file =
            OpenedFile(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        const bool written = WriteWhole(file.get(), data) && FlushFileBuffers(file.get()) && CloseReporting(file);
        if (!written) {
            file.reset();  // closed before the delete
            DeleteFileA(temp.c_str());
            return false;
        }
        if (!MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            DeleteFileA(temp.c_str());
            return false;
        }
        return true;
    }
};

}  // namespace

FileSystem& Win32FileSystem() {
    static Win32Files files;
    return files;
}

}  // namespace kestrin
