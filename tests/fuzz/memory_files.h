// The configuration file in memory, for the targets that load and save.
#pragma once

#include <map>
#include <string>

#include "core/file_system.h"

namespace fuzz {

class MemoryFiles : public kestrin::FileSystem {
public:
    bool ReadAll(const std::string& path, std::string& out) override {
        const auto it = files.find(path);
        if (it == files.end()) return false;
        out = it->second;
        return true;
    }
    bool IsFile(const std::string& path) override { return files.count(path) != 0; }
    bool ReplaceAtomically(const std::string& path, const std::string& data) override {
        files[path] = data;
        return true;
    }
    std::map<std::string, std::string> files;
};

}  // namespace fuzz
