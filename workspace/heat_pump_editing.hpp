#pragma once

// The user's heat pumps without widgets: the editor's values of one heat pump and how they are
// stored, the families and compressors the windows offer, the file the heat pumps live in with
// its changed flag, and the curves of the temperature-difference diagrams.

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data_store.hpp"
#include "heat_pump.hpp"
#include "io_status.hpp"

namespace kelvra {

// The message of an editor field that is not a number.
inline constexpr const char* kHeatPumpNumbersMessage = "Error - enter numbers for fanpower and TDs";
inline constexpr const char* kNewHeatPumpName = "New Heat Pump";

// A number as typed in an editor field: C-locale digits, a decimal comma taken as a point,
// blanks around it ignored; nullopt for anything else (empty, words, "nan", "inf").
std::optional<double> ParseEditorNumber(std::string_view text);

// What the heat-pump editor shows and stores.
struct HeatPumpDraft {
    std::string name = kNewHeatPumpName;
    const TFamily* family = nullptr;
    bool airSource = true;
    TComp* compressor = nullptr;
    double auxiliaryPower = 0;  // kW, fan or pump
    double superheat = 5;
    double subcooling = 4;
    double cyclingCoefficient = 0.9;
    // evaporator TD at the two source temperatures (ground 0/-5 degC, air +7/-7 degC)
    double evapFirst = 10, evapSecond = 6, evapMin = 5, evapMax = 15;
    // condenser TD at 60 and 35 degC
    double cond60 = 7, cond35 = 5, condMin = 3, condMax = 10;
    double defrostCapacityLoss = 0, defrostPowerLoss = 0;
    double frostEvapLimit = 0, frostSourceLimit = 0;

    // A new heat pump of a source on a compressor (none: the user picks one), with sensible
    // starting temperature differences.
    static HeatPumpDraft New(bool airSource, TComp* compressor, const TdataStore& store);
    // The values of a heat pump, its points computed back from its rules.
    static HeatPumpDraft Of(const THeatPump& pump);

    // OK is possible with a compressor, a family and a name.
    bool CanConfirm() const;
    // Stores everything into the heat pump: the rules from the points, the compressor with its
    // id, refrigerant, supply and motor codes, and the family.
    void StoreInto(THeatPump& pump) const;
    // The heat pump the draft describes (for the editor's graphs and for new heat pumps).
    std::unique_ptr<THeatPump> Preview() const;
};

// The built-in heat-pump families for a source: air those of category above 10, ground those
// below 10, in load order.
std::vector<const TFamily*> HeatPumpFamiliesFor(const TdataStore& store, bool airSource);
// The family the editor chooses: `current` when it is offered, else the first offered one.
const TFamily* EditorFamily(const TdataStore& store, bool airSource, const TFamily* current);

// The compressor families the chooser offers: kinds "C" and "H".
std::vector<const TFamily*> CompressorChooserFamilies(const TdataStore& store);

// --- the file ---

// The file of the user's heat pumps, its path as the setting "hpfile" holds it and whether the
// heat pumps changed since they were read or saved.
class HeatPumpFileKeeper {
  public:
    explicit HeatPumpFileKeeper(TdataStore& store) : store_(store) {}

    // Reads the heat pumps at start-up: the file of the setting when its path is set and the
    // file exists, else the default file of the data folder. The path stays the setting's, so
    // that our own default file is never written over.
    UserHeatPumpLoad LoadAtStartUp(const std::string& setting);
    // Reads another file; on success it becomes the file and the heat pumps count as saved. A
    // damaged file changes nothing.
    UserHeatPumpLoad Open(const std::filesystem::path& file);
    // Writes the heat pumps (temporary file, then rename); on success the file becomes the
    // path and the heat pumps count as saved.
    IoStatus SaveTo(const std::filesystem::path& file);

    const std::string& path() const { return path_; }
    // Whether saving needs a file name first.
    bool pathIsSet() const;
    bool changed() const { return changed_; }
    void markChanged() { changed_ = true; }

  private:
    TdataStore& store_;
    std::string path_ = "X";
    bool changed_ = false;
};

// --- the diagrams ---

struct TdCurvePoint {
    double t = 0;   // degC, source or water temperature
    double td = 0;  // K
};

// The clamped temperature-difference rule of the heat pump's evaporator (or condenser) over
// [tLow, tHigh]: flat from tLow to the lower of the two temperatures where the rule reaches a
// limit, sloped to the higher one and flat to tHigh; both break temperatures are clamped to the
// range. Four points, left to right.
std::array<TdCurvePoint, 4> TdCurve(const THeatPump& pump, bool evaporator, double tLow,
                                    double tHigh);

}  // namespace kelvra
