#include "conditions_keys.hpp"

#include <optional>
#include <string>

namespace kelvra {

namespace {

bool BeginsWithT(const std::string& value) {
    return !value.empty() && (value.front() == 't' || value.front() == 'T');
}

// "useSGR": a missing or empty value means true.
bool ReadUseSGR(const IniFile& ini, std::string_view section) {
    const auto value = ini.Find(section, "useSGR");
    return !value || value->empty() || BeginsWithT(*value);
}

// "useBase": a missing key means true, an empty value false.
bool ReadUseBase(const IniFile& ini, std::string_view section) {
    const auto value = ini.Find(section, "useBase");
    return !value || BeginsWithT(*value);
}

// The input-kind flags: set only by a value beginning with "t" or "T".
bool ReadFlag(const IniFile& ini, std::string_view section, std::string_view key) {
    const auto value = ini.Find(section, key);
    return value && BeginsWithT(*value);
}

// Members that files of older versions do not hold keep their value.
template <typename T>
void ReadKept(const IniFile& ini, std::string_view section, std::string_view key, T& member) {
    member = static_cast<T>(ini.ReadHundredths(section, key, static_cast<double>(member)));
}

}  // namespace

void ReadConditions(const IniFile& ini, OperatingConditions& c, std::string_view s) {
    c.condTemp = ini.ReadHundredths(s, "cond", 30);
    c.evapTemp = ini.ReadHundredths(s, "evap", -10);
    c.subcooling = ini.ReadHundredths(s, "cool", 0);
    c.suctionGasReturn = ini.ReadHundredths(s, "sgr", 25);
    c.superheat = ini.ReadHundredths(s, "superht", 20);
    c.gasCoolerOutletTemp = ini.ReadHundredths(s, "coolgas", 30);
    c.capacity = ini.ReadHundredths(s, "capacity", 0);
    c.satSuctionTemp = ini.ReadHundredths(s, "et", -10);
    c.satDischargeTemp = ini.ReadHundredths(s, "ct", 30);
    c.rpm = ini.ReadInteger(s, "RPM", 3000);
    c.inverterRpm = ini.ReadInteger(s, "inverter", 1500);
    c.ordaSystemDrop = static_cast<float>(ini.ReadHundredths(s, "ordasyspd", 0));
    c.ordaComponentDrop = static_cast<float>(ini.ReadHundredths(s, "ordacomppd", 0));
    c.ordaDiffPressure = static_cast<float>(ini.ReadHundredths(s, "ordadiff", 0.15));
    c.totalNetworkCapacity = static_cast<float>(ini.ReadHundredths(s, "totnetcap", 60));
    c.baseLoad = static_cast<float>(ini.ReadHundredths(s, "baseload", 0));
    c.capacitySteps = ini.ReadInteger(s, "capsteps", 2);
    c.networkUnitCount = ini.ReadInteger(s, "numNetunits", 3);
    c.networkKind = ini.ReadInteger(s, "netkind", 2);
    c.useSGR = ReadUseSGR(ini, s);
    c.useBase = ReadUseBase(ini, s);
    c.unitCount = ini.ReadInteger(s, "Number", 2);
    c.demand = static_cast<float>(ini.ReadHundredths(s, "demand", 10));
    c.minAmbient = static_cast<float>(ini.ReadHundredths(s, "minamb", -18));

    // Input kinds: without them the stored temperatures are the inputs, never a pressure or a
    // liquid temperature left over from the record's previous point.
    c.condByPressure = ReadFlag(ini, s, "condByPress") ? 1 : 0;
    c.evapByPressure = ReadFlag(ini, s, "evapByPress") ? 1 : 0;
    c.liquidTempGiven = ReadFlag(ini, s, "liqGiven");
    ReadKept(ini, s, "condPress", c.condPressure);
    ReadKept(ini, s, "evapPress", c.evapPressure);
    ReadKept(ini, s, "liqTemp", c.liquidTemp);
    ReadKept(ini, s, "ambient", c.ambientTemp);
    ReadKept(ini, s, "waterOut", c.waterOutletTemp);
    ReadKept(ini, s, "sourceIn", c.sourceInletTemp);

    c.advanced = false;
    c.usefulAll = true;
    c.usefulSuperheat = c.superheat;
}

void WriteConditions(IniFile& ini, const OperatingConditions& c, std::string_view s) {
    ini.WriteHundredths(s, "cond", c.condTemp, 30);
    ini.WriteHundredths(s, "evap", c.evapTemp, -10);
    ini.WriteHundredths(s, "cool", c.subcooling, 0);
    ini.WriteHundredths(s, "sgr", c.suctionGasReturn, 25);
    ini.WriteHundredths(s, "superht", c.superheat, 20);
    ini.WriteHundredths(s, "coolgas", c.gasCoolerOutletTemp, 30);
    ini.WriteHundredths(s, "capacity", c.capacity, 0);
    ini.WriteHundredths(s, "satsuc", c.satSuctionTemp, -10);
    ini.WriteHundredths(s, "satdis", c.satDischargeTemp, 30);
    ini.WriteInteger(s, "RPM", c.rpm);
    ini.WriteInteger(s, "inverter", c.inverterRpm);
    ini.WriteHundredths(s, "ordaSyspd", c.ordaSystemDrop, 0);
    ini.WriteHundredths(s, "ordaComppd", c.ordaComponentDrop, 0);
    ini.WriteHundredths(s, "ordadiff", c.ordaDiffPressure, 0.15);
    ini.WriteHundredths(s, "totnetcap", c.totalNetworkCapacity, 60);
    ini.WriteHundredths(s, "baseload", c.baseLoad, 0);
    ini.WriteInteger(s, "capsteps", c.capacitySteps);
    ini.WriteInteger(s, "numNetunits", c.networkUnitCount);
    ini.WriteInteger(s, "netkind", c.networkKind);
    ini.WriteBoolean(s, "useSGR", c.useSGR);
    ini.WriteBoolean(s, "advanced", c.advanced);
    ini.WriteBoolean(s, "useAll", c.usefulAll);
    ini.WriteHundredths(s, "usefulsh", c.usefulSuperheat, 20);
    ini.WriteBoolean(s, "useBase", c.useBase);
    ini.WriteInteger(s, "Number", c.unitCount);
    ini.WriteHundredths(s, "demand", c.demand, 10);
    ini.WriteHundredths(s, "minamb", c.minAmbient, -18);

    ini.WriteBoolean(s, "condByPress", c.condByPressure != 0);
    ini.WriteHundredths(s, "condPress", c.condPressure, 30);
    ini.WriteBoolean(s, "evapByPress", c.evapByPressure != 0);
    ini.WriteHundredths(s, "evapPress", c.evapPressure, 0);
    ini.WriteBoolean(s, "liqGiven", c.liquidTempGiven);
    ini.WriteHundredths(s, "liqTemp", c.liquidTemp, 0);
    ini.WriteHundredths(s, "ambient", c.ambientTemp, 32);
    ini.WriteHundredths(s, "waterOut", c.waterOutletTemp, 30);
    ini.WriteHundredths(s, "sourceIn", c.sourceInletTemp, -10);
}

}  // namespace kelvra
