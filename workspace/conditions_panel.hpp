#pragma once

// The operating-point inputs of the main window: the conditions panel of compressors, condensing
// units and controls, the heat-pump panel, the losses panel, the standard rating-point buttons
// and the speed and load inputs. The panel keeps no state of its own beyond which standard
// button is down: every input is turned into a new operating point by ConditionsForm or
// StandardPoints and handed to the selection driver, which resolves it and recomputes.

#include <QWidget>
#include <array>

#include "conditions_form.hpp"
#include "standard_points.hpp"

class QAbstractButton;
class QComboBox;
class QDoubleSpinBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace kelvra {

class SelectionDriver;

class TframeConditions : public QWidget {
    Q_OBJECT

  public:
    explicit TframeConditions(QWidget* parent = nullptr);

    // The driver must outlive the panel's use of it; inputs do nothing without one.
    void setDriver(SelectionDriver* driver);

    // Lays the panel out for the driver's mode and point and shows every value, with inputs
    // not live. An edit that already shows the value (the one being typed in) is left alone.
    void showConditions();
    // The candidates are new: the speed and load inputs follow what they can do.
    void candidatesRebuilt();
    // Another model is shown: the heat pump's superheat and subcooling, the losses labels.
    void showSelectedModel();
    // Every standard button up (any change of a condition input).
    void releaseStandardButtons();

    RatingStandard ratingStandard() const { return standard_; }
    void setRatingStandard(RatingStandard standard);

    // Where the heat-pump diagrams go (modes 7 and 8); empty until a diagram widget is put in.
    QWidget* heatPumpDiagramArea() const { return pnlHeatPumpDiagrams_; }

  signals:
    // The point was changed from the panel and the driver has recomputed.
    void conditionsApplied();

  private:
    struct Row {
        ConditionRow row;
        QComboBox* box = nullptr;
        QLabel* label = nullptr;
        QDoubleSpinBox* edit = nullptr;
    };

    ConditionsForm form() const;
    void buildRow(QGridLayout* grid, int line, Row& row, const char* boxName,
                  const char* labelName, const char* editName);
    void showRow(const Row& row);
    void rowEdited(ConditionRow row, double value);
    void rowChosen(ConditionRow row, int item);
    void apply(const OperatingConditions& conditions);
    void standardClick(StandardButton button);
    void heatPumpClick(int button);
    void btnNominalClick();
    void btnCloseLossesClick();
    void radStandardClick();
    void edSpeedChange(double value);
    void boxSpeedUnitChange(int index);
    void edLoadChange(int value);
    void updateHints();
    void pressOnly(QAbstractButton* button);
    void showSpeedAndLoad();
    void showLosses();

    SelectionDriver* driver_ = nullptr;
    RatingStandard standard_ = RatingStandard::EN;
    QAbstractButton* pressed_ = nullptr;

    QWidget* pnlConditions_ = nullptr;
    std::array<Row, 6> rows_{};  // evaporating .. Orda
    QLabel* lblSuctionPicture_ = nullptr;
    QLabel* lblLiquidPicture_ = nullptr;

    QWidget* pnlStandard_ = nullptr;
    QPushButton* btnLT_ = nullptr;
    QPushButton* btnMT_ = nullptr;
    QPushButton* btnHT_ = nullptr;
    QPushButton* btnNominal_ = nullptr;
    QRadioButton* radEN_ = nullptr;
    QRadioButton* radARI_ = nullptr;

    QWidget* pnlHeatPump_ = nullptr;
    std::array<Row, 2> heatPumpRows_{};
    QLabel* lblHPSuperheat_ = nullptr;
    QLabel* lblHPSubcool_ = nullptr;
    std::array<QPushButton*, 4> btnHeatPump_{};
    QWidget* pnlHeatPumpDiagrams_ = nullptr;

    QGroupBox* grpLosses_ = nullptr;
    std::array<QLabel*, 3> lblLosses_{};
    std::array<QLabel*, 3> valLosses_{};
    QPushButton* btnCloseLosses_ = nullptr;

    QLabel* lblSpeed_ = nullptr;
    QDoubleSpinBox* edSpeed_ = nullptr;
    QComboBox* boxSpeedUnit_ = nullptr;
    QLabel* lblLoad_ = nullptr;
    QSpinBox* edLoad_ = nullptr;
};

}  // namespace kelvra
