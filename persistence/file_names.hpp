#pragma once

// File names the program takes from its own files and folders. Names that come from files (a
// language file named in a project, say) are only ever looked up in the program's own folders,
// so they must be plain names; file systems may differ in case from the names stored in files
// written on Windows machines ("ENGLISH.LNG" and "english.lng").

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvra {

// True for a file name without any folder part: not empty, not "." or "..", no "/" or "\\", no
// drive letter, no control characters, at most 255 bytes.
bool IsPlainFileName(std::string_view name);

// The path with its extension replaced by `extension` (given with its dot, ".chm"), or added when
// it has none. An empty path stays empty.
std::string ForceExtension(std::string_view path, std::string_view extension);

// The file in `folder` whose name equals `name` ignoring ASCII case; the exact name wins when
// both exist. Nothing when there is none or the name is not plain.
std::optional<std::filesystem::path> FindFileIgnoringCase(const std::filesystem::path& folder,
                                                          std::string_view name);

// The names of the regular files in `folder` whose extension equals `extension` (with its dot)
// ignoring case, sorted ignoring case. Empty when the folder cannot be read.
std::vector<std::string> FilesWithExtension(const std::filesystem::path& folder,
                                            std::string_view extension);

// ASCII case-insensitive comparison.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

}  // namespace kelvra
