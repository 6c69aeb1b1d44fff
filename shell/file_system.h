// The rule behind the Windows file access's atomic replace: where its temporary file goes.
#pragma once

#include <string>
#include <string_view>

namespace kestrin {

// A temporary file for a replace of `path`: in the same folder, its name exactly as long as
// the target's (so a path within MAX_PATH keeps its temporary within it), made of the target
// name's first characters (one at least, from three characters up), "~" (from two up) and the
// low hexadecimal digits of `value`, at most eight: "C:\Tools\kestrin.ini" with 0x1f0c9a3b
// gives "C:\Tools\ke~1f0c9a3b", "E:\A.set" gives "E:\A~a3b". Empty when `path` ends in a
// separator and so names no file.
std::string TemporaryPathFor(std::string_view path, unsigned value);

}  // namespace kestrin
