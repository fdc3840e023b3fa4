#include "record_files.hpp"

#include <fmt/format.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <system_error>

namespace kelvra {

namespace {

struct FileInfo {
    DatabaseFile file;
    std::string_view baseName;
    std::size_t recordSize;
    std::optional<HeaderDateField> date;
};

constexpr std::array<FileInfo, kDatabaseFileCount> kFiles{{
    {DatabaseFile::Header, "header5", HeaderRow::kSize, HeaderDateField{39, false}},
    {DatabaseFile::SuppliesAndTypes, "envtype5", EnvTypeRow::kSize, HeaderDateField{31, false}},
    {DatabaseFile::Headings, "header25", HeadingRow::kSize, std::nullopt},
    {DatabaseFile::MotorCodes, "motcod5", MotorCodeRow::kSize, HeaderDateField{66, false}},
    {DatabaseFile::Compressors, "comp5", CompressorRow::kSize, HeaderDateField{62, false}},
    {DatabaseFile::CondensingUnits, "cond5", CondensingUnitRow::kSize, HeaderDateField{52, false}},
    {DatabaseFile::CompressorTechData, "comptech5", TechDataRow::kSize, HeaderDateField{39, false}},
    {DatabaseFile::UnitTechData, "condtech5", TechDataRow::kSize, HeaderDateField{39, false}},
    {DatabaseFile::Accessories, "access5", AccessoryRow::kSize, std::nullopt},
    {DatabaseFile::OrdaCorrections, "ordakorr5", OrdaCorrectionRow::kSize,
     HeaderDateField{5, false}},
    {DatabaseFile::OrdaModels, "ordamod", OrdaModelRow::kSize, HeaderDateField{58, false}},
    {DatabaseFile::OrdaTechData, "ordatech", OrdaTechRow::kSize, HeaderDateField{64, false}},
    {DatabaseFile::EnvelopePoints, "ENVDATA5", EnvelopePointRow::kSize, HeaderDateField{5, false}},
    {DatabaseFile::RatingSets, "CRATE5", RatingSetRow::kSize, HeaderDateField{4, true}},
    {DatabaseFile::SpeedData, "rpmData", SpeedDataRow::kSize, std::nullopt},
    {DatabaseFile::Drawings, "draw6", DrawingRow::kSize, std::nullopt},
}};

constexpr std::array<DatabaseFile, kDatabaseFileCount> kOrder{
    DatabaseFile::Header,
    DatabaseFile::SuppliesAndTypes,
    DatabaseFile::Headings,
    DatabaseFile::MotorCodes,
    DatabaseFile::Compressors,
    DatabaseFile::CondensingUnits,
    DatabaseFile::CompressorTechData,
    DatabaseFile::UnitTechData,
    DatabaseFile::Accessories,
    DatabaseFile::OrdaCorrections,
    DatabaseFile::OrdaModels,
    DatabaseFile::OrdaTechData,
    DatabaseFile::EnvelopePoints,
    DatabaseFile::RatingSets,
    DatabaseFile::SpeedData,
    DatabaseFile::Drawings,
};

const FileInfo& Info(DatabaseFile file) {
    const auto i = static_cast<std::size_t>(file);
    if (i >= kFiles.size()) throw std::out_of_range("not a database file");
    return kFiles[i];
}

constexpr std::string_view kExtension = ".ZQV";

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

template <std::size_t N>
using Bytes = std::array<std::uint8_t, N>;

void PutFour(std::span<std::uint8_t> record, std::size_t offset,
             const std::array<std::uint8_t, 4>& four) {
    for (std::size_t i = 0; i < 4; ++i) PutByte(record, offset + i, four[i]);
}

void PutChar(std::span<std::uint8_t> record, std::size_t offset, char c) {
    PutByte(record, offset, static_cast<std::uint8_t>(c));
}

}  // namespace

std::span<const DatabaseFile> AllDatabaseFiles() {
    return kOrder;
}

std::string_view DatabaseFileBaseName(DatabaseFile file) {
    return Info(file).baseName;
}

std::string DatabaseFileName(DatabaseFile file) {
    return std::string(Info(file).baseName) + std::string(kExtension);
}

std::size_t DatabaseRecordSize(DatabaseFile file) {
    return Info(file).recordSize;
}

std::optional<HeaderDateField> DatabaseHeaderDate(DatabaseFile file) {
    return Info(file).date;
}

std::filesystem::path FindDatabaseFile(const std::filesystem::path& folder, DatabaseFile file) {
    const std::string wanted = DatabaseFileName(file);
    std::error_code ec;
    const std::filesystem::path exact = folder / wanted;
    if (std::filesystem::is_regular_file(exact, ec)) return exact;

    std::vector<std::filesystem::path> matches;
    std::filesystem::directory_iterator it(folder, ec);
    if (ec) return {};
    // A folder holds a bounded number of entries; the iterator ends at the last one.
    for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        const std::string name = it->path().filename().string();
        if (!EqualsIgnoringCase(name, wanted)) continue;
        std::error_code typeError;
        if (it->is_regular_file(typeError)) matches.push_back(it->path());
    }
    if (matches.empty()) return {};
    std::sort(matches.begin(), matches.end());
    return matches.front();
}

// --- layouts ---

HeaderRow HeaderRow::FromBytes(RecordBytes record) {
    const RecordView r(record, kSize, "header5");
    HeaderRow row;
    row.code = r.I16(0);
    row.name = r.Text(2, 35);
    row.marker = r.Char(37);
    row.kind = r.Char(38);
    row.value = r.Single(39);
    return row;
}

std::array<std::uint8_t, HeaderRow::kSize> HeaderRow::ToBytes() const {
    Bytes<kSize> b{};
    PutI16(b, 0, code);
    PutText(b, 2, 35, name);
    PutChar(b, 37, marker);
    PutChar(b, 38, kind);
    PutSingle(b, 39, value);
    return b;
}

EnvTypeRow EnvTypeRow::FromBytes(RecordBytes record) {
    const RecordView r(record, kSize, "envtype5");
    EnvTypeRow row;
    row.name = r.Text(0, 25);
    row.id = r.I16(25);
    row.flag = r.I16(27);
    row.kindOrHertz = r.I16(29);
    row.value1 = r.Single(31);
    row.value2 = r.Single(35);
    return row;
}

std::array<std::uint8_t, EnvTypeRow::kSize> EnvTypeRow::ToBytes() const {
    Bytes<kSize> b{};
    PutText(b, 0, 25, name);
    PutI16(b, 25, id);
    PutI16(b, 27, flag);
    PutI16(b, 29, kindOrHertz);
    PutSingle(b, 31, value1);
    PutSingle(b, 35, value2);
    return b;
}

HeadingRow HeadingRow::FromBytes(RecordBytes record) {
    const RecordView r(record, kSize, "header25");
    HeadingRow row;
    row.id = r.U16(0);
    row.keySelector = r.Char(2);
    row.group = r.Char(3);
    return row;
}

std::array<std::uint8_t, HeadingRow::kSize> HeadingRow::ToBytes() const {
    Bytes<kSize> b{};
    PutU16(b, 0, id);
    PutChar(b, 2, keySelector);
    PutChar(b, 3, group);
    return b;
}

MotorCodeRow MotorCodeRow::FromBytes(RecordBytes record) {
    const RecordView r(record, kSize, "motcod5");
    MotorCodeRow row;
    row.id = r.U16(0);
    row.code = r.Text(2, 3);
    row.supplyText = r.Text(5, 16);
    row.voltageText = r.Text(21, 15);
    row.connectionText = r.Text(36, 15);
    row.directOnLineText = r.Text(51, 15);
    row.currentBasis = r.Single(66);
    return row;
}

std::array<std::uint8_t, MotorCodeRow::kSize> MotorCodeRow::ToBytes() const {
    Bytes<kSize> b{};
    PutU16(b, 0, id);
    PutText(b, 2, 3, code);
    PutText(b, 5, 16, supplyText);
    PutText(b, 21, 15, voltageText);
    PutText(b, 36, 15, connectionText);
    PutText(b, 51, 15, directOnLineText);
    PutSingle(b, 66, currentBasis);
    return b;
}

CompressorRow CompressorRow::FromBytes(RecordBytes record) {
    const RecordView r(record, kSize, "comp5");
    CompressorRow row;
    row.id = r.U16(0);
    row.secondNumber = r.U16(2);
    row.name = r.Text(4, 25);
    row.letter = r.Char(29);
    row.familyCode = r.I16(30);
    row.refrigerantCode = r.I16(32);
    row.supplyCode = r.I16(34);
    for (std::size_t i = 0; i < row.motorCodes.size(); ++i) row.motorCodes[i] = r.Byte(36 + i);
    row.ratingSetA = r.U16(56);
    row.ratingSetB = r.U16(58);
    row.ratingSetC = r.U16(60);
    row.massFlowFactor = r.Single(62);
    row.capacityFactor = r.Single(66);
    row.powerFactor = r.Single(70);
    row.rKey = r.U16(74);
    row.mKey = r.U16(76);
    row.drawingNumber = r.U16(78);
    row.applicationMask = r.U16(80);
    row.ratingByte = r.Byte(82);
    return row;
}

std::array<std::uint8_t, CompressorRow::kSize> CompressorRow::ToBytes() const {
    Bytes<kSize> b{};
    PutU16(b, 0, id);
    PutU16(b, 2, secondNumber);
    PutText(b, 4, 25, name);
    PutChar(b, 29, letter);
    PutI16(b, 30, familyCode);
    PutI16(b, 32, refrigerantCode);
    PutI16(b, 34, supplyCode);
    for (std::size_t i = 0; i < motorCodes.size(); ++i) PutByte(b, 36 + i, motorCodes[i]);
    PutU16(b, 56, ratingSetA);
    PutU16(b, 58, ratingSetB);
    PutU16(b, 60, ratingSetC);
    PutSingle(b, 62, massFlowFactor);
    PutSingle(b, 66, capacityFactor);
    PutSingle(b, 70, powerFactor);
    PutU16(b, 74, rKey);
    PutU16(b, 76, mKey);
    PutU16(b, 78, drawingNumber);
    PutU16(b, 80, applicationMask);
    PutByte(b, 82, ratingByte);
    return b;
}

RatingByte DecodeRatingByte(std::uint8_t value) {
    if (value < 10) return {value, false};
    return {value / 10, value % 2 == 0};
}

CondensingUnitRow CondensingUnitRow::FromBytes(RecordBytes record) {
    const RecordView r(record, kSize, "cond5");
    CondensingUnitRow row;
    row.id = r.U16(0);
    row.name = r.Text(2, 25);
    row.letter = r.Char(27);
    row.familyCode = r.I16(28);
    row.compressorId = r.U16(30);
    for (std::size_t i = 0; i < row.motorCodes.size(); ++i) row.motorCodes[i] = r.Byte(32 + i);
    row.condenserCoefficient = r.Single(52);
    row.fanPower = r.Single(56);
    row.drawingNumber = r.U16(60);
    row.unused = r.Four(62);
    row.ratingClass = r.Byte(66);
    row.maxCondensingPressure = r.Single(67);
    return row;
}

std::array<std::uint8_t, CondensingUnitRow::kSize> CondensingUnitRow::ToBytes() const {
    Bytes<kSize> b{};
    PutU16(b, 0, id);
    PutText(b, 2, 25, name);
    PutChar(b, 27, letter);
    PutI16(b, 28, familyCode);
    PutU16(b, 30, compressorId);
    for (std::size_t i = 0; i < motorCodes.size(); ++i) PutByte(b, 32 + i, motorCodes[i]);
    PutSingle(b, 52, condenserCoefficient);
    PutSingle(b, 56, fanPower);
    PutU16(b, 60, drawingNumber);
    PutFour(b, 62, unused);
    PutByte(b, 66, ratingClass);
    PutSingle(b, 67, maxCondensingPressure);
    return b;
}

TechDataRow TechDataRow::FromBytes(RecordBytes record) {
    const RecordView r(record, kSize, "technical data");
    TechDataRow row;
    row.modelKey = r.U16(0);
    row.headingId = r.U16(2);
    row.text = r.Text(4, 35);
    row.value = r.Single(39);
    return row;
}

std::array<std::uint8_t, TechDataRow::kSize> TechDataRow::ToBytes() const {
    Bytes<kSize> b{};
    PutU16(b, 0, modelKey);
    PutU16(b, 2, headingId);
    PutText(b, 4, 35, text);
    PutSingle(b, 39, value);
    return b;
}

AccessoryRow AccessoryRow::FromBytes(RecordBytes record) {
    const RecordView r(record, kSize, "access5");
    AccessoryRow row;
    row.modelKey = r.U16(0);
    row.headingId = r.U16(2);
    row.textKey = r.U16(4);
    row.productKind = r.Char(6);
    row.list = r.Char(7);
    return row;
}

std::array<std::uint8_t, AccessoryRow::kSize> AccessoryRow::ToBytes() const {
    Bytes<kSize> b{};
    PutU16(b, 0, modelKey);
    PutU16(b, 2, headingId);
    PutU16(b, 4, textKey);
    PutChar(b, 6, productKind);
    PutChar(b, 7, list);
    return b;
}

OrdaCorrectionRow OrdaCorrectionRow::FromBytes(RecordBytes record) {
    const RecordView r(record, kSize, "ordakorr5");
    OrdaCorrectionRow row;
    row.groupId = r.I16(0);
    row.groupValue = r.U16(2);
    row.typeLetter = r.Char(4);
    row.rowValue = r.Single(5);
    row.columnOrigin = r.Single(9);
    for (std::size_t i = 0; i < row.factors.size(); ++i) row.factors[i] = r.Double(13 + 8 * i);
    for (std::size_t i = 0; i < row.unused.size(); ++i) row.unused[i] = r.Byte(253 + i);
    return row;
}

std::array<std::uint8_t, OrdaCorrectionRow::kSize> OrdaCorrectionRow::ToBytes() const {
    Bytes<kSize> b{};
    PutI16(b, 0, groupId);
    PutU16(b, 2, groupValue);
    PutChar(b, 4, typeLetter);
    PutSingle(b, 5, rowValue);
    PutSingle(b, 9, columnOrigin);
    for (std::size_t i = 0; i < factors.size(); ++i) PutDouble(b, 13 + 8 * i, factors[i]);
    for (std::size_t i = 0; i < unused.size(); ++i) PutByte(b, 253 + i, unused[i]);
    return b;
}

OrdaModelRow OrdaModelRow::FromBytes(RecordBytes record) {
    const RecordView r(record, kSize, "ordamod");
    OrdaModelRow row;
    row.id = r.U16(0);
    row.name = r.Text(2, 25);
    row.secondName = r.Text(27, 25);
    row.familyCode = r.I16(52);
    row.refrigerantCode = r.I16(54);
    row.groupId = r.U16(56);
    row.nominalCapacity = r.Single(58);
    row.secondValue = r.Single(62);
    row.drawingNumber = r.U16(66);
    return row;
}

std::array<std::uint8_t, OrdaModelRow::kSize> OrdaModelRow::ToBytes() const {
    Bytes<kSize> b{};
    PutU16(b, 0, id);
    PutText(b, 2, 25, name);
    PutText(b, 27, 25, secondName);
    PutI16(b, 52, familyCode);
    PutI16(b, 54, refrigerantCode);
    PutU16(b, 56, groupId);
    PutSingle(b, 58, nominalCapacity);
    PutSingle(b, 62, secondValue);
    PutU16(b, 66, drawingNumber);
    return b;
}

OrdaTechRow OrdaTechRow::FromBytes(RecordBytes record) {
    const RecordView r(record, kSize, "ordatech");
    OrdaTechRow row;
    row.valveKey = r.U16(0);
    row.headingId = r.U16(2);
    row.shortText = r.Text(4, 25);
    row.longText = r.Text(29, 35);
    row.value = r.Single(64);
    return row;
}

std::array<std::uint8_t, OrdaTechRow::kSize> OrdaTechRow::ToBytes() const {
    Bytes<kSize> b{};
    PutU16(b, 0, valveKey);
    PutU16(b, 2, headingId);
    PutText(b, 4, 25, shortText);
    PutText(b, 29, 35, longText);
    PutSingle(b, 64, value);
    return b;
}

EnvelopePointRow EnvelopePointRow::FromBytes(RecordBytes record) {
    const RecordView r(record, kSize, "ENVDATA5");
    EnvelopePointRow row;
    row.setIndex = r.U16(0);
    row.envelopeNumber = r.Byte(2);
    row.side = r.I16(3);
    row.y = r.Single(5);
    row.x = r.Single(9);
    row.speed = r.U16(13);
    return row;
}

std::array<std::uint8_t, EnvelopePointRow::kSize> EnvelopePointRow::ToBytes() const {
    Bytes<kSize> b{};
    PutU16(b, 0, setIndex);
    PutByte(b, 2, envelopeNumber);
    PutI16(b, 3, side);
    PutSingle(b, 5, y);
    PutSingle(b, 9, x);
    PutU16(b, 13, speed);
    return b;
}

std::uint16_t RatingSetRow::Index() const {
    return LoadU16(bytes.data());
}

RatingSetRow RatingSetRow::FromBytes(RecordBytes record) {
    const RecordView r(record, kSize, "CRATE5");
    RatingSetRow row;
    std::copy(r.Bytes().begin(), r.Bytes().end(), row.bytes.begin());
    return row;
}

SpeedDataRow SpeedDataRow::FromBytes(RecordBytes record) {
    const RecordView r(record, kSize, "rpmData");
    SpeedDataRow row;
    row.setIndex = r.U16(0);
    row.kind = r.U16(2);
    for (std::size_t i = 0; i < row.values.size(); ++i) row.values[i] = r.Double(4 + 8 * i);
    return row;
}

std::array<std::uint8_t, SpeedDataRow::kSize> SpeedDataRow::ToBytes() const {
    Bytes<kSize> b{};
    PutU16(b, 0, setIndex);
    PutU16(b, 2, kind);
    for (std::size_t i = 0; i < values.size(); ++i) PutDouble(b, 4 + 8 * i, values[i]);
    return b;
}

DrawingRow DrawingRow::FromBytes(RecordBytes record) {
    const RecordView r(record, kSize, "draw6");
    DrawingRow row;
    row.number = r.I16(0);
    row.fileName = r.Text(2, 35);
    row.productKind = r.Char(37);
    return row;
}

std::array<std::uint8_t, DrawingRow::kSize> DrawingRow::ToBytes() const {
    Bytes<kSize> b{};
    PutI16(b, 0, number);
    PutText(b, 2, 35, fileName);
    PutChar(b, 37, productKind);
    return b;
}

// --- reading ---

RecordFile RecordFile::FromBytes(std::vector<std::uint8_t> bytes, std::size_t recordSize) {
    RecordFile file;
    file.found_ = true;
    file.recordSize_ = recordSize;
    if (recordSize == 0) {
        file.error_ = "a record size of 0 bytes cannot be read";
        return file;
    }
    file.count_ = bytes.size() / recordSize;
    const std::size_t rest = bytes.size() % recordSize;
    if (bytes.empty()) {
        file.error_ = "the file is empty: it has no header record";
    } else if (rest != 0) {
        file.error_ =
            fmt::format("the file ends in a short record of {} bytes after {} records of {} bytes",
                        rest, file.count_, recordSize);
    }
    bytes.resize(file.count_ * recordSize);
    file.bytes_ = std::move(bytes);
    return file;
}

RecordFile RecordFile::Read(const std::filesystem::path& path, std::size_t recordSize) {
    RecordFile missing;
    missing.recordSize_ = recordSize;
    if (path.empty()) {
        missing.error_ = "the file is missing";
        return missing;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        missing.error_ = fmt::format("\"{}\" is missing or not a file", path.string());
        return missing;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) {
        missing.found_ = true;
        missing.error_ =
            fmt::format("the size of \"{}\" cannot be read: {}", path.string(), ec.message());
        return missing;
    }
    if (size > kMaxFileSize) {
        missing.found_ = true;
        missing.error_ =
            fmt::format("\"{}\" is too large for a record file ({} bytes)", path.string(), size);
        return missing;
    }
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (in && !bytes.empty())
        in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!in) {
        missing.found_ = true;
        missing.error_ = fmt::format("\"{}\" cannot be read", path.string());
        return missing;
    }
    RecordFile file = FromBytes(std::move(bytes), recordSize);
    if (!file.error_.empty()) file.error_ = fmt::format("\"{}\": {}", path.string(), file.error_);
    return file;
}

RecordBytes RecordFile::Record(std::size_t i) const {
    if (i >= count_) {
        throw std::out_of_range(fmt::format("record {} of a file of {} records", i, count_));
    }
    return RecordBytes(bytes_).subspan(i * recordSize_, recordSize_);
}

// --- writing ---

std::vector<std::uint8_t> HeaderRecord(DatabaseFile file, double date) {
    const FileInfo& info = Info(file);
    std::vector<std::uint8_t> record(info.recordSize, 0);
    if (info.date) {
        if (info.date->isDouble) {
            PutDouble(record, info.date->offset, date);
        } else {
            PutSingle(record, info.date->offset, static_cast<float>(date));
        }
    }
    return record;
}

namespace {

template <class Row>
std::vector<std::uint8_t> Encode(const std::vector<std::uint8_t>& header,
                                 const std::vector<Row>& rows) {
    std::array<std::uint8_t, Row::kSize> first{};
    std::copy_n(header.begin(), std::min(header.size(), first.size()), first.begin());
    return EncodeRows<Row>(first, rows);
}

}  // namespace

std::vector<std::uint8_t> EncodeDatabaseFile(const ProductDatabase& db, DatabaseFile file) {
    const auto dated = db.headerDates.find(file);
    std::vector<std::uint8_t> header =
        HeaderRecord(file, dated != db.headerDates.end() ? dated->second : db.date);
    switch (file) {
        case DatabaseFile::Header:
            PutI16(header, 0, db.formatCode);
            return Encode(header, db.header);
        case DatabaseFile::SuppliesAndTypes:
            return Encode(header, db.suppliesAndTypes);
        case DatabaseFile::Headings:
            return Encode(header, db.headings);
        case DatabaseFile::MotorCodes:
            return Encode(header, db.motorCodes);
        case DatabaseFile::Compressors:
            return Encode(header, db.compressors);
        case DatabaseFile::CondensingUnits:
            return Encode(header, db.condensingUnits);
        case DatabaseFile::CompressorTechData:
            return Encode(header, db.compressorTechData);
        case DatabaseFile::UnitTechData:
            return Encode(header, db.unitTechData);
        case DatabaseFile::Accessories:
            return Encode(header, db.accessories);
        case DatabaseFile::OrdaCorrections:
            return Encode(header, db.ordaCorrections);
        case DatabaseFile::OrdaModels:
            return Encode(header, db.ordaModels);
        case DatabaseFile::OrdaTechData:
            return Encode(header, db.ordaTechData);
        case DatabaseFile::EnvelopePoints:
            return Encode(header, db.envelopePoints);
        case DatabaseFile::RatingSets:
            return Encode(header, db.ratingSets);
        case DatabaseFile::SpeedData:
            return Encode(header, db.speedData);
        case DatabaseFile::Drawings:
            return Encode(header, db.drawings);
    }
    throw std::out_of_range("not a database file");
}

void WriteRecordFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::filesystem::path temporary = path;
    temporary += fmt::format(".tmp{}", static_cast<long>(::getpid()));
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (out && !bytes.empty()) {
            out.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<std::streamsize>(bytes.size()));
        }
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            throw DatabaseFileError(fmt::format("Error writing {}", path.string()));
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw DatabaseFileError(
            fmt::format("Unable to write to {}: {}", path.string(), ec.message()));
    }
}

void WriteProductDatabase(const std::filesystem::path& folder, const ProductDatabase& database) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        throw DatabaseFileError(
            fmt::format("Unable to write to {}: {}", folder.string(), ec.message()));
    }
    for (const DatabaseFile file : AllDatabaseFiles()) {
        WriteRecordFile(folder / DatabaseFileName(file), EncodeDatabaseFile(database, file));
    }
}

}  // namespace kelvra
