// File access for the configuration: one pass over the file per load, one atomic replace per save.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace kestrin {

// A file larger than this is treated as unreadable rather than read into memory.
constexpr std::size_t kMaxReadSize = std::size_t{512} << 20;

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // False: missing, unreadable, a folder or larger than kMaxReadSize.
    virtual bool ReadAll(const std::string& path, std::string& out) = 0;
    // The same file handed to `take` in pieces, in order, so a reader that keeps only what it
    // needs never holds the whole file. False as for ReadAll, also after some pieces went.
    virtual bool ReadPieces(const std::string& path, const std::function<void(std::string_view)>& take) {
        std::string all;
        if (!ReadAll(path, all)) return false;
        take(all);
        return true;
    }
    // Exists and is not a folder.
    virtual bool IsFile(const std::string& path) = 0;
    // Writes `data` to a new file beside `path`, then puts it in place in one step, so that
    // even a process killed midway leaves `path` with the old content or the new, whole.
    // False: the old file (or its absence) is untouched and no new file is left behind.
    virtual bool ReplaceAtomically(const std::string& path, const std::string& data) = 0;
};

// The error every failed write reports: KestrinError "Unable to write to <path>".
[[noreturn]] void ThrowUnableToWrite(const std::string& path);
// ReplaceAtomically, or that error.
void ReplaceOrThrow(FileSystem& files, const std::string& path, const std::string& data);

// The Windows file API with the path bytes passed unchanged to the A functions. A replace's
// temporary file sits beside the target, its name as long as the target's (shell/file_system.h),
// so a path within MAX_PATH keeps its temporary within it too; it is created anew, never over an
// existing file, and marked for deletion at once, so the system takes it away when the process
// dies before the replace. The mark is cleared just before the replace: only a kill between the
// two leaves a temporary, which nothing deletes later. No replace deletes a file it did not create.
FileSystem& Win32FileSystem();

}  // namespace kestrin
