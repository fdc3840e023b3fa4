#pragma once

// The two small windows of the selection list: the column editor, which chooses the list's
// columns and their order, and the refrigerant chooser, which picks the refrigerants whose
// candidates the list compares.

#include <QDialog>
#include <vector>

#include "selection_list.hpp"

class QListWidget;
class QPushButton;

namespace kelvra {

class Trefrigerant;

// The column editor without its window: the fields still available and the fields chosen, in
// order. Rows are indexes into available() or chosen().
class ColumnChoiceEditor {
  public:
    // `choices` are the fields the list offers; `chosen` the present columns, each named by its
    // choice or, when no choice names it, by `title`.
    ColumnChoiceEditor(std::vector<ListChoice> choices, const std::vector<ListColumn>& chosen,
                       const std::function<std::string(const ListColumn&)>& title);

    const std::vector<ListChoice>& available() const { return available_; }
    const std::vector<ListChoice>& chosen() const { return chosen_; }

    // ">" and "<": the given rows move to the other side (the chosen ones at the end).
    void add(std::vector<int> rows);
    void addAll();
    void remove(std::vector<int> rows);
    void removeAll();
    // "Up" and "Down": possible only with one row selected that is not at that end.
    bool canMove(const std::vector<int>& rows, bool up) const;
    // Moves the row and returns its new row (the row itself when it cannot move).
    int move(int row, bool up);
    // OK: at least one field, and not more than the list can hold.
    bool canAccept() const;
    std::vector<ListColumn> columns() const;

  private:
    void refreshAvailable();

    std::vector<ListChoice> choices_;
    std::vector<ListChoice> available_;
    std::vector<ListChoice> chosen_;
};

class TfrmColumnEditor : public QDialog {
    Q_OBJECT
  public:
    TfrmColumnEditor(const SelectionList& list, QWidget* parent = nullptr);
    // The chosen columns, in order (after OK).
    std::vector<ListColumn> columns() const { return editor_.columns(); }
    ColumnChoiceEditor& editor() { return editor_; }

    void btnAddClick();
    void btnAddAllClick();
    void btnRemoveClick();
    void btnRemoveAllClick();
    void btnUpClick();
    void btnDownClick();

  private:
    void showLists();
    void enableButtons();
    static std::vector<int> selectedRows(const QListWidget* list);

    ColumnChoiceEditor editor_;
    QListWidget* lstAvailable_ = nullptr;
    QListWidget* lstChosen_ = nullptr;
    QPushButton* btnAdd_ = nullptr;
    QPushButton* btnAddAll_ = nullptr;
    QPushButton* btnRemove_ = nullptr;
    QPushButton* btnRemoveAll_ = nullptr;
    QPushButton* btnUp_ = nullptr;
    QPushButton* btnDown_ = nullptr;
    QPushButton* btnOK_ = nullptr;
};

// The refrigerants to compare: every refrigerant but carbon dioxide; the main refrigerant is
// ticked and stays ticked.
class TfrmRefDlg : public QDialog {
    Q_OBJECT
  public:
    TfrmRefDlg(const std::vector<Trefrigerant*>& refrigerants, const Trefrigerant* main,
               const std::vector<Trefrigerant*>& compared, QWidget* parent = nullptr);
    // The ticked refrigerants, in the order of the list.
    std::vector<Trefrigerant*> ticked() const;
    // Ticks or unticks the refrigerant of a row as a click on its box does.
    void setTicked(const Trefrigerant* refrigerant, bool ticked);

  private:
    QListWidget* lstRefrigerants_ = nullptr;
};

}  // namespace kelvra
