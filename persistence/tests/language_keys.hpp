// Collects the language keys the program uses, with their built-in English texts, from its
// source: the same texts the code falls back on are the ones "english.lng" must hold.
//
// Found in C++ sources (comments skipped, adjacent string literals joined):
//   Text("key", "English")                 a look-up with its default (also through the
//                                          windows' shorthands T() and Caption())
//   Text("key", kName)                     kName defined in the same file as kName = "English"
//   {"key", "English"}                     a table entry, when the key begins like a language key
//                                          (str, lbl, hnt, lit, frm, mnu, btn, chk, rad, box, tab)
// Found in Qt Designer files (*.ui): each widget's or action's name with its text, title or
// window title as the caption, and its tool tip under the hint key ("hnt" + name from its fourth
// character on).
#pragma once

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvra::testing {

struct FoundText {
    std::string key;
    std::string english;
    std::string where;  // file, for messages
};

namespace detail {

enum class TokenKind { Identifier, String, Punct };
struct Token {
    TokenKind kind;
    std::string text;
};

inline bool IdentChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

inline std::string Unescape(std::string_view body) {
    std::string out;
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i] != '\\' || i + 1 >= body.size()) {
            out.push_back(body[i]);
            continue;
        }
        const char e = body[++i];
        switch (e) {
            case 'n':
                out.push_back('\n');
                break;
            case 't':
                out.push_back('\t');
                break;
            case 'r':
                out.push_back('\r');
                break;
            case '0':
                out.push_back('\0');
                break;
            case 'x': {
                int value = 0;
                while (i + 1 < body.size() &&
                       std::isxdigit(static_cast<unsigned char>(body[i + 1])))
                    value = value * 16 + std::stoi(std::string(1, body[++i]), nullptr, 16);
                out.push_back(static_cast<char>(value));
                break;
            }
            default:
                out.push_back(e);
                break;
        }
    }
    return out;
}

// Identifiers, string literals (adjacent ones joined) and single punctuation characters.
inline std::vector<Token> Tokenize(std::string_view s) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (s.substr(i, 2) == "//") {
            i = s.find('\n', i);
            if (i == std::string_view::npos) break;
        } else if (s.substr(i, 2) == "/*") {
            i = s.find("*/", i + 2);
            if (i == std::string_view::npos) break;
            i += 2;
        } else if (c == '\'') {
            // A character literal: skip it, escapes included.
            ++i;
            while (i < s.size() && s[i] != '\'') i += (s[i] == '\\') ? 2 : 1;
            ++i;
        } else if (c == '"' || (c == 'R' && i + 1 < s.size() && s[i + 1] == '"')) {
            std::string value;
            if (c == 'R') {
                const std::size_t open = s.find('(', i + 2);
                std::string delimiter(1, ')');
                delimiter.append(s.substr(i + 2, open - i - 2)).push_back('"');
                const std::size_t close = s.find(delimiter, open);
                value = std::string(s.substr(open + 1, close - open - 1));
                i = close + delimiter.size();
            } else {
                std::size_t j = i + 1;
                while (j < s.size() && s[j] != '"') j += (s[j] == '\\') ? 2 : 1;
                value = Unescape(s.substr(i + 1, j - i - 1));
                i = j + 1;
            }
            if (!tokens.empty() && tokens.back().kind == TokenKind::String)
                tokens.back().text += value;
            else
                tokens.push_back({TokenKind::String, value});
        } else if (IdentChar(c)) {
            // A number may hold digit separators (0xFFFF'FFFF), which are no character literals.
            const bool number = std::isdigit(static_cast<unsigned char>(c));
            std::size_t j = i;
            while (j < s.size() && (IdentChar(s[j]) || (number && s[j] == '\'' &&
                                                        j + 1 < s.size() && IdentChar(s[j + 1]))))
                ++j;
            tokens.push_back({TokenKind::Identifier, std::string(s.substr(i, j - i))});
            i = j;
        } else {
            if (!std::isspace(static_cast<unsigned char>(c)))
                tokens.push_back({TokenKind::Punct, std::string(1, c)});
            ++i;
        }
    }
    return tokens;
}

inline bool LooksLikeLanguageKey(std::string_view key) {
    for (const std::string_view prefix :
         {"str", "lbl", "hnt", "lit", "frm", "mnu", "btn", "chk", "rad", "box", "tab"}) {
        if (key.size() > prefix.size() && key.substr(0, prefix.size()) == prefix &&
            (std::isupper(static_cast<unsigned char>(key[prefix.size()])) ||
             std::isdigit(static_cast<unsigned char>(key[prefix.size()]))))
            return true;
    }
    return false;
}

inline std::string XmlText(std::string_view s) {
    std::string out(s);
    const std::pair<std::string_view, std::string_view> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
    for (const auto& [entity, character] : entities) {
        for (std::size_t at = out.find(entity); at != std::string::npos;
             at = out.find(entity, at + character.size()))
            out.replace(at, entity.size(), character);
    }
    return out;
}

// The <string> of a property of the element that starts at `from`, before `end`.
inline std::optional<std::string> UiProperty(std::string_view s, std::size_t from, std::size_t end,
                                             std::string_view property) {
    const std::string tag = "<property name=\"" + std::string(property) + "\"";
    const std::size_t at = s.find(tag, from);
    if (at == std::string_view::npos || at >= end) return std::nullopt;
    const std::size_t open = s.find("<string", at);
    const std::size_t body = s.find('>', open);
    const std::size_t close = s.find("</string>", body);
    if (open == std::string_view::npos || body == std::string_view::npos ||
        close == std::string_view::npos || close >= end)
        return std::nullopt;
    return XmlText(s.substr(body + 1, close - body - 1));
}

}  // namespace detail

// The texts of one C++ source.
inline std::vector<FoundText> ScanSource(std::string_view source, const std::string& where) {
    using detail::TokenKind;
    const std::vector<detail::Token> t = detail::Tokenize(source);
    std::map<std::string, std::string> constants;  // kName = "text"
    for (std::size_t i = 0; i + 2 < t.size(); ++i)
        if (t[i].kind == TokenKind::Identifier && t[i + 1].text == "=" &&
            t[i + 2].kind == TokenKind::String)
            constants[t[i].text] = t[i + 2].text;

    std::vector<FoundText> found;
    for (std::size_t i = 0; i + 4 < t.size(); ++i) {
        // A free call only: node.Text("name", ...) and the like read other things.
        const bool member = i > 0 && (t[i - 1].text == "." || t[i - 1].text == ">");
        // The windows' shorthands T() and Caption() take the same arguments as Text().
        const bool lookUp = t[i].text == "Text" || t[i].text == "T" || t[i].text == "Caption";
        if (!member && t[i].kind == TokenKind::Identifier && lookUp &&
            t[i + 1].text == "(" &&
            t[i + 2].kind == TokenKind::String && t[i + 3].text == ",") {
            if (t[i + 4].kind == TokenKind::String)
                found.push_back({t[i + 2].text, t[i + 4].text, where});
            else if (t[i + 4].kind == TokenKind::Identifier && constants.count(t[i + 4].text))
                found.push_back({t[i + 2].text, constants[t[i + 4].text], where});
        }
        if (t[i].text == "{" && t[i + 1].kind == TokenKind::String && t[i + 2].text == "," &&
            t[i + 3].kind == TokenKind::String && t[i + 4].text == "}" &&
            detail::LooksLikeLanguageKey(t[i + 1].text))
            found.push_back({t[i + 1].text, t[i + 3].text, where});
    }
    return found;
}

// The texts of one Qt Designer file.
inline std::vector<FoundText> ScanUi(std::string_view ui, const std::string& where) {
    std::vector<FoundText> found;
    std::vector<std::size_t> starts;
    for (const std::string_view tag : {"<widget ", "<action "})
        for (std::size_t at = ui.find(tag); at != std::string_view::npos; at = ui.find(tag, at + 1))
            starts.push_back(at);
    std::sort(starts.begin(), starts.end());
    for (std::size_t k = 0; k < starts.size(); ++k) {
        const std::size_t from = starts[k];
        const std::size_t end = k + 1 < starts.size() ? starts[k + 1] : ui.size();
        const std::size_t tagEnd = ui.find('>', from);
        const std::size_t nameAt = ui.find("name=\"", from);
        if (nameAt == std::string_view::npos || nameAt > tagEnd) continue;
        const std::size_t nameEnd = ui.find('"', nameAt + 6);
        const std::string name(ui.substr(nameAt + 6, nameEnd - nameAt - 6));
        for (const std::string_view property : {"text", "title", "windowTitle"}) {
            if (auto caption = detail::UiProperty(ui, tagEnd, end, property)) {
                found.push_back({name, *caption, where});
                break;
            }
        }
        if (auto tip = detail::UiProperty(ui, tagEnd, end, "toolTip"))
            found.push_back(
                {"hnt" + (name.size() > 3 ? name.substr(3) : std::string()), *tip, where});
    }
    return found;
}

// Every text of the program's sources under `root`: its layer folders, without tests, build
// folders and the property library.
inline std::vector<FoundText> CollectLanguageTexts(const std::filesystem::path& root) {
    namespace fs = std::filesystem;
    std::vector<FoundText> found;
    for (const auto& top : fs::directory_iterator(root)) {
        const std::string folder = top.path().filename().string();
        if (!top.is_directory() || folder.rfind("build", 0) == 0 || folder.front() == '.' ||
            folder == "fluids" || folder == "lang" || folder == "cmake" || folder == "scripts")
            continue;
        for (auto it = fs::recursive_directory_iterator(top.path());
             it != fs::recursive_directory_iterator(); ++it) {
            if (it->is_directory() && (it->path().filename() == "tests" ||
                                       it->path().filename().string().front() == '.')) {
                it.disable_recursion_pending();
                continue;
            }
            const std::string ext = it->path().extension().string();
            if (ext != ".cpp" && ext != ".hpp" && ext != ".h" && ext != ".ui") continue;
            std::ifstream in(it->path(), std::ios::binary);
            const std::string text((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
            const std::string where = fs::relative(it->path(), root).string();
            auto more = ext == ".ui" ? ScanUi(text, where) : ScanSource(text, where);
            found.insert(found.end(), more.begin(), more.end());
        }
    }
    return found;
}

}  // namespace kelvra::testing
