// The envelope plot without a window: the axes and pixel mapping, what the picture of a
// compressor holds (envelope bands, special-limit envelopes, the envelope at the running speed),
// and what the painter puts where.

#include "envelope_plot.hpp"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <memory>

#include "compressor.hpp"
#include "data_store.hpp"
#include "unit.hpp"
#include "units.hpp"
#include "selection_fixture.hpp"

namespace kelvra {
namespace {

QApplication& Application() {
    static int argc = 1;
    static char name[] = "envelope_plot_test";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}

struct AxisCase {
    double xMin, xMax, yMin, yMax;
    double xStart, xEnd, yStart, yEnd;
};

TEST(EnvelopeGeometryTest, AxesStartOnRoundValuesAndPassTheEnvelope) {
    const AxisCase cases[] = {
        {-40, 12.5, 10, 65, -40, 15, 10, 70},   // the right edge off the 5 K grid
        {-42, 10, 20, 63, -45, 15, 20, 70},     // condensing 20..63 -> 20..70
        {-40, 15, 10, 60, -40, 20, 10, 70},     // a maximum on a grid line is passed
        {-7.5, 12.5, -5, 45, -10, 15, -10, 50}, // negative condensing start
        {-25, 5, 40, 120, -25, 10, 40, 130},    // pressure axis in bar
    };
    for (const AxisCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.xMin << ".." << c.xMax << " / " << c.yMin << ".."
                                        << c.yMax);
        const EnvelopeGeometry g(c.xMin, c.xMax, c.yMin, c.yMax, QSize(600, 500));
        EXPECT_DOUBLE_EQ(g.xStart(), c.xStart);
        EXPECT_DOUBLE_EQ(g.xEnd(), c.xEnd);
        EXPECT_DOUBLE_EQ(g.yStart(), c.yStart);
        EXPECT_DOUBLE_EQ(g.yEnd(), c.yEnd);
        EXPECT_GT(g.xEnd(), c.xMax - 1e-9);
        EXPECT_GT(g.yEnd(), c.yMax);
    }
}

TEST(EnvelopeGeometryTest, PlotRectangleAndGridFollowTheArea) {
    // wide area: the height is limited by the area height; tall area: by the width
    const EnvelopeGeometry wide(-40, 12.5, 20, 63, QSize(600, 400));
    EXPECT_EQ(wide.plotRect(), QRect(45, 15, 545, 340));
    EXPECT_EQ(wide.columns(), 11);
    EXPECT_EQ(wide.rows(), 5);
    EXPECT_EQ(wide.columnWidth(), (545 - 10) / 11);
    EXPECT_EQ(wide.rowHeight(), (340 - 10) / 5);
    const EnvelopeGeometry tall(-40, 12.5, 20, 63, QSize(400, 900));
    EXPECT_EQ(tall.plotRect(), QRect(45, 15, 345, 345));

    // the grid's corners are the axis ends, and everything lies inside the plot rectangle
    const QRect grid = wide.gridRect();
    EXPECT_TRUE(wide.plotRect().contains(grid));
    const QPointF lowerLeft = wide.toPixel(-40, 20);
    const QPointF upperRight = wide.toPixel(15, 70);
    EXPECT_DOUBLE_EQ(lowerLeft.x(), grid.left());
    EXPECT_DOUBLE_EQ(lowerLeft.y(), grid.top() + grid.height());
    EXPECT_DOUBLE_EQ(upperRight.x(), grid.left() + grid.width());
    EXPECT_DOUBLE_EQ(upperRight.y(), grid.top());

    // -10/45 lies inside; points beyond the axes do not
    EXPECT_TRUE(wide.insidePlot(wide.toPixel(-10, 45)));
    EXPECT_FALSE(wide.insidePlot(wide.toPixel(-60, 45)));
    EXPECT_FALSE(wide.insidePlot(wide.toPixel(-10, 95)));
}

// Counts pixels of a colour (exactly) within a rectangle of the image.
int CountColour(const QImage& image, QColor colour, QRect where = {}) {
    if (where.isNull()) where = image.rect();
    int n = 0;
    for (int y = where.top(); y <= where.bottom(); ++y)
        for (int x = where.left(); x <= where.right(); ++x)
            if (image.pixelColor(x, y) == colour) ++n;
    return n;
}

EnvelopePicture SquarePicture() {
    EnvelopePicture p;
    p.modelName = "TEST";
    p.xMin = -40;
    p.xMax = 12.5;
    p.yMin = 20;
    p.yMax = 63;
    EnvelopeSlot& s = p.legend[0];
    s.present = s.drawn = true;
    s.name = "Standard";
    s.limit = {{-40, 20}, {-40, 50}, {-20, 63}};
    s.boundary = {{12.5, 25}, {12.5, 63}};
    return p;
}

QImage Paint(const EnvelopePicture& picture, QSize size = QSize(600, 400)) {
    Application();
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    PaintEnvelope(painter, size, picture, QColor(0xF0, 0xF0, 0xF0));
    return image;
}

TEST(PaintEnvelopeTest, TheCrossIsRedAtThePointAndOnlyInsideThePlot) {
    EnvelopePicture picture = SquarePicture();
    picture.operatingPoint = EnvelopeXY{-10, 45};
    const QImage inside = Paint(picture);
    const EnvelopeGeometry g(-40, 12.5, 20, 63, QSize(600, 400));
    const QPoint at = g.toPixel(-10, 45).toPoint();
    EXPECT_GT(CountColour(inside, Qt::red, QRect(at - QPoint(7, 7), QSize(15, 15))), 8);

    picture.operatingPoint = EnvelopeXY{-80, 45};  // far left of the axis
    EXPECT_EQ(CountColour(Paint(picture), Qt::red), 0);
    picture.operatingPoint.reset();
    EXPECT_EQ(CountColour(Paint(picture), Qt::red), 0);
}

TEST(PaintEnvelopeTest, LimitLineInSlotColourMaximumLineInBlue) {
    EnvelopePicture picture = SquarePicture();
    const QImage image = Paint(picture);
    const EnvelopeGeometry g(-40, 12.5, 20, 63, QSize(600, 400));
    // the left line between 25 and 45 degC condensing in the colour of slot 1
    const QPoint left = g.toPixel(-40, 35).toPoint();
    EXPECT_GT(CountColour(image, EnvelopeSlotColour(1), QRect(left - QPoint(3, 3), QSize(7, 7))), 0);
    const QPoint right = g.toPixel(12.5, 40).toPoint();
    EXPECT_GT(CountColour(image, Qt::blue, QRect(right - QPoint(3, 3), QSize(7, 7))), 0);

    // an envelope outside its band is not drawn at all
    picture.legend[0].drawn = false;
    EXPECT_EQ(CountColour(Paint(picture), EnvelopeSlotColour(1)), 0);
    EXPECT_EQ(CountColour(Paint(picture), Qt::blue), 0);
}

TEST(PaintEnvelopeTest, SpecialLinesAndTheHatchedRegion) {
    EnvelopePicture picture = SquarePicture();
    picture.maxPowerX = -30;
    picture.maxPressureY = 55;
    picture.extendedRegion = {{-45, 20}, {-40, 21}, {-40, 40}, {-45, 35}};
    picture.xMin = -45;
    const QImage image = Paint(picture);
    const EnvelopeGeometry g(-45, 12.5, 20, 63, QSize(600, 400));
    const QRect plot = g.plotRect();
    // the maximum-power line runs over the full plot height at -30
    const int px = static_cast<int>(g.toPixel(-30, 20).x());
    EXPECT_GT(CountColour(image, Qt::red, QRect(px - 1, plot.top(), 3, plot.height())),
              plot.height() * 3 / 4);
    // the maximum-pressure line across the plot at 55 degC
    const int py = static_cast<int>(g.toPixel(-45, 55).y());
    EXPECT_GT(CountColour(image, Qt::red, QRect(plot.left(), py - 1, plot.width(), 3)),
              plot.width() * 3 / 4);
    // blue hatching inside the region, none left of the axis start
    const QRect region(g.toPixel(-44, 34).toPoint(), g.toPixel(-41, 24).toPoint());
    EXPECT_GT(CountColour(image, Qt::blue, region), 0);
}

// --- the picture of a compressor ---

// The selection fixture plus compressors with several envelope kinds and a variable-speed
// model whose envelopes differ with the speed.
ProductDatabase PlotDatabase() {
    ProductDatabase db = testing::SelectionFixtureDatabase();
    db.suppliesAndTypes.push_back({"Return gas 20", 2, 1, 1, 20.0f, 0.0f});
    db.suppliesAndTypes.push_back({"Maximum power", 3, 0, 5, 20.0f, 0.0f});
    db.suppliesAndTypes.push_back({"Extended", 4, 0, 7, 20.0f, 0.0f});

    RatingSetBuilder set = testing::FixtureSet(40, 1.0);
    set.Envelope(2, 2, {{-25, 15}, {-25, 55}}, {{10, 15}, {10, 55}})
        .Envelope(3, 3, {{-30, 20}, {-30, 60}}, {})
        .Envelope(4, 4, {{-45, 20}, {-40, 21}, {-40, 40}, {-45, 35}}, {});
    db.compressors.push_back(testing::FixtureCompressor(40, "KE-10", 1, testing::kFixtureR134a,
                                                        testing::kSupply50));
    testing::AddFixtureSet(db, set);

    std::array<double, 40> speed{};
    speed[0] = 0.003;
    speed[10] = 0.0012;
    speed[30] = 0.0004;
    RatingSetBuilder vs(41);
    vs.Kind(2)
        .Displacement(0.0085)
        .Coefficients(CoefficientBlock::A, testing::kFixtureCapacity)
        .Coefficients(CoefficientBlock::B, testing::kFixturePower)
        .Coefficients(CoefficientBlock::C, testing::kFixtureCurrent)
        .RatedSuperheat(10.0f)
        .RatedSubcooling(0.0f)
        .VolumetricEfficiencyScale(1.0f)
        .MaxDischargeTemp(140.0)
        .NominalSpeed(3000)
        .SpeedEnvelope(1, 1, 1200, {{-30, 10}, {-30, 60}}, {{15, 10}, {15, 65}})
        .SpeedLevel(1, 1200, {{-30, 10}, {-30, 60}}, {{15, 10}, {15, 65}})
        .SpeedLevel(1, 7200, {{-40, 10}, {-40, 60}}, {{15, 10}, {15, 65}})
        .SpeedPolynomials(speed);
    db.compressors.push_back(testing::FixtureCompressor(41, "KW-10", 3, testing::kFixtureR134a,
                                                        testing::kSupply50));
    testing::AddFixtureSet(db, vs);

    // the fixture's condensing unit held below 15 bar
    db.condensingUnits.front().maxCondensingPressure = 15.0f;
    return db;
}

class EnvelopePictureTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(libraries.loaded.general);
        WriteProductDatabase(folder.path(), PlotDatabase());
        store = std::make_unique<TdataStore>(DatabaseSources{folder.path(), nullptr});
        ASSERT_TRUE(store->Valid() && !store->Missing())
            << (store->Problems().empty() ? "" : store->Problems().front());
        conditions.evapTemp = -10;
        conditions.condTemp = 40;
        conditions.superheat = 10;
        conditions.useSGR = false;
        Resolve(conditions, store->FindRefrigerantByName("R134a"));
    }

    TComp* Compressor(const std::string& name) const {
        for (const auto& c : store->Compressors())
            if (c->name == name) return c.get();
        ADD_FAILURE() << name;
        return nullptr;
    }

    testing::PropertyLibraries libraries;
    testing::ScratchFolder folder;
    std::unique_ptr<TdataStore> store;
    OperatingConditions conditions;
};

TEST_F(EnvelopePictureTest, SlotsBandsAndSpecialLimits) {
    TComp* comp = Compressor("KE-10");
    ASSERT_NE(comp, nullptr);
    EnvelopePicture p;
    ASSERT_TRUE(BuildEnvelopePicture(*comp, nullptr, conditions, ActivityMode::Compressors, p));
    EXPECT_EQ(p.modelName, "KE-10");
    EXPECT_FALSE(p.pressureAxis);
    EXPECT_TRUE(p.legend[0].drawn);
    EXPECT_EQ(p.legend[0].name, "Standard");
    ASSERT_EQ(p.legend[0].limit.size(), 2u);
    EXPECT_DOUBLE_EQ(p.legend[0].limit[0].x, -40);
    EXPECT_DOUBLE_EQ(p.legend[0].boundary.back().y, 65);
    // return gas -10 + 10 = 0 degC lies below the 20 degC limit of envelope 2
    EXPECT_TRUE(p.legend[1].drawn);
    EXPECT_EQ(p.legend[1].name, "Return gas 20");
    // the special-limit envelopes are no legend legend
    EXPECT_FALSE(p.legend[2].present);
    EXPECT_FALSE(p.legend[3].present);
    ASSERT_TRUE(p.maxPowerX.has_value());
    EXPECT_DOUBLE_EQ(*p.maxPowerX, -30);
    EXPECT_EQ(p.extendedRegion.size(), 4u);
    // the axes reach the extended region left of the envelopes
    EXPECT_DOUBLE_EQ(p.xMin, -45);
    EXPECT_DOUBLE_EQ(p.xMax, 15);
    ASSERT_TRUE(p.operatingPoint.has_value());
    EXPECT_DOUBLE_EQ(p.operatingPoint->x, -10);
    EXPECT_DOUBLE_EQ(p.operatingPoint->y, 40);

    // 35 K superheat: return gas 25 degC is beyond envelope 2's band, and the 35 K beyond the
    // fixture type's 30 K: neither is drawn
    OperatingConditions hot = conditions;
    hot.superheat = 35;
    Resolve(hot, comp->refrigerant);
    ASSERT_TRUE(BuildEnvelopePicture(*comp, nullptr, hot, ActivityMode::Compressors, p));
    EXPECT_TRUE(p.legend[0].present);
    EXPECT_FALSE(p.legend[0].drawn);
    EXPECT_FALSE(p.legend[1].drawn);
    EXPECT_FALSE(p.anyDrawn());
}

TEST_F(EnvelopePictureTest, VariableSpeedEnvelopeFollowsTheSpeed) {
    TComp* comp = Compressor("KW-10");
    ASSERT_NE(comp, nullptr);
    EnvelopePicture p;
    comp->SetSpeed(2000);  // in the base range
    ASSERT_TRUE(BuildEnvelopePicture(*comp, nullptr, conditions, ActivityMode::Compressors, p));
    ASSERT_FALSE(p.legend[0].limit.empty());
    EXPECT_DOUBLE_EQ(p.legend[0].limit.front().x, -30);

    comp->SetSpeed(7200);  // the highest level
    ASSERT_TRUE(BuildEnvelopePicture(*comp, nullptr, conditions, ActivityMode::Compressors, p));
    EXPECT_DOUBLE_EQ(p.legend[0].limit.front().x, -40);

    comp->SetSpeed(5100);  // between the nominal speed and the highest level
    ASSERT_TRUE(BuildEnvelopePicture(*comp, nullptr, conditions, ActivityMode::Compressors, p));
    EXPECT_LT(p.legend[0].limit.front().x, -30);
    EXPECT_GT(p.legend[0].limit.front().x, -40);
}

TEST_F(EnvelopePictureTest, CondensingUnitPointAndMaximumPressureLine) {
    ASSERT_FALSE(store->CondensingUnits().empty());
    Tunit* unit = store->CondensingUnits().front().get();
    ASSERT_NE(unit->compressor, nullptr);
    OperatingConditions c = conditions;
    c.ambientTemp = 32;
    ASSERT_GE(unit->Evaluate(c, ActivityMode::CondensingUnits), 0);
    EnvelopePicture p;
    ASSERT_TRUE(BuildEnvelopePicture(*unit->compressor, unit, c, ActivityMode::CondensingUnits, p));
    EXPECT_EQ(p.modelName, unit->name);
    // the cross sits at the unit's own condensing temperature, not at the conditions' one
    ASSERT_TRUE(p.operatingPoint.has_value());
    EXPECT_DOUBLE_EQ(p.operatingPoint->y, unit->Result(quantity::CondensingTemp));
    EXPECT_GT(p.operatingPoint->y, 32);
    // the red line at the saturation temperature of 15 bar (R134a: about 55 degC)
    ASSERT_TRUE(p.maxPressureY.has_value());
    EXPECT_NEAR(*p.maxPressureY, unit->compressor->refrigerant->DewTemperature(15.0), 1e-6);
    EXPECT_NEAR(*p.maxPressureY, 55.2, 0.5);

    // a failed balance leaves no point to mark
    unit->SetStatus(-12);
    ASSERT_TRUE(BuildEnvelopePicture(*unit->compressor, unit, c, ActivityMode::CondensingUnits, p));
    EXPECT_FALSE(p.operatingPoint.has_value());
}

TEST_F(EnvelopePictureTest, WhichCompressorEachModeDraws) {
    TComp* comp = Compressor("KS-10");
    EXPECT_EQ(EnvelopeCompressor(comp, ActivityMode::Compressors), comp);
    EXPECT_EQ(EnvelopeCompressor(comp, ActivityMode::HeatPumpCompressors), comp);
    EXPECT_EQ(EnvelopeCompressor(comp, ActivityMode::ExpansionValves), nullptr);
    EXPECT_EQ(EnvelopeCompressor(nullptr, ActivityMode::Compressors), nullptr);
    ASSERT_FALSE(store->CondensingUnits().empty());
    TCModel* unit = store->CondensingUnits().front().get();
    EXPECT_NE(EnvelopeCompressor(unit, ActivityMode::CondensingUnits), nullptr);
    EXPECT_EQ(EnvelopeCompressor(unit, ActivityMode::Compressors), nullptr);
}

}  // namespace
}  // namespace kelvra
