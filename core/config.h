// The ConfigFile beside the executable: its location, the first-run default, and the whole
// load into and save from the item store and the settings tree.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/file_system.h"
#include "core/ini.h"
#include "core/items.h"
#include "core/tree.h"

namespace kestrin {

// More item sections than this are refused like a negative count: a hostile "Cnt" must not
// make a load allocate millions of slots.
constexpr int kMaxItemCount = 100000;

// The executable's path cut after its first "." (the dot kept) with "ini" appended;
// "ini" when the path has no dot.
std::string ConfigFilePath(std::string_view exePath);

// The stored form of one item section, shared with the item-set files: returns the outline
// line ("Tit" decoded, "New Item" when missing) and fills `item` from the other keys.
std::string ReadItemSection(const IniFile& ini, int index, Item& item);
// Writes section `index` for an outline line and its item, with the keys its Kind keeps.
void WriteItemSection(IniWriter& writer, int index, std::string_view outlineLine, const Item& item);

// Creates the file with one default item when no file (a folder does not count) is there.
// Throws KestrinError "Unable to write to <path>" when it cannot be written.
void WriteDefaultConfig(FileSystem& files, const std::string& path, int hotkeyValue);

// Fills store.items, store.outline and tree from one read of the file; calls giveHotkey with
// "Dat"/"Key" before the count is checked. Sets store.suppressTreeSync first and clears it
// only on success. Throws KestrinError "Range check error" for a missing file or a count that
// is missing, not a number, negative or above kMaxItemCount (items and outline then empty,
// the tree's nodes keep their titles but carry slot -1), and the outline's "Invalid level"
// error (items and outline full, the tree holds the nodes before the bad line, slot -1).
// The caller registers the hotkey after a successful return.
void LoadItems(FileSystem& files, const std::string& path, ItemStore& store, Tree& tree,
               const std::function<void(int)>& giveHotkey);

// Rewrites the whole file from the tree (pre-order) and store.items, "Key" = hotkeyValue;
// a node whose slot is not valid is saved as a default Program/Command item with its title.
// The new file replaces the old one in one step; on success store.outline becomes the tree's
// outline. On failure throws KestrinError "Unable to write to <path>" and changes nothing:
// the old file, the outline, the items and the tree stay as they were.
void SaveItems(FileSystem& files, const std::string& path, ItemStore& store, const Tree& tree,
               std::uint16_t hotkeyValue);

}  // namespace kestrin
