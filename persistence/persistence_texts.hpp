#pragma once

// Language keys of the texts this layer shows, with their built-in English wording. The language
// files hold every one of them under the same key; the test of the language files checks that
// they still agree with this list.

#include <string>
#include <string_view>

#include "language_texts.hpp"

namespace kelvra {

struct LanguageDefault {
    std::string_view key;
    std::string_view english;
};

// The installed text of `text`, or its English wording.
inline std::string Text(const LanguageDefault& text) {
    return Text(text.key, text.english);
}

namespace texts {
// File errors: the message is followed by a blank and the path.
inline constexpr LanguageDefault kErrorWriting{"strErrorWriting", "Error writing"};
inline constexpr LanguageDefault kUnableToWrite{"strUnableToWrite", "Unable to write to"};
inline constexpr LanguageDefault kUnableToRead{"strUnableToRead", "Unable to read"};
inline constexpr LanguageDefault kTableFileIncomplete{"strTableFileIncomplete",
                                                      "Incomplete table layout ignored in"};
// Main window caption of a project: "<strSelect> <strProject>:<file name>".
inline constexpr LanguageDefault kSelect{"strSelect", "Kelvra 7.7"};
inline constexpr LanguageDefault kProject{"strProject", "Project"};
// Name of a table layout the user has just added.
inline constexpr LanguageDefault kNewTable{"strNewTable", "New Table"};
}  // namespace texts

}  // namespace kelvra
