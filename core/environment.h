// "%NAME%" in the path fields, expanded the way Windows shortcuts do, and the verb a chosen
// entry is started with.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kestrin {

// The value of an environment variable, nullopt when it is not set. An empty lookup knows
// no names.
using EnvironmentLookup = std::function<std::optional<std::string>(std::string_view name)>;

// Every "%NAME%" whose name the lookup knows is replaced by its value; an unknown name, an
// empty one ("%%") and a '%' without its closing partner stay as typed. Inserted values are
// not scanned again.
std::string ExpandEnvironment(std::string_view text, const EnvironmentLookup& lookup);

// The shell verb for an entry chosen with these modifiers held: Ctrl+Shift asks for the
// administrator ("runas"), as the Start menu does; anything else opens.
const char* LaunchVerbFor(bool ctrl, bool shift);

}  // namespace kestrin
