// Faults the fuzz targets in tests/fuzz turned up, each reduced to the input that shows it.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/config.h"
#include "core/launcher_menu.h"
#include "core/outline.h"
#include "settings/item_sets.h"
#include "tests/unit/memory_files.h"
#include "tests/unit/tree_shape.h"

using namespace kestrin;

namespace {

const std::string kPath = "E:\\kestrin.ini";

// The load's error, or "".
std::string Load(MemoryFiles& files, ItemStore& store, Tree& tree) {
    LoadedConfig loaded;
    LoadConfig(files, kPath, loaded);
    store = std::move(loaded.store);
    tree = std::move(loaded.tree);
    return loaded.error;
}

// Each line's holder in the tree against the launcher menu built from the same outline.
void ExpectSameHolders(const Tree& tree, const OutlineList& outline) {
    ItemTable items;
    items.SetCount(static_cast<int>(outline.size()));
    const LauncherMenu menu = BuildLauncherMenu(outline, items, "E:");
    ASSERT_EQ(tree.Count(), static_cast<int>(menu.entries.size()));
    for (NodeId id : tree.PreOrder()) {
        const NodeId parent = tree.Parent(id);
        EXPECT_EQ(parent == kNoNode ? -1 : tree.Slot(parent), menu.entries[static_cast<size_t>(tree.Slot(id))].parent)
            << "line " << tree.Slot(id) << " of " << Shape(tree);
    }
}

}  // namespace

// fuzz_outline: after an indented first line, the settings tree nested the next lines under it
// while the launcher menu showed them on the top level ("\tA", "\tB": B is a child of A in
// Settings, beside it in the menu), so OK in Settings moved them.
TEST(FuzzFindings, IndentedFirstLinePlacesTheNextLinesAsTheLauncherMenuDoes) {
    Tree tree;
    EXPECT_EQ(ReadOutlineText("\tA\r\n\tB\r\n\t\tC\r\n", tree), "");
    ExpectSameHolders(tree, {"\tA", "\tB", "\t\tC"});

    // The same from a stored file: the menu is built from the loaded outline.
    MemoryFiles files;
    files.files[kPath] = "[Dat]\r\nCnt=3\r\n[0]\r\nTit=#|A\r\n[1]\r\nTit=#|B\r\n[2]\r\nTit=#|#|C\r\n";
    ItemStore store;
    EXPECT_EQ(Load(files, store, tree), "");
    ExpectSameHolders(tree, store.outline);
}

// fuzz_config: the reader trims blanks around a value, then drops one pair of enclosing quotes,
// and the save and the import wrote titles without regard to it. A top-level title that a load
// read inside quotes (Tit=""  x"") or with a trailing blank (kept by a NUL after it) was written
// as it was; the next load dropped the quotes and took the blanks or the "#|" behind them for
// levels. An import also lost the leading blank that makes " w" a child. The tree changed shape.
TEST(FuzzFindings, TitlesKeepTheirLevelsThroughSaveAndImport) {
    using namespace std::string_literals;
    const std::string file =
        "[Dat]\r\nCnt=5\r\n[0]\r\nTit=A\r\n[1]\r\nTit=\"\"  x\"\"\r\n[2]\r\nTit=\"\"#|y\"\"\r\n"
        "[3]\r\nTit='#|z' \0\r\n[4]\r\nTit=\" w\"\r\n"s;
    const std::vector<int> depths = {0, 0, 0, 0, 1};
    MemoryFiles files;
    files.files[kPath] = file;
    ItemStore store;
    Tree tree;
    ASSERT_EQ(Load(files, store, tree), "");
    ASSERT_EQ(Depths(tree), depths);

    SaveItems(files, kPath, store, tree, 0);
    EXPECT_EQ(Load(files, store, tree), "");
    EXPECT_EQ(Depths(tree), depths) << files.files[kPath];

    const std::optional<std::string> merged = ImportItemSet(file, "[Dat]\r\nCnt=0\r\n");
    ASSERT_TRUE(merged);
    files.files[kPath] = *merged;
    EXPECT_EQ(Load(files, store, tree), "");
    std::vector<int> withSeparator = depths;
    withSeparator.push_back(0);
    EXPECT_EQ(Depths(tree), withSeparator) << *merged;
}
