// What a chosen Program/Command entry hands to the shell's "open" verb, and the drive
// placeholder "%usb%" that lets the whole set-up travel on a removable drive.
#pragma once

#include <string>
#include <string_view>

#include "core/environment.h"
#include "core/items.h"

namespace kestrin {

// The drive part of the executable's path: "E:" for a drive letter, "\\server\share" for a
// network path (the whole path when no backslash follows the share name), otherwise empty.
std::string ExeDrive(std::string_view exePath);

// Every "%usb%", in any letter case, replaced by exeDrive; inserted text is not scanned again.
std::string ExpandDrive(std::string_view text, std::string_view exeDrive);

// A path field as it is used: "%usb%" first, then the environment's "%NAME%"s.
std::string ExpandPath(std::string_view text, std::string_view exeDrive, const EnvironmentLookup& environment);

// Every '|' becomes a double quote: stored commands write quotes as pipes.
std::string PipeQuote(std::string_view text);

// How the started program's window first appears.
enum class WindowShow { Normal, Maximized, Minimized };

// Values other than 0, 1, 2 (only a hand-edited file holds them) show the window normally
// rather than hidden.
WindowShow WindowShowFor(std::uint8_t showState);

struct LaunchRequest {
    bool launch = false;  // false: empty Command, nothing happens
    std::string file, parameters;
    bool hasDirectory = false;  // false: pass NULL, the launcher's current directory is used
    std::string directory;
    WindowShow show = WindowShow::Normal;
};

// Command and Directory get ExpandPath then pipe quoting; Parameters pipe quoting only.
LaunchRequest ComposeLaunch(const Item& item, std::string_view exeDrive, const EnvironmentLookup& environment = {});

}  // namespace kestrin
