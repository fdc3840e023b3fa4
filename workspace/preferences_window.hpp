#pragma once

// The preferences window: default performance tables, the user's details, language and help,
// unit system, currency and energy prices. It edits a PreferencesModel; the main window takes
// the model's values when the window closes with OK.

#include <QDialog>
#include <functional>

#include "preferences.hpp"

class QButtonGroup;
class QLocale;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace kelvra {

// The currency of a locale as symbol, position codes and decimals.
CurrencyFormat LocaleCurrency(const QLocale& locale);

class TfrmPreferences : public QDialog {
    Q_OBJECT
  public:
    // Shows a modal window (the custom-table dialog) and returns its result.
    using DialogRunner = std::function<int(QDialog& dialog)>;

    TfrmPreferences(PreferencesModel model, int page, DialogRunner runner, QWidget* parent = nullptr);

    // The values as the window holds them (fields copied in).
    const PreferencesModel& model();

    // --- the controls' handlers, also for tests ---
    void btnSetDefaultClick();
    void btnAddClick();
    void btnEditClick();
    void btnDeleteClick();

  protected:
    void done(int result) override;

  private:
    QWidget* buildTablesPage();
    QWidget* buildUserPage();
    QWidget* buildLanguagePage();
    QWidget* buildUnitsPage();
    void fillTables();
    void updateTableButtons();
    void fillUserFields();
    void readFields();
    void currencyChanged();
    void showSample();

    PreferencesModel model_;
    DialogRunner runner_;
    QTabWidget* pages_ = nullptr;

    // tables
    QComboBox* boxTableKind_ = nullptr;
    QListWidget* lstTables_ = nullptr;
    QPushButton* btnSetDefault_ = nullptr;
    QPushButton* btnAdd_ = nullptr;
    QPushButton* btnEdit_ = nullptr;
    QPushButton* btnDelete_ = nullptr;

    // user
    QLineEdit* edSalesman_ = nullptr;
    QLineEdit* edCompany_ = nullptr;
    QLineEdit* edAddress1_ = nullptr;
    QLineEdit* edAddress2_ = nullptr;
    QLineEdit* edAddress3_ = nullptr;
    QLineEdit* edPostcode_ = nullptr;
    QLineEdit* edPhone_ = nullptr;
    QLineEdit* edFax_ = nullptr;
    QLineEdit* edEmail_ = nullptr;

    // language
    QListWidget* lstLanguages_ = nullptr;
    QButtonGroup* helpGroup_ = nullptr;

    // units
    QButtonGroup* unitGroup_ = nullptr;
    QButtonGroup* currencyGroup_ = nullptr;
    QComboBox* boxLocale_ = nullptr;
    QLabel* lblSample_ = nullptr;
    QLineEdit* edElectricity_ = nullptr;
    QLineEdit* edDirectCost_ = nullptr;
    QLabel* lblProblem_ = nullptr;
};

}  // namespace kelvra
