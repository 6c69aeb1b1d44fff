#include <gtest/gtest.h>

#include "settings/keyboard_commands.h"

namespace kestrin {
namespace {

TEST(KeyboardCommands, ShortcutsMatchTheirModifiersExactly) {
    using K = PressedKey;
    struct Case {
        KeyPress press;
        bool listDropped;
        std::optional<CommandKey> expected;
    };
    const Case cases[] = {
        {{K::Up, true, false, false}, false, CommandKey::MoveUp},
        {{K::Down, true, false, false}, false, CommandKey::MoveDown},
        {{K::Right, true, false, false}, false, CommandKey::MoveIntoSubmenu},
        {{K::Left, true, false, false}, false, CommandKey::MoveOutOfSubmenu},
        {{K::Escape, false, false, false}, false, CommandKey::Cancel},
        {{K::Enter, false, false, false}, false, CommandKey::Ok},
        // Plain arrows move within the focused control.
        {{K::Up, false, false, false}, false, std::nullopt},
        // Shift+Ctrl+Alt+Up is being typed into the hotkey field.
        {{K::Up, true, true, true}, false, std::nullopt},
        {{K::Up, true, true, false}, false, std::nullopt},
        {{K::Left, true, false, true}, false, std::nullopt},
        {{K::Enter, true, false, false}, false, std::nullopt},
        {{K::Escape, false, true, false}, false, std::nullopt},
        {{K::Other, true, false, false}, false, std::nullopt},
        // An open drop-down list takes Enter and Esc for itself, not the moves.
        {{K::Enter, false, false, false}, true, std::nullopt},
        {{K::Escape, false, false, false}, true, std::nullopt},
        {{K::Down, true, false, false}, true, CommandKey::MoveDown},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MatchKeyCommand(c.press, /*commandsEnabled=*/true, c.listDropped), c.expected)
            << static_cast<int>(c.press.key) << " ctrl=" << c.press.ctrl << " shift=" << c.press.shift
            << " alt=" << c.press.alt << " dropped=" << c.listDropped;
        // A hidden window runs no command at all.
        EXPECT_EQ(MatchKeyCommand(c.press, /*commandsEnabled=*/false, c.listDropped), std::nullopt);
    }
}

}  // namespace
}  // namespace kestrin
