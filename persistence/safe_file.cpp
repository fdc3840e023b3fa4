#include "safe_file.hpp"

#include <fmt/format.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <fstream>
#include <sstream>
#include <system_error>

#include "persistence_texts.hpp"

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kelvra {

namespace fs = std::filesystem;

namespace {

std::string PathText(const fs::path& path) {
    return path.string();
}

IoStatus CannotRead(const fs::path& path, std::string detail) {
    return IoStatus::Failure(Text(texts::kUnableToRead) + " " + PathText(path), std::move(detail));
}

IoStatus CannotWrite(const fs::path& path, std::string detail) {
    return IoStatus::Failure(Text(texts::kUnableToWrite) + " " + PathText(path), std::move(detail));
}

IoStatus ErrorWriting(const fs::path& path, std::string detail) {
    return IoStatus::Failure(Text(texts::kErrorWriting) + " " + PathText(path), std::move(detail));
}

std::string SystemReason(int error) {
    return std::generic_category().message(error);
}

// The file a write to `path` must replace: the target of a symbolic link, else `path` itself.
fs::path WriteTarget(const fs::path& path) {
    std::error_code ec;
    fs::path target = path;
    // Follow a bounded chain of links; a loop ends at the bound and fails later.
    for (int hop = 0; hop < 16 && fs::is_symlink(fs::symlink_status(target, ec)); ++hop) {
        const fs::path link = fs::read_symlink(target, ec);
        if (ec) break;
        target = link.is_absolute() ? link : target.parent_path() / link;
    }
    return target;
}

}  // namespace

FileContents ReadWholeFile(const fs::path& path, std::uintmax_t maxBytes) {
    FileContents result;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) {
        result.status = CannotRead(path, "The file does not exist.");
        return result;
    }
    result.exists = true;
    if (!fs::is_regular_file(status)) {
        result.status = CannotRead(path, "This is not a file.");
        return result;
    }
    const std::uintmax_t size = fs::file_size(path, ec);
    if (!ec && size > maxBytes) {
        result.status = CannotRead(
            path,
            fmt::format("The file is too large ({} bytes; at most {} are read).", size, maxBytes));
        return result;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.status = CannotRead(path, SystemReason(errno));
        return result;
    }
    // Read in pieces up to one byte past the limit, so that a file that grows meanwhile cannot
    // make us read without end.
    std::string bytes;
    if (!ec) bytes.reserve(static_cast<std::size_t>(size));
    char buffer[64 * 1024];
    while (in) {
        in.read(buffer, sizeof buffer);
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > maxBytes) {
            result.status = CannotRead(path, "The file is too large.");
            return result;
        }
    }
    if (in.bad()) {
        result.status = CannotRead(path, "The file could not be read to its end.");
        return result;
    }
    result.bytes = std::move(bytes);
    return result;
}

#if !defined(_WIN32)

IoStatus WriteFileSafely(const fs::path& path, std::string_view bytes) {
    const fs::path target = WriteTarget(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");

    // A file the user has made read-only stays as it is.
    struct stat old {};
    const bool hadFile = ::stat(target.c_str(), &old) == 0;
    if (hadFile && S_ISDIR(old.st_mode)) return CannotWrite(path, "A folder has this name.");
    if (hadFile && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        return CannotWrite(path, SystemReason(errno));

    std::string temporary =
        (folder / fmt::format(".{}.XXXXXX", target.filename().string())).string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return CannotWrite(path, SystemReason(errno));

    const auto fail = [&](IoStatus status) {
        ::unlink(temporary.c_str());
        return status;
    };

    ::fchmod(fd, hadFile ? (old.st_mode & 07777) : 0644);

    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            return fail(ErrorWriting(path, SystemReason(error)));
        }
        written += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        return fail(ErrorWriting(path, SystemReason(error)));
    }
    if (::close(fd) != 0) return fail(ErrorWriting(path, SystemReason(errno)));
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        return fail(CannotWrite(path, SystemReason(errno)));

    // Make the rename itself durable; a failure here no longer endangers either version.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return IoStatus::Success();
}

#else

IoStatus WriteFileSafely(const fs::path& path, std::string_view bytes) {
    const fs::path target = WriteTarget(path);
    std::error_code ec;
    if (fs::is_directory(target, ec)) return CannotWrite(path, "A folder has this name.");
    fs::path temporary = target;
    temporary += ".kelvra-new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return CannotWrite(path, SystemReason(errno));
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            fs::remove(temporary, ec);
            return ErrorWriting(path, {});
        }
    }
    fs::rename(temporary, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return CannotWrite(path, ec.message());
    }
    return IoStatus::Success();
}

#endif

IoStatus WriteFileSafely(const fs::path& path, const std::function<void(std::ostream&)>& produce) {
    std::ostringstream out(std::ios::binary);
    try {
        produce(out);
    } catch (const std::exception& e) {
        return ErrorWriting(path, e.what());
    } catch (...) {
        return ErrorWriting(path, {});
    }
    out.flush();
    if (!out) return ErrorWriting(path, "The data could not be put together.");
    return WriteFileSafely(path, out.view());
}

}  // namespace kelvra
