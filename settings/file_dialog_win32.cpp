#include "settings/file_dialog_win32.h"

#include <commdlg.h>

#include <vector>

namespace kestrin {

namespace {

// Paths can be far longer than MAX_PATH on a removable drive's deep folders.
constexpr size_t kFileBufferSize = 32768;

// The dialog wants its filter as NUL-separated pieces ending in two NULs.
std::string DialogFilter(const std::string& filter) {
    if (filter.empty()) return {};
    std::string pieces = filter;
    for (char& c : pieces)
        if (c == '|') c = '\0';
    pieces.append(2, '\0');
    return pieces;
}

}  // namespace

bool FileDialog::Execute(HWND owner) {
    std::vector<char> file(kFileBufferSize, '\0');
    fileName.copy(file.data(), file.size() - 1);
    const std::string filterPieces = DialogFilter(filter);

    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filterPieces.empty() ? nullptr : filterPieces.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    dialog.lpstrDefExt = defaultExtension.empty() ? nullptr : defaultExtension.c_str();
    // A typed name is taken as it is: it need not exist.
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
    if (!(forSaving ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog))) return false;
    fileName = file.data();
    return true;
}

}  // namespace kestrin
