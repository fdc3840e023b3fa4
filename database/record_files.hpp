#pragma once

// The record files of the product database: one plain struct per record layout, its exact
// conversion from and to the record's bytes, reading a whole file into records, and writing a
// whole database folder.
//
// The structs hold the fields exactly as stored: texts are not trimmed (the data store trims
// them when it builds its objects), single-byte text is Windows-1252 in the file and UTF-8
// here. For every struct, FromBytes(ToBytes(row)) == row as long as each text fits its field
// and holds no zero byte; for every record whose text fields are zero-padded after their text,
// ToBytes(FromBytes(bytes)) gives the same bytes back.
//
// The first record of every file is its header. Most headers carry the database date (whole
// days since 30 December 1899) in one field; the header of "header5" also carries the format
// code 760. Reading returns the header as record 0, decoded like any other record.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "record_bytes.hpp"

namespace kelvra {

// A database file that cannot be written, or a record file that cannot be read at all.
class DatabaseFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The files of the product database, in the order the data store reads them.
enum class DatabaseFile {
    Header,              // "header5"
    SuppliesAndTypes,    // "envtype5"
    Headings,            // "header25"
    MotorCodes,          // "motcod5"
    Compressors,         // "comp5"
    CondensingUnits,     // "cond5"
    CompressorTechData,  // "comptech5"
    UnitTechData,        // "condtech5"
    Accessories,         // "access5"
    OrdaCorrections,     // "ordakorr5"
    OrdaModels,          // "ordamod"
    OrdaTechData,        // "ordatech"
    EnvelopePoints,      // "ENVDATA5"
    RatingSets,          // "CRATE5"
    SpeedData,           // "rpmData"
    Drawings,            // "draw6"
};
inline constexpr int kDatabaseFileCount = 16;

// Every file, in reading order.
std::span<const DatabaseFile> AllDatabaseFiles();

// The base name of the file ("comp5") and its name in the data folder ("comp5.ZQV").
std::string_view DatabaseFileBaseName(DatabaseFile file);
std::string DatabaseFileName(DatabaseFile file);
// The record size of the file's layout.
std::size_t DatabaseRecordSize(DatabaseFile file);

// Where the header record of a file carries the database date.
struct HeaderDateField {
    std::size_t offset = 0;
    bool isDouble = false;  // "CRATE5": an 8-byte double; every other file a 4-byte single
};
// The date field of the file's header; none for the files whose header is only skipped
// ("header25", "access5", "rpmData", "draw6").
std::optional<HeaderDateField> DatabaseHeaderDate(DatabaseFile file);

// The format code in the first record of "header5".
inline constexpr std::int16_t kDatabaseFormatCode = 760;

// The file of `base` + ".ZQV" in `folder`, its name compared without regard to case (an exact
// match is preferred; among several others the first in name order is taken). Empty when the
// folder holds no such regular file.
std::filesystem::path FindDatabaseFile(const std::filesystem::path& folder, DatabaseFile file);

// ---------------------------------------------------------------------------------------------
// Record layouts. Offsets are from the start of the record; all integers little-endian.

// "header5", 43 bytes: the format header, families and refrigerants.
struct HeaderRow {
    static constexpr std::size_t kSize = 43;
    std::int16_t code = 0;  // 0: format code (760) in the header; family or refrigerant code
    std::string name;       // 2: char[35]
    char marker = ' ';      // 37: 'R' marks a refrigerant row; a family's sub-letter
    char kind = ' ';        // 38: family kind C, H, U, V; a refrigerant's kind letter
    float value = 0;        // 39: family category; refrigerant factor; the header's date

    static HeaderRow FromBytes(RecordBytes record);
    std::array<std::uint8_t, kSize> ToBytes() const;
    bool operator==(const HeaderRow&) const = default;
};

// "envtype5", 39 bytes: electrical supplies (frequency above 39) and envelope types.
struct EnvTypeRow {
    static constexpr std::size_t kSize = 39;
    std::string name;              // 0: char[25]
    std::int16_t id = 0;           // 25: supply code or envelope-type id
    std::int16_t flag = 0;         // 27: non-zero means true
    std::int16_t kindOrHertz = 0;  // 29: supply frequency (above 39) or envelope kind
    float value1 = 0;              // 31: supply voltage; envelope limit; the header's date
    float value2 = 0;              // 35: supply phases; second envelope value

    static EnvTypeRow FromBytes(RecordBytes record);
    std::array<std::uint8_t, kSize> ToBytes() const;
    bool operator==(const EnvTypeRow&) const = default;
};

// "header25", 4 bytes: headings of technical data and accessories.
struct HeadingRow {
    static constexpr std::size_t kSize = 4;
    std::uint16_t id = 0;    // 0
    char keySelector = ' ';  // 2: 'C' model id, 'M' M-key, 'R' R-key
    char group = ' ';        // 3: 'E' electrical, 'M' mechanical, other letters accessories

    static HeadingRow FromBytes(RecordBytes record);
    std::array<std::uint8_t, kSize> ToBytes() const;
    bool operator==(const HeadingRow&) const = default;
};

// "motcod5", 70 bytes: motor codes.
struct MotorCodeRow {
    static constexpr std::size_t kSize = 70;
    std::uint16_t id = 0;          // 0
    std::string code;              // 2: char[3]
    std::string supplyText;        // 5: char[16]
    std::string voltageText;       // 21: char[15]
    std::string connectionText;    // 36: char[15]
    std::string directOnLineText;  // 51: char[15]
    float currentBasis = 0;        // 66: the header's date

    static MotorCodeRow FromBytes(RecordBytes record);
    std::array<std::uint8_t, kSize> ToBytes() const;
    bool operator==(const MotorCodeRow&) const = default;
};

// "comp5", 83 bytes: compressors.
struct CompressorRow {
    static constexpr std::size_t kSize = 83;
    std::uint16_t id = 0;                       // 0
    std::uint16_t secondNumber = 0;             // 2
    std::string name;                           // 4: char[25]
    char letter = ' ';                          // 29: 'C' common to every unit letter
    std::int16_t familyCode = 0;                // 30
    std::int16_t refrigerantCode = 0;           // 32
    std::int16_t supplyCode = 0;                // 34
    std::array<std::uint8_t, 20> motorCodes{};  // 36: motor-code ids, 0 = empty slot
    std::uint16_t ratingSetA = 0;               // 56: 0 = the record is skipped
    std::uint16_t ratingSetB = 0;               // 58: 0 = none
    std::uint16_t ratingSetC = 0;               // 60: 0 = none
    float massFlowFactor = 0;                   // 62: the header's date
    float capacityFactor = 0;                   // 66
    float powerFactor = 0;                      // 70
    std::uint16_t rKey = 0;                     // 74
    std::uint16_t mKey = 0;                     // 76
    std::uint16_t drawingNumber = 0;            // 78
    std::uint16_t applicationMask = 0;          // 80
    std::uint8_t ratingByte = 0;                // 82: rating class (and heating flag from 10 up)

    static CompressorRow FromBytes(RecordBytes record);
    std::array<std::uint8_t, kSize> ToBytes() const;
    bool operator==(const CompressorRow&) const = default;
};

// The rating class and heating flag of a rating byte: below 10 the class is the value and the
// flag false; from 10 the class is value div 10 and the flag tells whether the value is even.
struct RatingByte {
    int ratingClass = 0;
    bool heating = false;
};
RatingByte DecodeRatingByte(std::uint8_t value);

// "cond5", 71 bytes: condensing units and network units.
struct CondensingUnitRow {
    static constexpr std::size_t kSize = 71;
    std::uint16_t id = 0;                       // 0
    std::string name;                           // 2: char[25]
    char letter = ' ';                          // 27
    std::int16_t familyCode = 0;                // 28: 22, 23, 26 are network families
    std::uint16_t compressorId = 0;             // 30
    std::array<std::uint8_t, 20> motorCodes{};  // 32
    float condenserCoefficient = 0;             // 52: kW/K; the header's date
    float fanPower = 0;                         // 56: W
    std::uint16_t drawingNumber = 0;            // 60: also the unit's R-key
    std::array<std::uint8_t, 4> unused{};       // 62: not read
    std::uint8_t ratingClass = 0;               // 66
    float maxCondensingPressure = 0;            // 67: bar, 0 = no limit

    static CondensingUnitRow FromBytes(RecordBytes record);
    std::array<std::uint8_t, kSize> ToBytes() const;
    bool operator==(const CondensingUnitRow&) const = default;
};

// "comptech5" and "condtech5", 43 bytes: technical data.
struct TechDataRow {
    static constexpr std::size_t kSize = 43;
    std::uint16_t modelKey = 0;   // 0
    std::uint16_t headingId = 0;  // 2
    std::string text;             // 4: char[35]
    float value = 0;              // 39: the header's date

    static TechDataRow FromBytes(RecordBytes record);
    std::array<std::uint8_t, kSize> ToBytes() const;
    bool operator==(const TechDataRow&) const = default;
};

// "access5", 8 bytes: accessories.
struct AccessoryRow {
    static constexpr std::size_t kSize = 8;
    std::uint16_t modelKey = 0;   // 0
    std::uint16_t headingId = 0;  // 2
    std::uint16_t textKey = 0;    // 4: language key of the caption, in decimal
    char productKind = 'C';       // 6: 'U'/'u' units, 'V'/'v' controls, else compressors
    char list = 'I';              // 7: 'I'/'i' included, 'O'/'o' optional

    static AccessoryRow FromBytes(RecordBytes record);
    std::array<std::uint8_t, kSize> ToBytes() const;
    bool operator==(const AccessoryRow&) const = default;
};

// "ordakorr5", 261 bytes: one row of a controls correction table; consecutive rows with the
// same group id form one group.
struct OrdaCorrectionRow {
    static constexpr std::size_t kSize = 261;
    std::int16_t groupId = 0;              // 0
    std::uint16_t groupValue = 0;          // 2
    char typeLetter = ' ';                 // 4: valve type (the group's first row)
    float rowValue = 0;                    // 5: row temperature; the header's date
    float columnOrigin = 0;                // 9: x0 (the group's first row)
    std::array<double, 30> factors{};      // 13: correction factors of columns 1..30
    std::array<std::uint8_t, 8> unused{};  // 253: not read

    static OrdaCorrectionRow FromBytes(RecordBytes record);
    std::array<std::uint8_t, kSize> ToBytes() const;
    bool operator==(const OrdaCorrectionRow&) const = default;
};

// "ordamod", 68 bytes: controls valves.
struct OrdaModelRow {
    static constexpr std::size_t kSize = 68;
    std::uint16_t id = 0;              // 0: also the valve's key for technical data
    std::string name;                  // 2: char[25]
    std::string secondName;            // 27: char[25]
    std::int16_t familyCode = 0;       // 52
    std::int16_t refrigerantCode = 0;  // 54
    std::uint16_t groupId = 0;         // 56: correction group
    float nominalCapacity = 0;         // 58: kW; the header's date
    float secondValue = 0;             // 62
    std::uint16_t drawingNumber = 0;   // 66

    static OrdaModelRow FromBytes(RecordBytes record);
    std::array<std::uint8_t, kSize> ToBytes() const;
    bool operator==(const OrdaModelRow&) const = default;
};

// "ordatech", 68 bytes: technical data of controls valves.
struct OrdaTechRow {
    static constexpr std::size_t kSize = 68;
    std::uint16_t valveKey = 0;   // 0
    std::uint16_t headingId = 0;  // 2: 0 = no heading
    std::string shortText;        // 4: char[25]
    std::string longText;         // 29: char[35]
    float value = 0;              // 64: the header's date

    static OrdaTechRow FromBytes(RecordBytes record);
    std::array<std::uint8_t, kSize> ToBytes() const;
    bool operator==(const OrdaTechRow&) const = default;
};

// "ENVDATA5", 15 bytes: points of operating envelopes.
struct EnvelopePointRow {
    static constexpr std::size_t kSize = 15;
    std::uint16_t setIndex = 0;       // 0: rating data set
    std::uint8_t envelopeNumber = 0;  // 2: 0-based
    std::int16_t side = 0;            // 3: 0 left (minimum evaporating) line, else right
    float y = 0;                      // 5: condensing temperature degC (or bar); header's date
    float x = 0;                      // 9: evaporating temperature degC
    std::uint16_t speed = 0;          // 13: variable-speed marker (rpm), 0 for fixed speed

    static EnvelopePointRow FromBytes(RecordBytes record);
    std::array<std::uint8_t, kSize> ToBytes() const;
    bool operator==(const EnvelopePointRow&) const = default;
};

// "CRATE5", 466 bytes: a rating data set, kept verbatim (the rating-set builder writes it).
struct RatingSetRow {
    static constexpr std::size_t kSize = 466;
    std::array<std::uint8_t, kSize> bytes{};

    std::uint16_t Index() const;  // offset 0

    static RatingSetRow FromBytes(RecordBytes record);
    std::array<std::uint8_t, kSize> ToBytes() const { return bytes; }
    bool operator==(const RatingSetRow&) const = default;
};

// "rpmData", 324 bytes: speed polynomials or (kind 64) inverter polynomials of a set.
struct SpeedDataRow {
    static constexpr std::size_t kSize = 324;
    std::uint16_t setIndex = 0;       // 0
    std::uint16_t kind = 0;           // 2: 64 inverter data, else speed data
    std::array<double, 40> values{};  // 4

    static SpeedDataRow FromBytes(RecordBytes record);
    std::array<std::uint8_t, kSize> ToBytes() const;
    bool operator==(const SpeedDataRow&) const = default;
};

// "draw6", 38 bytes: the drawing index.
struct DrawingRow {
    static constexpr std::size_t kSize = 38;
    std::int16_t number = 0;  // 0
    std::string fileName;     // 2: char[35], kept with its blanks
    char productKind = 'C';   // 37: 'C'/'c', 'U'/'u', 'V'/'v'

    static DrawingRow FromBytes(RecordBytes record);
    std::array<std::uint8_t, kSize> ToBytes() const;
    bool operator==(const DrawingRow&) const = default;
};

// ---------------------------------------------------------------------------------------------
// Reading.

// The bytes of one record file cut into records of one size. Reading never fails with an
// exception: what went wrong is in Error(), and the complete records read before it stay
// available. A file whose size is not a whole number of records keeps its whole records and
// reports the short last one; a file larger than kMaxFileSize is not read.
class RecordFile {
  public:
    static constexpr std::uintmax_t kMaxFileSize = 256u * 1024u * 1024u;

    RecordFile() = default;
    // Reads the file at `path` (an empty path: the file is missing).
    static RecordFile Read(const std::filesystem::path& path, std::size_t recordSize);
    // Cuts bytes already in memory.
    static RecordFile FromBytes(std::vector<std::uint8_t> bytes, std::size_t recordSize);

    bool Found() const { return found_; }
    // True when the file was found and every byte of it belongs to a whole record.
    bool Complete() const { return found_ && error_.empty(); }
    // What went wrong, in words; empty when nothing did.
    const std::string& Error() const { return error_; }

    std::size_t RecordSize() const { return recordSize_; }
    std::size_t Count() const { return count_; }
    // Record `i` (0 is the header); std::out_of_range for i >= Count().
    RecordBytes Record(std::size_t i) const;

  private:
    std::vector<std::uint8_t> bytes_;
    std::size_t recordSize_ = 0;
    std::size_t count_ = 0;
    bool found_ = false;
    std::string error_;
};

// The records of a file decoded into one layout, the header first, with what went wrong.
template <class Row>
struct RecordRows {
    std::vector<Row> rows;
    bool found = false;
    std::string error;  // empty when every byte was read
};

// Decodes every whole record of the file.
template <class Row>
RecordRows<Row> DecodeRows(const RecordFile& file) {
    RecordRows<Row> out;
    out.found = file.Found();
    out.error = file.Error();
    out.rows.reserve(file.Count());
    for (std::size_t i = 0; i < file.Count(); ++i)
        out.rows.push_back(Row::FromBytes(file.Record(i)));
    return out;
}

// Reads a whole file of layout `Row` (a record size other than Row::kSize is refused).
template <class Row>
RecordRows<Row> ReadRows(const std::filesystem::path& path) {
    return DecodeRows<Row>(RecordFile::Read(path, Row::kSize));
}

// Reads database file `file` of `folder` (found without regard to case) as layout `Row`.
template <class Row>
RecordRows<Row> ReadDatabaseRows(const std::filesystem::path& folder, DatabaseFile file) {
    return ReadRows<Row>(FindDatabaseFile(folder, file));
}

// ---------------------------------------------------------------------------------------------
// Writing.

// The bytes of a whole record file: `header` followed by every row.
template <class Row>
std::vector<std::uint8_t> EncodeRows(const std::array<std::uint8_t, Row::kSize>& header,
                                     std::span<const Row> rows) {
    std::vector<std::uint8_t> out(header.begin(), header.end());
    out.reserve(Row::kSize * (rows.size() + 1));
    for (const Row& row : rows) {
        const auto bytes = row.ToBytes();
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

// The header record of a file: zero bytes with the date in the file's date field, and for
// "header5" the format code at offset 0.
std::vector<std::uint8_t> HeaderRecord(DatabaseFile file, double date);

// Everything a product database folder holds, row by row, without the headers.
struct ProductDatabase {
    double date = 0;  // whole days since 30 December 1899, written into every header
    std::int16_t formatCode = kDatabaseFormatCode;
    // Headers that carry another date than `date` (for damaged fixtures).
    std::map<DatabaseFile, double> headerDates;

    std::vector<HeaderRow> header;  // families and refrigerants
    std::vector<EnvTypeRow> suppliesAndTypes;
    std::vector<HeadingRow> headings;
    std::vector<MotorCodeRow> motorCodes;
    std::vector<CompressorRow> compressors;
    std::vector<CondensingUnitRow> condensingUnits;
    std::vector<TechDataRow> compressorTechData;
    std::vector<TechDataRow> unitTechData;
    std::vector<AccessoryRow> accessories;
    std::vector<OrdaCorrectionRow> ordaCorrections;
    std::vector<OrdaModelRow> ordaModels;
    std::vector<OrdaTechRow> ordaTechData;
    std::vector<EnvelopePointRow> envelopePoints;
    std::vector<RatingSetRow> ratingSets;
    std::vector<SpeedDataRow> speedData;
    std::vector<DrawingRow> drawings;
};

// The bytes of one file of the database, header included.
std::vector<std::uint8_t> EncodeDatabaseFile(const ProductDatabase& database, DatabaseFile file);

// Writes every file of the database into `folder` (created when missing) under the names of
// DatabaseFileName, replacing files of the same name. Each file is written to a temporary file
// first and then renamed over the old one. Throws DatabaseFileError naming the file when one
// cannot be written.
void WriteProductDatabase(const std::filesystem::path& folder, const ProductDatabase& database);

// Writes bytes to a file the same way (temporary file, then rename).
void WriteRecordFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace kelvra
