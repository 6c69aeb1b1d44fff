#include <gtest/gtest.h>

#include <map>

#include "base/error.h"
#include "core/outline.h"
#include "settings/item_form.h"

using namespace kestrin;

namespace {

// Records what the presenter shows. Like the real controls it echoes: setting an edit's
// text and selecting a node raise their change notifications again.
class FakeView : public ItemFormView {
public:
    ItemForm* form = nullptr;
    std::map<FormEdit, std::string> text;
    std::map<FormEdit, bool> readOnly;
    std::map<FormCombo, int> combo;
    std::map<FormCombo, bool> face;
    std::vector<TreeStep> steps;
    std::vector<std::string> errors;
    int textSets = 0;
    int focus = 0;
    bool commands = false;

    void SetEditText(FormEdit edit, const std::string& t) override {
        ++textSets;
        text[edit] = t;
        if (form) form->OnEditChanged(edit, t);
    }
    void SetEditReadOnly(FormEdit edit, bool r) override { readOnly[edit] = r; }
    void SetComboIndex(FormCombo c, int index) override { combo[c] = index; }
    void SetComboFace(FormCombo c, bool f) override { face[c] = f; }
    // Removing the selected item makes a real tree select a neighbour on its own.
    void ApplyTreeSteps(const std::vector<TreeStep>& s) override {
        for (const TreeStep& step : s) {
            steps.push_back(step);
            if (!form) continue;
            if (step.kind == TreeStep::Kind::Select) form->OnSelectionChanged(step.node);
            if (step.kind == TreeStep::Kind::Remove && tree && tree->FirstRoot() != step.node)
                form->OnSelectionChanged(tree->FirstRoot());
        }
    }
    const Tree* tree = nullptr;
    void FocusTree() override { ++focus; }
    void ShowError(const std::string& message) override { errors.push_back(message); }
    void SetKeyboardCommandsEnabled(bool enabled) override { commands = enabled; }
};

struct Fixture {
    ItemStore store;
    Tree tree;
    FakeView view;
    ItemForm form{store, tree, view};

    explicit Fixture(const char* outline) {
        ReadOutlineText(outline, tree);
        int k = 0;
        for (NodeId id : tree.PreOrder()) tree.SetSlot(id, k++);
        store.items.SetCount(k);
        view.form = &form;
        view.tree = &tree;
    }
    NodeId Node(const std::string& title) const {
        for (NodeId id : tree.PreOrder())
            if (tree.Title(id) == title) return id;
        return kNoNode;
    }
    Item& Row(const std::string& title) { return store.items.At(tree.Slot(Node(title))); }
    void Select(const std::string& title) { form.OnSelectionChanged(Node(title)); }
};

}  // namespace

TEST(ItemForm, OpeningCollapsesEverythingAndShowsTheFirstNode) {
    Fixture f("Tools\n\tEditor\n\t\tDeep\nGames\n");
    for (NodeId id : f.tree.PreOrder()) f.tree.SetExpanded(id, true);
    f.store.items.At(0).iconFile = "tools.ico";

    EXPECT_TRUE(f.form.OpeningSteps(/*windowVisible=*/true).empty());  // no reset, no reselection
    f.form.OpenTree();
    for (NodeId id : f.tree.PreOrder()) EXPECT_FALSE(f.tree.Expanded(id));
    EXPECT_EQ(f.form.Selected(), f.Node("Tools"));
    EXPECT_EQ(f.view.steps.back(), (TreeStep{TreeStep::Kind::Select, f.Node("Tools")}));
    EXPECT_EQ(f.view.text[FormEdit::Title], "Tools");
    EXPECT_EQ(f.view.text[FormEdit::IconFile], "tools.ico");
    EXPECT_EQ(f.view.combo[FormCombo::Kind], kKindSubmenu);  // children rule on opening
    EXPECT_GE(f.view.focus, 1);

    // Export reopens at a remembered position.
    f.form.OpenTree(3);
    EXPECT_EQ(f.form.Selected(), f.Node("Games"));
}

TEST(ItemForm, SyncAppliesTheChildrenRuleAndTheFieldStates) {
    Fixture f("Sub\n\tChild\nLeaf\n");
    f.Row("Leaf").kind = kKindSubmenu;
    f.Select("Leaf");
    EXPECT_EQ(f.Row("Leaf").kind, kKindProgram);
    EXPECT_EQ(f.view.combo[FormCombo::Kind], kKindProgram);
    f.Select("Sub");
    EXPECT_EQ(f.Row("Sub").kind, kKindSubmenu);

    struct Case {
        std::uint8_t kind;
        bool kindFace;
        bool title;
        bool launch;
        bool icon;
        bool showFace;
    };
    const Case cases[] = {
        {kKindProgram, false, false, false, false, false},
        {kKindSeparator, false, true, true, true, true},
        {kKindSubmenu, true, false, true, false, true},
    };
    for (const Case& c : cases) {
        // Node "Sub" has children, so a Submenu row is kept; the others sit on the leaf.
        const char* node = c.kind == kKindSubmenu ? "Sub" : "Leaf";
        f.Row(node).kind = c.kind;
        f.Select(node);
        SCOPED_TRACE(int(c.kind));
        EXPECT_EQ(f.view.face[FormCombo::Kind], c.kindFace);
        EXPECT_EQ(f.view.readOnly[FormEdit::Title], c.title);
        for (FormEdit e : {FormEdit::Command, FormEdit::Parameters, FormEdit::Directory})
            EXPECT_EQ(f.view.readOnly[e], c.launch);
        for (FormEdit e : {FormEdit::IconFile, FormEdit::IconIndex}) EXPECT_EQ(f.view.readOnly[e], c.icon);
        EXPECT_EQ(f.view.face[FormCombo::ShowState], c.showFace);
    }
    // A kind outside the selector leaves every state as it was and selects no entry.
    f.Row("Leaf").kind = kKindSeparator;
    f.Select("Leaf");
    f.Row("Leaf").kind = 7;
    f.Select("Leaf");
    EXPECT_TRUE(f.view.readOnly[FormEdit::Command]);
    EXPECT_EQ(f.view.combo[FormCombo::Kind], -1);
}

TEST(ItemForm, KindChangeFollowsTheChildrenRule) {
    Fixture f("Sub\n\tChild\nLeaf\n");
    f.Select("Leaf");
    f.form.OnKindChosen(kKindSubmenu);  // a childless node cannot be a Submenu
    EXPECT_EQ(f.Row("Leaf").kind, kKindProgram);
    EXPECT_EQ(f.view.combo[FormCombo::Kind], kKindProgram);

    f.form.OnKindChosen(kKindSeparator);
    EXPECT_EQ(f.tree.Title(f.Node(kSeparatorTitle)), "--------------------");
    EXPECT_EQ(f.view.text[FormEdit::Title], kSeparatorTitle);
    EXPECT_EQ(f.view.steps.back(), (TreeStep{TreeStep::Kind::Retitle, f.form.Selected()}));
    EXPECT_TRUE(f.view.readOnly[FormEdit::Command]);

    f.form.OnKindChosen(kKindProgram);  // back: title kept, fields editable
    EXPECT_EQ(f.tree.Title(f.form.Selected()), kSeparatorTitle);
    for (auto& [edit, ro] : f.view.readOnly) EXPECT_FALSE(ro);

    f.Select("Sub");
    f.form.OnKindChosen(kKindSeparator);  // renamed, but stays a Submenu
    EXPECT_EQ(f.tree.Title(f.form.Selected()), kSeparatorTitle);
    EXPECT_EQ(f.store.items.At(f.tree.Slot(f.form.Selected())).kind, kKindSubmenu);

    // Typed text that matches no entry stores nothing.
    f.Select("Child");
    f.form.OnKindChosen(-1);
    f.form.OnShowStateChosen(5);
    EXPECT_EQ(f.Row("Child").kind, kKindProgram);
    EXPECT_EQ(f.Row("Child").showState, kShowNormal);
    f.form.OnShowStateChosen(kShowMaximized);
    EXPECT_EQ(f.Row("Child").showState, kShowMaximized);
}

TEST(ItemForm, IconIndexFollowsIntegerRules) {
    Fixture f("Item\n");
    f.form.OpenTree();
    Item& row = f.Row("Item");
    struct Case {
        const char* typed;
        int stored;
        const char* shown;
    };
    const Case cases[] = {{"300", 44, "44"}, {"-1", 255, "255"}, {"0x1F", 31, "31"}, {"$ff", 255, "255"},
                          {" 7", 7, "7"},    {"0", 0, "0"},      {"12", 12, "12"}};
    for (const Case& c : cases) {
        f.view.text[FormEdit::IconIndex] = c.typed;  // the user types
        f.form.OnEditChanged(FormEdit::IconIndex, c.typed);
        EXPECT_EQ(row.iconIndex, c.stored) << c.typed;
        EXPECT_EQ(f.view.text[FormEdit::IconIndex], c.shown) << c.typed;
    }
    EXPECT_TRUE(f.view.errors.empty());

    for (const char* bad : {"", "abc", "12abc", "99999999999", "0x", "1 "}) {
        const int sets = f.view.textSets;
        f.view.text[FormEdit::IconIndex] = bad;
        f.form.OnEditChanged(FormEdit::IconIndex, bad);
        EXPECT_EQ(row.iconIndex, 12) << bad;
        EXPECT_EQ(f.view.text[FormEdit::IconIndex], bad) << "the typed text stays";
        EXPECT_EQ(f.view.textSets, sets) << "no sync after a failed conversion";
        EXPECT_EQ(f.view.errors.back(), std::string("'") + bad + "' is not a valid integer value");
    }
}

TEST(ItemForm, TextFieldsStoreExactlyWhatIsTypedAndIgnoreTheirOwnEchoes) {
    Fixture f("One\nTwo\n");
    f.form.OpenTree();
    const std::string typed = "  %usb%\\app.exe |a b| ";
    f.form.OnEditChanged(FormEdit::Command, typed);
    f.form.OnEditChanged(FormEdit::Parameters, " -x ");
    f.form.OnEditChanged(FormEdit::Directory, "");
    f.form.OnEditChanged(FormEdit::IconFile, "icons\\a.ico");
    const Item& row = f.Row("One");
    EXPECT_EQ(row.command, typed);
    EXPECT_EQ(row.parameters, " -x ");
    EXPECT_EQ(row.iconFile, "icons\\a.ico");

    f.form.OnEditChanged(FormEdit::Title, "Renamed");
    EXPECT_EQ(f.tree.Title(f.tree.FirstRoot()), "Renamed");
    EXPECT_EQ(f.view.steps.back(), (TreeStep{TreeStep::Kind::Retitle, f.tree.FirstRoot()}));

    // Selecting the other node rewrites the fields; the echoed change notifications must not
    // write Two's texts into One's row or the other way round.
    f.Row("Two").command = "two.exe";
    f.Select("Two");
    EXPECT_EQ(row.command, typed);
    EXPECT_EQ(f.Row("Two").command, "two.exe");
    EXPECT_EQ(f.view.text[FormEdit::Command], "two.exe");
    EXPECT_EQ(f.form.Selected(), f.Node("Two"));

    // A field already showing the text is not set again.
    const int sets = f.view.textSets;
    f.Select("Two");
    EXPECT_EQ(f.view.textSets, sets);
}

TEST(ItemForm, StaleSlotsAndEmptyTreesNeverReachTheTable) {
    Fixture f("Good\nStale\n\tKid\n");
    f.tree.SetSlot(f.Node("Stale"), 42);
    f.form.OpenTree();
    f.Select("Stale");
    EXPECT_EQ(f.view.text[FormEdit::Command], "");
    EXPECT_EQ(f.view.combo[FormCombo::Kind], kKindSubmenu);
    f.form.OnEditChanged(FormEdit::Command, "x");
    f.form.OnEditChanged(FormEdit::IconIndex, "9");
    f.form.OnKindChosen(kKindSeparator);
    f.form.OnShowStateChosen(kShowMinimized);
    EXPECT_EQ(f.store.items.Count(), 3);
    f.form.OnDuplicate();  // a copy gets a row of its own
    EXPECT_EQ(f.store.items.Count(), 4);

    Fixture empty("");
    empty.form.OpenTree();
    EXPECT_EQ(empty.form.Selected(), kNoNode);
    EXPECT_TRUE(empty.view.readOnly[FormEdit::Title]);
    EXPECT_EQ(empty.view.text[FormEdit::IconIndex], "0");
    empty.form.OnEditChanged(FormEdit::Title, "typed into nothing");
    empty.form.OnKindChosen(kKindSeparator);
    for (auto op : {&ItemForm::OnMoveUp, &ItemForm::OnMoveDown, &ItemForm::OnMoveIntoSubmenu,
                    &ItemForm::OnMoveOutOfSubmenu, &ItemForm::OnDuplicate, &ItemForm::OnDelete})
        (empty.form.*op)();
    EXPECT_EQ(empty.tree.Count(), 0);
    EXPECT_EQ(empty.view.focus, 1) << "only the opening takes the focus";

    empty.form.OnNew();
    ASSERT_EQ(empty.tree.Count(), 1);
    EXPECT_EQ(empty.form.Selected(), empty.tree.FirstRoot());
    EXPECT_EQ(empty.view.text[FormEdit::Title], kNewItemTitle);
    EXPECT_FALSE(empty.view.readOnly[FormEdit::Title]);
    EXPECT_EQ(empty.store.items.Count(), 1);
}

TEST(ItemForm, EditingOperationsSyncOnlyAfterNewDuplicateAndDelete) {
    Fixture f("Prog\nNext\n\tKid\nLast\n");
    f.form.OpenTree();
    f.Select("Last");
    f.Row("Last").kind = kKindSubmenu;
    f.Row("Prog").kind = kKindSubmenu;
    f.form.OnMoveIntoSubmenu();  // into "Next"
    f.form.OnMoveIntoSubmenu();  // and into "Kid", a Program entry
    EXPECT_EQ(f.tree.Parent(f.Node("Last")), f.Node("Kid"));
    EXPECT_EQ(f.form.Selected(), f.Node("Last"));
    EXPECT_EQ(f.Row("Kid").kind, kKindProgram) << "no sync after a move";
    EXPECT_EQ(f.Row("Last").kind, kKindSubmenu) << "no sync after a move";
    EXPECT_EQ(f.Row("Prog").kind, kKindSubmenu) << "no sync of a node the view selected meanwhile";
    f.Select("Kid");
    EXPECT_EQ(f.Row("Kid").kind, kKindSubmenu);

    f.Row("Next").kind = kKindSubmenu;
    f.Row("Next").command = "run.exe";
    f.Select("Next");
    f.form.OnDuplicate();  // the copy loses the children and with them the Submenu kind
    const NodeId copy = f.form.Selected();
    EXPECT_EQ(f.tree.Title(copy), "Next");
    EXPECT_FALSE(f.tree.HasChildren(copy));
    EXPECT_EQ(f.store.items.At(f.tree.Slot(copy)).kind, kKindProgram);
    EXPECT_EQ(f.view.text[FormEdit::Command], "run.exe");
    f.form.OnEditChanged(FormEdit::Title, "Copy");

    f.Select("Kid");
    f.form.OnDelete();  // Delete selects the next sibling, else previous, else the parent
    EXPECT_EQ(f.form.Selected(), f.Node("Next"));
    EXPECT_EQ(f.view.text[FormEdit::Title], "Next");

    f.form.OnNew();
    EXPECT_EQ(f.view.text[FormEdit::Title], kNewItemTitle);
    EXPECT_EQ(f.view.text[FormEdit::Command], "");
    EXPECT_EQ(f.view.combo[FormCombo::Kind], kKindProgram);
}

TEST(ItemForm, AfterAFailedLoadSyncDoesNothingUntilNewOrDuplicate) {
    for (bool duplicate : {false, true}) {
        Fixture f("A\nB\n");
        f.store.unsavedLoadError = "Range check error";  // as a failed load leaves it
        f.form.TreeRebuilt();
        f.store.items.At(1).kind = kKindSubmenu;
        f.Select("B");
        EXPECT_EQ(f.view.textSets, 0);
        EXPECT_EQ(f.store.items.At(1).kind, kKindSubmenu);
        if (duplicate) f.form.OnDuplicate();
        else f.form.OnNew();
        EXPECT_EQ(f.view.text[FormEdit::Title], duplicate ? "B" : kNewItemTitle);
        // A successful load afterwards syncs at once.
        f.store.unsavedLoadError.clear();
        f.form.TreeRebuilt();
        f.Select("A");
        EXPECT_EQ(f.view.text[FormEdit::Title], "A");
    }
}

TEST(ItemForm, AReloadedTreeIsNotEditedThroughOldNodeIds) {
    Fixture f("A\n");
    f.form.OpenTree();
    f.form.TreeRebuilt();
    f.tree.Clear();  // LoadItems: ids start again from 0
    f.tree.AddRoot("Fresh", 0);
    f.form.OnEditChanged(FormEdit::Title, "stale edit");
    f.form.OnDuplicate();
    EXPECT_EQ(f.tree.Title(f.tree.FirstRoot()), "Fresh");
    EXPECT_EQ(f.tree.Count(), 1);
}

// OK saves, writes the autostart value and reloads: a refused autostart write must not skip
// the reload (the menu would pair new titles with old rows), and a failed save stops there.
TEST(ItemForm, OnlyAFailedAutostartWriteLetsTheStepsGoOn) {
    Fixture f("A");
    struct Case {
        WindowStep failing;
        const char* error;
        std::vector<WindowStep> ran;
    };
    const Case cases[] = {
        {WindowStep::WriteAutostart,
         "Failed to set data for 'Kestrin'",
         {WindowStep::Hide, WindowStep::SaveItems, WindowStep::WriteAutostart, WindowStep::LoadItems}},
        {WindowStep::SaveItems, "Unable to write to k.ini", {WindowStep::Hide, WindowStep::SaveItems}},
        {WindowStep::Show,
         "",
         {WindowStep::Hide, WindowStep::SaveItems, WindowStep::WriteAutostart, WindowStep::LoadItems}},
    };
    for (const Case& c : cases) {
        std::vector<WindowStep> ran;
        std::string error;
        try {
            RunWindowSteps(f.form.OkSteps(), [&](WindowStep step) {
                ran.push_back(step);
                if (step == c.failing) throw KestrinError(c.error);
            });
        } catch (const KestrinError& e) {
            error = e.what();
        }
        EXPECT_EQ(ran, c.ran) << c.error;
        EXPECT_EQ(error, c.error);
    }
}
