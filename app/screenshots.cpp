// kelvra-screenshots: renders the pictures of docs/ from the real windows on the shipped product
// database, so that the pictures in the README always show what the program shows.
//
//   kelvra-screenshots <output folder> [picture name ...]
//
// Without names every picture is made. The main window is built in a fresh temporary user
// folder (no settings of the person running it leak in), the operating point is set through the
// selection driver exactly as the inputs would set it, a result tab is shown and the window (or a
// window it opened) is grabbed to "<name>.png".

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTabWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data_store.hpp"
#include "main_window.hpp"
#include "refrigerant.hpp"
#include "workspace_folders.hpp"

namespace {

using kelvra::TfrmActivity;

// Lets the window lay itself out and paint.
void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// The refrigerant, the evaporating and condensing temperatures (degC) and the required capacity
// (kW) of a picture, set as the user would set them.
void SetPoint(TfrmActivity& window, const char* refrigerant, double evap, double cond,
              double capacityKw) {
    kelvra::SelectionDriver& driver = *window.driver();
    if (kelvra::Trefrigerant* r = driver.store().FindRefrigerantByName(refrigerant))
        driver.changeRefrigerant(r);
    kelvra::OperatingConditions conditions = driver.conditions();
    conditions.evapTemp = evap;
    conditions.condTemp = cond;
    conditions.capacity = capacityKw;
    driver.applyConditions(conditions);
    driver.changeRequiredCapacity(capacityKw);
    Settle();
}

// Shows the result tab whose caption is `caption` (as the English language table has it).
bool ShowTab(TfrmActivity& window, const QString& caption) {
    auto* tabs = window.findChild<QTabWidget*>("pgResults");
    if (!tabs) return false;
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->tabText(i).remove('&') == caption) {
            tabs->setCurrentIndex(i);
            Settle();
            return true;
        }
    }
    return false;
}

struct Shot {
    std::string name;
    // Prepares the window; returns the widget to grab (nullptr: the main window itself).
    std::function<QWidget*(TfrmActivity&)> prepare;
};

std::vector<Shot> Shots() {
    std::vector<Shot> shots;
    shots.push_back({"main-window", [](TfrmActivity& window) -> QWidget* {
                         SetPoint(window, "R404A", -10, 45, 10);
                         ShowTab(window, "Summary");
                         return nullptr;
                     }});
    shots.push_back({"selection-list", [](TfrmActivity& window) -> QWidget* {
                         SetPoint(window, "R404A", -10, 45, 10);
                         // the inputs show the point just set
                         window.applyConditions(window.driver()->conditions());
                         ShowTab(window, "Selection List");
                         return nullptr;
                     }});
    shots.push_back({"table", [](TfrmActivity& window) -> QWidget* {
                         SetPoint(window, "R404A", -10, 45, 10);
                         ShowTab(window, "Table");
                         return nullptr;
                     }});
    // Further pictures are added here, one entry each.
    return shots;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Kelvra 7");
    QApplication::setApplicationDisplayName("Kelvra 7");
    QApplication::setOrganizationName("kelvra");

    if (argc < 2) {
        std::fprintf(stderr, "usage: kelvra-screenshots <output folder> [picture name ...]\n");
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(output)) {
        std::fprintf(stderr, "cannot create the folder %s\n", argv[1]);
        return 1;
    }
    std::vector<std::string> wanted(argv + 2, argv + argc);

    int failures = 0;
    for (const Shot& shot : Shots()) {
        if (!wanted.empty() && std::find(wanted.begin(), wanted.end(), shot.name) == wanted.end())
            continue;
        QTemporaryDir user;
        kelvra::WorkspaceFolders folders = kelvra::DefaultWorkspaceFolders();
        folders.user = user.path().toStdString();
        auto window = std::make_unique<TfrmActivity>(folders);
        if (!window->databaseUsable()) {
            std::fprintf(stderr, "%s\n", window->databaseProblem().toLocal8Bit().constData());
            return 1;
        }
        // Answer every question of the window with "No" so that nothing is written.
        window->setQuestion([](const QString&, QMessageBox::StandardButtons) {
            return QMessageBox::No;
        });
        window->resize(1280, 860);
        window->show();
        Settle();
        QWidget* target = shot.prepare(*window);
        if (!target) target = window.get();
        Settle();
        const QString file = QDir(output).filePath(QString::fromStdString(shot.name) + ".png");
        if (target->grab().save(file)) {
            std::printf("%s\n", file.toLocal8Bit().constData());
        } else {
            std::fprintf(stderr, "could not write %s\n", file.toLocal8Bit().constData());
            ++failures;
        }
        if (target != window.get()) target->close();
        window->hide();
    }
    return failures == 0 ? 0 : 1;
}
