#include "core/config.h"

#include "base/lead_bytes.h"
#include "core/outline.h"

namespace kestrin {

std::string ConfigFilePath(std::string_view exePath) {
    const size_t slash = FindLastCharOf(exePath, "\\/:");
    const size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    const size_t dot = FindCharOf(exePath, ".", nameStart);
    std::string path(exePath.substr(0, dot));
    path += ".ini";
    return path;
}

std::string OldConfigFilePath(std::string_view exePath) {
    const size_t dot = FindCharOf(exePath, ".");
    if (dot == std::string_view::npos) return "ini";
    std::string path(exePath.substr(0, dot + 1));
    path += "ini";
    return path;
}

namespace {

bool IsDatName(std::string_view name) {
    return name.size() == 3 && (name[0] | 0x20) == 'd' && (name[1] | 0x20) == 'a' && (name[2] | 0x20) == 't';
}

// A "Dat" section holding "Cnt", read without keeping anything but that section.
bool HoldsKestrinSettings(FileSystem& files, const std::string& path) {
    bool found = false;
    IniSectionStream stream(IsDatName, [&](std::string_view, std::string&& text) {
        found = IniFile::Parse(std::move(text)).HasKey("Dat", "Cnt");
    });
    if (!files.ReadPieces(path, [&](std::string_view piece) { stream.Feed(piece); })) return false;
    stream.Finish();
    return found;
}

}  // namespace

std::string ChooseConfigFile(FileSystem& files, std::string_view exePath) {
    std::string path = ConfigFilePath(exePath);
    const std::string old = OldConfigFilePath(exePath);
    // Without a dot the old rule named a bare "ini" in whatever folder was current: no set-up's.
    if (old == path || FindCharOf(exePath, ".") == std::string_view::npos || files.IsFile(path)) return path;
    return files.IsFile(old) && HoldsKestrinSettings(files, old) ? old : path;
}

std::string ReadItemSection(const IniFile& ini, int index, Item& item) {
    const std::string section = std::to_string(index);
    std::string line = DecodeTitle(ini.ReadString(section, "Tit", kNewItemTitle));
    item.kind = LowByte(ini.ReadInteger(section, "Art", 0));
    item.command = ini.ReadString(section, "Prg", "");
    item.parameters = ini.ReadString(section, "Par", "");
    item.directory = ini.ReadString(section, "Dir", "");
    item.showState = LowByte(ini.ReadInteger(section, "Win", 0));
    item.iconFile = ini.ReadString(section, "Ico", "");
    item.iconIndex = LowByte(ini.ReadInteger(section, "Idx", 0));
    return line;
}

void WriteItemSection(IniWriter& writer, int index, std::string_view outlineLine, const Item& item) {
    writer.Section(std::to_string(index));
    writer.Key("Tit", EncodeTitle(outlineLine));
    writer.Key("Art", item.kind);
    if (item.kind == kKindProgram) {
        writer.Key("Prg", item.command);
        writer.Key("Par", item.parameters);
        writer.Key("Dir", item.directory);
        writer.Key("Win", item.showState);
    }
    if (item.kind != kKindSeparator) {
        writer.Key("Ico", item.iconFile);
        writer.Key("Idx", item.iconIndex);
    }
}

void WriteDefaultConfig(FileSystem& files, const std::string& path, int hotkeyValue) {
    if (files.IsFile(path)) return;
    IniWriter writer;
    writer.Section("Dat");
    writer.Key("Key", hotkeyValue);
    writer.Key("Cnt", 1);
    WriteItemSection(writer, 0, kNewItemTitle, Item{});
    ReplaceOrThrow(files, path, writer.Text());
}

namespace {

// The name of an item's section ("0", "1", ...) as a number below kMaxItemCount, or -1.
int ItemSectionNumber(std::string_view name) {
    if (name.empty() || name.size() > 6 || (name.size() > 1 && name[0] == '0')) return -1;
    int number = 0;
    for (char c : name) {
        if (c < '0' || c > '9') return -1;
        number = number * 10 + (c - '0');
    }
    return number < kMaxItemCount ? number : -1;
}

}  // namespace

void LoadItems(FileSystem& files, const std::string& path, ItemStore& store, Tree& tree,
               const std::function<void(int)>& giveHotkey) {
    store.items.Clear();

    // The file is read in pieces and only the sections a load looks at are kept, each read
    // as soon as it is whole: a large file is never held beside the items made from it.
    IniFile dat;
    std::vector<Item> items;  // by section number
    OutlineList lines;
    std::vector<bool> present;
    IniSectionStream stream([](std::string_view name) { return IsDatName(name) || ItemSectionNumber(name) >= 0; },
                            [&](std::string_view name, std::string&& text) {
                                if (IsDatName(name)) {
                                    dat = IniFile::Parse(std::move(text));
                                    // Saved files name the count first: the rows then grow in place.
                                    const int count = dat.ReadInteger("Dat", "Cnt", -1);
                                    if (count > 0 && count <= kMaxItemCount) {
                                        items.reserve(static_cast<size_t>(count));
                                        lines.reserve(static_cast<size_t>(count));
                                    }
                                    return;
                                }
                                const size_t number = static_cast<size_t>(ItemSectionNumber(name));
                                if (items.size() <= number) {
                                    items.resize(number + 1);
                                    lines.resize(number + 1);
                                    present.resize(number + 1);
                                }
                                present[number] = true;
                                lines[number] = ReadItemSection(IniFile::Parse(std::move(text)),
                                                                static_cast<int>(number), items[number]);
                            });
    if (files.ReadPieces(path, [&](std::string_view piece) { stream.Feed(piece); })) {
        stream.Finish();
    } else {
        // A vanished or unreadable file reads as an empty one.
        dat = IniFile();
    }

    const int count = dat.ReadInteger("Dat", "Cnt", -1);
    if (giveHotkey) giveHotkey(dat.ReadInteger("Dat", "Key", 0));
    store.outline.clear();

    if (count < 0 || count > kMaxItemCount) {
        // The tree keeps its nodes, but their slots belonged to the table just emptied; a slot
        // appended later must not be taken for theirs, and a save must not write them.
        for (NodeId id : tree.PreOrder()) tree.SetSlot(id, -1);
        store.unsavedLoadError = "Range check error";
        throw KestrinError(store.unsavedLoadError);
    }
    items.resize(static_cast<size_t>(count));
    lines.resize(static_cast<size_t>(count));
    present.resize(static_cast<size_t>(count));
    const IniFile none;
    std::string outlineText;
    for (size_t i = 0; i < lines.size(); ++i) {
        // A missing section is read as the empty file reads it: a default item.
        if (!present[i]) lines[i] = ReadItemSection(none, static_cast<int>(i), items[i]);
        outlineText += lines[i];
        outlineText += "\r\n";
    }
    store.items.Assign(std::move(items));
    store.outline = std::move(lines);

    // Node k carries slot k. A line at an invalid level still gets its node, so the tree holds
    // every item and a later save keeps them all; the error is reported once the load is whole.
    const std::string levelError = ReadOutlineText(outlineText, tree);
    store.unsavedLoadError.clear();
    if (!levelError.empty()) throw KestrinError(levelError);
}

void SaveItems(FileSystem& files, const std::string& path, ItemStore& store, const Tree& tree,
               std::uint16_t hotkeyValue) {
    if (!store.unsavedLoadError.empty()) throw KestrinError(store.unsavedLoadError);
    // Every node must have its row: a node without one would be written as an empty item.
    for (NodeId id = tree.FirstRoot(); id != kNoNode; id = tree.NextPreOrder(id))
        if (!store.items.IsValid(tree.Slot(id))) throw KestrinError("Range check error");

    IniWriter writer;
    writer.Section("Dat");
    writer.Key("Key", static_cast<long long>(hotkeyValue));
    writer.Key("Cnt", tree.Count());

    // Each stored title repeats "#|" for every level; a tree so deep or wide that the file
    // could not be read back is refused before anything is built.
    std::uint64_t size = 0;
    tree.WalkWithDepth(
        [&](NodeId id, int depth) { size += 2u * static_cast<std::uint64_t>(depth) + tree.Title(id).size(); });
    if (size > kMaxReadSize) ThrowUnableToWrite(path);

    OutlineList outline;
    outline.reserve(static_cast<size_t>(tree.Count()));
    // One line per node, built from the node itself rather than by splitting the outline
    // text, so a title holding a line break or a NUL cannot shift the lines against the nodes.
    int index = 0;
    tree.WalkWithDepth([&](NodeId id, int depth) {
        std::string line = StoredOutlineLine(depth, tree.Title(id));
        WriteItemSection(writer, index++, line, store.items.At(tree.Slot(id)));
        outline.push_back(std::move(line));
    });

    ReplaceOrThrow(files, path, writer.Text());
    store.outline = std::move(outline);
}

}  // namespace kestrin
