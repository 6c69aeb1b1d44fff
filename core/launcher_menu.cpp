#include "core/launcher_menu.h"

#include <cstdint>

#include "base/lead_bytes.h"
#include "core/launch.h"
#include "core/outline.h"

namespace kestrin {

namespace {

constexpr std::string_view kCandidates = "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ";

std::string WithoutTabs(std::string_view line) {
    std::string out;
    out.reserve(line.size());
    for (char c : line)
        if (c != '\t') out += c;
    return out;
}

PictureRequest FilePicture(const std::string& path, std::uint8_t index, std::string_view exeDrive,
                           const EnvironmentLookup& environment) {
    PictureRequest picture;
    if (path.empty()) return picture;  // nothing to extract from
    picture.source = PictureRequest::Source::File;
    picture.path = ExpandPath(path, exeDrive, environment);
    picture.index = index;
    return picture;
}

void FillEntry(MenuEntry& entry, std::string_view line, const Item& item, std::string_view exeDrive,
               const EnvironmentLookup& environment) {
    switch (item.kind) {
    case kKindProgram:
        entry.caption = WithoutTabs(line);
        entry.launches = true;
        entry.picture =
            FilePicture(item.iconFile.empty() ? item.command : item.iconFile, item.iconIndex, exeDrive, environment);
        break;
    case kKindSeparator: entry.caption = "-"; break;
    case kKindSubmenu:
        entry.caption = WithoutTabs(line);
        if (item.iconFile.empty()) entry.picture.source = PictureRequest::Source::Folder;
        else entry.picture = FilePicture(item.iconFile, item.iconIndex, exeDrive, environment);
        break;
    default: break;  // unknown kind: empty caption, no picture, no action
    }
    if (entry.caption == "-") {
        // A separator line shows neither picture nor action, whatever its kind.
        entry.separator = true;
        entry.launches = false;
        entry.picture = PictureRequest{};
    }
}

char CandidateKey(char c) {
    char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    return kCandidates.find(upper) == std::string_view::npos ? '\0' : upper;
}

// Each walk below steps over a double-byte character whole: its second byte may be a letter.

// Position of the character marked by a single "&" ("&&" is a literal "&"), or npos.
size_t MarkedKeyPos(const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); i = NextCharPos(caption, i)) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return i + 1;
    }
    return std::string::npos;
}

// Removes every single "&" mark, keeping "&&" so the literal "&" still shows.
std::string WithoutMarks(const std::string& caption) {
    std::string out;
    for (size_t i = 0, next = 0; i < caption.size(); i = next) {
        next = NextCharPos(caption, i);
        if (caption[i] == '&') {
            if (next < caption.size() && caption[next] == '&') {
                out += "&&";
                ++next;
            }
            continue;
        }
        out.append(caption, i, next - i);
    }
    return out;
}

// Position of the first character of an unmarked caption that is a free candidate.
size_t FirstFreePos(const std::string& caption, const std::string& taken) {
    for (size_t i = 0; i < caption.size(); i = NextCharPos(caption, i)) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') ++i;
            continue;
        }
        // A double-byte character is no key, whatever its bytes look like.
        if (IsLeadByte(caption[i])) continue;
        char key = CandidateKey(caption[i]);
        if (key != '\0' && taken.find(key) == std::string::npos) return i;
    }
    return std::string::npos;
}

struct Attempt {
    std::vector<size_t> keyPos;  // per waiting entry, position in its caption, or npos
    int served = 0;
};

Attempt TryAssign(const std::vector<std::string>& captions, const std::vector<int>& order, std::string taken) {
    Attempt attempt;
    attempt.keyPos.assign(captions.size(), std::string::npos);
    for (int waiter : order) {
        if (taken.size() == kCandidates.size()) break;  // nothing left to give
        size_t pos = FirstFreePos(captions[static_cast<size_t>(waiter)], taken);
        if (pos == std::string::npos) continue;
        taken += CandidateKey(captions[static_cast<size_t>(waiter)][pos]);
        attempt.keyPos[static_cast<size_t>(waiter)] = pos;
        ++attempt.served;
    }
    return attempt;
}

}  // namespace

LauncherMenu BuildLauncherMenu(const OutlineList& outline, const ItemTable& items, std::string_view exeDrive,
                               const EnvironmentLookup& environment) {
    LauncherMenu menu;
    menu.entries.reserve(outline.size());
    LevelHolders holders;
    const Item noItem;
    for (size_t i = 0; i < outline.size(); ++i) {
        const std::string& line = outline[i];
        const int depth = TabDepth(line);

        int index = static_cast<int>(menu.entries.size());
        menu.entries.emplace_back();
        MenuEntry& entry = menu.entries.back();
        int slot = static_cast<int>(i);
        FillEntry(entry, line, items.IsValid(slot) ? items.At(slot) : noItem, exeDrive, environment);
        if (!items.IsValid(slot)) entry.launches = false;  // nothing behind it to start
        entry.slot = slot;

        const int holder = holders.HolderOf(depth);
        entry.parent = holder;
        if (holder < 0) menu.topLevel.push_back(index);
        else menu.entries[static_cast<size_t>(holder)].children.push_back(index);

        holders.Placed(depth, index);
    }

    // A program entry that holds a submenu is a holder: hovering must never start it.
    for (MenuEntry& entry : menu.entries)
        if (!entry.children.empty()) entry.launches = false;

    TidySeparators(menu, menu.topLevel);
    AssignAccessKeys(menu, menu.topLevel);
    // Tidying touches only entries, never the list of entries or the children lists.
    for (MenuEntry& entry : menu.entries) {
        if (entry.children.empty()) continue;
        TidySeparators(menu, entry.children);
        AssignAccessKeys(menu, entry.children);
    }
    return menu;
}

void TidySeparators(LauncherMenu& menu, std::vector<int>& level) {
    bool seenOther = false;
    for (size_t position = 0; position < level.size(); ++position) {
        MenuEntry& entry = menu.entries[static_cast<size_t>(level[position])];
        if (!entry.separator) {
            seenOther = seenOther || entry.visible;
            continue;
        }
        // Shown only after some other visible entry and when the next visible entry is
        // no separator: this drops leading and trailing ones and all but the last of a run.
        bool nextIsOther = false;
        for (size_t later = position + 1; later < level.size(); ++later) {
            const MenuEntry& next = menu.entries[static_cast<size_t>(level[later])];
            if (next.separator) break;
            if (next.visible) {
                nextIsOther = true;
                break;
            }
        }
        entry.visible = seenOther && nextIsOther;
    }
}

void AssignAccessKeys(LauncherMenu& menu, const std::vector<int>& level) {
    std::string taken;
    std::vector<int> waiting;  // entry indices, top first
    for (int index : level) {
        MenuEntry& entry = menu.entries[static_cast<size_t>(index)];
        if (!entry.visible || entry.separator || entry.caption.empty()) continue;
        size_t marked = MarkedKeyPos(entry.caption);
        if (marked == std::string::npos) {
            waiting.push_back(index);
            continue;
        }
        char key = CandidateKey(entry.caption[marked]);
        if (key == '\0') continue;  // marks a non-candidate: keeps its caption as it is
        if (taken.find(key) == std::string::npos) {
            taken += key;
        } else {
            entry.caption = WithoutMarks(entry.caption);
            waiting.push_back(index);
        }
    }
    if (waiting.empty()) return;

    std::vector<std::string> captions;
    captions.reserve(waiting.size());
    for (int index : waiting) captions.push_back(menu.entries[static_cast<size_t>(index)].caption);

    std::vector<int> order(waiting.size());
    for (size_t waiter = 0; waiter < order.size(); ++waiter) order[waiter] = static_cast<int>(waiter);

    // Greedy assignment, retried with the entries left without a key moved to the end.
    // An entry that got nothing took nothing from the others, so once the order stops
    // changing every further attempt would repeat the last one.
    Attempt last = TryAssign(captions, order, taken);
    Attempt best = last;
    const int waitingCount = static_cast<int>(waiting.size());
    for (int tries = 1; tries < waitingCount && best.served < waitingCount; ++tries) {
        std::vector<int> next;
        next.reserve(order.size());
        for (int waiter : order)
            if (last.keyPos[static_cast<size_t>(waiter)] != std::string::npos) next.push_back(waiter);
        for (int waiter : order)
            if (last.keyPos[static_cast<size_t>(waiter)] == std::string::npos) next.push_back(waiter);
        if (next == order) break;
        order.swap(next);
        last = TryAssign(captions, order, taken);
        if (last.served > best.served) best = last;
    }

    for (size_t waiter = 0; waiter < waiting.size(); ++waiter) {
        size_t pos = best.keyPos[waiter];
        if (pos == std::string::npos) continue;
        menu.entries[static_cast<size_t>(waiting[waiter])].caption.insert(pos, "&");
    }
}

bool IsSearchedFor(std::string_view path) {
    return !path.empty() && FindCharOf(path, "\\/:") == std::string_view::npos;
}

bool operator==(const PictureRequest& a, const PictureRequest& b) {
    return a.source == b.source && a.path == b.path && a.index == b.index;
}

bool operator==(const MenuEntry& a, const MenuEntry& b) {
    return a.caption == b.caption && a.slot == b.slot && a.picture == b.picture && a.launches == b.launches &&
           a.separator == b.separator && a.visible == b.visible && a.parent == b.parent && a.children == b.children;
}

bool operator==(const LauncherMenu& a, const LauncherMenu& b) {
    return a.topLevel == b.topLevel && a.entries == b.entries;
}

}  // namespace kestrin
