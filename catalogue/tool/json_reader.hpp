#pragma once
// Reading the catalogue source: JSON values with the file and the JSON path they came from, so
// that every complaint about a source file names the file, the place and the problem.

#include <nlohmann/json.hpp>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kelvra::catalogue {

// A source file that cannot be used. what() reads "<file>: <json path>: <problem>".
class SourceError : public std::runtime_error {
  public:
    SourceError(std::string file, std::string path, std::string problem);

    const std::string& File() const { return file_; }
    const std::string& Path() const { return path_; }
    const std::string& Problem() const { return problem_; }

  private:
    std::string file_;
    std::string path_;
    std::string problem_;
};

// One parsed source file.
struct SourceDocument {
    std::string file;  // the name shown in messages (the file's name within the source folder)
    nlohmann::json root;
};

// Parses a file; a file that cannot be read or is not JSON is refused with its line and column.
SourceDocument ParseSourceFile(const std::filesystem::path& path, std::string shownName);
// Parses text (tests, embedded sources).
SourceDocument ParseSourceText(std::string_view text, std::string shownName);

// A value within a source document, with its JSON path ("/families/2/models/0/name").
class Node {
  public:
    Node(const SourceDocument& doc, const nlohmann::json& value, std::string path);
    static Node Root(const SourceDocument& doc) { return Node(doc, doc.root, ""); }

    const std::string& Path() const { return path_; }
    const std::string& File() const { return doc_->file; }
    const nlohmann::json& Json() const { return *value_; }

    bool IsObject() const { return value_->is_object(); }
    bool IsArray() const { return value_->is_array(); }
    bool Has(std::string_view key) const;

    // The member `key`; refused when this is not an object or the member is missing.
    Node operator[](std::string_view key) const;
    std::optional<Node> Find(std::string_view key) const;

    // Elements of an array (refused when this is not an array).
    std::vector<Node> Elements() const;
    // Members of an object in file order, as (key, value).
    std::vector<std::pair<std::string, Node>> Members() const;

    double Number() const;
    // A number within [low, high].
    double Number(double low, double high) const;
    long long Integer(long long low, long long high) const;
    std::string Text() const;
    // A text of at most `maxBytes` bytes in Windows-1252 (what the record field holds).
    std::string Text(std::size_t maxBytes) const;
    bool Boolean() const;
    char Letter(std::string_view allowed) const;

    // Member helpers with defaults.
    double Number(std::string_view key, double low, double high, double fallback) const;
    long long Integer(std::string_view key, long long low, long long high, long long fallback) const;
    std::string Text(std::string_view key, std::string fallback) const;
    bool Boolean(std::string_view key, bool fallback) const;

    // Refuses every member of this object whose key is not in `known` (catches misspellings).
    void OnlyKeys(std::initializer_list<std::string_view> known) const;

    // Throws a SourceError at this value.
    [[noreturn]] void Fail(const std::string& problem) const;

  private:
    const SourceDocument* doc_;
    const nlohmann::json* value_;
    std::string path_;
};

}  // namespace kelvra::catalogue
