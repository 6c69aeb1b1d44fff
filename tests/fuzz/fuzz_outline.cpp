// Outline text: line splitting loses nothing but the breaks, ReadOutlineText keeps every line
// (node k carries slot k) at a depth no deeper than its indentation, reports exactly the lines
// that skip a level, reads its own output back unchanged, and places lines where the launcher
// menu places them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/launcher_menu.h"
#include "core/outline.h"
#include "core/tree.h"
#include "fuzz_support.h"

using namespace kestrin;

namespace {

// CR LF and lone CR become LF: what the lines joined by LF must give back.
std::string Normalized(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += '\n';
        } else {
            out += text[i];
        }
    }
    return out;
}

void CheckSplit(std::string_view text, const std::vector<std::string>& lines) {
    text = text.substr(0, text.find('\0'));
    std::string joined;
    for (const std::string& line : lines) {
        FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
        joined += line + "\n";
    }
    std::string expected = Normalized(text);
    if (!expected.empty() && expected.back() != '\n') expected += '\n';
    FUZZ_CHECK_EQ(joined, expected);
}

size_t LeadingBlanks(const std::string& line) {
    const size_t n = line.find_first_not_of(" \t");
    return n == std::string::npos ? line.size() : n;
}

// Pre-order (depth, title) pairs, one string per node.
std::vector<std::string> Shape(const Tree& tree) {
    std::vector<std::string> out;
    tree.WalkWithDepth([&](NodeId id, int depth) { out.push_back(std::to_string(depth) + ":" + tree.Title(id)); });
    return out;
}

void CheckRead(const std::vector<std::string>& lines, const Tree& tree, const std::string& error) {
    FUZZ_CHECK_EQ(tree.Count(), static_cast<int>(lines.size()));
    std::vector<NodeId> bySlot(lines.size(), kNoNode);
    for (NodeId id : tree.PreOrder()) {
        const int slot = tree.Slot(id);
        FUZZ_CHECK(slot >= 0 && static_cast<size_t>(slot) < lines.size());
        FUZZ_CHECK(bySlot[static_cast<size_t>(slot)] == kNoNode);
        bySlot[static_cast<size_t>(slot)] = id;
    }
    std::string firstSkip;
    bool inOrder = true;
    int expectedPosition = 0;
    for (size_t k = 0; k < lines.size(); ++k) {
        const NodeId id = bySlot[k];
        const size_t blanks = LeadingBlanks(lines[k]);
        const int level = static_cast<int>(blanks);
        FUZZ_CHECK_EQ(tree.Title(id), lines[k].substr(blanks));
        FUZZ_CHECK(tree.Depth(id) <= level);
        if (k > 0) {
            const int previous = static_cast<int>(LeadingBlanks(lines[k - 1]));
            if (level > previous + 1 && firstSkip.empty()) firstSkip = std::to_string(level);
        }
        inOrder = inOrder && tree.PreOrderIndex(id) == expectedPosition++;
    }
    FUZZ_CHECK_EQ(error.empty(), firstSkip.empty());
    if (!error.empty()) FUZZ_CHECK_MSG(error.rfind("Invalid level (" + firstSkip + ")", 0) == 0, error);
    // Without a skipped level, and from a first line on the top level, the tree is the outline
    // itself: line order is pre-order and every line sits at its own level.
    if (error.empty() && !lines.empty() && LeadingBlanks(lines[0]) == 0) {
        FUZZ_CHECK(inOrder);
        for (size_t k = 1; k < lines.size(); ++k)
            FUZZ_CHECK_EQ(tree.Depth(bySlot[k]), static_cast<int>(LeadingBlanks(lines[k])));
    }
}

// The same lines as only the launcher menu reads them (TABs in front, none inside the title):
// every line must get the same holder in the tree and in the menu.
void CheckAgainstMenu(const std::vector<std::string>& lines) {
    OutlineList outline;
    std::string text;
    for (const std::string& line : lines) {
        const size_t blanks = LeadingBlanks(line);
        std::string title;
        for (char c : line.substr(blanks))
            if (c != '\t') title += c;
        const size_t start = title.find_first_not_of(' ');
        title.erase(0, start == std::string::npos ? title.size() : start);
        outline.push_back(std::string(blanks % 8, '\t') + title);
        text += outline.back() + "\r\n";
    }
    Tree tree;
    ReadOutlineText(text, tree);
    ItemTable items;
    items.SetCount(static_cast<int>(outline.size()));
    const LauncherMenu menu = BuildLauncherMenu(outline, items, "E:");
    FUZZ_CHECK_EQ(menu.entries.size(), outline.size());
    for (NodeId id : tree.PreOrder()) {
        const int line = tree.Slot(id);
        const NodeId parent = tree.Parent(id);
        FUZZ_CHECK_MSG((parent == kNoNode ? -1 : tree.Slot(parent)) == menu.entries[static_cast<size_t>(line)].parent,
                       "line " + std::to_string(line) + " of " + fuzz::Show(outline));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = SplitLines(text);
    CheckSplit(text, lines);

    Tree tree;
    const std::string error = ReadOutlineText(text, tree);
    CheckRead(lines, tree, error);

    // What the tree writes reads back as the same tree, without an error.
    Tree again;
    FUZZ_CHECK_EQ(ReadOutlineText(WriteOutlineText(tree), again), std::string());
    FUZZ_CHECK_EQ(Shape(again), Shape(tree));

    // The stored line of a node: its depth in TABs, then a title that adds no level.
    tree.WalkWithDepth([&](NodeId id, int depth) {
        const std::string stored = StoredOutlineLine(depth % 4, tree.Title(id));
        FUZZ_CHECK(stored.find_first_of("\r\n") == std::string::npos);
        FUZZ_CHECK_EQ(LeadingBlanks(stored), static_cast<size_t>(depth % 4));
    });

    CheckAgainstMenu(lines);

    // LevelHolders on its own: a holder is always an earlier line of a lower level.
    LevelHolders holders;
    std::vector<int> levelOf;
    for (size_t k = 0; k < lines.size() && k < 512; ++k) {
        const int level = static_cast<int>(LeadingBlanks(lines[k]) % 64);
        const int holder = holders.HolderOf(level);
        FUZZ_CHECK(holder < static_cast<int>(k));
        if (holder >= 0) FUZZ_CHECK(levelOf[static_cast<size_t>(holder)] < level);
        holders.Placed(level, static_cast<int>(k));
        levelOf.push_back(level);
    }
    return 0;
}
