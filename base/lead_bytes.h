// The ANSI code page's lead bytes, so that every rule that walks a title or a path byte by
// byte steps over a double-byte character whole: under code pages 932, 936, 949 and 950 the
// second byte of a character may be '\\', '|', '&' or a letter. The platform side installs
// the running code page's table once at start; until then no byte is a lead byte.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace kestrin {

using LeadByteTable = std::array<bool, 256>;

// A table from inclusive (first, last) byte ranges given as pairs, as the platform describes
// a code page; a pair of zeros ends the list early.
LeadByteTable LeadByteTableFromRanges(const unsigned char* ranges, std::size_t count);

// Replaces the table every walk below uses.
void InstallLeadBytes(const LeadByteTable& table);
const LeadByteTable& InstalledLeadBytes();

bool IsLeadByte(char c);

// The position after the character at `at`: a lead byte takes the next byte with it, unless
// the text ends there.
std::size_t NextCharPos(std::string_view text, std::size_t at);

// The first and the last position of a single-byte character that is one of `chars`, never a
// second byte; npos when there is none.
std::size_t FindCharOf(std::string_view text, std::string_view chars, std::size_t from = 0);
std::size_t FindLastCharOf(std::string_view text, std::string_view chars);

}  // namespace kestrin
