// Outline text: the tab-indented form in which the tree travels between the settings
// tree and the OutlineList, and the stored form of a title ("#|" for every TAB).
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/tree.h"

namespace kestrin {

// Number of TAB characters anywhere in the line.
int TabDepth(std::string_view line);
// Every TAB becomes "#|".
std::string EncodeTitle(std::string_view line);
// Every "#|" becomes a TAB, scanning left to right without overlap.
std::string DecodeTitle(std::string_view stored);

// Lines end at CR LF, a lone CR or a lone LF; a NUL ends the text; a non-empty tail is a line.
std::vector<std::string> SplitLines(std::string_view text);

// Where an outline line goes, as the launcher menu and the settings tree both place it: under
// the last line one level up, or, when there is none yet, under the last line of the deepest
// level below that has one; the top level when there is no such line either.
class LevelHolders {
public:
    // The line that holds a new line of this level, -1 for the top level.
    int HolderOf(int level) const;
    // Records `line` (an id of the caller's, >= 0) as the last line of its level.
    void Placed(int level, int line);

private:
    std::vector<int> last_;  // by level, -1 where none yet
    std::set<int> filled_;
};

// Every node in pre-order: depth TABs, its title, CR LF.
std::string WriteOutlineText(const Tree& tree);

// The outline line of a node as it is stored: depth TABs, then the title without its leading
// blanks (they would read back as extra levels) and with line breaks turned into blanks (they
// would split the line).
std::string StoredOutlineLine(int depth, std::string_view title);

// Clears the tree and rebuilds it from the text; the node made from line k carries slot k.
// A line more than one level deeper than the one before it is the error
// "Invalid level (%d) for item "%s""; that line and the ones after it are placed all the
// same, as the launcher menu places them, so no line is lost. Returns the first such error,
// or an empty text.
std::string ReadOutlineText(std::string_view text, Tree& tree);

}  // namespace kestrin
