#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "settings/icon_picker.h"
#include "settings/path_rules.h"

using namespace kestrin;

TEST(DriveToPlaceholder, RewritesOnlyADriveLetterPath) {
    struct Case {
        const char* text;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"D:\\Tools\\run.exe", "%usb%\\Tools\\run.exe"},
        {"C:\\Program Files\\App\\app.exe", "%usb%\\Program Files\\App\\app.exe"},
        {"C:", "%usb%"},
        {"1:abc", "%usb%abc"},  // the first character is not checked
        {"%usb%\\Tools\\run.exe", std::nullopt},
        {"\\\\server\\share\\app.exe", std::nullopt},
        {"app.exe", std::nullopt},
        {"C", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(DriveToPlaceholder(c.text), c.expected) << c.text;
    // A second press changes nothing.
    EXPECT_EQ(DriveToPlaceholder(*DriveToPlaceholder("E:\\x")), std::nullopt);
}

TEST(FolderPartOf, CutsAfterTheLastBackslashOrColon) {
    EXPECT_EQ(FolderPartOf("E:\\Tools\\run.exe"), "E:\\Tools\\");
    EXPECT_EQ(FolderPartOf("E:run.exe"), "E:");
    EXPECT_EQ(FolderPartOf("run.exe"), "");
    EXPECT_EQ(FolderPartOf("\\\\server\\share\\app.exe"), "\\\\server\\share\\");
    EXPECT_EQ(FolderPartOf("E:\\Tools\\"), "E:\\Tools\\");
    EXPECT_EQ(FolderPartOf("|C:\\My Apps\\a b.exe|"), "|C:\\My Apps\\");
}

TEST(FileDialogStartFor, ProposesOnlyNamesTheDialogAccepts) {
    struct Case {
        const char* field;  // expanded
        bool isFolder;
        const char* initialDir;
        std::optional<std::string> fileName;
    };
    const Case cases[] = {
        {"E:\\Tools\\run.exe", false, "E:\\Tools\\", "run.exe"},
        {"|C:\\Program Files\\App\\app.exe|", false, "C:\\Program Files\\App\\", "app.exe"},
        {" \"C:\\My Apps\\a b.exe\" ", false, "C:\\My Apps\\", "a b.exe"},
        {"C:/Tools/run.exe", false, "C:/Tools/", "run.exe"},
        {"https://www.kestrin.example/a.exe", false, "", ""},  // no name, the folder as it was
        {"E:\\Tools\\r<u>n.exe", false, "", ""},
        {"E:\\Tools", true, "E:\\Tools", std::nullopt},  // the dialog's last name stays
        {"E:\\Gone\\", false, "E:\\Gone\\", std::nullopt},
    };
    for (const Case& c : cases) {
        const FileDialogStart start = FileDialogStartFor(FileDialogPath(c.field), c.isFolder);
        EXPECT_EQ(start.initialDir, c.initialDir) << c.field;
        EXPECT_EQ(start.fileName, c.fileName) << c.field;
    }
}

TEST(ExportFileName, ReplacesWhatNoFileNameHolds) {
    struct Case {
        const char* title;
        const char* name;
    };
    const Case cases[] = {
        {"&Tools", "&Tools"},
        {"a\\b/c:d*e?f\"g<h>i|j", "a_b_c_d_e_f_g_h_i_j"},
        {"C\tF#", "C_F#"},  // a "#|" inside a stored title reads as a TAB
        {"Version 2. . ", "Version 2"},
        {"...", ""},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ExportFileName(c.title), c.name) << c.title;
}

TEST(IsSameFilePath, IgnoresLetterCaseAndSlashDirection) {
    const char* config = "K:\\Tools\\kestrin.ini";
    EXPECT_TRUE(IsSameFilePath(config, "k:\\TOOLS\\Kestrin.INI"));
    EXPECT_TRUE(IsSameFilePath(config, "K:/Tools/kestrin.ini"));
    EXPECT_FALSE(IsSameFilePath(config, "K:\\Tools\\kestrin.ini.set"));
    EXPECT_FALSE(IsSameFilePath(config, "K:\\Tools\\kestrin.inj"));
}

TEST(ProgramFolderForDialogs, DropsTheTrailingBackslash) {
    EXPECT_EQ(ProgramFolderForDialogs("E:\\Tools\\kestrin.exe"), "E:\\Tools");
    EXPECT_EQ(ProgramFolderForDialogs("E:\\kestrin.exe"), "E:");
    EXPECT_EQ(ProgramFolderForDialogs("\\\\server\\share\\kestrin.exe"), "\\\\server\\share");
}

TEST(HomePageAddress, AppendsThePageToTheLabel) {
    EXPECT_EQ(HomePageAddress("www.kestrin.example"), "www.kestrin.example/tray-launcher/");
}

TEST(IconPickerFile, ChoosesAndResolvesTheFile) {
    const char* folder = "E:\\Tools\\";
    struct Case {
        const char* iconFile;
        const char* command;
        const char* expected;
    };
    const Case cases[] = {
        {"icons\\app.ico", "x.exe", "E:\\Tools\\icons\\app.ico"},
        {"%usb%\\Icons\\app.ico", "", "E:\\Icons\\app.ico"},
        {"%USB%\\Icons\\app.ico", "", "E:\\Tools\\%USB%\\Icons\\app.ico"},  // only lower case marks it
        {"shell32.dll", "", "E:\\Tools\\shell32.dll"},
        {"\\\\server\\share\\app.ico", "", "\\\\server\\share\\app.ico"},  // a network path stays whole
        {"\\server.ico", "", "E:\\Tools\\\\server.ico"},                   // one backslash is relative
        {"C:\\Icons\\a.ico", "", "C:\\Icons\\a.ico"},
        {"C:\\%usb%\\%USB%", "", "C:\\E:\\E:"},  // with a marker, every case is expanded
        {"", "%usb%\\Tools\\run.exe", "E:\\Tools\\run.exe"},
        {"", "run.exe", "run.exe"},  // the Command is never made relative
        {"", "|C:\\Program Files\\App\\app.exe|", "|C:\\Program Files\\App\\app.exe|"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IconPickerFile(c.iconFile, c.command, folder, "E:"), c.expected) << c.iconFile;
}

TEST(IconPicker, StoredIndexBecomesTheSelection) {
    struct Case {
        int count, stored, expected;
    };
    const Case cases[] = {
        {10, 3, 3},  {10, 0, 0}, {10, 9, 9}, {10, 10, 0}, {10, 25, 0}, {10, -1, -1},
        {10, -2, 0}, {1, 7, 0},  {0, 0, -1}, {0, -1, -1}, {0, 5, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PresetSelection(c.count, c.stored), c.expected) << c.count << " icons, index " << c.stored;
}

TEST(IconPicker, AnEmptyListWritesNothingBack) {
    EXPECT_EQ(PickedIconIndex(0, -1), std::nullopt);
    EXPECT_EQ(PickedIconIndex(-1, -1), std::nullopt);
    EXPECT_EQ(PickedIconIndex(10, 3), 3);
    EXPECT_EQ(PickedIconIndex(10, -1), -1);  // with icons, no selection is still written
}

TEST(IconPicker, CellsAreTheLargeIconPlusMarginWithTheIconCentred) {
    const CellSize cell = IconCellSize(32, 32);
    EXPECT_EQ(cell.width, 37);
    EXPECT_EQ(cell.height, 37);
    const Offset offset = CentredIconOffset(cell, 32, 32);
    EXPECT_EQ(offset.x, 2);  // 5 / 2 rounded toward zero
    EXPECT_EQ(offset.y, 2);
    const Offset big = CentredIconOffset(cell, 48, 40);
    EXPECT_EQ(big.x, -5);  // (37 - 48) / 2 rounds toward zero
    EXPECT_EQ(big.y, -1);
}
