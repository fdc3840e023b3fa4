#include "advanced_window.hpp"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <optional>

#include <fmt/format.h>

#include "language_texts.hpp"
#include "refrigerant.hpp"

namespace kelvra {

namespace q = quantity;
using P = AdvancedParameter;

namespace {

bool IsDifference(P p) {
    return p == P::SuctionLineDrop || p == P::DischargeLineDrop || p == P::UsefulSuperheat ||
           p == P::LiquidTempRise;
}

QuantityCode CodeOf(P p) { return IsDifference(p) ? q::TemperatureDifference : q::CondensingTemp; }

}  // namespace

AdvancedConditionsEditor::AdvancedConditionsEditor(Trefrigerant* refrigerant,
                                                   OperatingConditions conditions,
                                                   UnitSystem units, bool injectionModel)
    : refrigerant_(refrigerant),
      conditions_(conditions),
      units_(units),
      injectionModel_(injectionModel) {}

bool AdvancedConditionsEditor::transcritical() const {
    const OperatingConditions& c = conditions_;
    return refrigerant_ != nullptr && refrigerant_->isCO2 &&
           (c.condPressure > refrigerant_->criticalPressure ||
            c.condTemp > refrigerant_->criticalTemperature);
}

bool AdvancedConditionsEditor::single() const {
    return refrigerant_ != nullptr && refrigerant_->basis == 'N';
}

std::vector<P> AdvancedConditionsEditor::parameters() const {
    std::vector<P> list = {P::SuctionLineDrop};
    if (!transcritical()) list.push_back(P::DischargeLineDrop);
    list.insert(list.end(), {P::LiquidTemp, P::UsefulSuperheat, P::SuctionGasReturn});
    if (heatGainView_) list.push_back(P::LiquidTempRise);
    return list;
}

void AdvancedConditionsEditor::select(P parameter) {
    const auto list = parameters();
    if (std::find(list.begin(), list.end(), parameter) != list.end()) current_ = parameter;
}

void AdvancedConditionsEditor::selectNext() {
    const auto list = parameters();
    auto it = std::find(list.begin(), list.end(), current_);
    current_ = (it == list.end() || std::next(it) == list.end()) ? list.front() : *std::next(it);
}

void AdvancedConditionsEditor::setHeatGainView(bool on) {
    heatGainView_ = on && injectionModel_;
    if (!heatGainView_ && current_ == P::LiquidTempRise) current_ = P::SuctionLineDrop;
}

std::string AdvancedConditionsEditor::caption(P p) const {
    std::string text;
    switch (p) {
        case P::SuctionLineDrop: text = Text("strSuctionLinePD", "Suction line pressure drop"); break;
        case P::DischargeLineDrop:
            text = Text("strDischargeLinePD", "Discharge line pressure drop");
            break;
        case P::LiquidTemp:
            text = transcritical() ? Text("lblCoolGas", "Gas cooler outlet")
                                   : Text("strLiquidTemp", "Liquid temperature");
            break;
        case P::UsefulSuperheat: text = Text("strUsefulSH", "Useful superheat"); break;
        case P::SuctionGasReturn: text = Text("lblSuctGasRet", "Suction gas return"); break;
        case P::LiquidTempRise: text = Text("strLLTR", "Liquid temperature rise"); break;
    }
    return text + " " + UnitLabel(CodeOf(p), units_);
}

double AdvancedConditionsEditor::displayValue(P p) const {
    const OperatingConditions& c = conditions_;
    double value = 0;
    switch (p) {
        case P::SuctionLineDrop: value = c.suctionLineDrop; break;
        case P::DischargeLineDrop: value = c.dischargeLineDrop; break;
        case P::LiquidTemp: value = transcritical() ? c.gasCoolerOutletTemp : c.liquidTemp; break;
        case P::UsefulSuperheat: value = c.usefulSuperheat; break;
        case P::SuctionGasReturn: value = c.suctionGasReturn; break;
        case P::LiquidTempRise: value = c.liquidLineTempRise; break;
    }
    return ToDisplay(CodeOf(p), units_, value);
}

double AdvancedConditionsEditor::minimum(P p) const { return IsDifference(p) ? 0.0 : -1000.0; }

void AdvancedConditionsEditor::setDisplayValue(P p, double shown) {
    double value = FromDisplay(CodeOf(p), units_, shown);
    if (!std::isfinite(value)) return;  // nothing to take: the record stays as it was
    if (IsDifference(p)) value = std::max(0.0, value);
    OperatingConditions& c = conditions_;
    switch (p) {
        case P::SuctionLineDrop: c.suctionLineDrop = value; break;
        case P::DischargeLineDrop: c.dischargeLineDrop = value; break;
        case P::LiquidTemp:
            if (transcritical())
                c.gasCoolerOutletTemp = value;
            else
                c.liquidTemp = value;
            break;
        case P::UsefulSuperheat: c.usefulSuperheat = value; break;
        case P::SuctionGasReturn: c.suctionGasReturn = value; break;
        case P::LiquidTempRise: c.liquidLineTempRise = value; break;
    }
    afterEdit();
}

void AdvancedConditionsEditor::afterEdit() {
    if (refrigerant_ == nullptr || transcritical()) return;
    OperatingConditions& c = conditions_;
    const double bubble = single() ? c.condTemp : refrigerant_->BubbleTemperature(c.condPressure);
    if (!refrigerant_->lastError) c.subcooling = bubble - c.liquidTemp;
    refrigerant_->ClearErrors();
}

bool AdvancedConditionsEditor::liquidWarning() const {
    return current_ == P::LiquidTemp && !transcritical() && conditions_.subcooling < 0;
}

std::string AdvancedConditionsEditor::pressureDropText(P p) const {
    if (refrigerant_ == nullptr || (p != P::SuctionLineDrop && p != P::DischargeLineDrop)) return {};
    const OperatingConditions& c = conditions_;
    double bar = 0;
    if (p == P::SuctionLineDrop) {
        const double d = c.suctionLineDrop;
        if (d > 0) bar = refrigerant_->DewPressure(c.evapTemp) - refrigerant_->DewPressure(c.evapTemp - d);
    } else {
        const double d = c.dischargeLineDrop;
        if (d > 0) bar = refrigerant_->DewPressure(c.condTemp + d) - refrigerant_->DewPressure(c.condTemp);
    }
    const bool failed = refrigerant_->stickyError;
    refrigerant_->ClearErrors();
    if (failed || !std::isfinite(bar)) return "(?)";
    if (units_ == UnitSystem::Imperial)
        return fmt::format("({:.1f} psi)", ToDisplay(q::PressureDifference, units_, bar));
    return fmt::format("({} mbar)", std::lround(bar * 1000.0));
}

OperatingConditions AdvancedConditionsEditor::accepted() const {
    OperatingConditions c = conditions_;
    const bool keepPressure = transcritical() && c.condByPressure;
    c.advanced = true;
    c.usefulAll = false;
    // A gas-cooler pressure entered as such stays the input: its temperature is not a
    // saturation temperature, and resolving from it would lose the pressure.
    c.condByPressure = keepPressure ? 1 : 0;
    c.evapByPressure = 0;
    c.liquidTempGiven = true;
    c.useSGR = true;
    return c;
}

PhDiagram AdvancedConditionsEditor::diagram(double dischargeTemp, const PhInjection* injection) const {
    if (refrigerant_ == nullptr) return {};
    OperatingConditions c = accepted();
    Resolve(c, refrigerant_);
    if (heatGainView_ && injection != nullptr)
        return PhDiagram::Compute(*refrigerant_, c, dischargeTemp, injection);
    // the heat gained between the economiser and the load warms the liquid that is expanded
    if (heatGainView_ && !transcritical()) c.liquidTemp += c.liquidLineTempRise;
    return PhDiagram::Compute(*refrigerant_, c, dischargeTemp);
}

// ---------------------------------------------------------------------------------------------
// The window

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

PhPoint AdvancedAnchor(const PhCycle& cycle, AdvancedParameter parameter) {
    auto middle = [](PhPoint a, PhPoint b) { return PhPoint{(a.h + b.h) / 2, std::sqrt(a.p * b.p)}; };
    switch (parameter) {
        case P::SuctionLineDrop: return middle(cycle.evaporatorDew, cycle.suction);
        case P::DischargeLineDrop:
            return middle(cycle.discharge, cycle.transcritical ? cycle.liquid : cycle.condenserDew);
        case P::LiquidTemp: return cycle.liquid;
        case P::UsefulSuperheat: return cycle.evaporatorDew;
        case P::SuctionGasReturn: return cycle.suction;
        case P::LiquidTempRise: return cycle.evaporatorInlet;
    }
    return cycle.suction;
}

class TfrmAdvancedWin::DiagramBox : public QWidget {
  public:
    explicit DiagramBox(TfrmAdvancedWin* window) : QWidget(window), window_(window) {
        setObjectName("phDiagram");
        setMinimumSize(520, 380);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }
    void setDiagram(PhDiagram diagram) {
        diagram_ = std::move(diagram);
        update();
    }
    const PhDiagram& diagram() const { return diagram_; }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        PaintPhDiagram(painter, QRectF(rect()), diagram_);
        if (!diagram_.cycleValid) return;
        // a value label at each parameter's place on the cycle, the edited one lit and bold
        const PhAxes axes(diagram_, QRectF(rect()));
        const AdvancedConditionsEditor& editor = window_->editor_;
        for (P p : editor.parameters()) {
            const QPointF at = axes.toPixel(AdvancedAnchor(diagram_.cycle, p));
            const bool lit = p == editor.current();
            painter.setPen(lit ? Qt::red : Qt::darkGray);
            painter.setBrush(lit ? QBrush(Qt::red) : QBrush(Qt::white));
            painter.drawEllipse(at, 5, 5);
            QFont font = painter.font();
            font.setBold(lit);
            painter.setFont(font);
            painter.setPen(Qt::black);
            // the three labels at the evaporator outlet are spread around it
            QPointF offset(8, 14);
            if (p == P::UsefulSuperheat) offset = QPointF(-40, -8);
            if (p == P::SuctionLineDrop) offset = QPointF(-10, 24);
            painter.drawText(at + offset, QString::number(editor.displayValue(p), 'f', 1));
        }
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (!diagram_.cycleValid || window_->readOnly_) return;
        const PhAxes axes(diagram_, QRectF(rect()));
        const QPointF click = event->position();
        double best = 30.0 * 30.0;  // px squared: clicks farther away choose nothing
        std::optional<P> chosen;
        for (P p : window_->editor_.parameters()) {
            const QPointF d = axes.toPixel(AdvancedAnchor(diagram_.cycle, p)) - click;
            const double distance = d.x() * d.x() + d.y() * d.y();
            if (distance < best) {
                best = distance;
                chosen = p;
            }
        }
        if (!chosen) return;
        window_->editor_.select(*chosen);
        window_->showParameters();
    }

  private:
    TfrmAdvancedWin* window_;
    PhDiagram diagram_;
};

TfrmAdvancedWin::TfrmAdvancedWin(Trefrigerant* refrigerant, const OperatingConditions& conditions,
                                 UnitSystem units, bool injectionModel, bool readOnly,
                                 double dischargeTemp, QWidget* parent,
                                 std::optional<PhInjection> injection)
    : QDialog(parent),
      editor_(refrigerant, conditions, units, injectionModel),
      readOnly_(readOnly),
      dischargeTemp_(dischargeTemp),
      injection_(injection) {
    setObjectName("frmAdvancedWin");
    setWindowTitle(Q(Text("frmAdvancedWin", "Operating Conditions")));
    setModal(true);
    if (readOnly_) editor_.setHeatGainView(true);

    auto* layout = new QHBoxLayout(this);
    diagramBox_ = new DiagramBox(this);
    layout->addWidget(diagramBox_, 1);

    auto* side = new QVBoxLayout;
    auto* title = new QLabel(refrigerant ? Q(refrigerant->DisplayName()) : QString(), this);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    side->addWidget(title);
    auto* grid = new QGridLayout;
    for (int i = 0; i < 6; ++i) {
        auto* blip = new QPushButton(this);
        blip->setObjectName(QString("blip%1").arg(i));
        blip->setFlat(true);
        blip->setStyleSheet("text-align: left;");
        auto* value = new QLabel(this);
        value->setObjectName(QString("lblValue%1").arg(i));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(blip, i, 0);
        grid->addWidget(value, i, 1);
        blips_.push_back(blip);
        valueLabels_.push_back(value);
        connect(blip, &QPushButton::clicked, this, [this, i] {
            const auto list = editor_.parameters();
            if (i < static_cast<int>(list.size())) {
                editor_.select(list[static_cast<std::size_t>(i)]);
                showParameters();
            }
        });
    }
    side->addLayout(grid);

    auto* editRow = new QHBoxLayout;
    boxParam_ = new QComboBox(this);
    boxParam_->setObjectName("boxParam");
    edValue_ = new QDoubleSpinBox(this);
    edValue_->setObjectName("edValue");
    edValue_->setDecimals(1);
    edValue_->setSingleStep(0.5);
    edValue_->setMaximum(1000);
    edValue_->setKeyboardTracking(true);
    editRow->addWidget(boxParam_, 1);
    editRow->addWidget(edValue_);
    side->addLayout(editRow);
    boxParam_->setVisible(!readOnly_);
    edValue_->setVisible(!readOnly_);

    btnHeatGain_ = new QPushButton(Q(Text("btnHeatGain", "Show heat gain")), this);
    btnHeatGain_->setObjectName("btnHeatGain");
    btnHeatGain_->setCheckable(true);
    btnHeatGain_->setEnabled(injectionModel && !readOnly_);
    side->addWidget(btnHeatGain_);
    side->addStretch(1);

    auto* buttons = new QDialogButtonBox(
        readOnly_ ? QDialogButtonBox::Ok : QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    side->addWidget(buttons);
    layout->addLayout(side);

    connect(boxParam_, &QComboBox::currentIndexChanged, this, &TfrmAdvancedWin::boxParamChange);
    connect(edValue_, &QDoubleSpinBox::valueChanged, this, &TfrmAdvancedWin::edValueChange);
    connect(btnHeatGain_, &QPushButton::clicked, this, &TfrmAdvancedWin::btnHeatGainClick);
    showParameters();
}

QWidget* TfrmAdvancedWin::diagramWidget() const { return diagramBox_; }

const PhDiagram& TfrmAdvancedWin::shownDiagram() const { return diagramBox_->diagram(); }

void TfrmAdvancedWin::showParameters() {
    updating_ = true;
    const auto list = editor_.parameters();
    boxParam_->clear();
    for (std::size_t i = 0; i < blips_.size(); ++i) {
        const bool used = i < list.size();
        blips_[i]->setVisible(used);
        valueLabels_[i]->setVisible(used);
        if (!used) continue;
        const P p = list[i];
        const bool lit = p == editor_.current();
        boxParam_->addItem(Q(editor_.caption(p)));
        if (lit) boxParam_->setCurrentIndex(static_cast<int>(i));
        blips_[i]->setText(QString::fromUtf8(lit ? "\u25CF " : "\u25CB ") + Q(editor_.caption(p)));
        blips_[i]->setStyleSheet(lit ? "text-align: left; color: red;" : "text-align: left;");
        QString value = QString::number(editor_.displayValue(p), 'f', 1);
        const std::string drop = editor_.pressureDropText(p);
        if (!drop.empty()) value += " " + Q(drop);
        valueLabels_[i]->setText(value);
        QFont font = valueLabels_[i]->font();
        font.setBold(lit);
        valueLabels_[i]->setFont(font);
    }
    edValue_->setMinimum(editor_.minimum(editor_.current()));
    edValue_->setValue(editor_.displayValue(editor_.current()));
    edValue_->setStyleSheet(editor_.liquidWarning() ? "background: red;" : "");
    updating_ = false;
    diagramBox_->setDiagram(editor_.diagram(dischargeTemp_, injection_ ? &*injection_ : nullptr));
}

void TfrmAdvancedWin::boxParamChange(int index) {
    if (updating_ || index < 0) return;
    const auto list = editor_.parameters();
    if (index < static_cast<int>(list.size())) editor_.select(list[static_cast<std::size_t>(index)]);
    showParameters();
}

void TfrmAdvancedWin::edValueChange(double value) {
    if (updating_ || readOnly_) return;
    editor_.setDisplayValue(editor_.current(), value);
    // keep the cursor in the edit: refresh everything but the edit itself
    updating_ = true;
    const double shown = edValue_->value();
    showParameters();
    updating_ = true;
    edValue_->setValue(shown);
    updating_ = false;
}

void TfrmAdvancedWin::btnHeatGainClick() {
    editor_.setHeatGainView(btnHeatGain_->isChecked());
    showParameters();
}

bool TfrmAdvancedWin::focusNextPrevChild(bool next) {
    if (!next) return QDialog::focusNextPrevChild(next);
    editor_.selectNext();
    showParameters();
    edValue_->setFocus();
    edValue_->selectAll();
    return true;
}

}  // namespace kelvra
