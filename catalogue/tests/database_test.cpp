// The database compiled at build time loads with the data store, valid, with every record of the
// source, and with the models, drawings, notes and texts linked as the program reads them.

#include <gtest/gtest.h>

#include <fmt/format.h>

#include <cmath>
#include <map>
#include <set>

#include "catalogue_compiler.hpp"
#include "catalogue_support.hpp"
#include "data_store.hpp"

namespace kelvra::catalogue {
namespace {

using namespace testing;

class ShippedDatabase : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(LoadLibraries());
        source_ = new CatalogueSource(ReadCatalogueSource(kSourceFolder));
        store_ = new TdataStore(DatabaseSources{kDataFolder, nullptr});
    }
    static void TearDownTestSuite() {
        delete store_;
        delete source_;
    }
    static const CatalogueSource& Source() { return *source_; }
    static const TdataStore& Store() { return *store_; }

    static const CompressorFamilyDef* FamilyOf(const TComp& c) { return Source().FindCompressorFamily(c.familyNumber); }

  private:
    static CatalogueSource* source_;
    static TdataStore* store_;
};
CatalogueSource* ShippedDatabase::source_ = nullptr;
TdataStore* ShippedDatabase::store_ = nullptr;

TEST_F(ShippedDatabase, LoadsValidWithTheSourceDate) {
    EXPECT_TRUE(Store().Valid());
    EXPECT_FALSE(Store().Missing());
    for (const std::string& p : Store().Problems()) ADD_FAILURE() << p;
    EXPECT_EQ(Store().Date(), Source().databaseDate);
    EXPECT_NE(Store().VersionLabel().find("(09/25)"), std::string::npos);
}

TEST_F(ShippedDatabase, HoldsEveryRecordOfTheSource) {
    EXPECT_EQ(Store().Compressors().size(), EnumerateCompressors(Source()).size());
    EXPECT_EQ(Store().Refrigerants().size(), Source().refrigerants.size());
    EXPECT_EQ(Store().Supplies().size(), Source().supplies.size());
    // Product families plus the four built-in heat-pump families.
    EXPECT_EQ(Store().Families().size(),
              Source().compressorFamilies.size() + Source().unitFamilies.size() + Source().ordaFamilies.size() + 4);
    std::size_t units = 0, network = 0, valves = 0;
    for (const UnitDef& u : Source().units) units += u.refrigerants.size() * u.supplies.size();
    for (const NetworkDef& n : Source().networks) network += 4 * n.refrigerants.size() * n.supplies.size();
    for (const OrdaValveDef& v : Source().valves) valves += v.refrigerants.size();
    EXPECT_EQ(Store().CondensingUnits().size(), units);
    EXPECT_EQ(Store().NetworkUnits().size(), network);
    EXPECT_EQ(Store().Valves().size(), valves);
    EXPECT_GE(Store().CondensingUnits().size() + Store().NetworkUnits().size(), 60u);
    EXPECT_GE(Store().Valves().size(), 40u);
    EXPECT_GE(Store().Compressors().size(), 200u);
}

TEST_F(ShippedDatabase, RefrigerantsAreInitialisedOnTheirBasis) {
    const Trefrigerant* co2 = Store().FindRefrigerant(10);
    ASSERT_NE(co2, nullptr);
    EXPECT_EQ(co2->name, "R744");
    EXPECT_TRUE(co2->isCO2);
    const Trefrigerant* r407c = Store().FindRefrigerantByName("r407c");
    ASSERT_NE(r407c, nullptr);
    EXPECT_EQ(r407c->basis, 'M');
    EXPECT_EQ(Store().FindRefrigerantByName("R404A")->basis, 'D');
    EXPECT_GT(co2->exponent, Store().FindRefrigerantByName("R134a")->exponent);
    for (const auto& r : Store().Refrigerants()) {
        EXPECT_TRUE(r->initialised) << r->name;
        // The isentropic volume exponent of a real compression near saturation.
        EXPECT_GT(r->exponent, 0.95f) << r->name;
        EXPECT_LT(r->exponent, 1.35f) << r->name;
    }
}

TEST_F(ShippedDatabase, CompressorsCarryTheirRatingFeatures) {
    int steps2 = 0, steps3 = 0, speed = 0, inverter = 0, co2 = 0, injection = 0;
    for (const auto& c : Store().Compressors()) {
        const CompressorFamilyDef* f = FamilyOf(*c);
        ASSERT_NE(f, nullptr) << c->name;
        ASSERT_NE(c->ratingSetA, nullptr) << c->name;
        EXPECT_EQ(c->ratingSetA->RatingModelKind(), f->rating.kind) << c->name;
        const std::size_t steps = f->physics.loadSteps.size();
        EXPECT_EQ(c->ratingSetB != nullptr, steps >= 1) << c->name;
        EXPECT_EQ(c->ratingSetC != nullptr, steps >= 2) << c->name;
        EXPECT_EQ(c->IsVariableSpeed(), f->physics.speed.has_value()) << c->name;
        EXPECT_EQ(c->IsInverterDriven(), f->physics.inverter.has_value()) << c->name;
        EXPECT_EQ(c->HasVapourInjection(), f->physics.injection.has_value()) << c->name;
        EXPECT_EQ(c->IsCO2Transcritical(), c->refrigerant->isCO2) << c->name;
        steps2 += steps == 1;
        steps3 += steps == 2;
        speed += c->IsVariableSpeed();
        inverter += c->IsInverterDriven();
        co2 += c->IsCO2Transcritical();
        injection += c->HasVapourInjection();
        // Every envelope the model has is complete, and the model has at least one.
        double yMin = 0, yMax = 0, xMax = 0, xMin = 0;
        EXPECT_TRUE(c->EnvelopeBounds(yMin, yMax, xMax, xMin)) << c->name;
    }
    EXPECT_GT(steps2, 0);
    EXPECT_GT(steps3, 0);
    EXPECT_GT(speed, 0);
    EXPECT_GT(inverter, 0);
    EXPECT_GT(co2, 0);
    EXPECT_GT(injection, 0);
}

TEST_F(ShippedDatabase, NetworkGroupsHaveEveryRole) {
    ASSERT_FALSE(Store().NetworkGroups().empty());
    std::set<std::pair<int, int>> flags;
    for (const auto& g : Store().NetworkGroups()) {
        for (Tunit* u : g->masters) EXPECT_NE(u, nullptr) << g->name;
        for (Tunit* u : g->slaves) EXPECT_NE(u, nullptr) << g->name;
        flags.insert({g->dFlag, g->tFlag});
    }
    // Single-step, two-step and modulated groups.
    EXPECT_EQ(flags, (std::set<std::pair<int, int>>{{0, 0}, {1, 0}, {0, 1}}));
}

TEST_F(ShippedDatabase, DrawingsNotesAndTextsAreThere) {
    for (const auto& c : Store().Compressors()) {
        const std::filesystem::path drawing = Store().DrawingPath(Store().DrawingNumber(*c), 'C');
        ASSERT_FALSE(drawing.empty()) << c->name;
        EXPECT_TRUE(std::filesystem::exists(drawing)) << drawing;
    }
    for (const auto& u : Store().CondensingUnits())
        EXPECT_TRUE(std::filesystem::exists(Store().DrawingPath(Store().DrawingNumber(*u), 'U'))) << u->name;
    for (const char* notes : {"index01.dat", "cuindex01.dat", "vindex01.dat", "hpindex01.dat"}) {
        const std::string text = ReadText(kDataFolder / kNotesFolder / notes);
        EXPECT_NE(text.find("fictitious models, physically derived"), std::string::npos) << notes;
    }
    const std::string texts = ReadText(kDataFolder / kLanguageSectionFile);
    for (const TFamily* f : {Store().FindFamily(1, 'C'), Store().FindFamily(22, 'U'), Store().FindFamily(1, 'V')}) {
        ASSERT_NE(f, nullptr);
        const std::string key = f->kind == 'V' ? fmt::format("strVA{}=", f->code)
                                               : fmt::format("str{}{}{}=", f->kind, f->subLetter, f->code);
        EXPECT_NE(texts.find(key + f->name), std::string::npos) << key;
    }
}

TEST_F(ShippedDatabase, EnvelopeAreasGiveTheirStatuses) {
    struct Case {
        const char* model;
        const char* refrigerant;
        int supply;
        double te, y;       // evaporating, and condensing temperature or discharge pressure (CO2)
        double suctionGas;  // degC; NaN: 10 K superheat
        int speed;          // rpm, 0 for fixed speed
        ModelStatus expected;
    };
    const double superheat = std::nan("");
    const Case cases[] = {
        {"KSA-024", "R410A", 1, 0, 45, superheat, 0, 0},
        {"KSR-015", "R404A", 1, -42, 30, 20, 0, 8},    // extended envelope: limited superheat
        {"KHR-08", "R404A", 1, -38, 30, 20, 0, 1},     // extra head cooling
        {"KFR-3", "R1234yf", 2, -20, 40, 20, 0, 5},    // preliminary data
        {"KSH-428", "R404A", 1, -42, 28, 20, 0, -5},   // liquid injection needed
        {"KCO-2", "R744", 1, -28, 60, superheat, 0, -24},  // restricted
        {"KSX-20", "R410A", 1, 0, 45, superheat, 1200, -22},  // below the lowest speed
        {"KSX-20", "R410A", 1, 0, 45, superheat, 4000, 0},
        {"KSA-024", "R410A", 1, 0, 45, 50, 0, -16},    // beyond the superheat limit
    };
    for (const Case& c : cases) {
        TComp* comp = nullptr;
        for (const auto& m : Store().Compressors())
            if (m->name == c.model && m->refrigerant->name == c.refrigerant && m->supply->id == c.supply) comp = m.get();
        ASSERT_NE(comp, nullptr) << c.model << " " << c.refrigerant;
        OperatingConditions oc;
        oc.evapTemp = c.te;
        if (comp->refrigerant->isCO2) {
            oc.condByPressure = 1;
            oc.condPressure = c.y;
            oc.condTemp = comp->refrigerant->DewTemperature(c.y);
        } else {
            oc.condTemp = c.y;
        }
        oc.useSGR = !std::isnan(c.suctionGas);
        oc.suctionGasReturn = oc.useSGR ? c.suctionGas : 0;
        oc.superheat = 10;
        ASSERT_EQ(Resolve(oc, comp->refrigerant), ResolveOk) << c.model;
        comp->SetSpeed(c.speed);
        comp->SetLoad(100);
        EXPECT_EQ(comp->Evaluate(oc, ActivityMode::Compressors), c.expected) << c.model << " " << c.refrigerant;
        comp->SetSpeed(0);
    }
}

TEST_F(ShippedDatabase, OrdaComponentsGiveTheirNominalCapacityAtTheNominalPoint) {
    int checked = 0;
    for (const auto& v : Store().Valves()) {
        OperatingConditions c;
        c.evapTemp = 4;
        c.condTemp = v->refrigerant->name == "R407C" ? 43 : 38;
        c.subcooling = 1;
        c.superheat = 10;
        c.ordaSystemDrop = 0;
        c.ordaComponentDrop = 0.07f;
        c.capacity = v->nominalCapacity;
        ASSERT_EQ(Resolve(c, v->refrigerant), ResolveOk);
        const ModelStatus status = v->Evaluate(c, ActivityMode::ExpansionValves);
        const std::string who = v->name + " " + v->refrigerant->name;
        switch (v->TypeLetter()) {
            case 'T':
            case 'E':  // across the nominal pressure difference: the nominal capacity
            case 'Q':  // at the nominal drop of 0.07 bar
            case 'P':  // at 0.07 bar
                ASSERT_EQ(status, 0) << who;
                EXPECT_NEAR(v->Result(quantity::CoolingCapacity) / v->nominalCapacity, 1.0, 0.025) << who;
                ++checked;
                break;
            case 'S':  // the nominal capacity passes at the nominal drop
                ASSERT_EQ(status, 0) << who;
                EXPECT_NEAR(v->Result(quantity::PressureDifference), Tvalve::kSolenoidNominalDrop, 0.01) << who;
                ++checked;
                break;
            case 'Z':  // 1 at 4 degC and above
                ASSERT_EQ(status, 0) << who;
                EXPECT_NEAR(v->Result(quantity::CoolingCapacity), v->nominalCapacity, 1e-3 * v->nominalCapacity) << who;
                ++checked;
                break;
            default:
                break;
        }
    }
    EXPECT_GT(checked, 40);
}

TEST_F(ShippedDatabase, CondensingUnitsBalanceAtTheirDesignTemperatureDifference) {
    std::map<std::string, std::pair<double, double>> design;  // evaporating temperature, difference
    for (const UnitDef& u : Source().units) design[u.name] = {u.designTe, u.designTD};
    for (const NetworkDef& n : Source().networks)
        for (const char* role : {"NLO", "NO", "NL", "N"})
            design[fmt::format("{}-{}-{}", n.base, role, n.edition)] = {n.designTe, n.designTD};
    int checked = 0;
    for (const auto* list : {&Store().CondensingUnits(), &Store().NetworkUnits()}) {
        for (const auto& u : *list) {
            ASSERT_TRUE(design.count(u->name)) << u->name;
            const auto [te, td] = design.at(u->name);
            OperatingConditions c;
            c.evapTemp = te;
            c.ambientTemp = 32;
            c.superheat = 10;
            if (u->compressor->HasLoadControl()) u->compressor->SetLoad(100);
            ASSERT_EQ(Resolve(c, u->refrigerant), ResolveOk);
            const ModelStatus status = u->Evaluate(c, ActivityMode::CondensingUnits);
            if (status < 0) continue;  // outside the unit's envelope at this point
            // The condenser was sized for the compressor's rated suction state at this point;
            // with 10 K superheat the balance lies near ambient + design difference.
            EXPECT_NEAR(u->Result(quantity::CondensingTemp), 32 + td, 2.0) << u->name;
            EXPECT_GT(u->Result(quantity::CoolingCapacity), 0.0) << u->name;
            ++checked;
        }
    }
    EXPECT_GT(checked, 60);
}

TEST_F(ShippedDatabase, TechnicalDataAccessoriesAndMotorCodes) {
    const TComp& c = *Store().Compressors().front();
    EXPECT_FALSE(Store().TechText(c, 'E', 1).empty());   // maximum operating current
    EXPECT_GT(Store().TechValue(c, 'E', 1), 0.0f);
    EXPECT_FALSE(Store().TechText(c, 'M', 16).empty());  // weight
    std::vector<const TTecObj*> included, optional;
    Store().TechList(c, 'I', included);
    Store().TechList(c, 'O', optional);
    EXPECT_FALSE(included.empty());
    EXPECT_FALSE(optional.empty());
    const CompressorRecordData* data = Store().CompressorData(c);
    ASSERT_NE(data, nullptr);
    int position = 0;
    EXPECT_NE(Store().NextMotorCode(c.motorCodes, position), nullptr);
    const Tvalve& v = *Store().Valves().front();
    std::vector<const TordaTech*> valveTech;
    Store().OrdaTechList(v, valveTech);
    EXPECT_FALSE(valveTech.empty());
}

}  // namespace
}  // namespace kelvra::catalogue
