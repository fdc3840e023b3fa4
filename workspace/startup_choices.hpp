#pragma once

// The questions of a first run, without widgets: what the start-up window offers (languages, help
// sets, applications, product lines), when its OK button may be pressed, and how the answers
// become the first settings of the program.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "activity_mode.hpp"
#include "settings_file.hpp"

namespace kelvra {

class TFamily;

// The four applications of the start-up window; air-conditioning is the default.
enum class StartupApplication { AirConditioning, Refrigeration, CondensingUnits, Heating };

struct StartupChoices {
    StartupApplication application = StartupApplication::AirConditioning;
    bool scroll = true;        // the scroll product line
    bool semiHermetic = true;  // the semi-hermetic product line
    std::string language;      // name shown in the language box ("ENGLISH"); empty: none
    std::string help;          // name shown in the help box ("english"); empty: none
};

// What the start-up window lists: the language files and the help sets of the installation
// folder, and which of each is chosen first.
struct StartupOffer {
    std::vector<std::string> languages;  // language file names without extension, upper case
    std::vector<std::string> helps;      // help sets, by name
    int language = -1;                   // "ENGLISH" when present, else the first; -1 when none
    int help = -1;
};

// Language files are "*.lng" beside the program; help sets are the folders "help/<name>/" that
// hold an "index.html".
StartupOffer StartupOfferFor(const std::filesystem::path& installation);

// The help set a help setting names: its file name without folder and extension, whether the
// folders are separated by "/" or "\\" ("C:\\Kelvra\\ENGLISH.CHM" names "ENGLISH").
std::string HelpSetOf(std::string_view helpSetting);

// The help sets of the installation folder, sorted ignoring case.
std::vector<std::string> HelpSets(const std::filesystem::path& installation);

// Heating has no semi-hermetic line: its box is unticked and disabled.
bool SemiHermeticAvailable(StartupApplication application);
// The window's state after the application was chosen: the semi-hermetic box unticked for heating.
StartupChoices WithApplication(StartupChoices choices, StartupApplication application);
// OK may be pressed while the scroll box is ticked, or the semi-hermetic one outside heating.
bool StartupOkEnabled(const StartupChoices& choices);

// Heating starts in heat-pump compressor mode, condensing units in their mode, the others in
// compressor mode.
ActivityMode StartMode(StartupApplication application);
bool AirConditioningLike(StartupApplication application);

// The settings of a first run: the program's defaults, then refrigerant, mode, operating point
// and ticked families of the choices; the language and help files when they exist in the
// installation folder. Only families of the store (`families`) are ticked; when the choices tick
// none of the mode's own families, every family of the mode is ticked, so that the first window
// has something to select from.
Settings FirstRunSettings(const StartupChoices& choices,
                          const std::vector<std::unique_ptr<TFamily>>& families,
                          const std::filesystem::path& installation);

// Asks the start-up questions of a first run (the start-up window, shown modally).
using StartupQuestion = std::function<StartupChoices(const StartupOffer& offer)>;

// The choices a first run takes when nobody answers the questions (tests, measurements):
// refrigeration with both product lines and the English texts.
StartupChoices UnansweredStartupChoices();

}  // namespace kelvra
