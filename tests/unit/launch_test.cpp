#include <gtest/gtest.h>

#include "core/launch.h"

using namespace kestrin;

TEST(ExeDrive, TakesDriveLetterOrShare) {
    struct Case {
        const char* path;
        const char* drive;
    };
    const Case cases[] = {
        {"E:\\Launcher\\launcher.exe", "E:"},
        {"c:", "c:"},
        {"\\\\server\\share\\dir\\launcher.exe", "\\\\server\\share"},
        {"\\\\server\\share", "\\\\server\\share"},  // no backslash after the share: all of it
        {"\\\\server", "\\\\server"},
        {"launcher.exe", ""},
        {"\\dir\\launcher.exe", ""},
        {"E", ""},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ExeDrive(c.path), c.drive) << c.path;
}

TEST(ExpandDrive, ReplacesEveryPlaceholderInAnyCase) {
    struct Case {
        const char* text;
        const char* drive;
        const char* expanded;
    };
    const Case cases[] = {
        {"%usb%\\Apps\\tool.exe", "E:", "E:\\Apps\\tool.exe"},
        {"%USB%\\Apps\\tool.exe", "E:", "E:\\Apps\\tool.exe"},
        {"%Usb%\\a;%uSB%\\b", "E:", "E:\\a;E:\\b"},
        {"%usb%", "\\\\srv\\share", "\\\\srv\\share"},
        {"%%usb%%", "E:", "%E:%"},
        {"%us", "E:", "%us"},
        {"%usb", "E:", "%usb"},
        // Inserted text is not scanned again.
        {"%usb%usb%", "%", "%usb%"},
        {"no placeholder", "E:", "no placeholder"},
        {"%usb%", "", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ExpandDrive(c.text, c.drive), c.expanded) << c.text;
}

TEST(ComposeLaunch, ExpandsAndQuotesTheRightFields) {
    Item item;
    item.command = "|%usb%\\Program Files\\App\\app.exe|";
    item.parameters = "|%usb%\\doc one.txt| -x";
    item.directory = "|%USB%\\work|";
    LaunchRequest r = ComposeLaunch(item, "E:");
    EXPECT_TRUE(r.launch);
    EXPECT_EQ(r.file, "\"E:\\Program Files\\App\\app.exe\"");
    // Parameters get pipe quoting only, never drive expansion.
    EXPECT_EQ(r.parameters, "\"%usb%\\doc one.txt\" -x");
    EXPECT_TRUE(r.hasDirectory);
    EXPECT_EQ(r.directory, "\"E:\\work\"");
    EXPECT_EQ(r.show, WindowShow::Normal);
}

TEST(ComposeLaunch, EmptyFields) {
    Item item;
    item.parameters = "-x";
    item.directory = "C:\\";
    EXPECT_FALSE(ComposeLaunch(item, "E:").launch);

    item.command = "C:\\Windows";
    item.parameters.clear();
    item.directory.clear();
    LaunchRequest r = ComposeLaunch(item, "E:");
    EXPECT_TRUE(r.launch);
    EXPECT_EQ(r.parameters, "");
    EXPECT_FALSE(r.hasDirectory);

    item.directory = "%usb%";
    r = ComposeLaunch(item, "E:");
    EXPECT_TRUE(r.hasDirectory);
    EXPECT_EQ(r.directory, "E:");
}

TEST(ComposeLaunch, WindowShowFromShowState) {
    // Unknown states show the window normally, never hidden.
    struct Case {
        int showState;
        WindowShow show;
    };
    const Case cases[] = {
        {0, WindowShow::Normal}, {1, WindowShow::Maximized}, {2, WindowShow::Minimized},
        {3, WindowShow::Normal}, {255, WindowShow::Normal},
    };
    for (const Case& c : cases) {
        Item item;
        item.command = "a.exe";
        item.showState = LowByte(c.showState);
        EXPECT_EQ(ComposeLaunch(item, "E:").show, c.show) << c.showState;
    }
}
