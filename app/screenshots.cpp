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
#include <QTreeWidget>
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
#include "advanced_window.hpp"
#include "model.hpp"
#include "units.hpp"

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
    // the inputs show the point just set
    window.applyConditions(driver.conditions());
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
    shots.push_back({"mode-7-heat-pumps", [](TfrmActivity& window) -> QWidget* {
                         // the shipped Series B1 brine/water heat pumps at B0/W35
                         kelvra::SelectionDriver& driver = *window.driver();
                         window.setActivityMode(kelvra::ActivityMode::BrineWaterHeatPumps);
                         if (kelvra::Trefrigerant* r = driver.store().FindRefrigerantByName("R410A"))
                             window.selectRefrigerant(r);
                         if (const kelvra::TFamily* f = driver.store().FindFamily(71, 'P'))
                             driver.tickFamily(const_cast<kelvra::TFamily&>(*f), true);
                         kelvra::OperatingConditions conditions = driver.conditions();
                         conditions.sourceInletTemp = 0;
                         conditions.waterOutletTemp = 35;
                         conditions.capacity = 15;
                         driver.applyConditions(conditions);
                         driver.changeRequiredCapacity(15);
                         window.applyConditions(driver.conditions());
                         Settle();
                         ShowTab(window, "Summary");
                         return nullptr;
                     }});
    shots.push_back({"mode-1-condensing-units", [](TfrmActivity& window) -> QWidget* {
                         // condensing units at 32 degC ambient
                         window.setActivityMode(kelvra::ActivityMode::CondensingUnits);
                         kelvra::SelectionDriver& driver = *window.driver();
                         // tick the indoor and outdoor unit families as the user would
                         if (auto* units = window.findChild<QTreeWidget*>("lstUnits")) {
                             for (int i = 0; i < units->topLevelItemCount() - 1; ++i) {
                                 QTreeWidgetItem* section = units->topLevelItem(i);
                                 for (int j = 0; j < section->childCount(); ++j)
                                     section->child(j)->setCheckState(0, Qt::Checked);
                             }
                         }
                         if (kelvra::Trefrigerant* r = driver.store().FindRefrigerantByName("R404A"))
                             driver.changeRefrigerant(r);
                         kelvra::OperatingConditions conditions = driver.conditions();
                         conditions.evapTemp = -10;
                         conditions.ambientTemp = 32;
                         conditions.capacity = 8;
                         driver.applyConditions(conditions);
                         driver.changeRequiredCapacity(8);
                         window.applyConditions(driver.conditions());
                         Settle();
                         ShowTab(window, "Summary");
                         return nullptr;
                     }});
    shots.push_back({"mode-3-expansion-valves", [](TfrmActivity& window) -> QWidget* {
                         // expansion valves for 10 kW of R404A at -10/45 degC
                         window.setActivityMode(kelvra::ActivityMode::ExpansionValves);
                         // tick the thermostatic expansion valves
                         if (auto* orda = window.findChild<QTreeWidget*>("lstOrda")) {
                             if (orda->topLevelItemCount() > 0 &&
                                 orda->topLevelItem(0)->childCount() > 0)
                                 orda->topLevelItem(0)->child(0)->setCheckState(0, Qt::Checked);
                         }
                         SetPoint(window, "R404A", -10, 45, 10);
                         window.applyConditions(window.driver()->conditions());
                         Settle();
                         ShowTab(window, "Summary");
                         return nullptr;
                     }});
    // --- the envelope tab and the advanced window ---
    // Ticks one compressor family, makes the point and picks the model by hand.
    auto pick = [](TfrmActivity& window, int family, const char* refrigerant, double evap,
                   double cond, const char* model) {
        kelvra::SelectionDriver& driver = *window.driver();
        if (const kelvra::TFamily* f = driver.store().FindFamily(family, 'C'))
            driver.tickFamily(const_cast<kelvra::TFamily&>(*f), true);
        if (kelvra::Trefrigerant* r = driver.store().FindRefrigerantByName(refrigerant))
            window.selectRefrigerant(r);  // the refrigerant box shows it too
        SetPoint(window, refrigerant, evap, cond, 10);
        driver.chooseByHand();
        for (kelvra::TCModel* m : driver.candidates())
            if (m->name == model) driver.selectModel(m);
        window.applyConditions(driver.conditions());
        Settle();
    };
    shots.push_back({"envelope-scroll", [pick](TfrmActivity& window) -> QWidget* {
                         // a refrigeration scroll on R404A with its extended region
                         pick(window, 2, "R404A", -10, 45, "KSR-030");
                         ShowTab(window, "Envelope");
                         return nullptr;
                     }});
    shots.push_back({"envelope-variable-speed", [pick](TfrmActivity& window) -> QWidget* {
                         // a variable-speed scroll on R410A at its lowest speed, 1800 rpm,
                         // where its envelope is narrower than at the base speeds
                         pick(window, 9, "R410A", 0, 45, "KSX-30");
                         kelvra::OperatingConditions c = window.driver()->conditions();
                         c.rpm = 1800;
                         window.applyConditions(c);
                         window.driver()->changeSpeed(1800, false);
                         Settle();
                         ShowTab(window, "Envelope");
                         return nullptr;
                     }});
    shots.push_back({"envelope-co2", [pick](TfrmActivity& window) -> QWidget* {
                         // a transcritical CO2 compressor at -10 degC and 90 bar
                         pick(window, 15, "R744", -10, 30, "KCO-4");
                         kelvra::OperatingConditions c = window.driver()->conditions();
                         c.condByPressure = 1;
                         c.condPressure = 90;
                         c.gasCoolerOutletTemp = 35;
                         window.applyConditions(c);
                         Settle();
                         ShowTab(window, "Envelope");
                         return nullptr;
                     }});
    shots.push_back({"advanced-window", [pick](TfrmActivity& window) -> QWidget* {
                         // R404A at -10/45 degC with line drops, on the pressure-enthalpy diagram
                         pick(window, 2, "R404A", -10, 45, "KSR-030");
                         kelvra::SelectionDriver& driver = *window.driver();
                         const kelvra::TCModel* model = driver.selectedModel();
                         kelvra::OperatingConditions c = driver.conditions();
                         c.suctionLineDrop = 1;
                         c.dischargeLineDrop = 0.5;
                         c.usefulSuperheat = 5;
                         auto* advanced = new kelvra::TfrmAdvancedWin(
                             driver.refrigerant(), c, driver.unitSystem(), false, false,
                             model && model->Status() >= 0
                                 ? model->Result(kelvra::quantity::DischargeTemp)
                                 : 0.0,
                             &window);
                         advanced->setAttribute(Qt::WA_DeleteOnClose);
                         advanced->resize(1000, 520);
                         advanced->show();
                         Settle();
                         return advanced;
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
        // KELVRA_SCREENSHOT_TAB=<caption> shows another result tab of the same point, to look
        // at it without adding a picture.
        const QString tab = qEnvironmentVariable("KELVRA_SCREENSHOT_TAB");
        if (!tab.isEmpty() && target == window.get() && !ShowTab(*window, tab))
            std::fprintf(stderr, "no tab %s\n", tab.toLocal8Bit().constData());
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
