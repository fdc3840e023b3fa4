// The main window's envelope tab and the refrigerant-properties window on the small product
// database, on the offscreen platform.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <memory>

#include "envelope_frame.hpp"
#include "main_window.hpp"
#include "property_library.hpp"
#include "refprop_dialog.hpp"
#include "selection_fixture.hpp"
#include "settings_file.hpp"

namespace kelvra {
namespace {

QApplication& Application() {
    static int argc = 1;
    static char name[] = "envelope_frame_test";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}

int CountRed(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == QColor(Qt::red)) ++n;
    return n;
}

class EnvelopeTabTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Application();
        WriteProductDatabase(data.path(), testing::SelectionFixtureDatabase());
        folders.installation = InstallationFolder();
        folders.data = data.path();
        folders.user = user.path();
        Settings settings;
        settings.refrigerant = "R134a";
        settings.compressorFamilies.Clear();
        settings.compressorFamilies.Add(1);
        settings.autoSelect = true;
        OperatingConditions& c = settings.conditions;
        c.evapTemp = -10;
        c.condTemp = 40;
        c.superheat = 10;
        c.useSGR = false;
        c.subcooling = 0;
        c.liquidTempGiven = false;
        c.capacity = 10;
        ASSERT_TRUE(SaveSettingsFile(user.path() / std::string(kSettingsFileName), settings));
    }

    std::unique_ptr<TfrmActivity> Start() {
        auto window = std::make_unique<TfrmActivity>(folders);
        window->setErrorNotice([](const QString&) {});
        window->resize(1100, 750);
        window->show();
        return window;
    }

    testing::ScratchFolder data;
    testing::ScratchFolder user;
    WorkspaceFolders folders;
};

TEST_F(EnvelopeTabTest, TheTabPaintsTheSelectedCompressorAndFollowsThePoint) {
    auto window = Start();
    ASSERT_TRUE(window->databaseUsable()) << window->databaseProblem().toStdString();
    ASSERT_NE(window->driver()->selectedModel(), nullptr);
    EXPECT_EQ(window->driver()->selectedModel()->name, "KS-10");

    auto* tabs = window->findChild<QTabWidget*>("pgResults");
    ASSERT_NE(tabs, nullptr);
    TframeEnv* frame = window->envelopeFrame();
    ASSERT_NE(frame, nullptr);
    tabs->setCurrentWidget(frame);
    QApplication::processEvents();

    EXPECT_TRUE(frame->hasEnvelope());
    EXPECT_EQ(frame->envelope().modelName, "KS-10");
    EXPECT_TRUE(frame->envelope().legend[0].drawn);
    auto* legend1 = frame->findChild<QLabel*>("lbl1");
    ASSERT_NE(legend1, nullptr);
    EXPECT_TRUE(legend1->isVisible());
    EXPECT_EQ(legend1->text(), "Standard");
    EXPECT_FALSE(frame->findChild<QLabel*>("lbl2")->isVisible());
    EXPECT_TRUE(frame->findChild<QPushButton*>("btnClip")->isEnabled());
    ASSERT_TRUE(frame->envelope().operatingPoint.has_value());
    EXPECT_DOUBLE_EQ(frame->envelope().operatingPoint->x, -10);
    EXPECT_DOUBLE_EQ(frame->envelope().operatingPoint->y, 40);

    // the painted tab shows the red cross
    const QImage shown = frame->grab().toImage();
    EXPECT_GT(CountRed(shown), 8);

    // a new point moves the cross
    OperatingConditions c = window->driver()->conditions();
    c.evapTemp = -20;
    c.condTemp = 50;
    window->driver()->applyConditions(c);
    QApplication::processEvents();
    ASSERT_TRUE(frame->envelope().operatingPoint.has_value());
    EXPECT_DOUBLE_EQ(frame->envelope().operatingPoint->x, -20);
    EXPECT_DOUBLE_EQ(frame->envelope().operatingPoint->y, 50);

    // "Clip" puts the picture on the clipboard
    frame->findChild<QPushButton*>("btnClip")->click();
    EXPECT_FALSE(QApplication::clipboard()->image().isNull());
}

TEST_F(EnvelopeTabTest, WithoutAModelTheTabSaysSoAndClipIsOff) {
    TframeEnv frame;
    frame.setModel(nullptr, OperatingConditions(), ActivityMode::Compressors);
    EXPECT_FALSE(frame.hasEnvelope());
    EXPECT_EQ(frame.findChild<QLabel*>("lblEnvMessage")->text(), "No models available");
    EXPECT_FALSE(frame.findChild<QPushButton*>("btnClip")->isEnabled());
    EXPECT_EQ(CountRed(frame.picture()), 0);

    frame.setModel(nullptr, OperatingConditions(), ActivityMode::SolenoidValves, true);
    EXPECT_EQ(frame.findChild<QLabel*>("lblEnvMessage")->text(),
              "No Envelope available for this model");
}

TEST_F(EnvelopeTabTest, ViewMenuOpensTheRefrigerantProperties) {
    auto window = Start();
    ASSERT_TRUE(window->databaseUsable());
    QString title;
    QString pressure;
    window->setDialogRunner([&](QDialog& dialog) {
        title = dialog.windowTitle();
        if (auto* props = dynamic_cast<TfrmRefPropDlg*>(&dialog))
            pressure = props->valueLabel("lblHighPress")->text().trimmed();
        return int(QDialog::Rejected);
    });
    auto* action = window->findChild<QAction*>("mnuRefProps");
    ASSERT_NE(action, nullptr);
    action->trigger();
    EXPECT_EQ(title, "Refrigerant Properties");
    // R134a condensing at 40 degC: 10.17 bar
    EXPECT_NEAR(pressure.toDouble(), 10.17, 0.1);
}

}  // namespace
}  // namespace kelvra
