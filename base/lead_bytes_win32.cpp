#include "base/lead_bytes_win32.h"

#include <windows.h>

#include "base/lead_bytes.h"

namespace kestrin {

void InstallAnsiLeadBytes() {
    CPINFO info{};
    // A single-byte code page reports no ranges: every byte stays a character of its own.
    if (!GetCPInfo(CP_ACP, &info)) return;
    InstallLeadBytes(LeadByteTableFromRanges(info.LeadByte, MAX_LEADBYTES));
}

}  // namespace kestrin
