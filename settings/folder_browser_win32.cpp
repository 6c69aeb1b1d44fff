#include "settings/folder_browser_win32.h"

#include <shlobj.h>

#include "base/owned_win32.h"

namespace kestrin {

namespace {

// Every item identifier list the shell hands out is the caller's to free.
void FreeIdList(PIDLIST_ABSOLUTE list) { CoTaskMemFree(list); }
using OwnedIdList = Owned<PIDLIST_ABSOLUTE, FreeIdList>;

bool HasFileSystemPath(PCIDLIST_ABSOLUTE item) {
    char path[MAX_PATH] = {};
    return SHGetPathFromIDListA(item, path) != FALSE;
}

// Runs inside the shell's modal loop, so nothing here may throw.
int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM lParam, LPARAM data) {
    const FolderBrowser& self = *reinterpret_cast<const FolderBrowser*>(data);
    switch (message) {
    case BFFM_INITIALIZED:
        // Selecting by path also opens the tree down to the folder.
        if (!self.folderName.empty())
            SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(self.folderName.c_str()));
        break;
    case BFFM_SELCHANGED: {
        // The shell has already decided about OK; only narrow that decision, never widen it,
        // and leave the button alone when it already shows the outcome.
        const bool enabled = IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE;
        const bool wanted = enabled && HasFileSystemPath(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam));
        if (wanted != enabled) SendMessageA(dialog, BFFM_ENABLEOK, 0, wanted ? TRUE : FALSE);
        break;
    }
    default: break;
    }
    return 0;
}

}  // namespace

bool FolderBrowser::Execute(HWND owner) {
    char displayName[MAX_PATH] = {};
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pszDisplayName = displayName;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(this);

    const OwnedIdList chosen(SHBrowseForFolderA(&info));
    if (!chosen) return false;
    char path[MAX_PATH] = {};
    if (!SHGetPathFromIDListA(chosen.get(), path)) path[0] = '\0';
    folderName = path;
    return true;
}

}  // namespace kestrin
