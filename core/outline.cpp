#include "core/outline.h"

#include <iterator>
#include <set>

#include "base/error.h"

namespace kestrin {

int TabDepth(std::string_view line) {
    int depth = 0;
    for (char c : line)
        if (c == '\t') ++depth;
    return depth;
}

std::string EncodeTitle(std::string_view line) {
    std::string out;
    out.reserve(line.size() + 8);
    for (char c : line) {
        if (c == '\t') out += "#|";
        else out += c;
    }
    return out;
}

std::string DecodeTitle(std::string_view stored) {
    std::string out;
    out.reserve(stored.size());
    for (size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] == '#' && i + 1 < stored.size() && stored[i + 1] == '|') {
            out += '\t';
            ++i;
        } else {
            out += stored[i];
        }
    }
    return out;
}

std::vector<std::string> SplitLines(std::string_view text) {
    size_t nul = text.find('\0');
    if (nul != std::string_view::npos) text = text.substr(0, nul);
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != '\r' && c != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

std::string WriteOutlineText(const Tree& tree) {
    std::string out;
    tree.WalkWithDepth([&](NodeId id, int depth) {
        out.append(static_cast<size_t>(depth), '\t');
        out += tree.Title(id);
        out += "\r\n";
    });
    return out;
}

int LevelHolders::HolderOf(int level) const {
    if (level <= 0) return -1;
    if (static_cast<size_t>(level) <= last_.size() && last_[static_cast<size_t>(level - 1)] >= 0)
        return last_[static_cast<size_t>(level - 1)];
    auto below = filled_.lower_bound(level);
    return below == filled_.begin() ? -1 : last_[static_cast<size_t>(*std::prev(below))];
}

void LevelHolders::Placed(int level, int line) {
    if (last_.size() < static_cast<size_t>(level) + 1) last_.resize(static_cast<size_t>(level) + 1, -1);
    last_[static_cast<size_t>(level)] = line;
    filled_.insert(level);
}

std::string StoredOutlineLine(int depth, std::string_view title) {
    const size_t start = title.find_first_not_of(" \t");
    title.remove_prefix(start == std::string_view::npos ? title.size() : start);
    std::string line(static_cast<size_t>(depth), '\t');
    line += title;
    for (char& c : line)
        if (c == '\r' || c == '\n') c = ' ';
    return line;
}

std::string ReadOutlineText(std::string_view text, Tree& tree) {
    tree.Clear();
    std::string error;
    LevelHolders holders;
    int previousLevel = -1;
    int slot = 0;
    for (const std::string& line : SplitLines(text)) {
        size_t blanks = 0;
        while (blanks < line.size() && (line[blanks] == '\t' || line[blanks] == ' ')) ++blanks;
        std::string title = line.substr(blanks);
        // An indented first line still goes on the top level, and the lines after it are placed
        // by their own indentation, as the launcher menu places them.
        const int level = static_cast<int>(blanks);
        if (previousLevel >= 0 && level > previousLevel + 1 && error.empty())
            error = FormatText("Invalid level (%d) for item \"%s\"", level, title.c_str());
        // For a well-formed outline the holder is exactly the parent the level rules give.
        const NodeId holder = holders.HolderOf(level);
        holders.Placed(level, tree.AddChild(holder, std::move(title), slot++));
        previousLevel = level;
    }
    return error;
}

}  // namespace kestrin
