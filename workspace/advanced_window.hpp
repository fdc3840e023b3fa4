#pragma once

// The advanced operating-conditions window ("Operating Conditions"): line pressure drops, the
// liquid temperature at the load inlet, the useful superheat, the suction gas return and, with
// vapour injection, the liquid temperature rise -- each edited on its own, next to the
// pressure-enthalpy diagram of the cycle they make.
//
// AdvancedConditionsEditor is the window's logic on a copy of the operating conditions; the
// window only shows it.

#include <QDialog>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "operating_conditions.hpp"
#include "ph_diagram.hpp"
#include "units.hpp"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;

namespace kelvra {

class Trefrigerant;

enum class AdvancedParameter {
    SuctionLineDrop,
    DischargeLineDrop,
    LiquidTemp,
    UsefulSuperheat,
    SuctionGasReturn,
    LiquidTempRise,
};

class AdvancedConditionsEditor {
  public:
    // `conditions` is a copy of the main window's record; `injectionModel` tells that the model
    // has vapour injection (the heat-gain view can be shown).
    AdvancedConditionsEditor(Trefrigerant* refrigerant, OperatingConditions conditions,
                             UnitSystem units, bool injectionModel);

    // The parameters offered, in Tab order: the discharge line drop is absent above the
    // critical point, the liquid temperature rise belongs to the heat-gain view.
    std::vector<AdvancedParameter> parameters() const;
    AdvancedParameter current() const { return current_; }
    void select(AdvancedParameter parameter);
    // The next parameter after the current one, wrapping to the first (the Tab key).
    void selectNext();

    // Caption with its unit ("Suction line pressure drop K").
    std::string caption(AdvancedParameter parameter) const;
    // The value in display units, and its entry (stored in SI). Differences below 0 are 0.
    double displayValue(AdvancedParameter parameter) const;
    void setDisplayValue(AdvancedParameter parameter, double value);
    // Smallest entry: 0 for differences, -1000 for temperatures.
    double minimum(AdvancedParameter parameter) const;
    // The saturation pressure difference of a line drop: "(250 mbar)" or "(3.6 psi)"; empty for
    // the other parameters.
    std::string pressureDropText(AdvancedParameter parameter) const;
    // The liquid edit turns red: the liquid temperature is edited, the point is subcritical and
    // the liquid lies above the bubble point.
    bool liquidWarning() const;

    bool transcritical() const;
    bool injectionModel() const { return injectionModel_; }
    bool heatGainView() const { return heatGainView_; }
    void setHeatGainView(bool on);

    const OperatingConditions& conditions() const { return conditions_; }
    // The record as the main window takes it on OK: advanced input on, not all superheat
    // useful, temperatures (not pressures) as inputs, liquid temperature and suction gas return
    // as the given values.
    OperatingConditions accepted() const;
    // The conditions resolved with the line drops in use, for the diagram; in the heat-gain
    // view with the model's economiser when `injection` is given.
    PhDiagram diagram(double dischargeTemp = 0, const PhInjection* injection = nullptr) const;

  private:
    void afterEdit();
    bool single() const;

    Trefrigerant* refrigerant_;
    OperatingConditions conditions_;
    UnitSystem units_;
    bool injectionModel_;
    bool heatGainView_ = false;
    AdvancedParameter current_ = AdvancedParameter::SuctionLineDrop;
};

// Where a parameter's value label sits on the cycle of the diagram: the suction line drop
// between the evaporator outlet and the compressor inlet, the discharge line drop between the
// compressor outlet and the condenser, the others at their own corner.
PhPoint AdvancedAnchor(const PhCycle& cycle, AdvancedParameter parameter);

class TfrmAdvancedWin : public QDialog {
    Q_OBJECT

  public:
    // `readOnly`: the vapour-injection view of a heat-pump compressor, nothing to edit and no
    // Cancel. `dischargeTemp` is the selected model's discharge temperature (0 when unknown).
    // `injection`: what the selected injection model reports of its economiser, if anything.
    TfrmAdvancedWin(Trefrigerant* refrigerant, const OperatingConditions& conditions,
                    UnitSystem units, bool injectionModel, bool readOnly = false,
                    double dischargeTemp = 0, QWidget* parent = nullptr,
                    std::optional<PhInjection> injection = std::nullopt);

    AdvancedConditionsEditor& editor() { return editor_; }
    // The record for the main window after OK.
    OperatingConditions accepted() const { return editor_.accepted(); }
    QWidget* diagramWidget() const;
    // The diagram shown now.
    const PhDiagram& shownDiagram() const;

  protected:
    bool focusNextPrevChild(bool next) override;

  private:
    class DiagramBox;
    void showParameters();
    void boxParamChange(int index);
    void edValueChange(double value);
    void btnHeatGainClick();

    AdvancedConditionsEditor editor_;
    bool readOnly_;
    double dischargeTemp_;
    std::optional<PhInjection> injection_;
    DiagramBox* diagramBox_ = nullptr;
    QComboBox* boxParam_ = nullptr;
    QDoubleSpinBox* edValue_ = nullptr;
    QPushButton* btnHeatGain_ = nullptr;
    std::vector<QLabel*> valueLabels_;
    std::vector<QPushButton*> blips_;
    bool updating_ = false;
};

}  // namespace kelvra
