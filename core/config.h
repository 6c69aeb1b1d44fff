// The ConfigFile beside the executable: its location, the first-run default, and the whole
// load into and save from the item store and the settings tree.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/error.h"
#include "core/file_system.h"
#include "core/ini.h"
#include "core/items.h"
#include "core/tree.h"

namespace kestrin {

// More item sections than this are refused like a negative count: a hostile "Cnt" must not
// make a load allocate millions of slots.
constexpr int kMaxItemCount = 100000;

// The executable's folder and its file name up to the name's first "." with "ini" appended:
// "C:\\Tools\\kestrin.beta.exe" -> "C:\\Tools\\kestrin.ini"; "kestrin" -> "kestrin.ini".
std::string ConfigFilePath(std::string_view exePath);
// Where earlier versions looked: the whole path cut after its first "." with "ini" appended,
// so a dot in a folder name moved the file out of the folder; "ini" when there is no dot.
std::string OldConfigFilePath(std::string_view exePath);
// The settings file to use: ConfigFilePath, unless no file is there and the old place holds a
// Kestrin settings file (a "Dat" section with "Cnt"), so an existing set-up keeps its settings.
// Another program's file at the old place is only looked at, never used.
std::string ChooseConfigFile(FileSystem& files, std::string_view exePath);

// The stored form of one item section, shared with the item-set files: returns the outline
// line ("Tit" decoded, "New Item" when missing) and fills `item` from the other keys.
std::string ReadItemSection(const IniFile& ini, int index, Item& item);
// Writes section `index` for an outline line and its item, with the keys its Kind keeps.
void WriteItemSection(IniWriter& writer, int index, std::string_view outlineLine, const Item& item);

// Creates the file with one default item when no file (a folder does not count) is there.
// Throws KestrinError "Unable to write to <path>" when it cannot be written.
void WriteDefaultConfig(FileSystem& files, const std::string& path, int hotkeyValue);

// Fills store.items, store.outline and tree from one pass over the file, read in pieces and
// keeping only the sections it reads (the lookups find what they would in the whole text,
// and the peak memory is about the items', not the file's plus theirs); calls giveHotkey with
// "Dat"/"Key" before the count is checked. Node k carries slot k. Throws KestrinError:
// - "Range check error" for a missing file or a count that is missing, not a number,
//   negative or above kMaxItemCount: items and outline are empty, the tree keeps its nodes
//   with slot -1 and store.unsavedLoadError holds the error until a load succeeds;
// - the outline's "Invalid level" error once everything is loaded: every line has its node
//   and its slot, so the state can be saved without loss.
// The caller registers the hotkey after a successful return.
void LoadItems(FileSystem& files, const std::string& path, ItemStore& store, Tree& tree,
               const std::function<void(int)>& giveHotkey);

// Rewrites the whole file from the tree (pre-order) and store.items, "Key" = hotkeyValue;
// titles are stored without leading blanks. The new file replaces the old one in one step; on
// success store.outline becomes the tree's outline. Throws KestrinError and changes nothing
// (the old file, the outline, the items and the tree stay as they were) with
// store.unsavedLoadError when the last load left one, with "Range check error" when a node
// has no row, and with "Unable to write to <path>" when the file cannot be written.
void SaveItems(FileSystem& files, const std::string& path, ItemStore& store, const Tree& tree,
               std::uint16_t hotkeyValue);

}  // namespace kestrin
