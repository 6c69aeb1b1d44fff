// Stored titles: "#|" for every TAB. Encoding must be undone by decoding whenever the title
// itself holds no "#|", decoding undone by encoding whenever the stored text holds no TAB, and
// the level (TAB count) must survive the trip.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/outline.h"
#include "fuzz_support.h"

using namespace kestrin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int tabs = TabDepth(text);

    const std::string encoded = EncodeTitle(text);
    FUZZ_CHECK_EQ(TabDepth(encoded), 0);
    FUZZ_CHECK_EQ(encoded.size(), text.size() + static_cast<size_t>(tabs));
    const std::string decoded = DecodeTitle(encoded);
    // Every TAB comes back; only a "#|" written as such adds more.
    FUZZ_CHECK_EQ(static_cast<size_t>(TabDepth(decoded)), encoded.size() - decoded.size());
    FUZZ_CHECK(TabDepth(decoded) >= tabs);
    if (text.find("#|") == std::string_view::npos) FUZZ_CHECK_EQ(decoded, std::string(text));

    // Decoding never leaves a "#|" behind and shortens by one per TAB it makes.
    const std::string back = DecodeTitle(text);
    FUZZ_CHECK(back.find("#|") == std::string::npos);
    const int made = TabDepth(back) - tabs;
    FUZZ_CHECK(made >= 0);
    FUZZ_CHECK_EQ(back.size() + static_cast<size_t>(made), text.size());
    if (tabs == 0) FUZZ_CHECK_EQ(EncodeTitle(back), std::string(text));
    return 0;
}
