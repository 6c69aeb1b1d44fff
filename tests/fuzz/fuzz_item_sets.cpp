// Item sets. Input: a ConfigFile text, two NUL bytes, a set text. Checked: ImportItemSet
// refuses exactly when a count is missing or the sum passes the item limit; otherwise its file
// parses with Cnt = old + 1 + n, keeps the hotkey and every old item, puts the import separator
// at the old count, places each title by its leading marks only (the set's root on the top level,
// every line at its depth relative to the root, a mark inside a title kept as text), and loads
// whole. ItemSetText of a subtree of the ConfigFile holds exactly that subtree
// and imports back to the same shape.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/config.h"
#include "core/ini.h"
#include "core/outline.h"
#include "fuzz_support.h"
#include "../unit/memory_files.h"
#include "settings/item_sets.h"

using namespace kestrin;

namespace {

// Larger files only cost time: every item is read and written the same way.
constexpr long long kWorkBound = 600;

// The level of a line: the TABs in the run of blanks (TABs among them) at its start.
int LeadingLevel(const std::string& line) {
    int level = 0;
    for (size_t i = 0; i < line.size() && IsIniBlank(line[i]); ++i) level += line[i] == '\t';
    return level;
}

// The line as the import places it: `level` TABs, then the title after the leading run.
std::string Placed(const std::string& line, int level) {
    size_t title = 0;
    while (title < line.size() && IsIniBlank(line[title])) ++title;
    return std::string(static_cast<size_t>(level), '\t') + line.substr(title);
}

// Item `at` of `ini` is `expected` as far as the format can carry it: the keys its kind keeps,
// every stable text exactly.
void CheckItem(const IniFile& ini, int at, const std::string& expectedLine, const Item& expected) {
    Item got;
    const std::string line = ReadItemSection(ini, at, got);
    const std::string where = "item " + std::to_string(at);
    FUZZ_CHECK_MSG(got.kind == expected.kind, where);
    // A "#|" in a title reads back as a TAB: the format cannot store it.
    if (fuzz::ReadsBackAsWritten(EncodeTitle(expectedLine)) && expectedLine.find("#|") == std::string::npos)
        FUZZ_CHECK_EQ(line, expectedLine);
    auto text = [&](const std::string& gotText, const std::string& wanted, bool kept) {
        if (!kept) FUZZ_CHECK_MSG(gotText.empty(), where + ": a key its kind does not keep");
        else if (fuzz::ReadsBackAsWritten(wanted)) FUZZ_CHECK_EQ(gotText, wanted);
    };
    const bool program = expected.kind == kKindProgram;
    const bool hasIcon = expected.kind != kKindSeparator;
    text(got.command, expected.command, program);
    text(got.parameters, expected.parameters, program);
    text(got.directory, expected.directory, program);
    text(got.iconFile, expected.iconFile, hasIcon);
    FUZZ_CHECK_EQ(got.showState, program ? expected.showState : 0);
    FUZZ_CHECK_EQ(got.iconIndex, hasIcon ? expected.iconIndex : 0);
}

// The merged file, loaded as the program loads it: every item, no count error.
void CheckLoads(const std::string& merged, int total) {
    MemoryFiles files;
    files.files["k.ini"] = merged;
    ItemStore store;
    Tree tree;
    try {
        LoadItems(files, "k.ini", store, tree, nullptr);
    } catch (const KestrinError& e) {
        FUZZ_CHECK_MSG(std::string(e.what()).rfind("Invalid level", 0) == 0, e.what());
    }
    FUZZ_CHECK_EQ(tree.Count(), total);
    FUZZ_CHECK_EQ(store.items.Count(), total);
}

void CheckImport(std::string_view configText, std::string_view setText) {
    const IniFile config = IniFile::Parse(configText);
    const IniFile set = IniFile::Parse(setText);
    const long long present = config.ReadInteger("Dat", "Cnt", -1);
    const long long added = set.ReadInteger("Dat", "Cnt", -1);
    const bool refused = present < 0 || added < 0 || present + 1 + added > kMaxItemCount;
    if (!refused && present + 1 + added > kWorkBound) return;

    const std::optional<std::string> merged = ImportItemSet(configText, setText);
    FUZZ_CHECK_EQ(merged.has_value(), !refused);
    if (!merged) return;
    const IniFile ini = IniFile::Parse(*merged);
    const int total = static_cast<int>(present + 1 + added);
    FUZZ_CHECK_EQ(ini.ReadInteger("Dat", "Cnt", -1), total);
    FUZZ_CHECK_EQ(ini.ReadInteger("Dat", "Key", 0), config.ReadInteger("Dat", "Key", 0));

    Item item;
    for (int i = 0; i < present; ++i) {
        const std::string line = ReadItemSection(config, i, item);
        CheckItem(ini, i, line, item);
    }
    Item separator;
    separator.kind = kKindSeparator;
    CheckItem(ini, static_cast<int>(present), kImportSeparatorTitle, separator);

    int rootLevel = 0;
    for (int k = 0; k < added; ++k) {
        const std::string line = ReadItemSection(set, k, item);
        if (k == 0) rootLevel = LeadingLevel(line);
        const int at = static_cast<int>(present) + 1 + k;
        const int level = std::max(0, LeadingLevel(line) - rootLevel);
        const std::string expected = Placed(line, level);
        CheckItem(ini, at, expected, item);
        // The set's root on the top level, each line at its depth relative to the root, and a
        // TAB inside a title where it was, whenever the format can carry the title.
        if (!fuzz::ReadsBackAsWritten(EncodeTitle(expected))) continue;
        Item placed;
        const std::string got = ReadItemSection(ini, at, placed);
        FUZZ_CHECK_MSG(LeadingLevel(got) == level,
                       "line " + std::to_string(k) + " is not at its depth: " + fuzz::Show(line));
        FUZZ_CHECK_EQ(TabDepth(got) - level, TabDepth(line) - LeadingLevel(line));
    }
    CheckLoads(*merged, total);
}

// Export of a subtree of the ConfigFile (as a store freshly loaded from it), then import.
void CheckExport(std::string_view configText, size_t selector) {
    const IniFile config = IniFile::Parse(configText);
    const int present = config.ReadInteger("Dat", "Cnt", -1);
    if (present <= 0 || present > kWorkBound / 2) return;
    OutlineList outline;
    ItemTable items;
    Item item;
    for (int i = 0; i < present; ++i) {
        outline.push_back(ReadItemSection(config, i, item));
        items.Append(item);
    }
    const int first = static_cast<int>(selector % static_cast<size_t>(present));
    const int base = TabDepth(outline[static_cast<size_t>(first)]);
    int count = 1;
    while (first + count < present && TabDepth(outline[static_cast<size_t>(first + count)]) > base) ++count;

    const std::string setText = ItemSetText(outline, items, first);
    const IniFile set = IniFile::Parse(setText);
    FUZZ_CHECK_EQ(set.ReadInteger("Dat", "Cnt", -1), count);
    for (int k = 0; k < count; ++k) CheckItem(set, k, outline[static_cast<size_t>(first + k)], items.At(first + k));
    CheckImport(configText, setText);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const auto parts = fuzz::Fields(data, size, std::string_view("\0\0", 2), 2);
    CheckImport(parts[0], parts[1]);
    CheckExport(parts[0], parts[1].size());
    return 0;
}
