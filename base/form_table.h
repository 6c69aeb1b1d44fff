// Forms as data: every control of a form, where it sits, its caption, its place in the tab
// order. The Win32 builder turns a table into windows; the handlers live with the form. No
// Win32 types here, so the tables are checked by unit tests.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kestrin {

enum class ControlKind {
    Form,
    TreeView,   // read-only titles, buttons and lines, selection always shown
    Label,      // static text; "&&" shows one "&"
    LinkLabel,  // blue, underlined, reports double clicks
    CheckBox,
    HotKey,       // hotkey entry control
    GroupBox,     // its children are placed relative to it
    Button,       // push button with a caption
    BitBtn,       // push button showing only a glyph
    Edit,         // single-line edit
    ComboBox,     // drop-down list; items in text, one per line (kFlagEditable: text can be typed)
    IconListBox,  // owner-drawn multi-column list of icons
};

// The pictures a BitBtn can show.
enum class Glyph { None, Folder, ArrowUp, ArrowDown, ArrowLeft, ArrowRight };

enum ControlFlags : unsigned {
    kFlagNone = 0,
    kFlagReadOnly = 1u << 0,
    kFlagEditable = 1u << 1,  // a ComboBox with an edit field instead of a fixed list
};

// Tab order of a control the Tab key skips.
constexpr int kNoTabStop = -1;

// One control. Rectangles are pixels in the parent's client coordinates; a control whose
// parent is empty sits on the form itself. Tab orders count per parent.
struct ControlDef {
    int role = -1;          // the form's own number for the control, what code looks it up by
    const char* name = "";  // the control's identity, which probes and tests look it up by
    ControlKind kind = ControlKind::Label;
    const char* parent = "";
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    int tabOrder = kNoTabStop;
    const char* text = "";  // caption, or the items of a ComboBox separated by '\n'
    Glyph glyph = Glyph::None;
    const char* hint = "";  // tooltip text; empty for none
    unsigned flags = kFlagNone;
    int textLimit = 0;  // an Edit's most characters; 0: the control's own limit
};

enum class FormBorder {
    FixedNoButtons,      // fixed single border, caption without system menu or buttons
    SizeableToolWindow,  // sizeable tool window whose only caption button is close
};

struct FormDef {
    const char* name;
    const char* caption;
    int clientWidth;
    int clientHeight;
    FormBorder border;
    const char* fontName;
    int fontPoints;
    const ControlDef* controls;
    std::size_t count;
};

// Control ids are handed out from the table: kFirstControlId for its first row, and so on.
constexpr int kFirstControlId = 100;

// nullptr when the table holds no such control.
const ControlDef* FindControl(const FormDef& form, std::string_view name);
// The control's id, or 0 when the table holds no such control.
int ControlId(const FormDef& form, std::string_view name);
// The row of an id, or nullptr.
const ControlDef* ControlById(const FormDef& form, int id);

// The items of a ComboBox text, one per '\n'-separated piece.
std::vector<std::string> SplitItems(std::string_view text);

// The creation order of the controls, as indexes into the table: parents before their
// children, and each parent's tab stops in tab order with its children right after it,
// so the windows' Z-order is the tab order. Controls outside the tab order follow the
// tab stops of the same parent in table order.
std::vector<std::size_t> CreationOrder(const FormDef& form);

}  // namespace kestrin
