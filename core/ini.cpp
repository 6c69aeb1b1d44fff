#include "core/ini.h"

#include <algorithm>

#include "base/ascii.h"

namespace kestrin {

namespace {

std::string_view TrimBlanks(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsIniBlank(text[begin])) ++begin;
    while (end > begin && IsIniBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::string_view TrimLeadingBlanks(std::string_view text) {
    size_t begin = 0;
    while (begin < text.size() && IsIniBlank(text[begin])) ++begin;
    return text.substr(begin);
}

// The platform's functions take C strings: a name or value ends at its first NUL.
std::string_view UpToNul(std::string_view text) {
    size_t nul = text.find('\0');
    return nul == std::string_view::npos ? text : text.substr(0, nul);
}

// What the platform stores for a name or value handed to a write: the C string without its
// leading blanks, with line breaks made spaces so one entry stays one line.
std::string StoredForm(std::string_view text) {
    std::string out(TrimLeadingBlanks(UpToNul(text)));
    for (char& c : out)
        if (c == '\r' || c == '\n') c = ' ';
    return out;
}

// The platform's copy of a found value into the caller's buffer of limit + 1 characters:
// an enclosing pair of equal quotes goes, but the closing quote is only dropped by cutting
// the copy's last character, and only when the value nearly fits. Long quoted values
// therefore lose their opening quote and are cut, keeping the text before the cut.
std::string CopyEntry(std::string_view value, size_t limit) {
    char quote = 0;
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
        quote = value[0];
        value.remove_prefix(1);
    }
    std::string out(value.substr(0, limit));
    if (quote && limit + 1 >= value.size() && !out.empty()) out.pop_back();
    return out;
}

// A trimmed, non-empty line that opens a section, and the section's name, trimmed.
// Without a closing bracket the line is an ordinary key.
bool HeaderName(std::string_view line, std::string_view& name) {
    if (line[0] != '[') return false;
    const size_t close = line.rfind(']');
    if (close == std::string_view::npos) return false;
    name = TrimBlanks(line.substr(1, close - 1));
    return true;
}

void AppendLine(std::string& out, std::string_view a, std::string_view b = {}, std::string_view c = {}) {
    out.append(a);
    out.append(b);
    out.append(c);
    out.append("\r\n");
}

}  // namespace

bool IsIniBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

int ParseIniInteger(std::string_view text, int fallback) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= text.size()) return fallback;
    // Accumulate in 64 bits and stop as soon as the value leaves the range, so any
    // number of digits is safe.
    const unsigned long long limit = hex ? 0xFFFFFFFFull : (negative ? 2147483648ull : 2147483647ull);
    unsigned long long value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
        else if (hex && c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
        else if (hex && c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
        else return fallback;
        value = value * (hex ? 16 : 10) + digit;
        if (value > limit) return fallback;
    }
    // Hexadecimal fills all 32 bits: the pattern is the two's-complement value.
    std::uint32_t bits = static_cast<std::uint32_t>(value);
    if (negative) bits = 0u - bits;
    return static_cast<int>(bits);
}

template <typename Same>
std::uint32_t IniFile::Index::Find(std::uint32_t hash, Same same) const {
    if (slots_.empty()) return kNone;
    const size_t mask = slots_.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.entry == kNone) return kNone;
        if (slot.hash == hash && same(slot.entry)) return slot.entry;
    }
}

template <typename Same>
void IniFile::Index::Insert(std::uint32_t hash, std::uint32_t entry, Same same) {
    if ((used_ + 1) * 2 > slots_.size()) Rehash((used_ + 1) * 4);
    const size_t mask = slots_.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        Slot& slot = slots_[i];
        if (slot.entry == kNone) {
            slot.hash = hash;
            slot.entry = entry;
            ++used_;
            return;
        }
        if (slot.hash == hash && same(slot.entry)) return;
    }
}

void IniFile::Index::Reserve(size_t entries) {
    if ((entries + 1) * 2 > slots_.size()) Rehash((entries + 1) * 2);
}

void IniFile::Index::Rehash(size_t minimumSlots) {
    std::vector<Slot> old;
    old.swap(slots_);
    size_t size = 16;
    while (size < minimumSlots) size *= 2;
    slots_.assign(size, Slot{});
    used_ = 0;
    const size_t mask = size - 1;
    for (const Slot& slot : old) {
        if (slot.entry == kNone) continue;
        size_t i = slot.hash & mask;
        while (slots_[i].entry != kNone) i = (i + 1) & mask;
        slots_[i] = slot;
        ++used_;
    }
}

std::uint32_t IniFile::NameHash(std::uint32_t seed, std::string_view name) {
    // FNV-1a over the folded name, then a full avalanche: linear probing needs the low bits
    // to depend on every byte and on the section number.
    auto mix = [](std::uint32_t h) {
        h ^= h >> 16;
        h *= 0x85ebca6bu;
        h ^= h >> 13;
        h *= 0xc2b2ae35u;
        h ^= h >> 16;
        return h;
    };
    std::uint32_t hash = 2166136261u ^ mix(seed);
    for (char c : name) {
        hash ^= static_cast<unsigned char>(AsciiLower(c));
        hash *= 16777619u;
    }
    return mix(hash);
}

IniFile::IniFile() {
    sections_.emplace_back();  // the unnamed head section
    sectionIndex_.Insert(NameHash(0, ""), 0, [](std::uint32_t) { return false; });
}

IniFile IniFile::Parse(std::string_view text) { return Parse(std::string(text)); }

IniFile IniFile::Parse(std::string&& text) {
    IniFile ini;
    ini.buffer_ = std::move(text);
    if (ini.buffer_.compare(0, 3, "\xEF\xBB\xBF") == 0) ini.buffer_.erase(0, 3);
    if (ini.buffer_.size() > kIniMaxText) ini.buffer_.resize(kIniMaxText);
    const std::string_view all(ini.buffer_);
    auto spanOf = [&all](std::string_view part) {
        part = UpToNul(part);
        return Span{static_cast<std::uint32_t>(part.data() - all.data()), static_cast<std::uint32_t>(part.size())};
    };

    // One entry per line at most: reserving up front spares the regrowth of a large file.
    const size_t lines = static_cast<size_t>(std::count(all.begin(), all.end(), '\n')) + 1;
    const size_t expected = std::min(lines, all.size() / 4 + 1);
    ini.keys_.reserve(expected);
    ini.keyIndex_.Reserve(expected);

    std::uint32_t current = 0;
    std::uint32_t previousKey = kNone;  // the previous key of the current section
    const char* const data = all.data();
    const size_t size = all.size();
    size_t pos = 0;
    while (pos < size) {
        size_t end = pos;
        while (end < size && data[end] != '\n' && data[end] != '\r') ++end;
        std::string_view line = TrimBlanks(all.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty()) continue;

        if (std::string_view name; HeaderName(line, name)) {
            current = ini.AddSection(spanOf(name));
            previousKey = kNone;
            continue;
        }

        std::string_view name = line;
        std::string_view value = line.substr(line.size());
        bool hasValue = false;
        size_t eq = line.find('=');
        if (eq != std::string_view::npos) {
            name = TrimBlanks(line.substr(0, eq));
            value = TrimLeadingBlanks(line.substr(eq + 1));
            hasValue = true;
        }
        // The platform drops a nameless entry that directly follows another nameless one.
        if (name.empty() && previousKey != kNone && ini.keys_[previousKey].name.length == 0) continue;
        previousKey = ini.AddKey(current, spanOf(name), spanOf(value), hasValue);
    }
    return ini;
}

std::uint32_t IniFile::AddSection(Span name) {
    const std::uint32_t index = static_cast<std::uint32_t>(sections_.size());
    Section section;
    section.name = name;
    sections_.push_back(section);
    const std::string_view view = View(name);
    sectionIndex_.Insert(NameHash(0, view), index, [&](std::uint32_t other) {
        return EqualsIgnoringAsciiCase(View(sections_[other].name), view);
    });
    return index;
}

std::uint32_t IniFile::AddKey(std::uint32_t section, Span name, Span value, bool hasValue) {
    const std::uint32_t index = static_cast<std::uint32_t>(keys_.size());
    Key key;
    key.name = name;
    key.value = value;
    key.section = section;
    key.hasValue = hasValue;
    keys_.push_back(key);
    const std::string_view view = View(name);
    keyIndex_.Insert(NameHash(section + 1, view), index, [&](std::uint32_t other) {
        return keys_[other].section == section && EqualsIgnoringAsciiCase(View(keys_[other].name), view);
    });
    return index;
}

std::uint32_t IniFile::FindSection(std::string_view trimmedName) const {
    return sectionIndex_.Find(NameHash(0, trimmedName), [&](std::uint32_t other) {
        return EqualsIgnoringAsciiCase(View(sections_[other].name), trimmedName);
    });
}

std::uint32_t IniFile::FindKey(std::uint32_t section, std::string_view trimmedName) const {
    return keyIndex_.Find(NameHash(section + 1, trimmedName), [&](std::uint32_t other) {
        return keys_[other].section == section && EqualsIgnoringAsciiCase(View(keys_[other].name), trimmedName);
    });
}

const IniFile::Key* IniFile::FindValue(std::string_view section, std::string_view key) const {
    const std::uint32_t s = FindSection(TrimBlanks(UpToNul(section)));
    if (s == kNone) return nullptr;
    const std::uint32_t k = FindKey(s, TrimBlanks(UpToNul(key)));
    if (k == kNone || !keys_[k].hasValue) return nullptr;
    return &keys_[k];
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback,
                                size_t limit) const {
    if (const Key* entry = FindValue(section, key)) return CopyEntry(View(entry->value), limit);
    // The platform ignores trailing spaces of the default.
    fallback = UpToNul(fallback);
    while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);
    return std::string(fallback.substr(0, limit));
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
    const Key* entry = FindValue(section, key);
    return entry ? ParseIniInteger(CopyEntry(View(entry->value), kIniValueLimit), fallback) : fallback;
}

bool IniFile::HasSection(std::string_view section) const { return FindSection(TrimBlanks(UpToNul(section))) != kNone; }

bool IniFile::HasKey(std::string_view section, std::string_view key) const {
    return FindValue(section, key) != nullptr;
}

std::vector<std::string> IniFile::SectionNames() const {
    std::vector<std::string> names;
    for (size_t i = 1; i < sections_.size(); ++i) names.emplace_back(View(sections_[i].name));
    return names;
}

void IniWriter::Section(std::string_view name) {
    const std::string stored = StoredForm(name);
    if (!stored.empty()) AppendLine(text_, "[", stored, "]");
}

void IniWriter::Key(std::string_view key, std::string_view value) {
    std::string stored(UpToNul(value));
    for (char& c : stored)
        if (c == '\r' || c == '\n') c = ' ';
    // The reader trims blanks around a value and then drops an enclosing pair of quotes. A
    // value it would change goes in quotes of its own, which the reader takes off again.
    const bool changed =
        !stored.empty() &&
        (IsIniBlank(stored.front()) || IsIniBlank(stored.back()) ||
         (stored.size() >= 2 && (stored.front() == '"' || stored.front() == '\'') && stored.back() == stored.front()));
    if (changed) AppendLine(text_, StoredForm(key), "=\"", stored + '"');
    else AppendLine(text_, StoredForm(key), "=", stored);
}

void IniWriter::Key(std::string_view key, long long value) {
    AppendLine(text_, StoredForm(key), "=", std::to_string(value));
}

IniSectionStream::IniSectionStream(std::function<bool(std::string_view)> wanted,
                                   std::function<void(std::string_view, std::string&&)> take)
    : wanted_(std::move(wanted)), take_(std::move(take)) {}

void IniSectionStream::Feed(std::string_view piece) {
    if (!markChecked_) {
        // The mark counts only at the very start, so the first three bytes are awaited.
        carry_.append(piece);
        if (carry_.size() < 3) return;
        markChecked_ = true;
        std::string start;
        start.swap(carry_);
        if (start.compare(0, 3, "\xEF\xBB\xBF") == 0) start.erase(0, 3);
        Lines(start, false);
        return;
    }
    Lines(piece, false);
}

void IniSectionStream::Finish() {
    if (!markChecked_) {
        markChecked_ = true;
        std::string start;
        start.swap(carry_);
        Lines(start, true);
    } else {
        Lines({}, true);
    }
    EndSection();
}

void IniSectionStream::Lines(std::string_view text, bool last) {
    text = text.substr(0, std::min(text.size(), kIniMaxText - read_));
    read_ += text.size();
    size_t pos = 0;
    for (size_t end = 0; end < text.size(); ++end) {
        if (text[end] != '\n' && text[end] != '\r') continue;
        if (carry_.empty()) {
            Line(text.substr(pos, end - pos));
        } else {
            carry_.append(text.substr(pos, end - pos));
            Line(carry_);
            carry_.clear();
        }
        pos = end + 1;
    }
    carry_.append(text.substr(pos));
    if (last && !carry_.empty()) {
        Line(carry_);
        carry_.clear();
    }
}

void IniSectionStream::Line(std::string_view raw) {
    const std::string_view line = TrimBlanks(raw);
    if (line.empty()) return;
    std::string_view name;
    if (HeaderName(line, name)) {
        EndSection();
        name = UpToNul(name);
        std::string folded(name);
        for (char& c : folded) c = AsciiLower(c);
        keeping_ = wanted_(name) && seen_.insert(std::move(folded)).second;
        if (!keeping_) return;
        name_.assign(name);
        // Sections of one file tend to be alike in size: one allocation for the next.
        section_.clear();
        section_.reserve(lastSize_);
    } else if (!keeping_) {
        return;
    }
    section_.append(raw);
    section_ += '\n';
}

void IniSectionStream::EndSection() {
    if (!keeping_) return;
    keeping_ = false;
    lastSize_ = section_.size() + 64;
    take_(name_, std::move(section_));
    section_.clear();
}

}  // namespace kestrin
