#pragma once

// "Define Custom Table": the evaporating (source) and condensing (ambient, water outlet) values
// of a performance-table layout, with its name. Regular tables are given by start, increment
// and end of each axis; custom tables by their counts and a value typed into each cell. The
// dialog works on a copy of the layout; OK hands back the changed one, Cancel nothing.

#include <QDialog>
#include <optional>

#include "activity_mode.hpp"
#include "performance_table.hpp"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace kelvra {

class TfrmCustabDLG : public QDialog {
    Q_OBJECT

  public:
    TfrmCustabDLG(const TableDefinition& layout, bool regular, ActivityMode mode,
                  QWidget* parent = nullptr);

    // The layout as OK stores it (also before OK, for tests).
    TableDefinition result() const;

  private slots:
    void edRangeChange();
    void edRangeExit();
    void edCountChange();
    void edNameChange();
    void btnOKClick();

  private:
    struct AxisControls {
        QLineEdit* start = nullptr;
        QLineEdit* increment = nullptr;
        QLineEdit* end = nullptr;
        QLineEdit* count = nullptr;
        QTableWidget* grid = nullptr;
        bool columns = true;
    };
    void buildAxis(AxisControls& axis, const QString& title, bool columns, QWidget* parent);
    void fillAxis(AxisControls& axis);
    void fillRegular(AxisControls& axis, bool correctEnd);
    void resizeCustom(AxisControls& axis);
    int countOf(const AxisControls& axis) const;
    std::array<float, kMaxTableAxis>& valuesOf(TableDefinition& layout, bool columns) const;
    const std::array<float, kMaxTableAxis>& valuesOf(const TableDefinition& layout,
                                                     bool columns) const;

    TableDefinition layout_;  // the copy the dialog works on
    bool regular_;
    ActivityMode mode_;
    QLineEdit* edName_ = nullptr;
    AxisControls columns_;
    AxisControls rows_;
    QPushButton* btnOK_ = nullptr;
    bool filling_ = false;
};

// Opens the dialog modally on `layout` and returns the layout as the user confirmed it, or
// nothing when cancelled. What the preferences' "Add" and "Edit" call.
std::optional<TableDefinition> EditTableLayout(QWidget* parent, const TableDefinition& layout,
                                               bool regular, ActivityMode mode);

}  // namespace kelvra
