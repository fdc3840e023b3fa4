#pragma once

// INI files as Windows and this program write them: settings, project and language files.
//
// Reading accepts what users bring from other machines: CRLF, LF or CR line breaks, a UTF-8
// byte-order mark, UTF-8 or Windows-1252 text (decided line by line), duplicate keys and
// duplicate sections, lines without "=", comment lines (";"), text before the first section,
// a last line cut off without its line break, and binary garbage. Section and key names are
// compared without regard to ASCII case. Where a key occurs more than once the first occurrence
// counts, also across repeated sections of one name, which read as one section.
//
// Writing changes only the keys it is asked to: every other line of the file (unknown keys,
// unknown sections, comments, blank lines, garbage) is written back as it was read, converted to
// UTF-8. New keys go to the end of their section, new sections to the end of the file. The file
// keeps its line breaks and its byte-order mark; a new file has the platform's line breaks and no
// mark.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "io_status.hpp"

namespace kelvra {

class IniFile {
  public:
    IniFile();

    // Parses the bytes of a file. Never fails: whatever is not a section header, an entry or a
    // comment is kept as a line of text.
    static IniFile Parse(std::string_view bytes);

    // The file as it is to be written.
    std::string Serialize() const;

    // Writes the file safely (see safe_file.hpp).
    IoStatus Save(const std::filesystem::path& path) const;

    // --- Reading ---

    bool HasSection(std::string_view section) const;
    bool HasKey(std::string_view section, std::string_view key) const;

    // The value of the first occurrence of the key, with blanks around it removed and one pair of
    // enclosing double quotes taken off (as Windows reads them); nothing when the key is missing.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;

    // The value, or `fallback` when the key is missing. A key that is present with an empty
    // value reads as empty.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view fallback) const;

    // A whole number in decimal that fits in 32 bits. Anything else - a missing key, an empty
    // value, text, a fraction, a number too large such as 99999999999999999999 - reads as
    // `fallback`, the key's default.
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t fallback) const;

    // A real stored as an integer of one hundred times its value: "2550" reads as 25.5. Values
    // that ReadInteger would not accept read as `fallback`.
    double ReadHundredths(std::string_view section, std::string_view key, double fallback) const;

    // Every entry of the section (of all sections of that name), in file order, duplicates
    // included: the key as written and the value with blanks around it removed, quotes kept.
    std::vector<std::pair<std::string, std::string>> SectionEntries(std::string_view section) const;

    // The names in a section: the keys of its entries and its lines that have no "=" (other than
    // comments and blank lines), in file order.
    std::vector<std::string> SectionNames(std::string_view section) const;

    // The sections, each name once, as first spelled, in file order.
    std::vector<std::string> Sections() const;

    // Calls visit(section, key, value) for every entry of the file in file order, with the
    // section's name as spelled in its header and the value as SectionEntries gives it. Entries
    // before the first section header are not visited. One pass, whatever the file holds.
    template <typename Visit>
    void VisitEntries(Visit&& visit) const {
        std::string_view section;
        bool inSection = false;
        for (const Line& line : lines_) {
            if (line.kind == Kind::Header) {
                section = HeaderName(line);
                inSection = true;
            } else if (line.kind == Kind::Entry && inSection) {
                visit(section, EntryKey(line), EntryValue(line));
            }
        }
    }

    // --- Writing ---

    // Sets the key's first occurrence, or adds the key at the end of the section (which is added
    // when missing). Line breaks and NUL characters in the value become blanks, so that a value
    // can never break the file into other keys; a value that begins or ends with a blank or is
    // enclosed in quotes is written in quotes, so that it reads back as it was.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
    // One hundred times `value`, rounded to the nearest integer, halves away from zero ("25.555"
    // stores 2556). Values beyond the 32-bit range are stored as its limits; a value that is not
    // a number stores `fallback` instead.
    void WriteHundredths(std::string_view section, std::string_view key, double value,
                         double fallback);
    // "true" or "false".
    void WriteBoolean(std::string_view section, std::string_view key, bool value);

    // Removes every occurrence of the key from the section.
    void EraseKey(std::string_view section, std::string_view key);
    // Removes the section (every section of that name) with all its lines.
    void EraseSection(std::string_view section);

    bool HasByteOrderMark() const { return byteOrderMark_; }
    const std::string& LineBreak() const { return lineBreak_; }

  private:
    enum class Kind : std::uint8_t { Header, Entry, Text };
    struct Line {
        std::uint32_t begin = 0;       // into text_
        std::uint32_t length = 0;      // a Text line may hold several lines joined by '\n'
        std::uint32_t nameBegin = 0;   // into text_: a header's name or an entry's key, so that
        std::uint32_t nameLength = 0;  // look-ups compare names without parsing lines again
        Kind kind = Kind::Text;
    };
    struct Found {
        std::size_t line;
        bool found;
    };

    std::string_view LineText(const Line& line) const;
    std::string_view HeaderName(const Line& line) const;
    std::string_view EntryKey(const Line& line) const;
    std::string_view EntryValue(const Line& line) const;
    Line Store(std::string_view text, Kind kind);
    void AddLine(std::string_view decoded);
    void RebuildHeaders();

    // Calls visit(lineIndex) for each entry of the sections named `section`, in file order;
    // stops when visit returns true.
    template <typename Visit>
    void ForEachEntry(std::string_view section, Visit&& visit) const;
    std::optional<std::size_t> FindEntry(std::string_view section, std::string_view key) const;

    std::string text_;                  // the decoded text of every line, one after another
    std::vector<Line> lines_;           // in file order
    std::vector<std::size_t> headers_;  // indexes of the header lines
    std::string lineBreak_;
    bool byteOrderMark_ = false;
};

// The rule by which numbers are read: a whole number in decimal, optionally signed, blanks around
// it allowed, that fits in 32 bits; nothing otherwise.
std::optional<std::int32_t> ParseInteger(std::string_view text);

}  // namespace kelvra
