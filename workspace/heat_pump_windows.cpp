#include "heat_pump_windows.hpp"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "compressor.hpp"
#include "heat_pump_file.hpp"
#include "language_texts.hpp"
#include "refrigerant.hpp"

namespace kelvra {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }
QString T(std::string_view key, std::string_view english) { return Q(Text(key, english)); }

// Values are shown with up to three decimals, without trailing zeros.
QString Shown(double value) {
    QString text = QString::asprintf("%.3f", value);
    if (text.contains('.')) {
        while (text.endsWith('0')) text.chop(1);
        if (text.endsWith('.')) text.chop(1);
    }
    if (text == "-0") text = "0";
    return text;
}

QLineEdit* NumberEdit(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaximumWidth(70);
    return edit;
}

QTableWidget* ListGrid(const char* name, int columns, QWidget* parent) {
    auto* grid = new QTableWidget(0, columns, parent);
    grid->setObjectName(name);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->setVisible(false);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

template <class T>
T* ItemPointer(const QComboBox* box) {
    return reinterpret_cast<T*>(box->currentData().value<quintptr>());
}

QVariant Pointer(const void* p) {
    return QVariant::fromValue(reinterpret_cast<quintptr>(p));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Graph box

TdGraphBox::TdGraphBox(const QString& title, double tLow, double tHigh, double tdTop, QWidget* parent)
    : QWidget(parent), title_(title), tLow_(tLow), tHigh_(tHigh), tdTop_(tdTop) {
    setMinimumSize(220, 150);
    setMouseTracking(false);
}

void TdGraphBox::setValues(double t1, double td1, double t2, double td2, double tdMin, double tdMax) {
    temperatures_ = {t1, t2};
    values_ = {td1, td2, tdMin, tdMax};
    update();
}

void TdGraphBox::setTemperatures(double t1, double t2) {
    temperatures_ = {t1, t2};
    update();
}

QRectF TdGraphBox::plotArea() const {
    const QFontMetricsF m(font());
    const double left = m.horizontalAdvance("00") * 1.5 + 4;
    const double bottom = m.height() * 1.5;
    const double top = m.height() + 4;
    return QRectF(left, top, std::max(10.0, width() - left - 18), std::max(10.0, height() - top - bottom));
}

double TdGraphBox::xOf(double t) const {
    const QRectF a = plotArea();
    return a.left() + (std::clamp(t, tLow_, tHigh_) - tLow_) / (tHigh_ - tLow_) * a.width();
}

double TdGraphBox::yOf(double td) const {
    const QRectF a = plotArea();
    return a.bottom() - std::clamp(td, 0.0, tdTop_) / tdTop_ * a.height();
}

double TdGraphBox::tdAt(double y) const {
    const QRectF a = plotArea();
    const double td = (a.bottom() - y) / a.height() * tdTop_;
    return std::round(std::clamp(td, 0.0, tdTop_) * 10.0) / 10.0;
}

QPointF TdGraphBox::handlePosition(int handle) const {
    if (handle == 0 || handle == 1)
        return {xOf(temperatures_[static_cast<std::size_t>(handle)]), yOf(values_[static_cast<std::size_t>(handle)])};
    return {plotArea().right() + 8, yOf(values_[static_cast<std::size_t>(handle)])};
}

void TdGraphBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::white);
    const QRectF a = plotArea();
    p.setPen(Qt::black);
    p.drawText(QRectF(0, 0, width(), a.top()), Qt::AlignCenter, title_);
    p.drawLine(a.bottomLeft(), a.bottomRight());
    p.drawLine(a.bottomLeft(), a.topLeft());
    const QFontMetricsF m(font());
    // ticks every 10 K of temperature and every few K of difference
    for (double t = std::ceil(tLow_ / 10.0) * 10.0; t <= tHigh_; t += 10.0) {
        p.drawLine(QPointF(xOf(t), a.bottom()), QPointF(xOf(t), a.bottom() + 3));
        const QString label = QString::number(t);
        p.drawText(QPointF(xOf(t) - m.horizontalAdvance(label) / 2, a.bottom() + m.height()), label);
    }
    const double step = tdTop_ > 10 ? 5.0 : 2.0;
    for (double td = 0; td <= tdTop_ + 1e-9; td += step) {
        p.drawLine(QPointF(a.left() - 3, yOf(td)), QPointF(a.left(), yOf(td)));
        const QString label = QString::number(td);
        p.drawText(QPointF(a.left() - 5 - m.horizontalAdvance(label), yOf(td) + m.ascent() / 2 - 1), label);
    }
    // limits
    p.setPen(QPen(Qt::gray, 1, Qt::DashLine));
    p.drawLine(QPointF(a.left(), yOf(values_[2])), QPointF(a.right(), yOf(values_[2])));
    p.drawLine(QPointF(a.left(), yOf(values_[3])), QPointF(a.right(), yOf(values_[3])));
    // the clamped line through the two points, sampled finely enough to show its corners
    const double t1 = temperatures_[0];
    const double t2 = temperatures_[1];
    const double slope = std::fabs(t1 - t2) > 1e-9 ? (values_[0] - values_[1]) / (t1 - t2) : 0.0;
    const double lo = std::min(values_[2], values_[3]);
    const double hi = std::max(values_[2], values_[3]);
    QPainterPath line;
    for (int i = 0; i <= 200; ++i) {
        const double t = tLow_ + (tHigh_ - tLow_) * i / 200.0;
        const double td = std::clamp(values_[0] + slope * (t - t1), lo, hi);
        if (i == 0)
            line.moveTo(xOf(t), yOf(td));
        else
            line.lineTo(xOf(t), yOf(td));
    }
    p.setPen(QPen(Qt::blue, 2));
    p.drawPath(line);
    // handles
    p.setPen(Qt::black);
    p.setBrush(Qt::red);
    for (int h = 0; h < 2; ++h) p.drawEllipse(handlePosition(h), 4.5, 4.5);
    p.setBrush(Qt::darkGreen);
    for (int h = 2; h < 4; ++h) {
        const QPointF c = handlePosition(h);
        const QPolygonF triangle = h == 3 ? QPolygonF({c + QPointF(-5, 4), c + QPointF(5, 4), c + QPointF(0, -5)})
                                          : QPolygonF({c + QPointF(-5, -4), c + QPointF(5, -4), c + QPointF(0, 5)});
        p.drawPolygon(triangle);
    }
}

void TdGraphBox::mousePressEvent(QMouseEvent* event) {
    dragging_ = -1;
    double best = 9.0;
    for (int h = 0; h < 4; ++h) {
        const QPointF d = handlePosition(h) - event->position();
        const double distance = std::hypot(d.x(), d.y());
        if (distance <= best) {
            best = distance;
            dragging_ = h;
        }
    }
}

void TdGraphBox::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ < 0) return;
    const double td = tdAt(event->position().y());
    if (td == values_[static_cast<std::size_t>(dragging_)]) return;
    values_[static_cast<std::size_t>(dragging_)] = td;
    update();
    emit valueDragged(dragging_, td);
}

void TdGraphBox::mouseReleaseEvent(QMouseEvent* event) {
    mouseMoveEvent(event);
    dragging_ = -1;
}

// ---------------------------------------------------------------------------------------------
// Choose compressor

TfrmHPselcomp::TfrmHPselcomp(const TdataStore& store, QWidget* parent) : QDialog(parent), store_(store) {
    setObjectName("frmHPselcomp");
    setWindowTitle(T("frmHPselcomp", "Choose compressor"));
    auto* layout = new QVBoxLayout(this);
    auto* filters = new QGridLayout;
    boxSupply = new QComboBox(this);
    boxSupply->setObjectName("boxSupply");
    boxRefrig = new QComboBox(this);
    boxRefrig->setObjectName("boxRefrig");
    boxFamily = new QComboBox(this);
    boxFamily->setObjectName("boxFamily");
    edMatch = new QLineEdit(this);
    edMatch->setObjectName("edMatch");
    const QString all = T("strHPAll", "All");
    boxSupply->addItem(all, Pointer(nullptr));
    for (const auto& supply : store.Supplies()) boxSupply->addItem(Q(supply->name), Pointer(supply.get()));
    boxRefrig->addItem(all, Pointer(nullptr));
    for (const auto& r : store.Refrigerants()) boxRefrig->addItem(Q(r->DisplayName()), Pointer(r.get()));
    boxFamily->addItem(all, Pointer(nullptr));
    for (const TFamily* family : CompressorChooserFamilies(store)) boxFamily->addItem(Q(family->name), Pointer(family));
    filters->addWidget(new QLabel(T("lblHPSupply", "Power Supply"), this), 0, 0);
    filters->addWidget(boxSupply, 0, 1);
    filters->addWidget(new QLabel(T("lblRefrig", "Refrigerant"), this), 1, 0);
    filters->addWidget(boxRefrig, 1, 1);
    filters->addWidget(new QLabel(T("lblHPFamily", "Family"), this), 2, 0);
    filters->addWidget(boxFamily, 2, 1);
    filters->addWidget(new QLabel(T("lblHPMatch", "Match characters"), this), 3, 0);
    filters->addWidget(edMatch, 3, 1);
    layout->addLayout(filters);
    modelGrid = ListGrid("modelGrid", 3, this);
    modelGrid->setHorizontalHeaderLabels({T("strHPModel", "Model"), T("lblRefrig", "Refrigerant"),
                                          T("lblHPSupply", "Power Supply")});
    modelGrid->setMinimumSize(420, 260);
    layout->addWidget(modelGrid, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(modelGrid, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);
    for (QComboBox* box : {boxSupply, boxRefrig, boxFamily})
        connect(box, &QComboBox::currentIndexChanged, this, &TfrmHPselcomp::filterChange);
    connect(edMatch, &QLineEdit::textChanged, this, &TfrmHPselcomp::filterChange);
}

void TfrmHPselcomp::setCurrent(TComp* current) {
    current_ = current;
    filterChange();
}

void TfrmHPselcomp::filterChange() {
    TCModel* keep = chosen() != nullptr ? chosen() : current_;
    store_.SearchModels(listed_, ItemPointer<const Trefrigerant>(boxRefrig), edMatch->text().toStdString(),
                        ItemPointer<const TFamily>(boxFamily), ItemPointer<const TSupply>(boxSupply));
    const QSignalBlocker block(modelGrid);
    modelGrid->clearSelection();
    modelGrid->setRowCount(static_cast<int>(listed_.size()));
    int selectedRow = -1;
    for (int r = 0; r < static_cast<int>(listed_.size()); ++r) {
        const TCModel* model = listed_[static_cast<std::size_t>(r)];
        modelGrid->setItem(r, 0, new QTableWidgetItem(Q(model->name)));
        modelGrid->setItem(r, 1, new QTableWidgetItem(model->refrigerant ? Q(model->refrigerant->DisplayName()) : QString()));
        modelGrid->setItem(r, 2, new QTableWidgetItem(model->supply ? Q(model->supply->name) : QString()));
        if (model == keep) selectedRow = r;
    }
    if (selectedRow >= 0) {
        modelGrid->selectRow(selectedRow);
        modelGrid->scrollToItem(modelGrid->item(selectedRow, 0));
    }
    modelGrid->resizeColumnsToContents();
}

TComp* TfrmHPselcomp::chosen() const {
    const QList<QTableWidgetItem*> items = modelGrid->selectedItems();
    if (items.isEmpty()) return nullptr;
    const int row = items.front()->row();
    if (row < 0 || row >= static_cast<int>(listed_.size())) return nullptr;
    return dynamic_cast<TComp*>(listed_[static_cast<std::size_t>(row)]);
}

// ---------------------------------------------------------------------------------------------
// Edit Heat Pump

TfrmHeatFile::TfrmHeatFile(const TdataStore& store, QWidget* parent) : QDialog(parent), store_(store) {
    setObjectName("frmHeatFile");
    setWindowTitle(T("frmHeatFile", "Edit Heat Pump"));
    notice_ = [this](const QString& text) { QMessageBox::warning(this, windowTitle(), text); };
    choose_ = [this](TComp* current) -> std::optional<TComp*> {
        TfrmHPselcomp chooser(store_, this);
        chooser.setCurrent(current);
        if (chooser.exec() != QDialog::Accepted) return std::nullopt;
        return chooser.chosen();
    };

    auto* layout = new QVBoxLayout(this);
    auto* top = new QGridLayout;
    edName = new QLineEdit(this);
    edName->setObjectName("edName");
    edName->setMaxLength(static_cast<int>(HeatPumpRow::kNameLength));
    boxFamily = new QComboBox(this);
    boxFamily->setObjectName("boxFamily");
    radAir = new QRadioButton(T("radAirSource", "Air Source"), this);
    radAir->setObjectName("radAir");
    radGround = new QRadioButton(T("radGroundSource", "Ground Source"), this);
    radGround->setObjectName("radGround");
    auto* sources = new QButtonGroup(this);
    sources->addButton(radAir);
    sources->addButton(radGround);
    top->addWidget(new QLabel(T("lblHPName", "Model name"), this), 0, 0);
    top->addWidget(edName, 0, 1, 1, 3);
    top->addWidget(new QLabel(T("lblHPFamily", "Family"), this), 1, 0);
    top->addWidget(boxFamily, 1, 1, 1, 3);
    top->addWidget(radAir, 2, 1);
    top->addWidget(radGround, 2, 2);
    btnChoose = new QPushButton(T("btnChooseComp", "Choose Compressor"), this);
    btnChoose->setObjectName("btnChoose");
    lblCompressor = new QLabel(this);
    lblCompressor->setObjectName("lblCompressor");
    top->addWidget(btnChoose, 3, 0);
    top->addWidget(lblCompressor, 3, 1, 1, 3);
    layout->addLayout(top);

    auto* values = new QGridLayout;
    lblPower_ = new QLabel(this);
    edPower = NumberEdit("edPower", this);
    edSuperheat = NumberEdit("edSuperheat", this);
    edSubcool = NumberEdit("edSubcool", this);
    edCycling = NumberEdit("edCycling", this);
    values->addWidget(lblPower_, 0, 0);
    values->addWidget(edPower, 0, 1);
    values->addWidget(new QLabel(T("lblHPSuperheat", "Superheat K"), this), 0, 2);
    values->addWidget(edSuperheat, 0, 3);
    values->addWidget(new QLabel(T("lblHPSubcool", "Subcooling K"), this), 1, 0);
    values->addWidget(edSubcool, 1, 1);
    values->addWidget(new QLabel(T("lblHPCycling", "Cycling coefficient"), this), 1, 2);
    values->addWidget(edCycling, 1, 3);
    layout->addLayout(values);

    auto* graphs = new QHBoxLayout;
    auto* evapBox = new QGroupBox(T("lblEvapTD", "Evaporator TD"), this);
    auto* evapLayout = new QGridLayout(evapBox);
    lblEvap1_ = new QLabel(evapBox);
    lblEvap2_ = new QLabel(evapBox);
    edEvap1 = NumberEdit("edEvap1", evapBox);
    edEvap2 = NumberEdit("edEvap2", evapBox);
    edEvapMin = NumberEdit("edEvapMin", evapBox);
    edEvapMax = NumberEdit("edEvapMax", evapBox);
    evapLayout->addWidget(lblEvap1_, 0, 0);
    evapLayout->addWidget(edEvap1, 0, 1);
    evapLayout->addWidget(lblEvap2_, 0, 2);
    evapLayout->addWidget(edEvap2, 0, 3);
    evapLayout->addWidget(new QLabel(T("lblHPTDMin", "Minimum"), evapBox), 1, 0);
    evapLayout->addWidget(edEvapMin, 1, 1);
    evapLayout->addWidget(new QLabel(T("lblHPTDMax", "Maximum"), evapBox), 1, 2);
    evapLayout->addWidget(edEvapMax, 1, 3);
    evapGraph = new TdGraphBox(T("lblEvapTD", "Evaporator TD"), -15, 30, 15, evapBox);
    evapGraph->setObjectName("evapGraph");
    evapLayout->addWidget(evapGraph, 2, 0, 1, 4);
    auto* condBox = new QGroupBox(T("lblCondTD", "Condenser TD"), this);
    auto* condLayout = new QGridLayout(condBox);
    edCond60 = NumberEdit("edCond60", condBox);
    edCond35 = NumberEdit("edCond35", condBox);
    edCondMin = NumberEdit("edCondMin", condBox);
    edCondMax = NumberEdit("edCondMax", condBox);
    condLayout->addWidget(new QLabel("@ 60°C", condBox), 0, 0);
    condLayout->addWidget(edCond60, 0, 1);
    condLayout->addWidget(new QLabel("@ 35°C", condBox), 0, 2);
    condLayout->addWidget(edCond35, 0, 3);
    condLayout->addWidget(new QLabel(T("lblHPTDMin", "Minimum"), condBox), 1, 0);
    condLayout->addWidget(edCondMin, 1, 1);
    condLayout->addWidget(new QLabel(T("lblHPTDMax", "Maximum"), condBox), 1, 2);
    condLayout->addWidget(edCondMax, 1, 3);
    condGraph = new TdGraphBox(T("lblCondTD", "Condenser TD"), 15, 65, 15, condBox);
    condGraph->setObjectName("condGraph");
    condGraph->setTemperatures(60, 35);
    condLayout->addWidget(condGraph, 2, 0, 1, 4);
    graphs->addWidget(evapBox);
    graphs->addWidget(condBox);
    layout->addLayout(graphs);

    auto* defrost = new QGroupBox(T("lblHPDefrost", "Defrost"), this);
    auto* defrostLayout = new QGridLayout(defrost);
    edDefrostCap = NumberEdit("edDefrostCap", defrost);
    edDefrostPower = NumberEdit("edDefrostPower", defrost);
    edFrostEvap = NumberEdit("edFrostEvap", defrost);
    edFrostAir = NumberEdit("edFrostAir", defrost);
    defrostLayout->addWidget(new QLabel(T("lblDefrostCap", "Capacity reduction %"), defrost), 0, 0);
    defrostLayout->addWidget(edDefrostCap, 0, 1);
    defrostLayout->addWidget(new QLabel(T("lblDefrostPower", "Power reduction %"), defrost), 0, 2);
    defrostLayout->addWidget(edDefrostPower, 0, 3);
    defrostLayout->addWidget(new QLabel(T("lblFrostEvap", "At and below evaporating °C"), defrost), 1, 0);
    defrostLayout->addWidget(edFrostEvap, 1, 1);
    defrostLayout->addWidget(new QLabel(T("lblFrostAir", "At and above air on °C"), defrost), 1, 2);
    defrostLayout->addWidget(edFrostAir, 1, 3);
    layout->addWidget(defrost);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    btnOK = buttons->button(QDialogButtonBox::Ok);
    btnOK->setObjectName("btnOK");
    layout->addWidget(buttons);
    connect(btnOK, &QPushButton::clicked, this, &TfrmHeatFile::btnOKClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(btnChoose, &QPushButton::clicked, this, &TfrmHeatFile::btnChooseClick);
    connect(radAir, &QRadioButton::clicked, this, &TfrmHeatFile::radSourceClick);
    connect(radGround, &QRadioButton::clicked, this, &TfrmHeatFile::radSourceClick);
    connect(edName, &QLineEdit::textChanged, this, &TfrmHeatFile::updateOK);
    connect(boxFamily, &QComboBox::currentIndexChanged, this, &TfrmHeatFile::updateOK);
    for (QLineEdit* edit : {edEvap1, edEvap2, edEvapMin, edEvapMax, edCond60, edCond35, edCondMin, edCondMax})
        connect(edit, &QLineEdit::textChanged, this, &TfrmHeatFile::fieldChange);
    connect(evapGraph, &TdGraphBox::valueDragged, this, &TfrmHeatFile::graphDragged);
    connect(condGraph, &TdGraphBox::valueDragged, this, &TfrmHeatFile::graphDragged);
    setDraft(HeatPumpDraft::New(true, nullptr, store_));
}

void TfrmHeatFile::setDraft(const HeatPumpDraft& draft) {
    draft_ = draft;
    showDraft();
}

void TfrmHeatFile::showDraft() {
    showing_ = true;
    edName->setText(Q(draft_.name));
    radAir->setChecked(draft_.airSource);
    radGround->setChecked(!draft_.airSource);
    const std::pair<QLineEdit*, double> fields[] = {
        {edPower, draft_.auxiliaryPower},        {edSuperheat, draft_.superheat},
        {edSubcool, draft_.subcooling},          {edEvap1, draft_.evapFirst},
        {edEvap2, draft_.evapSecond},            {edEvapMin, draft_.evapMin},
        {edEvapMax, draft_.evapMax},             {edCond60, draft_.cond60},
        {edCond35, draft_.cond35},               {edCondMin, draft_.condMin},
        {edCondMax, draft_.condMax},             {edDefrostCap, draft_.defrostCapacityLoss},
        {edDefrostPower, draft_.defrostPowerLoss}, {edFrostEvap, draft_.frostEvapLimit},
        {edFrostAir, draft_.frostSourceLimit}};
    for (const auto& [edit, value] : fields) edit->setText(Shown(value));
    edCycling->setText(QString::asprintf("%.2f", draft_.cyclingCoefficient));
    showSourceLabels();
    showCompressor();
    showing_ = false;
    redrawGraphs();
    updateOK();
}

void TfrmHeatFile::showSourceLabels() {
    const bool air = radAir->isChecked();
    lblPower_->setText(air ? T("lblFanPower", "Fan Power kW") : T("lblPumpPower", "Pump Power kW"));
    lblEvap1_->setText(air ? "@  +7°C" : "@   0°C");
    lblEvap2_->setText(air ? "@  -7°C" : "@  -5°C");
    for (QLineEdit* edit : {edDefrostCap, edDefrostPower, edFrostEvap, edFrostAir}) edit->setEnabled(air);
    const QSignalBlocker block(boxFamily);
    boxFamily->clear();
    const TFamily* chosen = EditorFamily(store_, air, draft_.family);
    for (const TFamily* family : HeatPumpFamiliesFor(store_, air)) {
        boxFamily->addItem(Q(family->name), Pointer(family));
        if (family == chosen) boxFamily->setCurrentIndex(boxFamily->count() - 1);
    }
    const TdPointTemperatures t = EvaporatorPointTemperatures(air);
    evapGraph->setTemperatures(t.first, t.second);
}

void TfrmHeatFile::showCompressor() {
    const TComp* c = draft_.compressor;
    lblCompressor->setText(c == nullptr ? T("strHPNoComp", "None selected")
                                        : Q(c->name) + "  " + (c->refrigerant ? Q(c->refrigerant->DisplayName()) : QString()) +
                                              "  " + (c->supply ? Q(c->supply->name) : QString()));
}

void TfrmHeatFile::updateOK() {
    btnOK->setEnabled(draft_.compressor != nullptr && boxFamily->currentIndex() >= 0 &&
                      !edName->text().trimmed().isEmpty());
}

void TfrmHeatFile::radSourceClick() {
    draft_.airSource = radAir->isChecked();
    showSourceLabels();
    redrawGraphs();
    updateOK();
}

void TfrmHeatFile::btnChooseClick() {
    if (!choose_) return;
    const std::optional<TComp*> chosen = choose_(draft_.compressor);
    if (!chosen) return;
    draft_.compressor = *chosen;
    showCompressor();
    updateOK();
}

void TfrmHeatFile::fieldChange() {
    if (!showing_) redrawGraphs();
}

void TfrmHeatFile::redrawGraphs() {
    auto value = [](const QLineEdit* edit, double fallback) {
        return ParseEditorNumber(edit->text().toStdString()).value_or(fallback);
    };
    const TdPointTemperatures t = EvaporatorPointTemperatures(radAir->isChecked());
    evapGraph->setValues(t.first, value(edEvap1, draft_.evapFirst), t.second, value(edEvap2, draft_.evapSecond),
                         value(edEvapMin, draft_.evapMin), value(edEvapMax, draft_.evapMax));
    condGraph->setValues(60, value(edCond60, draft_.cond60), 35, value(edCond35, draft_.cond35),
                         value(edCondMin, draft_.condMin), value(edCondMax, draft_.condMax));
}

void TfrmHeatFile::graphDragged(int handle, double value) {
    const bool evaporator = sender() == evapGraph;
    QLineEdit* const edits[] = {evaporator ? edEvap1 : edCond60, evaporator ? edEvap2 : edCond35,
                                evaporator ? edEvapMin : edCondMin, evaporator ? edEvapMax : edCondMax};
    if (handle < 0 || handle > 3) return;
    showing_ = true;
    edits[handle]->setText(Shown(value));
    showing_ = false;
}

bool TfrmHeatFile::readFields() {
    QLineEdit* const edits[] = {edPower,   edSuperheat, edSubcool, edCycling,    edEvap1,
                                edEvap2,   edEvapMin,   edEvapMax, edCond60,     edCond35,
                                edCondMin, edCondMax,   edDefrostCap, edDefrostPower, edFrostEvap,
                                edFrostAir};
    std::array<double, std::size(edits)> v{};
    for (std::size_t i = 0; i < std::size(edits); ++i) {
        const std::optional<double> number = ParseEditorNumber(edits[i]->text().toStdString());
        if (!number) {
            if (notice_) notice_(T("strHPNumbers", "Error - enter numbers for fanpower and TDs"));
            edits[i]->setFocus();
            return false;
        }
        v[i] = *number;
    }
    HeatPumpDraft d = draft_;
    d.name = edName->text().trimmed().toStdString();
    d.airSource = radAir->isChecked();
    d.family = ItemPointer<const TFamily>(boxFamily);
    d.auxiliaryPower = v[0];
    d.superheat = v[1];
    d.subcooling = v[2];
    d.cyclingCoefficient = v[3];
    d.evapFirst = v[4];
    d.evapSecond = v[5];
    d.evapMin = v[6];
    d.evapMax = v[7];
    d.cond60 = v[8];
    d.cond35 = v[9];
    d.condMin = v[10];
    d.condMax = v[11];
    d.defrostCapacityLoss = v[12];
    d.defrostPowerLoss = v[13];
    d.frostEvapLimit = v[14];
    d.frostSourceLimit = v[15];
    draft_ = d;
    return true;
}

void TfrmHeatFile::btnOKClick() {
    if (!readFields()) return;
    if (!draft_.CanConfirm()) return;
    accept();
}

// ---------------------------------------------------------------------------------------------
// Editing My Heat Pumps

TfrmHPAdmin::TfrmHPAdmin(TdataStore& store, QWidget* parent) : QDialog(parent), store_(store) {
    setObjectName("frmHPAdmin");
    setWindowTitle(T("frmHPAdmin", "Editing My Heat Pumps"));
    question_ = [this](const QString& text, QMessageBox::StandardButtons buttons) {
        return QMessageBox::question(this, windowTitle(), text, buttons);
    };
    editor_ = [this](HeatPumpDraft& draft) {
        TfrmHeatFile editor(store_, this);
        editor.setDraft(draft);
        if (editor.exec() != QDialog::Accepted) return false;
        draft = editor.draft();
        return true;
    };
    auto* layout = new QVBoxLayout(this);
    auto* source = new QGroupBox(T("grpHPSource", "Source"), this);
    auto* sourceLayout = new QHBoxLayout(source);
    radGround = new QRadioButton(T("radHPGround", "Ground"), source);
    radGround->setObjectName("radGround");
    radAir = new QRadioButton(T("radHPAir", "Air"), source);
    radAir->setObjectName("radAir");
    sourceLayout->addWidget(radGround);
    sourceLayout->addWidget(radAir);
    layout->addWidget(source);
    pumpGrid = ListGrid("pumpGrid", 2, this);
    pumpGrid->setHorizontalHeaderLabels({T("strHPModel", "Model"), T("lblRefrig", "Refrigerant")});
    pumpGrid->setMinimumSize(360, 220);
    layout->addWidget(pumpGrid, 1);
    auto* buttons = new QHBoxLayout;
    btnAdd = new QPushButton(T("btnHPAdd", "Add New"), this);
    btnAdd->setObjectName("btnAdd");
    btnEdit = new QPushButton(T("btnHPEdit", "Edit"), this);
    btnEdit->setObjectName("btnEdit");
    btnCopy = new QPushButton(T("btnHPCopy", "Create Copy"), this);
    btnCopy->setObjectName("btnCopy");
    btnDelete = new QPushButton(T("btnHPDelete", "Delete"), this);
    btnDelete->setObjectName("btnDelete");
    auto* btnClose = new QPushButton(T("btnHPClose", "Close"), this);
    for (QPushButton* b : {btnAdd, btnEdit, btnCopy, btnDelete, btnClose}) buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(btnAdd, &QPushButton::clicked, this, &TfrmHPAdmin::btnAddClick);
    connect(btnEdit, &QPushButton::clicked, this, &TfrmHPAdmin::btnEditClick);
    connect(btnCopy, &QPushButton::clicked, this, &TfrmHPAdmin::btnCopyClick);
    connect(btnDelete, &QPushButton::clicked, this, &TfrmHPAdmin::btnDeleteClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(radGround, &QRadioButton::clicked, this, &TfrmHPAdmin::radSourceClick);
    connect(radAir, &QRadioButton::clicked, this, &TfrmHPAdmin::radSourceClick);
    connect(pumpGrid, &QTableWidget::itemSelectionChanged, this, &TfrmHPAdmin::rowChange);
    connect(pumpGrid, &QTableWidget::cellDoubleClicked, this, &TfrmHPAdmin::btnEditClick);
    openFor(nullptr);
}

void TfrmHPAdmin::openFor(const TCModel* model) {
    changed_ = false;
    const auto* pump = dynamic_cast<const THeatPump*>(model);
    if (pump != nullptr) {
        radAir->setChecked(pump->sourceKind == THeatPump::kAirSource);
        radGround->setChecked(pump->sourceKind != THeatPump::kAirSource);
    } else {
        if (auto* comp = dynamic_cast<const TComp*>(model)) defaultCompressor_ = const_cast<TComp*>(comp);
        radGround->setChecked(true);
    }
    fillList(pump);
}

void TfrmHPAdmin::fillList(const THeatPump* keep) {
    const bool air = radAir->isChecked();
    listed_.clear();
    for (const auto& model : store_.HeatPumps()) {
        auto* pump = dynamic_cast<THeatPump*>(model.get());
        if (pump != nullptr && pump->IsAirSource() == air) listed_.push_back(pump);
    }
    const QSignalBlocker block(pumpGrid);
    pumpGrid->clearSelection();
    pumpGrid->setRowCount(static_cast<int>(listed_.size()));
    int row = -1;
    for (int r = 0; r < static_cast<int>(listed_.size()); ++r) {
        const THeatPump* p = listed_[static_cast<std::size_t>(r)];
        pumpGrid->setItem(r, 0, new QTableWidgetItem(Q(p->name)));
        pumpGrid->setItem(r, 1, new QTableWidgetItem(p->refrigerant ? Q(p->refrigerant->DisplayName()) : QString()));
        if (p == keep) row = r;
    }
    pumpGrid->resizeColumnsToContents();
    if (row >= 0) pumpGrid->selectRow(row);
    rowChange();
}

void TfrmHPAdmin::selectRow(int row) {
    pumpGrid->selectRow(row);
    rowChange();
}

THeatPump* TfrmHPAdmin::selected() const {
    const QList<QTableWidgetItem*> items = pumpGrid->selectedItems();
    if (items.isEmpty()) return nullptr;
    const int row = items.front()->row();
    return row >= 0 && row < static_cast<int>(listed_.size()) ? listed_[static_cast<std::size_t>(row)] : nullptr;
}

void TfrmHPAdmin::rowChange() {
    const bool any = selected() != nullptr;
    btnEdit->setEnabled(any);
    btnDelete->setEnabled(any);
    btnCopy->setEnabled(any);
}

void TfrmHPAdmin::radSourceClick() { fillList(selected()); }

void TfrmHPAdmin::btnAddClick() {
    HeatPumpDraft draft = HeatPumpDraft::New(radAir->isChecked(), defaultCompressor_, store_);
    if (!editor_ || !editor_(draft) || !draft.CanConfirm()) return;
    auto pump = std::make_unique<THeatPump>();
    draft.StoreInto(*pump);
    pump->key = static_cast<std::int32_t>(store_.HeatPumps().size());
    auto* added = static_cast<THeatPump*>(&store_.AddHeatPump(std::move(pump)));
    changed_ = true;
    radAir->setChecked(added->IsAirSource());
    radGround->setChecked(!added->IsAirSource());
    fillList(added);
}

void TfrmHPAdmin::btnEditClick() {
    THeatPump* pump = selected();
    if (pump == nullptr) return;
    HeatPumpDraft draft = HeatPumpDraft::Of(*pump);
    if (!editor_ || !editor_(draft) || !draft.CanConfirm()) return;
    draft.StoreInto(*pump);
    changed_ = true;
    radAir->setChecked(pump->IsAirSource());
    radGround->setChecked(!pump->IsAirSource());
    fillList(pump);
}

void TfrmHPAdmin::btnCopyClick() {
    const THeatPump* pump = selected();
    if (pump == nullptr) return;
    HeatPumpDraft draft = HeatPumpDraft::Of(*pump);
    draft.name = pump->name + " (Copy)";
    if (!editor_ || !editor_(draft) || !draft.CanConfirm()) return;
    auto copy = std::make_unique<THeatPump>();
    draft.StoreInto(*copy);
    copy->key = static_cast<std::int32_t>(store_.HeatPumps().size());
    auto* added = static_cast<THeatPump*>(&store_.AddHeatPump(std::move(copy)));
    changed_ = true;
    radAir->setChecked(added->IsAirSource());
    radGround->setChecked(!added->IsAirSource());
    fillList(added);
}

void TfrmHPAdmin::btnDeleteClick() {
    THeatPump* pump = selected();
    if (pump == nullptr || !question_) return;
    const QString text = T("strHPDelete", "Delete") + " " + Q(pump->name) + "?";
    if (question_(text, QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok) return;
    store_.RemoveHeatPump(*pump);
    changed_ = true;
    fillList(nullptr);
}

}  // namespace kelvra
