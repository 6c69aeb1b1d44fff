#include <gtest/gtest.h>

#include <pthread.h>

#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "core/launcher_menu.h"

using namespace kestrin;

namespace {

// Heap blocks taken on this thread while counting. The access-key retries each take a few,
// so the count bounds how many retries a level costs without timing anything.
thread_local bool gCountAllocations = false;
thread_local long gAllocations = 0;

void* Allocate(std::size_t size, bool nothrow) {
    if (gCountAllocations) ++gAllocations;
    if (void* block = std::malloc(size ? size : 1)) return block;
    if (nothrow) return nullptr;
    throw std::bad_alloc();
}

}  // namespace

// Every non-aligned form, so that each block is released by the family that took it.
void* operator new(std::size_t size) { return Allocate(size, false); }
void* operator new[](std::size_t size) { return Allocate(size, false); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size, true); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size, true); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }

namespace {

Item Program(std::string command = "", std::string iconFile = "", int iconIndex = 0) {
    Item item;
    item.kind = kKindProgram;
    item.command = std::move(command);
    item.iconFile = std::move(iconFile);
    item.iconIndex = LowByte(iconIndex);
    return item;
}

Item OfKind(int kind, std::string iconFile = "") {
    Item item;
    item.kind = LowByte(kind);
    item.iconFile = std::move(iconFile);
    return item;
}

struct Line {
    std::string text;
    Item item;
};

LauncherMenu Build(const std::vector<Line>& lines, std::string_view drive = "E:") {
    OutlineList outline;
    ItemTable items;
    for (const Line& line : lines) {
        outline.push_back(line.text);
        items.Append(line.item);
    }
    return BuildLauncherMenu(outline, items, drive);
}

// Visible captions of one level, nested levels in parentheses: "&A(&B,&C),&D".
std::string Shape(const LauncherMenu& menu, const std::vector<int>& level) {
    std::string out;
    for (int index : level) {
        const MenuEntry& entry = menu.entries[static_cast<size_t>(index)];
        if (!entry.visible) continue;
        if (!out.empty()) out += ',';
        out += entry.caption;
        if (!entry.children.empty()) out += "(" + Shape(menu, entry.children) + ")";
    }
    return out;
}

std::string Shape(const LauncherMenu& menu) { return Shape(menu, menu.topLevel); }

// A single level made of the given captions; "-" is a separator line.
LauncherMenu Level(const std::vector<std::string>& captions) {
    LauncherMenu menu;
    for (const std::string& caption : captions) {
        MenuEntry entry;
        entry.caption = caption;
        entry.separator = caption == "-";
        menu.topLevel.push_back(static_cast<int>(menu.entries.size()));
        menu.entries.push_back(entry);
    }
    return menu;
}

std::vector<std::string> Captions(const LauncherMenu& menu) {
    std::vector<std::string> out;
    for (const MenuEntry& entry : menu.entries) out.push_back(entry.caption);
    return out;
}

}  // namespace

TEST(LauncherMenuBuild, NestsByTabCountAnywhereInTheLine) {
    struct Case {
        std::vector<std::string> lines;
        const char* shape;
    };
    const Case cases[] = {
        {{}, ""},
        {{"A", "\tB", "\t\tC", "\tD", "E"}, "&A(&B(&C),&D),&E"},
        // A TAB in the middle of a title still counts and is removed from the caption.
        {{"A", "Mid\tdle", "Z"}, "&A(&Middle),&Z"},
        // Two levels deeper than before: the last entry at depth 1, even in an earlier branch.
        {{"A", "\tB", "C", "\t\tD"}, "&A(&B(&D)),&C"},
        // No entry yet at depth d - 1: the deepest filled depth below, else the top level.
        {{"A", "\tB", "\t\t\tD", "\t\tE"}, "&A(&B(&D,&E))"},
        {{"\t\tX", "Y", "\tZ"}, "&X,&Y(&Z)"},
        {{"\t\t\tX"}, "&X"},
    };
    for (const Case& c : cases) {
        std::vector<Line> lines;
        for (const std::string& text : c.lines) lines.push_back({text, Program("x.exe")});
        EXPECT_EQ(Shape(Build(lines)), c.shape) << ::testing::PrintToString(c.lines);
    }
}

TEST(LauncherMenuBuild, EntriesFollowTheirKind) {
    LauncherMenu menu = Build({
        {"Run", Program("a.exe")},
        {"Line", OfKind(kKindSeparator)},
        {"Sub", OfKind(kKindSubmenu)},
        {"\tInner", Program("b.exe")},
        {"-", Program("c.exe")},
        {"Odd", OfKind(7)},
        {"Holder", Program("d.exe")},
        {"\tChild", Program("e.exe")},
        {"Sep", OfKind(kKindSeparator)},
        {"\tHidden", Program("f.exe")},
    });
    struct Expect {
        const char* caption;
        bool launches, separator, opens;
    };
    const Expect expected[] = {
        {"&Run", true, false, false},    {"-", false, true, false},      {"&Sub", false, false, true},
        {"&Inner", true, false, false},  {"-", false, true, false},      {"", false, false, false},
        {"&Holder", false, false, true}, {"&Child", true, false, false}, {"-", false, true, false},
        {"&Hidden", true, false, false},
    };
    ASSERT_EQ(menu.entries.size(), std::size(expected));
    for (size_t i = 0; i < menu.entries.size(); ++i) {
        const MenuEntry& e = menu.entries[i];
        EXPECT_EQ(e.caption, expected[i].caption) << i;
        EXPECT_EQ(e.launches, expected[i].launches) << i;
        EXPECT_EQ(e.separator, expected[i].separator) << i;
        EXPECT_EQ(OpensSubmenu(e), expected[i].opens) << i;
        EXPECT_EQ(e.slot, static_cast<int>(i));
    }
    EXPECT_EQ(menu.entries[3].parent, 2);
    EXPECT_EQ(menu.entries[5].picture.source, PictureRequest::Source::None);
}

TEST(LauncherMenuBuild, LineWithoutSlotLaunchesNothing) {
    OutlineList outline = {"A", "B"};
    ItemTable items;
    items.Append(Program("a.exe"));
    LauncherMenu menu = BuildLauncherMenu(outline, items, "E:");
    ASSERT_EQ(menu.entries.size(), 2u);
    EXPECT_TRUE(menu.entries[0].launches);
    EXPECT_EQ(menu.entries[1].caption, "&B");
    EXPECT_FALSE(menu.entries[1].launches);
}

TEST(LauncherMenuBuild, PictureRequests) {
    using Source = PictureRequest::Source;
    struct Case {
        Item item;
        Source source;
        const char* path;
        int index;
    };
    const Case cases[] = {
        {Program("C:\\Apps\\a.exe", "", 3), Source::File, "C:\\Apps\\a.exe", 3},
        {Program("a.exe", "%USB%\\Tools\\tool.exe", 300), Source::File, "E:\\Tools\\tool.exe", 44},
        {Program("%usb%\\a.exe"), Source::File, "E:\\a.exe", 0},
        // Pipes stay in the path, so the extraction finds no file and there is no picture.
        {Program("|C:\\Program Files\\App\\app.exe|"), Source::File, "|C:\\Program Files\\App\\app.exe|", 0},
        {Program(""), Source::None, "", 0},
        {OfKind(kKindSubmenu), Source::Folder, "", 0},
        {OfKind(kKindSubmenu, "%uSb%\\f.ico"), Source::File, "E:\\f.ico", 0},
        {OfKind(kKindSeparator, "x.ico"), Source::None, "", 0},
        {OfKind(9, "x.ico"), Source::None, "", 0},
    };
    for (const Case& c : cases) {
        LauncherMenu menu = Build({{"T", c.item}, {"U", Program("u.exe")}});
        const PictureRequest& p = menu.entries[0].picture;
        EXPECT_EQ(p.source, c.source) << c.item.command << "|" << c.item.iconFile;
        EXPECT_EQ(p.path, c.path);
        EXPECT_EQ(p.index, c.index);
    }
}

TEST(LauncherMenuBuild, TidiesEveryLevel) {
    LauncherMenu menu = Build({
        {"top sep", OfKind(kKindSeparator)},
        {"Alpha", Program("a.exe")},
        {"Sub", OfKind(kKindSubmenu)},
        {"\tinner sep", OfKind(kKindSeparator)},
        {"\tAlpha", Program("a.exe")},
        {"\tAbc", Program("a.exe")},
        {"\tlast sep", OfKind(kKindSeparator)},
        {"mid sep", OfKind(kKindSeparator)},
        {"Zed", Program("z.exe")},
    });
    EXPECT_EQ(Shape(menu), "&Alpha,&Sub(&Alpha,A&bc),-,&Zed");
}

namespace {

void* BuildDeepOutline(void* arg) {
    auto* ok = static_cast<bool*>(arg);
    const int depth = 4000;
    OutlineList outline;
    ItemTable items;
    for (int d = 0; d < depth; ++d) {
        outline.push_back(std::string(static_cast<size_t>(d), '\t') + "N");
        items.Append(OfKind(kKindSubmenu));
    }
    {
        LauncherMenu menu = BuildLauncherMenu(outline, items, "E:");
        int length = 0;
        for (int at = menu.topLevel.at(0); !menu.entries[static_cast<size_t>(at)].children.empty();
             at = menu.entries[static_cast<size_t>(at)].children[0])
            ++length;
        *ok = menu.topLevel.size() == 1 && length == depth - 1;
    }  // destroyed here, still on the small stack
    return nullptr;
}

}  // namespace

TEST(LauncherMenuBuild, DeepOutlineNeedsNoDeepStack) {
    // A per-level recursion would need far more than this stack for 4000 levels.
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, 256 * 1024);
    bool ok = false;
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, &attr, BuildDeepOutline, &ok), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
    EXPECT_TRUE(ok);
}

TEST(SeparatorTidying, ShowsOnlySeparatorsBetweenOtherEntries) {
    struct Case {
        std::vector<std::string> level;
        const char* shown;
    };
    const Case cases[] = {
        {{}, ""},
        {{"-", "a"}, "a"},
        {{"a", "-"}, "a"},
        {{"a", "-", "b"}, "a,-,b"},
        {{"a", "-", "-", "-", "b"}, "a,-,b"},
        {{"-", "-"}, ""},
        {{"-", "a", "-", "-", "b", "-", "c", "-", "-"}, "a,-,b,-,c"},
    };
    for (const Case& c : cases) {
        LauncherMenu menu = Level(c.level);
        TidySeparators(menu, menu.topLevel);
        EXPECT_EQ(Shape(menu), c.shown) << ::testing::PrintToString(c.level);
        // The last of a run is the one shown.
        if (c.level.size() == 5 && c.level[1] == "-") {
            EXPECT_FALSE(menu.entries[1].visible);
            EXPECT_TRUE(menu.entries[3].visible);
        }
    }
}

TEST(AccessKeys, AssignsOneKeyPerEntry) {
    struct Case {
        std::vector<std::string> in, out;
    };
    const Case cases[] = {
        {{"Open", "Options", "Exit"}, {"&Open", "O&ptions", "&Exit"}},
        // Letters compare in upper case; the case of the caption is kept.
        {{"open", "OPEN"}, {"&open", "O&PEN"}},
        // Marked keys are claimed before any waiting entry is served.
        {{"Open", "&Other"}, {"O&pen", "&Other"}},
        // A marked key already taken: the mark goes and the entry waits.
        {{"&Open", "&Options"}, {"&Open", "O&ptions"}},
        {{"&A", "&A"}, {"&A", "A"}},
        // "&&" is a literal "&": never a mark, and kept when marks are removed.
        {{"Save && Quit"}, {"&Save && Quit"}},
        {{"&&A"}, {"&&&A"}},
        {{"&A", "&A && B"}, {"&A", "A && &B"}},
        // A marked non-candidate keeps its caption and takes nothing.
        {{"&-Dash", "Dash"}, {"&-Dash", "&Dash"}},
        {{"-x-", "2nd"}, {"-&x-", "&2nd"}},
        // Separators and empty captions take no key.
        {{"", "-", "Zed"}, {"", "-", "&Zed"}},
    };
    for (const Case& c : cases) {
        LauncherMenu menu = Level(c.in);
        AssignAccessKeys(menu, menu.topLevel);
        EXPECT_EQ(Captions(menu), c.out) << ::testing::PrintToString(c.in);
    }
}

TEST(AccessKeys, SkipsHiddenEntries) {
    LauncherMenu menu = Level({"Alpha", "Again", "Apex"});
    menu.entries[0].visible = false;
    AssignAccessKeys(menu, menu.topLevel);
    EXPECT_EQ(Captions(menu), (std::vector<std::string>{"Alpha", "&Again", "A&pex"}));
}

TEST(AccessKeys, EntriesWithoutAFreeCharacterGetNoKey) {
    struct Case {
        std::vector<std::string> in, out;
    };
    const Case cases[] = {
        // Moving the unserved entry to the end cannot free a character for it.
        {{"AB", "A"}, {"&AB", "A"}},
        {{"AB", "BC", "A"}, {"&AB", "&BC", "A"}},
        {{"AB", "A", "B"}, {"&AB", "A", "&B"}},
        {{"A", "AB", "B"}, {"&A", "A&B", "B"}},
    };
    for (const Case& c : cases) {
        LauncherMenu menu = Level(c.in);
        AssignAccessKeys(menu, menu.topLevel);
        EXPECT_EQ(Captions(menu), c.out) << ::testing::PrintToString(c.in);
    }
}

TEST(AccessKeys, MoreEntriesThanCandidates) {
    const std::string candidates = "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::vector<std::string> captions;
    for (char c : candidates) captions.push_back(std::string(1, c));
    captions.push_back("Extra");
    LauncherMenu menu = Level(captions);
    AssignAccessKeys(menu, menu.topLevel);
    for (size_t i = 0; i < candidates.size(); ++i) EXPECT_EQ(menu.entries[i].caption, "&" + captions[i]);
    EXPECT_EQ(menu.entries.back().caption, "Extra");
}

TEST(AccessKeys, ManyEntriesCompetingForOneKeyCostFewRetries) {
    // A retry per entry would make a large level quadratic; each retry allocates, so a
    // level of 50,000 staying within a few dozen allocations takes a handful of retries.
    std::vector<std::string> captions(50000, "A");
    captions.push_back("BC");
    LauncherMenu menu = Level(captions);
    gAllocations = 0;
    gCountAllocations = true;
    AssignAccessKeys(menu, menu.topLevel);
    gCountAllocations = false;
    EXPECT_LT(gAllocations, 64);
    EXPECT_EQ(menu.entries[0].caption, "&A");
    EXPECT_EQ(menu.entries[1].caption, "A");
    EXPECT_EQ(menu.entries.back().caption, "&BC");
}

// A built menu is shown again only while the new model equals it: every edit a user can make
// in the settings window must make the model differ.
TEST(LauncherMenuBuild, AnyVisibleChangeMakesTheModelDiffer) {
    const std::vector<Line> base = {{"Tools", OfKind(kKindSubmenu)},
                                    {"\tEdit", Program("ed.exe", "i.dll", 2)},
                                    {"Line", OfKind(kKindSeparator)},
                                    {"Run", Program("run.exe")}};
    EXPECT_TRUE(Build(base) == Build(base));
    std::vector<std::vector<Line>> changed(8, base);
    changed[0][1].item.iconIndex = 3;
    changed[1][1].item.iconFile = "j.dll";
    changed[2][3].item.command = "other.exe";  // its icon comes from the command
    changed[3][3].item.command = "";           // and then it launches nothing
    changed[4][2].item.kind = kKindProgram;    // the separator line becomes an entry
    changed[5][0].item.iconFile = "t.ico";     // the submenu's folder gives way to an icon
    changed[6][3].text = "Ran";                // its caption
    changed[7][3].item.kind = 7;               // an unknown kind shows nothing
    for (size_t i = 0; i < changed.size(); ++i) EXPECT_TRUE(Build(changed[i]) != Build(base)) << i;
    // The drive decides the icons' paths.
    const std::vector<Line> usb = {{"Run", Program("%usb%\\run.exe")}};
    EXPECT_TRUE(Build(usb, "E:") != Build(usb, "F:"));
}
