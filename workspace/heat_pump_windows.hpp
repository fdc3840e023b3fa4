#pragma once

// The three windows of the user's heat pumps: the administration window "Editing My Heat Pumps"
// (list by source, add, edit, copy, delete), the editor "Edit Heat Pump" (every value of one heat
// pump, with its two temperature-difference lines drawn in graph boxes whose handles can be
// dragged) and the compressor chooser "Choose compressor". The values and their storing live in
// heat_pump_editing; the windows show them and hand them back.

#include <QDialog>
#include <QMessageBox>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "heat_pump_editing.hpp"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace kelvra {

// A graph of one temperature-difference rule: the line through its two points, limited to its
// minimum and maximum, with round handles on the two points and triangles on the two limits.
// Dragging a handle up or down changes its value.
class TdGraphBox : public QWidget {
    Q_OBJECT

  public:
    TdGraphBox(const QString& title, double tLow, double tHigh, double tdTop, QWidget* parent = nullptr);

    // The temperatures of the two points and their values, the minimum and the maximum (K).
    void setValues(double t1, double td1, double t2, double td2, double tdMin, double tdMax);
    void setTemperatures(double t1, double t2);
    // 0, 1 the points, 2 the minimum, 3 the maximum.
    double value(int handle) const { return values_[static_cast<std::size_t>(handle)]; }
    // Where a handle is drawn, in widget coordinates.
    QPointF handlePosition(int handle) const;

    QSize sizeHint() const override { return {260, 170}; }

  signals:
    // A handle was dragged to a new value.
    void valueDragged(int handle, double value);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QRectF plotArea() const;
    double xOf(double t) const;
    double yOf(double td) const;
    double tdAt(double y) const;

    QString title_;
    double tLow_, tHigh_, tdTop_;
    std::array<double, 2> temperatures_{};
    std::array<double, 4> values_{};
    int dragging_ = -1;
};

// Choose compressor.
class TfrmHPselcomp : public QDialog {
    Q_OBJECT

  public:
    explicit TfrmHPselcomp(const TdataStore& store, QWidget* parent = nullptr);

    // Shows the compressors with `current` pre-selected (and its filters' "All").
    void setCurrent(TComp* current);
    // The compressor of the selected row; none when no row is selected.
    TComp* chosen() const;
    // The compressors listed, in order.
    const std::vector<TCModel*>& listed() const { return listed_; }

    QComboBox* boxSupply = nullptr;
    QComboBox* boxRefrig = nullptr;
    QComboBox* boxFamily = nullptr;
    QLineEdit* edMatch = nullptr;
    QTableWidget* modelGrid = nullptr;

  private slots:
    void filterChange();

  private:
    const TdataStore& store_;
    std::vector<TCModel*> listed_;
    TComp* current_ = nullptr;
};

// Edit Heat Pump.
class TfrmHeatFile : public QDialog {
    Q_OBJECT

  public:
    using Notice = std::function<void(const QString&)>;
    using ChooseCompressor = std::function<std::optional<TComp*>(TComp* current)>;

    explicit TfrmHeatFile(const TdataStore& store, QWidget* parent = nullptr);

    void setDraft(const HeatPumpDraft& draft);
    const HeatPumpDraft& draft() const { return draft_; }
    void setNotice(Notice notice) { notice_ = std::move(notice); }
    // Opens the chooser; nullopt when cancelled.
    void setChooseCompressor(ChooseCompressor choose) { choose_ = std::move(choose); }

    // Reads every field into the draft; false (after the message, with the draft unchanged)
    // when a field is not a number.
    bool readFields();

    // The fields, by their names.
    QLineEdit* edName = nullptr;
    QComboBox* boxFamily = nullptr;
    QRadioButton* radAir = nullptr;
    QRadioButton* radGround = nullptr;
    QLineEdit* edPower = nullptr;
    QLineEdit* edSuperheat = nullptr;
    QLineEdit* edSubcool = nullptr;
    QLineEdit* edCycling = nullptr;
    QLineEdit* edEvap1 = nullptr;
    QLineEdit* edEvap2 = nullptr;
    QLineEdit* edEvapMin = nullptr;
    QLineEdit* edEvapMax = nullptr;
    QLineEdit* edCond60 = nullptr;
    QLineEdit* edCond35 = nullptr;
    QLineEdit* edCondMin = nullptr;
    QLineEdit* edCondMax = nullptr;
    QLineEdit* edDefrostCap = nullptr;
    QLineEdit* edDefrostPower = nullptr;
    QLineEdit* edFrostEvap = nullptr;
    QLineEdit* edFrostAir = nullptr;
    QLabel* lblCompressor = nullptr;
    QPushButton* btnChoose = nullptr;
    QPushButton* btnOK = nullptr;
    TdGraphBox* evapGraph = nullptr;
    TdGraphBox* condGraph = nullptr;

  private slots:
    void btnOKClick();
    void btnChooseClick();
    void radSourceClick();
    void fieldChange();
    void graphDragged(int handle, double value);

  private:
    void showDraft();
    void showSourceLabels();
    void showCompressor();
    void updateOK();
    void redrawGraphs();

    const TdataStore& store_;
    HeatPumpDraft draft_;
    Notice notice_;
    ChooseCompressor choose_;
    QLabel* lblPower_ = nullptr;
    QLabel* lblEvap1_ = nullptr;
    QLabel* lblEvap2_ = nullptr;
    bool showing_ = false;
};

// Editing My Heat Pumps.
class TfrmHPAdmin : public QDialog {
    Q_OBJECT

  public:
    using Question = std::function<QMessageBox::StandardButton(const QString& text,
                                                               QMessageBox::StandardButtons buttons)>;
    // Edits a draft; true when confirmed (the draft then holds the new values).
    using Editor = std::function<bool(HeatPumpDraft& draft)>;

    explicit TfrmHPAdmin(TdataStore& store, QWidget* parent = nullptr);

    // Opens on a heat pump (its source and row chosen) or on a compressor (remembered for new
    // heat pumps, "Ground" chosen).
    void openFor(const TCModel* model);
    void setQuestion(Question question) { question_ = std::move(question); }
    void setEditor(Editor editor) { editor_ = std::move(editor); }

    // Whether any change was confirmed since openFor.
    bool changed() const { return changed_; }
    // The heat pumps listed, in order.
    const std::vector<THeatPump*>& listed() const { return listed_; }
    void selectRow(int row);

    QRadioButton* radGround = nullptr;
    QRadioButton* radAir = nullptr;
    QTableWidget* pumpGrid = nullptr;
    QPushButton* btnAdd = nullptr;
    QPushButton* btnEdit = nullptr;
    QPushButton* btnCopy = nullptr;
    QPushButton* btnDelete = nullptr;

  public slots:
    void btnAddClick();
    void btnEditClick();
    void btnCopyClick();
    void btnDeleteClick();

  private slots:
    void radSourceClick();
    void rowChange();

  private:
    void fillList(const THeatPump* keep);
    THeatPump* selected() const;

    TdataStore& store_;
    Question question_;
    Editor editor_;
    TComp* defaultCompressor_ = nullptr;
    std::vector<THeatPump*> listed_;
    bool changed_ = false;
};

}  // namespace kelvra
