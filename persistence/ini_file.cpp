#include "ini_file.hpp"

#include <fmt/format.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <unordered_set>

#include "safe_file.hpp"
#include "text_encoding.hpp"

namespace kelvra {

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view s) {
    const std::size_t first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const std::size_t last = s.find_last_not_of(kBlanks);
    return s.substr(first, last - first + 1);
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return value.substr(1, value.size() - 2);
    return value;
}

// The value as it must stand in the file to read back unchanged.
std::string RenderValue(std::string_view value) {
    std::string clean(value);
    for (char& c : clean)
        if (c == '\r' || c == '\n' || c == '\0') c = ' ';
    const bool padded = !clean.empty() && (kBlanks.find(clean.front()) != std::string::npos ||
                                           kBlanks.find(clean.back()) != std::string::npos);
    const bool quoted = clean.size() >= 2 && clean.front() == '"' && clean.back() == '"';
    if (padded || quoted) return fmt::format("\"{}\"", clean);
    return clean;
}

// Keys are the program's own; keep them from breaking a line anyway.
std::string RenderName(std::string_view name) {
    std::string clean(Trim(name));
    for (char& c : clean)
        if (c == '\r' || c == '\n' || c == '\0' || c == '=' || c == '[' || c == ']') c = ' ';
    return clean;
}

#if defined(_WIN32)
constexpr std::string_view kNativeLineBreak = "\r\n";
#else
constexpr std::string_view kNativeLineBreak = "\n";
#endif

}  // namespace

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    text = Trim(text);
    // Nothing longer is a 32-bit number, leading zeros allowed for; stop before scanning a
    // megabyte of digits.
    if (text.size() > 24) return std::nullopt;
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return std::nullopt;
    }
    if (text.empty()) return std::nullopt;
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

IniFile::IniFile() : lineBreak_(kNativeLineBreak) {}

std::string_view IniFile::LineText(const Line& line) const {
    return std::string_view(text_).substr(line.begin, line.length);
}

std::string_view IniFile::HeaderName(const Line& line) const {
    return std::string_view(text_).substr(line.nameBegin, line.nameLength);
}

std::string_view IniFile::EntryKey(const Line& line) const {
    return std::string_view(text_).substr(line.nameBegin, line.nameLength);
}

std::string_view IniFile::EntryValue(const Line& line) const {
    const std::string_view t = LineText(line);
    return Trim(t.substr(t.find('=') + 1));
}

IniFile::Line IniFile::Store(std::string_view text, Kind kind) {
    if (text_.size() + text.size() > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("INI text too long");
    Line line;
    line.begin = static_cast<std::uint32_t>(text_.size());
    line.length = static_cast<std::uint32_t>(text.size());
    line.kind = kind;
    std::string_view name;
    if (kind == Kind::Header) {
        const std::string_view t = Trim(text);
        name = Trim(t.substr(1, t.find(']') - 1));
    } else if (kind == Kind::Entry) {
        name = Trim(text.substr(0, text.find('=')));
    }
    if (!name.empty()) {
        line.nameBegin = line.begin + static_cast<std::uint32_t>(name.data() - text.data());
        line.nameLength = static_cast<std::uint32_t>(name.size());
    } else {
        line.nameBegin = line.begin;
    }
    text_.append(text);
    return line;
}

void IniFile::AddLine(std::string_view decoded) {
    const std::string_view t = Trim(decoded);
    Kind kind = Kind::Text;
    if (!t.empty() && t.front() == '[' && t.find(']') != std::string_view::npos) {
        kind = Kind::Header;
    } else if (!t.empty() && t.front() != ';') {
        const std::size_t eq = decoded.find('=');
        if (eq != std::string_view::npos && !Trim(decoded.substr(0, eq)).empty())
            kind = Kind::Entry;
    }
    // Consecutive text lines (blank lines, comments, garbage) share one stored line, so that a
    // file of nothing but line breaks costs no more memory than its size.
    if (kind == Kind::Text && !lines_.empty() && lines_.back().kind == Kind::Text &&
        lines_.back().begin + lines_.back().length == text_.size()) {
        if (text_.size() + 1 + decoded.size() > std::numeric_limits<std::uint32_t>::max())
            throw std::length_error("INI text too long");
        text_.push_back('\n');
        text_.append(decoded);
        lines_.back().length += static_cast<std::uint32_t>(1 + decoded.size());
        return;
    }
    lines_.push_back(Store(decoded, kind));
}

void IniFile::RebuildHeaders() {
    headers_.clear();
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].kind == Kind::Header) headers_.push_back(i);
}

IniFile IniFile::Parse(std::string_view bytes) {
    IniFile ini;
    if (bytes.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) {
        ini.byteOrderMark_ = true;
        bytes.remove_prefix(kUtf8ByteOrderMark.size());
    }
    ini.text_.reserve(bytes.size() + bytes.size() / 8);

    bool lineBreakSeen = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') continue;
        std::size_t next = i + 1;
        if (c == '\r' && next < bytes.size() && bytes[next] == '\n') ++next;
        if (!lineBreakSeen) {
            lineBreakSeen = true;
            ini.lineBreak_ = (next - i == 2) ? "\r\n" : std::string(kNativeLineBreak);
        }
        ini.AddLine(DecodeText(bytes.substr(start, i - start)));
        start = next;
        i = next - 1;
    }
    if (start < bytes.size()) ini.AddLine(DecodeText(bytes.substr(start)));  // no final break
    ini.RebuildHeaders();
    return ini;
}

std::string IniFile::Serialize() const {
    std::string out;
    out.reserve(text_.size() + lines_.size() * lineBreak_.size() + 4);
    if (byteOrderMark_) out.append(kUtf8ByteOrderMark);
    for (const Line& line : lines_) {
        const std::string_view t = LineText(line);
        if (line.kind == Kind::Text && lineBreak_ != "\n") {
            std::size_t from = 0;
            for (std::size_t nl = t.find('\n'); nl != std::string_view::npos;
                 nl = t.find('\n', from)) {
                out.append(t.substr(from, nl - from));
                out.append(lineBreak_);
                from = nl + 1;
            }
            out.append(t.substr(from));
        } else {
            out.append(t);
        }
        out.append(lineBreak_);
    }
    return out;
}

IoStatus IniFile::Save(const std::filesystem::path& path) const {
    return WriteFileSafely(path, Serialize());
}

template <typename Visit>
void IniFile::ForEachEntry(std::string_view section, Visit&& visit) const {
    const std::string_view name = Trim(section);
    for (std::size_t h = 0; h < headers_.size(); ++h) {
        if (!SameName(HeaderName(lines_[headers_[h]]), name)) continue;
        const std::size_t end = (h + 1 < headers_.size()) ? headers_[h + 1] : lines_.size();
        for (std::size_t i = headers_[h] + 1; i < end; ++i)
            if (lines_[i].kind == Kind::Entry && visit(i)) return;
    }
}

std::optional<std::size_t> IniFile::FindEntry(std::string_view section,
                                              std::string_view key) const {
    std::optional<std::size_t> result;
    const std::string_view wanted = Trim(key);
    ForEachEntry(section, [&](std::size_t i) {
        if (!SameName(EntryKey(lines_[i]), wanted)) return false;
        result = i;
        return true;
    });
    return result;
}

bool IniFile::HasSection(std::string_view section) const {
    const std::string_view name = Trim(section);
    for (const std::size_t h : headers_)
        if (SameName(HeaderName(lines_[h]), name)) return true;
    return false;
}

bool IniFile::HasKey(std::string_view section, std::string_view key) const {
    return FindEntry(section, key).has_value();
}

std::optional<std::string> IniFile::Find(std::string_view section, std::string_view key) const {
    const auto i = FindEntry(section, key);
    if (!i) return std::nullopt;
    return std::string(Unquote(EntryValue(lines_[*i])));
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
    auto value = Find(section, key);
    return value ? std::move(*value) : std::string(fallback);
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                                  std::int32_t fallback) const {
    const auto i = FindEntry(section, key);
    if (!i) return fallback;
    return ParseInteger(Unquote(EntryValue(lines_[*i]))).value_or(fallback);
}

double IniFile::ReadHundredths(std::string_view section, std::string_view key,
                               double fallback) const {
    const auto i = FindEntry(section, key);
    if (!i) return fallback;
    const auto hundredths = ParseInteger(Unquote(EntryValue(lines_[*i])));
    return hundredths ? *hundredths / 100.0 : fallback;
}

std::vector<std::pair<std::string, std::string>> IniFile::SectionEntries(
    std::string_view section) const {
    std::vector<std::pair<std::string, std::string>> entries;
    ForEachEntry(section, [&](std::size_t i) {
        entries.emplace_back(EntryKey(lines_[i]), EntryValue(lines_[i]));
        return false;
    });
    return entries;
}

std::vector<std::string> IniFile::SectionNames(std::string_view section) const {
    std::vector<std::string> names;
    const std::string_view name = Trim(section);
    for (std::size_t h = 0; h < headers_.size(); ++h) {
        if (!SameName(HeaderName(lines_[headers_[h]]), name)) continue;
        const std::size_t end = (h + 1 < headers_.size()) ? headers_[h + 1] : lines_.size();
        for (std::size_t i = headers_[h] + 1; i < end; ++i) {
            const Line& line = lines_[i];
            if (line.kind == Kind::Entry) {
                names.emplace_back(EntryKey(line));
                continue;
            }
            // Bare names in a text line (one or more lines joined by '\n'); comments, blank lines
            // and lines with an empty key name nothing.
            const std::string_view t = LineText(line);
            std::size_t from = 0;
            while (from <= t.size()) {
                const std::size_t nl = std::min(t.find('\n', from), t.size());
                const std::string_view bare = Trim(t.substr(from, nl - from));
                if (!bare.empty() && bare.front() != ';' &&
                    bare.find('=') == std::string_view::npos)
                    names.emplace_back(bare);
                from = nl + 1;
            }
        }
    }
    return names;
}

std::vector<std::string> IniFile::Sections() const {
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    for (const std::size_t h : headers_) {
        const std::string_view name = HeaderName(lines_[h]);
        std::string lower(name);
        for (char& c : lower) c = LowerAscii(c);
        if (seen.insert(std::move(lower)).second) names.emplace_back(name);
    }
    return names;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    const std::string rendered = RenderValue(value);
    if (const auto i = FindEntry(section, key)) {
        // Keep the key as the file spells it.
        const std::string line = std::string(EntryKey(lines_[*i])) + "=" + rendered;
        lines_[*i] = Store(line, Kind::Entry);
        return;
    }
    const std::string entry = RenderName(key) + "=" + rendered;

    // The first section of that name; new keys go after its last non-blank line.
    const std::string_view name = Trim(section);
    for (std::size_t h = 0; h < headers_.size(); ++h) {
        if (!SameName(HeaderName(lines_[headers_[h]]), name)) continue;
        const std::size_t end = (h + 1 < headers_.size()) ? headers_[h + 1] : lines_.size();
        std::size_t at = end;
        // A trailing text line may hold blank lines that separate this section from the next:
        // insert before it when it is nothing but blanks.
        if (at > headers_[h] + 1 && lines_[at - 1].kind == Kind::Text &&
            LineText(lines_[at - 1]).find_first_not_of(" \t\n") == std::string_view::npos)
            --at;
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Store(entry, Kind::Entry));
        RebuildHeaders();
        return;
    }

    // A new section at the end of the file, after a blank line.
    if (!lines_.empty()) {
        const std::string_view last = LineText(lines_.back());
        const std::size_t nl = last.rfind('\n');
        const std::string_view lastLine = nl == std::string_view::npos ? last : last.substr(nl + 1);
        if (lines_.back().kind != Kind::Text || !Trim(lastLine).empty())
            lines_.push_back(Store("", Kind::Text));
    }
    lines_.push_back(Store(fmt::format("[{}]", RenderName(section)), Kind::Header));
    lines_.push_back(Store(entry, Kind::Entry));
    RebuildHeaders();
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteHundredths(std::string_view section, std::string_view key, double value,
                              double fallback) {
    if (!std::isfinite(value)) value = std::isnan(value) ? fallback : value;
    double scaled = value * 100.0;
    double rounded;
    if (std::isinf(scaled)) {
        rounded = scaled;
    } else {
        // Halves away from zero, also where binary arithmetic lands a hair beside the half: the
        // value 1.005 gives 100.49999999999999 and stores 101.
        const double below = std::floor(scaled);
        const double tolerance = 1e-9 * std::max(1.0, std::fabs(scaled));
        if (std::fabs(scaled - below - 0.5) <= tolerance)
            rounded = scaled > 0 ? below + 1 : below;
        else
            rounded = std::round(scaled);
    }
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    const std::int32_t stored = rounded <= lo
                                    ? std::numeric_limits<std::int32_t>::min()
                                    : (rounded >= hi ? std::numeric_limits<std::int32_t>::max()
                                                     : static_cast<std::int32_t>(rounded));
    WriteInteger(section, key, stored);
}

void IniFile::WriteBoolean(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "true" : "false");
}

void IniFile::EraseKey(std::string_view section, std::string_view key) {
    std::vector<std::size_t> doomed;
    const std::string_view wanted = Trim(key);
    ForEachEntry(section, [&](std::size_t i) {
        if (SameName(EntryKey(lines_[i]), wanted)) doomed.push_back(i);
        return false;
    });
    for (auto it = doomed.rbegin(); it != doomed.rend(); ++it)
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*it));
    if (!doomed.empty()) RebuildHeaders();
}

void IniFile::EraseSection(std::string_view section) {
    const std::string_view name = Trim(section);
    std::vector<Line> kept;
    kept.reserve(lines_.size());
    bool inside = false;
    for (const Line& line : lines_) {
        if (line.kind == Kind::Header) inside = SameName(HeaderName(line), name);
        if (!inside) kept.push_back(line);
    }
    lines_ = std::move(kept);
    RebuildHeaders();
}

}  // namespace kelvra
