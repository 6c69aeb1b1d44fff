#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/config.h"
#include "core/ini.h"
#include "core/outline.h"
#include "core/tree.h"
#include "settings/item_sets.h"

using namespace kestrin;

namespace {

std::string Crlf(std::string text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += "\r\n";
        else out += c;
    }
    return out;
}

// A store as a load leaves it: outline line i and row i for tree position i.
struct Store {
    OutlineList outline;
    ItemTable items;
    void Add(const std::string& line, Item item = Item{}) {
        outline.push_back(line);
        items.Append(item);
    }
};

Item Program(const std::string& command) {
    Item item;
    item.command = command;
    item.parameters = "-p";
    item.iconIndex = 4;
    return item;
}
Item OfKind(std::uint8_t kind) {
    Item item = Program("never");
    item.kind = kind;
    return item;
}

// Tools(Editor, Deep(Inner)), -, Last
Store Example() {
    Store s;
    s.Add("Tools", OfKind(kKindSubmenu));
    s.Add("\tEditor", Program("ed.exe"));
    s.Add("\tDeep", OfKind(kKindSubmenu));
    s.Add("\t\tInner", Program("in.exe"));
    s.Add("-", OfKind(kKindSeparator));
    s.Add("Last", Program("last.exe"));
    return s;
}

}  // namespace

TEST(ItemSetText, WritesTheSubtreeWithItsTreeDepthsAndKeysByKind) {
    const Store s = Example();
    EXPECT_EQ(ItemSetText(s.outline, s.items, 0),
              Crlf("[0]\nTit=Tools\nArt=2\nIco=\nIdx=4\n"
                   "[1]\nTit=#|Editor\nArt=0\nPrg=ed.exe\nPar=-p\nDir=\nWin=0\nIco=\nIdx=4\n"
                   "[2]\nTit=#|Deep\nArt=2\nIco=\nIdx=4\n"
                   "[3]\nTit=#|#|Inner\nArt=0\nPrg=in.exe\nPar=-p\nDir=\nWin=0\nIco=\nIdx=4\n"
                   "[Dat]\nCnt=4\n"));
    // A deeper submenu keeps its depth; a leaf, a separator and the last node are one item.
    EXPECT_EQ(ItemSetText(s.outline, s.items, 2),
              Crlf("[0]\nTit=#|Deep\nArt=2\nIco=\nIdx=4\n"
                   "[1]\nTit=#|#|Inner\nArt=0\nPrg=in.exe\nPar=-p\nDir=\nWin=0\nIco=\nIdx=4\n[Dat]\nCnt=2\n"));
    EXPECT_EQ(ItemSetText(s.outline, s.items, 3),
              Crlf("[0]\nTit=#|#|Inner\nArt=0\nPrg=in.exe\nPar=-p\nDir=\nWin=0\nIco=\nIdx=4\n[Dat]\nCnt=1\n"));
    EXPECT_EQ(ItemSetText(s.outline, s.items, 4), Crlf("[0]\nTit=-\nArt=1\n[Dat]\nCnt=1\n"));
    EXPECT_EQ(IniFile::Parse(ItemSetText(s.outline, s.items, 5)).ReadInteger("Dat", "Cnt", -1), 1);
    EXPECT_EQ(ItemSetText(s.outline, s.items, 9), Crlf("[Dat]\nCnt=0\n"));
}

TEST(ImportItemSet, AppendsASeparatorAndTheSetOnTheTopLevel) {
    const Store s = Example();
    const std::string config = Crlf("[Dat]\nKey=57382\nCnt=2\n[0]\nTit=A\nArt=0\nPrg=a.exe\n[1]\nTit=#|B\nArt=0\n");
    // Exported from the top level, from depth 1 and from depth 2: the root lands on the top
    // level every time, its children one level below it.
    for (int first : {0, 2, 3}) {
        const std::optional<std::string> merged = ImportItemSet(config, ItemSetText(s.outline, s.items, first));
        ASSERT_TRUE(merged) << first;
        const IniFile ini = IniFile::Parse(*merged);
        const int count = ini.ReadInteger("Dat", "Cnt", -1);
        EXPECT_EQ(ini.ReadInteger("Dat", "Key", 0), 57382);
        EXPECT_EQ(ini.ReadString("0", "Prg", ""), "a.exe");
        EXPECT_EQ(ini.ReadString("1", "Tit", ""), "#|B");
        EXPECT_EQ(ini.ReadString("2", "Tit", ""), "-------------------- Import");
        EXPECT_EQ(ini.ReadInteger("2", "Art", -1), 1);
        EXPECT_FALSE(ini.HasKey("2", "Prg"));
        const std::string root = ini.ReadString("3", "Tit", "");
        EXPECT_EQ(root.find("#|"), std::string::npos) << first << ": " << root;
        if (count > 4) {
            EXPECT_EQ(TabDepth(DecodeTitle(ini.ReadString("4", "Tit", ""))), 1) << first;
        }

        // And the file loads whole, every line where it was meant to be.
        std::string outline;
        for (int i = 0; i < count; ++i) outline += DecodeTitle(ini.ReadString(std::to_string(i), "Tit", "")) + "\r\n";
        Tree tree;
        EXPECT_EQ(ReadOutlineText(outline, tree), "") << first;
        EXPECT_EQ(tree.Count(), count);
    }
}

TEST(ImportItemSet, CopiesTheKeysOfEachKindWithTheirDefaults) {
    const std::string config = Crlf("[Dat]\nCnt=5\n");
    const std::string set = Crlf(
        "[0]\nArt=0\n"                                         // no title: "New Item"
        "[1]\nTit=Sep\nArt=1\nPrg=gone\nIco=gone\n"            // a separator keeps Tit and Art
        "[2]\nTit=Sub\nArt=2\nPrg=gone\nIco=i.dll\nIdx=$10\n"  // a submenu keeps its icon
        "[Dat]\nCnt=3\n");
    const std::optional<std::string> merged = ImportItemSet(config, set);
    ASSERT_TRUE(merged);
    const IniFile ini = IniFile::Parse(*merged);
    EXPECT_EQ(ini.ReadInteger("Dat", "Cnt", -1), 9);
    EXPECT_EQ(ini.ReadString("5", "Tit", ""), "-------------------- Import");
    EXPECT_EQ(ini.ReadString("6", "Tit", ""), "New Item");
    EXPECT_EQ(ini.ReadString("6", "Prg", "?"), "");
    EXPECT_EQ(ini.ReadString("6", "Win", "?"), "0");
    EXPECT_EQ(ini.ReadString("7", "Tit", ""), "Sep");
    EXPECT_FALSE(ini.HasKey("7", "Prg"));
    EXPECT_FALSE(ini.HasKey("7", "Ico"));
    EXPECT_FALSE(ini.HasKey("8", "Prg"));
    EXPECT_EQ(ini.ReadString("8", "Ico", ""), "i.dll");
    EXPECT_EQ(ini.ReadString("8", "Idx", ""), "16");  // integers come back in decimal
}

TEST(ImportItemSet, NothingToImportWithoutCountsOrBeyondTheItemLimit) {
    const std::string config = Crlf("[Dat]\nCnt=2\n");
    const std::string empty = Crlf("[Dat]\nCnt=0\n");
    const std::optional<std::string> separatorOnly = ImportItemSet(config, empty);
    ASSERT_TRUE(separatorOnly);
    EXPECT_EQ(IniFile::Parse(*separatorOnly).ReadInteger("Dat", "Cnt", -1), 3);

    struct Case {
        const char* what;
        std::string config;
        std::string set;
    };
    const Case cases[] = {
        {"set without Cnt", config, Crlf("[0]\nTit=x\n")},
        {"missing set file", config, ""},
        {"negative Cnt", config, Crlf("[Dat]\nCnt=-3\n")},
        {"ConfigFile without Cnt", Crlf("[0]\nTit=x\n"), empty},
        {"set above the limit", config, Crlf("[Dat]\nCnt=100001\n")},
        {"sum above the limit", Crlf("[Dat]\nCnt=99999\n"), Crlf("[Dat]\nCnt=1\n")},
    };
    for (const Case& c : cases) EXPECT_EQ(ImportItemSet(c.config, c.set), std::nullopt) << c.what;
    EXPECT_TRUE(ImportItemSet(Crlf("[Dat]\nCnt=99998\n"), Crlf("[Dat]\nCnt=1\n")));
}

TEST(ImportItemSet, PlacesTitlesByTheirLeadingMarksOnly) {
    struct Case {
        const char* what;
        std::vector<std::string> set;       // stored titles, in order
        std::vector<std::string> imported;  // as the ConfigFile stores them after the import
    };
    const Case cases[] = {
        {"a mark inside a root's title is text", {"C#|F#", "#|Kid#|x"}, {"C#|F#", "#|Kid#|x"}},
        {"blanks after the marks are dropped", {"#| Foo", "#|#|  Bar"}, {"Foo", "#|Bar"}},
        {"a deep set keeps its shape",
         {"#|#|Leaf", "#|#|#|Kid", "#|#|#|#|Grandkid", "#|#|Next"},
         {"Leaf", "#|Kid", "#|#|Grandkid", "Next"}},
        {"a shallower line lands on the top level", {"#|#|A", "#|B", "C"}, {"A", "B", "C"}},
        {"marks among blanks all count", {"#|Root", "#| #|Kid"}, {"Root", "#|Kid"}},
    };
    for (const Case& c : cases) {
        std::string set;
        for (size_t k = 0; k < c.set.size(); ++k) set += "[" + std::to_string(k) + "]\nTit=" + c.set[k] + "\nArt=0\n";
        set += "[Dat]\nCnt=" + std::to_string(c.set.size()) + "\n";
        const std::optional<std::string> merged = ImportItemSet(Crlf("[Dat]\nCnt=0\n"), Crlf(set));
        ASSERT_TRUE(merged) << c.what;
        const IniFile ini = IniFile::Parse(*merged);
        std::vector<std::string> imported;
        for (size_t k = 0; k < c.set.size(); ++k) imported.push_back(ini.ReadString(std::to_string(k + 1), "Tit", "?"));
        EXPECT_EQ(imported, c.imported) << c.what;
    }
}
