#pragma once

// The performance model base. Every selectable product (compressor, condensing unit, heat pump,
// controls valve) is a TCModel: it holds its identity, its refrigerant, supply and family, the
// speed and load settings and the result vector that each evaluation fills with a status. The
// selection, the result views and the reports only talk to this interface.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "activity_mode.hpp"
#include "model_object.hpp"
#include "model_status.hpp"
#include "operating_conditions.hpp"
#include "product_records.hpp"
#include "units.hpp"

namespace kelvra {

class Trefrigerant;

// Number of entries of a result vector: quantity codes 0..28.
inline constexpr int kResultCount = 29;

// The results of one evaluation, indexed by QuantityCode. Entry 0 is not a quantity: its low
// 32 bits hold the status of the evaluation.
class ResultVector {
  public:
    // Entry `code`; 0 for codes outside 0..28 (quantities that no model stores).
    double Get(QuantityCode code) const;
    double operator[](QuantityCode code) const { return Get(code); }

    // Stores entry `code`, one of 1..28. Throws std::out_of_range for any other code: entry 0
    // holds the status and is written only through SetStatus.
    void Set(QuantityCode code, double value);

    ModelStatus Status() const;
    // Entry 0 becomes the bit pattern with the status in its low 32 bits and zero above.
    void SetStatus(ModelStatus status);

    // Entries 1..28 to 0, the status kept (what a failed evaluation leaves).
    void ClearResults();

    const std::array<double, kResultCount>& Entries() const { return entries_; }

    friend bool operator==(const ResultVector&, const ResultVector&) = default;

  private:
    std::array<double, kResultCount> entries_{};
};

// COP as every model reports it: capacity over power, -1 when the power is 0.
double CoefficientOfPerformance(double capacity, double power);

// A result shown in the display unit: converted to `system`, rounded to the quantity's display
// step and written with the quantity's decimals ("%3.*f", C locale).
std::string DisplayValueText(QuantityCode code, UnitSystem system, double value);

// What a model needs of a performance table before it fills one. The performance table
// implements it; a model that lays out axes or fills cells works on the full table type.
class ModelTable : public TKobject {
  public:
    // Frees every row and empties the row list.
    virtual void ClearRows() = 0;
    // True when the table lays out its own axes from the model's envelope.
    virtual bool AutomaticAxes() const = 0;
    // Marks the table's results as fit (or not fit) to be shown.
    virtual void SetComputed(bool computed) = 0;
};

// Base of every performance model.
class TCModel : public TKobject {
  public:
    static constexpr std::size_t kNameLength = 255;

    // Bounds of the speed search of SolveSpeed.
    static constexpr std::int32_t kLowestSearchSpeed = 1000;  // rpm; below it the search fails
    static constexpr std::int32_t kSearchSpeedLimit = 8001;   // rpm; reaching it fails
    static constexpr std::int32_t kFallbackSpeed = 3000;      // rpm, when nominal speed fails
    static constexpr int kMaxSpeedSearchSteps = 10000;        // evaluations per search

    TCModel() = default;
    ~TCModel() override = default;

    // --- virtual operations, in slot order, with the behaviour of a plain model ---

    // Slot 0: the first option bit of the rating data (preliminary data). False.
    virtual bool FirstOptionFlag() const;
    // Slot 1. False.
    virtual bool HasVapourInjection() const;
    // Slot 2: the current is not shown. False.
    virtual bool HidesCurrent() const;
    // Slot 3. False.
    virtual bool IsVariableSpeed() const;
    // Slot 4. False.
    virtual bool IsInverterDriven() const;
    // Slot 5. False.
    virtual bool IsCO2Transcritical() const;
    // Slot 6: the model can be unloaded in steps. False.
    virtual bool HasLoadControl() const;

    // Slot 7: evaluates the model at the operating point and returns the status, which is also
    // stored. The conditions are the model's own copy. A plain model has no rating data: it
    // stores and returns EvaluationFailed (-17) and leaves its results as they were.
    virtual ModelStatus Evaluate(OperatingConditions conditions, ActivityMode mode);

    // Slot 8: lays out the table's axes for this model. Nothing.
    virtual void SetUpTableAxes(ModelTable& table, UnitSystem unitSystem);

    // Slot 9: fills a performance table. Clears the table's rows, lays out the axes when the
    // table's axes are automatic (SetUpTableAxes), and marks the table computed. A model that
    // fills cells does the same first.
    virtual void FillTable(ModelTable& table, OperatingConditions conditions, ActivityMode mode,
                           UnitSystem unitSystem);

    // Slot 10: the label (heading, a blank and the unit) and the value text of one result for
    // the summary and the reports, each cut to its maximum length in characters. Codes without
    // a rule of their own get the heading and a blank, and an empty value.
    virtual void FormatQuantity(QuantityCode code, UnitSystem unitSystem, std::string& label,
                                std::size_t labelMax, std::string& value, std::size_t valueMax,
                                const OperatingConditions& conditions, ActivityMode mode) const;

    // Slot 11: the extent of the model's envelopes, condensing (y) and evaporating (x). False
    // (and the arguments untouched) for a model without envelopes.
    virtual bool EnvelopeBounds(double& yMin, double& yMax, double& xMax, double& xMin) const;

    // Slot 12: the smallest speed on a grid of `step` rpm (step > 0) at which the selection
    // value still exceeds the required capacity of the conditions. The model is left at that
    // speed and evaluated there. 0, with nothing evaluated, for a model without variable speed.
    // Throws std::invalid_argument for a step that is not positive.
    virtual std::int32_t SolveSpeed(OperatingConditions conditions, ActivityMode mode,
                                    std::int32_t step);

    // Slot 13: the load (%) that meets the required capacity. 100.
    virtual std::int32_t SolveLoad(OperatingConditions conditions, ActivityMode mode);

    // Slot 14: stores the speed setting (rpm).
    virtual void SetSpeed(std::int32_t rpm);

    // Slot 15: the speed the rating data hold at (rpm). 0.
    virtual std::int32_t NominalSpeed() const;

    // Slot 16: stores the load setting (%).
    virtual void SetLoad(std::int32_t percent);

    // Slot 17: the highest load (%). 100.
    virtual std::int32_t MaxLoad() const;

    // --- common operations ---

    // Entry `code` of the result vector (0 for codes outside 0..28).
    double Result(QuantityCode code) const { return results_.Get(code); }

    // The value compared with the required capacity: heating capacity for heat-pump
    // compressors and heat pumps, pressure difference for solenoid valves, else cooling capacity.
    double SelectionValue(ActivityMode mode) const;

    // Evaluate, with any exception raised inside turned into EvaluationFailed (-17); the
    // results of such an evaluation are cleared.
    ModelStatus EvaluateGuarded(const OperatingConditions& conditions, ActivityMode mode);

    // Reorders the list ascending by Result(code); models with a negative status go last in the
    // order they had, followed by empty entries. A selection sort that moves the first of equal
    // values forward, so equal values keep their order.
    static void SortByResult(std::span<TCModel*> list, QuantityCode code);
    // SortByResult by cooling capacity.
    static void SortByCapacity(std::span<TCModel*> list);

    ModelStatus Status() const { return status_; }
    // Stores the status in the status field and in entry 0 of the results.
    void SetStatus(ModelStatus status);

    const ResultVector& Results() const { return results_; }
    // Replaces the whole result vector; the status follows its entry 0.
    void SetResults(const ResultVector& results);
    // Stores one result entry (1..28; std::out_of_range otherwise).
    void SetResult(QuantityCode code, double value) { results_.Set(code, value); }
    // Entries 1..28 to 0, the status kept (what a failed compressor evaluation leaves).
    void ClearResults() { results_.ClearResults(); }

    std::int32_t Speed() const { return speed_; }
    std::int32_t Load() const { return load_; }

    // Stores the name, cut to kNameLength characters.
    void SetName(std::string_view text);

    // --- identity and references, filled by the data store ---
    std::int32_t key = 0;    // the model's key in the product database
    std::string name;        // display name
    char classLetter = ' ';  // 'C' compressor, 'U' condensing unit, 'P' heat pump, 'V' valve
    char modelLetter = ' ';  // letter from the product record
    std::int32_t familyNumber = 0;
    std::int32_t refrigerantNumber = 0;
    std::array<std::uint8_t, 20> motorCodes{};
    bool showsHeatingCapacity = false;    // the summary shows heating capacity, not heat rejection
    const TFamily* family = nullptr;      // not owned
    Trefrigerant* refrigerant = nullptr;  // not owned
    const TSupply* supply = nullptr;      // not owned

  protected:
    // Models are held by their owner and referred to by pointer; a subclass that needs a copy of
    // itself says so explicitly.
    TCModel(const TCModel&) = default;
    TCModel& operator=(const TCModel&) = default;

    std::int32_t speed_ = 0;  // rpm; 0 until set
    std::int32_t load_ = 0;   // %; 0 until set

  private:
    ModelStatus status_ = model_status::Valid;
    ResultVector results_;
};

// A copy of one model's results, taken when it is made and again on Refresh, so that what a
// list shows survives later evaluations of the model.
class TperfObject : public TKobject {
  public:
    explicit TperfObject(const TCModel& model);

    // Copies the model's current results again.
    void Refresh();

    const TCModel& Model() const { return *model_; }
    // Entry `code` of the copy (0 for codes outside 0..28).
    double Result(QuantityCode code) const { return results_.Get(code); }
    ModelStatus Status() const { return results_.Status(); }
    const ResultVector& Results() const { return results_; }

  private:
    const TCModel* model_;  // not owned
    ResultVector results_;
};

}  // namespace kelvra
