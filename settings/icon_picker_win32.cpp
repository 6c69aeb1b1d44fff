#include "settings/icon_picker_win32.h"

#include <shellapi.h>

#include <string>
#include <utility>
#include <vector>

#include "base/dpi_win32.h"
#include "base/error.h"
#include "base/form_builder_win32.h"
#include "base/message_window_win32.h"
#include "base/owned_win32.h"
#include "base/window_dispatch_win32.h"
#include "settings/icon_picker.h"
#include "settings/layout.h"

namespace kestrin {

namespace {

bool IsExistingFile(const std::string& file) {
    const DWORD attributes = GetFileAttributesA(file.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// ExtractIconA answers 1 (not an icon) for files it cannot read icons from.
bool IsIcon(HICON icon) { return reinterpret_cast<UINT_PTR>(icon) > 1; }

bool IconSize(HICON icon, SIZE* size) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return false;
    OwnedBitmap mask(info.hbmMask);
    OwnedBitmap color(info.hbmColor);
    BITMAP bitmap{};
    if (!GetObjectA(color ? color.get() : mask.get(), sizeof bitmap, &bitmap)) return false;
    // A monochrome icon keeps its AND and XOR masks one above the other.
    *size = {bitmap.bmWidth, color ? bitmap.bmHeight : bitmap.bmHeight / 2};
    return true;
}

// Disabled while the picker runs; enabled and active again however it ends.
class DisabledOwner {
public:
    explicit DisabledOwner(HWND owner) : owner_(owner) {
        if (owner_) EnableWindow(owner_, FALSE);
    }
    ~DisabledOwner() {
        if (!owner_) return;
        EnableWindow(owner_, TRUE);
        SetActiveWindow(owner_);
    }
    DisabledOwner(const DisabledOwner&) = delete;
    DisabledOwner& operator=(const DisabledOwner&) = delete;

private:
    HWND owner_;
};

class IconPicker final : public MessageWindow {
public:
    IconPicker(HWND owner, const std::string& file, int storedIndex);

    int Run();
    int IconCount() const { return static_cast<int>(entries_.size()); }

private:
    // Read the first time its entry is drawn, and never again, even when it failed.
    struct Entry {
        bool read = false;
        OwnedIcon icon;
        SIZE size{};
    };

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void Load(int storedIndex);
    // Fonts, the list and its cells at a DPI; the window's client size they need.
    SIZE ApplyDpi(int dpi);
    const Entry* EntryToDraw(UINT index);
    void Draw(const DRAWITEMSTRUCT& item);
    bool HandleKey(const MSG& msg);
    void Close();

    std::string file_;
    std::vector<Entry> entries_;
    int iconSize_ = 32;  // the large-icon size of the window's scale
    OwnedFont formFont_;
    OwnedFont listFont_;
    BuiltForm controls_;
    HWND list_ = nullptr;
    int finalSelection_ = -1;
    bool closed_ = false;
    // The owner is enabled and activated again before the picker window (the base) goes.
    DisabledOwner owner_;
};

IconPicker::IconPicker(HWND owner, const std::string& file, int storedIndex) : file_(file), owner_(owner) {
    CreateForm(kIconPickerForm, owner);
    const HWND hwnd = Handle();
    controls_ = BuildForm(hwnd, kIconPickerForm, nullptr);
    list_ = controls_.Get(IconPickerControl::IconList);
    if (!list_) throw KestrinError("Error creating window");
    const int dpi = WindowDpi(hwnd);
    PlaceForm(hwnd, ApplyDpi(dpi), dpi);
    Load(storedIndex);
}

SIZE IconPicker::ApplyDpi(int dpi) {
    const HWND hwnd = Handle();
    OwnedFont formFont = CreateFormFont(kIconPickerForm, dpi);
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(formFont.get()), FALSE);
    const SIZE client = LayOutForm(hwnd, kIconPickerForm, dpi, formFont.get(), &controls_);
    formFont_ = std::move(formFont);

    // The icons are read at the large-icon size of that scale (again, after a change of
    // scale); the cells' margins scale with them.
    iconSize_ = SystemMetricForDpi(SM_CXICON, dpi);
    for (Entry& entry : entries_) entry = Entry();
    const CellSize cell = IconCellSize(iconSize_, iconSize_, ScaleToDpi(kIconListMargin, dpi));
    OwnedFont listFont(CreateFontA(cell.height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                   "Arial"));
    if (listFont) SendMessageA(list_, WM_SETFONT, reinterpret_cast<WPARAM>(listFont.get()), FALSE);
    listFont_ = std::move(listFont);
    // After the font: a font change may measure the items anew.
    SendMessageA(list_, LB_SETITEMHEIGHT, 0, cell.height);
    SendMessageA(list_, LB_SETCOLUMNWIDTH, static_cast<WPARAM>(cell.width), 0);
    return client;
}

void IconPicker::Load(int storedIndex) {
    const bool exists = IsExistingFile(file_);
    EnableWindow(list_, exists);
    int count = 0;
    if (exists) {
        // The whole name, however long: a cut one would name another file or none.
        count = static_cast<int>(
            reinterpret_cast<UINT_PTR>(ExtractIconA(GetModuleHandleA(nullptr), file_.c_str(), static_cast<UINT>(-1))));
        entries_.resize(static_cast<size_t>(count));
        SendMessageA(list_, LB_INITSTORAGE, static_cast<WPARAM>(count), static_cast<LPARAM>(count) * 4);
        for (int i = 0; i < count; ++i)
            SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_string(i).c_str()));
    }
    SendMessageA(list_, LB_SETCURSEL, static_cast<WPARAM>(PresetSelection(count, storedIndex)), 0);
}

int IconPicker::Run() {
    ShowWindow(Handle(), SW_SHOW);
    SetFocus(list_);
    while (!closed_) {
        MSG msg;
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: its own loop must see the quit too.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1) break;
        if (HandleKey(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    // Gone already when its owner was destroyed under it.
    return IsWindow(list_) ? static_cast<int>(SendMessageA(list_, LB_GETCURSEL, 0, 0)) : finalSelection_;
}

// Enter and Esc end the picker wherever its focus is, and never travel on to the owner.
bool IconPicker::HandleKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.wParam != VK_RETURN && msg.wParam != VK_ESCAPE)) return false;
    const HWND hwnd = Handle();
    if (!hwnd || (msg.hwnd != hwnd && !IsChild(hwnd, msg.hwnd))) return false;
    CallGuarded([&] {
        if (msg.wParam == VK_ESCAPE) SendMessageA(list_, LB_SETCURSEL, 0, 0);
        Close();
        return LRESULT(0);
    });
    return true;
}

void IconPicker::Close() { closed_ = true; }

LRESULT IconPicker::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CLOSE:
        // Run destroys the window once it has read the selection.
        Close();
        return 0;
    case WM_DESTROY:
        finalSelection_ = static_cast<int>(SendMessageA(list_, LB_GETCURSEL, 0, 0));
        Close();
        break;
    case WM_SIZE: MoveWindow(list_, 0, 0, LOWORD(lp), HIWORD(lp), TRUE); return 0;
    case WM_SETFOCUS: SetFocus(list_); return 0;
    case WM_DPICHANGED: {
        // The user's own size is kept: only the scale's part of it changes.
        const RECT& suggested = *reinterpret_cast<const RECT*>(lp);
        ApplyDpi(HIWORD(wp));
        SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_COMMAND: {
        const ControlDef* row = lp ? ControlById(kIconPickerForm, LOWORD(wp)) : nullptr;
        if (row && row->role == static_cast<int>(IconPickerControl::IconList) && HIWORD(wp) == LBN_DBLCLK) Close();
        return 0;
    }
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (!item || item->hwndItem != list_) break;
        Draw(*item);
        return TRUE;
    }
    default: break;
    }
    return DefaultHandling(msg, wp, lp);
}

const IconPicker::Entry* IconPicker::EntryToDraw(UINT index) {
    if (index >= entries_.size()) return nullptr;
    Entry& entry = entries_[index];
    if (!entry.read) {
        entry.read = true;
        // The file's frame nearest the size; none (0 or 0xFFFFFFFF) for a file without icons.
        HICON icon = nullptr;
        UINT id = 0;
        if (PrivateExtractIconsA(file_.c_str(), static_cast<int>(index), iconSize_, iconSize_, &icon, &id, 1, 0) != 1)
            icon = nullptr;
        if (IsIcon(icon)) {
            entry.icon.reset(icon);
            if (!IconSize(icon, &entry.size)) entry.icon.reset();
        }
    }
    return entry.icon ? &entry : nullptr;
}

void IconPicker::Draw(const DRAWITEMSTRUCT& item) {
    const HDC dc = item.hDC;
    const RECT cell = item.rcItem;
    FillRect(dc, &cell, GetSysColorBrush((item.itemState & ODS_SELECTED) ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (const Entry* entry = EntryToDraw(item.itemID)) {
        const Offset at =
            CentredIconOffset({cell.right - cell.left, cell.bottom - cell.top}, entry->size.cx, entry->size.cy);
        DrawIconEx(dc, cell.left + at.x, cell.top + at.y, entry->icon.get(), 0, 0, 0, nullptr, DI_NORMAL);
    }
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &cell);
}

}  // namespace

std::optional<int> RunIconPicker(HWND owner, const std::string& file, int storedIndex) {
    IconPicker picker(owner, file, storedIndex);
    const int selection = picker.Run();
    return PickedIconIndex(picker.IconCount(), selection);
}

}  // namespace kestrin
