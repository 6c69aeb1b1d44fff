#include <gtest/gtest.h>

#include "core/items.h"
#include "core/outline.h"
#include "tests/unit/tree_shape.h"

using namespace kestrin;

namespace {

std::string ReadError(std::string_view text, Tree& tree) {
    try {
        ReadOutlineText(text, tree);
    } catch (const KestrinError& e) {
        return e.what();
    }
    return "";
}

}  // namespace

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
    // An indented first line is top level; an empty line is a top-level empty title.
    ReadOutlineText("\t\tFirst\n\tChild\n\nLast", tree);
    EXPECT_EQ(Shape(tree), "First;>Child;;Last;");
    // Two TABs alone after depth 1 give an empty title at depth 2.
    ReadOutlineText("A\n\tB\n\t\t", tree);
    EXPECT_EQ(Shape(tree), "A;>B;>>;");
    // Leading spaces count as levels and leave the title.
    ReadOutlineText("A\n\tB\n\t Foo", tree);
    EXPECT_EQ(Shape(tree), "A;>B;>>Foo;");
}

TEST(OutlineText, TooDeepLineStopsWithErrorKeepingEarlierNodes) {
    Tree tree;
    EXPECT_EQ(ReadError("A\n\tB\n\t  Foo\nC", tree), "Invalid level (3) for item \"Foo\"");
    EXPECT_EQ(Shape(tree), "A;>B;");
    EXPECT_EQ(ReadError("A\n\t\tX", tree), "Invalid level (2) for item \"X\"");
    EXPECT_EQ(Shape(tree), "A;");
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
    EXPECT_TRUE(tree.Empty());
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
    tree.MoveAfter(a1, a);
    EXPECT_EQ(Shape(tree), "B;A;A1;");
    EXPECT_EQ(tree.PreOrderIndex(a1), 2);
    EXPECT_EQ(tree.AtPreOrderIndex(1), a);
    tree.Remove(a);
    EXPECT_FALSE(tree.IsAlive(a));
    EXPECT_EQ(tree.Count(), 2);
}
