#include <gtest/gtest.h>

#include <string>

#include "shell/file_system.h"

using namespace kestrin;

TEST(TemporaryPathFor, StaysBesideTheTargetAndNoLongerThanIt) {
    struct Case {
        const char* target;
        unsigned value;
        const char* expected;
    };
    const Case cases[] = {
        {"C:\\Tools\\kestrin.ini", 0x1f0c9a3bu, "C:\\Tools\\ke~1f0c9a3b"},
        {"K:\\sets\\A.set", 0x12345a3bu, "K:\\sets\\A~a3b"},  // short names keep fewer digits
        {"K:/sets/Tools.set", 0xabcu, "K:/sets/T~0000abc"},
        {"E:\\ab", 0x7u, "E:\\~7"},
        {"E:\\a", 0x1cu, "E:\\c"},
        {"kestrin-settings-file.ini", 0x1u, "kestrin-settings~00000001"},
        {"E:\\Tools\\", 0x1u, ""},  // a folder names no file
    };
    for (const Case& c : cases) {
        const std::string temp = TemporaryPathFor(c.target, c.value);
        EXPECT_EQ(temp, c.expected) << c.target;
        if (!temp.empty()) {
            EXPECT_EQ(temp.size(), std::string(c.target).size()) << c.target;
        }
    }
}
