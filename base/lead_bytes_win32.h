// Hands the running ANSI code page's lead bytes to the portable text walks.
#pragma once

namespace kestrin {

// Once at start, before any title or path is walked.
void InstallAnsiLeadBytes();

}  // namespace kestrin
