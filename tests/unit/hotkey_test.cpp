#include <gtest/gtest.h>

#include "shell/hotkey.h"

using namespace kestrin;

TEST(Hotkey, SplitShortcutForRegisterHotKey) {
    struct Case {
        unsigned value;
        unsigned key;
        bool shift, ctrl, alt;
    };
    const Case cases[] = {
        {kDefaultHotkey, 0x26, true, true, true},  // Shift+Ctrl+Alt+Up
        {112, 112, false, false, false},           // F1 alone
        {0x2000 | 0x41, 0x41, true, false, false}, {0x4000 | 0x41, 0x41, false, true, false},
        {0x8000 | 0x41, 0x41, false, false, true}, {0xC026, 0x26, false, true, true},
        {0x1FFF, 0x1FFF, false, false, false},  // all 13 key bits belong to the key
    };
    for (const Case& c : cases) {
        Shortcut s = SplitShortcut(static_cast<std::uint16_t>(c.value));
        EXPECT_EQ(s.key, c.key) << c.value;
        EXPECT_EQ(s.shift, c.shift) << c.value;
        EXPECT_EQ(s.ctrl, c.ctrl) << c.value;
        EXPECT_EQ(s.alt, c.alt) << c.value;
    }
}

TEST(Hotkey, NamedModifiersFirst) {
    struct Case {
        unsigned value;
        const char* keyName;
        const char* expected;
    };
    const Case cases[] = {
        {kDefaultHotkey, "Up", "Shift+Ctrl+Alt+Up"},
        {0x4000 | 0x41, "A", "Ctrl+A"},
        {0x8000 | 0x2000 | 0x70, "F1", "Shift+Alt+F1"},
        {0xC000 | 0xFF, "", "Ctrl+Alt+Key 255"},  // a key the platform cannot name
    };
    for (const Case& c : cases)
        EXPECT_EQ(HotkeyName(static_cast<std::uint16_t>(c.value), c.keyName), c.expected) << c.value;
    EXPECT_EQ(HotkeyInUseText("Ctrl+A"), "Ctrl+A is in use by another program. Choose another hotkey in Settings.");
}

TEST(Hotkey, StoredValueKeepsLowSixteenBits) {
    EXPECT_EQ(HotkeyFromStored(57382), kDefaultHotkey);
    EXPECT_EQ(HotkeyFromStored(-8154), kDefaultHotkey);
    EXPECT_EQ(HotkeyFromStored(65536 + 112), 112);
    EXPECT_EQ(HotkeyFromStored(0), 0);
}

TEST(Hotkey, ControlValueConversions) {
    struct Case {
        unsigned value;
        HotkeyControlValue shown;
    };
    const Case cases[] = {
        {kDefaultHotkey, {0x26, true, true, true, true}},  // Up is extended: shown as Up, not as Num 8
        {0x2000 | 0x41, {0x41, true, false, false, false}},
        {0x4000 | 0x41, {0x41, false, true, false, false}},
        {0x8000 | 0x41, {0x41, false, false, true, false}},
        {112, {0x70, false, false, false, false}},
        {0, {0, false, false, false, false}},
        {0x4000 | 0x2E, {0x2E, false, true, false, true}},   // Delete
        {0x8000 | 0x21, {0x21, false, false, true, true}},   // Page Up
        {0x4000 | 0x6F, {0x6F, false, true, false, true}},   // the numeric pad's divide
        {0x4000 | 0x68, {0x68, false, true, false, false}},  // the numeric pad's 8 stays itself
        {0x4000 | 0x2F, {0x2F, false, true, false, false}},  // Help, just past Delete
        {0x4000 | 0x20, {0x20, false, true, false, false}},  // Space, just before Page Up
    };
    for (const Case& c : cases) {
        const HotkeyControlValue shown = HotkeyToControl(static_cast<std::uint16_t>(c.value));
        EXPECT_EQ(shown.key, c.shown.key) << c.value;
        EXPECT_EQ(shown.shift, c.shown.shift) << c.value;
        EXPECT_EQ(shown.ctrl, c.shown.ctrl) << c.value;
        EXPECT_EQ(shown.alt, c.shown.alt) << c.value;
        EXPECT_EQ(shown.extended, c.shown.extended) << c.value;
        EXPECT_EQ(HotkeyFromControl(c.shown), c.value) << c.value;
    }
    // Only the key's low byte reaches the control.
    EXPECT_EQ(HotkeyToControl(0x2000 | 0x1141).key, 0x41);
    // Reading drops the extended-key flag, so the stored value never changes: 49190.
    EXPECT_EQ(HotkeyFromControl({0x26, false, true, true, true}), 49190);
    EXPECT_EQ(HotkeyFromControl({0x26, false, true, true, false}), 49190);
}
