#pragma once

// Condensing units and network units, and the groups of network units.
//
// A condensing unit is a compressor with an air-cooled condenser and fan. Its condensing
// temperature is not an input: it settles where the condenser rejects the compressor's heat to
// the ambient air. The unit finds that balance by correcting the condensing temperature around
// its compressor, adds the fan power, and can be held to a minimum condensing temperature
// (head-pressure control).

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "model.hpp"

namespace kelvra {

class TComp;

// One cell of a compressor's performance table as the condensing fit reads it: the row's
// condensing temperature, the column's evaporating temperature, the cell's status and its
// capacity and heat rejection.
struct CondensingObservation {
    double condensing = 0;   // degC
    double evaporating = 0;  // degC
    ModelStatus status = 0;
    double capacity = 0;       // kW, result 1
    double heatRejection = 0;  // kW, result 8
};

// A condensing unit (class letter 'U').
class Tunit : public TCModel {
  public:
    // The balance: condensing temperatures closer than this to the condenser's answer are
    // settled; after this many corrections the balance gives up.
    static constexpr double kBalanceTolerance = 0.005;  // K
    static constexpr int kMaxBalanceCorrections = 100;
    // A table cell re-balances from the fitted condensing temperature at most this often.
    static constexpr int kMaxTableCorrections = 20;
    // A condenser rating below this (kW/K) is no condenser data.
    static constexpr double kMinCondenserRating = 0.001;
    // Where an evaluation starts: ambient plus this, but not below kStartFloor.
    static constexpr double kStartAboveAmbient = 5.0;  // K
    static constexpr double kStartFloor = 30.0;        // degC

    Tunit();
    ~Tunit() override = default;

    TComp* compressor = nullptr;  // the compressor the unit is built on; not owned
    std::string compressorName;   // copied from the compressor
    std::int32_t compressorId = 0;

    double condenserRating = 0;        // kW/K: heat rejected per kelvin above ambient
    double fanPower = 0;               // W
    double maxCondensingPressure = 0;  // bar absolute; 0 = no limit

    std::uint16_t applicationMask = 0;  // the compressor's (network units: 3 when it is 0)
    std::uint16_t drawingNumber = 0;    // also the unit's M-key and R-key
    int ratingClass = 0;                // rating-standard class of the unit's data

    // A network unit whose name suffix is "NLO" or "NO": an outdoor master of its network.
    bool master = false;

    // --- overrides of the model base: the compressor's answers ---
    bool FirstOptionFlag() const override;
    bool HasVapourInjection() const override;
    bool HidesCurrent() const override;
    bool IsVariableSpeed() const override;
    bool EnvelopeBounds(double& yMin, double& yMax, double& xMax, double& xMin) const override;
    std::int32_t NominalSpeed() const override;
    // The compressor's evaporating axis and six ambient temperatures, 27 to 49 degC.
    void SetUpTableAxes(ModelTable& table, UnitSystem unitSystem) override;
    // Every cell balanced at its ambient and evaporating temperature, starting from a
    // condensing temperature fitted to the compressor's own table. Not computed when only part
    // of the superheat is useful, or when the fit has too few valid compressor cells.
    void FillTable(ModelTable& table, OperatingConditions conditions, ActivityMode mode,
                   UnitSystem unitSystem) override;

    // The balance at the conditions' ambient temperature, starting at the larger of ambient + 5 K
    // and 30 degC, without a minimum condensing temperature.
    ModelStatus Evaluate(OperatingConditions conditions, ActivityMode mode) override;

    // Code -1 gives the unit's name, code 0 the compressor's name; the power and current labels
    // say that they are the unit's total and the compressor's.
    void FormatQuantity(QuantityCode code, UnitSystem unitSystem, std::string& label,
                        std::size_t labelMax, std::string& value, std::size_t valueMax,
                        const OperatingConditions& conditions, ActivityMode mode) const override;

    // The balance held to a minimum condensing temperature (head-pressure control), starting at
    // the larger of ambient + 5 K and the minimum.
    ModelStatus EvaluateWithMinimum(const OperatingConditions& conditions,
                                    double minimumCondensing);

    // The balance without a minimum from the given condensing temperature.
    ModelStatus EvaluateFrom(const OperatingConditions& conditions, double startCondensing);

    // The condenser-compressor balance. Evaluates the compressor at a condensing temperature,
    // takes the condensing temperature at which the condenser rejects that heat to the ambient
    // air, and corrects halfway towards it until the two agree within kBalanceTolerance. Stores
    // and returns the status (-25..3): -11 without condenser data, -12 when the balance does not
    // settle within kMaxBalanceCorrections, -18 above the maximum condensing pressure, the
    // compressor's error otherwise. A failed balance leaves the results at 0.
    ModelStatus Balance(const OperatingConditions& conditions, bool useMinimum,
                        double minimumCondensing, double startCondensing);

    // Fits the condensing temperature as a cubic polynomial of evaporating and ambient
    // temperature to a compressor's table cells: each cell with a valid status (with
    // `acceptAll` also each cell of at least 0.01 kW capacity) gives the ambient at which a
    // condenser of `rating` (kW/K) would reject its heat at the row's condensing temperature.
    // False, with the last fit kept, for fewer than 11 such cells, no condenser rating or
    // equations without a solution. The fit is process-wide: it serves the table filled next.
    static bool FitCondensingPolynomial(std::span<const CondensingObservation> cells,
                                        bool acceptAll, double rating);
    // The last fit's condensing temperature at ambient and evaporating temperature (degC).
    static double FittedCondensing(double ambient, double evaporating);

    static constexpr int kFitTerms = 10;
    static constexpr int kMinFitObservations = 11;

  protected:
    Tunit(const Tunit&) = default;
    Tunit& operator=(const Tunit&) = default;

  private:
    ModelStatus BalanceUnguarded(const OperatingConditions& conditions, bool useMinimum,
                                 double minimumCondensing, double startCondensing);
    // The capacity share of the useful superheat when not all superheat counts as useful: the
    // ratio (> 1) that the capacity is divided by; 1 when nothing is to be corrected; a negative
    // value when a property call failed.
    double UsefulSuperheatRatio(const OperatingConditions& caller, double tc) const;
};

// One group of network units: the units whose names share a base name, for one refrigerant and
// one supply.
class TnetObj : public TKobject {
  public:
    // Master slots: "NLO" (a network with one slave) and "NO" (two or more slaves).
    static constexpr int kMasterOneSlave = 0;
    static constexpr int kMasterSeveralSlaves = 1;
    // Slave slots: "NL" and "N".
    static constexpr int kSlaveOfOne = 0;
    static constexpr int kSlaveOfSeveral = 1;

    std::string name;                  // base name of the units' names
    std::int32_t refrigerantCode = 0;  // of the units
    std::int32_t supplyCode = 0;       // of the units' compressors
    int dFlag = 0;                     // 1 when the base name contains "D"
    int tFlag = 0;                     // 1 when the base name contains "T"
    std::array<Tunit*, 2> masters{};   // not owned
    std::array<Tunit*, 2> slaves{};    // not owned

    // The master for a network of `slaveCount` slaves: the "NLO" unit for one slave, the "NO"
    // unit for two or more; null when the group has none.
    Tunit* MasterFor(int slaveCount) const;
    // The slave unit that goes with that master ("NL" for one slave, "N" for more).
    Tunit* SlaveFor(int slaveCount) const;
};

}  // namespace kelvra
