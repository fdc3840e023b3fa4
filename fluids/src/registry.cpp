#include "registry.hpp"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <span>
#include <sstream>

namespace kelvra::fluids {

struct EmbeddedText {
    std::string_view name;
    std::string_view text;
};
std::span<const EmbeddedText> builtin_fluid_files();

namespace {

bool same_name(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

Registry& Registry::instance() {
    static Registry r;
    return r;
}

Registry::Registry() {
    for (const EmbeddedText& f : builtin_fluid_files()) {
        std::string error;
        add(f.text, error);  // the built-in files are checked by the tests
    }
}

Registry::Entry* Registry::lookup(std::string_view name) {
    for (auto& e : entries_) {
        if (same_name(e->data.name, name)) return e.get();
        for (const auto& a : e->data.aliases)
            if (same_name(a, name)) return e.get();
    }
    return nullptr;
}

const Fluid* Registry::find(std::string_view name) {
    std::lock_guard lock(mutex_);
    Entry* e = lookup(name);
    if (!e || e->failed) return nullptr;
    if (!e->fluid) {
        e->fluid = Fluid::create(e->data, e->error);
        if (!e->fluid) {
            e->failed = true;
            return nullptr;
        }
    }
    return e->fluid.get();
}

std::vector<std::string> Registry::names() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> out;
    for (const auto& e : entries_) out.push_back(e->data.name);
    std::sort(out.begin(), out.end());
    return out;
}

bool Registry::add(std::string_view text, std::string& error) {
    ParseResult parsed = parse_fluid(text);
    if (!parsed.ok) {
        error = parsed.error;
        return false;
    }
    std::lock_guard lock(mutex_);
    auto entry = std::make_unique<Entry>();
    entry->data = std::move(parsed.data);
    for (auto& e : entries_) {
        if (same_name(e->data.name, entry->data.name)) {
            replaced_.push_back(std::move(e));
            e = std::move(entry);
            return true;
        }
    }
    entries_.push_back(std::move(entry));
    return true;
}

bool Registry::load_folder(const std::string& folder, std::string& error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        error = "not a folder: " + folder;
        return false;
    }
    bool all_ok = true;
    for (const auto& item : fs::directory_iterator(folder, ec)) {
        if (item.path().extension() != ".fluid" || !item.is_regular_file(ec)) continue;
        if (item.file_size(ec) > (1u << 20)) {
            if (all_ok) error = item.path().string() + ": file too large";
            all_ok = false;
            continue;
        }
        std::ifstream in(item.path(), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        if (!in && !in.eof()) {
            if (all_ok) error = item.path().string() + ": cannot be read";
            all_ok = false;
            continue;
        }
        std::string why;
        if (!add(ss.str(), why)) {
            if (all_ok) error = item.path().string() + ": " + why;
            all_ok = false;
        }
    }
    return all_ok;
}

}  // namespace kelvra::fluids
