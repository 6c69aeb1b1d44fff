// The whole load and save through an in-memory file. Input: a ConfigFile text. Checked: a
// load, reading the file in pieces, finds every item the whole text's lookups find; it either
// fails with "Range check error" exactly when the count is unusable (leaving no row and no
// slot behind, and refusing the next save) or gives every item its row, its line and its
// node; a save of that state always succeeds; the load that follows reports no error and
// gives the same tree shape, and the same outline lines and item texts wherever the format
// can carry them; once everything has been through the format, a second save writes the same
// bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/config.h"
#include "core/ini.h"
#include "core/outline.h"
#include "fuzz_support.h"
#include "../unit/memory_files.h"
#include "../unit/tree_shape.h"

using namespace kestrin;

namespace {

const std::string kPath = "E:\\k.ini";
// Larger counts only cost time: every item is read and written the same way.
constexpr int kWorkBound = 600;

using Loaded = LoadedConfig;

void Load(MemoryFiles& files, Loaded& loaded) { LoadConfig(files, kPath, loaded); }

std::string Save(MemoryFiles& files, Loaded& loaded, std::uint16_t hotkey) {
    return SaveError(files, kPath, loaded.store, loaded.tree, hotkey);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const IniFile ini = IniFile::Parse(text);
    const int count = ini.ReadInteger("Dat", "Cnt", -1);
    const bool usable = count >= 0 && count <= kMaxItemCount;
    if (usable && count > kWorkBound) return 0;

    MemoryFiles files;
    files.files[kPath] = text;
    // The load reads the file in pieces: every way of cutting it must read the same.
    files.pieceSize = size == 0 ? 0 : data[0] % 8;
    Loaded loaded;
    // A tree left from an earlier load: a failed load must not leave its slots claiming rows.
    loaded.tree.AddChild(loaded.tree.AddRoot("old", 0), "old child", 1);
    Load(files, loaded);
    FUZZ_CHECK_EQ(loaded.hotkey, ini.ReadInteger("Dat", "Key", 0));

    if (!usable) {
        FUZZ_CHECK_EQ(loaded.error, std::string("Range check error"));
        FUZZ_CHECK_EQ(loaded.store.unsavedLoadError, loaded.error);
        FUZZ_CHECK_EQ(loaded.store.items.Count(), 0);
        FUZZ_CHECK(loaded.store.outline.empty());
        FUZZ_CHECK_EQ(loaded.tree.Count(), 2);
        for (NodeId id : loaded.tree.PreOrder()) FUZZ_CHECK_EQ(loaded.tree.Slot(id), -1);
        FUZZ_CHECK_EQ(Save(files, loaded, 0), std::string("Range check error"));
        FUZZ_CHECK_EQ(files.files[kPath], text);
        return 0;
    }

    FUZZ_CHECK_MSG(loaded.error.empty() || loaded.error.rfind("Invalid level (", 0) == 0, loaded.error);
    FUZZ_CHECK(loaded.store.unsavedLoadError.empty());
    FUZZ_CHECK_EQ(loaded.store.items.Count(), count);
    FUZZ_CHECK_EQ(loaded.store.outline.size(), static_cast<size_t>(count));
    FUZZ_CHECK_EQ(loaded.tree.Count(), count);
    std::vector<int> seen(static_cast<size_t>(count), 0);
    for (NodeId id : loaded.tree.PreOrder()) {
        const int slot = loaded.tree.Slot(id);
        FUZZ_CHECK(slot >= 0 && slot < count);
        ++seen[static_cast<size_t>(slot)];
        const std::string& line = loaded.store.outline[static_cast<size_t>(slot)];
        const size_t blanks = line.find_first_not_of(" \t");
        FUZZ_CHECK_EQ(loaded.tree.Title(id), blanks == std::string::npos ? std::string() : line.substr(blanks));
    }
    for (int n : seen) FUZZ_CHECK_EQ(n, 1);
    // Every item as the whole text's lookups give it.
    for (int i = 0; i < count; ++i) {
        Item expected;
        FUZZ_CHECK_EQ(loaded.store.outline[static_cast<size_t>(i)], ReadItemSection(ini, i, expected));
        const Item& got = loaded.store.items.At(i);
        FUZZ_CHECK_EQ(got.kind, expected.kind);
        FUZZ_CHECK_EQ(got.command, expected.command);
        FUZZ_CHECK_EQ(got.parameters, expected.parameters);
        FUZZ_CHECK_EQ(got.directory, expected.directory);
        FUZZ_CHECK_EQ(got.showState, expected.showState);
        FUZZ_CHECK_EQ(got.iconFile, expected.iconFile);
        FUZZ_CHECK_EQ(got.iconIndex, expected.iconIndex);
    }

    // What the save must carry: the tree's shape, and the item of each node in pre-order.
    const std::vector<int> depths = Depths(loaded.tree);
    std::vector<Item> items;
    for (NodeId id : loaded.tree.PreOrder()) items.push_back(loaded.store.items.At(loaded.tree.Slot(id)));

    const std::uint16_t hotkey = static_cast<std::uint16_t>(loaded.hotkey);
    FUZZ_CHECK_EQ(Save(files, loaded, hotkey), std::string());
    const std::string saved = files.files[kPath];
    const OutlineList savedOutline = loaded.store.outline;
    FUZZ_CHECK_EQ(savedOutline.size(), static_cast<size_t>(count));

    Loaded back;
    Load(files, back);
    FUZZ_CHECK_EQ(back.error, std::string());
    FUZZ_CHECK_EQ(back.hotkey, static_cast<int>(hotkey));
    FUZZ_CHECK_EQ(back.store.outline.size(), savedOutline.size());
    // The shape survives whatever the titles hold.
    FUZZ_CHECK_MSG(Depths(back.tree) == depths, "tree shape changed by a save and load");

    bool allStable = true;
    for (size_t i = 0; i < savedOutline.size(); ++i) {
        const Item& before = items[i];
        const Item& after = back.store.items.At(static_cast<int>(i));
        FUZZ_CHECK_EQ(after.kind, before.kind);
        const bool program = before.kind == kKindProgram;
        const bool hasIcon = before.kind != kKindSeparator;
        FUZZ_CHECK_EQ(after.showState, program ? before.showState : 0);
        FUZZ_CHECK_EQ(after.iconIndex, hasIcon ? before.iconIndex : 0);
        auto same = [&](const std::string& got, const std::string& wanted, bool kept) {
            if (!kept) {
                FUZZ_CHECK(got.empty());
            } else if (fuzz::ReadsBackAsWritten(wanted)) {
                FUZZ_CHECK_EQ(got, wanted);
            } else {
                allStable = false;
            }
        };
        same(after.command, before.command, program);
        same(after.parameters, before.parameters, program);
        same(after.directory, before.directory, program);
        same(after.iconFile, before.iconFile, hasIcon);
        if (fuzz::ReadsBackAsWritten(EncodeTitle(savedOutline[i])))
            FUZZ_CHECK_EQ(back.store.outline[i], savedOutline[i]);
        else allStable = false;
    }

    // Once everything has been through the format, a save writes the same file again.
    if (allStable) {
        FUZZ_CHECK_EQ(Save(files, back, hotkey), std::string());
        FUZZ_CHECK_EQ(files.files[kPath], saved);
    }
    return 0;
}
