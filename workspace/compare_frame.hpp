#pragma once

// The "Selection List" tab: every candidate as one row with the user's columns, sortable by any
// column and coloured by status; previous/next model, comparing the candidates of several
// refrigerants, the column editor, the clipboard copy and the spreadsheet file. The rows, order
// and columns are the driver's SelectionList; the frame paints it and hands the user's choices
// back to the main window.

#include <QWidget>
#include <filesystem>
#include <functional>
#include <string>

#include "selection_list.hpp"

class QDialog;
class QLabel;
class QMenu;
class QPushButton;
class QTableWidget;

namespace kelvra {

class SelectionDriver;

class TframeCompare : public QWidget {
    Q_OBJECT

  public:
    // What the frame asks of the main window.
    struct Callbacks {
        std::function<void(TCModel*)> selectModel;
        std::function<void(Trefrigerant*)> selectRefrigerant;
        std::function<void(bool)> setListLock;
        std::function<void(const std::string&)> setNavigationHint;
        std::function<void(ModelStatus)> showModelStatus;
        std::function<void(const QString&)> showError;
    };
    // Shows a modal window and returns its result; tests drive the window instead.
    using DialogRunner = std::function<int(QDialog& dialog)>;
    // Asks for the spreadsheet file's path; empty when the user cancels.
    using SavePathAsker = std::function<QString(const QString& folder)>;

    explicit TframeCompare(QWidget* parent = nullptr);

    // The driver whose list is shown (it must outlive the frame's use of it).
    void attach(SelectionDriver* driver, Callbacks callbacks);
    void setDialogRunner(DialogRunner runner) { dialogRunner_ = std::move(runner); }
    void setSavePathAsker(SavePathAsker asker) { savePathAsker_ = std::move(asker); }
    // The folder the save dialog opens in.
    void setOutputFolder(const QString& folder) { outputFolder_ = folder; }

    // Paints the list (the driver's listChanged).
    void showList();

    // --- the user's actions ---
    void headerClick(int gridColumn);
    // The choice menu of a header (nullptr where the column offers none); `run` shows it.
    QMenu* headerMenu(int gridColumn);
    void rowClick(int gridRow);
    void rowDoubleClick(int gridRow);
    void btnPreviousClick();
    void btnNextClick();
    void btnSelectRefsClick();
    void btnRemoveRefsClick();
    void btnColumnEditorClick();
    void btnCopyClick();
    void btnExcelClick();

    QTableWidget* grid() const { return grid_; }

  protected:
    // A list that changed while the tab was hidden is painted when it is shown.
    void showEvent(QShowEvent* event) override;

  private:
    void paintGrid();
    const SelectionList* list() const;
    SelectionList* list();
    int runDialog(QDialog& dialog);
    void compare(std::vector<Trefrigerant*> refrigerants);
    void refill();
    void afterColumnChange();
    void updateButtons();
    void chooseColumn(int userColumn, ListColumn column);

    SelectionDriver* driver_ = nullptr;
    Callbacks callbacks_;
    DialogRunner dialogRunner_;
    SavePathAsker savePathAsker_;
    QString outputFolder_;

    QPushButton* btnPrevious_ = nullptr;
    QPushButton* btnNext_ = nullptr;
    QPushButton* btnSelectRefs_ = nullptr;
    QPushButton* btnRemoveRefs_ = nullptr;
    QPushButton* btnColumnEditor_ = nullptr;
    QPushButton* btnCopy_ = nullptr;
    QPushButton* btnExcel_ = nullptr;
    QLabel* lblNoModels_ = nullptr;
    QTableWidget* grid_ = nullptr;
    QMenu* menu_ = nullptr;
    bool gridStale_ = false;
};

}  // namespace kelvra
