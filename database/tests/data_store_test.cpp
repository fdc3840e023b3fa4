#include "data_store.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "database_fixture.hpp"
#include "language_texts.hpp"

namespace kelvra {
namespace {

using testing::BuildLibraries;
using testing::FixtureDatabase;
using testing::kFixtureDate;
using testing::TempFolder;

class FixedCustomFamilies : public CustomFamilySource {
  public:
    std::vector<CustomFamilyRecord> families;
    std::vector<CustomFamilyRecord> CustomFamilies() const override { return families; }
};

// A store loaded from a database written into a temporary folder.
class StoreTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { libraries_ = std::make_unique<BuildLibraries>(); }
    static void TearDownTestSuite() { libraries_.reset(); }

    std::unique_ptr<TdataStore> Load(const ProductDatabase& db,
                                     const CustomFamilySource* custom = nullptr) {
        WriteProductDatabase(folder_.path(), db);
        return Reload(custom);
    }
    std::unique_ptr<TdataStore> Reload(const CustomFamilySource* custom = nullptr) {
        return std::make_unique<TdataStore>(DatabaseSources{folder_.path(), custom});
    }
    std::filesystem::path FileOf(DatabaseFile file) const {
        return folder_.path() / DatabaseFileName(file);
    }

    static const TComp* Named(const TdataStore& store, std::string_view name) {
        for (const auto& comp : store.Compressors()) {
            if (comp->name == name) return comp.get();
        }
        return nullptr;
    }
    static const Tunit* UnitNamed(const TdataStore& store, std::string_view name) {
        for (const auto* list : {&store.CondensingUnits(), &store.NetworkUnits()}) {
            for (const auto& unit : *list) {
                if (unit->name == name) return unit.get();
            }
        }
        return nullptr;
    }
    static std::vector<std::string> Names(const std::vector<TCModel*>& list) {
        std::vector<std::string> names;
        for (const TCModel* model : list) names.push_back(model->name);
        return names;
    }

    TempFolder folder_;
    static std::unique_ptr<BuildLibraries> libraries_;
};

std::unique_ptr<BuildLibraries> StoreTest::libraries_;

TEST_F(StoreTest, FixtureLoadsValidWithItsVersionLabel) {
    ASSERT_TRUE(libraries_->loaded.general && libraries_->loaded.co2);
    const auto store = Load(FixtureDatabase());
    EXPECT_TRUE(store->Valid()) << ::testing::PrintToString(store->Problems());
    EXPECT_FALSE(store->Missing());
    EXPECT_EQ(store->Date(), kFixtureDate);
    EXPECT_EQ(store->VersionLabel(), " 7.7  / 45292 (01/24)");
    EXPECT_EQ(DatabaseVersionLabel(), " 7.7  / 45292 (01/24)");
}

TEST(DatabaseVersionLabel, FormatsDayNumbersAndRefusesImpossibleDates) {
    const struct {
        double date;
        const char* label;
    } cases[] = {
        {0.0, " 7.7  / 0 (12/99)"},              // 30 December 1899
        {2.0, " 7.7  / 2 (01/00)"},              // 1 January 1900
        {45351.0, " 7.7  / 45351 (02/24)"},      // 29 February 2024
        {36616.75, " 7.7  / 36617 (03/00)"},     // 31 March 2000, evening
        {-693593.0, " 7.7  / -693593 (01/01)"},  // 1 January of the year 1
        {3.0e6, " 7.7  / 3000000 (00/00)"},      // after 9999
        {std::nan(""), " 7.7  / nan (00/00)"},
    };
    for (const auto& c : cases) EXPECT_EQ(DatabaseVersionLabelFor(c.date), c.label) << c.date;
}

TEST_F(StoreTest, FamiliesDropCategoriesNineAndNineteenAfterRounding) {
    const auto store = Load(FixtureDatabase());
    std::vector<std::pair<char, int>> loaded;
    for (const auto& family : store->Families()) loaded.emplace_back(family->kind, family->code);
    const std::vector<std::pair<char, int>> expected{{'C', 1},  {'C', 2},  {'H', 5},  {'C', 12},
                                                     {'U', 1},  {'U', 22}, {'V', 1},  {'V', 4},
                                                     {'P', 70}, {'P', 71}, {'P', 72}, {'P', 73}};
    EXPECT_EQ(loaded, expected);
    const TFamily* builtIn = store->FindFamily(72, 'P');
    ASSERT_NE(builtIn, nullptr);
    EXPECT_EQ(builtIn->name, "My Air/Water Heat Pumps");
    EXPECT_EQ(builtIn->subLetter, 'C');
    EXPECT_EQ(builtIn->category, 11.0f);
}

TEST_F(StoreTest, RefrigerantsAreInitialisedWithTheirFlags) {
    const auto store = Load(FixtureDatabase());
    ASSERT_EQ(store->Refrigerants().size(), 3u);
    const Trefrigerant* r404a = store->FindRefrigerant(5);
    ASSERT_NE(r404a, nullptr);
    EXPECT_EQ(r404a->name, "R404A");
    EXPECT_EQ(r404a->basis, 'D');  // 'G' becomes 'D'
    EXPECT_TRUE(r404a->initialised);
    EXPECT_FLOAT_EQ(r404a->exponent, 1.12f);
    const Trefrigerant* co2 = store->FindRefrigerantByName("r744");
    ASSERT_NE(co2, nullptr);
    EXPECT_TRUE(co2->isCO2);
    EXPECT_NEAR(co2->criticalTemperature, 30.98, 0.05);
    EXPECT_EQ(store->FindRefrigerant(77), nullptr);
    EXPECT_EQ(store->FindRefrigerantByName("R22"), nullptr);
}

TEST_F(StoreTest, CompressorsTakeTheirRecordFieldsAndSkipUnusableRecords) {
    const auto store = Load(FixtureDatabase());
    std::vector<std::int32_t> ids;
    for (const auto& comp : store->Compressors()) ids.push_back(comp->key);
    // 104 (no set A), 105 (refrigerant), 106 (supply) skipped; 107 lost its set A.
    EXPECT_EQ(ids, (std::vector<std::int32_t>{100, 101, 102, 103, 110, 110, 110, 120}));

    const TComp* zx21 = Named(*store, "ZX21");
    ASSERT_NE(zx21, nullptr);
    EXPECT_EQ(zx21->classLetter, 'C');
    EXPECT_EQ(zx21->modelLetter, 'C');
    EXPECT_EQ(zx21->familyNumber, 1);
    EXPECT_EQ(zx21->family, store->FindFamily(1, 'C'));
    EXPECT_EQ(zx21->refrigerant, store->FindRefrigerant(5));
    EXPECT_EQ(zx21->supply, store->FindSupply(1));
    EXPECT_EQ(zx21->supplyNumber, 1);
    EXPECT_FLOAT_EQ(zx21->capacityFactor, 1.05f);
    EXPECT_FLOAT_EQ(zx21->powerFactorMultiplier, 0.98f);
    EXPECT_FLOAT_EQ(zx21->currentFactor, 1.0f);
    EXPECT_TRUE(zx21->showsHeatingCapacity);  // rating byte 12: class 1, even
    EXPECT_EQ(zx21->motorCodes[0], 1);
    EXPECT_EQ(zx21->motorCodes[1], 2);
    EXPECT_EQ(zx21->ratingSetA, store->RatingSet(1));
    EXPECT_EQ(zx21->ratingSetB, store->RatingSet(2));
    EXPECT_EQ(zx21->ratingSetC, nullptr);

    const CompressorRecordData* data = store->CompressorData(*zx21);
    ASSERT_NE(data, nullptr);
    EXPECT_FLOAT_EQ(data->massFlowFactor, 1.01f);
    EXPECT_EQ(data->secondNumber, 4321);
    EXPECT_EQ(data->ratingClass, 1);
    EXPECT_EQ(data->applicationMask, 1);
    EXPECT_EQ(store->KeysOf(*zx21).mKey, 600);
    EXPECT_EQ(store->KeysOf(*zx21).rKey, 500);
    EXPECT_EQ(store->DrawingNumber(*zx21), 7);

    // The heat-pump compressor's family answers the compressor kind as well.
    const TComp* zh40 = Named(*store, "ZH40");
    ASSERT_NE(zh40, nullptr);
    ASSERT_NE(zh40->family, nullptr);
    EXPECT_EQ(zh40->family->kind, 'H');
    EXPECT_EQ(store->HighestRatingSetIndex(), 9);
}

TEST(RatingByte, GivesClassAndHeatingFlag) {
    const struct {
        std::uint8_t value;
        int ratingClass;
        bool heating;
    } cases[] = {{0, 0, false},  {4, 4, false}, {9, 9, false},  {10, 1, true},
                 {11, 1, false}, {12, 1, true}, {25, 2, false}, {255, 25, false}};
    for (const auto& c : cases) {
        const RatingByte r = DecodeRatingByte(c.value);
        EXPECT_EQ(r.ratingClass, c.ratingClass) << int{c.value};
        EXPECT_EQ(r.heating, c.heating) << int{c.value};
    }
}

TEST_F(StoreTest, RatingSetsAreFinishedAsTheLoaderDoes) {
    const auto store = Load(FixtureDatabase());
    // The first record of an index wins over a later one.
    const TcrateObj* set1 = store->RatingSet(1);
    ASSERT_NE(set1, nullptr);
    EXPECT_DOUBLE_EQ(set1->Displacement(), 0.001);
    // Envelope 2 had only a left line and is of kind 5: it became special-limit envelope 1.
    ASSERT_NE(set1->Envelope(1), nullptr);
    EXPECT_EQ(set1->Envelope(1)->LeftLine().size(), 2u);
    EXPECT_EQ(set1->Envelope(1)->type, store->FindEnvelopeType(1));
    EXPECT_EQ(set1->Envelope(2), nullptr);
    EXPECT_EQ(set1->EnvelopeId(2), 0);
    ASSERT_NE(set1->SpecialLimitEnvelope(1), nullptr);
    EXPECT_EQ(set1->SpecialLimitEnvelope(1)->LeftLine().size(), 2u);
    // Envelope points are stamped with the set's basis.
    EXPECT_EQ(set1->Envelope(1)->LeftLine().front()->basis, 'M');
    // Speed data and inverter data.
    ASSERT_NE(set1->SpeedPolynomials(), nullptr);
    EXPECT_EQ(set1->Inverter(), nullptr);
    const TcrateObj* set3 = store->RatingSet(3);
    ASSERT_NE(set3, nullptr);
    ASSERT_NE(set3->Inverter(), nullptr);
    EXPECT_TRUE(set3->Envelope(1)->speedBands);
    // A point at -99 is not loaded.
    EXPECT_EQ(store->RatingSet(2)->Envelope(1)->LeftLine().size(), 2u);
    // Volumetric-efficiency scale completed; the CO2 set's envelopes on the pressure axis.
    EXPECT_FLOAT_EQ(set1->VolumetricEfficiencyScale(), 1.0f);
    ASSERT_NE(store->RatingSet(6), nullptr);
    EXPECT_TRUE(store->RatingSet(6)->Envelope(1)->pressureAxis);
    EXPECT_FALSE(set1->Envelope(1)->pressureAxis);
    EXPECT_EQ(store->RatingSet(9), nullptr);
    EXPECT_EQ(store->RatingSet(0), nullptr);
    EXPECT_EQ(store->RatingSet(10), nullptr);
}

TEST_F(StoreTest, UnitsAttachToTheLastCompressorWithTheirLetterOrC) {
    const auto store = Load(FixtureDatabase());
    const struct {
        const char* unit;
        const char* compressor;
    } cases[] = {
        {"CU-200", "ZS50-C"},  // letters A, C, B: 'C' is the last that fits 'A'
        {"CU-201", "ZS50-B"},  // 'B' itself is the last that fits 'B'
        {"CU-202", "ZX21"},
    };
    for (const auto& c : cases) {
        const Tunit* unit = UnitNamed(*store, c.unit);
        ASSERT_NE(unit, nullptr) << c.unit;
        ASSERT_NE(unit->compressor, nullptr) << c.unit;
        EXPECT_EQ(unit->compressor->name, c.compressor) << c.unit;
        EXPECT_EQ(unit->compressorName, c.compressor) << c.unit;
    }
    EXPECT_EQ(UnitNamed(*store, "CU-203"), nullptr);  // no such compressor

    const Tunit* cu200 = UnitNamed(*store, "CU-200");
    EXPECT_EQ(cu200->classLetter, 'U');
    EXPECT_EQ(cu200->key, 200);
    EXPECT_EQ(cu200->compressorId, 110);
    EXPECT_EQ(cu200->modelLetter, 'A');
    EXPECT_EQ(cu200->family, store->FindFamily(1, 'U'));
    EXPECT_EQ(cu200->refrigerant, store->FindRefrigerant(5));
    EXPECT_EQ(cu200->refrigerantNumber, 5);
    EXPECT_EQ(cu200->supply, store->FindSupply(1));
    EXPECT_DOUBLE_EQ(cu200->condenserRating, 1.5);
    EXPECT_DOUBLE_EQ(cu200->fanPower, 150.0);
    EXPECT_DOUBLE_EQ(cu200->maxCondensingPressure, 28.0);
    EXPECT_EQ(cu200->ratingClass, 1);
    EXPECT_EQ(cu200->motorCodes[0], 2);
    const ModelKeys keys = store->KeysOf(*cu200);
    EXPECT_EQ(keys.id, 200);
    EXPECT_EQ(keys.mKey, 40);
    EXPECT_EQ(keys.rKey, 40);
}

TEST_F(StoreTest, UnitsOfACompressorLeftOutGoWithIt) {
    const auto store = Load(FixtureDatabase());
    EXPECT_EQ(Named(*store, "ZX99"), nullptr);
    EXPECT_EQ(UnitNamed(*store, "CU-207"), nullptr);
    EXPECT_EQ(UnitNamed(*store, "NET-Z30-NLO-1"), nullptr);
    for (const auto* list : {&store->CondensingUnits(), &store->NetworkUnits()}) {
        for (const auto& unit : *list) {
            ASSERT_NE(unit->compressor, nullptr);
            EXPECT_NE(unit->compressor->ratingSetA, nullptr) << unit->name;
        }
    }
    for (const auto& group : store->NetworkGroups()) {
        for (const Tunit* slot : group->masters) EXPECT_TRUE(slot == nullptr || slot->compressor);
    }
}

TEST_F(StoreTest, NetworkUnitsFormGroupsByBaseNameAndSuffix) {
    const auto store = Load(FixtureDatabase());
    EXPECT_EQ(store->CondensingUnits().size(), 3u);
    EXPECT_EQ(store->NetworkUnits().size(), 7u);

    auto group = [&](std::string_view name) -> const TnetObj* {
        for (const auto& g : store->NetworkGroups()) {
            if (g->name == name) return g.get();
        }
        return nullptr;
    };
    const TnetObj* d10 = group("NET-D10");
    ASSERT_NE(d10, nullptr);
    EXPECT_EQ(d10->dFlag, 1);
    EXPECT_EQ(d10->tFlag, 1);  // "NET" holds a T
    EXPECT_EQ(d10->refrigerantCode, 5);
    EXPECT_EQ(d10->supplyCode, 1);
    ASSERT_NE(d10->masters[TnetObj::kMasterOneSlave], nullptr);
    EXPECT_EQ(d10->masters[TnetObj::kMasterOneSlave]->name, "NET-D10-NLO-1");
    EXPECT_EQ(d10->masters[TnetObj::kMasterSeveralSlaves]->name, "NET-D10-NO-2");
    EXPECT_EQ(d10->slaves[TnetObj::kSlaveOfOne]->name, "net-d10-NL-3");  // base name ignoring case
    EXPECT_EQ(d10->slaves[TnetObj::kSlaveOfSeveral]->name, "NET-D10-N-4");
    EXPECT_TRUE(UnitNamed(*store, "NET-D10-NLO-1")->master);
    EXPECT_TRUE(UnitNamed(*store, "NET-D10-NO-2")->master);
    EXPECT_FALSE(UnitNamed(*store, "net-d10-NL-3")->master);

    // Fewer than three hyphens: a group, but no slot.
    const struct {
        const char* unit;
        const char* group;
    } slotless[] = {{"NET-T20-NLO", "NET-T20"}, {"-NET-X", "-NET-X"}, {"NET-M5-nl-1", "NET-M5"}};
    for (const auto& c : slotless) {
        const TnetObj* g = group(c.group);
        ASSERT_NE(g, nullptr) << c.group;
        EXPECT_EQ(g->masters, (std::array<Tunit*, 2>{})) << c.group;
        EXPECT_EQ(g->slaves, (std::array<Tunit*, 2>{})) << c.group;
        EXPECT_FALSE(UnitNamed(*store, c.unit)->master) << c.unit;
    }
    // A network unit of a compressor without an application mask gets mask 3.
    EXPECT_EQ(UnitNamed(*store, "NET-M5-nl-1")->applicationMask, 3);
    EXPECT_EQ(UnitNamed(*store, "NET-D10-N-4")->applicationMask, 1);
}

TEST_F(StoreTest, ControlsValvesFindTheLastGroupWithTheirId) {
    const auto store = Load(FixtureDatabase());
    ASSERT_EQ(store->OrdaGroups().size(), 3u);
    EXPECT_EQ(store->OrdaGroups()[0]->RowCount(), 2);
    EXPECT_EQ(store->OrdaGroups()[0]->ColumnCount(), 3);
    EXPECT_DOUBLE_EQ(store->OrdaGroups()[0]->rowOrigin, -40.0);

    std::vector<std::int32_t> ids;
    for (const auto& valve : store->Valves()) ids.push_back(valve->key);
    EXPECT_EQ(ids, (std::vector<std::int32_t>{300, 301, 304}));  // 302, 303 left out
    const Tvalve& tx1 = *store->Valves()[0];
    EXPECT_EQ(tx1.classLetter, 'V');
    EXPECT_EQ(tx1.name, "TX-1");
    EXPECT_EQ(tx1.secondName, "Orifice 1");
    ASSERT_NE(tx1.correctionGroup, nullptr);
    EXPECT_EQ(tx1.correctionGroup->typeLetter, 'T');  // the later group with id 1
    EXPECT_EQ(tx1.family, store->FindFamily(1, 'V'));
    EXPECT_FLOAT_EQ(tx1.nominalCapacity, 5.0f);
    EXPECT_FLOAT_EQ(tx1.secondValue, 0.5f);

    std::vector<Tvalve*> found;
    store->FindOrdaValvesForRefrigerant(found, 5);
    EXPECT_EQ(found.size(), 2u);
    store->FindOrdaValvesForRefrigerant(found, 1);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0]->key, 304);
}

// Date mismatches: every dated file after the main header makes the database invalid, yet it
// is still read.
TEST_F(StoreTest, AHeaderDateOtherThanTheDatabaseDateInvalidatesButStillReads) {
    const DatabaseFile dated[] = {
        DatabaseFile::SuppliesAndTypes,   DatabaseFile::MotorCodes,
        DatabaseFile::Compressors,        DatabaseFile::CondensingUnits,
        DatabaseFile::CompressorTechData, DatabaseFile::UnitTechData,
        DatabaseFile::OrdaCorrections,    DatabaseFile::OrdaModels,
        DatabaseFile::OrdaTechData,       DatabaseFile::EnvelopePoints,
        DatabaseFile::RatingSets,
    };
    for (const DatabaseFile file : dated) {
        ProductDatabase db = FixtureDatabase();
        db.headerDates[file] = kFixtureDate + 1;
        const auto store = Load(db);
        EXPECT_FALSE(store->Valid()) << DatabaseFileName(file);
        EXPECT_FALSE(store->Missing()) << DatabaseFileName(file);
        EXPECT_FALSE(store->Problems().empty());
        // Files up to the controls are read all the same.
        EXPECT_EQ(store->Supplies().size(), 3u) << DatabaseFileName(file);
        EXPECT_EQ(
            store->Compressors().size(),
            file == DatabaseFile::EnvelopePoints || file == DatabaseFile::RatingSets ? 8u : 9u)
            << DatabaseFileName(file);
        EXPECT_EQ(store->Valves().size(), 3u) << DatabaseFileName(file);
    }
}

TEST_F(StoreTest, OptionalFilesMayBeMissingOthersNot) {
    const struct {
        DatabaseFile file;
        bool valid;
    } cases[] = {
        {DatabaseFile::SpeedData, true},       {DatabaseFile::Drawings, true},
        {DatabaseFile::Compressors, false},    {DatabaseFile::Headings, false},
        {DatabaseFile::Accessories, false},    {DatabaseFile::OrdaTechData, false},
        {DatabaseFile::EnvelopePoints, false}, {DatabaseFile::RatingSets, false},
    };
    for (const auto& c : cases) {
        WriteProductDatabase(folder_.path(), FixtureDatabase());
        std::filesystem::remove(FileOf(c.file));
        const auto store = Reload();
        EXPECT_EQ(store->Valid(), c.valid) << DatabaseFileName(c.file);
        EXPECT_FALSE(store->Missing()) << DatabaseFileName(c.file);
    }
    // Without speed data the sets have none; without the index there are no drawings.
    WriteProductDatabase(folder_.path(), FixtureDatabase());
    std::filesystem::remove(FileOf(DatabaseFile::SpeedData));
    std::filesystem::remove(FileOf(DatabaseFile::Drawings));
    const auto store = Reload();
    EXPECT_TRUE(store->Valid());
    EXPECT_EQ(store->RatingSet(1)->SpeedPolynomials(), nullptr);
    EXPECT_TRUE(store->Drawings('C').empty());
    EXPECT_TRUE(store->DrawingPath(7, 'C').empty());
}

TEST_F(StoreTest, AnUnreadableMainHeaderLeavesTheDatabaseMissing) {
    const struct {
        const char* what;
        std::int16_t formatCode;
        bool removeHeader;
        bool noRefrigerants;
    } cases[] = {
        {"wrong format code", 759, false, false},
        {"no header file", kDatabaseFormatCode, true, false},
        {"no refrigerants", kDatabaseFormatCode, false, true},
    };
    for (const auto& c : cases) {
        ProductDatabase db = FixtureDatabase();
        db.formatCode = c.formatCode;
        if (c.noRefrigerants)
            std::erase_if(db.header, [](const HeaderRow& r) { return r.marker == 'R'; });
        WriteProductDatabase(folder_.path(), db);
        if (c.removeHeader) std::filesystem::remove(FileOf(DatabaseFile::Header));
        const auto store = Reload();
        EXPECT_TRUE(store->Missing()) << c.what;
        EXPECT_TRUE(store->Compressors().empty()) << c.what;
        EXPECT_TRUE(store->Supplies().empty()) << c.what;
        EXPECT_TRUE(store->Drawings('C').empty()) << c.what;
        EXPECT_FALSE(store->Problems().empty()) << c.what;
        if (!c.noRefrigerants) {
            EXPECT_FALSE(store->Valid()) << c.what;
        }
        // The label tells the date of the database just read, none when there was no header.
        EXPECT_EQ(DatabaseVersionLabel(), c.removeHeader ? "" : " 7.7  / 45292 (01/24)") << c.what;
    }
}

TEST_F(StoreTest, FileNamesAreFoundWithoutRegardToCase) {
    WriteProductDatabase(folder_.path(), FixtureDatabase());
    for (const DatabaseFile file : AllDatabaseFiles()) {
        std::string upper = DatabaseFileName(file);
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        std::filesystem::rename(FileOf(file), folder_.path() / upper);
    }
    const auto store = Reload();
    EXPECT_TRUE(store->Valid()) << ::testing::PrintToString(store->Problems());
    EXPECT_EQ(store->Compressors().size(), 8u);
    EXPECT_EQ(store->Drawings('C').size(), 3u);
}

TEST_F(StoreTest, AShortLastRecordInvalidatesButKeepsTheWholeRecords) {
    WriteProductDatabase(folder_.path(), FixtureDatabase());
    auto bytes = testing::ReadBytes(FileOf(DatabaseFile::Compressors));
    bytes.resize(bytes.size() - 10);  // the last compressor ("CO2-1") is cut short
    testing::WriteBytes(FileOf(DatabaseFile::Compressors), bytes);
    const auto store = Reload();
    EXPECT_FALSE(store->Valid());
    EXPECT_NE(Named(*store, "ZS50-B"), nullptr);
    EXPECT_EQ(Named(*store, "CO2-1"), nullptr);
}

TEST_F(StoreTest, AMissingPropertyLibraryMakesTheDatabaseUnusable) {
    TempFolder onlyGeneral;
    const std::string general = PropertyLibraryFileName(PropertyLibraryKind::General);
    std::filesystem::copy_file(std::filesystem::path(InstallationFolder()) / general,
                               onlyGeneral.path() / general);
    WriteProductDatabase(folder_.path(), FixtureDatabase());
    LoadPropertyLibraries(onlyGeneral.path().string());
    const auto store = Reload();
    libraries_.reset();  // back to both libraries
    libraries_ = std::make_unique<BuildLibraries>();
    EXPECT_FALSE(store->Valid());
    // Reading the header stopped at R744: the refrigerants before it are there.
    EXPECT_EQ(store->Refrigerants().size(), 2u);
    EXPECT_EQ(store->FindRefrigerant(10), nullptr);
    ASSERT_FALSE(store->Problems().empty());
    EXPECT_NE(store->Problems().front().find("R744"), std::string::npos);
}

TEST_F(StoreTest, LookUpsAnswerFirstOrLastAsEachShould) {
    const auto store = Load(FixtureDatabase());
    const TenvObj* type = store->FindEnvelopeType(1);
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->name, "Standard revised");  // the last with the id
    EXPECT_EQ(store->FindEnvelopeType(3), nullptr);
    ASSERT_NE(store->FindSupply(2), nullptr);
    EXPECT_EQ(store->FindSupply(2)->frequency, 60);
    EXPECT_EQ(store->FindSupply(2)->FrequencyText(), "60Hz");
    EXPECT_EQ(store->FindSupply(2)->dataLabel, "Data at 60Hz");
    EXPECT_EQ(store->FindSupply(1)->dataLabel, "Data at 50Hz");
    EXPECT_EQ(store->FindSupply(4), nullptr);
    EXPECT_EQ(store->EnvelopeTypes().size(), 4u);
    EXPECT_EQ(store->FindFamily(5, 'C'), store->FindFamily(5, 'H'));  // H answers C
    EXPECT_EQ(store->FindFamily(1, 'H'), nullptr);
    EXPECT_EQ(store->FindFamily(1, 'U')->name, "Indoor Units");
    ASSERT_NE(store->FindMotorCode(2), nullptr);
    EXPECT_EQ(store->FindMotorCode(2)->Code(), "PFJ");
    EXPECT_EQ(store->FindMotorCode(3), nullptr);
}

TEST_F(StoreTest, NextMotorCodeAlwaysAdvances) {
    const auto store = Load(FixtureDatabase());
    std::array<std::uint8_t, 20> slots{};
    slots[0] = 2;
    slots[1] = 0;
    slots[2] = 7;  // no such code
    slots[19] = 1;
    const struct {
        int position;
        std::int32_t id;  // 0: none
    } cases[] = {{0, 2}, {1, 0}, {2, 0}, {19, 1}, {20, 0}, {25, 0}, {-1, 0}};
    for (const auto& c : cases) {
        int position = c.position;
        const TmotorObj* code = store->NextMotorCode(slots, position);
        EXPECT_EQ(code != nullptr ? code->Id() : 0, c.id) << c.position;
        EXPECT_EQ(position, c.position + 1);
    }
}

TEST_F(StoreTest, CandidatesByModeRefrigerantSupplyFamilyAndMask) {
    const auto store = Load(FixtureDatabase());
    FamilySelection all;
    for (int code : {1, 2, 4, 5, 12, 22, 70, 72}) all.Add(code);
    std::vector<TCModel*> list;
    const struct {
        const char* what;
        ActivityMode mode;
        std::int32_t refrigerant;
        std::int32_t supply;
        bool network;
        std::uint32_t mask;
        std::vector<std::string> names;
    } cases[] = {
        {"compressors",
         ActivityMode::Compressors,
         5,
         1,
         false,
         0,
         {"ZX21", "ZX30", "ZS50-A", "ZS50-C", "ZS50-B"}},
        {"mask 2", ActivityMode::Compressors, 5, 1, false, 2, {"ZX30"}},
        {"mask 3", ActivityMode::Compressors, 5, 1, false, 3, {"ZX21", "ZX30"}},
        {"60 Hz", ActivityMode::Compressors, 5, 2, false, 0, {"zx21"}},
        {"CO2", ActivityMode::Compressors, 10, 1, false, 0, {"CO2-1"}},
        {"heat-pump family only in mode 2", ActivityMode::Compressors, 1, 1, false, 0, {}},
        {"heat-pump compressors", ActivityMode::HeatPumpCompressors, 1, 1, false, 0, {"ZH40"}},
        {"units", ActivityMode::CondensingUnits, 5, 1, false, 0, {"CU-200", "CU-201", "CU-202"}},
        {"units, mask 1", ActivityMode::CondensingUnits, 5, 1, false, 1, {"CU-202"}},
        {"network units",
         ActivityMode::CondensingUnits,
         5,
         1,
         true,
         0,
         {"NET-D10-NLO-1", "NET-D10-NO-2", "net-d10-NL-3", "NET-D10-N-4", "NET-T20-NLO", "-NET-X",
          "NET-M5-nl-1"}},
        {"expansion valves", ActivityMode::ExpansionValves, 5, 0, false, 0, {"TX-1", "SV-1"}},
        {"filter driers", ActivityMode::FilterDriers, 1, 0, false, 0, {"TX-1 R134a"}},
        {"heat pumps (none yet)", ActivityMode::AirWaterHeatPumps, 5, 1, false, 0, {}},
    };
    for (const auto& c : cases) {
        store->SelectCandidates(list, c.refrigerant, c.network, c.supply, all, c.mask, c.mode);
        EXPECT_EQ(Names(list), c.names) << c.what;
    }

    // Families not ticked are left out; a family code above 255 never matches.
    FamilySelection only2;
    only2.Add(2);
    store->SelectCandidates(list, 5, false, 1, only2, 0, ActivityMode::Compressors);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"ZX30"}));
    FamilySelection none;
    store->SelectCandidates(list, 5, false, 1, none, 0, ActivityMode::CondensingUnits);
    EXPECT_TRUE(list.empty());
}

TEST_F(StoreTest, SelectedCustomFamiliesAddTheirCompressorsInModeZero) {
    FixedCustomFamilies custom;
    custom.families = {
        {"Mine", 'C', 1, {101, 120, 999}}, {"Units", 'U', 1, {202, 200}}, {"Pumps", 'P', 11, {1}}};
    const auto store = Load(FixtureDatabase(), &custom);
    ASSERT_EQ(store->CustomFamilies().size(), 3u);
    TcustFam& mine = *store->CustomFamilies()[0];
    EXPECT_EQ(mine.Members().size(), 2u);  // 999 is not found
    EXPECT_EQ(store->CustomFamilies()[1]->Members().size(), 2u);
    EXPECT_TRUE(store->CustomFamilies()[2]->Members().empty());  // heat pumps come later
    EXPECT_EQ(mine.listSection, -1);

    FamilySelection none;
    std::vector<TCModel*> list;
    store->SelectCandidates(list, 5, false, 1, none, 0, ActivityMode::Compressors);
    EXPECT_TRUE(list.empty());
    mine.selected = true;
    store->SelectCandidates(list, 5, false, 1, none, 0, ActivityMode::Compressors);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"ZX30"}));  // CO2-1: other refrigerant
    store->SelectCandidates(list, 5, false, 1, none, 0, ActivityMode::HeatPumpCompressors);
    EXPECT_TRUE(list.empty());  // the custom test is made in mode 0 only

    // Saved again with member ids; deleted families are not saved.
    store->MarkCustomFamilyDeleted(*store->CustomFamilies()[1]);
    const auto saved = store->CustomFamiliesToSave();
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(saved[0], (CustomFamilyRecord{"Mine", 'C', 1, {101, 120}}));
    EXPECT_EQ(saved[1].name, "Pumps");
}

TEST_F(StoreTest, CandidatesForSeveralRefrigerants) {
    const auto store = Load(FixtureDatabase());
    FamilySelection all;
    for (int code : {1, 2, 4, 5, 12}) all.Add(code);
    const Trefrigerant* refrigerants[] = {store->FindRefrigerant(5), store->FindRefrigerant(10)};
    std::vector<TCModel*> list;
    store->SelectCandidatesForRefrigerants(list, refrigerants, false, store->FindSupply(1), all, 1,
                                           ActivityMode::Compressors);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"ZX21"}));
    store->SelectCandidatesForRefrigerants(list, refrigerants, false, store->FindSupply(1), all, 0,
                                           ActivityMode::Compressors);
    EXPECT_EQ(list.size(), 6u);
    // Valve families pass only for expansion and solenoid valves.
    store->SelectCandidatesForRefrigerants(list, refrigerants, false, nullptr, all, 0,
                                           ActivityMode::SolenoidValves);
    EXPECT_EQ(list.size(), 2u);
    store->SelectCandidatesForRefrigerants(list, refrigerants, false, nullptr, all, 0,
                                           ActivityMode::HeadPressureControls);
    EXPECT_TRUE(list.empty());
}

TEST_F(StoreTest, SearchAndVariants) {
    const auto store = Load(FixtureDatabase());
    std::vector<TCModel*> list;
    store->SearchModels(list, nullptr, "ZS50", nullptr, nullptr);
    EXPECT_EQ(list.size(), 3u);
    store->SearchModels(list, nullptr, "zs50", nullptr, nullptr);  // case-sensitive
    EXPECT_TRUE(list.empty());
    store->SearchModels(list, store->FindRefrigerant(5), "", store->FindFamily(1, 'C'),
                        store->FindSupply(2));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"zx21"}));
    store->SearchModels(list, nullptr, "", nullptr, nullptr);
    EXPECT_EQ(list.size(), 8u);

    store->FindModelVariants(list, *Named(*store, "ZX21"));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"ZX21"}));  // "zx21" has another supply
    store->FindModelVariants(list, *UnitNamed(*store, "CU-201"));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"CU-201"}));
}

TEST_F(StoreTest, TechnicalDataBelongByModelIdMKeyAndRKey) {
    const auto store = Load(FixtureDatabase());
    const TComp& zx21 = *Named(*store, "ZX21");
    std::vector<const TTecObj*> list;
    auto texts = [&] {
        std::vector<std::string> t;
        for (const TTecObj* item : list) t.push_back(item->text);
        return t;
    };
    store->TechList(zx21, 'E', list);
    EXPECT_EQ(texts(), (std::vector<std::string>{"400 V 3 ph", "Rotalock"}));
    store->TechList(zx21, 'M', list);
    EXPECT_EQ(texts(), (std::vector<std::string>{"Mounting kit"}));
    store->TechList(zx21, 'I', list);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]->textKey, 5001);
    store->TechList(zx21, 'O', list);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]->textKey, 5002);  // 'R' filed with the compressors
    store->TechList(zx21, 'X', list);
    EXPECT_TRUE(list.empty());

    const Tunit& cu200 = *UnitNamed(*store, "CU-200");
    store->TechList(cu200, 'M', list);
    EXPECT_EQ(texts(), (std::vector<std::string>{"Unit frame"}));
    store->TechList(cu200, 'O', list);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]->textKey, 5003);

    // Heading 10 is used by compressor and unit items: 'B'.
    EXPECT_EQ(store->Headings()[0]->usedBy, 'B');
    EXPECT_EQ(store->Headings()[2]->usedBy, 'C');

    EXPECT_EQ(store->TechText(zx21, 'E', 10), "400 V 3 ph");
    EXPECT_EQ(store->TechText(zx21, 'M', 11), "Mounting kit");
    EXPECT_EQ(store->TechText(zx21, 'E', 11), "");
    EXPECT_FLOAT_EQ(store->TechValue(zx21, 'M', 11), 2.0f);
    EXPECT_FLOAT_EQ(store->TechValue(zx21, 'M', 99), 0.0f);
    ASSERT_NE(store->FindAccessoryItem(zx21, 20), nullptr);
    EXPECT_EQ(store->FindAccessoryItem(zx21, 20)->textKey, 5001);  // included before optional
    const TComp& zx30 = *Named(*store, "ZX30");
    EXPECT_EQ(store->FindAccessoryItem(zx30, 20)->textKey, 5007);

    const Tvalve& tx1 = *store->Valves()[0];
    std::vector<const TordaTech*> orda;
    store->OrdaTechList(tx1, orda);
    ASSERT_EQ(orda.size(), 1u);
    EXPECT_EQ(orda[0]->text, "short");
    EXPECT_EQ(store->TechText(tx1, 'E', 10), "a longer text");
    EXPECT_FLOAT_EQ(store->TechValue(tx1, 'E', 10), 1.25f);
    store->TechList(tx1, 'I', list);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]->textKey, 5004);
}

TEST_F(StoreTest, TechTextOfAnAccessoryTakesItsCaptionUnlessAnElectricalItemAnswers) {
    class Captions : public LanguageTextProvider {
      public:
        std::string Lookup(std::string_view key) const override {
            if (key == "5001") return "Crankcase heater";
            if (key == "20") return "Accessories";
            if (key == "strCA1") return "Scroll Comfort";
            return {};
        }
    };
    InstallLanguageTexts(std::make_shared<Captions>());
    const auto store = Load(FixtureDatabase());
    ResetLanguageTexts();
    const TComp& zx21 = *Named(*store, "ZX21");
    EXPECT_EQ(store->TechText(zx21, 'A', 20), "Crankcase heater");
    EXPECT_EQ(store->TechText(zx21, 'A', 10), "400 V 3 ph");
    EXPECT_EQ(store->TechText(zx21, 'A', 11), "");
    EXPECT_EQ(store->Headings()[3]->caption, "Accessories");
    EXPECT_EQ(store->Headings()[0]->caption, "E10");
    EXPECT_EQ(store->FindFamily(1, 'C')->name, "Scroll Comfort");
    EXPECT_EQ(store->FindFamily(2, 'C')->name, "Scroll Refrigeration");
}

TEST_F(StoreTest, DrawingPathsStayInTheDrawingsFolder) {
    const auto store = Load(FixtureDatabase());
    const auto files = folder_.path() / "Drawings" / "files";
    const struct {
        std::int32_t number;
        char kind;
        std::filesystem::path path;
    } cases[] = {
        {7, 'C', files / "ZX21.pdf   "},  // the first with the number, blanks kept
        {40, 'U', files / "CU200.pdf"},
        {50, 'V', files / "TX1.pdf"},
        {40, 'C', {}},
        {0, 'C', {}},
        {-7, 'C', {}},
        {7, 'X', {}},
        {9, 'C', {}},  // its kind was not C, U or V
        {8, 'C', {}},  // leads out of the folder
    };
    for (const auto& c : cases) {
        EXPECT_EQ(store->DrawingPath(c.number, c.kind), c.path) << c.number << c.kind;
    }
}

TEST_F(StoreTest, FamilyCaptionsByKindAndCategory) {
    const auto store = Load(FixtureDatabase());
    TFamily family;
    family.name = "Fam";
    const struct {
        char kind;
        float category;
        const char* caption;
    } cases[] = {
        {'C', 1, "Harwick - Compressor - Scroll Air Conditioning - Fam"},
        {'C', 9.8f, "Harwick - Compressor -  - Fam"},
        {'C', 12, "ZQV - Compressor - Semi-Hermetic Refrigeration - Fam"},
        {'U', 12, "Harwick - Condensing Unit - Networking Units - Fam"},
        {'U', 21, "ZQV - Condensing Unit - Indoor Semi-Hermetic Units - Fam"},
        {'H', 2, "Harwick - Scroll Heat Pump - Scroll Heat Pump - Fam"},
        {'V', 1, " - Scroll Heat Pump - Indoor Scroll Units - Fam"},
    };
    for (const auto& c : cases) {
        family.category = c.category;
        EXPECT_EQ(store->FamilyCaption(family, c.kind), c.caption) << c.kind << c.category;
    }
}

TEST_F(StoreTest, HeatPumpsAreOwnedAndDroppedFromCustomFamiliesWhenCleared) {
    const auto store = Load(FixtureDatabase());
    auto pump = std::make_unique<TComp>();
    pump->name = "HP-1";
    pump->key = 1;
    TCModel& added = store->AddHeatPump(std::move(pump));
    TcustFam& family = store->AddCustomFamily(std::make_unique<TcustFam>("Pumps"));
    family.AddMember(&added);
    store->ClearHeatPumps();
    EXPECT_TRUE(store->HeatPumps().empty());
    EXPECT_TRUE(family.Members().empty());
}

}  // namespace
}  // namespace kelvra
