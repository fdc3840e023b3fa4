#include "list_dialogs.hpp"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "language_texts.hpp"
#include "refrigerant.hpp"

namespace kelvra {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

QString Caption(std::string_view key, std::string_view english) {
    QString text = Q(Text(key, english));
    text.remove('&');
    return text;
}

// Rows sorted from the last down, so that erasing one leaves the others' indexes valid.
std::vector<int> Descending(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

}  // namespace

// --- ColumnChoiceEditor ---

ColumnChoiceEditor::ColumnChoiceEditor(std::vector<ListChoice> choices,
                                       const std::vector<ListColumn>& chosen,
                                       const std::function<std::string(const ListColumn&)>& title)
    : choices_(std::move(choices)) {
    for (const ListColumn& column : chosen) {
        const auto found = std::find_if(choices_.begin(), choices_.end(),
                                        [&](const ListChoice& c) { return c.column == column; });
        chosen_.push_back(found != choices_.end() ? *found
                                                  : ListChoice{column, title ? title(column) : ""});
    }
    refreshAvailable();
}

void ColumnChoiceEditor::refreshAvailable() {
    available_.clear();
    for (const ListChoice& choice : choices_) {
        if (!choice.enabled) continue;
        const bool used = std::any_of(chosen_.begin(), chosen_.end(), [&](const ListChoice& c) {
            return c.column == choice.column;
        });
        if (!used) available_.push_back(choice);
    }
}

void ColumnChoiceEditor::add(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (const int row : rows)
        if (row >= 0 && row < static_cast<int>(available_.size()))
            chosen_.push_back(available_[static_cast<std::size_t>(row)]);
    refreshAvailable();
}

void ColumnChoiceEditor::addAll() {
    chosen_.insert(chosen_.end(), available_.begin(), available_.end());
    refreshAvailable();
}

void ColumnChoiceEditor::remove(std::vector<int> rows) {
    for (const int row : Descending(std::move(rows)))
        if (row >= 0 && row < static_cast<int>(chosen_.size()))
            chosen_.erase(chosen_.begin() + row);
    refreshAvailable();
}

void ColumnChoiceEditor::removeAll() {
    chosen_.clear();
    refreshAvailable();
}

bool ColumnChoiceEditor::canMove(const std::vector<int>& rows, bool up) const {
    if (rows.size() != 1) return false;
    const int row = rows.front();
    if (row < 0 || row >= static_cast<int>(chosen_.size())) return false;
    return up ? row > 0 : row + 1 < static_cast<int>(chosen_.size());
}

int ColumnChoiceEditor::move(int row, bool up) {
    if (!canMove({row}, up)) return row;
    const int target = up ? row - 1 : row + 1;
    std::swap(chosen_[static_cast<std::size_t>(row)], chosen_[static_cast<std::size_t>(target)]);
    return target;
}

bool ColumnChoiceEditor::canAccept() const {
    return !chosen_.empty() && chosen_.size() <= static_cast<std::size_t>(SelectionList::kMaxUserColumns);
}

std::vector<ListColumn> ColumnChoiceEditor::columns() const {
    std::vector<ListColumn> columns;
    for (const ListChoice& choice : chosen_) columns.push_back(choice.column);
    return columns;
}

// --- TfrmColumnEditor ---

TfrmColumnEditor::TfrmColumnEditor(const SelectionList& list, QWidget* parent)
    : QDialog(parent),
      editor_(list.choices(), list.columns(), [&list](const ListColumn& column) {
          for (int c = 0; c < list.userCount(); ++c)
              if (list.columns()[static_cast<std::size_t>(c)] == column) return list.columnTitle(c);
          return std::string();
      }) {
    setObjectName("frmColumnEditor");
    setWindowTitle(Caption("mnuColumnEditor", "Column Editor"));
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(Caption("lblAvailableFields", "Available Fields"), this), 0, 0);
    layout->addWidget(new QLabel(Caption("lblChosenFields", "Chosen Fields"), this), 0, 2);
    lstAvailable_ = new QListWidget(this);
    lstAvailable_->setObjectName("lstAvailable");
    lstChosen_ = new QListWidget(this);
    lstChosen_->setObjectName("lstChosen");
    for (QListWidget* box : {lstAvailable_, lstChosen_}) {
        box->setSelectionMode(QAbstractItemView::ExtendedSelection);
        box->setMinimumSize(220, 300);
    }
    layout->addWidget(lstAvailable_, 1, 0);
    layout->addWidget(lstChosen_, 1, 2);

    auto* middle = new QVBoxLayout;
    const auto button = [this, middle](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        middle->addWidget(b);
        return b;
    };
    middle->addStretch();
    btnAdd_ = button("btnAdd", ">");
    btnAddAll_ = button("btnAddAll", ">>");
    btnRemove_ = button("btnRemove", "<");
    btnRemoveAll_ = button("btnRemoveAll", "<<");
    middle->addSpacing(20);
    btnUp_ = button("btnUp", Caption("btnUp", "Up"));
    btnDown_ = button("btnDown", Caption("btnDown", "Down"));
    middle->addStretch();
    layout->addLayout(middle, 1, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    btnOK_ = buttons->button(QDialogButtonBox::Ok);
    btnOK_->setObjectName("btnOK");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("btnCancel");
    layout->addWidget(buttons, 2, 0, 1, 3);

    connect(btnAdd_, &QPushButton::clicked, this, &TfrmColumnEditor::btnAddClick);
    connect(btnAddAll_, &QPushButton::clicked, this, &TfrmColumnEditor::btnAddAllClick);
    connect(btnRemove_, &QPushButton::clicked, this, &TfrmColumnEditor::btnRemoveClick);
    connect(btnRemoveAll_, &QPushButton::clicked, this, &TfrmColumnEditor::btnRemoveAllClick);
    connect(btnUp_, &QPushButton::clicked, this, &TfrmColumnEditor::btnUpClick);
    connect(btnDown_, &QPushButton::clicked, this, &TfrmColumnEditor::btnDownClick);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (editor_.canAccept()) accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(lstAvailable_, &QListWidget::itemSelectionChanged, this, &TfrmColumnEditor::enableButtons);
    connect(lstChosen_, &QListWidget::itemSelectionChanged, this, &TfrmColumnEditor::enableButtons);
    showLists();
}

std::vector<int> TfrmColumnEditor::selectedRows(const QListWidget* list) {
    std::vector<int> rows;
    for (const QListWidgetItem* item : list->selectedItems()) rows.push_back(list->row(item));
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TfrmColumnEditor::showLists() {
    const auto fill = [](QListWidget* box, const std::vector<ListChoice>& entries) {
        box->clear();
        for (const ListChoice& entry : entries) box->addItem(Q(entry.text));
    };
    fill(lstAvailable_, editor_.available());
    fill(lstChosen_, editor_.chosen());
    enableButtons();
}

void TfrmColumnEditor::enableButtons() {
    const std::vector<int> chosen = selectedRows(lstChosen_);
    btnAdd_->setEnabled(!lstAvailable_->selectedItems().isEmpty());
    btnAddAll_->setEnabled(lstAvailable_->count() > 0);
    btnRemove_->setEnabled(!chosen.empty());
    btnRemoveAll_->setEnabled(lstChosen_->count() > 0);
    btnUp_->setEnabled(editor_.canMove(chosen, true));
    btnDown_->setEnabled(editor_.canMove(chosen, false));
    btnOK_->setEnabled(editor_.canAccept());
}

void TfrmColumnEditor::btnAddClick() {
    editor_.add(selectedRows(lstAvailable_));
    showLists();
}

void TfrmColumnEditor::btnAddAllClick() {
    editor_.addAll();
    showLists();
}

void TfrmColumnEditor::btnRemoveClick() {
    editor_.remove(selectedRows(lstChosen_));
    showLists();
}

void TfrmColumnEditor::btnRemoveAllClick() {
    editor_.removeAll();
    showLists();
}

void TfrmColumnEditor::btnUpClick() {
    const std::vector<int> rows = selectedRows(lstChosen_);
    if (!editor_.canMove(rows, true)) return;
    const int row = editor_.move(rows.front(), true);
    showLists();
    lstChosen_->setCurrentRow(row);
}

void TfrmColumnEditor::btnDownClick() {
    const std::vector<int> rows = selectedRows(lstChosen_);
    if (!editor_.canMove(rows, false)) return;
    const int row = editor_.move(rows.front(), false);
    showLists();
    lstChosen_->setCurrentRow(row);
}

// --- TfrmRefDlg ---

TfrmRefDlg::TfrmRefDlg(const std::vector<Trefrigerant*>& refrigerants, const Trefrigerant* main,
                       const std::vector<Trefrigerant*>& compared, QWidget* parent)
    : QDialog(parent) {
    setObjectName("frmRefDlg");
    setWindowTitle(Caption("frmRefDlg", "Refrigerants"));
    auto* layout = new QVBoxLayout(this);
    lstRefrigerants_ = new QListWidget(this);
    lstRefrigerants_->setObjectName("lstRefrigerants");
    for (Trefrigerant* refrigerant : refrigerants) {
        if (refrigerant == nullptr || refrigerant->isCO2) continue;
        auto* item = new QListWidgetItem(Q(refrigerant->DisplayName()), lstRefrigerants_);
        item->setData(Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(refrigerant)));
        const bool isMain = refrigerant == main;
        const bool ticked =
            isMain || std::find(compared.begin(), compared.end(), refrigerant) != compared.end();
        // the main refrigerant cannot be unticked
        item->setFlags(isMain ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
    layout->addWidget(lstRefrigerants_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("btnOK");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("btnCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

std::vector<Trefrigerant*> TfrmRefDlg::ticked() const {
    std::vector<Trefrigerant*> list;
    for (int i = 0; i < lstRefrigerants_->count(); ++i) {
        const QListWidgetItem* item = lstRefrigerants_->item(i);
        if (item->checkState() == Qt::Checked)
            list.push_back(reinterpret_cast<Trefrigerant*>(item->data(Qt::UserRole).value<quintptr>()));
    }
    return list;
}

void TfrmRefDlg::setTicked(const Trefrigerant* refrigerant, bool ticked) {
    for (int i = 0; i < lstRefrigerants_->count(); ++i) {
        QListWidgetItem* item = lstRefrigerants_->item(i);
        if (reinterpret_cast<const Trefrigerant*>(item->data(Qt::UserRole).value<quintptr>()) !=
            refrigerant)
            continue;
        if (item->flags() & Qt::ItemIsUserCheckable)
            item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
}

}  // namespace kelvra
