#include "core/config.h"

#include "core/outline.h"

namespace kestrin {

namespace {

[[noreturn]] void ThrowUnableToWrite(const std::string& path) {
    throw KestrinError(FormatText("Unable to write to %s", path.c_str()));
}

}  // namespace

std::string ConfigFilePath(std::string_view exePath) {
    const size_t dot = exePath.find('.');
    if (dot == std::string_view::npos) return "ini";
    std::string path(exePath.substr(0, dot + 1));
    path += "ini";
    return path;
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
    if (!files.ReplaceAtomically(path, writer.Text())) ThrowUnableToWrite(path);
}

void LoadItems(FileSystem& files, const std::string& path, ItemStore& store, Tree& tree,
               const std::function<void(int)>& giveHotkey) {
    store.items.Clear();

    std::string text;
    if (!files.ReadAll(path, text)) text.clear();  // a vanished file reads as an empty one
    const IniFile ini = IniFile::Parse(std::move(text));

    const int count = ini.ReadInteger("Dat", "Cnt", -1);
    if (giveHotkey) giveHotkey(ini.ReadInteger("Dat", "Key", 0));
    store.outline.clear();

    if (count < 0 || count > kMaxItemCount) {
        // The tree keeps its nodes, but their slots belonged to the table just emptied; a slot
        // appended later must not be taken for theirs, and a save must not write them.
        for (NodeId id : tree.PreOrder()) tree.SetSlot(id, -1);
        store.unsavedLoadError = "Range check error";
        throw KestrinError(store.unsavedLoadError);
    }
    store.items.SetCount(count);

    store.outline.reserve(static_cast<size_t>(count));
    std::string outlineText;
    for (int i = 0; i < count; ++i) {
        store.outline.push_back(ReadItemSection(ini, i, store.items.At(i)));
        outlineText += store.outline.back();
        outlineText += "\r\n";
    }

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
    tree.WalkWithDepth([&](NodeId id, int depth) {
        size += 2u * static_cast<std::uint64_t>(depth) + tree.Title(id).size();
    });
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

    if (!files.ReplaceAtomically(path, writer.Text())) ThrowUnableToWrite(path);
    store.outline = std::move(outline);
}

}  // namespace kestrin
