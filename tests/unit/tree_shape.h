// Test helper: a tree as one compact string for expectations.
#pragma once

#include <string>
#include <vector>

#include "core/tree.h"

namespace kestrin {

// Pre-order titles, one '>' per level, each followed by ';'.
inline std::string Shape(const Tree& tree) {
    std::string out;
    for (NodeId id : tree.PreOrder()) {
        out.append(static_cast<size_t>(tree.Depth(id)), '>');
        out += tree.Title(id);
        out += ';';
    }
    return out;
}

// Pre-order depths.
inline std::vector<int> Depths(const Tree& tree) {
    std::vector<int> out;
    tree.WalkWithDepth([&](NodeId, int depth) { out.push_back(depth); });
    return out;
}

}  // namespace kestrin
