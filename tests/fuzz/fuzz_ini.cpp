// IniFile against a plain model of the profile reading rules: the parser's hash index must
// answer every lookup as a first-match search over the lines does (first section and first key
// of a name win, names fold ASCII case only, values cut and unquoted like the profile buffer).
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/ini.h"
#include "fuzz_support.h"

using kestrin::IniFile;

namespace {

struct ModelKey {
    std::string name, value;
    bool hasValue;
};

struct Model {
    std::vector<std::string> sections{""};  // [0] is the unnamed head
    std::vector<std::vector<ModelKey>> keys{{}};
    std::map<std::string, size_t> firstSection;  // folded name -> section
};

std::string Fold(std::string_view name) {
    std::string out(name);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return out;
}

std::string_view Trim(std::string_view text, bool trailing = true) {
    while (!text.empty() && kestrin::IsIniBlank(text.front())) text.remove_prefix(1);
    while (trailing && !text.empty() && kestrin::IsIniBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string_view CutAtNul(std::string_view text) { return text.substr(0, text.find('\0')); }

Model Read(std::string_view text) {
    Model model;
    model.firstSection.emplace("", 0);
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '\r' && text[i] != '\n') continue;
        const std::string_view line = Trim(text.substr(start, i - start));
        start = i + 1;
        if (line.empty()) continue;
        const size_t close = line.rfind(']');
        if (line[0] == '[' && close != std::string_view::npos) {
            const std::string name(CutAtNul(Trim(line.substr(1, close - 1))));
            model.firstSection.emplace(Fold(name), model.sections.size());
            model.sections.push_back(name);
            model.keys.emplace_back();
            continue;
        }
        const size_t eq = line.find('=');
        const std::string_view name = eq == std::string_view::npos ? line : Trim(line.substr(0, eq));
        const std::string_view value = eq == std::string_view::npos ? "" : Trim(line.substr(eq + 1), false);
        std::vector<ModelKey>& section = model.keys.back();
        // Two nameless entries in a row: the platform keeps only the first.
        if (name.empty() && !section.empty() && section.back().name.empty()) continue;
        section.push_back({std::string(CutAtNul(name)), std::string(CutAtNul(value)), eq != std::string_view::npos});
    }
    return model;
}

// The profile buffer of limit + 1 characters: a quoted value loses its opening quote; the
// closing one goes only with the last character of a copy that nearly fits.
std::string Copy(const std::string& value, size_t limit) {
    const bool quoted = value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0];
    if (!quoted) return value.substr(0, limit);
    const size_t inner = value.size() - 1;  // without the opening quote
    if (inner <= limit) return value.substr(1, inner - 1);
    if (inner == limit + 1) return limit == 0 ? "" : value.substr(1, limit - 1);
    return value.substr(1, limit);
}

const ModelKey* Find(const Model& model, std::string_view section, std::string_view key) {
    const auto s = model.firstSection.find(Fold(Trim(CutAtNul(section))));
    if (s == model.firstSection.end()) return nullptr;
    const std::string wanted = Fold(Trim(CutAtNul(key)));
    for (const ModelKey& k : model.keys[s->second])
        if (Fold(k.name) == wanted) return k.hasValue ? &k : nullptr;
    return nullptr;
}

std::string FallbackRead(std::string_view fallback, size_t limit) {
    fallback = CutAtNul(fallback);
    while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);
    return std::string(fallback.substr(0, limit));
}

std::string SwapCase(std::string text) {
    for (char& c : text)
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) c = static_cast<char>(c ^ 0x20);
    return text;
}

void CheckLookup(const IniFile& ini, const Model& model, const std::string& section, const std::string& key,
                 size_t smallLimit) {
    const ModelKey* found = Find(model, section, key);
    FUZZ_CHECK_EQ(ini.HasKey(section, key), found != nullptr);
    FUZZ_CHECK_EQ(ini.HasSection(section), model.firstSection.count(Fold(Trim(CutAtNul(section)))) != 0);
    const char* fallback = "fall back  ";
    FUZZ_CHECK_EQ(ini.ReadString(section, key, fallback), found ? Copy(found->value, kestrin::kIniValueLimit)
                                                                : FallbackRead(fallback, kestrin::kIniValueLimit));
    FUZZ_CHECK_EQ(ini.ReadString(section, key, fallback, smallLimit),
                  found ? Copy(found->value, smallLimit) : FallbackRead(fallback, smallLimit));
    const int integer = found ? kestrin::ParseIniInteger(Copy(found->value, kestrin::kIniValueLimit), -77) : -77;
    FUZZ_CHECK_EQ(ini.ReadInteger(section, key, -77), integer);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const IniFile ini = IniFile::Parse(text);
    const Model model = Read(text);

    std::vector<std::string> names(model.sections.begin() + 1, model.sections.end());
    FUZZ_CHECK_EQ(ini.SectionNames(), names);

    const size_t smallLimit = size % 7;
    for (size_t s = 0; s < model.sections.size(); ++s) {
        const std::string& section = model.sections[s];
        for (const ModelKey& key : model.keys[s]) {
            CheckLookup(ini, model, section, key.name, smallLimit);
            CheckLookup(ini, model, " " + SwapCase(section) + "\t", SwapCase(key.name) + " ", smallLimit);
        }
        CheckLookup(ini, model, section, "Cnt", smallLimit);
    }
    CheckLookup(ini, model, "Dat", "Key", smallLimit);
    CheckLookup(ini, model, "0", "Tit", smallLimit);
    return 0;
}
