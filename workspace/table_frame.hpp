#pragma once

// The "Table" tab of the main window: the selected model's performance over a grid of operating
// points, one quantity at a time, each cell coloured by the model's status at its point. A
// click on a cell puts its status into the status bar, a double-click moves the operating point
// there. What is shown is worked out by the plain functions of table_view.hpp; the frame paints.

#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "activity_mode.hpp"
#include "model.hpp"
#include "operating_conditions.hpp"
#include "performance_table.hpp"
#include "table_layouts.hpp"
#include "table_view.hpp"
#include "units.hpp"

class QComboBox;
class QLabel;
class QPixmap;
class QTableWidget;

namespace kelvra {

class SelectionDriver;
class TSupply;

class TframeTable : public QWidget {
    Q_OBJECT

  public:
    // What the frame asks of the main window.
    struct Callbacks {
        std::function<void(const OperatingConditions&)> applyConditions;
        std::function<void()> refreshConditionInputs;
        std::function<void(ModelStatus)> showModelStatus;
    };

    explicit TframeTable(QWidget* parent = nullptr);
    ~TframeTable() override;

    void setCallbacks(Callbacks callbacks) { callbacks_ = std::move(callbacks); }

    // The user's tables and the default ones; the main window loads them at start-up and the
    // preferences change them.
    TableLayouts& layouts() { return layouts_; }
    const TableLayouts& layouts() const { return layouts_; }

    // Recomputes the table of the driver's selected model at its operating point with the
    // layout of its mode and unit system, and shows it. The busy cursor shows meanwhile; the
    // model keeps the results and status of the operating point, also when the computation
    // fails.
    void refreshTable(const SelectionDriver& driver);

    // Shows a computed table (or the message why there is none). The frame keeps the table.
    void showTable(const OperatingConditions& conditions, const TCModel* model, ActivityMode mode,
                   UnitSystem unitSystem, std::unique_ptr<TTableObject> table,
                   const TSupply* supply = nullptr, bool transcriticalPoint = false);

    // The supply changed: the quantity list is rebuilt and the preliminary-data label reset.
    void resetTable();

    const TTableObject* table() const { return table_.get(); }
    QuantityCode chosenQuantity() const { return chosen_; }
    // The cell of the operating point as last shown.
    TableCell operatingCell() const { return operatingCell_; }
    int separatorRow() const { return separator_; }

  private slots:
    void boxQuantityChange(int index);
    void theGridMouseUp(int row, int column);
    void theGridDblClick(int row, int column);

  private:
    void buildQuantityList();
    void paintGrid();
    void showMessage(const QString& text);
    QString pictureName() const;

    Callbacks callbacks_;
    TableLayouts layouts_;
    std::unique_ptr<TTableObject> table_;
    OperatingConditions conditions_;
    const TCModel* model_ = nullptr;
    const TSupply* supply_ = nullptr;
    ActivityMode mode_ = ActivityMode::Compressors;
    UnitSystem unitSystem_ = UnitSystem::SI;
    QuantityCode chosen_ = quantity::CoolingCapacity;
    std::vector<TableQuantity> quantities_;
    int separator_ = -1;
    TableCell operatingCell_;
    bool transcriticalPoint_ = false;
    bool shown_ = false;

    QLabel* lblMessage_ = nullptr;
    QLabel* lblCaption_ = nullptr;
    QComboBox* boxQuantity_ = nullptr;
    QTableWidget* theGrid_ = nullptr;
    QLabel* lblBottom_ = nullptr;
    QLabel* lblPrelim_ = nullptr;
    std::map<QString, QPixmap> pictures_;
};

// The pictures of the top-left cell: "TABLEOPS", "TABLEUOPS", "waterbrine" and "waterair".
std::map<QString, QPixmap> MakeTablePictures();

}  // namespace kelvra
