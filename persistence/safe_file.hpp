#pragma once

// Reading whole files with a size limit, and the one routine by which every file of the program
// is written: the new contents go to a temporary file in the same folder, which is flushed to
// disk, closed and then renamed over the old file. Until the rename nothing of the old file has
// changed, so a failure (full disk, read-only folder, missing folder, a fault while the contents
// were produced) leaves it byte for byte as it was.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

#include "io_status.hpp"

namespace kelvra {

// Settings, project, language and table files are small; anything larger than this is not one of
// ours and is refused rather than read (64 MiB).
inline constexpr std::uintmax_t kMaxReadableFileBytes = 64u * 1024u * 1024u;

struct FileContents {
    IoStatus status;      // failure: "Unable to read " + path
    bool exists = false;  // false when there is nothing at the path
    std::string bytes;
};

// Reads a regular file of at most `maxBytes` bytes. Folders, devices and pipes are refused
// without being opened, so a read never blocks.
FileContents ReadWholeFile(const std::filesystem::path& path,
                           std::uintmax_t maxBytes = kMaxReadableFileBytes);

// Replaces the file at `path` with `bytes`. Failures report "Unable to write to " + path when the
// file cannot be created or replaced (missing or read-only folder, a read-only file, a folder in
// the way) and "Error writing " + path when writing the data fails (e.g. a full disk). A symbolic
// link is followed: the file it points to is replaced. A new file takes the old file's
// permissions.
IoStatus WriteFileSafely(const std::filesystem::path& path, std::string_view bytes);

// As above, with the contents produced by `produce` into a stream. A stream left failed or an
// exception thrown by `produce` reports "Error writing " + path and changes nothing on disk.
IoStatus WriteFileSafely(const std::filesystem::path& path,
                         const std::function<void(std::ostream&)>& produce);

}  // namespace kelvra
