#include <gtest/gtest.h>

#include "shell/autostart.h"

using namespace kestrin;

TEST(Autostart, QuotesOnlyPathsWithBlanks) {
    EXPECT_EQ(AutostartValueData("C:\\Tools\\kestrin.exe"), "C:\\Tools\\kestrin.exe");
    EXPECT_EQ(AutostartValueData("C:\\Program Files\\Kestrin\\kestrin.exe"),
              "\"C:\\Program Files\\Kestrin\\kestrin.exe\"");
}

TEST(Autostart, TouchesTheRegistryOnlyWhenTheBoxChanged) {
    struct Case {
        bool checked, wasOn, del, write, after;
    };
    const Case cases[] = {
        {true, true, false, false, true},  // unchanged: even a stale path stays
        {false, false, false, false, false},
        {false, true, true, false, false},
        {true, false, false, true, true},
    };
    for (const Case& c : cases) {
        AutostartPlan plan = PlanAutostart(c.checked, c.wasOn);
        EXPECT_EQ(plan.deleteValue, c.del) << c.checked << c.wasOn;
        EXPECT_EQ(plan.writeValue, c.write) << c.checked << c.wasOn;
        EXPECT_EQ(plan.wasOnAfter, c.after) << c.checked << c.wasOn;
    }
}
