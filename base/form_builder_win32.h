// Turns a form table into child windows, and the few helpers every form needs.
//
// Children of a group box are created as children of the form itself, offset by the
// group box's position: the form then receives their WM_COMMAND and WM_CTLCOLOR*
// messages directly, and no group box needs subclassing. Group boxes go to the bottom of
// the Z-order, beneath the controls they frame.
//
// Tab navigation and the tooltip need the caller's message loop to pass messages
// through IsDialogMessageA(form, &msg) (the form should also answer WM_GETDLGCODE
// as usual, which DefWindowProc does).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "base/form_scale.h"
#include "base/form_table.h"
#include "base/owned_win32.h"

namespace kestrin {

struct BuiltControl {
    const ControlDef* def = nullptr;
    HWND hwnd = nullptr;
    int id = 0;
};

// The windows of one built form. Owns the glyph icons, the link font and the tooltip;
// the child windows themselves die with the form window.
class BuiltForm {
public:
    // nullptr when no control of that role, name or window was built.
    template <typename Role, typename = std::enable_if_t<std::is_enum_v<Role>>>
    HWND Get(Role role) const {
        return GetByRole(static_cast<int>(role));
    }
    HWND GetByRole(int role) const;
    HWND Get(std::string_view name) const;
    const BuiltControl* ByHwnd(HWND hwnd) const;
    const std::vector<BuiltControl>& Controls() const { return controls_; }

    // The layout last applied by LayOutForm, in pixels at its DPI.
    const FormLayout& Layout() const { return layout_; }

private:
    friend BuiltForm BuildForm(HWND, const ControlDef*, std::size_t, HFONT);
    friend SIZE LayOutForm(HWND, const FormDef&, int, HFONT, BuiltForm*);

    std::vector<BuiltControl> controls_;
    FormLayout layout_;
    std::vector<OwnedIcon> glyphs_;
    OwnedFont linkFont_;
    // Owned by the form window too: it may be gone with it already.
    OwnedWindow tooltip_;
};

// Creates every control of the table as a child of `form`, in tab order, with `font`
// (not owned; it must outlive the form), where the 96-DPI design puts it; LayOutForm then
// places it for the window's scale. Control ids are kFirstControlId + table row.
// Throws KestrinError when a window cannot be created.
BuiltForm BuildForm(HWND form, const ControlDef* table, std::size_t count, HFONT font);
BuiltForm BuildForm(HWND form, const FormDef& def, HFONT font);

// Creates the form's window, hidden, owned by `owner`: a window class named after the form
// with `procedure`, the form's border and caption; `param` arrives as lpCreateParams. Null
// when it cannot be made.
HWND CreateFormWindow(const FormDef& def, HWND owner, WNDPROC procedure, void* param);

// Places and sizes the built controls for `dpi`: the table scaled, grown where a caption
// measured in `font` (the form's font at that DPI; it must outlive the form) needs more room.
// Sets the fonts and draws the glyphs at that scale. Returns the client size the form needs.
SIZE LayOutForm(HWND form, const FormDef& def, int dpi, HFONT font, BuiltForm* built);

// The form's font at its point size for a DPI.
OwnedFont CreateFormFont(const FormDef& def, int dpi);

// The window style and extended style for a form's border kind.
DWORD FormStyle(const FormDef& def);
DWORD FormExStyle(const FormDef& def);

// Sizes the window so its client area is `client` at `dpi`, and centres it on the primary
// screen.
void PlaceForm(HWND hwnd, SIZE client, int dpi);
// WM_DPICHANGED: the window keeps the top-left corner Windows suggests and takes the size its
// client area needs at the new DPI.
void ResizeForDpi(HWND hwnd, SIZE client, int dpi, const RECT& suggested);

// Call from the form's window procedure for WM_CTLCOLORSTATIC: paints link labels blue.
// Returns true and sets *result when the message was for a link label; false otherwise
// (pass it on, so read-only edits keep their face colour).
bool HandleLinkLabelColor(const BuiltForm& form, WPARAM wp, LPARAM lp, LRESULT* result);

}  // namespace kestrin
