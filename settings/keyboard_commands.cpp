#include "settings/keyboard_commands.h"

namespace kestrin {

std::optional<CommandKey> MatchKeyCommand(const KeyPress& press, bool commandsEnabled, bool listDropped) {
    if (!commandsEnabled || press.shift || press.alt) return std::nullopt;
    if (press.ctrl) {
        switch (press.key) {
        case PressedKey::Up: return CommandKey::CtrlUp;
        case PressedKey::Down: return CommandKey::CtrlDown;
        case PressedKey::Right: return CommandKey::CtrlRight;
        case PressedKey::Left: return CommandKey::CtrlLeft;
        default: return std::nullopt;
        }
    }
    if (listDropped) return std::nullopt;
    if (press.key == PressedKey::Escape) return CommandKey::Escape;
    if (press.key == PressedKey::Enter) return CommandKey::Enter;
    return std::nullopt;
}

}  // namespace kestrin
