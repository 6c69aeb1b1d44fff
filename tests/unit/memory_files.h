// Files in memory for the tests that load and save, and the load and save around them;
// writes can be made to fail like a read-only medium.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "core/config.h"
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

// What a load gave: the store, the tree, the hotkey handed on and the error ("" when none).
struct LoadedConfig {
    ItemStore store;
    Tree tree;
    int hotkey = -1;
    std::string error;
};

inline void LoadConfig(FileSystem& files, const std::string& path, LoadedConfig& loaded) {
    loaded.error.clear();
    try {
        LoadItems(files, path, loaded.store, loaded.tree, [&](int value) { loaded.hotkey = value; });
    } catch (const KestrinError& e) {
        loaded.error = e.what();
    }
}

// A save's error, or "".
inline std::string SaveError(FileSystem& files, const std::string& path, ItemStore& store, const Tree& tree,
                             std::uint16_t hotkey) {
    try {
        SaveItems(files, path, store, tree, hotkey);
    } catch (const KestrinError& e) {
        return e.what();
    }
    return "";
}

}  // namespace kestrin
