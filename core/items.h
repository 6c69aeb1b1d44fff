// The item store: every field of every item except its title, addressed by SlotNumber,
// plus the OutlineList that holds the titles and the shape of the tree.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrin {

enum ItemKind : std::uint8_t {
    kKindProgram = 0,    // Program/Command
    kKindSeparator = 1,  // Separator (line)
    kKindSubmenu = 2,
};

enum ShowState : std::uint8_t {
    kShowNormal = 0,
    kShowMaximized = 1,
    kShowMinimized = 2,
};

// The byte fields keep only the low 8 bits of whatever is stored into them
// (256 becomes 0, -1 becomes 255), as the stored files rely on.
inline std::uint8_t LowByte(long long value) {
    return static_cast<std::uint8_t>(static_cast<unsigned long long>(value) & 0xFFu);
}

struct Item {
    std::uint8_t kind = kKindProgram;
    std::string command;
    std::string parameters;
    std::string directory;
    std::uint8_t showState = kShowNormal;
    std::string iconFile;
    std::uint8_t iconIndex = 0;
};

// One row per slot. Rows are only ever appended or the whole table resized by a load;
// deleting an item in the editor leaves its row unreferenced until the next save and load.
class ItemTable {
public:
    int Count() const { return static_cast<int>(rows_.size()); }
    void SetCount(int count) { rows_.assign(count < 0 ? 0 : static_cast<size_t>(count), Item{}); }
    void Clear() { rows_.clear(); }
    // The rows a load read, taken over without copying.
    void Assign(std::vector<Item>&& rows) { rows_ = std::move(rows); }
    int Append(const Item& item = Item{}) {
        rows_.push_back(item);
        return Count() - 1;
    }
    bool IsValid(int slot) const { return slot >= 0 && slot < Count(); }
    Item& At(int slot) { return rows_.at(static_cast<size_t>(slot)); }
    const Item& At(int slot) const { return rows_.at(static_cast<size_t>(slot)); }

private:
    std::vector<Item> rows_;
};

// The title of an item the editor adds, and of a stored item that has no title.
constexpr const char* kNewItemTitle = "New Item";

// Titles in tree pre-order, one TAB per level in front. After a load line i belongs to slot i.
using OutlineList = std::vector<std::string>;

// The process-wide store: the ItemTable and the OutlineList.
struct ItemStore {
    ItemTable items;
    OutlineList outline;
    // The error of the last load when it emptied the table under a tree that still shows
    // the items: a save from that state would lose their fields, so it is refused with this.
    std::string unsavedLoadError;
};

}  // namespace kestrin
