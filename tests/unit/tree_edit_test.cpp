#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <random>
#include <set>

#include "core/outline.h"
#include "settings/tree_edit.h"
#include "tests/unit/tree_shape.h"

using namespace kestrin;

namespace {

// Builds a tree from outline text; node k in pre-order carries slot k, as after a load.
void Load(Tree& tree, ItemTable& items, const char* outline) {
    ReadOutlineText(outline, tree);
    int k = 0;
    for (NodeId id : tree.PreOrder()) tree.SetSlot(id, k++);
    items.SetCount(k);
    for (int i = 0; i < k; ++i) items.At(i).command = "cmd" + std::to_string(i);
}

NodeId Find(const Tree& tree, const std::string& title) {
    for (NodeId id : tree.PreOrder())
        if (tree.Title(id) == title) return id;
    return kNoNode;
}

// What the on-screen tree would hold after the reported steps: it reads the model only to
// copy an inserted subtree. Describe() gives shape, titles and expanded flags ("+").
class MirrorView {
public:
    void Apply(const Tree& tree, const std::vector<TreeStep>& steps) {
        for (const TreeStep& s : steps) {
            if (s.kind == TreeStep::Kind::Remove) {
                std::vector<NodeId>& list = kids_[parent_.at(s.node)];
                list.erase(std::find(list.begin(), list.end(), s.node));
                parent_.erase(s.node);  // descendants become unreachable
            } else if (s.kind == TreeStep::Kind::Insert) {
                std::vector<NodeId>& list = kids_[s.parent];
                auto at = s.after == kNoNode ? list.begin() : std::find(list.begin(), list.end(), s.after) + 1;
                list.insert(at, s.node);
                Copy(tree, s.node, s.parent);
            } else if (s.kind == TreeStep::Kind::Select) {
                selected = s.node;
            } else {
                label_[s.node] = s.kind == TreeStep::Kind::Retitle ? tree.Title(s.node) : label_.at(s.node);
                if (s.kind != TreeStep::Kind::Retitle) open_[s.node] = s.kind == TreeStep::Kind::Expand;
            }
        }
    }
    void Copy(const Tree& tree, NodeId id, NodeId parent) {
        parent_[id] = parent;
        label_[id] = tree.Title(id);
        open_[id] = tree.Expanded(id);
        kids_[id].clear();
        for (NodeId c = tree.FirstChild(id); c != kNoNode; c = tree.NextSibling(c)) {
            kids_[id].push_back(c);
            Copy(tree, c, id);
        }
    }
    std::string Describe(NodeId parent = kNoNode, int depth = 0) {
        std::string out;
        for (NodeId id : kids_[parent])
            out += std::string(static_cast<size_t>(depth), '>') + label_[id] + (open_[id] ? "+;" : ";") +
                   Describe(id, depth + 1);
        return out;
    }
    NodeId selected = kNoNode;

private:
    std::map<NodeId, NodeId> parent_;
    std::map<NodeId, std::vector<NodeId>> kids_;
    std::map<NodeId, std::string> label_;
    std::map<NodeId, bool> open_;
};

std::string ModelDescribe(const Tree& tree) {
    std::string out;
    for (NodeId id : tree.PreOrder())
        out +=
            std::string(static_cast<size_t>(tree.Depth(id)), '>') + tree.Title(id) + (tree.Expanded(id) ? "+;" : ";");
    return out;
}

using Op = std::function<TreeEdit(Tree&, ItemTable&, NodeId)>;
const Op kUp = [](Tree& t, ItemTable&, NodeId s) { return MoveUp(t, s); };
const Op kDown = [](Tree& t, ItemTable&, NodeId s) { return MoveDown(t, s); };
const Op kIntoSubmenu = [](Tree& t, ItemTable&, NodeId s) { return MoveIntoSubmenu(t, s); };
const Op kOutOfSubmenu = [](Tree& t, ItemTable&, NodeId s) { return MoveOutOfSubmenu(t, s); };
const Op kNew = [](Tree& t, ItemTable& i, NodeId s) { return NewItem(t, i, s); };
const Op kDuplicate = [](Tree& t, ItemTable& i, NodeId s) { return DuplicateItem(t, i, s); };
const Op kDelete = [](Tree& t, ItemTable&, NodeId s) { return DeleteItem(t, s); };

const char* const kSample = "A\n\tA1\n\tA2\nB\nC\n\tC1\n";

}  // namespace

TEST(TreeEdit, MovesFollowTheirRules) {
    struct Case {
        const char* outline;
        const char* op;
        const char* node;
        const char* expected;  // nullptr: nothing changes
    };
    const Case cases[] = {
        {kSample, "up", "B", "A;>A1;>B;>A2;C;>C1;"},
        {kSample, "up", "A1", "A1;A;>A2;B;C;>C1;"},
        {kSample, "up", "A2", "A;>A2;>A1;B;C;>C1;"},
        {kSample, "up", "A", nullptr},
        {kSample, "down", "A1", "A;>A2;A1;B;C;>C1;"},
        {kSample, "down", "A2", "A;>A1;B;A2;C;>C1;"},
        {kSample, "down", "B", "A;>A1;>A2;C;>B;>C1;"},
        {kSample, "down", "C1", nullptr},
        {kSample, "down", "C", nullptr},
        {kSample, "down", "A", "B;A;>A1;>A2;C;>C1;"},
        {kSample, "into", "B", "A;>A1;>A2;>B;C;>C1;"},
        {kSample, "into", "A1", nullptr},
        {kSample, "out of", "A2", "A;>A1;A2;B;C;>C1;"},
        {kSample, "out of", "C1", "A;>A1;>A2;B;C1;C;"},
        {kSample, "out of", "A", nullptr},
        {"X\nY\n", "down", "X", "Y;X;"},
        {"A\n\tA1\nB\n", "down", "A1", "A;B;A1;"},
        // Up into the deepest end of the previous sibling's subtree.
        {"A\n\tA1\n\t\tA11\nB\n", "up", "B", "A;>A1;>>B;>>A11;"},
        // Down out of every submenu that ends at the next node.
        {"X\n\tY\n\t\tZ\n\t\tW\nV\n", "down", "Z", "X;>Y;>>W;Z;V;"},
        {"X\n\tY\n\t\tZ\n\t\tW\n", "down", "Z", "X;>Y;>>W;>>Z;"},  // second-to-last: at the last node's level
        // The last node of a submenu passes the next node outside it.
        {"A\n\tA1\nB\nC\n", "down", "A1", "A;B;A1;C;"},
        // A node with children swaps with its next sibling's whole subtree.
        {"P\n\tS\n\t\tS1\n\tT\n\t\tT1\nQ\n", "down", "S", "P;>T;>>T1;>S;>>S1;Q;"},
        {"P\n\tS\n\t\tS1\n\tT\n\tU\n", "down", "S", "P;>T;>S;>>S1;>U;"},
        {"S\n\tS1\nT\n\tT1\n", "down", "S", "T;>T1;S;>S1;"},
        // A node with children and no next sibling moves left.
        {"P\n\tS\n\t\tS1\nQ\n", "down", "S", "P;S;>S1;Q;"},
        {"P\n\tS\n\t\tS1\n", "down", "S", "S;>S1;P;"},
        {"R\n\tP\n\t\tO\n\t\tS\n\t\t\tS1\n", "down", "S", "R;>S;>>S1;>P;>>O;"},
    };
    for (const Case& c : cases) {
        Tree tree;
        ItemTable items;
        Load(tree, items, c.outline);
        const std::string before = Shape(tree);
        NodeId s = Find(tree, c.node);
        const std::string op = c.op;
        TreeEdit e = op == "up"     ? MoveUp(tree, s)
                     : op == "down" ? MoveDown(tree, s)
                     : op == "into" ? MoveIntoSubmenu(tree, s)
                                    : MoveOutOfSubmenu(tree, s);
        SCOPED_TRACE(std::string(c.op) + " " + c.node + " in " + before);
        EXPECT_EQ(Shape(tree), c.expected ? c.expected : before);
        EXPECT_EQ(e.changed, c.expected != nullptr);
        EXPECT_TRUE(e.selected == s && e.focusTree && !e.syncAfter);
    }
}

// The mirror in the random test checks every step list; here the flags the model keeps.
TEST(TreeEdit, MovesCollapseTheOldParentAndOpenTheWayToTheNewOne) {
    Tree tree;
    ItemTable items;
    Load(tree, items, "A\n\tA1\n\t\tA11\nB\nC\n\tC1\nD\n\tD1\n");
    tree.SetExpanded(Find(tree, "C"), true);
    tree.SetExpanded(Find(tree, "D"), true);
    MoveOutOfSubmenu(tree, Find(tree, "C1"));
    DeleteItem(tree, Find(tree, "D1"));
    EXPECT_FALSE(tree.Expanded(Find(tree, "C")) || tree.Expanded(Find(tree, "D")));
    MoveUp(tree, Find(tree, "B"));  // into the collapsed branch A > A1
    EXPECT_TRUE(tree.Expanded(Find(tree, "A")) && tree.Expanded(Find(tree, "A1")));
}

TEST(TreeEdit, MovePrimitiveRefusesImpossibleAndIdleMoves) {
    Tree tree;
    ItemTable items;
    Load(tree, items, kSample);
    const NodeId a = Find(tree, "A"), a1 = Find(tree, "A1"), a2 = Find(tree, "A2"), b = Find(tree, "B");
    const std::string before = Shape(tree);
    struct Case {
        NodeId s;
        Placement p;
        NodeId d;
    };
    const Case cases[] = {
        {a, Placement::AddChild, a2},                                        // into its own subtree
        {a, Placement::InsertBefore, a1},  {a, Placement::InsertBefore, a},  // onto itself
        {a1, Placement::InsertBefore, a2},                                   // already directly before
        {a2, Placement::AddChild, a},                                        // already the last child
        {a2, Placement::AddSibling, a1},                                     // already the last child of A1's parent
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        TreeEdit e = MoveNode(tree, cases[i].s, cases[i].p, cases[i].d);
        EXPECT_FALSE(e.changed) << i;
        EXPECT_TRUE(e.steps.empty()) << i;
        EXPECT_EQ(Shape(tree), before) << i;
    }
    TreeEdit last = MoveNode(tree, b, Placement::AddSibling, kNoNode);
    EXPECT_TRUE(last.changed);
    EXPECT_EQ(Shape(tree), "A;>A1;>A2;C;>C1;B;");
    EXPECT_FALSE(MoveNode(tree, b, Placement::AddSibling, a).changed);  // already the last top-level node

    // No selection: nothing happens and the tree does not take the focus.
    for (const Op& op : {kUp, kDown, kIntoSubmenu, kOutOfSubmenu, kDuplicate, kDelete}) {
        TreeEdit e = op(tree, items, kNoNode);
        EXPECT_FALSE(e.changed);
        EXPECT_FALSE(e.focusTree);
    }
}

TEST(TreeEdit, NewAndDuplicateAppendARowAndInsertBeforeTheSelection) {
    Tree tree;
    ItemTable items;
    Load(tree, items, kSample);
    items.At(tree.Slot(Find(tree, "A"))) = Item{kKindSubmenu, "c", "p", "d", kShowMinimized, "i", 7};

    TreeEdit n = NewItem(tree, items, Find(tree, "A2"));
    EXPECT_EQ(Shape(tree), "A;>A1;>New Item;>A2;B;C;>C1;");
    EXPECT_TRUE(n.selected == tree.AtPreOrderIndex(2) && n.syncAfter);
    EXPECT_EQ(tree.Slot(n.selected), 6);
    EXPECT_EQ(items.At(6).command, "");

    const NodeId a = Find(tree, "A");
    TreeEdit d = DuplicateItem(tree, items, a);
    EXPECT_EQ(Shape(tree), "A;A;>A1;>New Item;>A2;B;C;>C1;");
    EXPECT_TRUE(d.selected == tree.FirstRoot() && !tree.HasChildren(d.selected));
    const Item& copy = items.At(tree.Slot(d.selected));
    // All seven fields; the closing sync, not the copy, applies the children rule.
    EXPECT_TRUE(copy.kind == kKindSubmenu && copy.command == "c" && copy.parameters == "p" && copy.directory == "d" &&
                copy.showState == kShowMinimized && copy.iconFile == "i" && copy.iconIndex == 7);

    // A node whose slot a failed load left invalid duplicates as a default item.
    tree.SetSlot(a, 999);
    TreeEdit bad = DuplicateItem(tree, items, a);
    EXPECT_EQ(items.At(tree.Slot(bad.selected)).command, "");

    // An empty tree gets its first node from New.
    Tree empty;
    ItemTable none;
    TreeEdit first = NewItem(empty, none, kNoNode);
    EXPECT_EQ(Shape(empty), "New Item;");
    EXPECT_EQ(first.selected, empty.FirstRoot());
    EXPECT_EQ(empty.Slot(first.selected), 0);
}

TEST(TreeEdit, DeleteSelectsANeighbourAndNeverEmptiesTheTree) {
    struct Case {
        const char* outline;
        const char* node;
        const char* shape;
        const char* selected;
    };
    const Case cases[] = {
        {kSample, "A", "B;C;>C1;", "B"},         // next sibling
        {kSample, "C", "A;>A1;>A2;B;", "B"},     // previous sibling
        {kSample, "C1", "A;>A1;>A2;B;C;", "C"},  // parent
        {kSample, "A1", "A;>A2;B;C;>C1;", "A2"},
        {"Only\n", "Only", "Only;", "Only"},          // the last node stays
        {"R\n\tR1\n\tR2\n", "R", "R;>R1;>R2;", "R"},  // would remove every node
    };
    for (const Case& c : cases) {
        Tree tree;
        ItemTable items;
        Load(tree, items, c.outline);
        const int rows = items.Count();
        TreeEdit e = DeleteItem(tree, Find(tree, c.node));
        EXPECT_EQ(Shape(tree), c.shape) << c.node;
        EXPECT_EQ(tree.Title(e.selected), c.selected) << c.node;
        EXPECT_TRUE(e.syncAfter && e.focusTree) << c.node;
        EXPECT_EQ(items.Count(), rows);  // rows stay until the next save and load
    }
}

// Random edits: the view's mirror follows the steps exactly, the tree survives the outline
// text round trip, slots stay unique, and only New, Duplicate and Delete add or drop nodes.
TEST(TreeEdit, RandomEditsKeepTreeViewAndSlotsConsistent) {
    const Op ops[] = {kUp, kDown, kIntoSubmenu, kOutOfSubmenu, kNew, kDuplicate, kDelete};
    std::mt19937 rng(20240607);
    for (int round = 0; round < 10; ++round) {
        Tree tree;
        ItemTable items;
        Load(tree, items, kSample);
        MirrorView view;
        for (NodeId r = tree.FirstRoot(); r != kNoNode; r = tree.NextSibling(r))
            view.Apply(tree, {{TreeStep::Kind::Insert, r, kNoNode, tree.PrevSibling(r)}});
        std::multiset<int> slots;
        for (NodeId id : tree.PreOrder()) slots.insert(tree.Slot(id));
        NodeId selected = tree.FirstRoot();
        int titles = 0;

        for (int step = 0; step < 300; ++step) {
            if (rng() % 4 == 0) {  // the user clicks another node
                std::vector<NodeId> all = tree.PreOrder();
                selected = all[rng() % all.size()];
            }
            const size_t which = rng() % std::size(ops);
            std::multiset<int> expected = slots;
            if (which == 6 && tree.Count() > 1 &&
                !(tree.Parent(selected) == kNoNode && tree.FirstRoot() == selected && tree.LastRoot() == selected)) {
                NodeId stop = tree.NextAfterSubtree(selected);
                for (NodeId n = selected; n != stop; n = tree.NextPreOrder(n))
                    expected.erase(expected.find(tree.Slot(n)));
            }
            TreeEdit e = ops[which](tree, items, selected);
            ASSERT_NO_FATAL_FAILURE(view.Apply(tree, e.steps));
            if (which == 4 || which == 5) {
                expected.insert(items.Count() - 1);
                tree.SetTitle(e.selected, "T" + std::to_string(titles++));  // keep titles unique
                view.Apply(tree, {{TreeStep::Kind::Retitle, e.selected}});
            }
            slots.clear();
            for (NodeId id : tree.PreOrder()) slots.insert(tree.Slot(id));
            ASSERT_EQ(slots, expected) << "op " << which;
            ASSERT_EQ(std::set<int>(slots.begin(), slots.end()).size(), slots.size());
            ASSERT_EQ(view.Describe(), ModelDescribe(tree)) << "op " << which;
            ASSERT_TRUE(tree.IsAlive(e.selected));
            if (!e.steps.empty()) {
                ASSERT_EQ(view.selected, e.selected);
            }
            selected = e.selected;

            Tree back;
            ReadOutlineText(WriteOutlineText(tree), back);
            ASSERT_EQ(Shape(back), Shape(tree));
        }
    }
}
