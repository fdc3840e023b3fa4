#include "heat_pump_editing.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "compressor.hpp"
#include "heat_pump_file.hpp"
#include "safe_file.hpp"

namespace kelvra {

namespace {

int RoundedCategory(const TFamily& family) {
    return std::isfinite(family.category) ? static_cast<int>(std::lround(family.category)) : 0;
}

}  // namespace

std::optional<double> ParseEditorNumber(std::string_view text) {
    std::string s(text);
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return std::nullopt;
    s = s.substr(first, s.find_last_not_of(" \t") - first + 1);
    std::replace(s.begin(), s.end(), ',', '.');
    // digits, one point, a sign and an exponent only: no words such as "nan" or "inf"
    if (s.find_first_not_of("0123456789.+-eE") != std::string::npos) return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(s.c_str(), &end);
    if (end != s.c_str() + s.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

HeatPumpDraft HeatPumpDraft::New(bool airSource, TComp* compressor, const TdataStore& store) {
    HeatPumpDraft d;
    d.airSource = airSource;
    d.compressor = compressor;
    d.family = EditorFamily(store, airSource, nullptr);
    if (!airSource) {
        d.evapFirst = 5;
        d.evapSecond = 4.5;
        d.evapMin = 3;
        d.evapMax = 8;
    }
    return d;
}

HeatPumpDraft HeatPumpDraft::Of(const THeatPump& pump) {
    HeatPumpDraft d;
    d.name = pump.name;
    d.family = pump.family;
    d.airSource = pump.IsAirSource();
    d.compressor = pump.compressor;
    d.auxiliaryPower = pump.auxiliaryPower;
    d.superheat = pump.superheat;
    d.subcooling = pump.subcooling;
    d.cyclingCoefficient = pump.cyclingCoefficient;
    const auto evap = EvaporatorPointsFromRule(d.airSource, {pump.evapSlope, pump.evapOffset});
    d.evapFirst = evap[0];
    d.evapSecond = evap[1];
    d.evapMin = pump.evapMin;
    d.evapMax = pump.evapMax;
    const auto cond = CondenserPointsFromRule({pump.condSlope, pump.condOffset});
    d.cond60 = cond[0];
    d.cond35 = cond[1];
    d.condMin = pump.condMin;
    d.condMax = pump.condMax;
    d.defrostCapacityLoss = pump.defrostCapacityLoss;
    d.defrostPowerLoss = pump.defrostPowerLoss;
    d.frostEvapLimit = pump.frostEvapLimit;
    d.frostSourceLimit = pump.frostSourceLimit;
    return d;
}

bool HeatPumpDraft::CanConfirm() const {
    return compressor != nullptr && family != nullptr && !name.empty();
}

void HeatPumpDraft::StoreInto(THeatPump& pump) const {
    pump.SetName(name);
    pump.sourceKind = airSource ? THeatPump::kAirSource : THeatPump::kWaterSource;
    pump.family = family;
    pump.familyNumber = family != nullptr ? family->code : 0;
    pump.modelLetter = 'C';
    pump.compressor = compressor;
    if (compressor != nullptr) {
        pump.compressorId = compressor->key;
        pump.refrigerant = compressor->refrigerant;
        pump.refrigerantNumber = compressor->refrigerantNumber;
        pump.supply = compressor->supply;
        pump.motorCodes = compressor->motorCodes;
    }
    pump.showsHeatingCapacity = true;
    pump.auxiliaryPower = auxiliaryPower;
    pump.superheat = superheat;
    pump.subcooling = subcooling;
    pump.cyclingCoefficient = cyclingCoefficient;
    const TdRule evap = EvaporatorRuleFromPoints(airSource, evapFirst, evapSecond);
    pump.evapSlope = evap.slope;
    pump.evapOffset = evap.offset;
    pump.evapMin = evapMin;
    pump.evapMax = evapMax;
    const TdRule cond = CondenserRuleFromPoints(cond60, cond35);
    pump.condSlope = cond.slope;
    pump.condOffset = cond.offset;
    pump.condMin = condMin;
    pump.condMax = condMax;
    pump.defrostCapacityLoss = defrostCapacityLoss;
    pump.defrostPowerLoss = defrostPowerLoss;
    pump.frostEvapLimit = frostEvapLimit;
    pump.frostSourceLimit = frostSourceLimit;
}

std::unique_ptr<THeatPump> HeatPumpDraft::Preview() const {
    auto pump = std::make_unique<THeatPump>();
    StoreInto(*pump);
    return pump;
}

std::vector<const TFamily*> HeatPumpFamiliesFor(const TdataStore& store, bool airSource) {
    std::vector<const TFamily*> out;
    for (const auto& family : store.Families()) {
        if (family->kind != TFamily::kHeatPump) continue;
        const int category = RoundedCategory(*family);
        if (airSource ? category > 10 : category < 10) out.push_back(family.get());
    }
    return out;
}

const TFamily* EditorFamily(const TdataStore& store, bool airSource, const TFamily* current) {
    const std::vector<const TFamily*> offered = HeatPumpFamiliesFor(store, airSource);
    if (offered.empty()) return nullptr;
    if (std::find(offered.begin(), offered.end(), current) != offered.end()) return current;
    return offered.front();
}

std::vector<const TFamily*> CompressorChooserFamilies(const TdataStore& store) {
    std::vector<const TFamily*> out;
    for (const auto& family : store.Families())
        if (family->kind == TFamily::kCompressor || family->kind == TFamily::kHeatPumpCompressor)
            out.push_back(family.get());
    return out;
}

// --- the file ---

UserHeatPumpLoad HeatPumpFileKeeper::LoadAtStartUp(const std::string& setting) {
    path_ = setting;
    changed_ = false;
    return store_.LoadUserHeatPumps(HeatPumpFileToRead(setting, store_.DataFolder()));
}

UserHeatPumpLoad HeatPumpFileKeeper::Open(const std::filesystem::path& file) {
    UserHeatPumpLoad load = store_.LoadUserHeatPumps(file);
    if (load.ok()) {
        path_ = file.string();
        changed_ = false;
    }
    return load;
}

IoStatus HeatPumpFileKeeper::SaveTo(const std::filesystem::path& file) {
    const std::string error = store_.SaveUserHeatPumps(
        file, [](const std::filesystem::path& target, std::span<const std::uint8_t> bytes) {
            const IoStatus status = WriteFileSafely(
                target, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
            return status ? std::string() : status.FullText();
        });
    if (!error.empty()) return IoStatus::Failure(error);
    path_ = file.string();
    changed_ = false;
    return IoStatus::Success();
}

bool HeatPumpFileKeeper::pathIsSet() const {
    return HeatPumpPathIsSet(path_);
}

// --- the diagrams ---

std::array<TdCurvePoint, 4> TdCurve(const THeatPump& pump, bool evaporator, double tLow,
                                    double tHigh) {
    const double a = evaporator ? pump.SourceAtEvapMin() : pump.WaterAtCondMin();
    const double b = evaporator ? pump.SourceAtEvapMax() : pump.WaterAtCondMax();
    auto clampT = [&](double t) { return std::clamp(std::isfinite(t) ? t : tLow, tLow, tHigh); };
    const double lower = clampT(std::min(a, b));
    const double higher = clampT(std::max(a, b));
    auto td = [&](double t) {
        return evaporator ? pump.EvapDifference(t) : pump.CondDifference(t);
    };
    return {{{tLow, td(tLow)}, {lower, td(lower)}, {higher, td(higher)}, {tHigh, td(tHigh)}}};
}

}  // namespace kelvra
