#include "preferences_window.hpp"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "custom_table_dialog.hpp"
#include "language_texts.hpp"
#include "project_details.hpp"
#include "table_layouts.hpp"

namespace kelvra {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }
std::string S(const QString& text) { return text.toStdString(); }

struct TableKind {
    TableProduct product;
    UnitSystem system;
};
constexpr TableKind kTableKinds[] = {
    {TableProduct::Compressors, UnitSystem::SI},
    {TableProduct::Compressors, UnitSystem::Imperial},
    {TableProduct::CondensingUnits, UnitSystem::SI},
    {TableProduct::CondensingUnits, UnitSystem::Imperial},
    {TableProduct::HeatPumpCompressors, UnitSystem::SI},
    {TableProduct::HeatPumpCompressors, UnitSystem::Imperial},
};

ActivityMode ModeOf(TableProduct product) {
    switch (product) {
        case TableProduct::CondensingUnits: return ActivityMode::CondensingUnits;
        case TableProduct::HeatPumpCompressors: return ActivityMode::HeatPumpCompressors;
        default: return ActivityMode::Compressors;
    }
}

bool IsSpace(QChar c) { return c.isSpace() || c == QChar(0x00A0) || c == QChar(0x202F); }

}  // namespace

CurrencyFormat LocaleCurrency(const QLocale& locale) {
    CurrencyFormat f;
    const QString symbol = locale.currencySymbol(QLocale::CurrencySymbol);
    f.symbol = S(symbol.isEmpty() ? QString("$") : symbol);
    const QString positive = locale.toCurrencyString(1.0);
    const bool prefix = !symbol.isEmpty() && positive.startsWith(symbol);
    const bool spaced = prefix ? positive.size() > symbol.size() && IsSpace(positive[symbol.size()])
                               : positive.size() > symbol.size() &&
                                     IsSpace(positive[positive.size() - symbol.size() - 1]);
    f.format = prefix ? (spaced ? 2 : 0) : (spaced ? 3 : 1);
    const QString negative = locale.toCurrencyString(-1.0);
    if (negative.startsWith('(')) f.negativeFormat = prefix ? (spaced ? 14 : 0) : (spaced ? 15 : 4);
    else f.negativeFormat = prefix ? (spaced ? 9 : 1) : (spaced ? 8 : 5);
    const int point = positive.indexOf(locale.decimalPoint());
    int digits = 0;
    for (int i = point + 1; point >= 0 && i < positive.size() && positive[i].isDigit(); ++i) ++digits;
    f.decimals = point < 0 ? 0 : digits;
    return f;
}

TfrmPreferences::TfrmPreferences(PreferencesModel model, int page, DialogRunner runner, QWidget* parent)
    : QDialog(parent), model_(std::move(model)), runner_(std::move(runner)) {
    setObjectName("frmPreferences");
    setWindowTitle(Q(Text("frmPreferences", "Preferences")));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    pages_ = new QTabWidget(this);
    pages_->setObjectName("pgPreferences");
    pages_->addTab(buildTablesPage(), Q(Text("tabPrefTables", "Tables")));
    pages_->addTab(buildUserPage(), Q(Text("tabPrefUser", "User")));
    pages_->addTab(buildLanguagePage(), Q(Text("tabPrefLanguage", "Language")));
    pages_->addTab(buildUnitsPage(), Q(Text("tabPrefUnits", "Units")));
    pages_->setCurrentIndex(std::clamp(page, 0, 3));
    layout->addWidget(pages_, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("btnOK");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("btnCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

// --- tables ------------------------------------------------------------------------------------

QWidget* TfrmPreferences::buildTablesPage() {
    auto* page = new QWidget(pages_);
    auto* layout = new QVBoxLayout(page);
    boxTableKind_ = new QComboBox(page);
    boxTableKind_->setObjectName("boxTableKind");
    const QString products[] = {Q(Text("strTableCompressors", "Compressors")),
                                Q(Text("strTableCondUnits", "Condensing Units")),
                                Q(Text("strTableHPCompressors", "Heat Pump Compressors"))};
    int current = 0;
    for (int i = 0; i < 6; ++i) {
        const TableKind kind = kTableKinds[i];
        const QString system = kind.system == UnitSystem::Imperial
                                   ? Q(Text("strTableImperial", "Imperial"))
                                   : Q(Text("strTableSIkcal", "S.I. and kCal"));
        boxTableKind_->addItem(products[static_cast<int>(kind.product)] + " - " + system);
        const bool imperial = model_.tableSystem() == UnitSystem::Imperial;
        if (kind.product == model_.tableProduct() && (kind.system == UnitSystem::Imperial) == imperial)
            current = i;
    }
    boxTableKind_->setCurrentIndex(current);
    layout->addWidget(boxTableKind_);

    auto* row = new QHBoxLayout;
    lstTables_ = new QListWidget(page);
    lstTables_->setObjectName("lstTables");
    row->addWidget(lstTables_, 1);
    auto* buttons = new QVBoxLayout;
    auto button = [page, buttons](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, page);
        b->setObjectName(name);
        buttons->addWidget(b);
        return b;
    };
    btnSetDefault_ = button("btnSetDefault", Q(Text("btnSetDefault", "Set as Default")));
    btnAdd_ = button("btnTableAdd", Q(Text("btnTableAdd", "Add")));
    btnEdit_ = button("btnTableEdit", Q(Text("btnTableEdit", "Edit")));
    btnDelete_ = button("btnTableDelete", Q(Text("btnTableDelete", "Delete")));
    buttons->addStretch(1);
    row->addLayout(buttons);
    layout->addLayout(row, 1);

    connect(boxTableKind_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0) return;
        model_.setTableKind(kTableKinds[index].product, kTableKinds[index].system);
        fillTables();
    });
    connect(lstTables_, &QListWidget::currentRowChanged, this, [this] { updateTableButtons(); });
    connect(lstTables_, &QListWidget::itemDoubleClicked, this, [this] { btnSetDefaultClick(); });
    connect(btnSetDefault_, &QPushButton::clicked, this, &TfrmPreferences::btnSetDefaultClick);
    connect(btnAdd_, &QPushButton::clicked, this, &TfrmPreferences::btnAddClick);
    connect(btnEdit_, &QPushButton::clicked, this, &TfrmPreferences::btnEditClick);
    connect(btnDelete_, &QPushButton::clicked, this, &TfrmPreferences::btnDeleteClick);
    fillTables();
    return page;
}

void TfrmPreferences::fillTables() {
    const int keep = lstTables_->currentRow();
    lstTables_->clear();
    const auto entries = model_.tableEntries(Text("strBuiltInTable", "Built-in table"));
    const int defaultEntry = model_.defaultEntry();
    for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
        auto* item = new QListWidgetItem(Q(entries[static_cast<std::size_t>(i)]), lstTables_);
        if (i == defaultEntry) {
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
            item->setText(item->text() + "  (" + Q(Text("strTableDefault", "Default")) + ")");
        }
    }
    lstTables_->setCurrentRow(std::clamp(keep, 0, lstTables_->count() - 1));
    updateTableButtons();
}

void TfrmPreferences::updateTableButtons() {
    const bool user = model_.isUserEntry(lstTables_->currentRow());
    btnEdit_->setEnabled(user);
    btnDelete_->setEnabled(user);
    btnSetDefault_->setEnabled(lstTables_->currentRow() >= 0);
}

void TfrmPreferences::btnSetDefaultClick() {
    model_.setDefaultEntry(lstTables_->currentRow());
    fillTables();
}

void TfrmPreferences::btnAddClick() {
    TableDefinition layout = NewTableLayout(model_.tableProduct(), model_.tableSystem());
    TfrmCustabDLG dialog(layout, true, ModeOf(model_.tableProduct()), this);
    if (runner_(dialog) != QDialog::Accepted) return;
    const int entry = model_.addTable(RecordFromDefinition(dialog.result()));
    fillTables();
    lstTables_->setCurrentRow(entry);
}

void TfrmPreferences::btnEditClick() {
    const int entry = lstTables_->currentRow();
    TableLayoutRecord* record = model_.tableOfEntry(entry);
    if (record == nullptr) return;
    const TableDefinition layout = DefinitionFromRecord(*record);
    TfrmCustabDLG dialog(layout, IsRegularLayout(layout), ModeOf(model_.tableProduct()), this);
    if (runner_(dialog) != QDialog::Accepted) return;
    TableLayoutRecord edited = RecordFromDefinition(dialog.result());
    edited.productType = record->productType;
    edited.unitSystem = record->unitSystem;
    *record = edited;
    model_.tableEdited();
    fillTables();
    lstTables_->setCurrentRow(entry);
}

void TfrmPreferences::btnDeleteClick() {
    model_.deleteEntry(lstTables_->currentRow());
    fillTables();
}

// --- user ------------------------------------------------------------------------------------

QWidget* TfrmPreferences::buildUserPage() {
    auto* page = new QWidget(pages_);
    auto* form = new QFormLayout(page);
    auto edit = [page, form](const char* name, const QString& caption, std::size_t length) {
        auto* line = new QLineEdit(page);
        line->setObjectName(name);
        line->setMaxLength(static_cast<int>(length));
        form->addRow(caption, line);
        return line;
    };
    constexpr std::size_t text = DealerDetails::kTextLength;
    edSalesman_ = edit("edSalesman", Q(Text("lblUserName", "User Name")), text);
    edCompany_ = edit("edDealerCompany", Q(Text("lblCompanyName", "Company Name")), text);
    edAddress1_ = edit("edDealerAddress1", Q(Text("lblAddress1", "Address 1")), text);
    edAddress2_ = edit("edDealerAddress2", Q(Text("lblAddress2", "Address 2")), text);
    edAddress3_ = edit("edDealerAddress3", Q(Text("lblAddress3", "Address 3")), text);
    edPostcode_ = edit("edDealerPostcode", Q(Text("lblPostcode", "Postcode")), DealerDetails::kPostcodeLength);
    edPhone_ = edit("edPhone", Q(Text("lblPhone", "Phone")), DealerDetails::kPhoneLength);
    edFax_ = edit("edFax", Q(Text("lblFax", "Fax")), DealerDetails::kPhoneLength);
    edEmail_ = edit("edEmail", Q(Text("lblEmail", "E-mail")), text);
    connect(edPostcode_, &QLineEdit::textEdited, this, [this](const QString& typed) {
        const QString upper = Q(UpperCaseText(S(typed)));
        if (upper == typed) return;
        const int cursor = edPostcode_->cursorPosition();
        edPostcode_->setText(upper);
        edPostcode_->setCursorPosition(cursor);
    });
    fillUserFields();
    return page;
}

void TfrmPreferences::fillUserFields() {
    const DealerDetails& d = model_.dealer();
    edSalesman_->setText(Q(d.salesman));
    edCompany_->setText(Q(d.company));
    edAddress1_->setText(Q(d.address1));
    edAddress2_->setText(Q(d.address2));
    edAddress3_->setText(Q(d.address3));
    edPostcode_->setText(Q(d.postcode));
    edPhone_->setText(Q(d.phone));
    edFax_->setText(Q(d.fax));
    edEmail_->setText(Q(d.email));
}

// --- language --------------------------------------------------------------------------------

QWidget* TfrmPreferences::buildLanguagePage() {
    auto* page = new QWidget(pages_);
    auto* layout = new QHBoxLayout(page);
    auto* languages = new QGroupBox(Q(Text("grpPrefLanguage", "Language")), page);
    auto* languageLayout = new QVBoxLayout(languages);
    lstLanguages_ = new QListWidget(languages);
    lstLanguages_->setObjectName("lstLanguages");
    for (const std::string& name : model_.languageNames()) lstLanguages_->addItem(Q(name));
    lstLanguages_->setCurrentRow(model_.languageIndex());
    languageLayout->addWidget(lstLanguages_);
    layout->addWidget(languages, 1);

    auto* helps = new QGroupBox(Q(Text("grpPrefHelp", "Help")), page);
    helps->setObjectName("grpHelp");
    auto* helpLayout = new QVBoxLayout(helps);
    helpGroup_ = new QButtonGroup(this);
    for (int i = 0; i < static_cast<int>(model_.helps().size()); ++i) {
        auto* radio = new QRadioButton(Q(model_.helps()[static_cast<std::size_t>(i)]), helps);
        radio->setObjectName(QString("radHelp%1").arg(i));
        radio->setChecked(i == model_.helpIndex());
        helpGroup_->addButton(radio, i);
        helpLayout->addWidget(radio);
    }
    helpLayout->addStretch(1);
    layout->addWidget(helps, 1);
    return page;
}

// --- units -----------------------------------------------------------------------------------

QWidget* TfrmPreferences::buildUnitsPage() {
    auto* page = new QWidget(pages_);
    auto* layout = new QVBoxLayout(page);

    auto* units = new QGroupBox(Q(Text("grpPrefUnits", "Units")), page);
    auto* unitLayout = new QHBoxLayout(units);
    unitGroup_ = new QButtonGroup(this);
    const std::pair<UnitSystem, QString> systems[] = {
        {UnitSystem::SI, Q(Text("radPrefSI", "S.I."))},
        {UnitSystem::Imperial, Q(Text("radPrefImperial", "Imperial"))},
        {UnitSystem::Kcal, Q(Text("radPrefKcal", "kCal"))}};
    for (const auto& [system, caption] : systems) {
        auto* radio = new QRadioButton(caption, units);
        radio->setObjectName(QString("radUnits%1").arg(ToInt(system)));
        radio->setChecked(system == model_.units());
        unitGroup_->addButton(radio, ToInt(system));
        unitLayout->addWidget(radio);
    }
    connect(unitGroup_, &QButtonGroup::idClicked, this,
            [this](int id) { model_.setUnits(static_cast<UnitSystem>(id)); });
    layout->addWidget(units);

    auto* money = new QGroupBox(Q(Text("grpPrefCurrency", "Currency")), page);
    auto* moneyLayout = new QGridLayout(money);
    currencyGroup_ = new QButtonGroup(this);
    const QString choices[] = {Q(Text("radCurrDefault", "Default")),
                               Q(Text("radCurrDollar", "U.S. Dollar")),
                               Q(Text("radCurrEuro", "Euro")),
                               Q(Text("radCurrLocal", "Local Currency")),
                               Q(Text("radCurrOther", "Other"))};
    for (int i = 0; i < 5; ++i) {
        auto* radio = new QRadioButton(choices[i], money);
        radio->setObjectName(QString("radCurrency%1").arg(i));
        radio->setChecked(i == 0);
        currencyGroup_->addButton(radio, i);
        moneyLayout->addWidget(radio, i, 0);
    }
    boxLocale_ = new QComboBox(money);
    boxLocale_->setObjectName("boxLocale");
    QList<QLocale> locales = QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript,
                                                      QLocale::AnyTerritory);
    std::sort(locales.begin(), locales.end(), [](const QLocale& a, const QLocale& b) {
        return a.name() < b.name();
    });
    for (const QLocale& locale : locales) {
        if (locale.currencySymbol().isEmpty()) continue;
        boxLocale_->addItem(locale.nativeLanguageName() + " (" + locale.nativeTerritoryName() + ") " +
                                locale.currencySymbol(),
                            locale.name());
    }
    boxLocale_->setEnabled(false);
    moneyLayout->addWidget(boxLocale_, 4, 1);
    lblSample_ = new QLabel(money);
    lblSample_->setObjectName("lblSample");
    moneyLayout->addWidget(lblSample_, 5, 0, 1, 2);
    connect(currencyGroup_, &QButtonGroup::idClicked, this, [this] { currencyChanged(); });
    connect(boxLocale_, &QComboBox::currentIndexChanged, this, [this] { currencyChanged(); });
    layout->addWidget(money);

    auto* prices = new QFormLayout;
    edElectricity_ = new QLineEdit(Q(model_.electricity), page);
    edElectricity_->setObjectName("edElectricity");
    edElectricity_->setMaxLength(10);
    edDirectCost_ = new QLineEdit(Q(model_.directCost), page);
    edDirectCost_->setObjectName("edDirectCost");
    edDirectCost_->setMaxLength(10);
    prices->addRow(Q(Text("lblElectricity", "Electricity cost per kWh")), edElectricity_);
    prices->addRow(Q(Text("lblDirectCost", "Direct heating cost per kWh")), edDirectCost_);
    layout->addLayout(prices);
    lblProblem_ = new QLabel(page);
    lblProblem_->setObjectName("lblProblem");
    lblProblem_->setStyleSheet("color: red;");
    lblProblem_->setWordWrap(true);
    lblProblem_->setVisible(false);
    layout->addWidget(lblProblem_);
    layout->addStretch(1);
    showSample();
    return page;
}

void TfrmPreferences::currencyChanged() {
    const auto choice = static_cast<CurrencyChoice>(std::max(0, currencyGroup_->checkedId()));
    boxLocale_->setEnabled(choice == CurrencyChoice::Other);
    CurrencyFormat other;
    if (choice == CurrencyChoice::Other && boxLocale_->currentIndex() >= 0)
        other = LocaleCurrency(QLocale(boxLocale_->currentData().toString()));
    model_.setCurrencyChoice(choice, other);
    showSample();
}

void TfrmPreferences::showSample() { lblSample_->setText(Q(model_.sampleAmount())); }

// --- closing ---------------------------------------------------------------------------------

void TfrmPreferences::readFields() {
    DealerDetails& d = model_.dealer();
    d.salesman = S(edSalesman_->text());
    d.company = S(edCompany_->text());
    d.address1 = S(edAddress1_->text());
    d.address2 = S(edAddress2_->text());
    d.address3 = S(edAddress3_->text());
    d.postcode = UpperCaseText(S(edPostcode_->text()));
    d.phone = S(edPhone_->text());
    d.fax = S(edFax_->text());
    d.email = S(edEmail_->text());
    model_.setLanguageIndex(lstLanguages_->currentRow());
    model_.setHelpIndex(helpGroup_->checkedId());
    model_.electricity = S(edElectricity_->text());
    model_.directCost = S(edDirectCost_->text());
}

const PreferencesModel& TfrmPreferences::model() {
    readFields();
    return model_;
}

void TfrmPreferences::done(int result) {
    if (result == QDialog::Accepted) {
        readFields();
        if (const auto problem = model_.problem()) {
            // the window stays open with everything typed
            pages_->setCurrentIndex(3);
            lblProblem_->setText(Q(*problem));
            lblProblem_->setVisible(true);
            return;
        }
    }
    QDialog::done(result);
}

}  // namespace kelvra
