#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "core/ini.h"

using namespace kestrin;

TEST(IniInteger, FollowsProfileRules) {
    struct Case {
        const char* text;
        int expected;
    };
    const Case cases[] = {
        {"42", 42},
        {"  42", 42},
        {"+42", 42},
        {"-42", -42},
        {"007", 7},
        {"$ff", 255},
        {"$FF", 255},
        {"x1F", 31},
        {"X1f", 31},
        {"0x1F", 31},
        {"0X10", 16},
        {"-$10", -16},
        {"+0x3", 3},
        {"$FFFFFFFF", -1},
        {"$80000000", -2147483647 - 1},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", -7},
        {"-2147483649", -7},
        {"$100000000", -7},
        {"99999999999999999999", -7},
        {"", -7},
        {" ", -7},
        {"-", -7},
        {"$", -7},
        {"0x", -7},
        {"12abc", -7},
        {"abc", -7},
        {"42 ", -7},
        {"\t42", -7},
        {"4 2", -7},
        {"--1", -7},
        {"$-5", -7},
        {"1.0", -7},
        {"0x0x1", -7},
        {"$g", -7},
        {"00000000000000000001", 1},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseIniInteger(c.text, -7), c.expected) << '"' << c.text << '"';
}

TEST(IniRead, FollowsProfileReadingRules) {
    struct Case {
        const char* text;
        const char* section;
        const char* key;
        const char* expected;
    };
    const Case cases[] = {
        // blanks around values and names; inner blanks stay
        {"[a]\r\nk=  v w \t\r\n", "a", "k", "v w"},
        {"[a]\r\n  k  = v\r\n", "a", "k", "v"},
        {"[a]\r\nk=v\r\n", " a ", " k ", "v"},
        {"[ a ]\r\nk=v\r\n", "a", "k", "v"},
        {"[a]\r\nk=\x1av\x1a\r\n", "a", "k", "v"},
        {"[a]\r\nk=\xA0v\r\n", "a", "k", "\xA0v"},
        // one pair of enclosing quotes, only when they match
        {"[a]\r\nk=\"v\"\r\n", "a", "k", "v"},
        {"[a]\r\nk='v'\r\n", "a", "k", "v"},
        {"[a]\r\nk= \" v \" \r\n", "a", "k", " v "},
        {"[a]\r\nk=\"\"v\"\"\r\n", "a", "k", "\"v\""},
        {"[a]\r\nk=\"v'\r\n", "a", "k", "\"v'"},
        {"[a]\r\nk=\"\r\n", "a", "k", "\""},
        {"[a]\r\nk=\"\"\r\n", "a", "k", ""},
        // missing, empty, and present without "="
        {"[a]\r\nk=\r\n", "a", "k", ""},
        {"[a]\r\nk\r\n", "a", "k", "<def>"},
        {"[a]\r\nj=1\r\n", "a", "k", "<def>"},
        {"[a]\r\nk=1\r\n", "b", "k", "<def>"},
        {"", "a", "k", "<def>"},
        // names compare ignoring ASCII case only
        {"[DAT]\r\nKEY=1\r\n", "dat", "key", "1"},
        {"[\xC4]\r\nk=1\r\n", "\xE4", "k", "<def>"},
        // the first section and the first key of a name win
        {"[a]\r\nk=1\r\nk=2\r\n", "a", "k", "1"},
        {"[a]\r\nk=1\r\n[A]\r\nk=2\r\nj=3\r\n", "a", "k", "1"},
        {"[a]\r\nk=1\r\n[A]\r\nk=2\r\nj=3\r\n", "a", "j", "<def>"},
        // line endings: CR, LF and CR LF all end a line
        {"[a]\rk=1\rj=2\r", "a", "j", "2"},
        {"[a]\nk=1\nj=2", "a", "j", "2"},
        {"[a]\nk=1\rj=2\n", "a", "k", "1"},
        // comments are keys like any other; headers and odd lines
        {"[a]\r\n;k=1\r\nk=2\r\n", "a", "k", "2"},
        {"[a]\r\n;k=1\r\n", "a", ";k", "1"},
        {"[a] junk\r\nk=1\r\n", "a", "k", "1"},
        {"[a]]\r\nk=1\r\n", "a]", "k", "1"},
        {"[a\r\nk=1\r\n", "a", "k", "<def>"},
        {"[s]\r\n[a=5\r\n", "s", "[a", "5"},
        {"k=1\r\n[a]\r\n", "", "k", "1"},
        {"[]\r\nk=1\r\n", "", "k", "<def>"},
        {"[a]\r\n=1\r\n", "a", "", "1"},
        {"\xEF\xBB\xBF[a]\r\nk=1\r\n", "a", "k", "1"},
    };
    for (const Case& c : cases) {
        IniFile ini = IniFile::Parse(c.text);
        EXPECT_EQ(ini.ReadString(c.section, c.key, "<def>"), c.expected) << c.text;
    }
    EXPECT_EQ(IniFile::Parse(std::string("[a]\r\nk=1\0002\r\n", 12)).ReadString("a", "k", ""), "1");
}

TEST(IniRead, LongValuesAreCutLikeTheProfileBuffer) {
    struct Case {
        size_t length;
        bool quoted;
        size_t expected;
    };
    // Quoted values lose their opening quote before the cut; the closing one goes only
    // when the value nearly fits, taking the last kept character with it.
    const Case cases[] = {{2046, false, 2046}, {2047, false, 2047}, {2048, false, 2047}, {100000, false, 2047},
                          {2047, true, 2045},  {2048, true, 2046},  {2049, true, 2046},  {2050, true, 2047}};
    for (const Case& c : cases) {
        std::string value(c.length, 'a');
        if (c.quoted) value.front() = value.back() = '"';
        const std::string got = IniFile::Parse("[s]\r\nk=" + value + "\r\n").ReadString("s", "k", "");
        EXPECT_EQ(got.size(), c.expected) << c.length << (c.quoted ? " quoted" : "");
        EXPECT_EQ(got.find('"'), std::string::npos);
    }
}

TEST(IniRead, IntegersAndPresence) {
    IniFile ini = IniFile::Parse("[Dat]\r\nCnt=0x3\r\nKey=\"12\"\r\nBad=12abc\r\nEmpty=\r\nNoEq\r\n");
    EXPECT_EQ(ini.ReadInteger("dat", "cnt", -1), 3);
    EXPECT_EQ(ini.ReadInteger("Dat", "Key", -1), 12);
    EXPECT_EQ(ini.ReadInteger("Dat", "Bad", -1), -1);
    EXPECT_EQ(ini.ReadInteger("Dat", "Empty", -1), -1);
    EXPECT_EQ(ini.ReadInteger("Dat", "NoEq", -1), -1);
    EXPECT_TRUE(ini.HasKey("Dat", "Empty"));
    EXPECT_FALSE(ini.HasKey("Dat", "NoEq"));
    EXPECT_TRUE(ini.HasSection("DAT"));
    EXPECT_FALSE(ini.HasSection("0"));
}

TEST(IniRead, SectionNamesInFileOrder) {
    // Duplicates stay; the keys before the first header are not a section.
    IniFile ini = IniFile::Parse("k=1\r\n[b]\r\n[ a ]\r\nx=1\r\n[B]\r\n[c] junk\r\n[d\r\n");
    EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"b", "a", "B", "c"}));
    EXPECT_TRUE(IniFile::Parse("k=1\r\n").SectionNames().empty());
}

TEST(IniWriter, WritesTheProfileLayout) {
    IniWriter writer;
    writer.Section("");  // the head section has no header
    writer.Key("head", "1");
    writer.Section("  Dat");
    writer.Key("Key", -5);
    writer.Key(" Cnt", 2147483648LL);
    writer.Section("0");
    writer.Key("Tit", "  New Item ");  // quoted: the reader would trim the blanks
    writer.Key("Prg", "");
    writer.Key("Par", "a\r\nb");  // one entry stays one line
    writer.Key("Dir", std::string("c\0d", 3));
    writer.Key("Ico", "'x'");  // quoted: the reader would drop the enclosing pair
    writer.Key("Win", "\"x");
    EXPECT_EQ(writer.Text(),
              "head=1\r\n[Dat]\r\nKey=-5\r\nCnt=2147483648\r\n[0]\r\nTit=\"  New Item \"\r\nPrg=\r\nPar=a  b\r\n"
              "Dir=c\r\nIco=\"'x'\"\r\nWin=\"x\r\n");
}

// Values with blanks and quotes at either end, in every combination the reader changes.
static std::string Blanked(int s, int k) {
    const std::string ends[] = {"", " ", "\t", "\"", "'"};
    const std::string& head = ends[static_cast<size_t>(k)];
    const std::string& tail = ends[static_cast<size_t>((s + k) % 5)];
    return head + "#|v" + std::to_string(s * k) + tail;
}

TEST(IniWriter, ParsesBackToTheValuesWritten) {
    IniWriter writer;
    for (int s = 0; s < 50; ++s) {
        writer.Section(s == 0 ? "Dat" : std::to_string(s - 1));
        for (int k = 0; k < 5; ++k) {
            writer.Key("K" + std::to_string(k), Blanked(s, k));
        }
    }
    const IniFile ini = IniFile::Parse(writer.Text());
    for (int s = 0; s < 50; ++s)
        for (int k = 0; k < 5; ++k)
            EXPECT_EQ(ini.ReadString(s == 0 ? "dat" : std::to_string(s - 1), "k" + std::to_string(k), "<def>"),
                      Blanked(s, k));
    EXPECT_EQ(ini.SectionNames().size(), 50u);
}

TEST(IniParse, LargeInputsStayLinear) {
    // 100,000 sections of 8 keys and one section of 200,000 keys: quadratic lookups or
    // per-line rescans would take minutes here.
    std::string text;
    text.reserve(40u << 20);
    for (int s = 0; s < 100000; ++s) {
        text += "[" + std::to_string(s) + "]\r\n";
        for (const char* key : {"Tit", "Art", "Prg", "Par", "Dir", "Win", "Ico", "Idx"}) {
            text += key;
            text += "=x\r";  // CR-only lines
        }
    }
    text += "[big]\n";
    for (int k = 0; k < 200000; ++k) text += "k" + std::to_string(k) + "=" + std::to_string(k) + "\n";
    const auto start = std::chrono::steady_clock::now();
    IniFile ini = IniFile::Parse(text);
    long long sum = 0;
    for (int s = 0; s < 100000; s += 7)
        sum += static_cast<long long>(ini.ReadString(std::to_string(s), "idx", "").size());
    for (int k = 0; k < 200000; k += 3) sum += ini.ReadInteger("big", "K" + std::to_string(k), 0) == k;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(sum, (100000 + 6) / 7 + (200000 + 2) / 3);
    EXPECT_LT(seconds, 20.0);
}
