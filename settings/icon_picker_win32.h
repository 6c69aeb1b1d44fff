// "Select Icon": a small modal window listing every icon of one file as a grid of large
// icons. It exists only while RunIconPicker runs.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace kestrin {

// Opens the picker over `owner` (disabled meanwhile) on `file`, with the stored icon index
// applied to the selection as PresetSelection says, and returns what the Icon index field
// takes when the picker closes, as PickedIconIndex says: the selected entry (-1 for none),
// nothing when the file gave no icons. Enter and a double click keep the selection, Esc
// selects the first icon, the close button keeps it.
std::optional<int> RunIconPicker(HWND owner, const std::string& file, int storedIndex);

}  // namespace kestrin
