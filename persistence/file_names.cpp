#include "file_names.hpp"

#include <algorithm>
#include <system_error>

namespace kelvra {

namespace fs = std::filesystem;

namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Lower(x) < Lower(y); });
}

}  // namespace

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

bool IsPlainFileName(std::string_view name) {
    if (name.empty() || name.size() > 255 || name == "." || name == "..") return false;
    for (const char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || c == '/' || c == '\\' || c == ':') return false;
    }
    return true;
}

std::string ForceExtension(std::string_view path, std::string_view extension) {
    if (path.empty()) return {};
    // The extension begins at the last dot of the last path component.
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    const std::size_t dot = path.rfind('.');
    const std::size_t stemEnd =
        (dot != std::string_view::npos && dot > nameStart) ? dot : path.size();
    return std::string(path.substr(0, stemEnd)) + std::string(extension);
}

std::optional<fs::path> FindFileIgnoringCase(const fs::path& folder, std::string_view name) {
    if (!IsPlainFileName(name)) return std::nullopt;
    std::error_code ec;
    const fs::path exact = folder / std::string(name);
    if (fs::is_regular_file(exact, ec)) return exact;
    std::optional<fs::path> found;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string candidate = it->path().filename().string();
        if (EqualIgnoringCase(candidate, name) && it->is_regular_file(ec)) {
            if (!found || candidate < found->filename().string()) found = it->path();
        }
    }
    return found;
}

std::vector<std::string> FilesWithExtension(const fs::path& folder, std::string_view extension) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        const fs::path& p = it->path();
        if (EqualIgnoringCase(p.extension().string(), extension))
            names.push_back(p.filename().string());
    }
    std::sort(names.begin(), names.end(), LessIgnoringCase);
    return names;
}

}  // namespace kelvra
