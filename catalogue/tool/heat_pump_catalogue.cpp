#include "heat_pump_catalogue.hpp"

#include <fmt/format.h>

#include <set>

#include "catalogue_compiler.hpp"
#include "heat_pump_file.hpp"

namespace kelvra::catalogue {

namespace {

[[noreturn]] void FailAt(const Where& w, const std::string& problem) {
    throw SourceError(w.file, w.path, problem);
}

const CompressorEntry* FindEntry(const std::vector<CompressorEntry>& entries, const HeatPumpDef& h) {
    for (const CompressorEntry& e : entries)
        if (e.model->name == h.compressorModel && e.refrigerant->name == h.refrigerant && e.supply->code == h.supply)
            return &e;
    return nullptr;
}

}  // namespace

HeatPumpDef ReadHeatPump(const Node& n) {
    n.OnlyKeys({"name", "family", "source", "compressor", "auxiliaryPower", "superheat", "subcooling",
                "cyclingCoefficient", "evaporatorTD", "condenserTD", "defrost"});
    HeatPumpDef h;
    h.where = {n.File(), n.Path()};
    h.name = n["name"].Text(HeatPumpRow::kNameLength);
    if (h.name.empty()) n["name"].Fail("a heat pump needs a name");
    h.family = static_cast<int>(n["family"].Integer(70, 73));
    h.source = n["source"].Letter("AW");
    const Node comp = n["compressor"];
    comp.OnlyKeys({"model", "refrigerant", "supply"});
    h.compressorModel = comp["model"].Text();
    h.refrigerant = comp["refrigerant"].Text();
    h.supply = static_cast<int>(comp["supply"].Integer(1, 32767));
    h.auxiliaryPower = n["auxiliaryPower"].Number(0, 50);
    h.superheat = n.Number("superheat", 0, 30, 5);
    h.subcooling = n.Number("subcooling", 0, 30, 4);
    h.cyclingCoefficient = n.Number("cyclingCoefficient", 0, 1, 0.9);

    const Node evap = n["evaporatorTD"];
    const bool air = h.source == 'A';
    const char* first = air ? "atPlus7" : "at0";
    const char* second = air ? "atMinus7" : "atMinus5";
    evap.OnlyKeys({first, second, "min", "max"});
    h.evapFirst = evap[first].Number(0, 40);
    h.evapSecond = evap[second].Number(0, 40);
    h.evapMin = evap["min"].Number(0, 40);
    h.evapMax = evap["max"].Number(0, 40);
    if (h.evapMin > h.evapMax) evap.Fail("the minimum temperature difference lies above the maximum");

    const Node cond = n["condenserTD"];
    cond.OnlyKeys({"at60", "at35", "min", "max"});
    h.cond60 = cond["at60"].Number(0, 40);
    h.cond35 = cond["at35"].Number(0, 40);
    h.condMin = cond["min"].Number(0, 40);
    h.condMax = cond["max"].Number(0, 40);
    if (h.condMin > h.condMax) cond.Fail("the minimum temperature difference lies above the maximum");

    if (auto d = n.Find("defrost")) {
        if (!air) d->Fail("only an air source defrosts");
        d->OnlyKeys({"capacityLoss", "powerLoss", "evaporatingAtOrBelow", "airOnAtOrAbove"});
        h.defrostCapacityLoss = (*d)["capacityLoss"].Number(0, 100);
        h.defrostPowerLoss = (*d)["powerLoss"].Number(0, 100);
        h.frostEvapLimit = (*d)["evaporatingAtOrBelow"].Number(-50, 30);
        h.frostSourceLimit = (*d)["airOnAtOrAbove"].Number(-50, 30);
    }
    return h;
}

void CheckHeatPumps(const CatalogueSource& source) {
    const std::vector<CompressorEntry> entries = EnumerateCompressors(source);
    std::set<std::string> names;
    for (const HeatPumpDef& h : source.heatPumps) {
        if (!names.insert(h.name).second) FailAt(h.where, fmt::format("heat pump \"{}\" is listed twice", h.name));
        const bool groundFamily = h.family == 70 || h.family == 71;
        if (groundFamily != (h.source == 'W'))
            FailAt(h.where, fmt::format("family {} holds {} heat pumps", h.family, groundFamily ? "ground-source" : "air-source"));
        if (!FindEntry(entries, h))
            FailAt(h.where, fmt::format("no compressor {} on {} with supply {} in the catalogue", h.compressorModel,
                                        h.refrigerant, h.supply));
    }
}

std::vector<std::uint8_t> CompileHeatPumps(const CatalogueSource& source, const ProductDatabase& database) {
    if (source.heatPumps.empty()) return {};
    const std::vector<CompressorEntry> entries = EnumerateCompressors(source);
    std::vector<HeatPumpRow> rows;
    for (const HeatPumpDef& h : source.heatPumps) {
        const CompressorEntry* entry = FindEntry(entries, h);
        if (!entry) FailAt(h.where, fmt::format("no compressor {} on {}", h.compressorModel, h.refrigerant));
        const CompressorRow* record = nullptr;
        for (const CompressorRow& row : database.compressors)
            if (row.id == entry->id) record = &row;
        if (!record) FailAt(h.where, fmt::format("compressor {} was not compiled", h.compressorModel));

        HeatPumpRow row;
        row.sequence = static_cast<std::int16_t>(rows.size());
        row.name = h.name;
        row.letter = 'C';
        row.source = h.source;
        row.familyCode = static_cast<std::int16_t>(h.family);
        row.compressorId = record->id;
        row.motorCodes = record->motorCodes;
        row.auxiliaryPower = static_cast<float>(h.auxiliaryPower);
        row.superheat = static_cast<float>(h.superheat);
        row.subcooling = static_cast<float>(h.subcooling);
        const TdRule evap = EvaporatorRuleFromPoints(h.source == 'A', h.evapFirst, h.evapSecond);
        row.evapSlope = evap.slope;
        row.evapReference = evap.offset;
        row.evapMin = h.evapMin;
        row.evapMax = h.evapMax;
        const TdRule cond = CondenserRuleFromPoints(h.cond60, h.cond35);
        row.condSlope = cond.slope;
        row.condIntercept = cond.offset;
        row.condMin = h.condMin;
        row.condMax = h.condMax;
        row.defrostCapacityLoss = h.defrostCapacityLoss;
        row.defrostPowerLoss = h.defrostPowerLoss;
        row.frostEvapLimit = h.frostEvapLimit;
        row.frostSourceLimit = h.frostSourceLimit;
        row.cyclingCoefficient = h.cyclingCoefficient;
        rows.push_back(row);
    }
    return EncodeHeatPumpFile(source.databaseDate, rows);
}

}  // namespace kelvra::catalogue
