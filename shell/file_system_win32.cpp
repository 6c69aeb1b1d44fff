#include "core/file_system.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "base/owned_win32.h"
#include "shell/file_system.h"

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

// While set, the system deletes the file when its last handle closes, also when the process
// is killed; cleared, the file stays. False when the file system keeps no such mark.
bool SetDeleteOnClose(HANDLE file, bool on) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = on ? TRUE : FALSE;
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
}

// A new temporary file for a replace of `path`, named by TemporaryPathFor and never over an
// existing file: a name that is taken (by the target itself, say) is skipped. `temp` gets its
// path. Opened with delete access, so its delete-on-close mark can be set and cleared.
OwnedHandle CreateTemporary(const std::string& path, std::string& temp) {
    constexpr int kAttempts = 64;
    static unsigned counter = 0;
    // Spread apart by process, so that two programs saving beside each other rarely try the
    // same names.
    const unsigned process = static_cast<unsigned>(GetCurrentProcessId()) * 2654435761u;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        temp = TemporaryPathFor(path, process + counter++);
        if (temp.empty()) break;
        OwnedHandle file = OpenedFile(
            CreateFileA(temp.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) return file;
        // A folder of that name, or a file another killed process is still taking away,
        // answers "access denied" rather than "exists".
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED) break;
    }
    return OwnedHandle();
}

// The file opened for one sequential read, and its size; null when it is missing, cannot
// be opened, or is larger than kMaxReadSize.
OwnedHandle OpenForReading(const std::string& path, size_t& size) {
    OwnedHandle file =
        OpenedFile(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER length;
    if (!file || !GetFileSizeEx(file.get(), &length) || length.QuadPart < 0 ||
        static_cast<unsigned long long>(length.QuadPart) > kMaxReadSize)
        return OwnedHandle();
    size = static_cast<size_t>(length.QuadPart);
    return file;
}

class Win32Files final : public FileSystem {
public:
    bool ReadAll(const std::string& path, std::string& out) override {
        size_t size = 0;
        const OwnedHandle file = OpenForReading(path, size);
        if (!file) return false;
        std::string data(size, '\0');
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

    bool ReadPieces(const std::string& path, const std::function<void(std::string_view)>& take) override {
        size_t left = 0;
        const OwnedHandle file = OpenForReading(path, left);
        if (!file) return false;
        std::string piece(std::min<size_t>(left, 1u << 20), '\0');
        while (left > 0) {
            DWORD got = 0;
            const DWORD want = static_cast<DWORD>(std::min(left, piece.size()));
            if (!ReadFile(file.get(), &piece[0], want, &got, nullptr)) return false;
            if (got == 0) break;  // the file shrank meanwhile
            take(std::string_view(piece.data(), got));
            left -= got;
        }
        return true;
    }

    bool IsFile(const std::string& path) override {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    bool ReplaceAtomically(const std::string& path, const std::string& data) override {
        // A read-only file stays as it is: the user protected it.
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
            return false;
        std::string temp;
        OwnedHandle file = CreateTemporary(path, temp);
        if (!file) return false;
        // Marked at once, the temporary goes with this process if it dies before the replace;
        // no later save need look for it, so none ever deletes a file by its name's pattern.
        const bool marked = SetDeleteOnClose(file.get(), true);
        bool written = WriteWhole(file.get(), data) && FlushFileBuffers(file.get());
        // Cleared just before the replace: a kill from here on leaves at most this temporary.
        if (written && marked) written = SetDeleteOnClose(file.get(), false);
        if (!written) {
            file.reset();  // a marked temporary goes as it closes
            if (!marked) DeleteFileA(temp.c_str());
            return false;
        }
        if (!CloseReporting(file) ||
            !MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            DeleteFileA(temp.c_str());  // this save's own temporary, unmarked now
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
