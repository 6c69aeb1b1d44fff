#include "base/form_builder_win32.h"

#include <algorithm>
#include <utility>

#include "base/dpi_win32.h"
#include "base/error.h"
#include "base/pictures_win32.h"

namespace kestrin {
namespace {

struct WindowKind {
    const char* className;
    DWORD style;
    DWORD exStyle;
};

WindowKind KindOf(const ControlDef& def) {
    const DWORD readOnly = (def.flags & kFlagReadOnly) ? ES_READONLY : 0;
    switch (def.kind) {
    case ControlKind::TreeView:
        return {WC_TREEVIEWA, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE};
    case ControlKind::Label: return {"STATIC", SS_LEFTNOWORDWRAP, 0};
    case ControlKind::LinkLabel: return {"STATIC", SS_LEFTNOWORDWRAP | SS_NOTIFY, 0};
    case ControlKind::CheckBox: return {"BUTTON", BS_AUTOCHECKBOX, 0};
    case ControlKind::HotKey: return {HOTKEY_CLASSA, 0, WS_EX_CLIENTEDGE};
    case ControlKind::GroupBox: return {"BUTTON", BS_GROUPBOX, 0};
    case ControlKind::Button: return {"BUTTON", BS_PUSHBUTTON, 0};
    case ControlKind::BitBtn: return {"BUTTON", BS_PUSHBUTTON | BS_ICON, 0};
    case ControlKind::Edit: return {"EDIT", ES_AUTOHSCROLL | ES_LEFT | readOnly, WS_EX_CLIENTEDGE};
    case ControlKind::ComboBox:
        return {"COMBOBOX",
                static_cast<DWORD>(((def.flags & kFlagEditable) ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST) |
                                   WS_VSCROLL),
                0};
    case ControlKind::IconListBox:
        return {"LISTBOX",
                LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_MULTICOLUMN | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_HSCROLL,
                WS_EX_CLIENTEDGE};
    case ControlKind::Form: break;
    }
    throw KestrinError(FormatText("Control %s has no window kind", def.name));
}

PictureId PictureOf(Glyph glyph) {
    switch (glyph) {
    case Glyph::ArrowUp: return PictureId::ArrowUp;
    case Glyph::ArrowDown: return PictureId::ArrowDown;
    case Glyph::ArrowLeft: return PictureId::ArrowLeft;
    case Glyph::ArrowRight: return PictureId::ArrowRight;
    case Glyph::Folder:
    case Glyph::None: break;
    }
    return PictureId::FolderGlyph;
}

// The control's position on the form: its own offset plus every enclosing parent's.
POINT FormPosition(const FormDef& form, const FormLayout& layout, std::size_t row) {
    POINT position{layout.boxes[row].x, layout.boxes[row].y};
    const ControlDef* parent = FindControl(form, form.controls[row].parent);
    // Bounded by the table size, so a parent cycle in a broken table cannot hang.
    for (std::size_t hops = 0; parent && hops < form.count; ++hops) {
        const auto index = static_cast<std::size_t>(parent - form.controls);
        position.x += layout.boxes[index].x;
        position.y += layout.boxes[index].y;
        parent = FindControl(form, parent->parent);
    }
    return position;
}

// A long hotkey name as the hotkey field spells it, in the system's key names: every
// modifier and one of the longer keys.
std::string LongHotkeyName() {
    std::string name;
    for (const UINT key : {VK_CONTROL, VK_SHIFT, VK_MENU, VK_NEXT}) {
        char part[64] = {};
        const LONG code =
            static_cast<LONG>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC) << 16) | (key == VK_NEXT ? 1 << 24 : 0);
        if (GetKeyNameTextA(code, part, sizeof part) <= 0) continue;
        if (!name.empty()) name += " + ";
        name += part;
    }
    return name.empty() ? "Shift + Ctrl + Alt + Page Down" : name;
}

int TextWidth(HDC dc, const std::string& text, bool prefixes) {
    if (text.empty()) return 0;
    RECT rect{0, 0, 0, 0};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect,
              DT_CALCRECT | DT_SINGLELINE | (prefixes ? 0 : DT_NOPREFIX));
    return rect.right - rect.left;
}

// The width the control needs to show its caption whole, in its own font: the text plus
// what the control draws beside it. 0 for a control whose text is the user's.
int NeededWidth(HDC dc, const ControlDef& def, int dpi) {
    const int edge = SystemMetricForDpi(SM_CXEDGE, dpi);
    switch (def.kind) {
    case ControlKind::Label:
    case ControlKind::LinkLabel: return TextWidth(dc, def.text, true) + 1;
    case ControlKind::CheckBox:
        return TextWidth(dc, def.text, true) + SystemMetricForDpi(SM_CXMENUCHECK, dpi) + ScaleToDpi(8, dpi);
    case ControlKind::Button: return TextWidth(dc, def.text, true) + 2 * edge + ScaleToDpi(4, dpi);
    case ControlKind::GroupBox: return TextWidth(dc, def.text, true) + ScaleToDpi(16, dpi);
    case ControlKind::HotKey: return TextWidth(dc, LongHotkeyName(), false) + 4 * edge + ScaleToDpi(4, dpi);
    case ControlKind::ComboBox: {
        int widest = 0;
        for (const std::string& item : SplitItems(def.text)) widest = std::max(widest, TextWidth(dc, item, false));
        return widest + SystemMetricForDpi(SM_CXVSCROLL, dpi) + 2 * edge + ScaleToDpi(6, dpi);
    }
    case ControlKind::Form:
    case ControlKind::TreeView:
    case ControlKind::BitBtn:
    case ControlKind::Edit:
    case ControlKind::IconListBox: break;
    }
    return 0;
}

}  // namespace

HWND BuiltForm::GetByRole(int role) const {
    for (const BuiltControl& control : controls_)
        if (control.def->role == role) return control.hwnd;
    return nullptr;
}

HWND BuiltForm::Get(std::string_view name) const {
    for (const BuiltControl& control : controls_)
        if (name == control.def->name) return control.hwnd;
    return nullptr;
}

const BuiltControl* BuiltForm::ByHwnd(HWND hwnd) const {
    for (const BuiltControl& control : controls_)
        if (control.hwnd == hwnd) return &control;
    return nullptr;
}

BuiltForm BuildForm(HWND form, const FormDef& def, HFONT font) {
    return BuildForm(form, def.controls, def.count, font);
}

BuiltForm BuildForm(HWND form, const ControlDef* table, std::size_t count, HFONT font) {
    INITCOMMONCONTROLSEX icc{sizeof(icc),
                             ICC_TREEVIEW_CLASSES | ICC_HOTKEY_CLASS | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);

    const FormDef layout{"", "", 0, 0, FormBorder::FixedNoButtons, "", 0, table, count};
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(form, GWLP_HINSTANCE));
    BuiltForm built;

    const FormLayout design = ScaleLayout(layout, kBaseDpi);
    built.layout_ = design;
    for (std::size_t row : CreationOrder(layout)) {
        const ControlDef& def = table[row];
        const WindowKind kind = KindOf(def);
        const POINT at = FormPosition(layout, design, row);
        const int id = kFirstControlId + static_cast<int>(row);
        DWORD style = WS_CHILD | WS_VISIBLE | kind.style;
        if (def.tabOrder >= 0 && def.kind != ControlKind::GroupBox) style |= WS_TABSTOP;
        // A drop-down's height is that of its open list; the closed box sizes itself.
        const int height = def.kind == ControlKind::ComboBox ? def.h + 160 : def.h;
        const char* text = def.kind == ControlKind::ComboBox ? "" : def.text;

        HWND hwnd = CreateWindowExA(kind.exStyle, kind.className, text, style, at.x, at.y, def.w, height, form,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        if (!hwnd) throw KestrinError(FormatText("Unable to create control %s", def.name));
        built.controls_.push_back({&def, hwnd, id});

        if (font) SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

        switch (def.kind) {
        case ControlKind::TreeView: SendMessageA(hwnd, TVM_SETINDENT, 19, 0); break;
        case ControlKind::ComboBox:
            for (const std::string& item : SplitItems(def.text))
                SendMessageA(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
            break;
        case ControlKind::Edit:
            if (def.textLimit > 0) SendMessageA(hwnd, EM_LIMITTEXT, static_cast<WPARAM>(def.textLimit), 0);
            break;
        case ControlKind::GroupBox:
            // At the bottom of the Z-order a group box cannot paint over the controls
            // it frames; it is never a tab stop, so the tab order is unaffected.
            SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            break;
        default: break;
        }
    }

    bool anyHint = false;
    for (std::size_t i = 0; i < count; ++i) anyHint = anyHint || table[i].hint[0] != '\0';
    if (anyHint) {
        built.tooltip_.reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                             CW_USEDEFAULT, CW_USEDEFAULT, form, nullptr, instance, nullptr));
        for (const BuiltControl& control : built.controls_) {
            if (!built.tooltip_ || control.def->hint[0] == '\0') continue;
            TOOLINFOA ti{};
            // The version-2 size works with every common-controls version.
            ti.cbSize = TTTOOLINFOA_V2_SIZE;
            ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            ti.hwnd = form;
            ti.uId = reinterpret_cast<UINT_PTR>(control.hwnd);
            ti.lpszText = const_cast<char*>(control.def->hint);
            SendMessageA(built.tooltip_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
        }
    }
    return built;
}

HWND CreateFormWindow(const FormDef& def, HWND owner, WNDPROC procedure, void* param) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = def.name;
    RegisterClassA(&wc);  // fails harmlessly when the class is there from an earlier window
    return CreateWindowExA(FormExStyle(def), def.name, def.caption, FormStyle(def), 0, 0, def.clientWidth,
                           def.clientHeight, owner, nullptr, wc.hInstance, param);
}

SIZE LayOutForm(HWND form, const FormDef& def, int dpi, HFONT font, BuiltForm* built) {
    OwnedFont linkFont;
    if (font) {
        LOGFONTA lf{};
        GetObjectA(font, sizeof(lf), &lf);
        lf.lfUnderline = TRUE;
        linkFont.reset(CreateFontIndirectA(&lf));
    }
    std::vector<OwnedIcon> glyphs;
    const int glyphSize = SmallIconSizeFor(dpi);
    std::vector<int> needed(def.count, 0);
    {
        const ScopedDC dc(form);
        for (const BuiltControl& control : built->controls_) {
            const ControlDef& c = *control.def;
            HFONT controlFont = (c.kind == ControlKind::LinkLabel && linkFont) ? linkFont.get() : font;
            if (controlFont) SendMessageA(control.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(controlFont), FALSE);
            if (c.kind == ControlKind::BitBtn && c.glyph != Glyph::None) {
                if (OwnedIcon icon{CreatePictureIcon(PictureOf(c.glyph), glyphSize)}) {
                    SendMessageA(control.hwnd, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon.get()));
                    glyphs.push_back(std::move(icon));
                }
            }
            const std::size_t row = static_cast<std::size_t>(control.id - kFirstControlId);
            if (dc.get() && controlFont && row < def.count) {
                const ScopedSelect select(dc.get(), controlFont);
                needed[row] = NeededWidth(dc.get(), c, dpi);
            }
        }
    }
    // The old glyphs and link font go only once the controls show the new ones.
    built->glyphs_ = std::move(glyphs);
    built->linkFont_ = std::move(linkFont);

    FormLayout layout = ScaleLayout(def, dpi);
    GrowToFit(def, needed, dpi, &layout);
    for (const BuiltControl& control : built->controls_) {
        const std::size_t row = static_cast<std::size_t>(control.id - kFirstControlId);
        if (row >= def.count) continue;
        const POINT at = FormPosition(def, layout, row);
        const ControlBox& box = layout.boxes[row];
        // A drop-down's height is that of its open list; the closed box sizes itself.
        const int height = control.def->kind == ControlKind::ComboBox ? box.h + ScaleToDpi(160, dpi) : box.h;
        SetWindowPos(control.hwnd, nullptr, at.x, at.y, box.w, height, SWP_NOZORDER | SWP_NOACTIVATE);
        if (control.def->kind == ControlKind::TreeView)
            SendMessageA(control.hwnd, TVM_SETINDENT, static_cast<WPARAM>(ScaleToDpi(19, dpi)), 0);
    }
    built->layout_ = layout;
    InvalidateRect(form, nullptr, TRUE);
    return {layout.clientWidth, layout.clientHeight};
}

OwnedFont CreateFormFont(const FormDef& def, int dpi) {
    return OwnedFont(CreateFontA(-MulDiv(def.fontPoints, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                 DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_SWISS, def.fontName));
}

DWORD FormStyle(const FormDef& def) {
    switch (def.border) {
    case FormBorder::SizeableToolWindow: return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    case FormBorder::FixedNoButtons: break;
    }
    // No WS_CLIPCHILDREN: the form must paint the inside of its group box, which
    // does not paint it itself.
    return WS_POPUP | WS_CAPTION;
}

DWORD FormExStyle(const FormDef& def) {
    switch (def.border) {
    case FormBorder::SizeableToolWindow: return WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
    case FormBorder::FixedNoButtons: break;
    }
    return WS_EX_CONTROLPARENT;
}

namespace {

SIZE WindowSize(HWND hwnd, SIZE client, int dpi) {
    RECT rc{0, 0, client.cx, client.cy};
    AdjustWindowRectForDpi(&rc, static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)),
                           static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_EXSTYLE)), dpi);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

// Puts the window at (left, top) with the client area asked for. The frame is what the
// window really got: until Windows has moved the window to the new monitor its frame may
// still be that of the old scale.
void PlaceWindow(HWND hwnd, int left, int top, SIZE client, int dpi) {
    SIZE size = WindowSize(hwnd, client, dpi);
    SetWindowPos(hwnd, nullptr, left, top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT got{};
    GetClientRect(hwnd, &got);
    if (got.right == client.cx && got.bottom == client.cy) return;
    size.cx += client.cx - got.right;
    size.cy += client.cy - got.bottom;
    SetWindowPos(hwnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void PlaceForm(HWND hwnd, SIZE client, int dpi) {
    const SIZE size = WindowSize(hwnd, client, dpi);
    PlaceWindow(hwnd, (GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2, (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2,
                client, dpi);
}

void ResizeForDpi(HWND hwnd, SIZE client, int dpi, const RECT& suggested) {
    PlaceWindow(hwnd, suggested.left, suggested.top, client, dpi);
}

bool HandleLinkLabelColor(const BuiltForm& form, WPARAM wp, LPARAM lp, LRESULT* result) {
    const BuiltControl* control = form.ByHwnd(reinterpret_cast<HWND>(lp));
    if (!control || control->def->kind != ControlKind::LinkLabel) return false;
    HDC dc = reinterpret_cast<HDC>(wp);
    SetTextColor(dc, RGB(0, 0, 255));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    *result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    return true;
}

}  // namespace kestrin
