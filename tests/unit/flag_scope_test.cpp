#include <gtest/gtest.h>

#include "base/flag_scope.h"

using namespace kestrin;

// A message dispatched while a scope runs (a tray click while the launcher menu opens) opens a
// scope of its own; when it ends, the outer scope's flag must still be set.
TEST(FlagScope, NestedScopeGivesBackTheOuterValue) {
    bool showing = false;
    {
        const FlagScope outer(showing);
        {
            const FlagScope inner(showing);
            EXPECT_TRUE(showing);
        }
        EXPECT_TRUE(showing);
    }
    EXPECT_FALSE(showing);
    try {
        const FlagScope thrown(showing);
        throw 1;
    } catch (int) {
    }
    EXPECT_FALSE(showing);
}
