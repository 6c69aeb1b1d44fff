// Feeds the same INI files to Kestrin's engine and to the platform's private-profile functions
// and requires identical reads, and requires Kestrin's save to match the same items written key
// by key through the platform. Prints one PASS or FAIL line per group. Differences that are
// Kestrin's on purpose are kept out of the inputs:
//  - a line break inside a saved value: the platform writes it raw and so splits the entry
//    (and can forge sections); Kestrin writes a space. Saved texts hold no line breaks.
//  - NUL bytes are not generated: they cannot reach the platform's functions in a name or
//    value, and in a file both sides read up to them.
#include <windows.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "core/config.h"
#include "core/file_system.h"
#include "core/ini.h"
#include "core/outline.h"
#include "tests/wine/profile_items.h"

using namespace kestrin;

namespace {

std::string gDir;
int gFileNumber = 0;

// Every case gets a file name of its own: the platform caches parsed files by name.
std::string NewPath(const char* prefix) {
    char name[64];
    std::snprintf(name, sizeof name, "%s%06d.ini", prefix, gFileNumber++);
    return gDir + name;
}

void PutFile(const std::string& path, const std::string& data) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    std::fwrite(data.data(), 1, data.size(), f);
    std::fclose(f);
}

bool GetFile(const std::string& path, std::string& data) {
    data.clear();
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) data.append(buffer, n);
    std::fclose(f);
    return true;
}

std::string Visible(const std::string& text, size_t max = 160) {
    std::string out;
    for (unsigned char c : text.substr(0, max)) {
        if (c >= 32 && c < 127) out += static_cast<char>(c);
        else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        }
    }
    if (text.size() > max) out += "...(" + std::to_string(text.size()) + ")";
    return out;
}

std::string ProfileRead(const std::string& path, const std::string& section, const std::string& key) {
    std::vector<char> buffer(2048, '\0');
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "<def>", buffer.data(), 2048, path.c_str());
    return buffer.data();
}

struct Group {
    explicit Group(const char* groupName) : name(groupName) {}
    const char* name;
    int cases = 0;
    std::string failure;
    void Fail(const std::string& why) {
        if (failure.empty()) failure = why;
    }
    bool Report() const {
        if (failure.empty()) std::printf("PASS %s (%d cases)\n", name, cases);
        else std::printf("FAIL %s: %s\n", name, failure.c_str());
        std::fflush(stdout);
        return failure.empty();
    }
};

struct Query {
    std::string section, key;
};

void CompareRead(Group& group, const std::string& text, const std::vector<Query>& queries) {
    const std::string path = NewPath("r");
    PutFile(path, text);
    const IniFile ini = IniFile::Parse(text);
    for (const Query& q : queries) {
        const std::string expected = ProfileRead(path, q.section, q.key);
        const std::string got = ini.ReadString(q.section, q.key, "<def>");
        if (got != expected)
            group.Fail("file \"" + Visible(text) + "\" [" + Visible(q.section) + "] " + Visible(q.key) +
                       ": profile \"" + Visible(expected) + "\", kestrin \"" + Visible(got) + "\"");
    }
    DeleteFileA(path.c_str());
    ++group.cases;
}

std::vector<Query> AllQueries(const std::vector<std::string>& sections, const std::vector<std::string>& keys) {
    std::vector<Query> queries;
    for (const std::string& s : sections)
        for (const std::string& k : keys) queries.push_back({s, k});
    return queries;
}

bool ReadHandPicked() {
    Group group("ini_diff.read_handpicked");
    const std::vector<std::string> sections = {"a", "A", " a ", "", "b", "a]", "s", "Dat", "\xC4", "\xE4"};
    const std::vector<std::string> keys = {"k", "K", " k ", "j", "", ";k", "[a", "Key", "Cnt"};
    const char* files[] = {
        "[a]\r\nk=  v w \t\r\n",
        "[a]\r\n  k  = v\r\n",
        "[ a ]\r\nk=v\r\n",
        "[a]\r\nk=\x1av\x1a\x0b\x0c\r\n",
        "[a]\r\nk=\xA0v\xA0\r\n",
        "[a]\r\nk=\"v\"\r\n",
        "[a]\r\nk='v'\r\n",
        "[a]\r\nk= \" v \" \r\n",
        "[a]\r\nk=\"\"v\"\"\r\n",
        "[a]\r\nk=\"v'\r\n",
        "[a]\r\nk=\"\r\n",
        "[a]\r\nk=\"\"\r\n",
        "[a]\r\nk=''\r\n",
        "[a]\r\nk=\r\n",
        "[a]\r\nk\r\n",
        "[a]\r\nk = \r\n",
        "",
        "\r\n\r\n",
        "[DAT]\r\nKEY=1\r\nCNT=2\r\n",
        "[\xC4]\r\nk=1\r\n",
        "[\xE4]\r\nk=\xE4\xC4\r\n",
        "[a]\r\nk=1\r\nk=2\r\nK=3\r\n",
        "[a]\r\nk=1\r\n[A]\r\nk=2\r\nj=3\r\n",
        "[a]\r\nj=0\r\n[b]\r\n[A]\r\nk=2\r\n",
        "[a]\rk=1\rj=2\r",
        "[a]\nk=1\nj=2",
        "[a]\nk=1\rj=2\n",
        "[a]\r\r\nk=1\n\rj=2",
        "[a]\r\n;k=1\r\nk=2\r\n",
        "[a]\r\n;k=1\r\n",
        "[a]\r\n# k=1\r\nk=2\r\n",
        "[a] junk\r\nk=1\r\n",
        "[a]]\r\nk=1\r\n",
        "[a\r\nk=1\r\n",
        "[s]\r\n[a=5\r\n",
        "k=1\r\n[a]\r\n",
        "[]\r\nk=1\r\n",
        "[a]\r\n=1\r\n=2\r\n",
        "[a]\r\n=\r\nk=1\r\n",
        "\xEF\xBB\xBF[a]\r\nk=1\r\n",
        "[a]\r\n  \t [b]\r\nk=1\r\n",
        "[a]\r\nk==v=\r\n",
        "[a]\r\nk= =v\r\n",
        "[Dat]\r\nKey=24614\r\nCnt=0x3\r\n",
        "[a]\r\n\tk\t=\t\"\tq\t\"\t\r\n",
        "[a]\r\nk=v\x1a",
        "[ ]\r\nk=1\r\n",
        "[a]\r\n[a]\r\nk=1\r\n",
        "[a]\r\n[b]\r\nk=1\r\n[a]\r\nk=2\r\n",
    };
    for (const char* text : files) CompareRead(group, text, AllQueries(sections, keys));

    // Values around the 2047-character cut, plain and quoted.
    for (size_t length = 2040; length <= 2056; ++length)
        for (char quote : {'\0', '"', '\''}) {
            std::string value(length, 'x');
            value[length / 2] = ' ';
            if (quote) value.front() = value.back() = quote;
            CompareRead(group, "[a]\r\nk=" + value + "\r\n", {{"a", "k"}});
        }
    CompareRead(group, "[a]\r\nk=" + std::string(1 << 20, 'y') + "\r\n", {{"a", "k"}});
    return group.Report();
}

// Random files from pieces that exercise every rule: odd blanks, quotes, duplicates,
// comments, lines without "=", every line ending, long values, non-ASCII bytes.
bool ReadGenerated(int count) {
    Group group("ini_diff.read_generated");
    std::mt19937 random(20240611u);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const char* blanks[] = {"", "", " ", "  ", "\t", " \t ", "\x0b", "\x0c", "\x1a"};
    const char* endings[] = {"\r\n", "\r\n", "\r\n", "\n", "\r", "\r\n\r\n", "\n\n"};
    const char* sectionNames[] = {"s1", "S1", "s2", "s3", "Dat", "0", "1", "", "\xC9t\xE9", "\xE9T\xC9"};
    const char* keyNames[] = {"k1", "K1", "k2", "k3", "Tit", "Cnt", ";k1", "#k2", "", "[s2", "\xFCk"};
    auto value = [&]() {
        std::string v;
        switch (pick(8)) {
        case 0: break;
        case 1: v = std::string(static_cast<size_t>(2030 + pick(40)), 'L'); break;
        case 2: v = "\"" + std::to_string(pick(1000)) + "\""; break;
        case 3: v = "'" + std::string(blanks[pick(9)]) + "q" + blanks[pick(9)] + "'"; break;
        case 4: v = "\"mismatch'"; break;
        default:
            for (int i = pick(12); i >= 0; --i) {
                const int kind = pick(6);
                if (kind == 0) v += static_cast<char>(0x80 + pick(128));
                else if (kind == 1) v += blanks[pick(9)];
                else if (kind == 2) v += "=[]";
                else v += static_cast<char>('a' + pick(26));
            }
        }
        return v;
    };
    for (int c = 0; c < count; ++c) {
        std::string text;
        for (int line = pick(25); line >= 0; --line) {
            text += blanks[pick(9)];
            switch (pick(7)) {
            case 0:
                text += "[" + std::string(blanks[pick(9)]) + sectionNames[pick(10)] + blanks[pick(9)] +
                        (pick(8) ? "]" : "") + (pick(6) ? "" : " tail]x");
                break;
            case 1: text += keyNames[pick(11)]; break;  // no "="
            case 2: text += ";" + value(); break;
            default:
                text += keyNames[pick(11)];
                text += blanks[pick(9)];
                text += "=";
                text += blanks[pick(9)];
                text += value();
            }
            text += blanks[pick(9)];
            text += endings[pick(7)];
        }
        if (pick(4) == 0) text.resize(text.size() - 1);  // no final line ending
        std::vector<std::string> sections(std::begin(sectionNames), std::end(sectionNames));
        sections.push_back(" s1 ");
        std::vector<std::string> keys(std::begin(keyNames), std::end(keyNames));
        keys.push_back("\tk1 ");
        CompareRead(group, text, AllQueries(sections, keys));
    }
    return group.Report();
}

// A file as a re-read sees its layout: every line without its surrounding blanks, blank
// lines dropped. The profile functions keep a written value's trailing blanks only until
// their next re-read, so key-by-key writes leave them on some lines and not on others.
std::string ReadLayout(const std::string& text) {
    std::string out;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        size_t begin = pos;
        while (begin < end && IsIniBlank(text[begin])) ++begin;
        size_t cut = end;
        while (cut > begin && IsIniBlank(text[cut - 1])) --cut;
        if (cut > begin) out.append(text, begin, cut - begin).append("\r\n");
        pos = end + 1;
    }
    return out;
}

// The whole configuration: a save through Kestrin gives, line for line, what the per-key
// profile writes give for the same tree, and a load gives the items the per-key profile
// reads give.
bool ConfigAgainstProfile() {
    Group group("ini_diff.config_save_load");
    std::mt19937 random(5u);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const char* texts[] = {"",
                           "plain",
                           "  lead",
                           "trail  ",
                           "\"quoted\"",
                           "'single'",
                           "C:\\Program Files\\x.exe",
                           "|C:\\My Notes\\list.txt|",
                           "%usb%\\Tools",
                           "\xC4pfel \xFC",
                           "a=b",
                           "#|hash"};
    for (int round = 0; round < 8; ++round) {
        ItemStore store;
        Tree tree;
        NodeId previous = kNoNode;
        for (int i = 0, n = 1 + pick(40); i < n; ++i) {
            Item item;
            item.kind = LowByte(pick(3));
            item.command = texts[pick(12)];
            item.parameters = texts[pick(12)];
            item.directory = texts[pick(12)];
            item.showState = LowByte(pick(4));
            item.iconFile = texts[pick(12)];
            item.iconIndex = LowByte(pick(300));
            const int slot = store.items.Append(item);
            std::string title = texts[pick(12)];
            if (previous == kNoNode || pick(3) == 0) previous = tree.AddRoot(title, slot);
            else if (pick(2)) previous = tree.AddChild(previous, title, slot);
            else previous = tree.AddChild(tree.Parent(previous), title, slot);  // right after it
        }
        const std::uint16_t hotkey = static_cast<std::uint16_t>(pick(65536));

        const std::string ours = NewPath("c");
        SaveItems(Win32FileSystem(), ours, store, tree, hotkey);
        const std::string theirs = NewPath("p");
        WriteProfileItems(theirs.c_str(), store, tree, hotkey);
        std::string ourText, theirText;
        GetFile(ours, ourText);
        GetFile(theirs, theirText);
        if (ReadLayout(theirText) != ReadLayout(ourText))
            group.Fail("saved files differ: profile \"" + Visible(theirText, 600) + "\", kestrin \"" +
                       Visible(ourText, 600) + "\"");

        ItemStore loaded;
        Tree loadedTree;
        int loadedHotkey = -1;
        try {
            LoadItems(Win32FileSystem(), theirs, loaded, loadedTree, [&](int v) { loadedHotkey = v; });
        } catch (const KestrinError& e) {
            // A title that begins with blanks below the top level is read as deeper levels;
            // the items are complete all the same.
            if (std::string(e.what()).rfind("Invalid level", 0) != 0)
                group.Fail(std::string("load failed: ") + e.what());
        }
        if (loadedHotkey != hotkey) group.Fail("hotkey differs");
        for (int k = 0; k < loaded.items.Count(); ++k) {
            const std::string s = std::to_string(k);
            const Item& item = loaded.items.At(k);
            const std::pair<const char*, std::string> fields[] = {
                {"Tit", EncodeTitle(loaded.outline[static_cast<size_t>(k)])},
                {"Prg", item.command},
                {"Par", item.parameters},
                {"Dir", item.directory},
                {"Ico", item.iconFile}};
            for (const auto& field : fields) {
                std::string expected = ProfileRead(theirs, s, field.first);
                if (expected == "<def>") expected = std::string(field.first) == "Tit" ? "New Item" : "";
                if (expected != field.second)
                    group.Fail("item " + s + " " + field.first + ": profile \"" + Visible(expected) + "\", kestrin \"" +
                               Visible(field.second) + "\"");
            }
        }
        DeleteFileA(ours.c_str());
        DeleteFileA(theirs.c_str());
        ++group.cases;
    }
    return group.Report();
}

bool AtomicReplace() {
    Group group("ini_diff.atomic_replace");
    const std::string path = NewPath("a");
    PutFile(path, "[Dat]\r\nCnt=0\r\n");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    ItemStore store;
    Tree tree;
    tree.AddRoot("x", store.items.Append());
    store.outline = {"old"};
    try {
        SaveItems(Win32FileSystem(), path, store, tree, 0);
        group.Fail("a read-only file was replaced");
    } catch (const KestrinError& e) {
        if (std::string(e.what()) != "Unable to write to " + path) group.Fail(std::string("message: ") + e.what());
    }
    std::string after;
    GetFile(path, after);
    if (after != "[Dat]\r\nCnt=0\r\n") group.Fail("old file changed: " + Visible(after));
    if (store.outline != OutlineList{"old"}) group.Fail("outline replaced after a failed save");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    SaveItems(Win32FileSystem(), path, store, tree, 0);
    GetFile(path, after);
    if (after !=
        "[Dat]\r\nKey=0\r\nCnt=1\r\n[0]\r\nTit=x\r\nArt=0\r\nPrg=\r\nPar=\r\nDir=\r\nWin=0\r\nIco=\r\nIdx=0\r\n")
        group.Fail("saved text: " + Visible(after, 400));
    // No temporary file may be left beside the ConfigFile.
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + ".~*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        group.Fail(std::string("left behind: ") + found.cFileName);
        FindClose(search);
    }
    if (Win32FileSystem().IsFile(gDir)) group.Fail("a folder counts as a file");
    if (!Win32FileSystem().IsFile(path)) group.Fail("the saved file is not seen");
    DeleteFileA(path.c_str());
    group.cases = 1;
    return group.Report();
}

}  // namespace

int main() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    gDir = std::string(temp) + "kestrin-ini-diff-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(gDir.c_str(), nullptr);
    bool ok = true;
    ok &= ReadHandPicked();
    ok &= ReadGenerated(300);
    ok &= ConfigAgainstProfile();
    ok &= AtomicReplace();
    RemoveDirectoryA(gDir.c_str());
    return ok ? 0 : 1;
}
