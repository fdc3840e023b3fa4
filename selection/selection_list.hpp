#pragma once

// The selection list without its grid: one row per candidate with a snapshot of its results,
// the columns the user chose, the sort order, the row of the selected model and the
// previous/next moves. It may also hold the candidates of several refrigerants at once, each
// evaluated at the operating point resolved for its own refrigerant.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "activity_mode.hpp"
#include "model.hpp"
#include "operating_conditions.hpp"
#include "settings_file.hpp"
#include "units.hpp"

namespace kelvra {

class TdataStore;
class Trefrigerant;

// A user column: a performance quantity ('P', code = quantity code), or a technical-data field
// ('M' mechanical, 'E' electrical, code = heading id).
struct ListColumn {
    char kind = 'P';
    int code = quantity::CoolingCapacity;
    bool operator==(const ListColumn&) const = default;
};

// One listed model with a copy of its results taken when it was evaluated for the list.
struct ListItem {
    TCModel* model = nullptr;             // not owned
    Trefrigerant* refrigerant = nullptr;  // the model's, not owned
    ResultVector results;                 // the snapshot, status in entry 0
    double sortKey = 0;                   // key of technical-data and controls load-ratio columns

    ModelStatus status() const { return results.Status(); }
    double result(QuantityCode code) const { return results.Get(code); }
};

// An entry of the choice menu of a user column's header (and of the column editor).
struct ListChoice {
    ListColumn column;
    std::string text;
    bool enabled = true;
};

// What a fixed column shows.
enum class FixedColumn {
    Name,           // the model name
    Second,         // unit: its compressor; expansion valve: orifice; heat pump: compressor
    Refrigerant,    // while comparing refrigerants
    Speed,          // variable speed, Hz (speed / 60)
    Load,           // load, %
    InverterSpeed,  // inverter speed, Hz (speed / 30)
};

class SelectionList {
  public:
    static constexpr int kMaxUserColumns = 51;

    // The store answers technical-data columns; without one their keys are 0.
    explicit SelectionList(const TdataStore* store = nullptr);

    // Gives the candidates of several refrigerants (the main window's candidate filter with
    // the refrigerant test replaced by membership); needed for comparing refrigerants.
    std::function<std::vector<TCModel*>(std::span<Trefrigerant* const>)> listCandidates;
    // The load ratio (%) of a controls model at a required capacity, for the load-ratio column
    // in the controls modes; without it the snapshot's load-ratio entry is used.
    std::function<double(const TCModel&, double requiredCapacity)> loadRatio;

    // --- from the selection driver ---

    // Lists the candidates (already evaluated at `conditions`), marks the selected model and
    // sorts. A change of mode ends any comparison of refrigerants and restores the mode's
    // default columns. While comparing, the candidates of every compared refrigerant are
    // listed instead, each evaluated at the point resolved for its refrigerant.
    void fillList(std::span<TCModel* const> candidates, const TCModel* selected, int rangeIndex,
                  ActivityMode mode, UnitSystem unitSystem, const OperatingConditions& conditions);
    // Takes the new operating point: fresh snapshots (re-evaluating while comparing), re-sorted.
    void recomputeList(const OperatingConditions& conditions);
    // Marks the item of the main window's model (none when it is not listed).
    void markModel(const TCModel* model);
    void setUnits(UnitSystem unitSystem) { unitSystem_ = unitSystem; }
    void setRequiredCapacity(double value);

    // --- comparing refrigerants ---

    // Compares the candidates of `refrigerants` (the main refrigerant first); with fewer than two
    // the comparison ends. True while comparing afterwards (the list is then locked).
    bool compareRefrigerants(std::vector<Trefrigerant*> refrigerants, Trefrigerant* main);
    // Back to the main refrigerant's candidates only (on the next fill).
    void clearComparison();
    bool isComparison() const { return refrigerants_.size() >= 2; }
    const std::vector<Trefrigerant*>& refrigerants() const { return refrigerants_; }
    Trefrigerant* mainRefrigerant() const { return mainRefrigerant_; }
    // The item's model belongs to the main window's refrigerant (the main window may select it).
    bool ofMainRefrigerant(const ListItem& item) const {
        return mainRefrigerant_ == nullptr || item.refrigerant == mainRefrigerant_;
    }

    // --- navigation ---

    // The row above (next = false) or below the current one in displayed order becomes
    // current; returns its model when it belongs to the main refrigerant (the main window then
    // selects it), else nullptr.
    TCModel* moveSelection(bool next);
    bool hasPrevious() const { return hasPrevious_; }
    bool hasNext() const { return hasNext_; }
    // Index into items() of the current row, or -1.
    int currentItem() const { return current_; }

    // --- columns and sorting ---

    // The user columns a mode starts with, and its sort column.
    static std::vector<ListColumn> defaultColumns(ActivityMode mode);
    static int defaultSortColumn(ActivityMode mode);

    const std::vector<ListColumn>& columns() const { return columns_; }
    int userCount() const { return static_cast<int>(columns_.size()); }
    // Replaces the user columns (at most kMaxUserColumns are kept; an empty list keeps the old
    // ones); the sort returns to the model name when its column is gone.
    void setColumns(std::vector<ListColumn> columns);
    // Sets user column `index` (ignored outside the columns). When it was the sort column the
    // list is sorted by model name again.
    void setColumn(int index, ListColumn column);

    // Column persistence in the settings file (section "sellist"). Reading takes each column's
    // kind letter and code; a code of -1, a code that names no listable quantity, and a column
    // missing from the file keep the mode's default for that position. A count of 0 keeps the
    // columns as they are.
    SelectionListColumns saveColumns() const;
    void loadColumns(const SelectionListColumns& saved);

    // The choices offered for a user column in the current mode: the quantities, then the
    // mechanical and electrical data fields of the store's headings (for the product kind of the
    // mode). Texts without "&".
    std::vector<ListChoice> choices() const;

    // The fixed columns in their order.
    const std::vector<FixedColumn>& fixedColumns() const { return fixed_; }
    int fixedCount() const { return static_cast<int>(fixed_.size()); }

    // The sort column: an index into the user columns, or negative for a fixed column
    // (-fixedCount() is the model name).
    int sortColumn() const { return sortColumn_; }
    // Sorts by a column (as sortColumn); an index outside the columns is ignored.
    void sortBy(int column);
    // " (" + the sort column's title + ")", for the navigation hint.
    std::string sortCaption() const;
    // Title of a fixed or user column (in the sense of sortColumn).
    std::string columnTitle(int column) const;
    // The unit shown under a column title: a performance quantity's unit label, "Hz" over the
    // speed columns, else empty.
    std::string columnUnit(int column) const;
    // What a fixed or user column shows for an item in the grid.
    std::string cellText(const ListItem& item, int column) const;

    // --- contents ---
    const std::vector<ListItem>& items() const { return items_; }
    // Item indexes in displayed order.
    const std::vector<int>& order() const { return order_; }
    bool empty() const { return items_.empty(); }
    ActivityMode mode() const { return mode_; }
    UnitSystem unitSystem() const { return unitSystem_; }
    const OperatingConditions& conditions() const { return conditions_; }
    double requiredCapacity() const { return requiredCapacity_; }
    int rangeIndex() const { return rangeIndex_; }

    // The text of a value as the list copies it: the display value with the quantity's
    // decimals, "-" for an item whose status is negative.
    std::string valueText(const ListItem& item, QuantityCode code) const;

    // The value (internal units) of a performance column for an item, or nothing where the
    // column does not apply: a failed item, the economiser and intermediate-pressure quantities
    // of a model without vapour injection, a load ratio beyond 110 %. `vapourOutletGiven` tells
    // whether the vapour-outlet superheat of the conditions is the user's (else 5 K is taken).
    std::optional<double> columnValue(const ListItem& item, const ListColumn& column,
                                      bool vapourOutletGiven = false) const;
    // The text of a technical-data column for an item (whatever its status).
    std::string techText(const ListItem& item, const ListColumn& column) const;
    // The text for the clipboard: a title line, a unit line and one line per item in displayed
    // order, cells separated by tabs, lines by CR LF.
    std::string clipboardText() const;

    // The status a click on an item puts into the status bar: its status when negative, 2 or 3;
    // 4 (the preliminary-data text) for preliminary data outside the controls modes; else 0.
    ModelStatus clickStatus(const ListItem& item) const;
    // The item's model (a unit's or heat pump's compressor) carries preliminary data.
    static bool isPreliminary(const ListItem& item);
    // The second fixed column's text: a unit's compressor, a valve's orifice or type text, a
    // heat pump's compressor.
    std::string secondColumnText(const ListItem& item) const;

  private:
    void takeSnapshots(bool evaluate);
    void recountFixedColumns();
    void computeKeys(const ListColumn& column);
    bool comesFirst(const ListItem& a, const ListItem& b, int column) const;
    void updateNavigation();

    const TdataStore* store_;
    std::vector<ListItem> items_;
    std::vector<int> order_;
    std::vector<ListColumn> columns_;
    std::vector<FixedColumn> fixed_{FixedColumn::Name};
    int sortColumn_ = -1;
    int current_ = -1;
    bool hasPrevious_ = false;
    bool hasNext_ = false;
    bool filled_ = false;

    ActivityMode mode_ = ActivityMode::Compressors;
    UnitSystem unitSystem_ = UnitSystem::SI;
    OperatingConditions conditions_;
    double requiredCapacity_ = 0;
    int rangeIndex_ = 0;
    std::vector<Trefrigerant*> refrigerants_;
    Trefrigerant* mainRefrigerant_ = nullptr;
};

}  // namespace kelvra
