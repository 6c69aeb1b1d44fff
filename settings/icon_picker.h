// The rules of the icon picker that need no window: which file it shows, how the stored index
// becomes the selection, and the geometry of its cells.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrin {

// The file whose icons the picker lists. An icon file holding neither "%usb%" (lower case
// only) nor ":\" is relative to the program's folder (exeFolder ends with a backslash);
// otherwise the icon file, or the Command when the icon file is empty, with "%usb%" in any
// case expanded to exeDrive.
std::string IconPickerFile(std::string_view iconFile, std::string_view command, std::string_view exeFolder,
                           std::string_view exeDrive);

// The selection once the stored index is applied to a freshly loaded list of `count` icons
// (which selects the first icon, if any): an index inside the list selects it, -1 clears the
// selection, anything else leaves the first icon selected.
int PresetSelection(int count, int storedIndex);

// What the Icon index field takes when the picker closes on `selection` (-1 for none): the
// selection when the list held icons; nothing when it held none (a missing file, a file
// without icons), however the picker was closed, so the field keeps its index.
std::optional<int> PickedIconIndex(int count, int selection);

// The picker's list: a cell is a large icon plus the margin in each direction.
constexpr int kIconListMargin = 5;
struct CellSize {
    int width;
    int height;
};
CellSize IconCellSize(int iconWidth, int iconHeight, int margin = kIconListMargin);

// The offset of an icon centred in a cell, each half rounded toward zero.
struct Offset {
    int x;
    int y;
};
Offset CentredIconOffset(CellSize cell, int iconWidth, int iconHeight);

}  // namespace kestrin
