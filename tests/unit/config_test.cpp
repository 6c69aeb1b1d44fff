#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "core/config.h"
#include "core/outline.h"
#include "tests/unit/memory_files.h"

using namespace kestrin;

namespace {

const std::string kPath = "C:\\Tools\\launcher.ini";

using Loaded = LoadedConfig;

void Load(MemoryFiles& files, Loaded& loaded) { LoadConfig(files, kPath, loaded); }

Loaded LoadText(const std::string& text) {
    MemoryFiles files;
    files.files[kPath] = text;
    Loaded loaded;
    Load(files, loaded);
    return loaded;
}

std::string SaveError(MemoryFiles& files, ItemStore& store, const Tree& tree, std::uint16_t hotkey) {
    return kestrin::SaveError(files, kPath, store, tree, hotkey);
}

const char kExampleFile[] =
    "[Dat]\r\nKey=0\r\nCnt=3\r\n"
    "[0]\r\nTit=Tools\r\nArt=2\r\nIco=\r\nIdx=0\r\n"
    "[1]\r\nTit=#|Editor\r\nArt=0\r\nPrg=%usb%\\Editor\\editor.exe\r\nPar=|C:\\My Notes\\list.txt|\r\nDir=\r\n"
    "Win=0\r\nIco=\r\nIdx=0\r\n"
    "[2]\r\nTit=-\r\nArt=1\r\n";

}  // namespace

TEST(ConfigFilePath, BesideTheProgramNamedUpToTheFirstDotOfItsName) {
    struct Case {
        const char* exe;
        const char* expected;
        const char* old;
    };
    const Case cases[] = {
        {"C:\\Tools\\launcher.exe", "C:\\Tools\\launcher.ini", "C:\\Tools\\launcher.ini"},
        {"D:\\Apps\\launcher.beta.exe", "D:\\Apps\\launcher.ini", "D:\\Apps\\launcher.ini"},
        {"C:\\Users\\john.doe\\Tools\\launcher.exe", "C:\\Users\\john.doe\\Tools\\launcher.ini", "C:\\Users\\john.ini"},
        {"\\\\nas.example.com\\tools\\launcher.exe", "\\\\nas.example.com\\tools\\launcher.ini", "\\\\nas.ini"},
        {"C:\\Tools\\launcher", "C:\\Tools\\launcher.ini", "ini"},
        {"launcher.exe", "launcher.ini", "launcher.ini"},
        {"C:launcher.exe", "C:launcher.ini", "C:launcher.ini"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ConfigFilePath(c.exe), c.expected) << c.exe;
        EXPECT_EQ(OldConfigFilePath(c.exe), c.old) << c.exe;
    }
}

TEST(ChooseConfigFile, TheOldPlaceOnlyWhenItAloneHoldsKestrinSettings) {
    const std::string exe = "C:\\Users\\john.doe\\Tools\\launcher.exe";
    const std::string now = "C:\\Users\\john.doe\\Tools\\launcher.ini";
    const std::string old = "C:\\Users\\john.ini";
    const std::string ours = "[Dat]\r\nKey=0\r\nCnt=0\r\n";
    struct Case {
        const char* name;
        const char* nowText;  // nullptr: no file
        const char* oldText;
        const std::string& expected;
    };
    const Case cases[] = {
        {"neither", nullptr, nullptr, now},
        {"only the old, ours", nullptr, ours.c_str(), old},
        {"only the old, ours, section and key in another case", nullptr, "[x]\r\na=1\r\n[dAT]\r\ncnt=\r\n", old},
        {"both", "", ours.c_str(), now},
        {"only the old, no Cnt", nullptr, "[Dat]\r\nKey=0\r\n", now},
        {"only the old, Cnt elsewhere", nullptr, "[Data]\r\nCnt=1\r\n[0]\r\nCnt=1\r\n", now},
        {"only the old, empty", nullptr, "", now},
        {"only the old, Cnt without =", nullptr, "[Dat]\r\nCnt\r\n", now},
    };
    for (const Case& c : cases) {
        MemoryFiles files;
        files.pieceSize = 3;
        if (c.nowText) files.files[now] = c.nowText;
        if (c.oldText) files.files[old] = c.oldText;
        EXPECT_EQ(ChooseConfigFile(files, exe), c.expected) << c.name;
        // Only looked at: nothing is written anywhere.
        EXPECT_EQ(files.files.size(), (c.nowText ? 1u : 0u) + (c.oldText ? 1u : 0u)) << c.name;
    }
    // A program without a dot never falls back on a bare "ini" in the current folder.
    MemoryFiles files;
    files.files["ini"] = ours;
    EXPECT_EQ(ChooseConfigFile(files, "C:\\Tools\\launcher"), "C:\\Tools\\launcher.ini");
}

TEST(SaveItems, WritesTheDocumentedLayoutAndReplacesTheOutline) {
    ItemStore store;
    store.items.SetCount(3);
    store.items.At(0).kind = kKindSeparator;  // the separator, slot 0
    store.items.At(0).command = "lost on save";
    store.items.At(1) = Item{kKindProgram, "%usb%\\Editor\\editor.exe", "|C:\\My Notes\\list.txt|", "", 0, "", 0};
    store.items.At(2).kind = kKindSubmenu;
    store.items.At(2).command = "lost on save";
    Tree tree;
    NodeId tools = tree.AddRoot("Tools", 2);
    tree.AddChild(tools, "Editor", 1);
    tree.AddRoot("-", 0);

    MemoryFiles files;
    files.files[kPath] = "[Dat]\r\nCnt=9\r\n[8]\r\nTit=stale\r\n";
    EXPECT_EQ(SaveError(files, store, tree, 0), "");
    EXPECT_EQ(files.files[kPath], kExampleFile);
    EXPECT_EQ(store.outline, (OutlineList{"Tools", "\tEditor", "-"}));

    Loaded back = LoadText(kExampleFile);
    ASSERT_EQ(back.error, "");
    ASSERT_EQ(back.store.items.Count(), 3);
    EXPECT_EQ(back.store.items.At(0).command, "");  // a submenu keeps no command
    EXPECT_EQ(back.store.items.At(1).parameters, "|C:\\My Notes\\list.txt|");
    EXPECT_EQ(back.store.outline, store.outline);
    EXPECT_EQ(back.tree.Slot(back.tree.FirstChild(back.tree.FirstRoot())), 1);
    EXPECT_EQ(back.store.unsavedLoadError, "");
}

TEST(LoadItems, ReadsValuesByTheProfileRules) {
    Loaded loaded = LoadText(
        "[Dat]\r\nKey=$6026\r\nCnt=0x4\r\n"
        "[0]\r\nTit=   Padded\r\nArt=258\r\nIdx=-1\r\nWin=abc\r\nPrg=\"C:\\Program Files\\x.exe\"\r\n"
        "[1]\r\nTit=\r\nArt=0\r\nIco= 'ico.dll' \r\n"
        "[2]\r\nTit=#|Child#|with tab\r\n"
        "[4]\r\nTit=beyond the count\r\n");
    ASSERT_EQ(loaded.error, "");
    EXPECT_EQ(loaded.hotkey, 0x6026);
    ASSERT_EQ(loaded.store.items.Count(), 4);
    const Item& first = loaded.store.items.At(0);
    EXPECT_EQ(first.kind, kKindSubmenu);
    EXPECT_EQ(first.iconIndex, 255);
    EXPECT_EQ(first.showState, 0);
    EXPECT_EQ(first.command, "C:\\Program Files\\x.exe");
    EXPECT_EQ(loaded.store.items.At(1).iconFile, "ico.dll");
    // A missing section is a default item; the section beyond the count is not read.
    EXPECT_EQ(loaded.store.outline, (OutlineList{"Padded", "", "\tChild\twith tab", "New Item"}));
    EXPECT_EQ(loaded.tree.Count(), 4);
    std::vector<int> slots;
    for (NodeId id : loaded.tree.PreOrder()) slots.push_back(loaded.tree.Slot(id));
    EXPECT_EQ(slots, (std::vector<int>{0, 1, 2, 3}));

    Loaded none = LoadText("[Dat]\r\nCnt=0\r\n");
    EXPECT_EQ(none.error, "");
    EXPECT_EQ(none.tree.Count(), 0);
    EXPECT_TRUE(none.store.outline.empty());
}

// What a lookup in the whole text gives: the count, the hotkey and every item, for a load
// read in pieces to match.
std::string WholeTextReading(const std::string& text) {
    const IniFile ini = IniFile::Parse(text);
    int count = ini.ReadInteger("Dat", "Cnt", -1);
    if (count > kMaxItemCount) count = -1;  // refused as a count below zero is
    std::string out = std::to_string(count) + "|" + std::to_string(ini.ReadInteger("Dat", "Key", 0));
    for (int i = 0; i < count; ++i) {
        Item item;
        const std::string line = ReadItemSection(ini, i, item);
        out += "|" + line + "," + std::to_string(item.kind) + "," + item.command + "," + item.parameters + "," +
               item.directory + "," + std::to_string(item.showState) + "," + item.iconFile + "," +
               std::to_string(item.iconIndex);
    }
    return out;
}

std::string PieceReading(const std::string& text, size_t pieceSize) {
    MemoryFiles files;
    files.files[kPath] = text;
    files.pieceSize = pieceSize;
    Loaded loaded;
    Load(files, loaded);
    std::string out = std::to_string(loaded.error == "Range check error" ? -1 : loaded.store.items.Count()) + "|" +
                      std::to_string(loaded.hotkey);
    for (int i = 0; i < loaded.store.items.Count(); ++i) {
        const Item& item = loaded.store.items.At(i);
        out += "|" + loaded.store.outline[static_cast<size_t>(i)] + "," + std::to_string(item.kind) + "," +
               item.command + "," + item.parameters + "," + item.directory + "," + std::to_string(item.showState) +
               "," + item.iconFile + "," + std::to_string(item.iconIndex);
    }
    return out;
}

TEST(LoadItems, ReadInPiecesFindsWhatTheWholeTextHolds) {
    using namespace std::string_literals;
    const std::string texts[] = {
        kExampleFile,
        // The first section of a name wins, whatever its case; keys of a later one are unseen.
        "[dat]\r\nCnt=2\r\n[0]\r\nTit=a\r\n[DAT]\r\nCnt=9\r\n[0]\r\nTit=b\r\nPrg=x\r\n[1]\nTit=c",
        // The count after the items, lone CRs and LFs, blanks around headers, a byte-order mark.
        "\xEF\xBB\xBF[1]\rTit=one\r[ 0 ]\nTit=zero\n\n[Dat]\r\nKey=7\r\nCnt=3\r\n",
        // Sections that only look like items: "00", "+1", " 1x", and a header without its bracket.
        "[Dat]\nCnt=2\n[00]\nTit=no\n[+1]\nTit=no\n[1x]\nTit=no\n[1\nTit=key\n[1]\nTit=yes\n",
        // A NUL in a header and in values, nameless keys, a closing bracket inside the name.
        "[Dat]\nCnt=2\n[0\0junk]\nTit=nul\0cut\n=\n=\nPrg=p\n[1]x]\nTit=t\n"s,
        // Keys before any header, an empty file, no count.
        "Cnt=5\n[Dat]\nKey=1\n",
        "",
        "[Dat]\nCnt=100001\n",
    };
    for (const std::string& text : texts) {
        const std::string expected = WholeTextReading(text);
        for (size_t piece : {size_t{0}, size_t{1}, size_t{2}, size_t{3}, size_t{5}, size_t{64}})
            EXPECT_EQ(PieceReading(text, piece), expected) << "pieces of " << piece << " in: " << text;
    }
}

TEST(LoadItems, BadCountFailsWithoutStaleSlots) {
    const char* texts[] = {"",
                           "[Dat]\r\nKey=5\r\n",
                           "[Dat]\r\nCnt=\r\n",
                           "[Dat]\r\nCnt=two\r\n",
                           "[Dat]\r\nCnt=-1\r\n",
                           "[Dat]\r\nCnt=100001\r\n",
                           "[Dat]\r\nCnt=2147483647\r\n"};
    for (const char* text : texts) {
        Loaded loaded = LoadText(kExampleFile);
        ASSERT_EQ(loaded.error, "");
        MemoryFiles files;
        if (*text) files.files[kPath] = text;
        Load(files, loaded);
        EXPECT_EQ(loaded.error, "Range check error") << text;
        EXPECT_EQ(loaded.hotkey, std::string(text).find("Key=5") != std::string::npos ? 5 : 0)
            << text;  // given before the check
        EXPECT_EQ(loaded.store.items.Count(), 0);
        EXPECT_TRUE(loaded.store.outline.empty());
        EXPECT_EQ(loaded.store.unsavedLoadError, "Range check error");
        // The previous nodes stay, but none of them claims a slot of the emptied table.
        EXPECT_EQ(loaded.tree.Count(), 3);
        for (NodeId id : loaded.tree.PreOrder()) EXPECT_EQ(loaded.tree.Slot(id), -1);

        // The tree no longer has the items' fields: OK shows the load error again and the
        // file stays as it is, also after a node was added.
        const std::string before = files.files.count(kPath) ? files.files[kPath] : "(none)";
        loaded.tree.AddRoot("Added", loaded.store.items.Append());
        EXPECT_EQ(SaveError(files, loaded.store, loaded.tree, 0), "Range check error") << text;
        EXPECT_EQ(files.files.count(kPath) ? files.files[kPath] : "(none)", before);

        // A later successful load ends that state.
        files.files[kPath] = kExampleFile;
        Load(files, loaded);
        ASSERT_EQ(loaded.error, "");
        EXPECT_EQ(SaveError(files, loaded.store, loaded.tree, 0), "");
        EXPECT_EQ(files.files[kPath], kExampleFile);
    }
}

TEST(LoadItems, InvalidLevelKeepsEveryItemThroughTheNextSave) {
    MemoryFiles files;
    files.files[kPath] =
        "[Dat]\r\nCnt=4\r\n[0]\r\nTit=Top\r\nArt=2\r\n[1]\r\nTit=#|Child\r\nPrg=c.exe\r\n"
        "[2]\r\nTit=#|#|#|Deep\r\nPrg=x\r\nPar=-p\r\nDir=D:\\w\r\nWin=2\r\nIco=i.dll\r\nIdx=7\r\n"
        "[3]\r\nTit=After\r\nPrg=a.exe\r\n";
    Loaded loaded;
    Load(files, loaded);
    EXPECT_EQ(loaded.error, "Invalid level (3) for item \"Deep\"");
    EXPECT_EQ(loaded.store.items.Count(), 4);
    EXPECT_EQ(loaded.store.outline.size(), 4u);
    EXPECT_EQ(loaded.store.unsavedLoadError, "");  // the items are whole: a save may go on
    // Every line has its node and the slot of its line; the deep line hangs where the
    // launcher menu shows it, under the last line of the deepest level above it.
    std::vector<int> slots;
    for (NodeId id : loaded.tree.PreOrder()) slots.push_back(loaded.tree.Slot(id));
    EXPECT_EQ(slots, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(loaded.tree.Depth(loaded.tree.AtPreOrderIndex(2)), 2);

    EXPECT_EQ(SaveError(files, loaded.store, loaded.tree, 0), "");
    Load(files, loaded);
    ASSERT_EQ(loaded.error, "");
    EXPECT_EQ(loaded.store.outline, (OutlineList{"Top", "\tChild", "\t\tDeep", "After"}));
    const Item& deep = loaded.store.items.At(2);
    EXPECT_EQ(deep.command, "x");
    EXPECT_EQ(deep.parameters, "-p");
    EXPECT_EQ(deep.directory, "D:\\w");
    EXPECT_EQ(deep.showState, 2);
    EXPECT_EQ(deep.iconFile, "i.dll");
    EXPECT_EQ(deep.iconIndex, 7);
    EXPECT_EQ(loaded.store.items.At(1).command, "c.exe");
    EXPECT_EQ(loaded.store.items.At(3).command, "a.exe");
}

TEST(SaveItems, TypedLeadingBlanksNeverBreakTheNextLoad) {
    // Tools > Notes, Mail; the user types blanks before two titles and presses OK.
    MemoryFiles files;
    files.files[kPath] =
        "[Dat]\r\nCnt=3\r\n[0]\r\nTit=Tools\r\nArt=2\r\n[1]\r\nTit=#|Notes\r\nPrg=notes.exe\r\n"
        "[2]\r\nTit=Mail\r\nPrg=mail.exe\r\n";
    Loaded loaded;
    Load(files, loaded);
    ASSERT_EQ(loaded.error, "");
    loaded.tree.SetTitle(loaded.tree.AtPreOrderIndex(1), " \t Notes");
    loaded.tree.SetTitle(loaded.tree.AtPreOrderIndex(2), "  Mail");
    ASSERT_EQ(SaveError(files, loaded.store, loaded.tree, 0), "");
    EXPECT_NE(files.files[kPath].find("Tit=#|Notes\r\n"), std::string::npos);
    Load(files, loaded);
    EXPECT_EQ(loaded.error, "");
    EXPECT_EQ(loaded.store.outline, (OutlineList{"Tools", "\tNotes", "Mail"}));
    EXPECT_EQ(loaded.store.items.At(1).command, "notes.exe");
    EXPECT_EQ(loaded.store.items.At(2).command, "mail.exe");
}

TEST(SaveItems, FailedWriteChangesNothing) {
    MemoryFiles files;
    files.files[kPath] = kExampleFile;
    Loaded loaded;
    Load(files, loaded);
    ASSERT_EQ(loaded.error, "");
    loaded.tree.AddRoot("Added", loaded.store.items.Append());
    loaded.store.items.At(3).command = "new.exe";

    files.failWrites = true;
    EXPECT_EQ(SaveError(files, loaded.store, loaded.tree, 0x6026), "Unable to write to " + kPath);
    EXPECT_EQ(files.files[kPath], kExampleFile);
    EXPECT_EQ(loaded.store.outline, (OutlineList{"Tools", "\tEditor", "-"}));
    EXPECT_EQ(loaded.store.items.At(3).command, "new.exe");  // the edit survives for a retry

    files.failWrites = false;
    EXPECT_EQ(SaveError(files, loaded.store, loaded.tree, 0x6026), "");
    Loaded back = LoadText(files.files[kPath]);
    EXPECT_EQ(back.hotkey, 0x6026);
    EXPECT_EQ(back.store.items.At(3).command, "new.exe");
}

TEST(SaveItems, NodeWithoutRowIsNeverWrittenAsAnEmptyItem) {
    ItemStore store;
    Tree tree;
    tree.AddRoot("Kept", store.items.Append());
    tree.AddRoot("Orphan", 5);
    MemoryFiles files;
    files.files[kPath] = kExampleFile;
    EXPECT_EQ(SaveError(files, store, tree, 0), "Range check error");
    EXPECT_EQ(files.files[kPath], kExampleFile);
    EXPECT_TRUE(store.outline.empty());
}

TEST(SaveItems, TitlesSurviveTheRoundTrip) {
    ItemStore store;
    Tree tree;
    const char* titles[] = {"  Lead", "Mid\tTab", "Has #| mark", "Line\r\nBreak", "\"Quoted\"", "\xC4pfel"};
    for (const char* title : titles) tree.AddRoot(title, store.items.Append());
    MemoryFiles files;
    ASSERT_EQ(SaveError(files, store, tree, 0), "");
    Loaded back = LoadText(files.files[kPath]);
    // Leading blanks would read back as levels and go; a line break becomes blanks rather
    // than splitting the file; enclosing quotes stay (the reader drops one pair of its own).
    EXPECT_EQ(back.store.outline,
              (OutlineList{"Lead", "Mid\tTab", "Has \t mark", "Line  Break", "\"Quoted\"", "\xC4pfel"}));
    EXPECT_EQ(back.tree.Count(), 6);
}

TEST(WriteDefaultConfig, CreatesOneItemOnlyWhenNoFileIsThere) {
    MemoryFiles files;
    WriteDefaultConfig(files, kPath, 0x6026);
    EXPECT_EQ(files.files[kPath],
              "[Dat]\r\nKey=24614\r\nCnt=1\r\n[0]\r\nTit=New Item\r\nArt=0\r\nPrg=\r\nPar=\r\nDir=\r\nWin=0\r\n"
              "Ico=\r\nIdx=0\r\n");
    files.files[kPath] = "[Dat]\r\nCnt=0\r\n";
    WriteDefaultConfig(files, kPath, 1);
    EXPECT_EQ(files.files[kPath], "[Dat]\r\nCnt=0\r\n");

    MemoryFiles readOnly;
    readOnly.failWrites = true;
    EXPECT_THROW(WriteDefaultConfig(readOnly, kPath, 0), KestrinError);
}

TEST(ConfigHostile, BoundedResults) {
    // A 50 MB file: ten thousand items with long values, plus junk.
    std::string big = "[Dat]\r\nCnt=10000\r\n";
    const std::string longValue(2500, 'v');
    for (int i = 0; i < 10000; ++i)
        big += "[" + std::to_string(i) + "]\r\nTit=t" + std::to_string(i) + "\r\nPrg=" + longValue +
               "\r\nPar=" + longValue + "\r\n";
    while (big.size() < (50u << 20)) big += "junk line without equals\r\n";
    Loaded loaded = LoadText(big);
    EXPECT_EQ(loaded.error, "");
    EXPECT_EQ(loaded.store.items.At(9999).command.size(), kIniValueLimit);

    // A 1 MB title arrives cut.
    Loaded title = LoadText("[Dat]\r\nCnt=1\r\n[0]\r\nTit=" + std::string(1u << 20, 'T') + "\r\n");
    EXPECT_EQ(title.store.outline.at(0).size(), kIniValueLimit);

    // A chain of items each one level deeper: the cut value cannot express more than 1023
    // levels, so the chain flattens there instead of growing without bound.
    std::string deep = "[Dat]\r\nCnt=3000\r\n";
    std::string stored;
    for (int i = 0; i < 3000; ++i) {
        deep += "[" + std::to_string(i) + "]\r\nTit=" + stored + "x\r\n";
        stored += "#|";
    }
    Loaded chain = LoadText(deep);
    EXPECT_EQ(chain.error, "");
    EXPECT_EQ(chain.tree.Count(), 3000);
    EXPECT_EQ(chain.tree.Depth(chain.tree.AtPreOrderIndex(2999)), 1023);

    // Saving a tree 100,000 levels deep would need a file of billions of bytes: a clean
    // error, and the old file stays.
    ItemStore store;
    Tree tower;
    NodeId node = kNoNode;
    for (int i = 0; i < 100000; ++i) node = tower.AddChild(node, "level", store.items.Append());
    MemoryFiles files;
    files.files[kPath] = kExampleFile;
    EXPECT_EQ(SaveError(files, store, tower, 0), "Unable to write to " + kPath);
    EXPECT_EQ(files.files[kPath], kExampleFile);
}

TEST(ReadmeExample, ACopiedExampleLoadsAndSavesBackAsShown) {
    std::ifstream readme(std::string(KESTRIN_SOURCE_DIR) + "/README.md", std::ios::binary);
    ASSERT_TRUE(readme) << "README.md not found";
    const std::string text((std::istreambuf_iterator<char>(readme)), std::istreambuf_iterator<char>());
    const size_t start = text.find("```\n[Dat]\n");
    ASSERT_NE(start, std::string::npos) << "no INI block in the README";
    const size_t end = text.find("```", start + 3);
    ASSERT_NE(end, std::string::npos);
    const std::string block = text.substr(start + 4, end - start - 4);

    Loaded loaded = LoadText(block);
    EXPECT_EQ(loaded.error, "");
    EXPECT_EQ(loaded.hotkey, 57382);
    EXPECT_EQ(loaded.store.outline, (OutlineList{"Tools", "\tEditor", "-"}));
    // Saved again it is the same file, with the platform's line ends.
    MemoryFiles files;
    EXPECT_EQ(SaveError(files, loaded.store, loaded.tree, 57382), "");
    std::string crlf;
    for (char c : block) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(files.files[kPath], crlf);
}
