// The launcher menu model from an outline and an item table. Input: the outline text, two NUL
// bytes, then one line per item: kind byte, icon index byte, show state byte, command, a TAB,
// icon file. Checked: the entry table is one consistent tree nested by TAB count; separator
// tidying leaves exactly one line between two entries where any stood and none at the ends;
// access keys are unique per level, never change what a caption shows, and no entry is left
// without a key while one of its characters is still free; tidying, keys and the whole build
// give the same menu when run again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/launcher_menu.h"
#include "core/outline.h"
#include "fuzz_support.h"

using namespace kestrin;

namespace {

char Candidate(char c) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) ? c : '\0';
}

// What the menu shows: "&&" is one "&", a single "&" only underlines the next character.
std::string Shown(const std::string& caption) {
    std::string out;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != '&') {
            out += caption[i];
        } else if (i + 1 < caption.size() && caption[i + 1] == '&') {
            out += '&';
            ++i;
        }
    }
    return out;
}

// The underlined character, or '\0' when there is none.
char Underlined(const std::string& caption, bool& marked) {
    marked = false;
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        marked = true;
        return caption[i + 1];
    }
    return '\0';
}

std::string InitialCaption(const std::string& line, const ItemTable& items, int slot) {
    const int kind = items.IsValid(slot) ? items.At(slot).kind : kKindProgram;
    if (kind == kKindSeparator) return "-";
    if (kind != kKindProgram && kind != kKindSubmenu) return "";
    std::string caption;
    for (char c : line)
        if (c != '\t') caption += c;
    return caption;
}

void CheckLevel(const LauncherMenu& menu, const std::vector<int>& level) {
    // Separators: between two other entries where any stood exactly one is shown, none
    // before the first or after the last.
    bool anyOther = false;
    bool separatorSinceOther = false;
    int shownSinceOther = 0;
    for (int index : level) {
        const MenuEntry& entry = menu.entries[static_cast<size_t>(index)];
        if (entry.separator) {
            separatorSinceOther = true;
            shownSinceOther += entry.visible ? 1 : 0;
            continue;
        }
        FUZZ_CHECK(entry.visible);
        FUZZ_CHECK_EQ(shownSinceOther, anyOther && separatorSinceOther ? 1 : 0);
        anyOther = true;
        separatorSinceOther = false;
        shownSinceOther = 0;
    }
    FUZZ_CHECK_EQ(shownSinceOther, 0);

    // Access keys.
    std::string keys;
    for (int index : level) {
        const MenuEntry& entry = menu.entries[static_cast<size_t>(index)];
        bool marked = false;
        const char key = Candidate(Underlined(entry.caption, marked));
        if (!entry.visible || entry.separator || key == '\0') continue;
        FUZZ_CHECK_MSG(keys.find(key) == std::string::npos, std::string("key used twice: ") + key);
        keys += key;
    }
    for (int index : level) {
        const MenuEntry& entry = menu.entries[static_cast<size_t>(index)];
        bool marked = false;
        Underlined(entry.caption, marked);
        if (!entry.visible || entry.separator || marked) continue;
        for (char c : Shown(entry.caption)) {
            const char key = Candidate(c);
            FUZZ_CHECK_MSG(key == '\0' || keys.find(key) != std::string::npos,
                           fuzz::Show(entry.caption) + " left without key " + key);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::vector<std::string_view> parts = fuzz::Fields(data, size, std::string_view("\0\0", 2), 2);
    const OutlineList outline = SplitLines(parts[0]);
    ItemTable items;
    // SplitLines stops at a NUL: the item lines are split by hand.
    std::string_view rest = parts[1];
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        Item item;
        if (line.size() > 0) item.kind = static_cast<std::uint8_t>(line[0]);
        if (line.size() > 1) item.iconIndex = static_cast<std::uint8_t>(line[1]);
        if (line.size() > 2) item.showState = static_cast<std::uint8_t>(line[2]);
        line.remove_prefix(line.size() < 3 ? line.size() : 3);
        const size_t tab = line.find('\t');
        item.command = std::string(line.substr(0, tab));
        if (tab != std::string_view::npos) item.iconFile = std::string(line.substr(tab + 1));
        items.Append(item);
    }

    const LauncherMenu menu = BuildLauncherMenu(outline, items, "E:");
    FUZZ_CHECK_EQ(menu.entries.size(), outline.size());

    // One tree: every entry is listed once, by its holder, which is an earlier, shallower line.
    std::vector<int> listed(menu.entries.size(), 0);
    for (int index : menu.topLevel) {
        FUZZ_CHECK(menu.entries.at(static_cast<size_t>(index)).parent == -1);
        ++listed[static_cast<size_t>(index)];
    }
    for (size_t e = 0; e < menu.entries.size(); ++e) {
        const MenuEntry& entry = menu.entries[e];
        FUZZ_CHECK_EQ(entry.slot, static_cast<int>(e));
        int previous = -1;
        for (int child : entry.children) {
            FUZZ_CHECK(child > previous);
            previous = child;
            FUZZ_CHECK(menu.entries.at(static_cast<size_t>(child)).parent == static_cast<int>(e));
            ++listed[static_cast<size_t>(child)];
        }
        if (entry.parent >= 0) {
            FUZZ_CHECK(entry.parent < static_cast<int>(e));
            FUZZ_CHECK(TabDepth(outline[static_cast<size_t>(entry.parent)]) < TabDepth(outline[e]));
        }

        // What an entry does follows its kind; a separator line does nothing and shows nothing.
        const bool valid = items.IsValid(static_cast<int>(e));
        const int kind = valid ? items.At(static_cast<int>(e)).kind : kKindProgram;
        FUZZ_CHECK_EQ(entry.separator, InitialCaption(outline[e], items, static_cast<int>(e)) == "-");
        FUZZ_CHECK_EQ(entry.launches, valid && kind == kKindProgram && !entry.separator && entry.children.empty());
        if (entry.separator) {
            FUZZ_CHECK_EQ(entry.caption, std::string("-"));
            FUZZ_CHECK(entry.picture.source == PictureRequest::Source::None);
        } else {
            FUZZ_CHECK(entry.visible);
            FUZZ_CHECK_EQ(Shown(entry.caption), Shown(InitialCaption(outline[e], items, static_cast<int>(e))));
        }
        if (entry.picture.source == PictureRequest::Source::File) {
            FUZZ_CHECK(valid && !entry.picture.path.empty());
            FUZZ_CHECK_EQ(entry.picture.index, static_cast<int>(items.At(static_cast<int>(e)).iconIndex));
        }
    }
    for (int count : listed) FUZZ_CHECK_EQ(count, 1);

    CheckLevel(menu, menu.topLevel);
    for (const MenuEntry& entry : menu.entries)
        if (!entry.children.empty()) CheckLevel(menu, entry.children);

    // Tidying and keys recompute from the result without changing it.
    LauncherMenu again = menu;
    std::vector<std::vector<int>> levels{again.topLevel};
    for (const MenuEntry& entry : again.entries)
        if (!entry.children.empty()) levels.push_back(entry.children);
    for (std::vector<int>& level : levels) {
        TidySeparators(again, level);
        AssignAccessKeys(again, level);
    }
    for (size_t e = 0; e < menu.entries.size(); ++e) {
        FUZZ_CHECK_EQ(again.entries[e].caption, menu.entries[e].caption);
        FUZZ_CHECK_EQ(again.entries[e].visible, menu.entries[e].visible);
    }
    FUZZ_CHECK(again == menu);
    // A menu built before is shown again while nothing changed: building is deterministic.
    FUZZ_CHECK(BuildLauncherMenu(outline, items, "E:") == menu);
    return 0;
}
