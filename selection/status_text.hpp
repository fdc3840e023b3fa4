#pragma once

// The words for a model's status, as the status bar shows them (in red).

#include <string>

#include "activity_mode.hpp"
#include "model_status.hpp"

namespace kelvra {

// Longest text a language entry holds, in characters.
inline constexpr std::size_t kStatusTextMax = 100;

// What becomes of the status panel for a status.
struct StatusPanelText {
    enum class Action {
        Clear,  // the panel is emptied
        Show,   // the panel shows `text`
        Keep,   // the panel keeps what it shows
    };
    Action action = Action::Clear;
    std::string text;

    bool operator==(const StatusPanelText&) const = default;
};

// The status-bar text of `showModelStatus`:
// - controls (modes 3 to 6): a valid status clears the panel; -1 to -4 show the valve error
//   texts; lower codes leave the panel as it is;
// - status 7 under automatic selection: the capacity warning;
// - 0, 6, 7 without automatic selection and codes above 8: the panel is cleared;
// - otherwise three blanks and the text of the status: errors -1 to -25, the fan warning (1),
//   "Engineering" (2), the fan warning marked " (Eng)" (3), preliminary data (4, 5) and limited
//   superheat (8). An error code below -25, which no model produces, shows the text of a failed
//   calculation (-17).
// Texts come from the installed language with their English defaults, at most 100 characters.
StatusPanelText showModelStatus(ModelStatus code, ActivityMode mode, bool autoSelect);

// The words of a status on their own, without the three leading blanks: what the status bar
// would show, or an empty text where it shows nothing. For lists and the command line.
std::string statusWords(ModelStatus code, ActivityMode mode, bool autoSelect);

}  // namespace kelvra
