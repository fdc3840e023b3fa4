#include "refprop_dialog.hpp"

#include <QDialogButtonBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "language_texts.hpp"

namespace kelvra {

namespace {

QString T(std::string_view key, std::string_view english) {
    return QString::fromStdString(Text(key, english));
}

const QString kDegrees = QString::fromUtf8("\u00B0C");

}  // namespace

TfrmRefPropDlg::TfrmRefPropDlg(QWidget* parent) : QDialog(parent) {
    setObjectName("frmRefPropDlg");
    setWindowTitle(T("frmRefPropDlg", "Refrigerant Properties"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    lblTitle_ = new QLabel(this);
    lblTitle_->setObjectName("lblRefTitle");
    QFont bold = lblTitle_->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    lblTitle_->setFont(bold);
    layout->addWidget(lblTitle_);

    auto* high = new QGroupBox(T("lblHighSide", "High side"), this);
    auto* highGrid = new QGridLayout(high);
    int line = 0;
    addRow(highGrid, line++, "lblCondAt", T("lblCondAt", "Condensing at"), kDegrees);
    addRow(highGrid, line++, "lblHighPress", T("strCondPress", "Condensing Pressure"), "bar a");
    addRow(highGrid, line++, "lblHighDew", T("lblDewPoint", "Dew point"), kDegrees);
    addRow(highGrid, line++, "lblHighBubble", T("lblBubblePoint", "Bubble point"), kDegrees);
    addRow(highGrid, line++, "lblSatVapEnth", T("lblSatVapEnth", "Saturated vapour enthalpy"),
           "kJ/kg");
    addRow(highGrid, line++, "lblSatVapVol",
           T("lblSatVapVol", "Specific volume of saturated vapour"), "cu.dm/kg");
    addRow(highGrid, line++, "lblLiqTemp", T("lblLiqTemp", "Liquid Temperature"), kDegrees);
    addRow(highGrid, line++, "lblLiqEnth", T("lblLiqEnth", "Liquid Enthalpy"), "kJ/kg");
    layout->addWidget(high);

    auto* low = new QGroupBox(T("lblLowSide", "Low side"), this);
    auto* lowGrid = new QGridLayout(low);
    line = 0;
    addRow(lowGrid, line++, "lblEvapAt", T("lblEvapAt", "Evaporating at"), kDegrees);
    addRow(lowGrid, line++, "lblLowPress", T("lblEvapPress", "Evaporating pressure"), "bar a");
    addRow(lowGrid, line++, "lblLowDew", T("lblDewPoint", "Dew point"), kDegrees);
    addRow(lowGrid, line++, "lblLowBubble", T("lblBubblePoint", "Bubble point"), kDegrees);
    addRow(lowGrid, line++, "lblVapourAt", T("lblVapourAt", "With vapour at"), kDegrees);
    addRow(lowGrid, line++, "lblSpecVol", T("lblSpecVol", "Specific volume"), "cu.dm/kg");
    addRow(lowGrid, line++, "lblEnthalpy", T("lblEnthalpy", "Enthalpy"), "kJ/kg");
    layout->addWidget(low);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void TfrmRefPropDlg::addRow(QGridLayout* grid, int line, const std::string& key,
                            const QString& caption, const QString& unit) {
    Row row;
    row.caption = new QLabel(caption, this);
    row.value = new QLabel(T("strNotKnown", "Not known"), this);
    row.value->setObjectName(QString::fromStdString(key));
    row.value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont mono("Monospace");
    mono.setStyleHint(QFont::TypeWriter);
    row.value->setFont(mono);
    row.unit = new QLabel(unit, this);
    grid->addWidget(row.caption, line, 0);
    grid->addWidget(row.value, line, 1);
    grid->addWidget(row.unit, line, 2);
    rows_[key] = row;
}

void TfrmRefPropDlg::setRow(const std::string& key, double value, bool visible) {
    Row& row = rows_.at(key);
    row.value->setText(QString::fromStdString(FormatPropertyValue(value)));
    for (QLabel* label : {row.caption, row.value, row.unit}) label->setVisible(visible);
}

QLabel* TfrmRefPropDlg::valueLabel(const std::string& row) const {
    const auto it = rows_.find(row);
    return it == rows_.end() ? nullptr : it->second.value;
}

QLabel* TfrmRefPropDlg::captionLabel(const std::string& row) const {
    const auto it = rows_.find(row);
    return it == rows_.end() ? nullptr : it->second.caption;
}

void TfrmRefPropDlg::showProperties(Trefrigerant& refrigerant, const RefPropInputs& inputs) {
    sheet_ = ComputeRefrigerantProperties(refrigerant, inputs);
    const RefPropSheet& s = sheet_;
    const bool sub = !s.transcritical;
    lblTitle_->setText(QString::fromStdString(s.title));
    rows_.at("lblHighPress").caption->setText(sub ? T("strCondPress", "Condensing Pressure")
                                                   : T("strDiscPress", "Discharge pressure"));
    rows_.at("lblLiqTemp").caption->setText(sub ? T("lblLiqTemp", "Liquid Temperature")
                                                 : T("lblCoolGas", "Gas cooler outlet"));
    setRow("lblCondAt", s.condensingAt, sub);
    setRow("lblHighPress", s.highPressure);
    setRow("lblHighDew", s.highDewPoint, sub);
    setRow("lblHighBubble", s.highBubblePoint, sub);
    setRow("lblSatVapEnth", s.saturatedVapourEnthalpy, sub);
    setRow("lblSatVapVol", s.saturatedVapourVolume, sub);
    setRow("lblLiqTemp", s.liquidTemp);
    setRow("lblLiqEnth", s.liquidEnthalpy);
    setRow("lblEvapAt", s.evaporatingAt);
    setRow("lblLowPress", s.lowPressure);
    setRow("lblLowDew", s.lowDewPoint);
    setRow("lblLowBubble", s.lowBubblePoint);
    setRow("lblVapourAt", s.vapourAt);
    setRow("lblSpecVol", s.vapourVolume);
    setRow("lblEnthalpy", s.vapourEnthalpy);
}

}  // namespace kelvra
