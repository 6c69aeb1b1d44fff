// Wine treats every program as DPI aware, so the manifest's declarations are checked here.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string Manifest() {
    std::ifstream file(std::string(KESTRIN_SOURCE_DIR) + "/app/kestrin.manifest");
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

TEST(Manifest, DeclaresPerMonitorAwarenessAndWindows7To11) {
    const std::string manifest = Manifest();
    ASSERT_FALSE(manifest.empty());
    const char* const required[] = {
        // Per-monitor v2, falling back to per-monitor (8.1 to 10 1607), then system-aware (7, 8).
        ">PerMonitorV2, PerMonitor</dpiAwareness>",
        "xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\"",
        ">true/pm</dpiAware>",
        "xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\"",
        // Windows 7, 8, 8.1, 10 and 11.
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
    };
    for (const char* text : required) EXPECT_NE(manifest.find(text), std::string::npos) << text;
}
