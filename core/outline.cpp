#include "core/outline.h"

#include <cstdarg>
#include <cstdio>

namespace kestrin {

std::string FormatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int size = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out(size > 0 ? static_cast<size_t>(size) : 0, '\0');
    if (size > 0) std::vsnprintf(&out[0], out.size() + 1, format, args);
    va_end(args);
    return out;
}

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

void ReadOutlineText(std::string_view text, Tree& tree) {
    tree.Clear();
    NodeId previous = kNoNode;
    int previousDepth = 0;
    for (const std::string& line : SplitLines(text)) {
        size_t level = 0;
        while (level < line.size() && (line[level] == '\t' || line[level] == ' ')) ++level;
        std::string title = line.substr(level);
        const int lvl = static_cast<int>(level);
        if (previous == kNoNode) {
            previous = tree.AddRoot(std::move(title));
            previousDepth = 0;
            continue;
        }
        if (lvl == previousDepth) {
            previous = tree.InsertAfter(previous, std::move(title));
        } else if (lvl == previousDepth + 1) {
            previous = tree.AddChild(previous, std::move(title));
            previousDepth = lvl;
        } else if (lvl > previousDepth + 1) {
            throw KestrinError(FormatText("Invalid level (%d) for item \"%s\"", lvl, title.c_str()));
        } else {
            NodeId ancestor = previous;
            for (int d = previousDepth; d > lvl; --d) ancestor = tree.Parent(ancestor);
            previous = tree.InsertAfter(ancestor, std::move(title));
            previousDepth = lvl;
        }
    }
}

}  // namespace kestrin
