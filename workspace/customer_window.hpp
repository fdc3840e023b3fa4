#pragma once

// The project-details window: the project and the customer it is for.

#include <QDialog>

#include "project_details.hpp"

class QLineEdit;

namespace kelvra {

class TfrmCustomer : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmCustomer(QWidget* parent = nullptr);

    // Fills the fields from the details; the first field takes the focus.
    void setFields(const CustomerFields& fields);
    // The fields as typed (the postcode already in upper case).
    CustomerFields fields() const;

  private:
    QLineEdit* edProject_ = nullptr;
    QLineEdit* edContact_ = nullptr;
    QLineEdit* edCompany_ = nullptr;
    QLineEdit* edAddress1_ = nullptr;
    QLineEdit* edAddress2_ = nullptr;
    QLineEdit* edAddress3_ = nullptr;
    QLineEdit* edPostcode_ = nullptr;
};

}  // namespace kelvra
