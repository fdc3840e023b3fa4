#include "custom_table_dialog.hpp"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cstdio>

#include "custom_table.hpp"
#include "language_texts.hpp"
#include "units.hpp"

namespace kelvra {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// "%f": six decimals, as the fields show start, increment and end.
QString Fixed(double value) { return QString::asprintf("%f", value + 0.0); }

// "%g"-like text of an axis value in a grid cell.
QString CellText(double value) { return QString::number(value + 0.0, 'g', 7); }

std::optional<double> Parse(const QLineEdit* edit) {
    return ParseAxisValue(edit->text().toStdString());
}

QLineEdit* MakeField(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaximumWidth(110);
    return edit;
}

}  // namespace

TfrmCustabDLG::TfrmCustabDLG(const TableDefinition& layout, bool regular, ActivityMode mode,
                             QWidget* parent)
    : QDialog(parent), layout_(layout), regular_(regular), mode_(mode) {
    setObjectName("frmCustabDLG");
    setWindowTitle(Q(Text("frmCustabDLG", "Define Custom Table")));
    layout_.columnCount = std::clamp(layout_.columnCount, 0, kMaxTableAxis);
    layout_.rowCount = std::clamp(layout_.rowCount, 0, kMaxTableAxis);

    auto* outer = new QVBoxLayout(this);
    auto* nameLine = new QHBoxLayout;
    nameLine->addWidget(new QLabel(Q(Text("lblTableName", "Table name")), this));
    edName_ = new QLineEdit(Q(layout_.name), this);
    edName_->setObjectName("edName");
    edName_->setMaxLength(static_cast<int>(TableDefinition::kNameLength));
    nameLine->addWidget(edName_, 1);
    outer->addLayout(nameLine);

    const std::string unit = UnitLabel(quantity::CondensingTemp, layout_.unitSystem);
    QString across = Q(Text("lblEvap", "Evaporating"));
    if (mode == ActivityMode::BrineWaterHeatPumps) across = "Brine";
    if (mode == ActivityMode::AirWaterHeatPumps) across = "Air";
    QString down = Q(Text("lblCond", "Condensing"));
    if (mode == ActivityMode::CondensingUnits) down = Q(Text("strAMB", "Ambient"));
    if (IsHeatPumpMode(mode)) down = "Water";

    auto* axes = new QHBoxLayout;
    buildAxis(columns_, across + " " + Q(unit), true, this);
    buildAxis(rows_, down + " " + Q(unit), false, this);
    axes->addWidget(columns_.grid->parentWidget(), 1);
    axes->addWidget(rows_.grid->parentWidget(), 0);
    outer->addLayout(axes, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    btnOK_ = buttons->button(QDialogButtonBox::Ok);
    btnOK_->setObjectName("btnOK");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("btnCancel");
    outer->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &TfrmCustabDLG::btnOKClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(edName_, &QLineEdit::textChanged, this, &TfrmCustabDLG::edNameChange);

    fillAxis(columns_);
    fillAxis(rows_);
    edNameChange();
    resize(640, 420);
}

void TfrmCustabDLG::buildAxis(AxisControls& axis, const QString& title, bool columns,
                              QWidget* parent) {
    axis.columns = columns;
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(columns ? "grpColumns" : "grpRows");
    auto* grid = new QGridLayout(box);
    const char* prefix = columns ? "Col" : "Row";
    const auto name = [prefix](const char* what) {
        return QByteArray("ed") + prefix + what;
    };
    axis.start = MakeField(name("Start").constData(), box);
    axis.increment = MakeField(name("Inc").constData(), box);
    axis.end = MakeField(name("End").constData(), box);
    axis.count = MakeField(name("Count").constData(), box);
    grid->addWidget(new QLabel(Q(Text("lblStart", "Start")), box), 0, 0);
    grid->addWidget(axis.start, 0, 1);
    grid->addWidget(new QLabel(Q(Text("lblIncrement", "Increment")), box), 1, 0);
    grid->addWidget(axis.increment, 1, 1);
    grid->addWidget(new QLabel(Q(Text("lblEnd", "End")), box), 2, 0);
    grid->addWidget(axis.end, 2, 1);
    grid->addWidget(new QLabel(Q(Text("lblCount", "Count")), box), 3, 0);
    grid->addWidget(axis.count, 3, 1);

    axis.grid = new QTableWidget(box);
    axis.grid->setObjectName(columns ? "colGrid" : "rowGrid");
    axis.grid->horizontalHeader()->setVisible(false);
    axis.grid->verticalHeader()->setVisible(!columns);
    if (columns) {
        axis.grid->setRowCount(1);
        axis.grid->setMaximumHeight(axis.grid->fontMetrics().height() * 3 + 12);
    } else {
        axis.grid->setColumnCount(1);
    }
    grid->addWidget(axis.grid, columns ? 4 : 0, columns ? 0 : 2, columns ? 1 : 5, columns ? 2 : 1);

    for (QLineEdit* edit : {axis.start, axis.increment, axis.end}) {
        connect(edit, &QLineEdit::textEdited, this, &TfrmCustabDLG::edRangeChange);
        connect(edit, &QLineEdit::editingFinished, this, &TfrmCustabDLG::edRangeExit);
    }
    connect(axis.count, &QLineEdit::textEdited, this, &TfrmCustabDLG::edCountChange);
}

std::array<float, kMaxTableAxis>& TfrmCustabDLG::valuesOf(TableDefinition& layout,
                                                          bool columns) const {
    return columns ? layout.columnValues : layout.rowValues;
}

const std::array<float, kMaxTableAxis>& TfrmCustabDLG::valuesOf(const TableDefinition& layout,
                                                                bool columns) const {
    return columns ? layout.columnValues : layout.rowValues;
}

void TfrmCustabDLG::fillAxis(AxisControls& axis) {
    filling_ = true;
    const int count = axis.columns ? layout_.columnCount : layout_.rowCount;
    const AxisRange range = RangeOfAxis(valuesOf(layout_, axis.columns), count);
    axis.start->setText(Fixed(range.start));
    axis.increment->setText(Fixed(range.increment));
    axis.end->setText(Fixed(range.end));
    axis.count->setText(QString::number(std::max(count, 1)));
    for (QLineEdit* edit : {axis.start, axis.increment, axis.end}) edit->setEnabled(regular_);
    axis.count->setEnabled(!regular_);
    axis.grid->setEditTriggers(regular_ ? QAbstractItemView::NoEditTriggers
                                        : QAbstractItemView::AllEditTriggers);
    filling_ = false;
    if (regular_)
        fillRegular(axis, false);
    else
        resizeCustom(axis);
}

void TfrmCustabDLG::fillRegular(AxisControls& axis, bool correctEnd) {
    const auto start = Parse(axis.start);
    const auto increment = Parse(axis.increment);
    const auto end = Parse(axis.end);
    if (!start || !increment || !end) return;
    const RegularAxis generated = MakeRegularAxis(*start, *increment, *end);
    filling_ = true;
    axis.count->setText(QString::number(generated.count));
    if (correctEnd) axis.end->setText(Fixed(generated.end));
    if (axis.columns)
        axis.grid->setColumnCount(generated.count);
    else
        axis.grid->setRowCount(generated.count);
    for (int i = 0; i < generated.count; ++i) {
        auto* item = new QTableWidgetItem(CellText(generated.values[static_cast<std::size_t>(i)]));
        item->setBackground(palette().color(QPalette::Window));
        axis.grid->setItem(axis.columns ? 0 : i, axis.columns ? i : 0, item);
    }
    filling_ = false;
}

void TfrmCustabDLG::resizeCustom(AxisControls& axis) {
    const int count = countOf(axis);
    const int before = axis.columns ? axis.grid->columnCount() : axis.grid->rowCount();
    filling_ = true;
    if (axis.columns)
        axis.grid->setColumnCount(count);
    else
        axis.grid->setRowCount(count);
    // New cells take the values the layout holds there.
    const auto& stored = valuesOf(layout_, axis.columns);
    for (int i = before; i < count; ++i)
        axis.grid->setItem(axis.columns ? 0 : i, axis.columns ? i : 0,
                           new QTableWidgetItem(CellText(stored[static_cast<std::size_t>(i)])));
    filling_ = false;
}

int TfrmCustabDLG::countOf(const AxisControls& axis) const {
    if (const auto typed = CustomAxisCount(axis.count->text().toStdString())) return *typed;
    const int shown = axis.columns ? axis.grid->columnCount() : axis.grid->rowCount();
    return std::clamp(shown, 1, kMaxTableAxis);
}

void TfrmCustabDLG::edRangeChange() {
    if (filling_ || !regular_) return;
    fillRegular(columns_, false);
    fillRegular(rows_, false);
}

void TfrmCustabDLG::edRangeExit() {
    if (filling_ || !regular_) return;
    fillRegular(columns_, true);
    fillRegular(rows_, true);
}

void TfrmCustabDLG::edCountChange() {
    if (filling_ || regular_) return;
    for (AxisControls* axis : {&columns_, &rows_}) {
        const auto typed = CustomAxisCount(axis->count->text().toStdString());
        if (!typed) continue;
        bool whole = false;
        const long long entered = axis->count->text().trimmed().toLongLong(&whole);
        if (!whole || entered > kMaxTableAxis) {
            filling_ = true;
            axis->count->setText(QString::number(*typed));
            filling_ = false;
        }
        resizeCustom(*axis);
    }
}

void TfrmCustabDLG::edNameChange() {
    btnOK_->setEnabled(!edName_->text().trimmed().isEmpty());
}

TableDefinition TfrmCustabDLG::result() const {
    TableDefinition out = layout_;
    out.name = edName_->text().toStdString();
    for (const AxisControls* axis : {&columns_, &rows_}) {
        auto& values = valuesOf(out, axis->columns);
        int count = 0;
        if (regular_) {
            const auto start = Parse(axis->start);
            const auto increment = Parse(axis->increment);
            const auto end = Parse(axis->end);
            if (!start || !increment || !end) continue;  // the layout keeps its axis
            const RegularAxis generated = MakeRegularAxis(*start, *increment, *end);
            count = generated.count;
            for (int i = 0; i < count; ++i)
                values[static_cast<std::size_t>(i)] =
                    static_cast<float>(generated.values[static_cast<std::size_t>(i)]);
        } else {
            count = countOf(*axis);
            for (int i = 0; i < count; ++i) {
                const QTableWidgetItem* item =
                    axis->grid->item(axis->columns ? 0 : i, axis->columns ? i : 0);
                if (item == nullptr) continue;
                if (const auto value = ParseAxisValue(item->text().toStdString()))
                    values[static_cast<std::size_t>(i)] = static_cast<float>(*value);
            }
        }
        (axis->columns ? out.columnCount : out.rowCount) = count;
    }
    return out;
}

void TfrmCustabDLG::btnOKClick() {
    if (edName_->text().trimmed().isEmpty()) return;
    if (regular_) {
        fillRegular(columns_, true);
        fillRegular(rows_, true);
    }
    accept();
}

std::optional<TableDefinition> EditTableLayout(QWidget* parent, const TableDefinition& layout,
                                               bool regular, ActivityMode mode) {
    TfrmCustabDLG dialog(layout, regular, mode, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.result();
}

}  // namespace kelvra
