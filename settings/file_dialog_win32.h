// The settings window's file dialogs, to open and to save. An object lives as long as the
// window, so the last accepted file and the initial folder carry over from one use to the next.
#pragma once

#include <windows.h>

#include <string>

namespace kestrin {

class FileDialog {
public:
    // The last accepted file, proposed again on the next use; out: the accepted file's full path.
    std::string fileName;
    // Where the dialog opens; unchanged until set again.
    std::string initialDir;
    // Pairs "Description|*.ext" separated by '|'; empty shows every file.
    std::string filter;
    // Appended to a name typed without an extension; empty for none.
    std::string defaultExtension;
    // A save dialog asks nothing about an existing file: the caller replaces it.
    bool forSaving = false;

    // Modal over `owner`: true when the user accepted a file. The file need not exist.
    bool Execute(HWND owner);
};

}  // namespace kestrin
