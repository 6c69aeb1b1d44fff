// The short product name that the tray tip shows, taken from the product banner.
#pragma once

#include <string>
#include <string_view>

namespace kestrin {

// The banner up to, not including, the blank in front of its first "- ". Without a blank
// there the text stops right before the "- "; a banner without "- " is used whole.
std::string TipFromBanner(std::string_view banner);

}  // namespace kestrin
