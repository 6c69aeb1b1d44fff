// Item sets: a subtree written to a ".set" file, and a ".set" file appended to a ConfigFile
// after a separator, so menus move between installations.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/file_system.h"
#include "core/items.h"

namespace kestrin {

constexpr const char* kImportSeparatorTitle = "-------------------- Import";

// The set of the node at tree position `first` of a freshly loaded store (line i and row i
// belong to position i): the node and the lines after it that lie deeper, each title with
// the depth it has in the tree, then "Dat" with "Cnt".
std::string ItemSetText(const OutlineList& outline, const ItemTable& items, int first);

// The ConfigFile with the set appended: the import separator on the top level, then the
// set's items. A title's level is its leading marks only ("#|", with any blanks among and
// after them, which are dropped); a "#|" after its first other character is text. The set's
// first item lands on the top level and every item keeps its depth relative to it (one
// shallower lands on the top level too). nullopt, nothing to import: the set or the
// ConfigFile has no "Cnt", or the result would hold more than kMaxItemCount items.
std::optional<std::string> ImportItemSet(std::string_view configText, std::string_view setText);

// Export and Import as the settings window runs them. Both throw KestrinError "Unable to
// write to <path>"; an import that has nothing to import (see above) leaves the ConfigFile
// as it is, and neither reloads anything.
void ExportItemSetFile(FileSystem& files, const std::string& setFile, const ItemStore& store, int first);
void ImportItemSetFile(FileSystem& files, const std::string& configFile, const std::string& setFile);

}  // namespace kestrin
