#include "core/file_system.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace kestrin {

namespace {

namespace fs = std::filesystem;

class PortableFiles final : public FileSystem {
public:
    bool ReadAll(const std::string& path, std::string& out) override {
        std::error_code error;
        const fs::path p(path);
        if (!fs::is_regular_file(p, error)) return false;
        const std::uintmax_t size = fs::file_size(p, error);
        if (error || size > kMaxReadSize) return false;
        std::ifstream in(p, std::ios::binary);
        if (!in) return false;
        std::string data(static_cast<size_t>(size), '\0');
        in.read(&data[0], static_cast<std::streamsize>(data.size()));
        if (static_cast<std::uintmax_t>(in.gcount()) != size) return false;
        out.swap(data);
        return true;
    }

    bool IsFile(const std::string& path) override {
        std::error_code error;
        const fs::file_status status = fs::status(fs::path(path), error);
        return !error && fs::exists(status) && !fs::is_directory(status);
    }

    bool ReplaceAtomically(const std::string& path, const std::string& data) override {
        static std::atomic<unsigned> counter{0};
        const std::string temp = path + ".~" + std::to_string(counter++) + ".tmp";
        std::error_code error;
        {
            std::ofstream outFile(fs::path(temp), std::ios::binary | std::ios::trunc);
            if (!outFile) return false;
            outFile.write(data.data(), static_cast<std::streamsize>(data.size()));
            outFile.flush();
            if (!outFile) {
                outFile.close();
                fs::remove(fs::path(temp), error);
                return false;
            }
        }
        // A folder in the way must not be replaced by a file.
        if (fs::is_directory(fs::path(path), error)) {
            fs::remove(fs::path(temp), error);
            return false;
        }
        fs::rename(fs::path(temp), fs::path(path), error);
        if (error) {
            std::error_code ignored;
            fs::remove(fs::path(temp), ignored);
            return false;
        }
        return true;
    }
};

}  // namespace

FileSystem& PortableFileSystem() {
    static PortableFiles files;
    return files;
}

}  // namespace kestrin
