#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <set>

#include "core/outline.h"
#include "settings/tree_edit.h"
#include "tests/unit/tree_shape.h"

using namespace kestrin;

namespace {

Tree RandomTree(std::mt19937& rng) {
    std::string outline;
    const int count = 2 + static_cast<int>(rng() % 6);
    int depth = 0;
    for (int i = 0; i < count; ++i) {
        depth = i == 0 ? 0 : static_cast<int>(rng() % static_cast<unsigned>(depth + 2));
        outline += std::string(static_cast<size_t>(depth), '\t') + static_cast<char>('A' + i) + "\r\n";
    }
    Tree tree;
    ReadOutlineText(outline, tree);
    for (NodeId id : tree.PreOrder()) tree.SetExpanded(id, rng() % 2 == 0);
    return tree;
}

TreeEdit (*const kMoves[])(Tree&, NodeId) = {MoveUp, MoveDown, MoveIntoSubmenu, MoveOutOfSubmenu};

// Every shape the four moves of `moved` can reach from `start`.
std::set<std::string> ReachableByMoves(const Tree& start, NodeId moved) {
    const auto& moves = kMoves;
    std::set<std::string> seen = {Shape(start)};
    std::deque<Tree> queue = {start};
    while (!queue.empty()) {
        for (auto move : moves) {
            Tree next = queue.front();
            move(next, moved);
            if (seen.insert(Shape(next)).second) queue.push_back(next);
        }
        queue.pop_front();
    }
    return seen;
}

// The moves alone never put a node after a submenu that ends its level (Move out of submenu
// goes before the parent there); a sequence gets there by moving that submenu up past the
// node once. So: moves of `moved`, with at most one move of another node among them.
bool ReachableWithOneOtherMove(const Tree& start, NodeId moved, const std::string& shape) {
    std::set<std::pair<std::string, bool>> seen = {{Shape(start), false}};
    std::deque<std::pair<Tree, bool>> queue = {{start, false}};
    while (!queue.empty()) {
        const auto [tree, usedOther] = queue.front();
        queue.pop_front();
        for (NodeId node : tree.PreOrder()) {
            if (node != moved && usedOther) continue;
            for (auto move : kMoves) {
                Tree next = tree;
                move(next, node);
                const std::string reached = Shape(next);
                if (reached == shape) return true;
                const bool used = usedOther || node != moved;
                if (seen.insert({reached, used}).second) queue.push_back({next, used});
            }
        }
    }
    return false;
}

}  // namespace

TEST(DragMove, EqualsASequenceOfMovesAndLandsWhereDropped) {
    std::mt19937 rng(20260612);
    int checked = 0;
    for (int round = 0; round < 60; ++round) {
        const Tree start = RandomTree(rng);
        for (NodeId moved : start.PreOrder()) {
            const std::set<std::string> reachable = ReachableByMoves(start, moved);
            std::vector<DropPoint> points = {DropPoint{}};
            for (NodeId under : start.PreOrder())
                for (DropZone zone : {DropZone::Above, DropZone::On, DropZone::Below})
                    points.push_back(DropPointAt(start, under, zone, true));
            for (const DropPoint& point : points) {
                Tree tree = start;
                const bool allowed = CanDragTo(tree, moved, point);
                const TreeEdit edit = DragMove(tree, moved, point);
                if (!allowed) {
                    EXPECT_TRUE(start.IsInSubtree(point.target, moved)) << Shape(start);
                    EXPECT_EQ(Shape(tree), Shape(start));
                    EXPECT_FALSE(edit.changed);
                    continue;
                }
                ++checked;
                EXPECT_TRUE(reachable.count(Shape(tree)) || ReachableWithOneOtherMove(start, moved, Shape(tree)))
                    << Shape(start) << " -> " << Shape(tree);
                EXPECT_EQ(edit.selected, moved);
                switch (point.placement) {
                case Placement::InsertBefore:
                    EXPECT_EQ(tree.Parent(moved), start.Parent(point.target));
                    if (point.target != moved) {
                        EXPECT_EQ(tree.NextSibling(moved), point.target) << Shape(tree);
                    }
                    break;
                case Placement::AddChild: EXPECT_EQ(tree.LastChild(point.target), moved) << Shape(tree); break;
                case Placement::AddSibling:
                    EXPECT_EQ(tree.NextSibling(moved), kNoNode)
                        << start.Title(moved) << " after "
                        << (point.target == kNoNode ? "end" : start.Title(point.target)) << ": " << Shape(start)
                        << " -> " << Shape(tree);
                    EXPECT_EQ(tree.Parent(moved), point.target == kNoNode ? kNoNode : start.Parent(point.target))
                        << start.Title(moved) << " after "
                        << (point.target == kNoNode ? "end" : start.Title(point.target)) << ": " << Shape(start)
                        << " -> " << Shape(tree);
                    break;
                }
            }
        }
    }
    EXPECT_GT(checked, 1000);
}

TEST(DropPointAt, BelowMeansJustUnderTheNodeOnScreen) {
    Tree tree;
    ReadOutlineText("A\r\n\tA1\r\n\tA2\r\nB\r\n\tB1\r\nC\r\n", tree);
    const auto id = [&](const char* title) {
        for (NodeId n : tree.PreOrder())
            if (tree.Title(n) == title) return n;
        return kNoNode;
    };
    tree.SetExpanded(id("A"), true);
    struct Case {
        const char* under;
        DropZone zone;
        bool into;
        Placement placement;
        const char* target;
    };
    const Case cases[] = {
        {"A", DropZone::Below, true, Placement::InsertBefore, "A1"},  // open: its first child
        {"B", DropZone::Below, true, Placement::InsertBefore, "C"},   // closed: its next sibling
        {"A2", DropZone::Below, true, Placement::AddSibling, "A2"},   // last of its level
        {"C", DropZone::On, true, Placement::AddChild, "C"},
        {"C", DropZone::On, false, Placement::InsertBefore, "C"},  // a file onto a leaf
        {"B1", DropZone::Above, true, Placement::InsertBefore, "B1"},
    };
    for (const Case& c : cases) {
        const DropPoint point = DropPointAt(tree, id(c.under), c.zone, c.into);
        EXPECT_EQ(point.placement, c.placement) << c.under;
        EXPECT_EQ(point.target, id(c.target)) << c.under;
    }
    EXPECT_EQ(DropPointAt(tree, kNoNode, DropZone::On, true).target, kNoNode);
}

TEST(InsertEntries, InOrderAtTheDropPointFirstSelected) {
    struct Case {
        Placement placement;
        const char* target;
        const char* expected;
    };
    const Case cases[] = {
        {Placement::InsertBefore, "B", "A;>A1;x;y;B;"},
        {Placement::AddChild, "B", "A;>A1;B;>x;>y;"},
        {Placement::AddChild, "A", "A;>A1;>x;>y;B;"},
        {Placement::AddSibling, "", "A;>A1;B;x;y;"},
    };
    for (const Case& c : cases) {
        Tree tree;
        ReadOutlineText("A\r\n\tA1\r\nB\r\n", tree);
        ItemTable items;
        items.SetCount(3);
        NodeId target = kNoNode;
        for (NodeId n : tree.PreOrder())
            if (tree.Title(n) == c.target) target = n;
        Item row;
        row.command = "x.exe";
        const TreeEdit edit = InsertEntries(tree, items, {{"x", row}, {"y", Item{}}}, {c.placement, target});
        EXPECT_EQ(Shape(tree), c.expected);
        ASSERT_TRUE(tree.IsAlive(edit.selected));
        EXPECT_EQ(tree.Title(edit.selected), "x");
        EXPECT_EQ(items.Count(), 5);
        EXPECT_EQ(items.At(tree.Slot(edit.selected)).command, "x.exe");
        if (c.placement == Placement::AddChild) {
            EXPECT_TRUE(tree.Expanded(target));
        }
        EXPECT_EQ(edit.steps.back(), (TreeStep{TreeStep::Kind::Select, edit.selected}));
    }
}
