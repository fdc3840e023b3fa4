#include "table_frame.hpp"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <exception>

#include "language_texts.hpp"
#include "number_cell.hpp"
#include "selection_driver.hpp"

namespace kelvra {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

QColor Rgb(std::uint32_t rgb) {
    return QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>(rgb & 0xFF));
}

// The window colour of header cells and of the separator row.
const QColor kWindowColour(0xF0, 0xF0, 0xF0);
const QColor kGridLine(0xC0, 0xC0, 0xC0);

// What a grid cell is, for the painter.
enum CellKind { kHeaderCell = 0, kNumberCell, kBlankCell, kSeparatorCell, kPictureCell };
constexpr int kKindRole = Qt::UserRole;
constexpr int kValueRole = Qt::UserRole + 1;
constexpr int kDecimalsRole = Qt::UserRole + 2;

// Widths of the number fields: axis values and results.
constexpr int kHeaderWidth = 6;
constexpr int kNumberWidth = 8;
// The number painter keeps the right edge of a number 6 pixels inside its cell.
constexpr int kExtraRightMargin = 1;

// The busy cursor while a table is computed, restored however the computation ends.
class BusyCursor {
  public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// Paints the cells: numbers right-aligned with every digit as wide as a "5", the status
// background behind them, the picture in the top-left corner.
class TableCellPainter : public QStyledItemDelegate {
  public:
    TableCellPainter(const std::map<QString, QPixmap>& pictures, QObject* parent)
        : QStyledItemDelegate(parent), pictures_(pictures) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QRect r = option.rect;
        const int kind = index.data(kKindRole).toInt();
        const bool selected = (option.state & QStyle::State_Selected) != 0 &&
                              (kind == kNumberCell || kind == kBlankCell);
        QColor back = kWindowColour;
        const QVariant background = index.data(Qt::BackgroundRole);
        if (background.canConvert<QBrush>()) back = background.value<QBrush>().color();
        if (selected) back = option.palette.color(QPalette::Highlight);

        painter->save();
        painter->setClipRect(r);
        painter->fillRect(r, back);
        if (kind == kPictureCell) {
            const auto found = pictures_.find(index.data(Qt::DisplayRole).toString());
            if (found != pictures_.end()) {
                const QPixmap scaled = found->second.scaled(r.size() - QSize(4, 4),
                                                            Qt::KeepAspectRatio,
                                                            Qt::SmoothTransformation);
                painter->drawPixmap(r.left() + (r.width() - scaled.width()) / 2,
                                    r.top() + (r.height() - scaled.height()) / 2, scaled);
            }
        } else if (kind == kHeaderCell || kind == kNumberCell) {
            QColor fore = Qt::black;
            const QVariant foreground = index.data(Qt::ForegroundRole);
            if (foreground.canConvert<QBrush>()) fore = foreground.value<QBrush>().color();
            if (selected) fore = option.palette.color(QPalette::HighlightedText);
            painter->setFont(option.font);
            painter->setPen(fore);
            const QFontMetrics metrics(option.font);
            const CellRect cell{r.left(), r.top(), r.right() + 1 - kExtraRightMargin,
                                r.bottom() + 1};
            const NumberCellLayout layout = LayoutNumberCell(
                kind == kHeaderCell ? kHeaderWidth : kNumberWidth,
                index.data(kDecimalsRole).toInt(), cell, index.data(kValueRole).toDouble(),
                [&metrics](char c) { return metrics.horizontalAdvance(QChar(c)); });
            for (const NumberGlyph& glyph : layout.glyphs) {
                if (glyph.character == ' ') continue;
                painter->drawText(QRect(glyph.x, layout.top, glyph.advance, r.height()),
                                  Qt::AlignHCenter | Qt::AlignTop, QString(QChar(glyph.character)));
            }
        } else if (kind == kSeparatorCell) {
            painter->setPen(Qt::black);
            painter->drawText(r.adjusted(5, 2, -2, 0), Qt::AlignLeft | Qt::AlignTop,
                              index.data(Qt::DisplayRole).toString());
        }
        painter->setPen(kGridLine);
        painter->drawLine(r.topRight(), r.bottomRight());
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        painter->restore();
    }

  private:
    const std::map<QString, QPixmap>& pictures_;
};

QTableWidgetItem* NewCell(CellKind kind) {
    auto* item = new QTableWidgetItem;
    item->setData(kKindRole, static_cast<int>(kind));
    item->setFlags(kind == kNumberCell || kind == kBlankCell
                       ? Qt::ItemIsEnabled | Qt::ItemIsSelectable
                       : Qt::ItemIsEnabled);
    item->setBackground(kWindowColour);
    return item;
}

QTableWidgetItem* NumberItem(CellKind kind, double value, int decimals, const QString& text) {
    QTableWidgetItem* item = NewCell(kind);
    item->setData(kValueRole, value);
    item->setData(kDecimalsRole, decimals);
    item->setText(text);
    return item;
}

// A picture of the axes of a table: `across` to the right, `down` downwards.
QPixmap AxesPicture(const QString& across, const QString& down, const QColor& colour) {
    QPixmap picture(72, 44);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(colour, 2);
    p.setPen(pen);
    // arrow across
    p.drawLine(8, 8, 62, 8);
    QPainterPath right;
    right.moveTo(68, 8);
    right.lineTo(60, 4);
    right.lineTo(60, 12);
    right.closeSubpath();
    p.fillPath(right, colour);
    // arrow down
    p.drawLine(8, 8, 8, 36);
    QPainterPath bottom;
    bottom.moveTo(8, 42);
    bottom.lineTo(4, 34);
    bottom.lineTo(12, 34);
    bottom.closeSubpath();
    p.fillPath(bottom, colour);
    QFont font = p.font();
    font.setPixelSize(11);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRect(14, 10, 56, 14), Qt::AlignLeft | Qt::AlignTop, across);
    p.drawText(QRect(14, 26, 56, 16), Qt::AlignLeft | Qt::AlignTop, down);
    return picture;
}

bool IsHeating(ActivityMode mode) {
    return mode == ActivityMode::HeatPumpCompressors || IsHeatPumpMode(mode);
}

}  // namespace

std::map<QString, QPixmap> MakeTablePictures() {
    std::map<QString, QPixmap> pictures;
    pictures["TABLEOPS"] = AxesPicture("te", "tc", QColor(0x00, 0x60, 0xB0));
    pictures["TABLEUOPS"] = AxesPicture("te", "ta", QColor(0x00, 0x80, 0x40));
    pictures["waterbrine"] = AxesPicture("brine", "water", QColor(0x80, 0x40, 0xA0));
    pictures["waterair"] = AxesPicture("air", "water", QColor(0xC0, 0x60, 0x00));
    return pictures;
}

TframeTable::TframeTable(QWidget* parent) : QWidget(parent) {
    setObjectName("frameTable");
    pictures_ = MakeTablePictures();

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    lblCaption_ = new QLabel(this);
    lblCaption_->setObjectName("lblTableCaption");
    boxQuantity_ = new QComboBox(this);
    boxQuantity_->setObjectName("boxQuantity");
    boxQuantity_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    lblPrelim_ = new QLabel(Q(Text("strPrelimData", "Preliminary data")), this);
    lblPrelim_->setObjectName("lblPrelim");
    lblPrelim_->setStyleSheet("color: red; font-weight: bold;");
    lblPrelim_->setVisible(false);
    top->addWidget(lblCaption_);
    top->addWidget(boxQuantity_);
    top->addStretch(1);
    top->addWidget(lblPrelim_);
    layout->addLayout(top);

    lblMessage_ = new QLabel(this);
    lblMessage_->setObjectName("lblTableMessage");
    lblMessage_->setStyleSheet("color: red;");
    lblMessage_->setWordWrap(true);
    lblMessage_->setVisible(false);
    layout->addWidget(lblMessage_);

    theGrid_ = new QTableWidget(this);
    theGrid_->setObjectName("theGrid");
    theGrid_->verticalHeader()->setVisible(false);
    theGrid_->horizontalHeader()->setVisible(false);
    theGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    theGrid_->setSelectionMode(QAbstractItemView::SingleSelection);
    theGrid_->setShowGrid(false);
    // Clicking the grid leaves the keyboard focus in the input being typed into.
    theGrid_->setFocusPolicy(Qt::NoFocus);
    theGrid_->setWordWrap(false);
    theGrid_->setItemDelegate(new TableCellPainter(pictures_, theGrid_));
    layout->addWidget(theGrid_, 1);

    lblBottom_ = new QLabel(this);
    lblBottom_->setObjectName("lblTranscrit");
    layout->addWidget(lblBottom_);

    connect(boxQuantity_, &QComboBox::currentIndexChanged, this, &TframeTable::boxQuantityChange);
    connect(theGrid_, &QTableWidget::cellClicked, this, &TframeTable::theGridMouseUp);
    connect(theGrid_, &QTableWidget::cellDoubleClicked, this, &TframeTable::theGridDblClick);
    showMessage(Q(Text("strNoModels", "No models available")));
}

TframeTable::~TframeTable() = default;

void TframeTable::refreshTable(const SelectionDriver& driver) {
    const BusyCursor busy;
    TCModel* model = driver.selectedModel();
    const ActivityMode mode = driver.activityMode();
    const UnitSystem units = driver.unitSystem();
    std::unique_ptr<TTableObject> table = layouts_.MakeTable(mode, units);
    try {
        ComputeTable(*table, model, driver.conditions(), mode, units);
    } catch (const std::exception&) {
        // A table that could not be computed is not shown; the model kept its results.
        table->Reset();
    }
    const TSupply* supply = model != nullptr && model->supply != nullptr ? model->supply
                                                                          : driver.supply();
    showTable(driver.conditions(), model, mode, units, std::move(table), supply,
              driver.isTranscritical());
}

void TframeTable::showMessage(const QString& text) {
    shown_ = false;
    theGrid_->setVisible(false);
    boxQuantity_->setVisible(false);
    lblCaption_->setVisible(false);
    lblBottom_->clear();
    lblPrelim_->setVisible(false);
    lblMessage_->setText(text);
    lblMessage_->setVisible(true);
}

void TframeTable::showTable(const OperatingConditions& conditions, const TCModel* model,
                            ActivityMode mode, UnitSystem unitSystem,
                            std::unique_ptr<TTableObject> table, const TSupply* supply,
                            bool transcriticalPoint) {
    if (IsHeating(mode) != IsHeating(mode_)) chosen_ = InitialTableQuantity(mode);
    conditions_ = conditions;
    model_ = model;
    mode_ = mode;
    unitSystem_ = unitSystem;
    table_ = std::move(table);
    supply_ = supply;
    transcriticalPoint_ = transcriticalPoint;
    separator_ = -1;

    if (const auto message = TableMessage(model_, table_.get(), mode_, conditions_)) {
        showMessage(Q(*message));
        return;
    }
    shown_ = true;
    lblMessage_->setVisible(false);
    separator_ = TranscriticalSeparator(*table_, *model_);
    buildQuantityList();
    lblBottom_->setText(model_->IsCO2Transcritical()
                            ? Q(TranscriticalLine(conditions_, unitSystem_))
                            : QString());
    operatingCell_ = OperatingCell(*table_, separator_, conditions_, mode_, transcriticalPoint_);
    paintGrid();
    theGrid_->setVisible(true);
    lblPrelim_->setVisible(TableShowsPreliminary(model_, mode_));
}

void TframeTable::resetTable() {
    if (shown_ && model_ != nullptr) buildQuantityList();
    lblPrelim_->setText(Q(Text("strPrelimData", "Preliminary data")));
}

void TframeTable::buildQuantityList() {
    const QSignalBlocker block(boxQuantity_);
    boxQuantity_->clear();
    quantities_.clear();
    const std::string caption = TableCaption(mode_, unitSystem_, conditions_);
    if (!caption.empty()) {
        boxQuantity_->setVisible(false);
        lblCaption_->setText(Q(caption));
        lblCaption_->setVisible(true);
        return;
    }
    lblCaption_->setVisible(false);
    quantities_ = TableQuantities(*model_, mode_, unitSystem_, conditions_, supply_);
    int chosenIndex = 0;
    for (std::size_t i = 0; i < quantities_.size(); ++i) {
        boxQuantity_->addItem(Q(quantities_[i].text), quantities_[i].code);
        if (quantities_[i].code == chosen_) chosenIndex = static_cast<int>(i);
    }
    if (!quantities_.empty()) {
        chosen_ = quantities_[static_cast<std::size_t>(chosenIndex)].code;
        boxQuantity_->setCurrentIndex(chosenIndex);
    }
    boxQuantity_->setVisible(true);
}

QString TframeTable::pictureName() const {
    switch (mode_) {
        case ActivityMode::CondensingUnits: return "TABLEUOPS";
        case ActivityMode::BrineWaterHeatPumps: return "waterbrine";
        case ActivityMode::AirWaterHeatPumps: return "waterair";
        default: return "TABLEOPS";
    }
}

void TframeTable::paintGrid() {
    if (!shown_ || !table_) return;
    const TTableObject& table = *table_;
    const std::vector<TableGridRow> rows = TableGridRows(table, separator_);
    const int columns = table.ColumnCount();
    const QuantityCode code = TableCellQuantity(mode_, chosen_);
    const QColor textColour = Rgb(TableQuantityColour(code));

    // The cells are replaced one by one rather than cleared, which would reset the grid's
    // model: a click under way (the first half of a double-click) keeps its cell.
    const QSignalBlocker block(theGrid_);
    theGrid_->setColumnCount(std::max(columns, 1) + 1);
    theGrid_->setRowCount(std::max(static_cast<int>(rows.size()), 1) + 1);

    QTableWidgetItem* corner = NewCell(kPictureCell);
    corner->setText(pictureName());
    theGrid_->setItem(0, 0, corner);
    for (int j = 0; j < columns; ++j) {
        const double stored = table.ColumnValue(j);
        theGrid_->setItem(0, j + 1,
                          NumberItem(kHeaderCell,
                                     TableHeaderValue(stored, table.AxisUnitSystem(), unitSystem_),
                                     1,
                                     Q(TableHeaderText(stored, table.AxisUnitSystem(), unitSystem_))));
    }
    for (std::size_t g = 0; g < rows.size(); ++g) {
        const int gridRow = static_cast<int>(g) + 1;
        if (rows[g].separator) {
            QTableWidgetItem* label = NewCell(kSeparatorCell);
            label->setText("Tgc");
            theGrid_->setItem(gridRow, 0, label);
            for (int j = 0; j < columns; ++j) theGrid_->setItem(gridRow, j + 1, NewCell(kSeparatorCell));
            continue;
        }
        const TrowObj& row = *table.Rows()[static_cast<std::size_t>(rows[g].tableRow)];
        const double stored = row.Value();
        theGrid_->setItem(gridRow, 0,
                          NumberItem(kHeaderCell,
                                     TableHeaderValue(stored, table.AxisUnitSystem(), unitSystem_),
                                     1,
                                     Q(TableHeaderText(stored, table.AxisUnitSystem(), unitSystem_))));
        for (int j = 0; j < columns; ++j) {
            const ResultVector& result = row.Cell(j);
            const ModelStatus status = result.Status();
            QTableWidgetItem* item = nullptr;
            if (status >= 0) {
                const TableNumber number = TableCellNumber(code, unitSystem_, result.Get(code));
                item = NumberItem(kNumberCell, number.value, number.decimals,
                                  Q(TableCellText(number)));
                item->setForeground(textColour);
            } else {
                item = NewCell(kBlankCell);
            }
            item->setBackground(Rgb(TableStatusColour(status)));
            item->setData(Qt::ToolTipRole, QVariant());
            theGrid_->setItem(gridRow, j + 1, item);
        }
    }

    const QFontMetrics metrics(theGrid_->font());
    const int digit = metrics.horizontalAdvance(QChar('5'));
    const int columnWidth = digit * kNumberWidth + 14;
    for (int c = 0; c < theGrid_->columnCount(); ++c)
        theGrid_->setColumnWidth(c, c == 0 ? std::max(columnWidth, 64) : columnWidth);
    const int rowHeight = metrics.height() + 6;
    for (int r = 0; r < theGrid_->rowCount(); ++r)
        theGrid_->setRowHeight(r, r == 0 ? std::max(rowHeight, 40) : rowHeight);
    theGrid_->setCurrentCell(operatingCell_.row, operatingCell_.column);
}

void TframeTable::boxQuantityChange(int index) {
    if (index < 0 || index >= static_cast<int>(quantities_.size())) return;
    chosen_ = quantities_[static_cast<std::size_t>(index)].code;
    paintGrid();
}

void TframeTable::theGridMouseUp(int row, int column) {
    if (!shown_ || !table_ || row < 1 || column < 1) return;
    if (callbacks_.showModelStatus)
        callbacks_.showModelStatus(TableCellStatus(*table_, separator_, {row, column}));
}

void TframeTable::theGridDblClick(int row, int column) {
    if (!shown_ || !table_) return;
    const std::optional<OperatingConditions> moved =
        ConditionsAtCell(*table_, separator_, {row, column}, conditions_, mode_);
    if (!moved) return;
    if (callbacks_.applyConditions) callbacks_.applyConditions(*moved);
    if (callbacks_.refreshConditionInputs) callbacks_.refreshConditionInputs();
}

}  // namespace kelvra
