#include "app/banner.h"

namespace kestrin {

std::string TipFromBanner(std::string_view banner) {
    size_t dash = banner.find("- ");
    if (dash == std::string_view::npos) return std::string(banner);
    if (dash > 0 && banner[dash - 1] == ' ') --dash;
    return std::string(banner.substr(0, dash));
}

}  // namespace kestrin
