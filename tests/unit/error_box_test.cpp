#include <gtest/gtest.h>

#include "app/banner.h"
#include "base/error_box.h"

using namespace kestrin;

TEST(ErrorBoxText, AppendsFullStopOnlyAfterCharactersThatSortAfterIt) {
    struct Case {
        const char* message;
        const char* expected;
    };
    const Case cases[] = {
        {"Range check error", "Range check error."},
        {"Unable to write to C:\\Tools\\kestrin.ini", "Unable to write to C:\\Tools\\kestrin.ini."},
        {"Invalid level (3) for item \"Tools\"", "Invalid level (3) for item \"Tools\""},  // '"' < '.'
        {"'x' is not a valid integer value", "'x' is not a valid integer value."},
        {"Already ends.", "Already ends."},
        {"Path ends in /", "Path ends in /."},  // '/' sorts right after '.'
        {"Ends with a comma,", "Ends with a comma,"},
        {"Count 7", "Count 7."},
        {"Bang!", "Bang!"},
        {"Paren)", "Paren)"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ErrorBoxText(c.message), c.expected) << c.message;
}

TEST(ErrorBoxText, AnsiLettersAboveAsciiCountAsAfterFullStop) {
    // Compared as unsigned bytes: a message ending in an ANSI letter (here 0xE9) gets its stop.
    EXPECT_EQ(ErrorBoxText("Caf\xE9"), "Caf\xE9.");
}

TEST(TipFromBanner, TakesTextBeforeTheBlankInFrontOfTheFirstDash) {
    struct Case {
        const char* banner;
        const char* expected;
    };
    const Case cases[] = {
        {"Kestrin 3.1 - tray launcher (c) 2026 The Kestrin developers", "Kestrin 3.1"},
        {"Kestrin 3.1 - a - b", "Kestrin 3.1"},     // the first "- " counts
        {"Kestrin-3.1 - launcher", "Kestrin-3.1"},  // a dash without a blank after it is text
        {"Kestrin- launcher", "Kestrin"},           // no blank in front: cut right at the dash
        {"Kestrin 3.1", "Kestrin 3.1"},             // no "- " at all: the whole banner
        {"- leading", ""},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(TipFromBanner(c.banner), c.expected) << c.banner;
}
