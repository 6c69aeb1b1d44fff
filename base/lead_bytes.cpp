#include "base/lead_bytes.h"

namespace kestrin {

namespace {

LeadByteTable& Table() {
    static LeadByteTable table{};
    return table;
}

}  // namespace

LeadByteTable LeadByteTableFromRanges(const unsigned char* ranges, std::size_t count) {
    LeadByteTable table{};
    for (std::size_t i = 0; i + 1 < count; i += 2) {
        if (ranges[i] == 0 && ranges[i + 1] == 0) break;
        for (unsigned b = ranges[i]; b <= ranges[i + 1]; ++b) table[b] = true;
    }
    return table;
}

void InstallLeadBytes(const LeadByteTable& table) { Table() = table; }

const LeadByteTable& InstalledLeadBytes() { return Table(); }

bool IsLeadByte(char c) { return Table()[static_cast<unsigned char>(c)]; }

std::size_t NextCharPos(std::string_view text, std::size_t at) {
    if (IsLeadByte(text[at]) && at + 1 < text.size()) return at + 2;
    return at + 1;
}

std::size_t FindCharOf(std::string_view text, std::string_view chars, std::size_t from) {
    for (std::size_t i = from; i < text.size(); i = NextCharPos(text, i))
        if (!IsLeadByte(text[i]) && chars.find(text[i]) != std::string_view::npos) return i;
    return std::string_view::npos;
}

std::size_t FindLastCharOf(std::string_view text, std::string_view chars) {
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); i = NextCharPos(text, i))
        if (!IsLeadByte(text[i]) && chars.find(text[i]) != std::string_view::npos) last = i;
    return last;
}

}  // namespace kestrin
