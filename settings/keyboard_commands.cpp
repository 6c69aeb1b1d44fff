#include "settings/keyboard_commands.h"

namespace kestrin {

std::optional<CommandKey> MatchKeyCommand(const KeyPress& press, bool commandsEnabled, bool listDropped) {
    if (!commandsEnabled || press.shift || press.alt) return std::nullopt;
    if (press.ctrl) {
        switch (press.key) {
        case PressedKey::Up: return CommandKey::MoveUp;
        case PressedKey::Down: return CommandKey::MoveDown;
        case PressedKey::Right: return CommandKey::MoveIntoSubmenu;
        case PressedKey::Left: return CommandKey::MoveOutOfSubmenu;
        default: return std::nullopt;
        }
    }
    if (listDropped) return std::nullopt;
    if (press.key == PressedKey::Escape) return CommandKey::Cancel;
    if (press.key == PressedKey::Enter) return CommandKey::Ok;
    return std::nullopt;
}

}  // namespace kestrin
