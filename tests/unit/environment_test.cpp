#include <gtest/gtest.h>

#include <map>

#include "core/environment.h"
#include "core/launch.h"
#include "core/launcher_menu.h"

using namespace kestrin;

namespace {

// Names compare without case, as Windows looks them up.
EnvironmentLookup FakeEnvironment() {
    return [](std::string_view name) -> std::optional<std::string> {
        static const std::map<std::string, std::string> vars = {
            {"WINDIR", "C:\\Windows"}, {"EMPTY", ""}, {"LOOP", "%WINDIR%"}, {"USB", "X:"}};
        std::string upper(name);
        for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        const auto found = vars.find(upper);
        if (found == vars.end()) return std::nullopt;
        return found->second;
    };
}

}  // namespace

TEST(ExpandEnvironment, KnownNamesOnlyAndNothingRescanned) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"%windir%\\notepad.exe", "C:\\Windows\\notepad.exe"},
        {"%NOPE%\\x", "%NOPE%\\x"},
        {"%NOPE%WINDIR%", "%NOPE%WINDIR%"},  // the unknown name keeps its closing '%'
        {"a%%b", "a%%b"},
        {"50% off", "50% off"},
        {"%EMPTY%x", "x"},
        {"%LOOP%", "%WINDIR%"},
        {"%WINDIR%%WINDIR%", "C:\\WindowsC:\\Windows"},
        {"\x83%WINDIR%",
         "\x83"
         "C:\\Windows"},  // a lead byte before the name
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ExpandEnvironment(c.text, FakeEnvironment()), c.expected) << c.text;
    EXPECT_EQ(ExpandEnvironment("%WINDIR%", EnvironmentLookup{}), "%WINDIR%");
}

TEST(ExpandEnvironment, LaunchAndPicturesExpandDriveFirstParametersNever) {
    Item item;
    item.command = "%usb%\\%WINDIR%\\|a b|.exe";
    item.parameters = "%WINDIR% |x|";
    item.directory = "%USERPROFILE%";
    const LaunchRequest request = ComposeLaunch(item, "E:", FakeEnvironment());
    EXPECT_EQ(request.file, "E:\\C:\\Windows\\\"a b\".exe");
    EXPECT_EQ(request.parameters, "%WINDIR% \"x\"");
    EXPECT_EQ(request.directory, "%USERPROFILE%");
    // "%usb%" is the drive placeholder, never an environment variable called USB.
    EXPECT_EQ(ExpandPath("%usb%\\a", "E:", FakeEnvironment()), "E:\\a");

    ItemTable items;
    items.SetCount(2);
    items.At(0).command = "%WINDIR%\\a.exe";
    items.At(1).kind = kKindSubmenu;
    items.At(1).iconFile = "%usb%%WINDIR%\\b.ico";
    const LauncherMenu menu = BuildLauncherMenu({"A", "B", "\tC"}, items, "E:", FakeEnvironment());
    EXPECT_EQ(menu.entries[0].picture.path, "C:\\Windows\\a.exe");
    EXPECT_EQ(menu.entries[1].picture.path, "E:C:\\Windows\\b.ico");
}

TEST(LaunchVerbFor, OnlyCtrlShiftTogetherElevates) {
    EXPECT_STREQ(LaunchVerbFor(true, true), "runas");
    EXPECT_STREQ(LaunchVerbFor(true, false), "open");
    EXPECT_STREQ(LaunchVerbFor(false, true), "open");
    EXPECT_STREQ(LaunchVerbFor(false, false), "open");
}
