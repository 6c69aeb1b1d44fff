#include "settings/layout.h"

#include "core/config.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace kestrin;

namespace {

const FormDef* const kForms[] = {&kSettingsForm, &kIconPickerForm};

struct Box {
    int left, top, right, bottom;
};

Box ClientOf(const FormDef& form, const ControlDef& c) {
    if (c.parent[0] == '\0') return {0, 0, form.clientWidth, form.clientHeight};
    const ControlDef* p = FindControl(form, c.parent);
    return p ? Box{0, 0, p->w, p->h} : Box{0, 0, 0, 0};
}

}  // namespace

TEST(FormLayout, NamesAndRolesAreUniqueAndParentsExist) {
    for (const FormDef* form : kForms) {
        std::set<std::string> names;
        std::set<int> roles;
        for (std::size_t i = 0; i < form->count; ++i) {
            const ControlDef& c = form->controls[i];
            EXPECT_TRUE(names.insert(c.name).second) << form->name << " repeats " << c.name;
            EXPECT_TRUE(roles.insert(c.role).second) << form->name << " repeats the role of " << c.name;
            if (c.parent[0] != '\0') {
                const ControlDef* p = FindControl(*form, c.parent);
                ASSERT_NE(p, nullptr) << c.name << " has no parent " << c.parent;
                EXPECT_EQ(p->kind, ControlKind::GroupBox) << c.name;
            }
        }
    }
}

TEST(FormLayout, EverySettingsRoleHasItsControl) {
    EXPECT_EQ(kSettingsForm.count, static_cast<std::size_t>(kSettingsControlCount));
    // The roles the window's code relies on, paired with the control a probe sees.
    const std::pair<SettingsControl, const char*> pairs[] = {
        {SettingsControl::Ok, "Button3"},          {SettingsControl::Cancel, "Button4"},
        {SettingsControl::Tree, "TreeView1"},      {SettingsControl::Hotkey, "HotKey1"},
        {SettingsControl::Autostart, "CheckBox1"}, {SettingsControl::CommandEdit, "Edit3"},
        {SettingsControl::IconIndexEdit, "Edit6"}, {SettingsControl::MoveIntoSubmenu, "BitBtn6"},
        {SettingsControl::Kind, "ComboBox2"},      {SettingsControl::ShowState, "ComboBox1"},
    };
    for (const auto& [role, name] : pairs) {
        const ControlDef* control = FindControl(kSettingsForm, name);
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(control->role, static_cast<int>(role)) << name;
    }
}

TEST(FormLayout, EveryControlLiesInsideItsParent) {
    for (const FormDef* form : kForms) {
        for (std::size_t i = 0; i < form->count; ++i) {
            const ControlDef& c = form->controls[i];
            const Box client = ClientOf(*form, c);
            EXPECT_GT(c.w, 0) << c.name;
            EXPECT_GT(c.h, 0) << c.name;
            EXPECT_GE(c.x, client.left) << c.name;
            EXPECT_GE(c.y, client.top) << c.name;
            EXPECT_LE(c.x + c.w, client.right) << c.name;
            EXPECT_LE(c.y + c.h, client.bottom) << c.name;
        }
    }
}

// Neighbours of one parent may share a border pixel (the edits touch their browse
// buttons by design), but no label may run into a button or field.
TEST(FormLayout, SiblingsDoNotOverlap) {
    for (const FormDef* form : kForms) {
        for (std::size_t i = 0; i < form->count; ++i) {
            for (std::size_t j = i + 1; j < form->count; ++j) {
                const ControlDef& a = form->controls[i];
                const ControlDef& b = form->controls[j];
                if (std::string(a.parent) != b.parent) continue;
                const int w = std::min(a.x + a.w, b.x + b.w) - std::max(a.x, b.x);
                const int h = std::min(a.y + a.h, b.y + b.h) - std::max(a.y, b.y);
                EXPECT_FALSE(w > 1 && h > 1) << a.name << " overlaps " << b.name;
            }
        }
    }
}

TEST(FormLayout, TabOrderIsContiguousPerParent) {
    for (const FormDef* form : kForms) {
        std::map<std::string, std::vector<int>> byParent;
        for (std::size_t i = 0; i < form->count; ++i)
            if (form->controls[i].tabOrder != kNoTabStop)
                byParent[form->controls[i].parent].push_back(form->controls[i].tabOrder);
        for (auto& [parent, orders] : byParent) {
            std::sort(orders.begin(), orders.end());
            for (std::size_t k = 0; k < orders.size(); ++k)
                EXPECT_EQ(orders[k], static_cast<int>(k)) << form->name << " parent '" << parent << "'";
        }
    }
}

// Tab moves through the window in this order; the item form's fields come where the
// group box stands.
TEST(FormLayout, CreationOrderFollowsTabOrderWithGroupContentsInPlace) {
    const std::vector<std::size_t> order = CreationOrder(kSettingsForm);
    ASSERT_EQ(order.size(), kSettingsForm.count);
    std::set<std::size_t> seen(order.begin(), order.end());
    EXPECT_EQ(seen.size(), kSettingsForm.count);

    std::vector<std::string> stops;
    std::set<std::string> created;
    for (std::size_t row : order) {
        const ControlDef& c = kSettingsForm.controls[row];
        if (c.parent[0] != '\0') {
            EXPECT_TRUE(created.count(c.parent)) << c.name << " before its parent";
        }
        created.insert(c.name);
        if (c.tabOrder != kNoTabStop && c.kind != ControlKind::GroupBox) stops.push_back(c.name);
    }
    const std::vector<std::string> expected = {"TreeView1", "HotKey1", "ComboBox2", "Edit1",    "Edit3",
                                               "Edit2",     "Edit5",   "Edit4",     "Edit6",    "ComboBox1",
                                               "Button3",   "Button4", "CheckBox1", "Button12", "Button13"};
    EXPECT_EQ(stops, expected);
}

TEST(FormLayout, SettingsWindowHoldsEveryNamedControl) {
    struct Want {
        const char* name;
        ControlKind kind;
        const char* text;
        Glyph glyph;
        const char* hint;
    };
    using K = ControlKind;
    const Want wants[] = {
        {"TreeView1", K::TreeView, "", Glyph::None, ""},
        {"HotKey1", K::HotKey, "", Glyph::None, ""},
        {"CheckBox1", K::CheckBox, "Start automatically at Windows startup", Glyph::None, ""},
        {"GroupBox1", K::GroupBox, "Menu item ", Glyph::None, ""},
        {"Label10", K::LinkLabel, nullptr, Glyph::None, ""},
        {"Label11", K::Label, "Home page:", Glyph::None, ""},
        {"Label6", K::Label, "Menutitel:                  (&& for hotkey)", Glyph::None, ""},
        {"Label9", K::Label, "use the pipe | instead of quotation marks !", Glyph::None, ""},
        {"ComboBox2", K::ComboBox, "Program/Command\nSeparator (line)\nSubmenu", Glyph::None, ""},
        {"ComboBox1", K::ComboBox, "Normal\nMaximized\nMinimized", Glyph::None, ""},
        {"Edit1", K::Edit, nullptr, Glyph::None, ""},
        {"Edit2", K::Edit, nullptr, Glyph::None, ""},
        {"Edit3", K::Edit, nullptr, Glyph::None, ""},
        {"Edit4", K::Edit, nullptr, Glyph::None, ""},
        {"Edit5", K::Edit, nullptr, Glyph::None, ""},
        {"Edit6", K::Edit, "0", Glyph::None, ""},
        {"Button5", K::Button, "usb", Glyph::None, ""},
        {"Button6", K::Button, "usb", Glyph::None, ""},
        {"Button7", K::Button, "usb", Glyph::None, ""},
        {"Button8", K::Button, "...", Glyph::None, ""},
        {"BitBtn1", K::BitBtn, "", Glyph::Folder, ""},
        {"BitBtn2", K::BitBtn, "", Glyph::Folder, ""},
        {"BitBtn5", K::BitBtn, "", Glyph::Folder, ""},
        {"BitBtn3", K::BitBtn, "", Glyph::ArrowUp, "Ctrl+Up"},
        {"BitBtn4", K::BitBtn, "", Glyph::ArrowDown, "Ctrl+Down"},
        {"BitBtn6", K::BitBtn, "", Glyph::ArrowRight, "Ctrl+Right"},
        {"BitBtn7", K::BitBtn, "", Glyph::ArrowLeft, "Ctrl+Left"},
        {"Button1", K::Button, "New", Glyph::None, ""},
        {"Button2", K::Button, "Delete", Glyph::None, ""},
        {"Button9", K::Button, "Duplicate", Glyph::None, ""},
        {"Button3", K::Button, "OK", Glyph::None, ""},
        {"Button4", K::Button, "Cancel", Glyph::None, ""},
        {"Button12", K::Button, "Export", Glyph::None, ""},
        {"Button13", K::Button, "Import", Glyph::None, ""},
    };
    for (const Want& w : wants) {
        const ControlDef* c = FindControl(kSettingsForm, w.name);
        ASSERT_NE(c, nullptr) << w.name;
        EXPECT_EQ(c->kind, w.kind) << w.name;
        if (w.text) {
            EXPECT_STREQ(c->text, w.text) << w.name;
        }
        EXPECT_EQ(c->glyph, w.glyph) << w.name;
        EXPECT_STREQ(c->hint, w.hint) << w.name;
    }
    for (int n = 1; n <= 11; ++n)
        EXPECT_NE(FindControl(kSettingsForm, "Label" + std::to_string(n)), nullptr) << "Label" << n;
    ASSERT_NE(FindControl(kIconPickerForm, "IconListBox1"), nullptr);
    EXPECT_STREQ(kIconPickerForm.caption, "Select Icon");
}

TEST(FormLayout, ControlIdsMapBackToTheirRows) {
    std::set<int> ids;
    for (std::size_t i = 0; i < kSettingsForm.count; ++i) {
        const int id = ControlId(kSettingsForm, kSettingsForm.controls[i].name);
        EXPECT_TRUE(ids.insert(id).second) << kSettingsForm.controls[i].name;
        EXPECT_EQ(ControlById(kSettingsForm, id), &kSettingsForm.controls[i]);
    }
    EXPECT_EQ(ControlId(kSettingsForm, "NoSuchControl"), 0);
    EXPECT_EQ(ControlById(kSettingsForm, 0), nullptr);
    EXPECT_EQ(ControlById(kSettingsForm, kFirstControlId - 1), nullptr);
    EXPECT_EQ(ControlById(kSettingsForm, kFirstControlId + static_cast<int>(kSettingsForm.count)), nullptr);
}

TEST(FormLayout, SplitItemsKeepsEmptyPieces) {
    struct Case {
        const char* text;
        std::vector<std::string> items;
    };
    const Case cases[] = {
        {"", {}}, {"Normal", {"Normal"}}, {"a\nb\nc", {"a", "b", "c"}}, {"a\n", {"a", ""}}, {"\n\n", {"", "", ""}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitItems(c.text), c.items) << c.text;
}

TEST(FormLayout, StoredTextFieldsTakeNoMoreThanALoadReadsBack) {
    // Each field, filled to its limit, is saved and read again whole; one character more
    // would be cut by the reader.
    struct Field {
        const char* name;
        std::string Item::*member;  // nullptr: the title
    };
    const Field fields[] = {{"Edit1", nullptr},
                            {"Edit3", &Item::command},
                            {"Edit2", &Item::parameters},
                            {"Edit5", &Item::directory},
                            {"Edit4", &Item::iconFile}};
    for (const Field& field : fields) {
        const ControlDef* def = FindControl(kSettingsForm, field.name);
        ASSERT_NE(def, nullptr);
        ASSERT_GT(def->textLimit, 0) << def->name << " takes any length";
        for (int length : {def->textLimit, def->textLimit + 1}) {
            const std::string text(static_cast<size_t>(length), 'x');
            Item item;
            std::string title = "T";
            (field.member ? item.*field.member : title) = text;
            IniWriter writer;
            WriteItemSection(writer, 0, title, item);
            Item read;
            const std::string readTitle = ReadItemSection(IniFile::Parse(writer.Text()), 0, read);
            const std::string& back = field.member ? read.*field.member : readTitle;
            EXPECT_EQ(back == text, length == def->textLimit) << def->name << " at " << length;
        }
    }
}
