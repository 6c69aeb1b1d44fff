#include "app/form_layout.h"

#include <algorithm>

namespace kestrin {

using K = ControlKind;

// Label widths are the caption's extent in "MS Sans Serif" 8 point plus a little air;
// the labels size themselves to their text, so only the left and top are design values.
const ControlDef kForm1Controls[] = {
    // name        kind          parent       x    y    w    h   tab  text / glyph / hint
    {"TreeView1", K::TreeView,  "",          0,   0, 230, 482,   0},
    {"Label11",   K::Label,     "",        233,   8,  62,  13, kNoTabStop, "Home page:"},
    {"Label10",   K::LinkLabel, "",        305,   8, 110,  13, kNoTabStop, "www.kestrin.example"},
    {"CheckBox1", K::CheckBox,  "",        233,  30, 201,  17,   5, "Start automatically at Windows startup"},
    {"Label7",    K::Label,     "",        232,  56,  40,  13, kNoTabStop, "Hotkey:"},
    {"HotKey1",   K::HotKey,    "",        283,  53, 150,  21,   1},
    {"GroupBox1", K::GroupBox,  "",        233,  81, 201, 386,   2, "Menu item "},
    {"Label9",    K::Label,     "",        236, 470, 199,  13, kNoTabStop,
     "use the pipe | instead of quotation marks !"},
    {"Button12",  K::Button,    "",         32, 491,  70,  21,   6, "Export"},
    {"Button13",  K::Button,    "",        126, 491,  70,  21,   7, "Import"},
    {"Button3",   K::Button,    "",        247, 491,  70,  21,   3, "OK"},
    {"Button4",   K::Button,    "",        344, 491,  70,  21,   4, "Cancel"},

    // The item form, relative to GroupBox1.
    {"ComboBox2", K::ComboBox,  "GroupBox1",   8,  16, 189,  21,   0,
     "Program/Command\nSeparator (line)\nSubmenu", Glyph::None, "", kFlagEditable},
    {"Label6",    K::Label,     "GroupBox1",   8,  42, 185,  13, kNoTabStop,
     "Menutitel:                  (&& for hotkey)"},
    {"Edit1",     K::Edit,      "GroupBox1",   8,  58, 187,  21,   1},
    {"Label5",    K::Label,     "GroupBox1",   8,  85,  60,  13, kNoTabStop, "Command: "},
    {"Button5",   K::Button,    "GroupBox1", 170,  85,  26,  16, kNoTabStop, "usb"},
    {"Edit3",     K::Edit,      "GroupBox1",   8, 101, 163,  21,   2},
    {"BitBtn1",   K::BitBtn,    "GroupBox1", 170, 101,  26,  22, kNoTabStop, "", Glyph::Folder},
    {"Label4",    K::Label,     "GroupBox1",   8, 126, 170,  13, kNoTabStop,
     "Parameters:              (optional) "},
    {"Edit2",     K::Edit,      "GroupBox1",   8, 142, 187,  21,   3},
    {"Label3",    K::Label,     "GroupBox1",   8, 169, 160,  13, kNoTabStop,
     "Working directory:    (optional)"},
    {"Button7",   K::Button,    "GroupBox1", 170, 168,  26,  16, kNoTabStop, "usb"},
    {"Edit5",     K::Edit,      "GroupBox1",   8, 185, 163,  21,   4},
    {"BitBtn5",   K::BitBtn,    "GroupBox1", 170, 184,  26,  22, kNoTabStop, "", Glyph::Folder},
    {"Label2",    K::Label,     "GroupBox1",   8, 213, 160,  13, kNoTabStop,
     "Icon file/path:           (optional)"},
    {"Button6",   K::Button,    "GroupBox1", 170, 213,  26,  16, kNoTabStop, "usb"},
    {"Edit4",     K::Edit,      "GroupBox1",   8, 229, 163,  21,   5},
    {"BitBtn2",   K::BitBtn,    "GroupBox1", 170, 229,  26,  22, kNoTabStop, "", Glyph::Folder},
    {"Label1",    K::Label,     "GroupBox1",  74, 255,  56,  13, kNoTabStop, "Icon index:"},
    {"Edit6",     K::Edit,      "GroupBox1", 130, 251,  41,  21,   6, "0"},
    {"Button8",   K::Button,    "GroupBox1", 170, 251,  26,  22, kNoTabStop, "..."},
    {"ComboBox1", K::ComboBox,  "GroupBox1",   8, 280, 189,  21,   7, "Normal\nMaximized\nMinimized",
     Glyph::None, "", kFlagEditable},
    {"BitBtn3",   K::BitBtn,    "GroupBox1",  40, 309,  20,  21, kNoTabStop, "", Glyph::ArrowUp,
     "Ctrl+Up"},
    {"BitBtn7",   K::BitBtn,    "GroupBox1",   8, 332,  20,  21, kNoTabStop, "", Glyph::ArrowLeft,
     "Ctrl+Left"},
    {"Label8",    K::Label,     "GroupBox1",  40, 337,  26,  13, kNoTabStop, "Ctrl+"},
    {"BitBtn6",   K::BitBtn,    "GroupBox1",  72, 332,  20,  21, kNoTabStop, "", Glyph::ArrowRight,
     "Ctrl+Right"},
    {"BitBtn4",   K::BitBtn,    "GroupBox1",  40, 357,  20,  21, kNoTabStop, "", Glyph::ArrowDown,
     "Ctrl+Down"},
    {"Button9",   K::Button,    "GroupBox1", 125, 309,  70,  22, kNoTabStop, "Duplicate"},
    {"Button1",   K::Button,    "GroupBox1", 125, 332,  70,  22, kNoTabStop, "New"},
    {"Button2",   K::Button,    "GroupBox1", 125, 357,  70,  22, kNoTabStop, "Delete"},
};
const std::size_t kForm1ControlCount = sizeof(kForm1Controls) / sizeof(kForm1Controls[0]);

const FormDef kForm1 = {
    "TForm1",
    "Kestrin 3.1 - tray launcher (c) 2026 The Kestrin developers",
    435, 520,
    FormBorder::FixedNoButtons,
    "MS Sans Serif", 8,
    kForm1Controls, kForm1ControlCount,
};

const ControlDef kForm2Controls[] = {
    {"IconListBox1", K::IconListBox, "", 0, 0, 373, 210, 0},
};
const std::size_t kForm2ControlCount = sizeof(kForm2Controls) / sizeof(kForm2Controls[0]);

const FormDef kForm2 = {
    "TForm2",
    "Select Icon",
    373, 210,
    FormBorder::SizeableToolWindow,
    "MS Sans Serif", 8,
    kForm2Controls, kForm2ControlCount,
};

const ControlDef* FindControl(const FormDef& form, std::string_view name) {
    for (std::size_t i = 0; i < form.count; ++i)
        if (name == form.controls[i].name) return &form.controls[i];
    return nullptr;
}

int ControlId(const FormDef& form, std::string_view name) {
    const ControlDef* def = FindControl(form, name);
    return def ? kFirstControlId + static_cast<int>(def - form.controls) : 0;
}

const ControlDef* ControlById(const FormDef& form, int id) {
    const long long row = static_cast<long long>(id) - kFirstControlId;
    if (row < 0 || row >= static_cast<long long>(form.count)) return nullptr;
    return &form.controls[row];
}

std::vector<std::string> SplitItems(std::string_view text) {
    std::vector<std::string> items;
    if (text.empty()) return items;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        items.emplace_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return items;
}

std::vector<std::size_t> CreationOrder(const FormDef& form) {
    // The children of one parent: tab stops by tab order, then the rest in table order.
    auto childrenOf = [&](std::string_view parent) {
        std::vector<std::size_t> children;
        for (std::size_t i = 0; i < form.count; ++i)
            if (parent == form.controls[i].parent) children.push_back(i);
        std::stable_sort(children.begin(), children.end(), [&](std::size_t a, std::size_t b) {
            const int ta = form.controls[a].tabOrder, tb = form.controls[b].tabOrder;
            if ((ta < 0) != (tb < 0)) return tb < 0;
            return ta >= 0 && ta < tb;
        });
        return children;
    };

    // Pre-order walk with an explicit stack, so a group box is followed by its contents.
    std::vector<std::size_t> order;
    std::vector<bool> placed(form.count, false);
    std::vector<std::size_t> stack;
    auto pushChildren = [&](std::string_view parent) {
        const std::vector<std::size_t> children = childrenOf(parent);
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            if (!placed[*it]) stack.push_back(*it);
    };
    pushChildren("");
    while (!stack.empty()) {
        const std::size_t i = stack.back();
        stack.pop_back();
        if (placed[i]) continue;
        placed[i] = true;
        order.push_back(i);
        pushChildren(form.controls[i].name);
    }
    // A control whose parent is missing from the table still gets a window, last.
    for (std::size_t i = 0; i < form.count; ++i)
        if (!placed[i]) order.push_back(i);
    return order;
}

}  // namespace kestrin
