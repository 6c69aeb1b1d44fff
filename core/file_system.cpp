#include "core/file_system.h"

#include "base/error.h"

namespace kestrin {

void ThrowUnableToWrite(const std::string& path) {
    throw KestrinError(FormatText("Unable to write to %s", path.c_str()));
}

void ReplaceOrThrow(FileSystem& files, const std::string& path, const std::string& data) {
    if (!files.ReplaceAtomically(path, data)) ThrowUnableToWrite(path);
}

}  // namespace kestrin
