// Titles and paths under a double-byte code page (932): no rule may take a character's second
// byte for a '\', '|' or letter of its own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/lead_bytes.h"
#include "core/config.h"
#include "core/launch.h"
#include "core/launcher_menu.h"
#include "settings/path_rules.h"

using namespace kestrin;

namespace {

// Code page 932 as the platform describes it: lead bytes 0x81-0x9F and 0xE0-0xFC.
const unsigned char kRanges932[12] = {0x81, 0x9F, 0xE0, 0xFC};

// Second bytes that look like ASCII: ソ 0x83 0x5C '\', ポ 0x83 0x7C '|', フ 0x83 0x74 't',
// ト 0x83 0x67 'g', 表 0x95 0x5C '\'.
#define SO "\x83\x5C"
#define PO "\x83\x7C"
#define FU "\x83\x74"
#define TO "\x83\x67"
#define HYO "\x95\x5C"

class DoubleByte : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = InstalledLeadBytes();
        InstallLeadBytes(LeadByteTableFromRanges(kRanges932, sizeof kRanges932));
    }
    void TearDown() override { InstallLeadBytes(saved_); }

private:
    LeadByteTable saved_{};
};

}  // namespace

TEST(LeadByteTable, BuiltFromTheCodePagesRanges) {
    const LeadByteTable table = LeadByteTableFromRanges(kRanges932, sizeof kRanges932);
    const struct {
        unsigned byte;
        bool lead;
    } rows[] = {{0x00, false}, {0x5C, false}, {0x80, false}, {0x81, true}, {0x9F, true},
                {0xA0, false}, {0xDF, false}, {0xE0, true},  {0xFC, true}, {0xFD, false}};
    for (const auto& row : rows) EXPECT_EQ(table[row.byte], row.lead) << std::hex << row.byte;
    // A pair of zeros ends the list: what follows is not read.
    const unsigned char ended[] = {0xA1, 0xA1, 0, 0, 0xB0, 0xB0};
    const LeadByteTable short_ = LeadByteTableFromRanges(ended, sizeof ended);
    EXPECT_TRUE(short_[0xA1]);
    EXPECT_FALSE(short_[0xB0]);
}

TEST_F(DoubleByte, PathRulesSplitOnlyAtRealSeparators) {
    struct Case {
        const char* name;
        std::string got, expected;
    };
    const Case cases[] = {
        {"pipe quoting", PipeQuote("|C:\\" PO "\\app.exe| |x|"), "\"C:\\" PO "\\app.exe\" \"x\""},
        {"pipe after a lone lead byte at the end", PipeQuote("a\x83"), "a\x83"},
        {"folder part", FolderPartOf("C:\\Tools\\" SO), "C:\\Tools\\"},
        {"folder part, name ends in 0x5C", FolderPartOf("C:\\" HYO "\\a" HYO), "C:\\" HYO "\\"},
        {"folder part, none", FolderPartOf(SO HYO), ""},
        {"dialog folder", ProgramFolderForDialogs("E:\\" SO "\\kestrin.exe"), "E:\\" SO},
        {"network drive", ExeDrive("\\\\" SO "\\" HYO "\\kestrin.exe"), "\\\\" SO "\\" HYO},
        {"network drive, server only", ExeDrive("\\\\" SO), "\\\\" SO},
        {"drive expansion", ExpandDrive("%usb%\\" SO "%USB%" TO, "E:"), "E:\\" SO "E:" TO},
        {"settings file", ConfigFilePath("C:\\Tools\\" SO ".exe"), "C:\\Tools\\" SO ".ini"},
        {"settings file, folder", ConfigFilePath("C:\\" HYO "\\kestrin.exe"), "C:\\" HYO "\\kestrin.ini"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.expected) << c.name;
}

TEST_F(DoubleByte, SearchPathOnlyForABareName) {
    EXPECT_TRUE(IsSearchedFor(SO ".exe"));
    EXPECT_TRUE(IsSearchedFor(HYO HYO ".dll"));
    EXPECT_FALSE(IsSearchedFor(SO "\\a.exe"));
}

TEST_F(DoubleByte, AccessKeysNeverSplitACharacter) {
    struct Case {
        std::vector<std::string> in, out;
    };
    const Case cases[] = {
        // Only double-byte characters: no key at all rather than a mark inside one.
        {{SO FU TO}, {SO FU TO}},
        {{FU "x"}, {FU "&x"}},
        {{"&" FU "t", "Tools"}, {"&" FU "t", "&Tools"}},
        {{"&A", "&A" FU "t"}, {"&A", "A" FU "&t"}},
        {{PO "&&" SO "b"}, {PO "&&" SO "&b"}},
    };
    for (const Case& c : cases) {
        LauncherMenu menu;
        for (const std::string& caption : c.in) {
            menu.topLevel.push_back(static_cast<int>(menu.entries.size()));
            menu.entries.emplace_back();
            menu.entries.back().caption = caption;
        }
        AssignAccessKeys(menu, menu.topLevel);
        std::vector<std::string> captions;
        for (const MenuEntry& entry : menu.entries) captions.push_back(entry.caption);
        EXPECT_EQ(captions, c.out) << ::testing::PrintToString(c.in);
    }
}

TEST(SearchPath, OnlyABareNameIsLookedFor) {
    const struct {
        const char* path;
        bool searched;
    } rows[] = {{"notepad.exe", true}, {"shell32.dll", true},   {"app", true},
                {"", false},           {"C:\\a\\b.exe", false}, {"sub\\b.exe", false},
                {"C:b.exe", false},    {"%usb%\\b.ico", false}, {"\\\\srv\\share\\b.exe", false},
                {"./b.exe", false}};
    for (const auto& row : rows) EXPECT_EQ(IsSearchedFor(row.path), row.searched) << row.path;
}
