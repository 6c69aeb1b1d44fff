#include <gtest/gtest.h>

#include <random>

#include "core/items.h"
#include "core/launcher_menu.h"
#include "core/outline.h"
#include "tests/unit/tree_shape.h"

using namespace kestrin;

TEST(ItemTable, ByteFieldsKeepLowEightBits) {
    EXPECT_EQ(LowByte(256), 0);
    EXPECT_EQ(LowByte(258), 2);
    EXPECT_EQ(LowByte(-1), 255);
    EXPECT_EQ(LowByte(-8154), LowByte(57382));
    ItemTable table;
    table.SetCount(2);
    EXPECT_EQ(table.Append(), 2);
    EXPECT_FALSE(table.IsValid(3));
    EXPECT_FALSE(table.IsValid(-1));
    table.SetCount(-5);
    EXPECT_EQ(table.Count(), 0);
}

TEST(StoredTitle, EncodeAndDecode) {
    EXPECT_EQ(EncodeTitle("\t\tA\tB"), "#|#|A#|B");
    EXPECT_EQ(DecodeTitle("#|#|A"), "\t\tA");
    EXPECT_EQ(DecodeTitle("##||"), "#\t|");
    EXPECT_EQ(DecodeTitle("#"), "#");
    EXPECT_EQ(DecodeTitle("a#|"), "a\t");
    EXPECT_EQ(TabDepth("\tA\tB"), 2);
    EXPECT_EQ(TabDepth("  A"), 0);
}

TEST(OutlineText, SplitsOnEveryLineBreakKind) {
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitLines("\n\r"), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(SplitLines(std::string_view("a\nb\0c\nd", 7)), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(SplitLines("").empty());
}

TEST(OutlineText, ReadsLevelsAndClimbs) {
    Tree tree;
    ReadOutlineText("A\r\n\tA1\r\n\t\tA11\r\n\t\t\tA111\r\nB\r\n\tB1\r\n", tree);
    EXPECT_EQ(Shape(tree), "A;>A1;>>A11;>>>A111;B;>B1;");
    // Three levels shallower: next sibling of the ancestor at its own level.
    ReadOutlineText("A\n\tB\n\t\tC\n\t\t\tD\n\tE\n", tree);
    EXPECT_EQ(Shape(tree), "A;>B;>>C;>>>D;>E;");
}

TEST(OutlineText, OddLinesFollowTheLevelRules) {
    Tree tree;
    // An indented first line is top level, and the lines after it go by their own indentation
    // (as the launcher menu places them: one TAB finds no holder); an empty line is a
    // top-level empty title.
    EXPECT_EQ(ReadOutlineText("\t\tFirst\n\tSecond\n\t\tChild\n\nLast", tree), "");
    EXPECT_EQ(Shape(tree), "First;Second;>Child;;Last;");
    // Two TABs alone after depth 1 give an empty title at depth 2.
    ReadOutlineText("A\n\tB\n\t\t", tree);
    EXPECT_EQ(Shape(tree), "A;>B;>>;");
    // Leading spaces count as levels and leave the title.
    ReadOutlineText("A\n\tB\n\t Foo", tree);
    EXPECT_EQ(Shape(tree), "A;>B;>>Foo;");
}

TEST(OutlineText, TooDeepLineIsReportedAndStillPlaced) {
    Tree tree;
    EXPECT_EQ(ReadOutlineText("A\n\tB\n\t  Foo\nC", tree), "Invalid level (3) for item \"Foo\"");
    EXPECT_EQ(Shape(tree), "A;>B;>>Foo;C;");
    EXPECT_EQ(ReadOutlineText("A\n\t\tX\n\t\tY\n\tZ", tree), "Invalid level (2) for item \"X\"");
    EXPECT_EQ(Shape(tree), "A;>X;>Y;>Z;");
    // Only the first offence is reported; a skipped level reaches back to an earlier branch
    // as in the launcher menu, and node k keeps the slot of line k.
    EXPECT_EQ(ReadOutlineText("A\n\tB\nC\n\t\t\tD\n\t\t\t\t\tE", tree), "Invalid level (3) for item \"D\"");
    EXPECT_EQ(Shape(tree), "A;>B;>>D;>>>E;C;");
    std::vector<int> slots;
    for (NodeId id : tree.PreOrder()) slots.push_back(tree.Slot(id));
    EXPECT_EQ(slots, (std::vector<int>{0, 1, 3, 4, 2}));
}

TEST(OutlineText, PlacesEveryLineWhereTheLauncherMenuShowsIt) {
    // Random TAB-indented outlines with skipped levels, read into the tree and built into
    // the launcher menu: each line must have the same holder in both.
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        OutlineList lines;
        std::string text;
        const int count = 1 + static_cast<int>(random() % 12);
        for (int i = 0; i < count; ++i) {
            const int depth = i == 0 ? 0 : static_cast<int>(random() % 5);
            lines.push_back(std::string(static_cast<size_t>(depth), '\t') + "L" + std::to_string(i));
            text += lines.back() + "\r\n";
        }
        Tree tree;
        ReadOutlineText(text, tree);
        ItemTable items;
        items.SetCount(count);
        const LauncherMenu menu = BuildLauncherMenu(lines, items, "C:");
        ASSERT_EQ(tree.Count(), count);
        for (NodeId id : tree.PreOrder()) {
            const int line = tree.Slot(id);
            const NodeId parent = tree.Parent(id);
            const int menuParent = menu.entries[static_cast<size_t>(line)].parent;
            EXPECT_EQ(parent == kNoNode ? -1 : tree.Slot(parent), menuParent) << text << " line " << line;
        }
    }
}

TEST(OutlineText, RoundTripsThroughStoredTitles) {
    Tree tree;
    NodeId a = tree.AddRoot("A &Tools");
    tree.AddChild(a, "x#|literal");
    NodeId sub = tree.AddChild(a, "Sub");
    tree.AddChild(sub, "");
    tree.AddRoot("-");
    const std::string text = WriteOutlineText(tree);
    EXPECT_EQ(text, "A &Tools\r\n\tx#|literal\r\n\tSub\r\n\t\t\r\n-\r\n");

    std::string stored;
    for (const std::string& line : SplitLines(text)) stored += EncodeTitle(line) + "\n";
    std::string back;
    for (const std::string& line : SplitLines(stored)) back += DecodeTitle(line) + "\r\n";
    Tree reread;
    ReadOutlineText(back, reread);
    // "#|" in a title comes back as a TAB in the middle, which is not a leading level.
    EXPECT_EQ(Shape(reread), "A &Tools;>x\tliteral;>Sub;>>;-;");
    EXPECT_EQ(WriteOutlineText(Tree{}), "");
}

TEST(OutlineText, HundredThousandLevelsDoNotOverflowTheStack) {
    const int kDepth = 100000;
    Tree tree;
    NodeId parent = kNoNode;
    for (int i = 0; i < kDepth; ++i) parent = tree.AddChild(parent, "x");
    EXPECT_EQ(tree.Depth(parent), kDepth - 1);
    EXPECT_EQ(static_cast<int>(tree.PreOrder().size()), kDepth);
    EXPECT_EQ(tree.LastInSubtree(tree.FirstRoot()), parent);
    tree.Remove(tree.FirstRoot());
    EXPECT_EQ(tree.Count(), 0);
}

TEST(Tree, MovesKeepIdsAndRejectCycles) {
    Tree tree;
    NodeId a = tree.AddRoot("A");
    NodeId a1 = tree.AddChild(a, "A1");
    NodeId b = tree.AddRoot("B");
    tree.MoveToLastChild(b, a1);
    EXPECT_EQ(Shape(tree), "A;>A1;>>B;");
    EXPECT_THROW(tree.MoveToLastChild(a, b), std::invalid_argument);
    tree.MoveBefore(b, a);
    EXPECT_EQ(Shape(tree), "B;A;>A1;");
    tree.MoveToLastChild(a1, kNoNode);
    EXPECT_EQ(Shape(tree), "B;A;A1;");
    EXPECT_EQ(tree.PreOrderIndex(a1), 2);
    EXPECT_EQ(tree.AtPreOrderIndex(1), a);
    tree.Remove(a);
    EXPECT_FALSE(tree.IsAlive(a));
    EXPECT_EQ(tree.Count(), 2);
}
