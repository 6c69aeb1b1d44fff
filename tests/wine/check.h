// PASS/FAIL reporting for the Wine check programs: one line per check, "PASS name" or
// "FAIL name: why", and the failure count for the exit code.
#pragma once

#include <cstdio>
#include <string>

namespace kestrin {

inline int gCheckFailures = 0;

inline void Check(bool ok, const char* name, const std::string& why) {
    if (ok) std::printf("PASS %s\n", name);
    else {
        std::printf("FAIL %s: %s\n", name, why.c_str());
        ++gCheckFailures;
    }
}

// The program's exit code: 0 when every check passed.
inline int CheckExitCode() { return gCheckFailures == 0 ? 0 : 1; }

}  // namespace kestrin
