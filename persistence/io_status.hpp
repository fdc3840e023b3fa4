#pragma once

// The outcome of reading or writing a file, in words the user can be shown.

#include <string>

namespace kelvra {

struct IoStatus {
    bool ok = true;
    std::string message;  // the program's own words followed by the path, e.g. "Error writing /x"
    std::string detail;   // the reason as the system gives it (may be empty)

    explicit operator bool() const { return ok; }

    static IoStatus Success() { return {}; }
    static IoStatus Failure(std::string message, std::string detail = {}) {
        return IoStatus{false, std::move(message), std::move(detail)};
    }

    // The message and, when there is one, the reason on a second line.
    std::string FullText() const { return detail.empty() ? message : message + "\n" + detail; }
};

}  // namespace kelvra
