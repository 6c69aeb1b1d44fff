// Files in memory for the tests that load and save; writes can be made to fail like a
// read-only medium.
#pragma once

#include <map>
#include <string>

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
    std::map<std::string, std::string> files;
    bool failWrites = false;
};

}  // namespace kestrin
