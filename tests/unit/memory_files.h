// Files in memory for the tests that load and save; writes can be made to fail like a
// read-only medium.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "core/file_system.h"

namespace kestrin {

class MemoryFiles : public FileSystem {
public:
    bool ReadAll(const std::string& path, std::string& out) override {
        const auto it = files.find(path);
        if (it == files.end()) return false;
        out = it->second;
        return true;
    }
    bool IsFile(const std::string& path) override { return files.count(path) != 0; }
    bool ReplaceAtomically(const std::string& path, const std::string& data) override {
        if (failWrites) return false;
        files[path] = data;
        return true;
    }
    // Reads hand the file on in pieces of this many bytes (0: whole), as a disk read may.
    bool ReadPieces(const std::string& path, const std::function<void(std::string_view)>& take) override {
        if (pieceSize == 0) return FileSystem::ReadPieces(path, take);
        const auto it = files.find(path);
        if (it == files.end()) return false;
        const std::string_view all(it->second);
        for (size_t at = 0; at < all.size(); at += pieceSize) take(all.substr(at, pieceSize));
        return true;
    }
    std::map<std::string, std::string> files;
    bool failWrites = false;
    size_t pieceSize = 0;
};

}  // namespace kestrin
