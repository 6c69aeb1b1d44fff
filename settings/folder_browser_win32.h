// The settings window's folder browser: the shell's folder dialog with a folder preselected.
// One object lives as long as the window, so folderName carries over between uses.
#pragma once

#include <windows.h>

#include <string>

namespace kestrin {

class FolderBrowser {
public:
    // In: the folder to select when the dialog opens (nothing when empty). Out: the accepted
    // folder's path, without a trailing backslash except at a drive root.
    std::string folderName;

    // Shows the dialog over the whole namespace, modally over `owner`; only folders of the
    // file system can be accepted. True when the user accepted a folder (then folderName
    // holds it), false when cancelled (folderName unchanged).
    bool Execute(HWND owner);
};

}  // namespace kestrin
