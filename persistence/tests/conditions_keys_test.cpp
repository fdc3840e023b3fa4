#include "conditions_keys.hpp"

#include <gtest/gtest.h>

#include "property_library.hpp"
#include "refrigerant.hpp"

namespace kelvra {
namespace {

// The members the conditions keys carry.
void ExpectStoredMembersEqual(const OperatingConditions& a, const OperatingConditions& b,
                              const std::string& what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(a.condTemp, b.condTemp);
    EXPECT_EQ(a.evapTemp, b.evapTemp);
    EXPECT_EQ(a.subcooling, b.subcooling);
    EXPECT_EQ(a.suctionGasReturn, b.suctionGasReturn);
    EXPECT_EQ(a.superheat, b.superheat);
    EXPECT_EQ(a.gasCoolerOutletTemp, b.gasCoolerOutletTemp);
    EXPECT_EQ(a.capacity, b.capacity);
    EXPECT_EQ(a.rpm, b.rpm);
    EXPECT_EQ(a.inverterRpm, b.inverterRpm);
    EXPECT_EQ(a.ordaSystemDrop, b.ordaSystemDrop);
    EXPECT_EQ(a.ordaComponentDrop, b.ordaComponentDrop);
    EXPECT_EQ(a.ordaDiffPressure, b.ordaDiffPressure);
    EXPECT_EQ(a.totalNetworkCapacity, b.totalNetworkCapacity);
    EXPECT_EQ(a.baseLoad, b.baseLoad);
    EXPECT_EQ(a.capacitySteps, b.capacitySteps);
    EXPECT_EQ(a.networkUnitCount, b.networkUnitCount);
    EXPECT_EQ(a.networkKind, b.networkKind);
    EXPECT_EQ(a.useSGR, b.useSGR);
    EXPECT_EQ(a.useBase, b.useBase);
    EXPECT_EQ(a.unitCount, b.unitCount);
    EXPECT_EQ(a.demand, b.demand);
    EXPECT_EQ(a.minAmbient, b.minAmbient);
    EXPECT_EQ(a.condByPressure, b.condByPressure);
    EXPECT_EQ(a.condPressure, b.condPressure);
    EXPECT_EQ(a.evapByPressure, b.evapByPressure);
    EXPECT_EQ(a.evapPressure, b.evapPressure);
    EXPECT_EQ(a.liquidTempGiven, b.liquidTempGiven);
    EXPECT_EQ(a.liquidTemp, b.liquidTemp);
    EXPECT_EQ(a.ambientTemp, b.ambientTemp);
    EXPECT_EQ(a.waterOutletTemp, b.waterOutletTemp);
    EXPECT_EQ(a.sourceInletTemp, b.sourceInletTemp);
}

OperatingConditions ReadBack(const OperatingConditions& written) {
    IniFile ini;
    WriteConditions(ini, written);
    OperatingConditions read;  // the main window's fresh record
    ReadConditions(IniFile::Parse(ini.Serialize()), read);
    return read;
}

TEST(ConditionsKeysTest, RecordsSurviveTheRoundTrip) {
    struct Case {
        std::string name;
        OperatingConditions record;
    };
    std::vector<Case> cases;
    cases.push_back({"defaults", {}});
    {
        OperatingConditions c;  // low-temperature freezer with extreme and negative values
        c.evapTemp = -45.55;
        c.condTemp = -5.25;
        c.subcooling = -3.5;
        c.suctionGasReturn = -40.01;
        c.superheat = 0;
        c.capacity = 2000000;
        c.rpm = -1;
        c.inverterRpm = 0;
        c.minAmbient = -40.5f;
        c.demand = 0;
        c.baseLoad = 99.99f;
        c.useSGR = true;
        c.useBase = false;
        c.unitCount = 0;
        c.networkKind = -3;
        c.ambientTemp = -25.75;
        cases.push_back({"extreme and negative", c});
    }
    {
        OperatingConditions c;  // CO2 transcritical, entered as a gas-cooler pressure
        c.evapTemp = -10;
        c.condByPressure = 1;
        c.condPressure = 90;
        c.gasCoolerOutletTemp = 35.5;
        c.condTemp = 31.5;
        c.superheat = 10;
        c.useSGR = false;
        cases.push_back({"CO2 transcritical", c});
    }
    {
        OperatingConditions c;  // mid-point blend entered as pressures and a liquid temperature
        c.evapByPressure = 1;
        c.evapPressure = 3.37;
        c.evapTemp = -10.15;
        c.liquidTempGiven = true;
        c.liquidTemp = 38.25;
        c.subcooling = 4.75;
        c.ordaSystemDrop = 1.25f;
        c.ordaComponentDrop = 0.1f;
        c.ordaDiffPressure = 0.35f;
        cases.push_back({"mid-point blend", c});
    }
    {
        OperatingConditions c;  // heat pump and network settings
        c.waterOutletTemp = 55.5f;
        c.sourceInletTemp = -7.25f;
        c.totalNetworkCapacity = 123.45f;
        c.capacitySteps = 8;
        c.networkUnitCount = 4;
        c.networkKind = 1;
        c.useBase = true;
        c.unitCount = 5;
        c.demand = 87.5f;
        cases.push_back({"heat pump and network", c});
    }
    for (const Case& c : cases) {
        const OperatingConditions read = ReadBack(c.record);
        ExpectStoredMembersEqual(read, c.record, c.name);
        EXPECT_FALSE(read.advanced);
        EXPECT_TRUE(read.usefulAll);
        EXPECT_EQ(read.usefulSuperheat, read.superheat);
    }
}

TEST(ConditionsKeysTest, MissingKeysTakeTheirReadingDefaults) {
    OperatingConditions c;
    c.capacity = 55;
    c.totalNetworkCapacity = 1;
    c.networkUnitCount = 9;
    c.unitCount = 9;
    c.ordaSystemDrop = 9;
    c.ambientTemp = 41;  // no key in older files: keeps its value
    c.condByPressure = 1;
    c.liquidTempGiven = true;
    c.advanced = true;
    c.usefulAll = false;
    ReadConditions(IniFile::Parse("[settings]\n"), c);
    EXPECT_EQ(c.condTemp, 30);
    EXPECT_EQ(c.evapTemp, -10);
    EXPECT_EQ(c.subcooling, 0);
    EXPECT_EQ(c.suctionGasReturn, 25);
    EXPECT_EQ(c.superheat, 20);
    EXPECT_EQ(c.gasCoolerOutletTemp, 30);
    EXPECT_EQ(c.capacity, 0);
    EXPECT_EQ(c.satSuctionTemp, -10);
    EXPECT_EQ(c.satDischargeTemp, 30);
    EXPECT_EQ(c.rpm, 3000);
    EXPECT_EQ(c.inverterRpm, 1500);
    EXPECT_EQ(c.ordaSystemDrop, 0);
    EXPECT_EQ(c.ordaComponentDrop, 0);
    EXPECT_FLOAT_EQ(c.ordaDiffPressure, 0.15f);
    EXPECT_EQ(c.totalNetworkCapacity, 60);
    EXPECT_EQ(c.baseLoad, 0);
    EXPECT_EQ(c.capacitySteps, 2);
    EXPECT_EQ(c.networkUnitCount, 3);
    EXPECT_EQ(c.networkKind, 2);
    EXPECT_TRUE(c.useSGR);
    EXPECT_TRUE(c.useBase);
    EXPECT_EQ(c.unitCount, 2);
    EXPECT_EQ(c.demand, 10);
    EXPECT_EQ(c.minAmbient, -18);
    EXPECT_EQ(c.ambientTemp, 41);
    // The stored temperatures are the inputs: no pressure or liquid temperature left over from
    // the record's previous point overrides them.
    EXPECT_EQ(c.condByPressure, 0);
    EXPECT_FALSE(c.liquidTempGiven);
    EXPECT_FALSE(c.advanced);
    EXPECT_TRUE(c.usefulAll);
    EXPECT_EQ(c.usefulSuperheat, 20);
}

TEST(ConditionsKeysTest, StoredFormsAsOlderVersionsWroteThem) {
    const IniFile ini = IniFile::Parse(
        "[Settings]\nCOND=2550\nevap=-1015\net=-1200\nct=4000\nsuperht=abc\n"
        "cool=99999999999999999999\nRPM=1e5\nordasyspd=150\nordacomppd=10\nsatsuc=-5000\n");
    OperatingConditions c;
    ReadConditions(ini, c);
    EXPECT_EQ(c.condTemp, 25.5);
    EXPECT_EQ(c.evapTemp, -10.15);
    EXPECT_EQ(c.satSuctionTemp, -12);  // "et", not "satsuc"
    EXPECT_EQ(c.satDischargeTemp, 40);
    EXPECT_EQ(c.superheat, 20);  // not a number: the default
    EXPECT_EQ(c.subcooling, 0);  // too large: the default
    EXPECT_EQ(c.rpm, 3000);
    EXPECT_FLOAT_EQ(c.ordaSystemDrop, 1.5f);
    EXPECT_FLOAT_EQ(c.ordaComponentDrop, 0.1f);
}

TEST(ConditionsKeysTest, FlagsReadAsOlderVersionsReadThem) {
    struct Case {
        std::string line;  // empty: the key is missing
        bool useSGR;
        bool useBase;
    };
    const Case cases[] = {
        {"", true, true},
        {"useSGR=\nuseBase=\n", true, false},
        {"useSGR=False\nuseBase=false\n", false, false},
        {"useSGR=true\nuseBase=True\n", true, true},
        {"useSGR=T\nuseBase=t\n", true, true},
        {"useSGR=yes\nuseBase=1\n", false, false},
    };
    for (const Case& c : cases) {
        OperatingConditions read;
        ReadConditions(IniFile::Parse("[settings]\n" + c.line), read);
        EXPECT_EQ(read.useSGR, c.useSGR) << c.line;
        EXPECT_EQ(read.useBase, c.useBase) << c.line;
    }
}

TEST(ConditionsKeysTest, KeysAreWrittenInTheirOrder) {
    OperatingConditions c;
    c.condTemp = 25.555;
    IniFile ini;
    WriteConditions(ini, c);
    EXPECT_EQ(ini.Serialize(),
              "[settings]\ncond=2556\nevap=-1000\ncool=0\nsgr=2500\nsuperht=2000\ncoolgas=3000\n"
              "capacity=2000\nsatsuc=-1000\nsatdis=3000\nRPM=3000\ninverter=1500\n"
              "ordaSyspd=150\nordaComppd=10\nordadiff=15\ntotnetcap=4000\nbaseload=0\n"
              "capsteps=2\nnumNetunits=4\nnetkind=2\nuseSGR=false\nadvanced=false\n"
              "useAll=true\nusefulsh=2000\nuseBase=false\nNumber=1\ndemand=0\nminamb=-1800\n"
              "condByPress=false\ncondPress=3000\nevapByPress=false\nevapPress=0\n"
              "liqGiven=false\nliqTemp=0\nambient=3200\nwaterOut=3000\nsourceIn=-1000\n");
}

// Saved and read back, a point resolves to the same state: above all a transcritical CO2 point,
// which older files lost (its gas-cooler pressure was not stored, and the condensing temperature
// alone read back as a subcritical point), and a mid-point blend.
TEST(ConditionsKeysTest, PointsResolveAlikeAfterTheRoundTrip) {
    const LoadedPropertyLibraries loaded = LoadPropertyLibraries();
    ASSERT_TRUE(loaded.general && loaded.co2);
    {
        Trefrigerant co2("R744", 10, 'N', 1.3f);
        Trefrigerant r407c("R407C", 5, 'M', 1.1f);
        ASSERT_TRUE(co2.initialised && r407c.initialised);

        OperatingConditions transcritical;
        transcritical.evapTemp = -10;
        transcritical.condByPressure = 1;
        transcritical.condPressure = 90;
        transcritical.gasCoolerOutletTemp = 35;
        transcritical.superheat = 10;
        transcritical.useSGR = false;

        OperatingConditions blend;
        blend.evapTemp = -10;
        blend.condTemp = 45;
        blend.subcooling = 3;

        for (auto [record, refrigerant] :
             {std::pair{transcritical, &co2}, std::pair{blend, &r407c}}) {
            ASSERT_EQ(Resolve(record, refrigerant), ResolveOk);
            OperatingConditions read = ReadBack(record);
            ASSERT_EQ(Resolve(read, refrigerant), ResolveOk);
            SCOPED_TRACE(refrigerant->name);
            EXPECT_EQ(read.condPressure, record.condPressure);
            EXPECT_NEAR(read.evapPressure, record.evapPressure, 1e-9);
            EXPECT_NEAR(read.liquidTemp, record.liquidTemp, 1e-9);
            EXPECT_NEAR(read.suctionGasReturn, record.suctionGasReturn, 1e-9);
            EXPECT_EQ(read.gasCoolerOutletTemp, record.gasCoolerOutletTemp);
            if (refrigerant == &co2) {
                EXPECT_GT(read.condPressure, co2.criticalPressure);
            }
        }
    }
    UnloadPropertyLibraries();
}

}  // namespace
}  // namespace kelvra
