#pragma once

// "Refrigerant Properties": the saturation and state properties of the current refrigerant at
// the current operating point, high side and low side, in SI units.

#include <QDialog>
#include <map>
#include <string>

#include "refrigerant_properties.hpp"

class QGridLayout;
class QLabel;

namespace kelvra {

class TfrmRefPropDlg : public QDialog {
    Q_OBJECT

  public:
    explicit TfrmRefPropDlg(QWidget* parent = nullptr);

    // Computes and shows the properties (does not show the window).
    void showProperties(Trefrigerant& refrigerant, const RefPropInputs& inputs);

    // The value label of a row ("lblCondAt", "lblHighPress", ...), for tests.
    QLabel* valueLabel(const std::string& row) const;
    QLabel* captionLabel(const std::string& row) const;
    const RefPropSheet& sheet() const { return sheet_; }

  private:
    struct Row {
        QLabel* caption = nullptr;
        QLabel* value = nullptr;
        QLabel* unit = nullptr;
    };
    void addRow(QGridLayout* grid, int line, const std::string& key, const QString& caption,
                const QString& unit);
    void setRow(const std::string& key, double value, bool visible = true);

    QLabel* lblTitle_ = nullptr;
    std::map<std::string, Row> rows_;
    RefPropSheet sheet_;
};

}  // namespace kelvra
