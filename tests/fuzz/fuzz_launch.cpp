// Drive expansion and pipe quoting. Input: NUL-separated executable path, text, command,
// parameters, directory, and a byte for the show state. Checked: ExeDrive is a drive letter or
// a "\\server\share" prefix of the path; ExpandDrive replaces exactly the "%usb%" matches, in
// any case, without scanning what it inserts; PipeQuote touches only pipes; ComposeLaunch
// applies each to the right fields.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/launch.h"
#include "fuzz_support.h"

using namespace kestrin;

namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return out;
}

std::string ReplaceByte(std::string_view text, char marker, std::string_view with) {
    std::string out;
    for (char c : text) {
        if (c == marker) out += with;
        else out += c;
    }
    return out;
}

void CheckExeDrive(std::string_view exe) {
    const std::string drive = ExeDrive(exe);
    FUZZ_CHECK(exe.substr(0, drive.size()) == drive);
    if (exe.size() >= 2 && exe[1] == ':') {
        FUZZ_CHECK_EQ(drive.size(), 2u);
    } else if (exe.substr(0, 2) == "\\\\") {
        // All of a path that ends in the share name, else up to the backslash after it.
        if (drive.size() < exe.size()) {
            FUZZ_CHECK(exe[drive.size()] == '\\');
            FUZZ_CHECK_EQ(std::count(drive.begin() + 2, drive.end(), '\\'), 1);
        } else {
            FUZZ_CHECK(std::count(drive.begin() + 2, drive.end(), '\\') <= 1);
        }
    } else {
        FUZZ_CHECK(drive.empty());
    }
}

void CheckExpand(std::string_view text, std::string_view drive) {
    const std::string expanded = ExpandDrive(text, drive);
    if (Lower(text).find("%usb%") == std::string::npos) {
        FUZZ_CHECK_EQ(expanded, std::string(text));
        return;
    }
    // A byte the text lacks stands for the drive: each placeholder becomes one marker, and
    // putting the drive in place of the markers must give the real expansion.
    int marker = 1;
    while (marker < 256 && text.find(static_cast<char>(marker)) != std::string_view::npos) ++marker;
    if (marker == 256) return;
    const char m = static_cast<char>(marker);
    const std::string marked = ExpandDrive(text, std::string_view(&m, 1));
    FUZZ_CHECK(marked.find(m) != std::string::npos);
    FUZZ_CHECK_EQ(expanded, ReplaceByte(marked, m, drive));
    // The markers stand exactly where matches were: back as "%usb%" the text is the original
    // with its placeholders in lower case, which expands to the same markers.
    const std::string restored = ReplaceByte(marked, m, "%usb%");
    FUZZ_CHECK_EQ(Lower(restored), Lower(text));
    FUZZ_CHECK_EQ(ExpandDrive(restored, std::string_view(&m, 1)), marked);
    FUZZ_CHECK_EQ(ExpandDrive(text, ""), ReplaceByte(marked, m, ""));
}

void CheckPipeQuote(std::string_view text) {
    const std::string quoted = PipeQuote(text);
    FUZZ_CHECK_EQ(quoted.size(), text.size());
    for (size_t i = 0; i < text.size(); ++i) FUZZ_CHECK(quoted[i] == (text[i] == '|' ? '"' : text[i]));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const auto fields = fuzz::Fields(data, size, std::string_view("\0", 1), 6);
    const std::string_view exe = fields[0];
    CheckExeDrive(exe);
    const std::string drive = ExeDrive(exe);
    CheckExpand(fields[1], drive);
    CheckExpand(fields[1], "%USB%");
    CheckPipeQuote(fields[1]);

    Item item;
    item.command = std::string(fields[2]);
    item.parameters = std::string(fields[3]);
    item.directory = std::string(fields[4]);
    item.showState = fields[5].empty() ? 0 : static_cast<std::uint8_t>(fields[5][0]);
    const LaunchRequest request = ComposeLaunch(item, drive);
    FUZZ_CHECK_EQ(request.launch, !item.command.empty());
    if (!request.launch) return 0;
    FUZZ_CHECK_EQ(request.file, PipeQuote(ExpandDrive(item.command, drive)));
    FUZZ_CHECK_EQ(request.parameters, PipeQuote(item.parameters));  // parameters are never expanded
    FUZZ_CHECK_EQ(request.hasDirectory, !item.directory.empty());
    if (request.hasDirectory) FUZZ_CHECK_EQ(request.directory, PipeQuote(ExpandDrive(item.directory, drive)));
    const WindowShow show = item.showState == 1   ? WindowShow::Maximized
                            : item.showState == 2 ? WindowShow::Minimized
                                                  : WindowShow::Normal;
    FUZZ_CHECK(request.show == show);
    return 0;
}
