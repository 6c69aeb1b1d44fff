#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/tray_icon.h"

using namespace kestrin;

TEST(TrayTipText, CutsToTheTipFieldAndHonoursShowHint) {
    const std::string longHint(200, 'h');
    EXPECT_EQ(TrayTipText(longHint, true), std::string(127, 'h'));
    EXPECT_EQ(TrayTipText(std::string(127, 'a'), true).size(), 127u);
    EXPECT_EQ(TrayTipText("Kestrin 3.1", true), "Kestrin 3.1");
    EXPECT_EQ(TrayTipText("Kestrin 3.1", false), "");
    EXPECT_EQ(TrayTipText("", true), "");
}

namespace {

// Feeds a sequence of shell mouse messages and counts what the icon does.
struct Outcome {
    int clicks = 0;
    int menus = 0;
    int doubleClicks = 0;
    int defaultItems = 0;
    int timers = 0;
};

Outcome Feed(TrayClickDetector& detector, const std::vector<unsigned>& messages, const TrayClickSetup& setup) {
    Outcome outcome;
    for (unsigned message : messages) {
        const TrayReaction r = detector.OnMouse(message, setup);
        outcome.clicks += r.click;
        outcome.menus += r.openMenu;
        outcome.doubleClicks += r.doubleClick;
        outcome.defaultItems += r.clickDefaultItem;
        outcome.timers += r.startClickTimer;
    }
    return outcome;
}

TrayClickSetup ProgramSetup() {
    // As the program sets the icon up: a context menu, no double-click handler, no left popup.
    TrayClickSetup setup;
    setup.hasPopupMenu = true;
    return setup;
}

}  // namespace

TEST(TrayClickDetector, ProgramSetupReactsAsTheLauncherNeeds) {
    struct Case {
        const char* name;
        std::vector<unsigned> messages;
        int clicks;
        int menus;
    };
    const Case cases[] = {
        {"click fires on release", {kTrayMouseMove, kTrayLeftDown, kTrayLeftUp}, 1, 0},
        {"press alone does nothing yet", {kTrayLeftDown}, 0, 0},
        {"release without press is no click", {kTrayLeftUp}, 0, 0},
        {"double click shows the launcher once",
         {kTrayLeftDown, kTrayLeftUp, kTrayLeftDoubleClick, kTrayLeftUp}, 1, 0},
        {"two separate clicks are two", {kTrayLeftDown, kTrayLeftUp, kTrayLeftDown, kTrayLeftUp}, 2, 0},
        {"right press opens the menu at once", {kTrayRightDown}, 0, 1},
        {"right release and double click do nothing", {kTrayRightUp, kTrayRightDoubleClick}, 0, 0},
        {"middle button and moves do nothing", {kTrayMiddleDown, kTrayMiddleUp, kTrayMouseMove}, 0, 0},
    };
    for (const Case& c : cases) {
        TrayClickDetector detector;
        const Outcome outcome = Feed(detector, c.messages, ProgramSetup());
        EXPECT_EQ(outcome.clicks, c.clicks) << c.name;
        EXPECT_EQ(outcome.menus, c.menus) << c.name;
        EXPECT_EQ(outcome.timers, 0) << c.name;
    }
}

TEST(TrayClickDetector, DisabledIconIgnoresEverythingAndKeepsNoHalfClick) {
    TrayClickDetector detector;
    TrayClickSetup disabled = ProgramSetup();
    disabled.enabled = false;
    EXPECT_EQ(Feed(detector, {kTrayLeftDown, kTrayRightDown}, disabled).menus, 0);
    // The press while disabled must not turn a later release into a click.
    EXPECT_EQ(Feed(detector, {kTrayLeftUp}, ProgramSetup()).clicks, 0);
}

TEST(TrayClickDetector, MenuNeedsAnAssignedMenuWithAutoPopup) {
    TrayClickDetector detector;
    TrayClickSetup noMenu;
    EXPECT_EQ(Feed(detector, {kTrayRightDown}, noMenu).menus, 0);
    TrayClickSetup manual = ProgramSetup();
    manual.autoPopup = false;
    EXPECT_EQ(Feed(detector, {kTrayRightDown}, manual).menus, 0);
    TrayClickSetup leftPopup = ProgramSetup();
    leftPopup.leftPopup = true;
    const Outcome outcome = Feed(detector, {kTrayLeftDown, kTrayLeftUp, kTrayLeftDoubleClick}, leftPopup);
    EXPECT_EQ(outcome.menus, 1);
    EXPECT_EQ(outcome.defaultItems, 0);  // a left-popup icon leaves the default item alone
}

TEST(TrayClickDetector, WithDoubleClickHandlerAClickWaitsForTheTimer) {
    TrayClickSetup setup = ProgramSetup();
    setup.hasDoubleClickHandler = true;

    TrayClickDetector single;
    Outcome outcome = Feed(single, {kTrayLeftDown, kTrayLeftUp}, setup);
    EXPECT_EQ(outcome.timers, 1);
    EXPECT_EQ(outcome.clicks, 0);
    EXPECT_TRUE(single.OnClickTimer().click);
    EXPECT_FALSE(single.ClickTimerRunning());

    TrayClickDetector twice;
    outcome = Feed(twice, {kTrayLeftDown, kTrayLeftUp, kTrayLeftDoubleClick, kTrayLeftUp}, setup);
    EXPECT_EQ(outcome.doubleClicks, 1);
    EXPECT_EQ(outcome.defaultItems, 1);
    EXPECT_EQ(outcome.clicks, 0);
    EXPECT_FALSE(twice.OnClickTimer().click);  // the double click replaced the single one
}
