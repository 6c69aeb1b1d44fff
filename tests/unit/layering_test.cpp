// The folders' rules, checked on the sources: includes point one way, rules stay free of the
// Win32 headers, and the forms' designer names stay in the layout tables.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const char* const kLayers[] = {"base", "core", "shell", "settings", "app"};

int LayerRank(const std::string& folder) {
    for (int i = 0; i < static_cast<int>(std::size(kLayers)); ++i)
        if (folder == kLayers[i]) return i;
    return -1;
}

struct Source {
    std::string path;  // relative, e.g. "core/config.cpp"
    std::string folder;
    std::string text;
};

std::vector<Source> ProgramSources() {
    std::vector<Source> sources;
    for (const char* layer : kLayers) {
        for (const auto& entry : fs::directory_iterator(fs::path(KESTRIN_SOURCE_DIR) / layer)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".cpp" && ext != ".h") continue;
            std::ifstream in(entry.path());
            std::stringstream text;
            text << in.rdbuf();
            sources.push_back({std::string(layer) + "/" + entry.path().filename().string(), layer, text.str()});
        }
    }
    return sources;
}

bool IsAdapter(const std::string& path) { return path.find("_win32.") != std::string::npos; }

}  // namespace

TEST(Layering, IncludesPointDownwardAndRulesStayPortable) {
    const std::vector<Source> sources = ProgramSources();
    ASSERT_GT(sources.size(), 30u);
    const std::regex include(R"re(#include\s*(["<])([^">]+)[">])re");
    for (const Source& source : sources) {
        const int rank = LayerRank(source.folder);
        for (std::sregex_iterator it(source.text.begin(), source.text.end(), include), end; it != end; ++it) {
            const std::string target = (*it)[2];
            if ((*it)[1] == "\"") {
                const std::string folder = target.substr(0, target.find('/'));
                EXPECT_GE(LayerRank(folder), 0) << source.path << " includes " << target;
                EXPECT_LE(LayerRank(folder), rank) << source.path << " reaches up to " << target;
                if (!IsAdapter(source.path)) {
                    EXPECT_FALSE(IsAdapter(target)) << source.path << " includes " << target;
                }
            } else if (!IsAdapter(source.path)) {
                EXPECT_TRUE(target.find(".h") == std::string::npos || target == "gtest/gtest.h")
                    << source.path << " includes the platform header " << target;
            }
        }
    }
}

TEST(Layering, DesignerNamesStayInTheLayoutTables) {
    // A designer name, alone or as the start of a handler's name (Edit6Change, BitBtn3Click).
    const std::regex designer(
        R"(\b(Edit|Button|BitBtn|ComboBox|CheckBox|HotKey|TreeView|Label|GroupBox|IconListBox|PopupMenu|)"
        R"(ImageList|ActionList|Action|TForm|Form|TrayIcon|OpenDialog|SaveDialog)[0-9]+[A-Za-z]*\b|)"
        R"(\bmi[A-Z][A-Za-z0-9]*Click\b)");
    for (const Source& source : ProgramSources()) {
        if (source.path == "settings/layout.cpp") continue;
        std::smatch match;
        EXPECT_FALSE(std::regex_search(source.text, match, designer)) << source.path << " names " << match.str();
    }
}
