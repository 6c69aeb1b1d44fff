#include "settings/tree_drop_win32.h"

#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

#include "core/launch.h"
#include "settings/drop_rules.h"
#include "shell/launch_win32.h"

namespace kestrin {

namespace {

// The upper and lower quarter of a node's row are "between nodes"; the middle is "onto".
DropZone ZoneOf(const RECT& row, int y) {
    const int quarter = (row.bottom - row.top) / 4;
    if (y < row.top + quarter) return DropZone::Above;
    if (y >= row.bottom - quarter) return DropZone::Below;
    return DropZone::On;
}

// Reads what a .lnk stores, without resolving it: resolving may search drives and wait.
std::optional<ShortcutFields> ReadShellLink(const std::string& path) {
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return std::nullopt;
    ShortcutFields fields;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        std::wstring wide(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0)), L'\0');
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
        if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ))) {
            char text[MAX_PATH * 4] = {};
            if (link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH) == S_OK) fields.target = text;
            text[0] = '\0';
            if (SUCCEEDED(link->GetArguments(text, sizeof text))) fields.arguments = text;
            text[0] = '\0';
            if (SUCCEEDED(link->GetWorkingDirectory(text, sizeof text))) fields.workingDirectory = text;
            int show = SW_SHOWNORMAL;
            if (SUCCEEDED(link->GetShowCmd(&show))) fields.showCommand = show;
            int icon = 0;
            text[0] = '\0';
            if (SUCCEEDED(link->GetIconLocation(text, sizeof text, &icon))) {
                fields.iconLocation = text;
                fields.iconIndex = icon;
            }
            fields.resolved = !fields.target.empty();
        }
        file->Release();
    }
    link->Release();
    return fields;
}

std::string ProfileString(const std::string& file, const char* key) {
    char text[4096] = {};
    GetPrivateProfileStringA("InternetShortcut", key, "", text, sizeof text, file.c_str());
    return text;
}

ShortcutFields ReadInternetShortcut(const std::string& path) {
    ShortcutFields fields;
    fields.target = ProfileString(path, "URL");
    fields.resolved = !fields.target.empty();
    fields.iconLocation = ProfileString(path, "IconFile");
    fields.iconIndex = static_cast<int>(GetPrivateProfileIntA("InternetShortcut", "IconIndex", 0, path.c_str()));
    return fields;
}

DroppedThing ThingAt(const std::string& path) {
    DroppedThing thing;
    thing.path = path;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    const bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (folder && path.size() <= 3 && path.size() >= 2 && path[1] == ':') {
        thing.kind = DroppedThing::Kind::Drive;
        char label[MAX_PATH + 1] = {};
        const std::string root = path.substr(0, 2) + "\\";
        if (GetVolumeInformationA(root.c_str(), label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0))
            thing.driveLabel = label;
    } else {
        thing.kind = folder ? DroppedThing::Kind::Folder : FileKindOf(path);
    }
    return thing;
}

}  // namespace

DropPoint TreeDropFeedback::PointAt(const Tree& tree, POINT screen,
                                    const std::function<bool(NodeId)>& intoAllowed) const {
    const HWND hwnd = view_.Handle();
    TVHITTESTINFO hit = {};
    hit.pt = screen;
    ScreenToClient(hwnd, &hit.pt);
    const HTREEITEM item =
        reinterpret_cast<HTREEITEM>(SendMessageA(hwnd, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (!item) return {};
    TVITEMA data = {};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    SendMessageA(hwnd, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
    const NodeId node = TreeViewAdapter::NodeOfItem(data);
    if (!tree.IsAlive(node)) return {};
    // TVM_GETITEMRECT takes the item in the rectangle it fills.
    RECT row = {};
    memcpy(&row, &item, sizeof item);
    SendMessageA(hwnd, TVM_GETITEMRECT, FALSE, reinterpret_cast<LPARAM>(&row));
    return DropPointAt(tree, node, ZoneOf(row, hit.pt.y), intoAllowed(node));
}

void TreeDropFeedback::Show(const Tree& tree, const DropPoint& point, bool valid) {
    const HWND hwnd = view_.Handle();
    HTREEITEM mark = nullptr, highlight = nullptr;
    BOOL after = FALSE;
    if (valid) {
        if (point.placement == Placement::AddChild) {
            highlight = view_.ItemOf(point.target);
        } else if (point.placement == Placement::InsertBefore) {
            mark = view_.ItemOf(point.target);
        } else {
            // The last of a level: after the last node shown in it.
            const NodeId parent = point.target == kNoNode ? kNoNode : tree.Parent(point.target);
            const NodeId last = parent == kNoNode ? tree.LastRoot() : tree.LastChild(parent);
            mark = view_.ItemOf(last == kNoNode ? kNoNode : last);
            after = TRUE;
        }
    }
    if (mark == shownMark_ && after == shownAfter_ && highlight == shownHighlight_) return;
    shownMark_ = mark;
    shownAfter_ = after;
    shownHighlight_ = highlight;
    SendMessageA(hwnd, TVM_SETINSERTMARK, after, reinterpret_cast<LPARAM>(mark));
    SendMessageA(hwnd, TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(highlight));
    // Some tree views leave the old mark on screen when it moves.
    InvalidateRect(hwnd, nullptr, FALSE);
}

void TreeDropFeedback::Hide() {
    shownMark_ = shownHighlight_ = nullptr;
    shownAfter_ = FALSE;
    SendMessageA(view_.Handle(), TVM_SETINSERTMARK, FALSE, 0);
    SendMessageA(view_.Handle(), TVM_SELECTITEM, TVGN_DROPHILITE, 0);
    InvalidateRect(view_.Handle(), nullptr, FALSE);
}

std::vector<std::string> DroppedPaths(HDROP drop) {
    std::vector<std::string> paths;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileA(drop, i, nullptr, 0);
        std::string path(length + 1, '\0');
        path.resize(DragQueryFileA(drop, i, &path[0], length + 1));
        if (!path.empty()) paths.push_back(path);
    }
    return paths;
}

std::vector<NewEntry> EntriesForDroppedPaths(const std::vector<std::string>& paths) {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string travelling = TravellingDrive(ExeDrive(ExecutablePath()), windows);
    std::vector<NewEntry> entries;
    for (const std::string& path : paths) {
        const DroppedThing thing = ThingAt(path);
        std::optional<ShortcutFields> shortcut;
        if (thing.kind == DroppedThing::Kind::Shortcut) shortcut = ReadShellLink(path);
        if (thing.kind == DroppedThing::Kind::InternetShortcut) shortcut = ReadInternetShortcut(path);
        entries.push_back({DroppedTitle(thing), DroppedItem(thing, shortcut, travelling)});
    }
    return entries;
}

class TreeFileDropTarget::Target final : public IDropTarget {
public:
    Target(Hover hover, std::function<void()> leave, DropHandler onDrop)
        : hover_(std::move(hover)), leave_(std::move(leave)), onDrop_(std::move(onDrop)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDropTarget) {
            *out = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL at, DWORD* effect) override {
        FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        accepts_ = data && data->QueryGetData(&format) == S_OK;
        return DragOver(0, at, effect);
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL at, DWORD* effect) override {
        if (!accepts_) {
            *effect = DROPEFFECT_NONE;
            return S_OK;
        }
        // A new entry points at the file, so a link is what Explorer should show; a source
        // that offers no link gets the copy cursor.
        *effect = (*effect & DROPEFFECT_LINK) ? DROPEFFECT_LINK : (*effect & DROPEFFECT_COPY);
        hover_(POINT{at.x, at.y});
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        leave_();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL at, DWORD* effect) override {
        leave_();
        FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium = {};
        if (!accepts_ || FAILED(data->GetData(&format, &medium))) {
            *effect = DROPEFFECT_NONE;
            return S_OK;
        }
        const std::vector<std::string> paths = DroppedPaths(static_cast<HDROP>(medium.hGlobal));
        ReleaseStgMedium(&medium);
        *effect = (*effect & DROPEFFECT_LINK) ? DROPEFFECT_LINK : (*effect & DROPEFFECT_COPY);
        if (!paths.empty()) onDrop_(paths, POINT{at.x, at.y});
        return S_OK;
    }

private:
    LONG refs_ = 1;
    bool accepts_ = false;
    Hover hover_;
    std::function<void()> leave_;
    DropHandler onDrop_;
};

TreeFileDropTarget::TreeFileDropTarget(HWND tree, Hover hover, std::function<void()> leave, DropHandler onDrop)
    : tree_(tree) {
    // RegisterDragDrop needs OLE on this thread, beyond the COM the program starts with.
    oleReady_ = SUCCEEDED(OleInitialize(nullptr));
    if (!oleReady_ || !tree_) return;
    target_ = new Target(std::move(hover), std::move(leave), std::move(onDrop));
    if (FAILED(RegisterDragDrop(tree_, target_))) {
        target_->Release();
        target_ = nullptr;
    }
}

TreeFileDropTarget::~TreeFileDropTarget() {
    if (target_) {
        RevokeDragDrop(tree_);
        target_->Release();
    }
    if (oleReady_) OleUninitialize();
}

}  // namespace kestrin
