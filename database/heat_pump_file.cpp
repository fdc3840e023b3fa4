#include "heat_pump_file.hpp"

#include <fmt/format.h>

#include <cmath>

#include "heat_pump.hpp"

namespace kelvra {

namespace {

constexpr std::size_t kSize = HeatPumpRow::kSize;

// Blanks and control characters at either end go; a name padded with blanks or zero bytes
// comes back as it was typed.
std::string Trimmed(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (begin < end && blank(text[begin])) ++begin;
    while (end > begin && blank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

void PutBlankPadded(std::span<std::uint8_t> record, std::size_t offset, std::size_t length,
                    const std::string& utf8) {
    std::string bytes = Utf8ToWindows1252(utf8);
    if (bytes.size() > length) bytes.resize(length);
    for (std::size_t i = 0; i < length; ++i)
        PutByte(record, offset + i, i < bytes.size() ? static_cast<std::uint8_t>(bytes[i]) : ' ');
}

}  // namespace

HeatPumpRow HeatPumpRow::FromBytes(RecordBytes record) {
    const RecordView r(record, kSize, "heat pump");
    HeatPumpRow row;
    row.sequence = r.I16(0);
    row.name = Trimmed(r.Text(2, kNameLength));
    row.letter = r.Char(27);
    row.source = r.Char(28);
    row.familyCode = r.I16(29);
    row.compressorId = r.U16(31);
    for (std::size_t i = 0; i < row.motorCodes.size(); ++i) row.motorCodes[i] = r.Byte(33 + i);
    row.auxiliaryPower = r.Single(53);
    row.superheat = r.Single(57);
    row.subcooling = r.Single(61);
    row.evapSlope = r.Double(65);
    row.evapReference = r.Double(73);
    row.evapMin = r.Double(81);
    row.evapMax = r.Double(89);
    row.condSlope = r.Double(97);
    row.condIntercept = r.Double(105);
    row.condMin = r.Double(113);
    row.condMax = r.Double(121);
    row.defrostCapacityLoss = r.Double(129);
    row.defrostPowerLoss = r.Double(137);
    row.frostEvapLimit = r.Double(145);
    row.frostSourceLimit = r.Double(153);
    row.cyclingCoefficient = r.Double(161);
    row.endMark = r.I16(169);
    return row;
}

std::array<std::uint8_t, kSize> HeatPumpRow::ToBytes() const {
    std::array<std::uint8_t, kSize> b{};
    PutI16(b, 0, sequence);
    PutBlankPadded(b, 2, kNameLength, name);
    PutByte(b, 27, static_cast<std::uint8_t>(letter));
    PutByte(b, 28, static_cast<std::uint8_t>(source));
    PutI16(b, 29, familyCode);
    PutU16(b, 31, compressorId);
    for (std::size_t i = 0; i < motorCodes.size(); ++i) PutByte(b, 33 + i, motorCodes[i]);
    PutSingle(b, 53, auxiliaryPower);
    PutSingle(b, 57, superheat);
    PutSingle(b, 61, subcooling);
    PutDouble(b, 65, evapSlope);
    PutDouble(b, 73, evapReference);
    PutDouble(b, 81, evapMin);
    PutDouble(b, 89, evapMax);
    PutDouble(b, 97, condSlope);
    PutDouble(b, 105, condIntercept);
    PutDouble(b, 113, condMin);
    PutDouble(b, 121, condMax);
    PutDouble(b, 129, defrostCapacityLoss);
    PutDouble(b, 137, defrostPowerLoss);
    PutDouble(b, 145, frostEvapLimit);
    PutDouble(b, 153, frostSourceLimit);
    PutDouble(b, 161, cyclingCoefficient);
    PutI16(b, 169, endMark);
    return b;
}

bool HeatPumpRow::Finite() const {
    const double values[] = {auxiliaryPower,   superheat,          subcooling,
                             evapSlope,        evapReference,      evapMin,
                             evapMax,          condSlope,          condIntercept,
                             condMin,          condMax,            defrostCapacityLoss,
                             defrostPowerLoss, frostEvapLimit,     frostSourceLimit,
                             cyclingCoefficient};
    for (const double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

HeatPumpRow HeatPumpRow::Of(const THeatPump& pump, std::int16_t sequence) {
    HeatPumpRow row;
    row.sequence = sequence;
    row.name = pump.name;
    row.letter = 'C';
    row.source = pump.sourceKind;
    row.familyCode = static_cast<std::int16_t>(pump.familyNumber);
    row.compressorId = static_cast<std::uint16_t>(pump.compressorId);
    row.motorCodes = pump.motorCodes;
    row.auxiliaryPower = static_cast<float>(pump.auxiliaryPower);
    row.superheat = static_cast<float>(pump.superheat);
    row.subcooling = static_cast<float>(pump.subcooling);
    row.evapSlope = pump.evapSlope;
    row.evapReference = pump.evapOffset;
    row.evapMin = pump.evapMin;
    row.evapMax = pump.evapMax;
    row.condSlope = pump.condSlope;
    row.condIntercept = pump.condOffset;
    row.condMin = pump.condMin;
    row.condMax = pump.condMax;
    row.defrostCapacityLoss = pump.defrostCapacityLoss;
    row.defrostPowerLoss = pump.defrostPowerLoss;
    row.frostEvapLimit = pump.frostEvapLimit;
    row.frostSourceLimit = pump.frostSourceLimit;
    row.cyclingCoefficient = pump.cyclingCoefficient;
    return row;
}

void HeatPumpRow::ApplyTo(THeatPump& pump) const {
    pump.SetName(name);
    pump.key = sequence;
    pump.modelLetter = letter;
    pump.sourceKind = source;
    pump.familyNumber = familyCode;
    pump.compressorId = compressorId;
    pump.motorCodes = motorCodes;
    pump.auxiliaryPower = auxiliaryPower;
    pump.superheat = superheat;
    pump.subcooling = subcooling;
    pump.evapSlope = evapSlope;
    pump.evapOffset = evapReference;
    pump.evapMin = evapMin;
    pump.evapMax = evapMax;
    pump.condSlope = condSlope;
    pump.condOffset = condIntercept;
    pump.condMin = condMin;
    pump.condMax = condMax;
    pump.defrostCapacityLoss = defrostCapacityLoss;
    pump.defrostPowerLoss = defrostPowerLoss;
    pump.frostEvapLimit = frostEvapLimit;
    pump.frostSourceLimit = frostSourceLimit;
    pump.cyclingCoefficient = cyclingCoefficient;
}

std::array<std::uint8_t, kSize> HeatPumpHeaderRecord(double databaseDate) {
    std::array<std::uint8_t, kSize> b{};
    PutSingle(b, 53, static_cast<float>(databaseDate));
    PutI16(b, 169, HeatPumpRow::kEndMark);
    return b;
}

HeatPumpFileRows DecodeHeatPumpFile(std::span<const std::uint8_t> bytes) {
    HeatPumpFileRows out;
    auto refuse = [&out](std::string why) {
        out.ok = false;
        out.error = std::move(why);
        out.rows.clear();
        return out;
    };
    if (bytes.empty()) return refuse("the file is empty: it has no header record");
    if (bytes.size() % kSize != 0) {
        return refuse(fmt::format(
            "the file is damaged or not a heat-pump file: its {} bytes are not a whole number of "
            "{}-byte records",
            bytes.size(), kSize));
    }
    const std::size_t records = bytes.size() / kSize;
    if (records - 1 > kMaxHeatPumpRecords) {
        return refuse(fmt::format("the file holds {} records; a heat-pump file holds at most {}",
                                  records, kMaxHeatPumpRecords + 1));
    }
    const HeatPumpRow header = HeatPumpRow::FromBytes(bytes.subspan(0, kSize));
    if (header.endMark != HeatPumpRow::kEndMark)
        return refuse("the file is not a heat-pump file: its header record has no end mark");
    if (!std::isfinite(header.auxiliaryPower))
        return refuse("the file is damaged: the date in its header is not a number");
    out.date = header.auxiliaryPower;
    out.rows.reserve(records - 1);
    for (std::size_t i = 1; i < records; ++i) {
        HeatPumpRow row = HeatPumpRow::FromBytes(bytes.subspan(i * kSize, kSize));
        if (row.endMark != HeatPumpRow::kEndMark)
            return refuse(fmt::format("the file is damaged: heat pump {} has no end mark", i));
        if (!row.Finite()) {
            return refuse(fmt::format(
                "the file is damaged: heat pump {} (\"{}\") holds a value that is not a number", i,
                row.name));
        }
        out.rows.push_back(std::move(row));
    }
    out.ok = true;
    return out;
}

std::vector<std::uint8_t> EncodeHeatPumpFile(double databaseDate,
                                             std::span<const HeatPumpRow> rows) {
    const auto header = HeatPumpHeaderRecord(databaseDate);
    std::vector<std::uint8_t> out(header.begin(), header.end());
    out.reserve(kSize * (rows.size() + 1));
    for (const HeatPumpRow& row : rows) {
        const auto bytes = row.ToBytes();
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

bool HeatPumpPathIsSet(const std::string& path) {
    return path.size() >= 5;
}

std::filesystem::path HeatPumpFileToRead(const std::string& userPath,
                                         const std::filesystem::path& dataFolder) {
    std::error_code ec;
    if (HeatPumpPathIsSet(userPath) && std::filesystem::exists(userPath, ec)) return userPath;
    return dataFolder / kDefaultHeatPumpFileName;
}

TdPointTemperatures EvaporatorPointTemperatures(bool airSource) {
    return airSource ? TdPointTemperatures{7.0, -7.0} : TdPointTemperatures{0.0, -5.0};
}

TdPointTemperatures CondenserPointTemperatures() {
    return {60.0, 35.0};
}

TdRule EvaporatorRuleFromPoints(bool airSource, double tdFirst, double tdSecond) {
    if (airSource) return {(tdFirst - tdSecond) / 14.0, (tdFirst + tdSecond) / 2.0};
    return {(tdFirst - tdSecond) / 5.0, tdFirst};
}

TdRule CondenserRuleFromPoints(double td60, double td35) {
    return {(td60 - td35) / 25.0, (td35 * 60.0 - td60 * 35.0) / 25.0};
}

std::array<double, 2> EvaporatorPointsFromRule(bool airSource, const TdRule& rule) {
    const TdPointTemperatures t = EvaporatorPointTemperatures(airSource);
    return {rule.slope * t.first + rule.offset, rule.slope * t.second + rule.offset};
}

std::array<double, 2> CondenserPointsFromRule(const TdRule& rule) {
    const TdPointTemperatures t = CondenserPointTemperatures();
    return {rule.slope * t.first + rule.offset, rule.slope * t.second + rule.offset};
}

}  // namespace kelvra
