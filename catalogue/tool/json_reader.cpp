#include "json_reader.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

#include "record_bytes.hpp"

namespace kelvra::catalogue {

namespace {

std::string EscapeKey(std::string_view key) {
    // JSON Pointer escaping, so that the path can be followed back into the file.
    std::string out;
    for (char c : key) {
        if (c == '~')
            out += "~0";
        else if (c == '/')
            out += "~1";
        else
            out += c;
    }
    return out;
}

std::string Describe(const nlohmann::json& v) {
    switch (v.type()) {
        case nlohmann::json::value_t::null:
            return "null";
        case nlohmann::json::value_t::object:
            return "an object";
        case nlohmann::json::value_t::array:
            return "an array";
        case nlohmann::json::value_t::string:
            return "a text";
        case nlohmann::json::value_t::boolean:
            return "true/false";
        default:
            return "a number";
    }
}

}  // namespace

SourceError::SourceError(std::string file, std::string path, std::string problem)
    : std::runtime_error(fmt::format("{}: {}: {}", file, path.empty() ? "/" : path, problem)),
      file_(std::move(file)),
      path_(std::move(path)),
      problem_(std::move(problem)) {}

SourceDocument ParseSourceText(std::string_view text, std::string shownName) {
    SourceDocument doc;
    doc.file = std::move(shownName);
    try {
        doc.root = nlohmann::json::parse(text.begin(), text.end(), nullptr, true, true);
    } catch (const nlohmann::json::parse_error& e) {
        // Turn the byte offset into a line and a column.
        std::size_t line = 1, column = 1;
        const std::size_t end = std::min<std::size_t>(e.byte > 0 ? e.byte - 1 : 0, text.size());
        for (std::size_t i = 0; i < end; ++i) {
            if (text[i] == '\n') {
                ++line;
                column = 1;
            } else {
                ++column;
            }
        }
        throw SourceError(doc.file, "", fmt::format("not valid JSON (line {}, column {})", line, column));
    }
    if (!doc.root.is_object()) throw SourceError(doc.file, "", "the file must hold one JSON object");
    return doc;
}

SourceDocument ParseSourceFile(const std::filesystem::path& path, std::string shownName) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw SourceError(shownName, "", "cannot be read");
    std::ostringstream text;
    text << in.rdbuf();
    if (!in.good() && !in.eof()) throw SourceError(shownName, "", "cannot be read");
    return ParseSourceText(text.str(), std::move(shownName));
}

Node::Node(const SourceDocument& doc, const nlohmann::json& value, std::string path)
    : doc_(&doc), value_(&value), path_(std::move(path)) {}

void Node::Fail(const std::string& problem) const {
    throw SourceError(doc_->file, path_, problem);
}

bool Node::Has(std::string_view key) const {
    return value_->is_object() && value_->contains(key);
}

Node Node::operator[](std::string_view key) const {
    if (!value_->is_object()) Fail("expected an object, found " + Describe(*value_));
    const auto it = value_->find(key);
    if (it == value_->end()) Fail(fmt::format("missing \"{}\"", key));
    return Node(*doc_, *it, path_ + "/" + EscapeKey(key));
}

std::optional<Node> Node::Find(std::string_view key) const {
    if (!value_->is_object()) Fail("expected an object, found " + Describe(*value_));
    const auto it = value_->find(key);
    if (it == value_->end() || it->is_null()) return std::nullopt;
    return Node(*doc_, *it, path_ + "/" + EscapeKey(key));
}

std::vector<Node> Node::Elements() const {
    if (!value_->is_array()) Fail("expected an array, found " + Describe(*value_));
    std::vector<Node> out;
    out.reserve(value_->size());
    for (std::size_t i = 0; i < value_->size(); ++i)
        out.emplace_back(*doc_, (*value_)[i], path_ + "/" + std::to_string(i));
    return out;
}

std::vector<std::pair<std::string, Node>> Node::Members() const {
    if (!value_->is_object()) Fail("expected an object, found " + Describe(*value_));
    std::vector<std::pair<std::string, Node>> out;
    for (auto it = value_->begin(); it != value_->end(); ++it)
        out.emplace_back(it.key(), Node(*doc_, it.value(), path_ + "/" + EscapeKey(it.key())));
    return out;
}

double Node::Number() const {
    if (!value_->is_number()) Fail("expected a number, found " + Describe(*value_));
    const double v = value_->get<double>();
    if (!std::isfinite(v)) Fail("expected a finite number");
    return v;
}

double Node::Number(double low, double high) const {
    const double v = Number();
    if (v < low || v > high) Fail(fmt::format("{} lies outside {} .. {}", v, low, high));
    return v;
}

long long Node::Integer(long long low, long long high) const {
    if (!value_->is_number_integer() && !value_->is_number_unsigned()) {
        if (value_->is_number()) Fail(fmt::format("expected a whole number, found {}", value_->get<double>()));
        Fail("expected a whole number, found " + Describe(*value_));
    }
    const long long v = value_->is_number_unsigned()
                            ? static_cast<long long>(std::min<unsigned long long>(
                                  value_->get<unsigned long long>(), 1ull << 62))
                            : value_->get<long long>();
    if (v < low || v > high) Fail(fmt::format("{} lies outside {} .. {}", v, low, high));
    return v;
}

std::string Node::Text() const {
    if (!value_->is_string()) Fail("expected a text, found " + Describe(*value_));
    return value_->get<std::string>();
}

std::string Node::Text(std::size_t maxBytes) const {
    std::string t = Text();
    const std::string encoded = Utf8ToWindows1252(t);
    if (encoded.size() > maxBytes)
        Fail(fmt::format("\"{}\" is longer than {} characters", t, maxBytes));
    if (std::count(encoded.begin(), encoded.end(), '?') != std::count(t.begin(), t.end(), '?'))
        Fail(fmt::format("\"{}\" holds a character the record text cannot hold", t));
    if (encoded.find('\0') != std::string::npos) Fail("a text may not hold a zero character");
    return t;
}

bool Node::Boolean() const {
    if (!value_->is_boolean()) Fail("expected true or false, found " + Describe(*value_));
    return value_->get<bool>();
}

char Node::Letter(std::string_view allowed) const {
    const std::string t = Text();
    if (t.size() != 1 || allowed.find(t[0]) == std::string_view::npos)
        Fail(fmt::format("expected one of the letters \"{}\", found \"{}\"", allowed, t));
    return t[0];
}

double Node::Number(std::string_view key, double low, double high, double fallback) const {
    if (auto n = Find(key)) return n->Number(low, high);
    return fallback;
}

long long Node::Integer(std::string_view key, long long low, long long high, long long fallback) const {
    if (auto n = Find(key)) return n->Integer(low, high);
    return fallback;
}

std::string Node::Text(std::string_view key, std::string fallback) const {
    if (auto n = Find(key)) return n->Text();
    return fallback;
}

bool Node::Boolean(std::string_view key, bool fallback) const {
    if (auto n = Find(key)) return n->Boolean();
    return fallback;
}

void Node::OnlyKeys(std::initializer_list<std::string_view> known) const {
    if (!value_->is_object()) Fail("expected an object, found " + Describe(*value_));
    for (auto it = value_->begin(); it != value_->end(); ++it) {
        bool found = false;
        for (std::string_view k : known) found = found || it.key() == k;
        if (!found) {
            std::string list;
            for (std::string_view k : known) list += (list.empty() ? "" : ", ") + std::string(k);
            Node(*doc_, it.value(), path_ + "/" + EscapeKey(it.key()))
                .Fail(fmt::format("unknown member \"{}\" (known here: {})", it.key(), list));
        }
    }
}

}  // namespace kelvra::catalogue
