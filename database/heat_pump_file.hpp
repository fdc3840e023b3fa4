#pragma once

// The user's heat-pump file: fixed records of 177 bytes, little-endian, the first record a header
// carrying the database date, every further record one heat pump built on a compressor of the
// product database.
//
// Decoding is strict: a file whose size is not a whole number of records, that holds more heat
// pumps than a file can number, whose records lack their end mark or hold numbers that are not
// finite is refused as a whole, with the reason in words, so that a damaged file never loads
// half a list.
//
// The editor shows each temperature-difference rule as its values at two temperatures; the
// conversions between those points and the stored slope and reference live here too, so that the
// editor, the catalogue compiler and the tests share one arithmetic.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "record_bytes.hpp"

namespace kelvra {

class THeatPump;

// One record of the heat-pump file.
struct HeatPumpRow {
    static constexpr std::size_t kSize = 177;
    static constexpr std::size_t kNameLength = 25;
    static constexpr std::int16_t kEndMark = 1;

    std::int16_t sequence = 0;                  // 0: position in the list; the heat pump's id
    std::string name;                           // 2: char[25], blank-padded, trimmed on reading
    char letter = 'C';                          // 27: model letter
    char source = 'A';                          // 28: 'A' air, 'W' ground (brine or water)
    std::int16_t familyCode = 0;                // 29: one of the built-in families 70..73
    std::uint16_t compressorId = 0;             // 31
    std::array<std::uint8_t, 20> motorCodes{};  // 33: copied from the compressor
    float auxiliaryPower = 0;                   // 53: fan or pump power kW; header: database date
    float superheat = 0;                        // 57: K
    float subcooling = 0;                       // 61: K
    double evapSlope = 0;                       // 65: K per K
    double evapReference = 0;                   // 73: K at a source temperature of 0 degC
    double evapMin = 0;                         // 81: K
    double evapMax = 0;                         // 89: K
    double condSlope = 0;                       // 97: K per K
    double condIntercept = 0;                   // 105: K
    double condMin = 0;                         // 113: K
    double condMax = 0;                         // 121: K
    double defrostCapacityLoss = 0;             // 129: % of heating capacity
    double defrostPowerLoss = 0;                // 137: % of compressor power
    double frostEvapLimit = 0;                  // 145: at and below this evaporating temp, degC
    double frostSourceLimit = 0;                // 153: at and above this air-on temp, degC
    double cyclingCoefficient = 0;              // 161
    std::int16_t endMark = kEndMark;            // 169: always 1; 171..176 zero

    // Decodes one record (RecordError for fewer than kSize bytes). The name is trimmed.
    static HeatPumpRow FromBytes(RecordBytes record);
    std::array<std::uint8_t, kSize> ToBytes() const;
    // Whether every number of the record is finite.
    bool Finite() const;

    // The record of a heat pump at position `sequence`.
    static HeatPumpRow Of(const THeatPump& pump, std::int16_t sequence);
    // Every value of the record into the heat pump (not its compressor, family or refrigerant).
    void ApplyTo(THeatPump& pump) const;

    bool operator==(const HeatPumpRow&) const = default;
};

// The most heat pumps a file can hold: their sequence numbers are 16-bit.
inline constexpr std::size_t kMaxHeatPumpRecords = 32767;

// The header record: the database date at offset 53, 1 at offset 169, zeros elsewhere.
std::array<std::uint8_t, HeatPumpRow::kSize> HeatPumpHeaderRecord(double databaseDate);

// A decoded heat-pump file; `rows` excludes the header.
struct HeatPumpFileRows {
    bool ok = false;
    std::string error;  // why the file was refused; empty when ok
    double date = 0;    // from the header
    std::vector<HeatPumpRow> rows;
};

// Decodes the bytes of a whole file, header first. Refuses (ok false, no rows) an empty file, a
// size that is not a whole number of records, more than kMaxHeatPumpRecords heat pumps, a record
// without its end mark and a record with a number that is not finite.
HeatPumpFileRows DecodeHeatPumpFile(std::span<const std::uint8_t> bytes);

// The bytes of a whole file: the header, then every row in order.
std::vector<std::uint8_t> EncodeHeatPumpFile(double databaseDate, std::span<const HeatPumpRow> rows);

// --- where the heat pumps come from ---

// The default heat-pump file of the data folder: our own range of heat pumps.
inline constexpr const char* kDefaultHeatPumpFileName = "hpump7.ZQV";

// A heat-pump path of fewer than 5 characters names no file ("X" is the setting's default);
// saving then asks for a file.
bool HeatPumpPathIsSet(const std::string& path);

// The file to read the heat pumps from: the user's file when its path is set and the file
// exists, else the default file of the data folder.
std::filesystem::path HeatPumpFileToRead(const std::string& userPath,
                                         const std::filesystem::path& dataFolder);

// --- the editor's two points of each temperature-difference rule ---

// A rule dT = slope * t + offset.
struct TdRule {
    double slope = 0;
    double offset = 0;
};

// The two source temperatures at which the editor shows the evaporator rule: ground sources at
// 0 and -5 degC, air sources at +7 and -7 degC.
struct TdPointTemperatures {
    double first = 0;
    double second = 0;
};
TdPointTemperatures EvaporatorPointTemperatures(bool airSource);
// The two water-outlet temperatures of the condenser rule: 60 and 35 degC.
TdPointTemperatures CondenserPointTemperatures();

// Ground: slope = (dT(0) - dT(-5)) / 5, reference = dT(0). Air: slope = (dT(+7) - dT(-7)) / 14,
// reference = their mean (which is dT(0) as well).
TdRule EvaporatorRuleFromPoints(bool airSource, double tdFirst, double tdSecond);
// slope = (dT(60) - dT(35)) / 25, intercept = (dT(35) * 60 - dT(60) * 35) / 25.
TdRule CondenserRuleFromPoints(double td60, double td35);
// The rule's values at the two temperatures, unclamped, so that storing them again gives the same
// rule back.
std::array<double, 2> EvaporatorPointsFromRule(bool airSource, const TdRule& rule);
std::array<double, 2> CondenserPointsFromRule(const TdRule& rule);

}  // namespace kelvra
