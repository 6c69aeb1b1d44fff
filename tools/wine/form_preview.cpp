// Shows the settings window's layout built from its table, the icon picker's frame, a
// strip of every drawn picture and the tray icon, and stays until killed, so the result
// can be screenshotted (import -window root build/forms-preview.png).
// Prints one "FIT name: caption needs N px, has W px" line for every caption wider than
// its control, and "PREVIEW READY" once everything is shown.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "base/dpi_win32.h"
#include "base/form_builder_win32.h"
#include "base/pictures_win32.h"
#include "settings/layout.h"

using namespace kestrin;

namespace {

BuiltForm gForm1;
BuiltForm gForm2;
HIMAGELIST gMenuPictures = nullptr;

LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CTLCOLORSTATIC) {
        LRESULT result = 0;
        if (HandleLinkLabelColor(gForm1, wp, lp, &result)) return result;
    }
    if (msg == WM_MEASUREITEM) {
        auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        mi->itemHeight = 37;
        return TRUE;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK StripProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        const PictureId all[] = {PictureId::TrayIcon,  PictureId::Settings,   PictureId::Exit,
                                 PictureId::Folder,    PictureId::ArrowUp,    PictureId::ArrowDown,
                                 PictureId::ArrowLeft, PictureId::ArrowRight, PictureId::FolderGlyph};
        int x = 4;
        for (PictureId id : all) {
            HICON small = CreatePictureIcon(id, 16);
            HICON large = CreatePictureIcon(id, 32);
            DrawIconEx(dc, x, 4, small, 16, 16, 0, nullptr, DI_NORMAL);
            DrawIconEx(dc, x, 24, large, 32, 32, 0, nullptr, DI_NORMAL);
            DestroyIcon(small);
            DestroyIcon(large);
            x += 36;
        }
        // The menu's image list, drawn the way a menu draws it.
        for (int i = 0; i < ImageList_GetImageCount(gMenuPictures); ++i)
            ImageList_Draw(gMenuPictures, i, dc, 4 + 20 * i, 62, ILD_NORMAL);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

std::string ShownCaption(const char* text) {
    std::string shown;
    for (const char* p = text; *p; ++p) {
        if (*p == '&') {
            if (p[1] != '&') continue;
            ++p;
        }
        shown += *p;
    }
    return shown;
}

// Reports captions that do not fit their control, measured with the form's real font.
void CheckCaptions(HWND form, const BuiltForm& built, HFONT font) {
    HDC dc = GetDC(form);
    HGDIOBJ old = SelectObject(dc, font);
    char face[LF_FACESIZE] = "";
    GetTextFaceA(dc, sizeof(face), face);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    std::printf("font %s, height %ld, average width %ld\n", face, tm.tmHeight, tm.tmAveCharWidth);
    for (const BuiltControl& c : built.Controls()) {
        const ControlDef& d = *c.def;
        if (d.text[0] == '\0' || d.kind == ControlKind::ComboBox || d.kind == ControlKind::Edit) continue;
        const std::string shown = ShownCaption(d.text);
        SIZE extent{};
        GetTextExtentPoint32A(dc, shown.c_str(), static_cast<int>(shown.size()), &extent);
        int room = d.w;
        if (d.kind == ControlKind::CheckBox) room -= GetSystemMetrics(SM_CXMENUCHECK) + 4;
        if (d.kind == ControlKind::Button) room -= 4;
        if (d.kind == ControlKind::GroupBox) room -= 16;
        std::printf("%s %s: caption needs %ld px, has %d px\n", extent.cx > room ? "FIT" : "ok", d.name, extent.cx,
                    room);
        if (extent.cy > d.h) std::printf("FIT %s: caption %ld px high, control %d px\n", d.name, extent.cy, d.h);
    }
    SelectObject(dc, old);
    ReleaseDC(form, dc);
}

void FillSample(const BuiltForm& f) {
    HWND tree = f.Get("TreeView1");
    TVINSERTSTRUCTA ins{};
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT;
    const char* top[] = {"Editor", "Tools", "--------------------", "Home folder"};
    HTREEITEM tools = nullptr;
    for (const char* t : top) {
        ins.hParent = TVI_ROOT;
        ins.item.pszText = const_cast<char*>(t);
        HTREEITEM item =
            reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&ins)));
        if (std::string(t) == "Tools") tools = item;
    }
    const char* children[] = {"Calculator", "Command prompt"};
    for (const char* t : children) {
        ins.hParent = tools;
        ins.item.pszText = const_cast<char*>(t);
        SendMessageA(tree, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&ins));
    }
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(tools));
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    SendMessageA(f.Get("ComboBox2"), CB_SETCURSEL, 0, 0);
    SendMessageA(f.Get("ComboBox1"), CB_SETCURSEL, 0, 0);
    SetWindowTextA(f.Get("Edit1"), "Editor");
    SetWindowTextA(f.Get("Edit3"), "%usb%\\Tools\\editor.exe");
    SetWindowTextA(f.Get("Edit2"), "|C:\\My Files\\notes.txt|");
    SendMessageA(f.Get("HotKey1"), HKM_SETHOTKEY, MAKEWORD(VK_UP, HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT), 0);
    SendMessageA(f.Get("CheckBox1"), BM_SETCHECK, BST_CHECKED, 0);
}

HWND CreateFormWindow(const FormDef& def, const char* className) {
    HWND hwnd = CreateWindowExA(FormExStyle(def), className, def.caption, FormStyle(def), 0, 0, 100, 100, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    return hwnd;
}

}  // namespace

int main() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = FormProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "KestrinPreviewForm";
    RegisterClassA(&wc);
    wc.lpfnWndProc = StripProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "KestrinPreviewStrip";
    RegisterClassA(&wc);

    const int dpi = SystemDpi();
    OwnedFont ownedFont = CreateFormFont(kSettingsForm, dpi);
    HFONT font = ownedFont.get();
    gMenuPictures = CreateMenuImageList();

    HWND form1 = CreateFormWindow(kSettingsForm, "KestrinPreviewForm");
    gForm1 = BuildForm(form1, kSettingsForm, font);
    PlaceForm(form1, LayOutForm(form1, kSettingsForm, dpi, font, &gForm1), dpi);
    FillSample(gForm1);
    CheckCaptions(form1, gForm1, font);

    HWND form2 = CreateFormWindow(kIconPickerForm, "KestrinPreviewForm");
    gForm2 = BuildForm(form2, kIconPickerForm, font);
    PlaceForm(form2, LayOutForm(form2, kIconPickerForm, dpi, font, &gForm2), dpi);
    SetWindowPos(form2, nullptr, 4, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    HWND strip =
        CreateWindowExA(WS_EX_TOOLWINDOW, "KestrinPreviewStrip", "Pictures", WS_POPUP | WS_CAPTION | WS_VISIBLE, 4, 4,
                        340, 110, nullptr, nullptr, instance, nullptr);

    NOTIFYICONDATAA nid{};
    nid.cbSize = sizeof(nid);
    nid.hWnd = strip;
    nid.uID = 1;
    nid.uFlags = NIF_ICON | NIF_TIP;
    nid.hIcon = CreatePictureIcon(PictureId::TrayIcon);
    lstrcpynA(nid.szTip, "Kestrin 3.1", sizeof(nid.szTip));
    Shell_NotifyIconA(NIM_ADD, &nid);

    ShowWindow(form2, SW_SHOWNOACTIVATE);
    ShowWindow(form1, SW_SHOW);
    std::printf("PREVIEW READY\n");
    std::fflush(stdout);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(form1, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    Shell_NotifyIconA(NIM_DELETE, &nid);
    return 0;
}
