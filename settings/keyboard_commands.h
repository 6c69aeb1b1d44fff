// Which of the settings window's keyboard commands a key press runs. The
// window asks before the focused control sees the key, so Enter in an edit field confirms
// the whole window and Ctrl+arrows move the selected node wherever the focus is.
#pragma once

#include <optional>

#include "settings/item_form.h"

namespace kestrin {

enum class PressedKey { Up, Down, Left, Right, Escape, Enter, Other };

struct KeyPress {
    PressedKey key = PressedKey::Other;
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
};

// The command of a key press, nullopt for a key that goes on to the focused control.
// Shortcuts match their modifiers exactly: Shift+Ctrl+Up is a hotkey being typed, not a
// move. While a drop-down list is open, Enter and Esc belong to it (they close the list).
std::optional<CommandKey> MatchKeyCommand(const KeyPress& press, bool commandsEnabled, bool listDropped);

}  // namespace kestrin
