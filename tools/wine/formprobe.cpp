// formprobe.exe: reads and drives Kestrin's settings window from outside, as the end-to-end
// scripts need it. Run inside the test prefix: `wine formprobe.exe COMMAND [ARGS]`.
// Controls are named as in the form table (TreeView1, Edit3, ComboBox2, ...) and found by
// the id the table gives them. Output is tab-separated lines; exit code 0 success,
// 1 failure (no window, no control, condition not met), 2 bad usage, 3 a "Kestrin" error
// box came up while the command's message was being handled.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/dpi_win32.h"
#include "base/form_scale.h"
#include "settings/layout.h"
#include "tools/wine/probe_support.h"

namespace {

using namespace kestrin::probe;
using kestrin::kSettingsForm;

const char kCaptionStart[] = "Kestrin 3.1";
const char kBoxCaption[] = "Kestrin";
const char kExe[] = "kestrin.exe";

bool IsKestrinWindow(HWND hwnd) { return lstrcmpiA(ExeOf(ProcessOf(hwnd)).c_str(), kExe) == 0; }

HWND SettingsWindow() {
    for (HWND hwnd : TopLevelWindows()) {
        const std::string text = TextOf(hwnd);
        if (text.compare(0, sizeof kCaptionStart - 1, kCaptionStart) == 0 && IsKestrinWindow(hwnd)) return hwnd;
    }
    return nullptr;
}

// A visible message box of Kestrin's: a dialog captioned with the application title.
bool IsErrorBox(HWND hwnd) {
    return IsWindowVisible(hwnd) && ClassOf(hwnd) == "#32770" && TextOf(hwnd) == kBoxCaption && IsKestrinWindow(hwnd);
}

HWND ErrorBox() {
    for (HWND hwnd : TopLevelWindows())
        if (IsErrorBox(hwnd)) return hwnd;
    return nullptr;
}

std::string ErrorBoxText(HWND box) {
    // The message is the box's static text that is not the icon.
    std::string found;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (lstrcmpiA(ClassOf(child).c_str(), "Static") != 0) continue;
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) continue;
        const std::string text = TextOf(child);
        if (!text.empty()) found = text;
    }
    return found;
}

// Sends a message from a worker thread and waits until it is handled. A handler that ends
// in the error box does not return before the box is closed, so the box showing up ends
// the wait as well (exit code 3); the message is handled to the end once it is closed.
int SendAndWatch(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    struct Call {
        HWND hwnd;
        UINT msg;
        WPARAM wp;
        LPARAM lp;
    } call = {hwnd, msg, wp, lp};
    Handle thread(CreateThread(
        nullptr, 0,
        [](void* param) -> DWORD {
            const Call* c = static_cast<const Call*>(param);
            DWORD_PTR ignored = 0;
            SendMessageTimeoutA(c->hwnd, c->msg, c->wp, c->lp, SMTO_NORMAL, 20000, &ignored);
            return 0;
        },
        &call, 0, nullptr));
    if (!thread) return 1;
    for (int i = 0; i < 200; ++i) {
        if (WaitForSingleObject(thread.get(), 100) == WAIT_OBJECT_0) {
            // A box shown by a handler posted for later still counts.
            if (ErrorBox()) {
                std::printf("errorbox\n");
                return 3;
            }
            return 0;
        }
        if (ErrorBox()) {
            std::printf("errorbox\n");
            std::fflush(stdout);
            // The worker is blocked until the box closes; leave without waiting for it.
            ExitProcess(3);
        }
    }
    return 1;
}

// ---- controls --------------------------------------------------------------------------

HWND gForm = nullptr;

bool NeedForm() {
    gForm = SettingsWindow();
    if (!gForm) std::fprintf(stderr, "formprobe: no settings window\n");
    return gForm != nullptr;
}

HWND ControlOf(const char* name) {
    const int id = kestrin::ControlId(kSettingsForm, name);
    HWND hwnd = id ? GetDlgItem(gForm, id) : nullptr;
    if (!hwnd) std::fprintf(stderr, "formprobe: no control %s\n", name);
    return hwnd;
}

std::string NameOf(HWND hwnd) {
    const kestrin::ControlDef* def = kestrin::ControlById(kSettingsForm, GetDlgCtrlID(hwnd));
    return def ? def->name : "";
}

int CmdVisible(int, char**) {
    if (!NeedForm()) return 1;
    const bool visible = IsWindowVisible(gForm) != FALSE;
    std::printf("%d\n", visible ? 1 : 0);
    return 0;
}

bool FormSettled(HWND form);

int CmdWaitVisible(int argc, char** argv) {
    if (argc < 2) return 2;
    const bool wanted = std::atoi(argv[0]) != 0;
    return WaitFor(std::atof(argv[1]),
                   [&] {
                       HWND form = SettingsWindow();
                       // Shown counts once the opening is complete, so the fields read what it set.
                       return form && (IsWindowVisible(form) != FALSE) == wanted && (!wanted || FormSettled(form));
                   })
               ? 0
               : 1;
}

int CmdRect(int argc, char** argv) {
    if (!NeedForm()) return 1;
    HWND hwnd = argc >= 1 ? ControlOf(argv[0]) : gForm;
    if (!hwnd) return 1;
    RECT r = {};
    GetWindowRect(hwnd, &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
}

// Every control's rectangle in the window's client area beside the table's scaled to the
// window's DPI (or the one given): layout NAME KIND SL ST SR SB L T R B, then
// "client DPI SW SH W H".
int CmdLayout(int argc, char** argv) {
    if (!NeedForm()) return 1;
    const int dpi = argc >= 1 ? std::atoi(argv[0]) : kestrin::WindowDpi(gForm);
    if (dpi <= 0) return 2;
    const kestrin::FormLayout scaled = kestrin::ScaleLayout(kSettingsForm, dpi);
    for (std::size_t i = 0; i < kSettingsForm.count; ++i) {
        const kestrin::ControlDef& c = kSettingsForm.controls[i];
        kestrin::ControlBox box = scaled.boxes[i];
        if (const kestrin::ControlDef* parent = kestrin::FindControl(kSettingsForm, c.parent)) {
            box.x += scaled.boxes[static_cast<std::size_t>(parent - kSettingsForm.controls)].x;
            box.y += scaled.boxes[static_cast<std::size_t>(parent - kSettingsForm.controls)].y;
        }
        HWND hwnd = ControlOf(c.name);
        RECT r = {};
        if (hwnd) GetWindowRect(hwnd, &r);
        MapWindowPoints(nullptr, gForm, reinterpret_cast<POINT*>(&r), 2);
        std::printf("layout\t%s\t%d\t%d\t%d\t%d\t%d\t%ld\t%ld\t%ld\t%ld\n", c.name, static_cast<int>(c.kind), box.x,
                    box.y, box.Right(), box.y + box.h, r.left, r.top, r.right, r.bottom);
    }
    RECT client = {};
    GetClientRect(gForm, &client);
    std::printf("client\t%d\t%d\t%d\t%ld\t%ld\n", dpi, scaled.clientWidth, scaled.clientHeight, client.right,
                client.bottom);
    return 0;
}

int CmdGet(int argc, char** argv) {
    if (argc < 1) return 2;
    if (!NeedForm()) return 1;
    HWND hwnd = ControlOf(argv[0]);
    if (!hwnd) return 1;
    std::printf("%s\n", TextOf(hwnd).c_str());
    return 0;
}

int CmdSet(int argc, char** argv) {
    if (argc < 2) return 2;
    if (!NeedForm()) return 1;
    HWND hwnd = ControlOf(argv[0]);
    if (!hwnd) return 1;
    // WM_SETTEXT's string is marshalled into the other process; the edit then reports EN_CHANGE.
    return SendAndWatch(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[1]));
}

int CmdReadOnly(int argc, char** argv) {
    if (argc < 1) return 2;
    if (!NeedForm()) return 1;
    HWND hwnd = ControlOf(argv[0]);
    if (!hwnd) return 1;
    std::printf("%d\n", (GetWindowLongA(hwnd, GWL_STYLE) & ES_READONLY) ? 1 : 0);
    return 0;
}

int CmdEnabled(int argc, char** argv) {
    if (!NeedForm()) return 1;
    HWND hwnd = argc >= 1 ? ControlOf(argv[0]) : gForm;
    if (!hwnd) return 1;
    std::printf("%d\n", IsWindowEnabled(hwnd) ? 1 : 0);
    return 0;
}

// The selected entry: index, then its text (read as UTF-16, the only form that crosses).
int CmdCombo(int argc, char** argv) {
    if (argc < 1) return 2;
    if (!NeedForm()) return 1;
    HWND hwnd = ControlOf(argv[0]);
    if (!hwnd) return 1;
    const int index = static_cast<int>(SendMessageA(hwnd, CB_GETCURSEL, 0, 0));
    std::string text;
    if (index >= 0) {
        const int length = static_cast<int>(SendMessageW(hwnd, CB_GETLBTEXTLEN, index, 0));
        if (length > 0 && length < 1024) {
            std::vector<wchar_t> wide(length + 1);
            SendMessageW(hwnd, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(wide.data()));
            char narrow[4096] = {};
            WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, narrow, sizeof narrow, nullptr, nullptr);
            text = narrow;
        }
    }
    std::printf("%d\t%s\n", index, text.c_str());
    return 0;
}

// As a user's choice: the selection, then CBN_SELCHANGE to the parent.
int CmdChoose(int argc, char** argv) {
    if (argc < 2) return 2;
    if (!NeedForm()) return 1;
    HWND hwnd = ControlOf(argv[0]);
    if (!hwnd) return 1;
    const int index = std::atoi(argv[1]);
    if (SendMessageA(hwnd, CB_SETCURSEL, index, 0) != index) return 1;
    return SendAndWatch(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), CBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(hwnd));
}

int CmdClick(int argc, char** argv) {
    if (argc < 1) return 2;
    if (!NeedForm()) return 1;
    HWND hwnd = ControlOf(argv[0]);
    if (!hwnd) return 1;
    return SendAndWatch(hwnd, BM_CLICK, 0, 0);
}

int CmdChecked(int argc, char** argv) {
    if (argc < 1) return 2;
    if (!NeedForm()) return 1;
    HWND hwnd = ControlOf(argv[0]);
    if (!hwnd) return 1;
    std::printf("%d\n", SendMessageA(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
    return 0;
}

// Sets a check box by clicking it when it differs, as a user would.
int CmdCheck(int argc, char** argv) {
    if (argc < 2) return 2;
    if (!NeedForm()) return 1;
    HWND hwnd = ControlOf(argv[0]);
    if (!hwnd) return 1;
    const bool wanted = std::atoi(argv[1]) != 0;
    const bool now = SendMessageA(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (now == wanted) return 0;
    const int rc = SendAndWatch(hwnd, BM_CLICK, 0, 0);
    if (rc != 0) return rc;
    return (SendMessageA(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED) == wanted ? 0 : 1;
}

int CmdFocus(int, char**) {
    if (!NeedForm()) return 1;
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(gForm, nullptr), &info)) return 1;
    HWND focus = info.hwndFocus;
    // An edit inside a drop-down reports the drop-down's own name.
    if (focus && GetParent(focus) != gForm && GetParent(focus) && GetParent(GetParent(focus)) == gForm)
        focus = GetParent(focus);
    std::printf("%s\n", focus ? (NameOf(focus).empty() ? ClassOf(focus).c_str() : NameOf(focus).c_str()) : "");
    return 0;
}

int CmdHotkey(int, char**) {
    if (!NeedForm()) return 1;
    HWND hwnd = ControlOf("HotKey1");
    if (!hwnd) return 1;
    std::printf("0x%04x\n", static_cast<unsigned>(SendMessageA(hwnd, HKM_GETHOTKEY, 0, 0) & 0xFFFF));
    return 0;
}

int CmdErrorBox(int, char**) {
    HWND box = ErrorBox();
    if (!box) return 1;
    std::printf("%s\n", ErrorBoxText(box).c_str());
    return 0;
}

int CmdErrorBoxes(int, char**) {
    int count = 0;
    for (HWND hwnd : TopLevelWindows())
        if (IsErrorBox(hwnd)) ++count;
    std::printf("%d\n", count);
    return 0;
}

int CmdWaitErrorBox(int argc, char** argv) {
    if (argc < 1) return 2;
    if (!WaitFor(std::atof(argv[0]), [] { return ErrorBox() != nullptr; })) return 1;
    return CmdErrorBox(0, nullptr);
}

int CmdErrorBoxOk(int, char**) {
    HWND box = ErrorBox();
    if (!box) return 1;
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    return WaitFor(5, [] { return ErrorBox() == nullptr; }) ? 0 : 1;
}

// ---- tree ------------------------------------------------------------------------------

struct TreeNode {
    HTREEITEM item;
    int depth;
    std::string title;
    bool selected;
    bool expanded;
    bool button;       // the node reports children (shows an expand button)
    bool hasChildren;  // the node has child items
};

HTREEITEM NextItem(HWND tree, UINT how, HTREEITEM from) {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(from)));
}

// Reads one item's text and state through memory in the window's process.
class ItemReader {
public:
    explicit ItemReader(HWND tree)
        : tree_(tree),
          process_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, ProcessOf(tree))),
          remote_(process_.get(), sizeof(TVITEMA) + kTextSize) {}
    bool ok() const { return process_ && remote_.get(); }
    bool Read(HTREEITEM item, TVITEMA* tv, std::string* text) {
        *tv = {};
        tv->mask = TVIF_TEXT | TVIF_STATE | TVIF_CHILDREN | TVIF_HANDLE;
        tv->hItem = item;
        tv->stateMask = TVIS_EXPANDED | TVIS_SELECTED;
        tv->pszText = remote_.get() + sizeof(TVITEMA);
        tv->cchTextMax = static_cast<int>(kTextSize);
        const char empty = '\0';
        if (!remote_.Write(tv, sizeof *tv) || !remote_.Write(&empty, 1, sizeof *tv)) return false;
        if (!SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote_.get()))) return false;
        char buffer[kTextSize] = {};
        if (!remote_.Read(tv, sizeof *tv) || !remote_.Read(buffer, kTextSize - 1, sizeof *tv)) return false;
        *text = buffer;
        return true;
    }

private:
    static constexpr size_t kTextSize = 2048;
    HWND tree_;
    Handle process_;
    RemoteMemory remote_;
};

bool ReadTree(HWND tree, std::vector<TreeNode>* nodes) {
    ItemReader reader(tree);
    if (!reader.ok()) return false;
    const HTREEITEM caret = NextItem(tree, TVGN_CARET, nullptr);
    // Iterative pre-order walk: the first child, else the next sibling of the nearest
    // ancestor that has one.
    std::vector<HTREEITEM> parents;
    for (HTREEITEM item = NextItem(tree, TVGN_ROOT, nullptr); item;) {
        TVITEMA tv;
        std::string text;
        if (!reader.Read(item, &tv, &text)) return false;
        const HTREEITEM child = NextItem(tree, TVGN_CHILD, item);
        nodes->push_back({item, static_cast<int>(parents.size()), text, item == caret, (tv.state & TVIS_EXPANDED) != 0,
                          tv.cChildren != 0, child != nullptr});
        if (child) {
            parents.push_back(item);
            item = child;
            continue;
        }
        HTREEITEM next = NextItem(tree, TVGN_NEXT, item);
        while (!next && !parents.empty()) {
            next = NextItem(tree, TVGN_NEXT, parents.back());
            parents.pop_back();
        }
        item = next;
    }
    return true;
}

// The window has done opening: its tree is empty, or the title field shows the selected node.
bool FormSettled(HWND form) {
    HWND tree = GetDlgItem(form, kestrin::ControlId(kSettingsForm, "TreeView1"));
    HWND title = GetDlgItem(form, kestrin::ControlId(kSettingsForm, "Edit1"));
    if (!tree || !title) return false;
    if (!NextItem(tree, TVGN_ROOT, nullptr)) return true;
    const HTREEITEM caret = NextItem(tree, TVGN_CARET, nullptr);
    ItemReader reader(tree);
    TVITEMA tv;
    std::string text;
    return caret && reader.ok() && reader.Read(caret, &tv, &text) && text == TextOf(title);
}

// One line per node in tree order: DEPTH MARKS TITLE, marks s selected, e expanded,
// b expand button, c has children ("-" for none).
int CmdTree(int, char**) {
    if (!NeedForm()) return 1;
    HWND tree = ControlOf("TreeView1");
    if (!tree) return 1;
    std::vector<TreeNode> nodes;
    if (!ReadTree(tree, &nodes)) return 1;
    for (const TreeNode& n : nodes) {
        std::string marks;
        if (n.selected) marks += 's';
        if (n.expanded) marks += 'e';
        if (n.button) marks += 'b';
        if (n.hasChildren) marks += 'c';
        std::printf("%d\t%s\t%s\n", n.depth, marks.empty() ? "-" : marks.c_str(), n.title.c_str());
    }
    return 0;
}

// The node found by its titles from the top, separated by "/".
bool FindNode(HWND tree, const char* titles, HTREEITEM* found) {
    std::vector<TreeNode> nodes;
    if (!ReadTree(tree, &nodes)) return false;
    std::vector<std::string> path;
    for (const char* p = titles;;) {
        const char* slash = std::strchr(p, '/');
        path.emplace_back(p, slash ? slash - p : std::strlen(p));
        if (!slash) break;
        p = slash + 1;
    }
    // Match the path against each node's chain of ancestors' titles.
    std::vector<std::string> chain;
    for (const TreeNode& n : nodes) {
        chain.resize(n.depth);
        chain.push_back(n.title);
        if (chain == path) {
            *found = n.item;
            return true;
        }
    }
    std::fprintf(stderr, "formprobe: no node %s\n", titles);
    return false;
}

// Selects the node by its title path as a click would: the tree reports the new selection
// to the form.
int CmdSelect(int argc, char** argv) {
    if (argc < 1) return 2;
    if (!NeedForm()) return 1;
    HWND tree = ControlOf("TreeView1");
    HTREEITEM item = nullptr;
    if (!tree || !FindNode(tree, argv[0], &item)) return 1;
    return SendAndWatch(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

// Screen rectangle L T R B of a node's label, read through memory in the window's process.
int CmdNodeRect(int argc, char** argv) {
    if (argc < 1) return 2;
    if (!NeedForm()) return 1;
    HWND tree = ControlOf("TreeView1");
    HTREEITEM item = nullptr;
    if (!tree || !FindNode(tree, argv[0], &item)) return 1;
    Handle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, ProcessOf(tree)));
    RemoteMemory remote(process.get(), sizeof(RECT));
    RECT rect = {};
    std::memcpy(&rect, &item, sizeof item);
    if (!remote.get() || !remote.Write(&rect, sizeof rect)) return 1;
    if (!SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(remote.get()))) return 1;
    if (!remote.Read(&rect, sizeof rect)) return 1;
    MapWindowPoints(tree, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    std::printf("%ld\t%ld\t%ld\t%ld\n", rect.left, rect.top, rect.right, rect.bottom);
    return 0;
}

// Drops files at a screen point as a source without OLE does: a WM_DROPFILES whose DROPFILES
// block lies in the window's process (the memory is left there: the window frees the drop).
int CmdDrop(int argc, char** argv) {
    if (argc < 3) return 2;
    if (!NeedForm()) return 1;
    const HWND form = SettingsWindow();
    POINT at = {std::atol(argv[0]), std::atol(argv[1])};
    ScreenToClient(form, &at);
    std::string block(sizeof(DROPFILES), '\0');
    for (int i = 2; i < argc; ++i) block.append(argv[i]).push_back('\0');
    block.push_back('\0');
    DROPFILES header = {};
    header.pFiles = sizeof(DROPFILES);
    header.pt = at;
    std::memcpy(&block[0], &header, sizeof header);
    Handle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, ProcessOf(form)));
    void* remote = VirtualAllocEx(process.get(), nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote || !WriteProcessMemory(process.get(), remote, block.data(), block.size(), nullptr)) return 1;
    return SendAndWatch(form, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
}

// Writes a shortcut file: target, arguments, working directory, show command, icon.
int CmdMakeLink(int argc, char** argv) {
    if (argc < 7) return 2;
    if (FAILED(CoInitialize(nullptr))) return 1;
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return 1;
    link->SetPath(argv[1]);
    link->SetArguments(argv[2]);
    link->SetWorkingDirectory(argv[3]);
    link->SetShowCmd(std::atoi(argv[4]));
    link->SetIconLocation(argv[5], std::atoi(argv[6]));
    IPersistFile* file = nullptr;
    HRESULT saved = E_FAIL;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t wide[MAX_PATH] = {};
        MultiByteToWideChar(CP_ACP, 0, argv[0], -1, wide, MAX_PATH);
        saved = file->Save(wide, TRUE);
        file->Release();
    }
    link->Release();
    return SUCCEEDED(saved) ? 0 : 1;
}

const Command kCommands[] = {
    {"visible", "visible                  1 when the settings window is shown, else 0", CmdVisible},
    {"wait-visible", "wait-visible 0|1 SECONDS until the window is shown and opened (1) or hidden (0)", CmdWaitVisible},
    {"rect", "rect [NAME]              screen rectangle L T R B of a control or the window", CmdRect},
    {"layout", "layout [DPI]             each control: layout NAME KIND SL ST SR SB L T R B (scaled table, actual)",
     CmdLayout},
    {"get", "get NAME                 a control's text", CmdGet},
    {"set", "set NAME TEXT            WM_SETTEXT (an edit reports the change)", CmdSet},
    {"readonly", "readonly NAME            1 when the edit is read-only", CmdReadOnly},
    {"enabled", "enabled [NAME]           1 when the control (or the window) is enabled", CmdEnabled},
    {"combo", "combo NAME               selected index and its text", CmdCombo},
    {"choose", "choose NAME INDEX        select an entry and report it as the user's choice", CmdChoose},
    {"click", "click NAME               BM_CLICK", CmdClick},
    {"checked", "checked NAME             1 when the check box is checked", CmdChecked},
    {"check", "check NAME 0|1           click the check box when it differs", CmdCheck},
    {"focus", "focus                    name of the control with the keyboard focus", CmdFocus},
    {"hotkey", "hotkey                   HKM_GETHOTKEY of HotKey1", CmdHotkey},
    {"tree", "tree                     nodes in tree order: DEPTH MARKS TITLE", CmdTree},
    {"select", "select A/B/C             select the node by its title path", CmdSelect},
    {"noderect", "noderect A/B/C           screen rectangle L T R B of the node's label", CmdNodeRect},
    {"drop", "drop X Y PATH...         WM_DROPFILES of the paths at a screen point", CmdDrop},
    {"makelink", "makelink LNK TARGET ARGS DIR SHOW ICON INDEX   write a shortcut file", CmdMakeLink},
    {"errorbox", "errorbox                 text of a shown Kestrin message box", CmdErrorBox},
    {"errorboxes", "errorboxes               how many Kestrin message boxes show", CmdErrorBoxes},
    {"wait-errorbox", "wait-errorbox SECONDS    until a Kestrin message box shows; its text", CmdWaitErrorBox},
    {"errorbox-ok", "errorbox-ok              close the shown Kestrin message box with OK", CmdErrorBoxOk},
};

}  // namespace

int main(int argc, char** argv) { return RunCommand("formprobe", kCommands, argc, argv); }
