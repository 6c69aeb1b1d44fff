#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/tray_icon.h"

using namespace kestrin;

TEST(TrayTipText, CutsToTheTipField) {
    const std::string longHint(200, 'h');
    EXPECT_EQ(TrayTipText(longHint), std::string(127, 'h'));
    EXPECT_EQ(TrayTipText(std::string(127, 'a')).size(), 127u);
    EXPECT_EQ(TrayTipText("Kestrin 3.1"), "Kestrin 3.1");
    EXPECT_EQ(TrayTipText(""), "");
}

TEST(TrayClickDetector, ReactsAsTheLauncherNeeds) {
    using M = TrayMouse;
    struct Case {
        const char* name;
        std::vector<TrayMouse> messages;
        int clicks;
        int menus;
    };
    const Case cases[] = {
        {"click fires on release", {M::Other, M::LeftDown, M::LeftUp}, 1, 0},
        {"press alone does nothing yet", {M::LeftDown}, 0, 0},
        {"release without press is no click", {M::LeftUp}, 0, 0},
        {"double click shows the launcher once", {M::LeftDown, M::LeftUp, M::LeftDoubleClick, M::LeftUp}, 1, 0},
        {"two separate clicks are two", {M::LeftDown, M::LeftUp, M::LeftDown, M::LeftUp}, 2, 0},
        {"right press opens the menu at once", {M::RightDown}, 0, 1},
        {"a right press between press and release keeps the click", {M::LeftDown, M::RightDown, M::LeftUp}, 1, 1},
        {"other messages do nothing", {M::Other, M::Other}, 0, 0},
    };
    for (const Case& c : cases) {
        TrayClickDetector detector;
        int clicks = 0, menus = 0;
        for (TrayMouse message : c.messages) {
            const TrayReaction r = detector.OnMouse(message);
            clicks += r.click;
            menus += r.openContextMenu;
        }
        EXPECT_EQ(clicks, c.clicks) << c.name;
        EXPECT_EQ(menus, c.menus) << c.name;
    }
}
