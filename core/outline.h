// Outline text: the tab-indented form in which the tree travels between the settings
// tree and the OutlineList, and the stored form of a title ("#|" for every TAB).
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/tree.h"

namespace kestrin {

// A failure the user is shown verbatim in the standard error box.
class KestrinError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// printf-style formatting for the program's error texts.
std::string FormatText(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Number of TAB characters anywhere in the line.
int TabDepth(std::string_view line);
// Every TAB becomes "#|".
std::string EncodeTitle(std::string_view line);
// Every "#|" becomes a TAB, scanning left to right without overlap.
std::string DecodeTitle(std::string_view stored);

// Lines end at CR LF, a lone CR or a lone LF; a NUL ends the text; a non-empty tail is a line.
std::vector<std::string> SplitLines(std::string_view text);

// Every node in pre-order: depth TABs, its title, CR LF.
std::string WriteOutlineText(const Tree& tree);
// Clears the tree and rebuilds it from the text. Throws KestrinError
// "Invalid level (%d) for item "%s"" for a line more than one level deeper than the one
// before it; the nodes made before that line stay. New nodes carry slot -1.
void ReadOutlineText(std::string_view text, Tree& tree);

}  // namespace kestrin
