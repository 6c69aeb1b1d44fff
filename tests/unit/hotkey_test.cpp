#include <gtest/gtest.h>

#include "shell/hotkey.h"

using namespace kestrin;

TEST(Hotkey, SplitShortcutForRegisterHotKey) {
    struct Case { unsigned value; unsigned key; unsigned modifiers; };
    const Case cases[] = {
        {kDefaultHotkey, 0x26, 7},  // Shift+Ctrl+Alt+Up
        {112, 112, 0},              // F1 alone
        {0x2000 | 0x41, 0x41, 4},   // Shift
        {0x4000 | 0x41, 0x41, 2},   // Ctrl
        {0x8000 | 0x41, 0x41, 1},   // Alt
        {0xC026, 0x26, 3},
        {0x1FFF, 0x1FFF, 0},        // all 13 key bits belong to the key
    };
    for (const Case& c : cases) {
        Shortcut s = SplitShortcut(static_cast<std::uint16_t>(c.value));
        EXPECT_EQ(s.key, c.key) << c.value;
        EXPECT_EQ(s.modifiers, c.modifiers) << c.value;
    }
}

TEST(Hotkey, StoredValueKeepsLowSixteenBits) {
    EXPECT_EQ(HotkeyFromStored(57382), kDefaultHotkey);
    EXPECT_EQ(HotkeyFromStored(-8154), kDefaultHotkey);
    EXPECT_EQ(HotkeyFromStored(65536 + 112), 112);
    EXPECT_EQ(HotkeyFromStored(0), 0);
}

TEST(Hotkey, ControlWordConversions) {
    struct Case { unsigned value; unsigned word; };
    const Case cases[] = {
        {kDefaultHotkey, 0x0F26},  // Up is an extended key: shown as Up, not as Num 8
        {0x2000 | 0x41, 0x0141},
        {0x4000 | 0x41, 0x0241},
        {0x8000 | 0x41, 0x0441},
        {112, 0x0070},
        {0, 0},
        {0x4000 | 0x2E, 0x0A2E},   // Delete
        {0x8000 | 0x21, 0x0C21},   // Page Up
        {0x4000 | 0x6F, 0x0A6F},   // the numeric pad's divide
        {0x4000 | 0x68, 0x0268},   // the numeric pad's 8 stays itself
        {0x4000 | 0x2F, 0x022F},   // Help, just past Delete
        {0x4000 | 0x20, 0x0220},   // Space, just before Page Up
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HotkeyToControlWord(static_cast<std::uint16_t>(c.value)), c.word) << c.value;
        EXPECT_EQ(HotkeyFromControlWord(static_cast<std::uint16_t>(c.word)), c.value) << c.word;
    }
    // Only the key's low byte reaches the control.
    EXPECT_EQ(HotkeyToControlWord(0x2000 | 0x1141), 0x0141);
    // Reading drops the extended-key flag, so the stored value never changes: 49190.
    EXPECT_EQ(HotkeyFromControlWord(0x0E26), 49190);
    EXPECT_EQ(HotkeyFromControlWord(0x0626), 49190);
}
