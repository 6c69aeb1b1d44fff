// The settings window's folder browser: the shell's folder dialog with a folder preselected.
// One object lives as long as the window, so FolderName carries over between uses.
#pragma once

#include <windows.h>

#include <string>

namespace kestrin {

struct FolderBrowseOptions {
    bool showHelp = false;
    bool contextHelp = true;   // keeps the caption's context-help button
    bool statusText = false;   // a status line, only with the classic style
    bool dirsOnly = true;      // only folders of the file system can be accepted
    bool newDialogStyle = false;
};

class FolderBrowser {
public:
    // In: the folder to select when the dialog opens (nothing when empty). Out: the accepted
    // folder's path, without a trailing backslash except at a drive root; empty for a folder
    // outside the file system, which only options.dirsOnly = false lets through.
    std::string folderName;
    FolderBrowseOptions options;

    // A shell special-folder identifier (0, the desktop, shows the whole namespace). Throws
    // KestrinError "Invalid special folder ID" for any other value and keeps the old one.
    void SetRootFolderId(int id);
    int RootFolderId() const { return rootFolderId_; }

    // Shows the dialog modally over `owner`: true when the user accepted a folder (then
    // folderName holds it), false when cancelled (folderName unchanged). Throws KestrinError
    // "Root folder not supported on this system" when the root cannot be found.
    bool Execute(HWND owner);

private:
    int rootFolderId_ = 0;
};

}  // namespace kestrin
