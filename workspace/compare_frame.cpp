#include "compare_frame.hpp"

#include <QAction>
#include <QClipboard>
#include <QDate>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "data_store.hpp"
#include "language_texts.hpp"
#include "list_dialogs.hpp"
#include "list_sheet.hpp"
#include "refrigerant.hpp"
#include "selection_driver.hpp"
#include "table_view.hpp"

namespace kelvra {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

QString Caption(std::string_view key, std::string_view english) {
    QString text = Q(Text(key, english));
    text.remove('&');
    return text;
}

QColor Rgb(std::uint32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

bool ControlsMode(ActivityMode mode) {
    return ToInt(mode) >= ToInt(ActivityMode::ExpansionValves) &&
           ToInt(mode) <= ToInt(ActivityMode::FilterDriers);
}

// The small grey triangle beside the title of the sorted column.
const QIcon& SortedIcon() {
    static const QIcon icon = [] {
        QPixmap pixmap(9, 9);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x80, 0x80, 0x80));
        const QPointF corners[] = {{0.5, 2}, {8.5, 2}, {4.5, 7.5}};
        painter.drawPolygon(corners, 3);
        return QIcon(pixmap);
    }();
    return icon;
}

// Background of an item's row: the status colour of a failed point or a warning, lime for
// preliminary data, else white.
QColor RowColour(const ListItem& item) {
    const ModelStatus status = item.status();
    if (status < 0 || status == 2 || status == 3) return Rgb(TableStatusColour(status));
    if (SelectionList::isPreliminary(item)) return QColor(0x00, 0xFF, 0x00);
    return Qt::white;
}

}  // namespace

TframeCompare::TframeCompare(QWidget* parent) : QWidget(parent) {
    setObjectName("frameCompare");
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    const auto button = [this, buttons](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        buttons->addWidget(b);
        return b;
    };
    btnPrevious_ = button("btnPrevious", "<");
    btnNext_ = button("btnNext", ">");
    btnSelectRefs_ = button("btnSelectRefs", Caption("btnSelectRefs", "Select multiple refrigerants"));
    btnRemoveRefs_ = button("btnRemoveRefs", Caption("btnRemoveRefs", "Remove multiple Refrigerants"));
    btnColumnEditor_ = button("btnColumnEditor", Caption("mnuColumnEditor", "Column Editor"));
    btnCopy_ = button("btnCopy", Caption("btnCopy", "Copy to Clipboard"));
    btnExcel_ = button("btnExcel", Caption("btnExcel", "Output to spreadsheet"));
    buttons->addStretch();
    layout->addLayout(buttons);

    lblNoModels_ = new QLabel(this);
    lblNoModels_->setObjectName("lblNoModels");
    lblNoModels_->setStyleSheet("color: red;");
    lblNoModels_->setVisible(false);
    layout->addWidget(lblNoModels_);

    grid_ = new QTableWidget(this);
    grid_->setObjectName("compareGrid");
    grid_->verticalHeader()->setVisible(false);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::NoSelection);
    grid_->setFocusPolicy(Qt::NoFocus);
    grid_->setWordWrap(false);
    grid_->horizontalHeader()->setSectionsClickable(true);
    grid_->horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(grid_, 1);

    menu_ = new QMenu(this);
    menu_->setObjectName("mnuColumnChoice");

    connect(btnPrevious_, &QPushButton::clicked, this, &TframeCompare::btnPreviousClick);
    connect(btnNext_, &QPushButton::clicked, this, &TframeCompare::btnNextClick);
    connect(btnSelectRefs_, &QPushButton::clicked, this, &TframeCompare::btnSelectRefsClick);
    connect(btnRemoveRefs_, &QPushButton::clicked, this, &TframeCompare::btnRemoveRefsClick);
    connect(btnColumnEditor_, &QPushButton::clicked, this, &TframeCompare::btnColumnEditorClick);
    connect(btnCopy_, &QPushButton::clicked, this, &TframeCompare::btnCopyClick);
    connect(btnExcel_, &QPushButton::clicked, this, &TframeCompare::btnExcelClick);
    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &TframeCompare::headerClick);
    connect(grid_->horizontalHeader(), &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) {
                QHeaderView* header = grid_->horizontalHeader();
                if (QMenu* menu = headerMenu(header->logicalIndexAt(at)))
                    menu->exec(header->mapToGlobal(at));
            });
    connect(grid_, &QTableWidget::cellClicked, this, [this](int row, int) { rowClick(row); });
    connect(grid_, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { rowDoubleClick(row); });
    updateButtons();
}

void TframeCompare::attach(SelectionDriver* driver, Callbacks callbacks) {
    driver_ = driver;
    callbacks_ = std::move(callbacks);
}

const SelectionList* TframeCompare::list() const { return driver_ ? &driver_->list() : nullptr; }
SelectionList* TframeCompare::list() { return driver_ ? &driver_->list() : nullptr; }

int TframeCompare::runDialog(QDialog& dialog) {
    return dialogRunner_ ? dialogRunner_(dialog) : dialog.exec();
}

// ---------------------------------------------------------------------------------------------
// Painting

void TframeCompare::showList() {
    const SelectionList* l = list();
    updateButtons();
    if (l == nullptr) return;
    if (callbacks_.setNavigationHint) callbacks_.setNavigationHint(l->sortCaption());
    // every keystroke changes the list: a hidden tab is painted only when it is shown
    gridStale_ = !isVisible();
    if (!gridStale_) paintGrid();
}

void TframeCompare::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (gridStale_) {
        gridStale_ = false;
        paintGrid();
    }
}

void TframeCompare::paintGrid() {
    const SelectionList* l = list();
    if (l == nullptr) return;
    if (l->empty()) {
        grid_->setRowCount(0);
        grid_->setVisible(false);
        lblNoModels_->setText(Q(Text("strNoModels", "No models available")));
        lblNoModels_->setVisible(true);
        return;
    }
    lblNoModels_->setVisible(false);
    grid_->setVisible(true);
    grid_->setUpdatesEnabled(false);

    const int fixed = l->fixedCount();
    const int columns = fixed + l->userCount();
    const int rows = static_cast<int>(l->order().size());
    grid_->clearContents();
    grid_->setColumnCount(columns);
    grid_->setRowCount(rows);
    for (int g = 0; g < columns; ++g) {
        const int column = g - fixed;
        auto* header = new QTableWidgetItem(Q(l->columnTitle(column)) + "\n" +
                                            Q(l->columnUnit(column)));
        if (column == l->sortColumn()) header->setIcon(SortedIcon());
        grid_->setHorizontalHeaderItem(g, header);
    }
    int currentRow = -1;
    for (int r = 0; r < rows; ++r) {
        const int index = l->order()[static_cast<std::size_t>(r)];
        const ListItem& item = l->items()[static_cast<std::size_t>(index)];
        const QColor background = RowColour(item);
        const bool current = index == l->currentItem();
        if (current) currentRow = r;
        for (int g = 0; g < columns; ++g) {
            auto* cell = new QTableWidgetItem(Q(l->cellText(item, g - fixed)));
            cell->setBackground(background);
            cell->setForeground(g == 0 && current ? QColor(Qt::blue) : QColor(Qt::black));
            if (g >= fixed || l->fixedColumns()[static_cast<std::size_t>(g)] == FixedColumn::Speed ||
                l->fixedColumns()[static_cast<std::size_t>(g)] == FixedColumn::Load ||
                l->fixedColumns()[static_cast<std::size_t>(g)] == FixedColumn::InverterSpeed)
                cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid_->setItem(r, g, cell);
        }
    }
    grid_->resizeColumnsToContents();
    grid_->setColumnWidth(0, std::max(120, grid_->columnWidth(0)));
    grid_->setUpdatesEnabled(true);
    if (currentRow >= 0) grid_->scrollToItem(grid_->item(currentRow, 0));
}

void TframeCompare::updateButtons() {
    const SelectionList* l = list();
    const ActivityMode mode = l ? l->mode() : ActivityMode::Compressors;
    const bool comparing = l && l->isComparison();
    const bool controls = ControlsMode(mode);
    const Trefrigerant* main = driver_ ? driver_->refrigerant() : nullptr;
    btnSelectRefs_->setVisible(!controls);
    btnSelectRefs_->setEnabled(main != nullptr && !main->isCO2);
    btnRemoveRefs_->setVisible(!controls);
    btnRemoveRefs_->setEnabled(comparing);
    btnPrevious_->setEnabled(l && !comparing && l->hasPrevious());
    btnNext_->setEnabled(l && !comparing && l->hasNext());
    const QString hint = l ? Q(l->sortCaption()) : QString();
    btnPrevious_->setToolTip(Caption("hntPrevModel", "Previous model") + hint);
    btnNext_->setToolTip(Caption("hntNextModel", "Next model") + hint);
    btnCopy_->setEnabled(l && !l->empty());
    btnExcel_->setEnabled(l && !l->empty());
    btnColumnEditor_->setEnabled(l != nullptr);
}

// ---------------------------------------------------------------------------------------------
// Header

void TframeCompare::headerClick(int gridColumn) {
    SelectionList* l = list();
    if (l == nullptr || gridColumn < 0) return;
    l->sortBy(gridColumn - l->fixedCount());
    showList();
}

QMenu* TframeCompare::headerMenu(int gridColumn) {
    SelectionList* l = list();
    if (l == nullptr || gridColumn < 0) return nullptr;
    const int column = gridColumn - l->fixedCount();
    if (column < 0 || column >= l->userCount()) return nullptr;
    const bool controls = ControlsMode(l->mode());
    // the controls modes offer their technical fields on the last column only
    if (controls && column != l->userCount() - 1) return nullptr;

    menu_->clear();
    QMenu* mechanical = nullptr;
    QMenu* electrical = nullptr;
    for (const ListChoice& choice : l->choices()) {
        QMenu* into = menu_;
        if (choice.column.kind == 'P') {
            if (controls) continue;
        } else if (!controls) {
            QMenu*& sub = choice.column.kind == 'M' ? mechanical : electrical;
            if (sub == nullptr)
                sub = choice.column.kind == 'M'
                          ? new QMenu(Caption("strMechData", "Mechanical Data"), menu_)
                          : new QMenu(Caption("strElecData", "Electrical Data"), menu_);
            into = sub;
        }
        QAction* action = into->addAction(Q(choice.text));
        action->setEnabled(choice.enabled);
        action->setCheckable(true);
        action->setChecked(l->columns()[static_cast<std::size_t>(column)] == choice.column);
        const ListColumn chosen = choice.column;
        connect(action, &QAction::triggered, this,
                [this, column, chosen] { chooseColumn(column, chosen); });
    }
    for (QMenu* sub : {mechanical, electrical})
        if (sub != nullptr) menu_->addMenu(sub);
    if (!controls) {
        menu_->addSeparator();
        connect(menu_->addAction(Caption("mnuColumnEditor", "Column Editor")), &QAction::triggered,
                this, &TframeCompare::btnColumnEditorClick);
    }
    return menu_;
}

void TframeCompare::chooseColumn(int userColumn, ListColumn column) {
    SelectionList* l = list();
    if (l == nullptr) return;
    // a new quantity for the sorted column sorts by the model name again
    l->setColumn(userColumn, column);
    showList();
}

void TframeCompare::btnColumnEditorClick() {
    SelectionList* l = list();
    if (l == nullptr) return;
    TfrmColumnEditor editor(*l, this);
    if (runDialog(editor) != QDialog::Accepted || !editor.editor().canAccept()) return;
    l->setColumns(editor.columns());
    l->sortBy(l->sortColumn());
    showList();
}

// ---------------------------------------------------------------------------------------------
// Rows

void TframeCompare::rowClick(int gridRow) {
    const SelectionList* l = list();
    if (l == nullptr || gridRow < 0 || gridRow >= static_cast<int>(l->order().size())) return;
    const ListItem& item = l->items()[static_cast<std::size_t>(l->order()[static_cast<std::size_t>(gridRow)])];
    TCModel* model = l->ofMainRefrigerant(item) ? item.model : nullptr;
    const ModelStatus status = l->clickStatus(item);
    if (model != nullptr && callbacks_.selectModel) callbacks_.selectModel(model);
    if (callbacks_.showModelStatus) callbacks_.showModelStatus(status);
}

void TframeCompare::rowDoubleClick(int gridRow) {
    const SelectionList* l = list();
    if (l == nullptr || gridRow < 0 || gridRow >= static_cast<int>(l->order().size())) return;
    const ListItem& item = l->items()[static_cast<std::size_t>(l->order()[static_cast<std::size_t>(gridRow)])];
    if (l->ofMainRefrigerant(item)) {
        rowClick(gridRow);
        return;
    }
    // Another refrigerant: it becomes the main window's, with this model, and the list shows
    // that refrigerant's candidates alone.
    TCModel* model = item.model;
    Trefrigerant* refrigerant = item.refrigerant;
    if (callbacks_.selectRefrigerant) callbacks_.selectRefrigerant(refrigerant);
    if (driver_->refrigerant() != refrigerant) return;
    if (list()->isComparison()) compare({});
    const auto& candidates = driver_->candidates();
    if (std::find(candidates.begin(), candidates.end(), model) != candidates.end() &&
        callbacks_.selectModel)
        callbacks_.selectModel(model);
    if (callbacks_.setListLock) callbacks_.setListLock(false);
    showList();
}

void TframeCompare::btnPreviousClick() {
    SelectionList* l = list();
    if (l == nullptr || l->isComparison()) return;
    TCModel* model = l->moveSelection(false);
    if (model != nullptr && callbacks_.selectModel) callbacks_.selectModel(model);
    showList();
}

void TframeCompare::btnNextClick() {
    SelectionList* l = list();
    if (l == nullptr || l->isComparison()) return;
    TCModel* model = l->moveSelection(true);
    if (model != nullptr && callbacks_.selectModel) callbacks_.selectModel(model);
    showList();
}

// ---------------------------------------------------------------------------------------------
// Comparing refrigerants

void TframeCompare::refill() {
    SelectionList* l = list();
    l->fillList(driver_->candidates(), driver_->selectedModel(), driver_->rangeFilter(),
                driver_->activityMode(), driver_->unitSystem(), driver_->conditions());
    showList();
}

void TframeCompare::compare(std::vector<Trefrigerant*> refrigerants) {
    SelectionList* l = list();
    if (l == nullptr) return;
    const bool comparing = l->compareRefrigerants(std::move(refrigerants), driver_->refrigerant());
    refill();
    if (callbacks_.setListLock) callbacks_.setListLock(comparing);
}

void TframeCompare::btnSelectRefsClick() {
    const SelectionList* l = list();
    if (l == nullptr || driver_->refrigerant() == nullptr || driver_->refrigerant()->isCO2) return;
    std::vector<Trefrigerant*> all;
    for (const auto& refrigerant : driver_->store().Refrigerants()) all.push_back(refrigerant.get());
    TfrmRefDlg dialog(all, driver_->refrigerant(), l->refrigerants(), this);
    if (runDialog(dialog) != QDialog::Accepted) {
        return;
    }
    compare(dialog.ticked());
}

void TframeCompare::btnRemoveRefsClick() { compare({}); }

// ---------------------------------------------------------------------------------------------
// Output

void TframeCompare::btnCopyClick() {
    const SelectionList* l = list();
    if (l == nullptr) return;
    QGuiApplication::clipboard()->setText(Q(l->clipboardText()));
}

void TframeCompare::btnExcelClick() {
    const SelectionList* l = list();
    if (l == nullptr) return;
    QString path;
    if (savePathAsker_) {
        path = savePathAsker_(outputFolder_);
    } else {
        QFileDialog dialog(this, Caption("btnExcel", "Output to spreadsheet"), outputFolder_,
                           "*.XLS");
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix("XLS");
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            path = dialog.selectedFiles().front();
    }
    if (path.isEmpty()) return;
    outputFolder_ = QFileInfo(path).absolutePath();
    ListSheetHeader header;
    header.versionLabel = driver_->store().VersionLabel();
    header.date = QLocale::c().toString(QDate::currentDate(), "d MMMM yyyy").toStdString();
    const IoStatus status =
        WriteSelectionListSheet(std::filesystem::path(path.toStdString()), *l, header);
    if (!status && callbacks_.showError) callbacks_.showError(Q(status.FullText()));
}

}  // namespace kelvra
