// Kestrin's own INI engine. IniFile reads a whole file once and answers every lookup the way
// the platform's private-profile functions would (value cut, blanks and quotes, defaults,
// names case-insensitive in ASCII letters only, first section and first key win); IniWriter
// builds a new file in the platform's layout: CR LF lines, no blank lines, sections and keys
// in the order written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace kestrin {

// A value read arrives through a 2048-byte buffer: at most 2047 characters.
constexpr std::size_t kIniValueLimit = 2047;
// Names and values are addressed with 32-bit offsets; larger texts are cut here.
constexpr std::size_t kIniMaxText = std::size_t{1} << 30;

// The 32-bit integer reading of a value: optional leading spaces, an optional sign, then
// decimal digits, or hexadecimal digits after "$", "x", "X", "0x" or "0X". Decimal must fit a
// signed 32-bit integer; hexadecimal may use all 32 bits ("$FFFFFFFF" is -1). Anything else
// gives the fallback.
int ParseIniInteger(std::string_view text, int fallback);

// The blanks the profile reader removes around names and values.
bool IsIniBlank(char c);

// A parsed INI text, for reading.
class IniFile {
public:
    IniFile();
    // Linear in the size of the text. A leading UTF-8 byte-order mark is skipped; text
    // beyond kIniMaxText is not read.
    static IniFile Parse(std::string_view text);
    // The same, keeping the given text as its buffer instead of copying it: a large file is
    // then held once, not twice.
    static IniFile Parse(std::string&& text);
    static IniFile Parse(const char* text) { return Parse(std::string_view(text)); }

    // The value of the first key of that name in the first section of that name, with
    // the reading rules applied; `fallback` when the key is missing or has no "=".
    std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback,
                           std::size_t limit = kIniValueLimit) const;
    int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
    bool HasSection(std::string_view section) const;
    bool HasKey(std::string_view section, std::string_view key) const;  // present with "="
    // Names of the sections in file order (the unnamed head section left out).
    std::vector<std::string> SectionNames() const;

private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
    // Names and values are spans of buffer_, the parsed text, so a large file costs little
    // more than its own size.
    struct Span {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
    };
    struct Key {
        Span name;
        Span value;
        std::uint32_t section = 0;
        bool hasValue = false;
    };
    struct Section {
        Span name;
    };
    // Open addressing over entry numbers; an entry equal to one already stored is not
    // added, so the first section or key of a name stays the one found.
    class Index {
    public:
        template <typename Same>
        std::uint32_t Find(std::uint32_t hash, Same same) const;
        template <typename Same>
        void Insert(std::uint32_t hash, std::uint32_t entry, Same same);
        void Reserve(std::size_t entries);

    private:
        struct Slot {
            std::uint32_t hash = 0;
            std::uint32_t entry = kNone;
        };
        void Rehash(std::size_t minimumSlots);
        std::vector<Slot> slots_;
        std::size_t used_ = 0;
    };
    std::string_view View(Span span) const { return std::string_view(buffer_).substr(span.offset, span.length); }
    static std::uint32_t NameHash(std::uint32_t seed, std::string_view name);
    std::uint32_t FindSection(std::string_view trimmedName) const;
    std::uint32_t FindKey(std::uint32_t section, std::string_view trimmedName) const;
    const Key* FindValue(std::string_view section, std::string_view key) const;
    std::uint32_t AddSection(Span name);
    std::uint32_t AddKey(std::uint32_t section, Span name, Span value, bool hasValue);

    std::string buffer_;
    std::vector<Section> sections_;  // [0] is the unnamed head: keys before any header
    std::vector<Key> keys_;
    Index sectionIndex_;
    Index keyIndex_;
};

// Reads an INI text that arrives in pieces and hands on each section that `wanted` names,
// the first of its name only, as text that IniFile::Parse reads as that section alone: its
// header and the lines up to the next header. Lines, blanks, the byte-order mark and the
// kIniMaxText cut follow Parse's rules, so a lookup in the section handed on finds what the
// same lookup finds in the whole text. Only one wanted section is held at a time.
class IniSectionStream {
public:
    // `wanted` gets a section's name as Parse takes it; it must answer the same for names
    // that compare equal. `take` gets the name and the section's text.
    IniSectionStream(std::function<bool(std::string_view)> wanted,
                     std::function<void(std::string_view, std::string&&)> take);
    void Feed(std::string_view piece);
    // The text has ended: the last line and section go.
    void Finish();

private:
    void Lines(std::string_view text, bool last);
    void Line(std::string_view raw);
    void EndSection();

    std::function<bool(std::string_view)> wanted_;
    std::function<void(std::string_view, std::string&&)> take_;
    std::set<std::string> seen_;  // folded names of the sections handed on or being read
    std::string carry_;           // the start of a line that the next piece ends
    std::string name_;
    std::string section_;
    std::size_t read_ = 0;  // after the byte-order mark
    std::size_t lastSize_ = 0;
    bool markChecked_ = false;
    bool keeping_ = false;
};

// Builds a new file from scratch, section by section, for whole-file saves with distinct
// names: no lookups. CR LF after every line, no blank lines; a section without a name has
// no header. Names and values end at a NUL. A line break inside one would split the line and
// damage the entries after it, so it is written as a space. Names lose their leading blanks;
// a value the reader would change (blanks at either end, enclosing quotes) is written in
// quotes, so every value reads back as it was given.
class IniWriter {
public:
    void Section(std::string_view name);
    void Key(std::string_view key, std::string_view value);
    void Key(std::string_view key, long long value);
    const std::string& Text() const { return text_; }
    std::string Take() { return std::move(text_); }
    void Reserve(std::size_t bytes) { text_.reserve(bytes); }

private:
    std::string text_;
};

}  // namespace kestrin
