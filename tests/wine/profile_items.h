// The items file written the way a plain Win32 program writes it: one private-profile call
// per key. The reference Kestrin's own save is compared with, and timed against.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "core/items.h"
#include "core/outline.h"
#include "core/tree.h"

namespace kestrin {

// A value the reader would change (blanks at either end, enclosing quotes) in quotes of its
// own, as Kestrin's save stores it so that it reads back unchanged.
inline std::string Kept(const std::string& value) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a'; };
    const bool changed =
        !value.empty() &&
        (blank(value.front()) || blank(value.back()) ||
         (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()));
    return changed ? '"' + value + '"' : value;
}

// Sections in tree order, as Kestrin saves them. `next(k)` is asked before entry k is
// written; false stops the write there and leaves the file partial.
template <typename Next>
void WriteProfileItems(const char* path, const ItemStore& store, const Tree& tree, int hotkey, Next next) {
    WritePrivateProfileStringA("Dat", "Key", std::to_string(hotkey).c_str(), path);
    WritePrivateProfileStringA("Dat", "Cnt", std::to_string(tree.Count()).c_str(), path);
    // The stored outline lines, as Kestrin's save makes them (no leading blanks in a title).
    std::vector<std::string> lines;
    std::vector<NodeId> order;
    tree.WalkWithDepth([&](NodeId id, int depth) {
        lines.push_back(StoredOutlineLine(depth, tree.Title(id)));
        order.push_back(id);
    });
    for (size_t k = 0; k < order.size(); ++k) {
        if (!next(k)) break;
        const std::string section = std::to_string(k);
        const char* s = section.c_str();
        const Item& item = store.items.At(tree.Slot(order[k]));
        WritePrivateProfileStringA(s, "Tit", Kept(EncodeTitle(lines[k])).c_str(), path);
        WritePrivateProfileStringA(s, "Art", std::to_string(item.kind).c_str(), path);
        if (item.kind == kKindProgram) {
            WritePrivateProfileStringA(s, "Prg", Kept(item.command).c_str(), path);
            WritePrivateProfileStringA(s, "Par", Kept(item.parameters).c_str(), path);
            WritePrivateProfileStringA(s, "Dir", Kept(item.directory).c_str(), path);
            WritePrivateProfileStringA(s, "Win", std::to_string(item.showState).c_str(), path);
        }
        if (item.kind != kKindSeparator) {
            WritePrivateProfileStringA(s, "Ico", Kept(item.iconFile).c_str(), path);
            WritePrivateProfileStringA(s, "Idx", std::to_string(item.iconIndex).c_str(), path);
        }
    }
    // Flushes the profile cache, so the file on disk is complete.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path);
}

inline void WriteProfileItems(const char* path, const ItemStore& store, const Tree& tree, int hotkey) {
    WriteProfileItems(path, store, tree, hotkey, [](size_t) { return true; });
}

}  // namespace kestrin
