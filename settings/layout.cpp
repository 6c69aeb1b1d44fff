#include "settings/layout.h"

#include <iterator>

#include "core/ini.h"

namespace kestrin {

using K = ControlKind;
using S = SettingsControl;
using P = IconPickerControl;

namespace {
// A field holds no more than a load reads back from the file.
constexpr int kStoredTextLimit = static_cast<int>(kIniValueLimit);

template <typename Role>
constexpr int R(Role role) {
    return static_cast<int>(role);
}
}  // namespace

// Label widths are the caption's extent in "MS Sans Serif" 8 point plus a little air;
// the labels size themselves to their text, so only the left and top are design values.
// Rows in the order of SettingsControl.
// The tables are aligned by hand, column under column.
// clang-format off
const ControlDef kSettingsControls[] = {
    // role, identity, kind, parent, x, y, w, h, tab order, text / glyph / hint
    {R(S::Tree), "TreeView1", K::TreeView,  "",          0,   0, 230, 482,   0},
    {R(S::HomePageLabel), "Label11",   K::Label,     "",        233,   8,  62,  13, kNoTabStop, "Home page:"},
    {R(S::HomePageLink), "Label10",   K::LinkLabel, "",        305,   8, 110,  13, kNoTabStop, "www.kestrin.example"},
    {R(S::Autostart), "CheckBox1", K::CheckBox,  "",        233,  30, 201,  17,   5, "Start automatically at Windows startup"},
    {R(S::HotkeyLabel), "Label7",    K::Label,     "",        232,  56,  40,  13, kNoTabStop, "Hotkey:"},
    {R(S::Hotkey), "HotKey1",   K::HotKey,    "",        283,  53, 150,  21,   1},
    {R(S::ItemGroup), "GroupBox1", K::GroupBox,  "",        233,  81, 201, 386,   2, "Menu item "},
    {R(S::PipeHint), "Label9",    K::Label,     "",        236, 470, 199,  13, kNoTabStop,
     "use the pipe | instead of quotation marks !"},
    {R(S::Export), "Button12",  K::Button,    "",         32, 491,  70,  21,   6, "Export"},
    {R(S::Import), "Button13",  K::Button,    "",        126, 491,  70,  21,   7, "Import"},
    {R(S::Ok), "Button3",   K::Button,    "",        247, 491,  70,  21,   3, "OK"},
    {R(S::Cancel), "Button4",   K::Button,    "",        344, 491,  70,  21,   4, "Cancel"},

    // The item form, relative to GroupBox1.
    {R(S::Kind), "ComboBox2", K::ComboBox,  "GroupBox1",   8,  16, 189,  21,   0,
     "Program/Command\nSeparator (line)\nSubmenu", Glyph::None, "", kFlagEditable},
    {R(S::TitleLabel), "Label6",    K::Label,     "GroupBox1",   8,  42, 185,  13, kNoTabStop,
     "Menutitel:                  (&& for hotkey)"},
    {R(S::TitleEdit), "Edit1",     K::Edit,      "GroupBox1",   8,  58, 187,  21,   1, "", Glyph::None, "", kFlagNone, kStoredTextLimit},
    {R(S::CommandLabel), "Label5",    K::Label,     "GroupBox1",   8,  85,  60,  13, kNoTabStop, "Command: "},
    {R(S::CommandUsb), "Button5",   K::Button,    "GroupBox1", 170,  85,  26,  16, kNoTabStop, "usb"},
    {R(S::CommandEdit), "Edit3",     K::Edit,      "GroupBox1",   8, 101, 163,  21,   2, "", Glyph::None, "", kFlagNone, kStoredTextLimit},
    {R(S::CommandBrowse), "BitBtn1",   K::BitBtn,    "GroupBox1", 170, 101,  26,  22, kNoTabStop, "", Glyph::Folder},
    {R(S::ParametersLabel), "Label4",    K::Label,     "GroupBox1",   8, 126, 170,  13, kNoTabStop,
     "Parameters:              (optional) "},
    {R(S::ParametersEdit), "Edit2",     K::Edit,      "GroupBox1",   8, 142, 187,  21,   3, "", Glyph::None, "", kFlagNone, kStoredTextLimit},
    {R(S::DirectoryLabel), "Label3",    K::Label,     "GroupBox1",   8, 169, 160,  13, kNoTabStop,
     "Working directory:    (optional)"},
    {R(S::DirectoryUsb), "Button7",   K::Button,    "GroupBox1", 170, 168,  26,  16, kNoTabStop, "usb"},
    {R(S::DirectoryEdit), "Edit5",     K::Edit,      "GroupBox1",   8, 185, 163,  21,   4, "", Glyph::None, "", kFlagNone, kStoredTextLimit},
    {R(S::DirectoryBrowse), "BitBtn5",   K::BitBtn,    "GroupBox1", 170, 184,  26,  22, kNoTabStop, "", Glyph::Folder},
    {R(S::IconFileLabel), "Label2",    K::Label,     "GroupBox1",   8, 213, 160,  13, kNoTabStop,
     "Icon file/path:           (optional)"},
    {R(S::IconFileUsb), "Button6",   K::Button,    "GroupBox1", 170, 213,  26,  16, kNoTabStop, "usb"},
    {R(S::IconFileEdit), "Edit4",     K::Edit,      "GroupBox1",   8, 229, 163,  21,   5, "", Glyph::None, "", kFlagNone, kStoredTextLimit},
    {R(S::IconFileBrowse), "BitBtn2",   K::BitBtn,    "GroupBox1", 170, 229,  26,  22, kNoTabStop, "", Glyph::Folder},
    {R(S::IconIndexLabel), "Label1",    K::Label,     "GroupBox1",  74, 255,  56,  13, kNoTabStop, "Icon index:"},
    {R(S::IconIndexEdit), "Edit6",     K::Edit,      "GroupBox1", 130, 251,  41,  21,   6, "0"},
    {R(S::IconPick), "Button8",   K::Button,    "GroupBox1", 170, 251,  26,  22, kNoTabStop, "..."},
    {R(S::ShowState), "ComboBox1", K::ComboBox,  "GroupBox1",   8, 280, 189,  21,   7, "Normal\nMaximized\nMinimized",
     Glyph::None, "", kFlagEditable},
    {R(S::MoveUp), "BitBtn3",   K::BitBtn,    "GroupBox1",  40, 309,  20,  21, kNoTabStop, "", Glyph::ArrowUp,
     "Ctrl+Up"},
    {R(S::MoveOutOfSubmenu), "BitBtn7",   K::BitBtn,    "GroupBox1",   8, 332,  20,  21, kNoTabStop, "", Glyph::ArrowLeft,
     "Ctrl+Left"},
    {R(S::CtrlLabel), "Label8",    K::Label,     "GroupBox1",  40, 337,  26,  13, kNoTabStop, "Ctrl+"},
    {R(S::MoveIntoSubmenu), "BitBtn6",   K::BitBtn,    "GroupBox1",  72, 332,  20,  21, kNoTabStop, "", Glyph::ArrowRight,
     "Ctrl+Right"},
    {R(S::MoveDown), "BitBtn4",   K::BitBtn,    "GroupBox1",  40, 357,  20,  21, kNoTabStop, "", Glyph::ArrowDown,
     "Ctrl+Down"},
    {R(S::Duplicate), "Button9",   K::Button,    "GroupBox1", 125, 309,  70,  22, kNoTabStop, "Duplicate"},
    {R(S::New), "Button1",   K::Button,    "GroupBox1", 125, 332,  70,  22, kNoTabStop, "New"},
    {R(S::Delete), "Button2",   K::Button,    "GroupBox1", 125, 357,  70,  22, kNoTabStop, "Delete"},
};

const FormDef kSettingsForm = {
    "TForm1",
    "Kestrin 3.1 - tray launcher (c) 2026 The Kestrin developers",
    435, 520,
    FormBorder::FixedNoButtons,
    "MS Sans Serif", 8,
    kSettingsControls, std::size(kSettingsControls),
};

const ControlDef kIconPickerControls[] = {
    {R(P::IconList), "IconListBox1", K::IconListBox, "", 0, 0, 373, 210, 0},
};

const FormDef kIconPickerForm = {
    "TForm2",
    "Select Icon",
    373, 210,
    FormBorder::SizeableToolWindow,
    "MS Sans Serif", 8,
    kIconPickerControls, std::size(kIconPickerControls),
};
// clang-format on

}  // namespace kestrin
