#include "settings/folder_browser_win32.h"

#include <shlobj.h>

#include "base/error.h"
#include "base/owned_win32.h"

namespace kestrin {

namespace {

// Every item identifier list the shell hands out is the caller's to free.
void FreeIdList(PIDLIST_ABSOLUTE list) { CoTaskMemFree(list); }
using OwnedIdList = Owned<PIDLIST_ABSOLUTE, FreeIdList>;

bool IsSpecialFolderId(int id) {
    switch (id) {
    case CSIDL_DESKTOP:
    case CSIDL_INTERNET:
    case CSIDL_PROGRAMS:
    case CSIDL_CONTROLS:
    case CSIDL_PRINTERS:
    case CSIDL_PERSONAL:
    case CSIDL_FAVORITES:
    case CSIDL_STARTUP:
    case CSIDL_RECENT:
    case CSIDL_SENDTO:
    case CSIDL_BITBUCKET:
    case CSIDL_STARTMENU:
    case CSIDL_MYMUSIC:
    case CSIDL_MYVIDEO:
    case CSIDL_DESKTOPDIRECTORY:
    case CSIDL_DRIVES:
    case CSIDL_NETWORK:
    case CSIDL_NETHOOD:
    case CSIDL_FONTS:
    case CSIDL_TEMPLATES:
    case CSIDL_COMMON_STARTMENU:
    case CSIDL_COMMON_PROGRAMS:
    case CSIDL_COMMON_STARTUP:
    case CSIDL_COMMON_DESKTOPDIRECTORY:
    case CSIDL_APPDATA:
    case CSIDL_PRINTHOOD:
    case CSIDL_LOCAL_APPDATA:
    case CSIDL_ALTSTARTUP:
    case CSIDL_COMMON_ALTSTARTUP:
    case CSIDL_COMMON_FAVORITES:
    case CSIDL_INTERNET_CACHE:
    case CSIDL_COOKIES:
    case CSIDL_HISTORY:
    case CSIDL_COMMON_APPDATA:
    case CSIDL_WINDOWS:
    case CSIDL_SYSTEM:
    case CSIDL_PROGRAM_FILES:
    case CSIDL_MYPICTURES:
    case CSIDL_PROFILE:
    case CSIDL_SYSTEMX86:
    case CSIDL_PROGRAM_FILESX86:
    case CSIDL_PROGRAM_FILES_COMMON:
    case CSIDL_PROGRAM_FILES_COMMONX86:
    case CSIDL_COMMON_TEMPLATES:
    case CSIDL_COMMON_DOCUMENTS:
    case CSIDL_COMMON_ADMINTOOLS:
    case CSIDL_ADMINTOOLS:
    case CSIDL_CONNECTIONS:
    case CSIDL_COMMON_MUSIC:
    case CSIDL_COMMON_PICTURES:
    case CSIDL_COMMON_VIDEO:
    case CSIDL_RESOURCES:
    case CSIDL_RESOURCES_LOCALIZED:
    case CSIDL_COMMON_OEM_LINKS:
    case CSIDL_CDBURN_AREA:
    case CSIDL_COMPUTERSNEARME:
        return true;
    default:
        return false;
    }
}

bool HasFileSystemPath(PCIDLIST_ABSOLUTE item) {
    char path[MAX_PATH] = {};
    return SHGetPathFromIDListA(item, path) != FALSE;
}

UINT BrowseFlags(const FolderBrowseOptions& options) {
    UINT flags = 0;
    if (options.dirsOnly) flags |= BIF_RETURNONLYFSDIRS;
    if (options.newDialogStyle) flags |= BIF_NEWDIALOGSTYLE;
    // The resizable dialog has no status line to show.
    else if (options.statusText) flags |= BIF_STATUSTEXT;
    return flags;
}

// Runs inside the shell's modal loop, so nothing here may throw.
int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM lParam, LPARAM data) {
    const FolderBrowser& self = *reinterpret_cast<const FolderBrowser*>(data);
    switch (message) {
    case BFFM_INITIALIZED:
        // Selecting by path also opens the tree down to the folder.
        if (!self.folderName.empty())
            SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(self.folderName.c_str()));
        if (!self.options.contextHelp) {
            const LONG_PTR exStyle = GetWindowLongPtrA(dialog, GWL_EXSTYLE);
            SetWindowLongPtrA(dialog, GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_CONTEXTHELP));
            // The caption keeps its old buttons until the frame is recalculated.
            SetWindowPos(dialog, nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        }
        break;
    case BFFM_SELCHANGED: {
        // The shell has already decided about OK; only narrow that decision, never widen it,
        // and leave the button alone when it already shows the outcome.
        const bool enabled = IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE;
        const bool wanted =
            enabled && (!self.options.dirsOnly || HasFileSystemPath(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam)));
        if (wanted != enabled) SendMessageA(dialog, BFFM_ENABLEOK, 0, wanted ? TRUE : FALSE);
        break;
    }
    default:
        break;
    }
    return 0;
}

}  // namespace

void FolderBrowser::SetRootFolderId(int id) {
    if (!IsSpecialFolderId(id)) throw KestrinError("Invalid special folder ID");
    rootFolderId_ = id;
}

bool FolderBrowser::Execute(HWND owner) {
    OwnedIdList root;
    if (rootFolderId_ != CSIDL_DESKTOP) {
        PIDLIST_ABSOLUTE list = nullptr;
        const HRESULT result = SHGetSpecialFolderLocation(owner, rootFolderId_, &list);
        root.reset(list);
        if (FAILED(result) || !list) throw KestrinError("Root folder not supported on this system");
    }

    char displayName[MAX_PATH] = {};
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pidlRoot = root.get();
    info.pszDisplayName = displayName;
    info.ulFlags = BrowseFlags(options);
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(this);

    const OwnedIdList chosen(SHBrowseForFolderA(&info));
    if (!chosen) return false;
    // A folder outside the file system (possible without dirsOnly) has no path: empty.
    char path[MAX_PATH] = {};
    if (!SHGetPathFromIDListA(chosen.get(), path)) path[0] = '\0';
    folderName = path;
    return true;
}

}  // namespace kestrin
