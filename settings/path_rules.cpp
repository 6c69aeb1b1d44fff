#include "settings/path_rules.h"

#include "base/ascii.h"
#include "base/lead_bytes.h"

namespace kestrin {

namespace {

constexpr std::string_view kHomePagePath = "/tray-launcher/";

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The characters Windows refuses in a file name.
bool IsForbiddenInFileName(char c) {
    return static_cast<unsigned char>(c) < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
}

char FoldedPathChar(char c) {
    if (c == '/') return '\\';
    return AsciiLower(c);
}

}  // namespace

std::optional<std::string> DriveToPlaceholder(std::string_view text) {
    if (text.size() < 2 || text[1] != ':') return std::nullopt;
    return "%usb%" + std::string(text.substr(2));
}

std::string FolderPartOf(std::string_view path) {
    const size_t last = FindLastCharOf(path, "\\:");
    return last == std::string_view::npos ? std::string() : std::string(path.substr(0, last + 1));
}

std::string FileDialogPath(std::string_view expanded) {
    std::string path;
    for (char c : expanded)
        if (c != '|' && c != '"') path += c;
    const size_t first = path.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return path.substr(first, path.find_last_not_of(' ') + 1 - first);
}

FileDialogStart FileDialogStartFor(std::string_view path, bool isFolder) {
    if (isFolder) return {std::string(path), std::nullopt};
    // A colon anywhere but after a drive letter ("https:", "mailto:", "shell:") and the
    // characters no file name takes make a text that is no file path.
    const bool driveColon = path.size() >= 2 && path[1] == ':' && IsAsciiLetter(path[0]);
    for (size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        const bool separator = c == '\\' || c == '/' || (c == ':' && i == 1 && driveColon);
        if (!separator && IsForbiddenInFileName(c)) return {std::string(), std::string()};
    }
    const size_t last = path.find_last_of("\\/:");
    const size_t nameStart = last == std::string_view::npos ? 0 : last + 1;
    FileDialogStart start{std::string(path.substr(0, nameStart)), std::nullopt};
    if (nameStart < path.size()) start.fileName = std::string(path.substr(nameStart));
    return start;
}

std::string ExportFileName(std::string_view title) {
    std::string name(title);
    for (char& c : name)
        if (IsForbiddenInFileName(c)) c = '_';
    const size_t end = name.find_last_not_of(". ");
    name.resize(end == std::string::npos ? 0 : end + 1);
    return name;
}

bool IsSameFilePath(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldedPathChar(a[i]) != FoldedPathChar(b[i])) return false;
    return true;
}

std::string ProgramFolderForDialogs(std::string_view exePath) {
    std::string folder = FolderPartOf(exePath);
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder;
}

std::string HomePageAddress(std::string_view labelText) { return std::string(labelText) + std::string(kHomePagePath); }

}  // namespace kestrin
