#include <gtest/gtest.h>

#include "settings/drop_rules.h"

using namespace kestrin;

using K = DroppedThing::Kind;

TEST(DroppedTitle, NameWithoutExtensionFolderWholeDriveLabelOrLetter) {
    struct Case {
        K kind;
        const char* path;
        const char* label;
        const char* expected;
    };
    const Case cases[] = {
        {K::File, "C:\\Tools\\putty.exe", "", "putty"},
        {K::File, "C:\\a.b\\archive.tar.gz", "", "archive.tar"},
        {K::File, "C:\\Tools\\README", "", "README"},
        {K::File, "C:\\home\\.profile", "", ".profile"},
        {K::Shortcut, "C:\\Users\\x\\Desktop\\My Editor.lnk", "", "My Editor"},
        {K::InternetShortcut, "\\\\srv\\share\\Home page.url", "", "Home page"},
        {K::Folder, "D:\\Photos 2024.v2", "", "Photos 2024.v2"},
        {K::Folder, "D:\\Music\\", "", "Music"},
        {K::Drive, "E:\\", "STICK", "STICK"},
        {K::Drive, "E:\\", "", "E:"},
        {K::File, "C:\\\x83\\x.txt", "", "x"},  // '\' as a trail byte is not a folder mark
    };
    for (const Case& c : cases) {
        DroppedThing thing{c.kind, c.path, c.label};
        EXPECT_EQ(DroppedTitle(thing), c.expected) << c.path;
    }
}

TEST(FileKindOf, ShortcutsByExtensionInAnyCase) {
    EXPECT_EQ(FileKindOf("C:\\a\\b.LNK"), K::Shortcut);
    EXPECT_EQ(FileKindOf("C:\\a\\b.Url"), K::InternetShortcut);
    EXPECT_EQ(FileKindOf("C:\\a.lnk\\b"), K::File);
    EXPECT_EQ(FileKindOf("C:\\a\\b.lnk2"), K::File);
}

TEST(TravellingPath, OnlyKestrinsOwnNonWindowsDrive) {
    struct Case {
        const char* exe;
        const char* windows;
        const char* path;
        const char* expected;
    };
    const Case cases[] = {
        {"E:", "C:", "E:\\Apps\\a.exe", "%usb%\\Apps\\a.exe"},
        {"E:", "C:", "e:\\Apps\\a.exe", "%usb%\\Apps\\a.exe"},
        {"E:", "C:", "C:\\Windows\\a.exe", "C:\\Windows\\a.exe"},
        {"C:", "C:", "C:\\Apps\\a.exe", "C:\\Apps\\a.exe"},  // Kestrin on the Windows drive
        {"c:", "C:\\", "C:\\Apps\\a.exe", "C:\\Apps\\a.exe"},
        {"\\\\srv\\share", "C:", "\\\\srv\\share\\a.exe", "\\\\srv\\share\\a.exe"},
        {"E:", "C:", "https://example.org/", "https://example.org/"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TravellingPath(c.path, TravellingDrive(c.exe, c.windows)), c.expected) << c.exe << " " << c.path;
}

TEST(DroppedItem, ShortcutFieldsOrTheShortcutItself) {
    const DroppedThing link{K::Shortcut, "E:\\Links\\Tool.lnk", ""};
    ShortcutFields fields;
    fields.resolved = true;
    fields.target = "E:\\Apps\\tool.exe";
    fields.arguments = "/open \"a b.txt\"";
    fields.workingDirectory = "E:\\Apps";
    fields.showCommand = 3;
    fields.iconLocation = "C:\\Windows\\system32\\shell32.dll";
    fields.iconIndex = 41;
    Item item = DroppedItem(link, fields, "E:");
    EXPECT_EQ(item.kind, kKindProgram);
    EXPECT_EQ(item.command, "%usb%\\Apps\\tool.exe");
    EXPECT_EQ(item.parameters, "/open |a b.txt|");
    EXPECT_EQ(item.directory, "%usb%\\Apps");
    EXPECT_EQ(item.showState, kShowMaximized);
    EXPECT_EQ(item.iconFile, "C:\\Windows\\system32\\shell32.dll");
    EXPECT_EQ(item.iconIndex, 41);

    struct ShowCase {
        int command;
        std::uint8_t state;
    };
    for (const ShowCase& c : {ShowCase{1, kShowNormal}, ShowCase{7, kShowMinimized}, ShowCase{2, kShowMinimized},
                              ShowCase{0, kShowNormal}}) {
        fields.showCommand = c.command;
        EXPECT_EQ(DroppedItem(link, fields, "").showState, c.state) << c.command;
    }

    fields.iconIndex = -3;  // a resource id: no index the field can hold
    item = DroppedItem(link, fields, "");
    EXPECT_EQ(item.iconFile, "");
    EXPECT_EQ(item.iconIndex, 0);

    fields.resolved = false;
    item = DroppedItem(link, fields, "E:");
    EXPECT_EQ(item.command, "%usb%\\Links\\Tool.lnk");
    EXPECT_EQ(item.parameters, "");
    EXPECT_EQ(DroppedItem(DroppedThing{K::Folder, "D:\\Music", ""}, std::nullopt, "E:").command, "D:\\Music");
}
