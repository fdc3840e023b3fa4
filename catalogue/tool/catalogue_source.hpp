#pragma once
// The readable source of the product range, as read from the JSON files of the source folder.
//
// catalogue.json holds what the whole range shares (provenance, database date, refrigerants,
// supplies, envelope types, headings, accessory and other texts, motor codes, fit bounds);
// every other *.json file adds families and products: compressor families (with the physical
// description each rating is computed from), condensing units and network units, Orda controls
// and their correction tables, and drawings. Notes are HTML files in notes/.
//
// Reading checks everything that can be checked without computing: kinds, ranges, references
// between records, envelope lines. A problem is refused with a SourceError naming the file, the
// JSON path and the problem.

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "compressor_physics.hpp"
#include "json_reader.hpp"

namespace kelvra::catalogue {

struct Where {
    std::string file;
    std::string path;
};

struct RefrigerantDef {
    int code = 0;
    std::string name;
    char basis = 'N';
    double criticalDensity = 0;  // kg/m3, published constant (liquid density estimate)
    double molarMass = 0;        // kg/kmol
    double unitMaxPressure = 0;  // bar, design pressure of condensing units' receivers
    std::optional<double> exponent;  // compression exponent; computed from properties if absent
    Where where;
};

struct SupplyDef {
    int code = 0;
    std::string name;
    int hertz = 50;
    double voltage = 400;
    int phases = 3;
    std::vector<int> motorCodes;  // motor-code ids offered on this supply
    Where where;
};

struct EnvelopeTypeDef {
    int id = 0;
    std::string name;
    int kind = 1;
    double limit = 30;
    bool returnGas = false;
};

struct HeadingDef {
    int id = 0;
    char selector = 'C';
    char group = 'E';
    std::string text;
};

struct MotorCodeDef {
    int id = 0;
    std::string code, supplyText, voltageText, connectionText, directOnLineText;
    double currentBasis = 1.0;
};

struct FitBounds {
    double capacity = 0.03;       // relative
    double power = 0.04;          // relative
    double current = 0.06;        // relative
    double intermediateK = 0.6;   // K, intermediate temperature of vapour injection
};

struct Point2 {
    double x = 0, y = 0;
};

struct EnvelopeDef {
    int type = 1;
    int typeKind = 1;  // the kind of the envelope type, filled in once the types are known
    std::vector<Point2> left, right;
    int optionByte = 0;
};

struct SpeedLevelDef {
    int speed = 0;
    std::vector<Point2> left, right;
};

struct EnvelopeSetDef {
    std::string name;
    std::vector<EnvelopeDef> envelopes;
    bool pressureAxis = false;     // y is the discharge pressure (transcritical CO2)
    int baseSpeed = 0;             // variable speed: the speed of the base envelope
    std::vector<SpeedLevelDef> speedLevels;
};

enum class RatingUnits { CelsiusKW, FahrenheitBtu, CelsiusW };

struct RatingDef {
    int kind = 2;
    RatingUnits units = RatingUnits::CelsiusKW;
    bool dewData = false;
    bool ratedAtSuperheat = true;
    double ratedSuction = 10;  // K superheat or degC suction gas
    double ratedSubcooling = 0;
    int technologyCode = 0;
    int optionWord = 0;
    double maxDischargeTemp = 135;
    int massFlowUnit = 0;  // kind 4: 0 kg/s, 1 lb/h, 2 g/s
    double grid = 2.5;     // K (bar on a pressure axis) between fit points
};

struct MotorDef {
    double efficiency = 0.88;
    double ironShare = 0.35;
    double ratingTe = -10, ratingTc = 45;  // where the motor has that efficiency
};

struct CurrentDef {
    bool drive = false;
    double magnetisingShare = 0.3;  // magnetising current / active current at the rating point
    double reactiveGrowth = 0.0;    // extra reactive current at twice ... (A/kW^2 per A of active)
    double drivePowerFactor = 0.95;
    double standby = 0.2;
};

struct SpeedDef {  // speed polynomials
    int nominal = 0;                 // rpm
    std::vector<int> fitSpeeds;      // rpm
    double volumetric1 = 0, volumetric2 = 0, leakage = 0, isentropic2 = 0;
};

struct InverterDef {
    std::vector<double> frequencies;  // Hz
    double volumetric1 = 0, volumetric2 = 0, isentropic2 = 0;
};

struct LoadStepDef {
    double share = 0.5;     // of the full displacement
    double idleLoss = 0.03;  // shaft power of the idle cylinders, share of full-load shaft power
};

struct PhysicsDef {
    VolumetricCurve volumetric;
    IsentropicCurve isentropic;
    double builtInVolumeRatio = 0;
    double frictionBase = 0, frictionPerBar = 0;  // kW per m3/h of displacement (and per bar)
    double sizeReference = 0;   // m3/h: larger models are a little better ...
    double sizeExponent = 0;    // ... peak isentropic efficiency x (disp / reference)^exponent
    MotorDef motor;
    CurrentDef current;
    std::optional<SpeedDef> speed;
    std::optional<InverterDef> inverter;
    std::optional<Injection> injection;
    std::vector<LoadStepDef> loadSteps;  // set B (and C)
};

struct BodyDef {
    std::string name;
    int drawing = 0;
    double weight = 0, oil = 0, sound = 0;
    std::string oilType, suction, discharge, dimensions;
    int cylinders = 0;
};

struct CompressorModelDef {
    std::string name;
    double displacement = 0;  // m3/h at 50 Hz (at the nominal speed for variable speed)
    std::string body;
    Where where;
};

struct VariantDef {
    std::string refrigerant;
    std::vector<int> supplies;
    std::string envelope;
    int applicationMask = 0;
    std::vector<std::string> models;  // empty: every model of the family
    Where where;
};

struct AccessoryList {
    std::vector<int> included, optional;
};

struct CompressorFamilyDef {
    int code = 0;
    char kind = 'C';
    char subLetter = 'A';
    int category = 1;
    std::string name;
    std::string technology;
    int ratingByte = 2;
    int accessoryKey = 0;  // R-key
    AccessoryList accessories;
    RatingDef rating;
    PhysicsDef physics;
    std::map<std::string, EnvelopeSetDef> envelopes;
    std::vector<VariantDef> variants;
    std::map<std::string, BodyDef> bodies;
    std::vector<CompressorModelDef> models;
    Where where;
};

struct FamilyDef {  // condensing-unit and Orda families
    int code = 0;
    char kind = 'U';
    char subLetter = 'A';
    int category = 1;
    std::string name;
    Where where;
};

struct UnitDef {
    std::string name;
    int family = 0;
    int compressorFamily = 0;
    std::string compressor;
    std::vector<std::string> refrigerants;
    std::vector<int> supplies;
    double designTD = 15;  // K between condensing and ambient at the sizing point
    double designTe = -10;  // degC, the sizing point's evaporating temperature
    double fanPower = 0;   // W
    int fans = 1;
    int drawing = 0;
    int ratingClass = 1;
    double airFlow = 0, receiver = 0, weight = 0, sound = 0;
    std::string liquid, suction;
    char letter = 'U';
    AccessoryList accessories;
    Where where;
};

struct NetworkDef {
    std::string base;  // group base name, before the role
    int family = 0;
    int compressorFamily = 0;
    std::string compressor;
    std::vector<std::string> refrigerants;
    std::vector<int> supplies;
    double designTD = 14;
    double designTe = -10;
    double masterFanPower = 0, slaveFanPower = 0;
    int masterDrawing = 0, slaveDrawing = 0;
    std::string edition = "A";
    int ratingClass = 1;
    double airFlow = 0, receiver = 0, weight = 0, sound = 0;
    std::string liquid, suction;
    AccessoryList accessories;
    Where where;
};

struct OrdaValveDef {
    std::string name;
    std::string secondName;
    int family = 0;
    char type = 'T';
    double orificeArea = 0;  // mm2, effective flow area
    double secondValue = 0;  // type 'P': ratio of the capacity at 0.14 bar to the nominal; 'U': bar
    std::vector<std::string> refrigerants;
    int drawing = 0;
    std::vector<std::pair<std::string, std::string>> tech;  // short text, long text (no heading)
    double maxPressure = 0, weight = 0;
    AccessoryList accessories;
    Where where;
};

struct DrawingConnection {
    std::string label, size;
    std::string side = "left";  // left, right, top
    double position = 0.5;      // along that side, share of its length
};

struct DrawingDef {
    std::vector<int> numbers;  // the drawing-index numbers that show this file
    std::string file;
    char kind = 'C';
    std::string title;
    std::string outline = "scroll";  // scroll, reciprocating, semi-hermetic, unit, valve
    double length = 0, width = 0, height = 0;  // mm
    std::vector<DrawingConnection> connections;
    Where where;
};

struct ClimateDef {
    std::string name;
    double mean = 10, spread = 8;  // annual mean and standard deviation of the temperature, degC
    double dayShare = 0.6;
};

// A heat pump of our own range, shipped in the default heat-pump file: a compressor of the
// catalogue with its source, fan or pump power and temperature-difference rules, each rule given
// as the editor shows it (two points, a minimum and a maximum).
struct HeatPumpDef {
    std::string name;
    int family = 71;   // 70, 71 ground; 72, 73 air
    char source = 'W';  // 'W' ground (brine/water), 'A' air
    std::string compressorModel;
    std::string refrigerant;
    int supply = 1;
    double auxiliaryPower = 0;  // kW
    double superheat = 5, subcooling = 4;
    double cyclingCoefficient = 0.9;
    double evapFirst = 0, evapSecond = 0, evapMin = 0, evapMax = 0;  // K at 0/-5 or +7/-7 degC
    double cond60 = 0, cond35 = 0, condMin = 0, condMax = 0;          // K at 60 and 35 degC
    double defrostCapacityLoss = 0, defrostPowerLoss = 0;             // %
    double frostEvapLimit = 0, frostSourceLimit = 0;                  // degC
    Where where;
};

struct CatalogueSource {
    std::filesystem::path folder;
    std::string provenance;
    double databaseDate = 0;  // days since 30 December 1899
    std::string databaseDateText;
    std::string languageSection = "Catalogue";
    FitBounds bounds;
    std::vector<RefrigerantDef> refrigerants;
    std::vector<SupplyDef> supplies;
    std::vector<EnvelopeTypeDef> envelopeTypes;
    std::vector<HeadingDef> headings;
    std::map<int, std::string> accessoryTexts;  // text key -> caption
    std::map<int, int> accessoryHeadings;       // text key -> heading id
    std::map<std::string, std::string> texts;  // further language texts
    std::vector<MotorCodeDef> motorCodes;
    std::vector<CompressorFamilyDef> compressorFamilies;
    std::vector<FamilyDef> unitFamilies;
    std::vector<UnitDef> units;
    std::vector<NetworkDef> networks;
    std::vector<FamilyDef> ordaFamilies;
    std::vector<OrdaValveDef> valves;
    std::vector<DrawingDef> drawings;
    std::vector<ClimateDef> climates;
    std::vector<HeatPumpDef> heatPumps;
    std::map<std::string, std::string> notes;  // stem -> HTML

    const RefrigerantDef* FindRefrigerant(std::string_view name) const;
    const SupplyDef* FindSupply(int code) const;
    const CompressorFamilyDef* FindCompressorFamily(int code) const;
    const DrawingDef* FindDrawing(int number) const;
};

// Envelope-type kinds of areas where the compressor may not run: a point inside only such
// envelopes is refused (liquid injection needed: kinds 3 and 4; restricted: kind 17). They are
// drawn, but the ratings are not fitted there.
bool AllowsNoOperation(int typeKind);

// Reads and checks the source folder. Throws SourceError for the first problem found.
CatalogueSource ReadCatalogueSource(const std::filesystem::path& folder);

// Days since 30 December 1899 of an ISO date "yyyy-mm-dd"; nullopt when it is not one.
std::optional<double> SerialDate(std::string_view isoDate);

}  // namespace kelvra::catalogue
