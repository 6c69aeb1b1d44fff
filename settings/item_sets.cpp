#include "settings/item_sets.h"

#include <algorithm>
#include <cstddef>

#include "core/config.h"
#include "core/ini.h"
#include "core/outline.h"

namespace kestrin {

namespace {

// An imported line's level and title: the run of TABs (stored "#|") and blanks at its start
// holds its level, one per TAB; the blanks go with it, since a stored title keeps no leading
// blanks (and the file would drop them). TABs further on are the title's own text.
struct LeadingMarks {
    int depth = 0;
    std::string title;
};
LeadingMarks SplitLeadingMarks(const std::string& line) {
    LeadingMarks marks;
    size_t at = 0;
    for (; at < line.size() && IsIniBlank(line[at]); ++at)
        if (line[at] == '\t') ++marks.depth;
    marks.title = line.substr(at);
    return marks;
}

}  // namespace

std::string ItemSetText(const OutlineList& outline, const ItemTable& items, int first) {
    IniWriter writer;
    int count = 0;
    if (first >= 0 && static_cast<size_t>(first) < outline.size()) {
        const int base = TabDepth(outline[static_cast<size_t>(first)]);
        for (size_t i = static_cast<size_t>(first); i < outline.size(); ++i) {
            const int slot = static_cast<int>(i);
            if ((slot > first && TabDepth(outline[i]) <= base) || !items.IsValid(slot)) break;
            WriteItemSection(writer, count++, outline[i], items.At(slot));
        }
    }
    writer.Section("Dat");
    writer.Key("Cnt", count);
    return writer.Take();
}

std::optional<std::string> ImportItemSet(std::string_view configText, std::string_view setText) {
    const IniFile set = IniFile::Parse(setText);
    const IniFile config = IniFile::Parse(configText);
    const long long added = set.ReadInteger("Dat", "Cnt", -1);
    const long long present = config.ReadInteger("Dat", "Cnt", -1);
    if (added < 0 || present < 0 || present + 1 + added > kMaxItemCount) return std::nullopt;
    const int total = static_cast<int>(present + 1 + added);

    // The whole file is written anew, as a save writes it.
    IniWriter writer;
    writer.Section("Dat");
    writer.Key("Key", config.ReadInteger("Dat", "Key", 0));
    writer.Key("Cnt", total);
    Item item;
    for (int i = 0; i < present; ++i) {
        const std::string line = ReadItemSection(config, i, item);
        WriteItemSection(writer, i, line, item);
    }
    Item separator;
    separator.kind = kKindSeparator;
    WriteItemSection(writer, static_cast<int>(present), kImportSeparatorTitle, separator);

    int rootDepth = 0;
    for (int k = 0; k < added; ++k) {
        const LeadingMarks marks = SplitLeadingMarks(ReadItemSection(set, k, item));
        if (k == 0) rootDepth = marks.depth;
        // A line shallower than the set's first lands on the top level with it.
        std::string placed(static_cast<size_t>(std::max(0, marks.depth - rootDepth)), '\t');
        placed += marks.title;
        WriteItemSection(writer, static_cast<int>(present) + 1 + k, placed, item);
    }
    return writer.Take();
}

void ExportItemSetFile(FileSystem& files, const std::string& setFile, const ItemStore& store, int first) {
    ReplaceOrThrow(files, setFile, ItemSetText(store.outline, store.items, first));
}

void ImportItemSetFile(FileSystem& files, const std::string& configFile, const std::string& setFile) {
    // A file that cannot be read has no count, so nothing is imported from it or into it.
    std::string set, config;
    if (!files.ReadAll(setFile, set)) set.clear();
    if (!files.ReadAll(configFile, config)) config.clear();
    if (const std::optional<std::string> merged = ImportItemSet(config, set))
        ReplaceOrThrow(files, configFile, *merged);
}

}  // namespace kestrin
