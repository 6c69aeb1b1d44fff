#include "core/file_system.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <string>

#include "base/lead_bytes.h"
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

// The temporary files of a save to `path`: beside it, named after it with its last characters
// replaced by "~" and hexadecimal digits ("kestrin.ini" -> "ke~1f0c9a3b"), so the temporary
// path is no longer than the target's (for names of five characters or more) and a path that
// fits the ANSI functions' MAX_PATH still fits with it.
class TempNames {
public:
    explicit TempNames(const std::string& path) {
        const size_t cut = FindLastCharOf(path, "\\/:");
        folder_ = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
        target_ = path.substr(folder_.size());
        length_ = std::max(target_.size(), kMinLength);
        digits_ = std::min(kMaxDigits, length_ - 2);
        // At least one character of the target's name is kept, so another file's temporaries
        // are not taken for this one's.
        prefix_ = target_.substr(0, length_ - 1 - digits_);
        length_ = prefix_.size() + 1 + digits_;
    }

    bool Valid() const { return !target_.empty(); }

    // Deletes earlier saves' temporary files of this exact pattern; one still open by a save
    // in progress elsewhere cannot be deleted and stays.
    void RemoveStale() const {
        const std::string pattern = folder_ + prefix_ + "~" + std::string(digits_, '?');
        WIN32_FIND_DATAA found;
        const HANDLE search = FindFirstFileA(pattern.c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && Matches(found.cFileName))
                DeleteFileA((folder_ + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }

    // Creates a new temporary file that no other file had the name of; `temp` gets its path.
    OwnedHandle CreateUnique(std::string& temp) const {
        static unsigned counter = 0;
        // Spread apart by process, so that two programs saving beside each other rarely
        // try the same names.
        const unsigned process = static_cast<unsigned>(GetCurrentProcessId()) * 2654435761u;
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            temp = folder_ + Name(process + counter++);
            // A name that is taken (by the target itself, say) is skipped, never overwritten.
            OwnedHandle file = OpenedFile(
                CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (file) return file;
            const DWORD error = GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
        }
        return OwnedHandle();
    }

private:
    static constexpr size_t kMinLength = 5;
    static constexpr size_t kMaxDigits = 8;
    static constexpr int kAttempts = 64;

    std::string Name(unsigned value) const {
        static const char kHex[] = "0123456789abcdef";
        std::string name = prefix_ + "~" + std::string(digits_, '0');
        for (size_t i = name.size(); i > prefix_.size() + 1; --i, value >>= 4) name[i - 1] = kHex[value & 15];
        return name;
    }

    bool Matches(const std::string& name) const {
        if (name.size() != length_ || lstrcmpiA(name.c_str(), target_.c_str()) == 0) return false;
        if (lstrcmpiA(name.substr(0, prefix_.size()).c_str(), prefix_.c_str()) != 0) return false;
        if (name[prefix_.size()] != '~') return false;
        return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix_.size() + 1), name.end(),
                           [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
    }

    std::string folder_;  // with its separator; empty for a bare name
    std::string target_;  // the target's name
    size_t length_ = 0;   // of a temporary name
    size_t digits_ = 0;
    std::string prefix_;
};

// The file opened for one sequential read, and its size; null when it is missing, cannot
// be opened, or is larger than kMaxReadSize.
OwnedHandle OpenForReading(const std::string& path, size_t& size) {
    OwnedHandle file = OpenedFile(CreateFileA(path.c_str(), GENERIC_READ,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
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
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
            return false;
        const TempNames names(path);
        if (!names.Valid()) return false;
        // A save killed before its rename left its temporary file behind.
        names.RemoveStale();
        std::string temp;
        OwnedHandle file = names.CreateUnique(temp);
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
