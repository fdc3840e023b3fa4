#pragma once

// The windows of the program's start: the splash shown while the main window loads, and the
// start-up window that asks a first run how the program is to open.

#include <QDialog>
#include <QPixmap>
#include <QWidget>
#include <filesystem>

#include "startup_choices.hpp"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;

namespace kelvra {

// The banner of the splash, start-up and about windows: "about.bmp" of the installation folder,
// or a drawn one when that picture is missing.
QPixmap ProgramBanner(const std::filesystem::path& installation);

// Borderless, centred, as large as its picture; closes (and frees itself) when told.
class TfrmSplash : public QWidget {
    Q_OBJECT
  public:
    explicit TfrmSplash(const std::filesystem::path& installation);
    // Shows the splash and paints it at once, before the event loop runs.
    void showNow();
    // A line under the picture telling what is being loaded.
    void setMessage(const QString& text);

  private:
    QLabel* picture_ = nullptr;
    QLabel* message_ = nullptr;
};

class TfrmStartup : public QDialog {
    Q_OBJECT
  public:
    TfrmStartup(const std::filesystem::path& installation, const StartupOffer& offer,
                QWidget* parent = nullptr);

    // The choices the window shows.
    StartupChoices choices() const;
    // As a click on an application's panel.
    void chooseApplication(StartupApplication application);
    bool okEnabled() const;

    // Shows the window modally and returns its choices; closing it without OK keeps what it
    // shows when that may be confirmed, else the window's first choices.
    static StartupChoices Ask(const std::filesystem::path& installation, const StartupOffer& offer);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void updateControls();

    QComboBox* boxLanguage_ = nullptr;
    QComboBox* boxHelp_ = nullptr;
    QRadioButton* radAircon_ = nullptr;
    QRadioButton* radRefrig_ = nullptr;
    QRadioButton* radCondUnits_ = nullptr;
    QRadioButton* radHeating_ = nullptr;
    QCheckBox* chkScroll_ = nullptr;
    QCheckBox* chkSemi_ = nullptr;
    QLabel* picScroll_ = nullptr;
    QLabel* picSemi_ = nullptr;
    QPushButton* btnOK_ = nullptr;
};

}  // namespace kelvra
