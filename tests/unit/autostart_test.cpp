#include <gtest/gtest.h>

#include "shell/autostart.h"

using namespace kestrin;

TEST(Autostart, QuotesOnlyPathsWithBlanks) {
    EXPECT_EQ(AutostartValueData("C:\\Tools\\kestrin.exe"), "C:\\Tools\\kestrin.exe");
    EXPECT_EQ(AutostartValueData("C:\\Program Files\\Kestrin\\kestrin.exe"),
              "\"C:\\Program Files\\Kestrin\\kestrin.exe\"");
}

TEST(Autostart, TouchesTheRegistryOnlyWhenTheBoxChanged) {
    struct Case { bool checked; int wasOn; bool del, write; int after; };
    const Case cases[] = {
        {true, 1, false, false, 1},  // unchanged: even a stale path stays
        {false, 0, false, false, 0},
        {false, 1, true, false, 0},
        {true, 0, false, true, 1},
    };
    for (const Case& c : cases) {
        AutostartPlan plan = PlanAutostart(c.checked, c.wasOn);
        EXPECT_EQ(plan.deleteValue, c.del) << c.checked << c.wasOn;
        EXPECT_EQ(plan.writeValue, c.write) << c.checked << c.wasOn;
        EXPECT_EQ(plan.wasOnAfter, c.after) << c.checked << c.wasOn;
    }
}
