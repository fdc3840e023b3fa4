#include "data_store.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <exception>

#include "language_texts.hpp"
#include "model_text.hpp"
#include "rating_set_loading.hpp"

namespace kelvra {

namespace {

std::string& CurrentVersionLabel() {
    static std::string label;
    return label;
}

char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    }
    return true;
}

// Year and month of a day number counted from 30 December 1899; false outside the years
// 1..9999.
bool YearAndMonth(double date, int& year, int& month) {
    if (!std::isfinite(date)) return false;
    const double day = std::trunc(date);
    if (day < -693593.0 || day > 2958465.0) return false;
    // Days since 1 March of the year 0 (proleptic Gregorian calendar); day 25569 is
    // 1 January 1970.
    const long long z = static_cast<long long>(day) - 25569LL + 719468LL;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const long long m = mp < 10 ? mp + 3 : mp - 9;
    const long long y = yoe + era * 400 + (m <= 2 ? 1 : 0);
    year = static_cast<int>(y);
    month = static_cast<int>(m);
    return year >= 1 && year <= 9999;
}

// Categories are compared after rounding to the nearest whole number (halves to even).
bool CategoryIs(float category, double value) {
    return std::isfinite(category) && std::nearbyint(static_cast<double>(category)) == value;
}

std::optional<std::int32_t> SupplyCodeOf(const TCModel& model) {
    if (model.supply == nullptr) return std::nullopt;
    return model.supply->id;
}

int KindIndex(char kind) {
    switch (kind) {
        case 'C':
        case 'c':
            return 0;
        case 'U':
        case 'u':
            return 1;
        case 'V':
        case 'v':
            return 2;
        default:
            return -1;
    }
}

// Whether a drawing's file name stays inside the drawings folder.
bool IsPlainFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find_first_of("/\\") == std::string_view::npos;
}

}  // namespace

std::string DatabaseVersionLabelFor(double date) {
    int year = 0;
    int month = 0;
    std::string when = "(00/00)";
    if (YearAndMonth(date, year, month)) when = fmt::format("({:02}/{:02})", month, year % 100);
    return fmt::format(" 7.7  / {:.0f} {}", std::nearbyint(date), when);
}

const std::string& DatabaseVersionLabel() {
    return CurrentVersionLabel();
}

// --- loading ---

// Reads the files in order and builds the store's objects.
class TdataStore::Loader {
  public:
    explicit Loader(TdataStore& store) : s_(store) {}

    void Run();

  private:
    RecordFile Open(DatabaseFile file) {
        return RecordFile::Read(FindDatabaseFile(s_.sources_.dataFolder, file),
                                DatabaseRecordSize(file));
    }

    // Opens a file the database cannot do without: a reading error or a header date other than
    // the database date clears the valid flag.
    RecordFile OpenRequired(DatabaseFile which) {
        RecordFile file = Open(which);
        NoteError(file, which, false);
        CheckDate(file, which);
        return file;
    }

    // Notes the file's reading error; it clears the valid flag unless `optional`.
    void NoteError(const RecordFile& file, DatabaseFile which, bool optional) {
        if (file.Error().empty()) return;
        s_.Problem(fmt::format("{}: {}", DatabaseFileName(which), file.Error()));
        if (!optional) s_.valid_ = false;
    }

    // Compares the date of the file's header with the database date; a difference (or a file
    // without a header) clears the valid flag.
    void CheckDate(const RecordFile& file, DatabaseFile which) {
        const std::optional<HeaderDateField> field = DatabaseHeaderDate(which);
        if (!field || file.Count() == 0) {
            if (field && file.Found()) s_.valid_ = false;
            return;
        }
        const RecordView header(file.Record(0), file.RecordSize(), DatabaseFileName(which));
        const double date = field->isDouble ? header.Double(field->offset)
                                            : static_cast<double>(header.Single(field->offset));
        if (date != s_.date_) {
            s_.Problem(fmt::format("{}: its date {} differs from the database date {}",
                                   DatabaseFileName(which), date, s_.date_));
            s_.valid_ = false;
        }
    }

    // Runs `step` on the file; a fault raised inside stops the file like a reading error.
    template <class Step>
    void Guarded(DatabaseFile which, bool optional, Step step) {
        try {
            step();
        } catch (const std::exception& e) {
            s_.Problem(fmt::format("{}: {}", DatabaseFileName(which), e.what()));
            if (!optional) s_.valid_ = false;
        }
    }

    void ReadHeader();
    void ReadSuppliesAndTypes();
    void ReadHeadings();
    void ReadMotorCodes();
    void ReadCompressors();
    void ReadUnits();
    void AddNetworkUnit(std::unique_ptr<Tunit> unit);
    void ReadTechData(DatabaseFile which, char productKind);
    void ReadAccessories();
    void ReadControls();
    void ReadEnvelopePoints();
    void ReadRatingSets();
    void ReadSpeedData();
    void LinkCompressors();
    void RemoveCompressor(std::size_t i);
    void ReadCustomFamilies();
    void ReadDrawings();

    TdataStore& s_;
};

void TdataStore::Loader::Run() {
    ReadHeader();
    if (s_.missing_) return;
    ReadSuppliesAndTypes();
    ReadHeadings();
    ReadMotorCodes();
    ReadCompressors();
    ReadUnits();
    ReadTechData(DatabaseFile::CompressorTechData, 'C');
    ReadTechData(DatabaseFile::UnitTechData, 'U');
    ReadAccessories();
    ReadControls();
    if (s_.valid_) {
        ReadEnvelopePoints();
        ReadRatingSets();
        ReadSpeedData();
        LinkCompressors();
    }
    if (s_.valid_) ReadCustomFamilies();
    ReadDrawings();
}

void TdataStore::Loader::ReadHeader() {
    const RecordFile file = Open(DatabaseFile::Header);
    NoteError(file, DatabaseFile::Header, false);
    if (file.Count() > 0) {
        const HeaderRow first = HeaderRow::FromBytes(file.Record(0));
        if (first.code != kDatabaseFormatCode) {
            s_.Problem(fmt::format("{}: format code {} is not {}",
                                   DatabaseFileName(DatabaseFile::Header), first.code,
                                   kDatabaseFormatCode));
            s_.missing_ = true;
            s_.valid_ = false;
        }
        s_.date_ = static_cast<double>(first.value);
        s_.versionLabel_ = DatabaseVersionLabelFor(s_.date_);
    }

    if (!s_.missing_) {
        Guarded(DatabaseFile::Header, false, [&] {
            for (std::size_t i = 1; i < file.Count(); ++i) {
                const RecordBytes record = file.Record(i);
                const HeaderRow row = HeaderRow::FromBytes(record);
                if (row.kind == 'C' || row.kind == 'H' || row.kind == 'U' || row.kind == 'V') {
                    TFamily family = FamilyFromRecord(record);
                    if (CategoryIs(family.category, 9) || CategoryIs(family.category, 19)) continue;
                    s_.families_.push_back(std::make_unique<TFamily>(std::move(family)));
                } else if (row.marker == 'R') {
                    auto refrigerant =
                        std::make_unique<Trefrigerant>(row.name, row.code, row.kind, row.value);
                    if (!refrigerant->initialised) {
                        // Its property library is missing or does not know it: the rest of
                        // the database cannot be trusted to work.
                        s_.Problem(fmt::format(
                            "{}: refrigerant {} (code {}) cannot be used: its property library "
                            "is not loaded or does not know it",
                            DatabaseFileName(DatabaseFile::Header), refrigerant->name, row.code));
                        s_.valid_ = false;
                        break;
                    }
                    s_.refrigerants_.push_back(std::move(refrigerant));
                }
            }
        });
    }

    // The families of the user's heat pumps.
    struct BuiltIn {
        const char* name;
        std::int16_t code;
        float category;
    };
    constexpr BuiltIn kHeatPumpFamilies[] = {
        {"My Brine/Water Heat Pumps", 70, 1.0f},
        {"Models Series B1", 71, 1.0f},
        {"My Air/Water Heat Pumps", 72, 11.0f},
        {"Models Series A1", 73, 11.0f},
    };
    for (const BuiltIn& b : kHeatPumpFamilies) {
        auto family = std::make_unique<TFamily>();
        family->SetName(b.name);
        family->code = b.code;
        family->kind = TFamily::kHeatPump;
        family->subLetter = 'C';
        family->category = b.category;
        s_.families_.push_back(std::move(family));
    }

    if (s_.refrigerants_.empty()) {
        if (!s_.missing_) {
            s_.Problem(fmt::format("{}: the database names no usable refrigerant",
                                   DatabaseFileName(DatabaseFile::Header)));
        }
        s_.missing_ = true;
    }
}

void TdataStore::Loader::ReadSuppliesAndTypes() {
    const DatabaseFile which = DatabaseFile::SuppliesAndTypes;
    const RecordFile file = OpenRequired(which);
    Guarded(which, false, [&] {
        for (std::size_t i = 1; i < file.Count(); ++i) {
            const RecordBytes record = file.Record(i);
            if (IsSupplyRecord(record)) {
                s_.supplies_.push_back(std::make_unique<TSupply>(SupplyFromRecord(record)));
            } else {
                s_.envelopeTypes_.emplace_back(record);
            }
        }
    });
}

void TdataStore::Loader::ReadHeadings() {
    const DatabaseFile which = DatabaseFile::Headings;
    const RecordFile file = Open(which);
    NoteError(file, which, false);
    Guarded(which, false, [&] {
        for (std::size_t i = 1; i < file.Count(); ++i) {
            s_.headings_.push_back(std::make_unique<TTecHeadObj>(file.Record(i)));
        }
    });
}

void TdataStore::Loader::ReadMotorCodes() {
    const DatabaseFile which = DatabaseFile::MotorCodes;
    const RecordFile file = OpenRequired(which);
    Guarded(which, false, [&] {
        for (std::size_t i = 1; i < file.Count(); ++i) {
            s_.motorCodes_.push_back(std::make_unique<TmotorObj>(file.Record(i)));
        }
    });
}

void TdataStore::Loader::ReadCompressors() {
    const DatabaseFile which = DatabaseFile::Compressors;
    const RecordFile file = OpenRequired(which);
    Guarded(which, false, [&] {
        for (std::size_t i = 1; i < file.Count(); ++i) {
            const CompressorRow row = CompressorRow::FromBytes(file.Record(i));
            if (row.ratingSetA == 0) continue;
            Trefrigerant* refrigerant = s_.FindRefrigerant(row.refrigerantCode);
            if (refrigerant == nullptr) continue;
            const TSupply* supply = s_.FindSupply(row.supplyCode);
            if (supply == nullptr) continue;

            auto comp = std::make_unique<TComp>();
            comp->SetName(TrimText(row.name));
            comp->key = row.id;
            comp->modelLetter = row.letter;
            comp->familyNumber = row.familyCode;
            comp->refrigerantNumber = row.refrigerantCode;
            comp->refrigerant = refrigerant;
            comp->supply = supply;
            comp->supplyNumber = row.supplyCode;
            comp->family = s_.FindFamily(row.familyCode, TFamily::kCompressor);
            comp->motorCodes = row.motorCodes;
            comp->capacityFactor = row.capacityFactor;
            comp->powerFactorMultiplier = row.powerFactor;
            const RatingByte rating = DecodeRatingByte(row.ratingByte);
            comp->showsHeatingCapacity = rating.heating;

            CompressorRecordData data;
            data.secondNumber = row.secondNumber;
            data.massFlowFactor = row.massFlowFactor;
            data.rKey = row.rKey;
            data.mKey = row.mKey;
            data.drawingNumber = row.drawingNumber;
            data.applicationMask = row.applicationMask;
            data.ratingClass = rating.ratingClass;
            data.ratingSetA = row.ratingSetA;
            data.ratingSetB = row.ratingSetB;
            data.ratingSetC = row.ratingSetC;
            s_.highestSetIndex_ = std::max({s_.highestSetIndex_, int{row.ratingSetA},
                                            int{row.ratingSetB}, int{row.ratingSetC}});
            s_.compressorData_.emplace(comp.get(), data);
            s_.compressors_.push_back(std::move(comp));
        }
    });
}

void TdataStore::Loader::ReadUnits() {
    const DatabaseFile which = DatabaseFile::CondensingUnits;
    const RecordFile file = OpenRequired(which);
    Guarded(which, false, [&] {
        for (std::size_t i = 1; i < file.Count(); ++i) {
            const CondensingUnitRow row = CondensingUnitRow::FromBytes(file.Record(i));
            // The last compressor with the id whose letter is 'C' or the unit's own.
            TComp* comp = nullptr;
            for (auto it = s_.compressors_.rbegin(); it != s_.compressors_.rend(); ++it) {
                TComp& candidate = **it;
                if (candidate.key == row.compressorId &&
                    (candidate.modelLetter == 'C' || candidate.modelLetter == row.letter)) {
                    comp = &candidate;
                    break;
                }
            }
            if (comp == nullptr) continue;
            const CompressorRecordData& compData = s_.compressorData_.at(comp);

            auto unit = std::make_unique<Tunit>();
            unit->SetName(TrimText(row.name));
            unit->compressor = comp;
            unit->compressorName = comp->name;
            unit->refrigerantNumber = comp->refrigerantNumber;
            unit->refrigerant = comp->refrigerant;
            unit->applicationMask = compData.applicationMask;
            unit->supply = comp->supply;
            unit->key = row.id;
            unit->familyNumber = row.familyCode;
            unit->family = s_.FindFamily(row.familyCode, TFamily::kCondensingUnit);
            unit->modelLetter = row.letter;
            unit->condenserRating = row.condenserCoefficient;
            unit->fanPower = row.fanPower;
            unit->maxCondensingPressure = row.maxCondensingPressure;
            unit->drawingNumber = row.drawingNumber;
            unit->ratingClass = row.ratingClass;
            unit->motorCodes = row.motorCodes;
            unit->compressorId = row.compressorId;
            if (IsNetworkFamily(row.familyCode)) {
                AddNetworkUnit(std::move(unit));
            } else {
                s_.units_.push_back(std::move(unit));
            }
        }
    });
}

void TdataStore::Loader::AddNetworkUnit(std::unique_ptr<Tunit> unit) {
    if (unit->applicationMask == 0) unit->applicationMask = 3;

    // Base name: up to the second hyphen; suffix: between the second and the third. The first
    // character is never taken as a hyphen.
    const std::string& name = unit->name;
    std::array<std::size_t, 3> hyphen{std::string::npos, std::string::npos, std::string::npos};
    std::size_t found = 0;
    for (std::size_t i = 1; i < name.size() && found < hyphen.size(); ++i) {
        if (name[i] == '-') hyphen[found++] = i;
    }
    const std::string base = found >= 2 ? name.substr(0, hyphen[1]) : name;
    const std::string suffix =
        found >= 3 ? name.substr(hyphen[1] + 1, hyphen[2] - hyphen[1] - 1) : std::string();

    const std::int32_t supplyCode =
        unit->compressor != nullptr ? unit->compressor->supplyNumber : 0;
    TnetObj* group = nullptr;
    for (const auto& candidate : s_.networkGroups_) {
        if (candidate->refrigerantCode == unit->refrigerantNumber &&
            candidate->supplyCode == supplyCode && EqualsIgnoringCase(candidate->name, base)) {
            group = candidate.get();
            break;
        }
    }
    if (group == nullptr) {
        auto created = std::make_unique<TnetObj>();
        created->name = base;
        created->refrigerantCode = unit->refrigerantNumber;
        created->supplyCode = supplyCode;
        created->dFlag = base.find('D') != std::string::npos ? 1 : 0;
        created->tFlag = base.find('T') != std::string::npos ? 1 : 0;
        group = created.get();
        s_.networkGroups_.push_back(std::move(created));
    }

    Tunit* placed = unit.get();
    if (suffix == "NLO") {
        group->masters[TnetObj::kMasterOneSlave] = placed;
        placed->master = true;
    } else if (suffix == "NO") {
        group->masters[TnetObj::kMasterSeveralSlaves] = placed;
        placed->master = true;
    } else if (suffix == "NL") {
        group->slaves[TnetObj::kSlaveOfOne] = placed;
    } else if (suffix == "N") {
        group->slaves[TnetObj::kSlaveOfSeveral] = placed;
    }
    s_.networkUnits_.push_back(std::move(unit));
}

void TdataStore::Loader::ReadTechData(DatabaseFile which, char productKind) {
    const RecordFile file = OpenRequired(which);
    auto& lists = s_.techData_[productKind == 'U' ? 1 : 0];
    Guarded(which, false, [&] {
        for (std::size_t i = 1; i < file.Count(); ++i) {
            auto item =
                std::make_unique<TTecObj>(TTecObj::FromTechRecord(file.Record(i), productKind));
            item->ResolveHeading(std::span<const std::unique_ptr<TTecHeadObj>>(s_.headings_));
            if (item->heading == nullptr) continue;
            const char group = item->heading->group;
            if (group == 'E' || group == 'e') {
                lists[0].push_back(std::move(item));
            } else if (group == 'M' || group == 'm') {
                lists[1].push_back(std::move(item));
            }
        }
    });
}

void TdataStore::Loader::ReadAccessories() {
    const DatabaseFile which = DatabaseFile::Accessories;
    const RecordFile file = Open(which);
    NoteError(file, which, false);
    Guarded(which, false, [&] {
        for (std::size_t i = 1; i < file.Count(); ++i) {
            auto item = std::make_unique<TTecObj>(TTecObj::FromAccessoryRecord(file.Record(i)));
            item->ResolveHeading(std::span<const std::unique_ptr<TTecHeadObj>>(s_.headings_));
            if (item->heading == nullptr) continue;
            const int kind = KindIndex(item->productKind);
            if (kind < 0) continue;
            if (item->listLetter == 'I') {
                s_.accessories_[static_cast<std::size_t>(kind)][0].push_back(std::move(item));
            } else if (item->listLetter == 'O') {
                s_.accessories_[static_cast<std::size_t>(kind)][1].push_back(std::move(item));
            }
        }
    });
}

void TdataStore::Loader::ReadControls() {
    {
        const DatabaseFile which = DatabaseFile::OrdaCorrections;
        const RecordFile file = OpenRequired(which);
        Guarded(which, false, [&] {
            TordaObj* current = nullptr;
            for (std::size_t i = 1; i < file.Count(); ++i) {
                const RecordBytes record = file.Record(i);
                const std::int16_t id = TordaObj::GroupIdOf(record);
                if (current == nullptr || current->id != id) {
                    s_.ordaGroups_.push_back(std::make_unique<TordaObj>());
                    current = s_.ordaGroups_.back().get();
                }
                current->AddRecord(record);
            }
        });
    }
    {
        const DatabaseFile which = DatabaseFile::OrdaModels;
        const RecordFile file = OpenRequired(which);
        Guarded(which, false, [&] {
            for (std::size_t i = 1; i < file.Count(); ++i) {
                const OrdaModelRow row = OrdaModelRow::FromBytes(file.Record(i));
                Trefrigerant* refrigerant = s_.FindRefrigerant(row.refrigerantCode);
                if (refrigerant == nullptr) continue;
                const TordaObj* group = nullptr;
                for (auto it = s_.ordaGroups_.rbegin(); it != s_.ordaGroups_.rend(); ++it) {
                    if ((*it)->id == static_cast<std::int16_t>(row.groupId)) {
                        group = it->get();
                        break;
                    }
                }
                if (group == nullptr) continue;
                auto valve = std::make_unique<Tvalve>();
                valve->SetName(TrimText(row.name));
                valve->secondName =
                    CutToCharacters(TrimText(row.secondName), Tvalve::kSecondNameLength);
                valve->key = row.id;
                valve->familyNumber = row.familyCode;
                valve->family = s_.FindFamily(row.familyCode, TFamily::kControls);
                valve->refrigerantNumber = row.refrigerantCode;
                valve->refrigerant = refrigerant;
                valve->correctionGroup = group;
                valve->nominalCapacity = row.nominalCapacity;
                valve->secondValue = row.secondValue;
                valve->drawingNumber = row.drawingNumber;
                s_.valves_.push_back(std::move(valve));
            }
        });
    }
    {
        const DatabaseFile which = DatabaseFile::OrdaTechData;
        const RecordFile file = OpenRequired(which);
        Guarded(which, false, [&] {
            for (std::size_t i = 1; i < file.Count(); ++i) {
                s_.ordaTech_.push_back(std::make_unique<TordaTech>(file.Record(i)));
            }
        });
    }
}

void TdataStore::Loader::ReadEnvelopePoints() {
    const DatabaseFile which = DatabaseFile::EnvelopePoints;
    const RecordFile file = OpenRequired(which);
    Guarded(which, false, [&] {
        std::vector<TenvPoint> points;
        points.reserve(file.Count());
        for (std::size_t i = 1; i < file.Count(); ++i) {
            TenvPoint point(file.Record(i));
            if (point.HasUsableCoordinates()) points.push_back(point);
        }
        // Grouped by rating data set, in file order within a set: each set then takes its
        // points from one run of the list.
        std::stable_sort(points.begin(), points.end(), [](const TenvPoint& a, const TenvPoint& b) {
            return a.setIndex < b.setIndex;
        });
        s_.envelopePoints_ = std::move(points);
    });
}

void TdataStore::Loader::ReadRatingSets() {
    const DatabaseFile which = DatabaseFile::RatingSets;
    s_.ratingSets_.clear();
    s_.ratingSets_.resize(static_cast<std::size_t>(s_.highestSetIndex_) + 1);
    const RecordFile file = OpenRequired(which);
    const EnvelopeTypeLookup types = [this](std::int32_t id) { return s_.FindEnvelopeType(id); };
    std::span<TenvPoint> points(s_.envelopePoints_);
    Guarded(which, false, [&] {
        for (std::size_t i = 1; i < file.Count(); ++i) {
            const RecordBytes record = file.Record(i);
            const std::uint16_t index = LoadU16(record.data());
            if (index < 1 || index > s_.highestSetIndex_ || s_.ratingSets_[index]) continue;
            auto set = std::make_unique<TcrateObj>(record);
            const auto first = std::lower_bound(
                points.begin(), points.end(), index,
                [](const TenvPoint& p, std::uint16_t value) { return p.setIndex < value; });
            const auto last = std::upper_bound(
                first, points.end(), index,
                [](std::uint16_t value, const TenvPoint& p) { return value < p.setIndex; });
            DistributeEnvelopePoints(*set, std::span<TenvPoint>(first, last));
            RemoveIncompleteEnvelopes(*set, types);
            s_.ratingSets_[index] = std::move(set);
        }
    });
}

void TdataStore::Loader::ReadSpeedData() {
    const DatabaseFile which = DatabaseFile::SpeedData;
    const RecordFile file = Open(which);
    if (!file.Found()) return;  // a database without variable-speed data
    NoteError(file, which, true);
    Guarded(which, true, [&] {
        for (std::size_t i = 1; i < file.Count(); ++i) {
            const RecordBytes record = file.Record(i);
            const std::uint16_t index = VariableSpeedRecordIndex(record);
            if (TcrateObj* set = s_.RatingSet(index)) AttachVariableSpeedRecord(*set, record);
        }
    });
}

void TdataStore::Loader::RemoveCompressor(std::size_t i) {
    TComp* comp = s_.compressors_[i].get();
    // Units built on the compressor go with it: nothing may keep pointing at a freed model.
    auto builtOn = [comp](const std::unique_ptr<Tunit>& unit) { return unit->compressor == comp; };
    for (const auto& group : s_.networkGroups_) {
        for (Tunit*& slot : group->masters) {
            if (slot != nullptr && slot->compressor == comp) slot = nullptr;
        }
        for (Tunit*& slot : group->slaves) {
            if (slot != nullptr && slot->compressor == comp) slot = nullptr;
        }
    }
    std::erase_if(s_.units_, builtOn);
    std::erase_if(s_.networkUnits_, builtOn);
    s_.compressorData_.erase(comp);
    s_.compressors_.erase(s_.compressors_.begin() + static_cast<std::ptrdiff_t>(i));
}

void TdataStore::Loader::LinkCompressors() {
    for (std::size_t i = s_.compressors_.size(); i-- > 0;) {
        TComp& comp = *s_.compressors_[i];
        const CompressorRecordData& data = s_.compressorData_.at(&comp);
        TcrateObj* setA = s_.RatingSet(data.ratingSetA);
        if (setA == nullptr) {
            s_.Problem(fmt::format(
                "{}: compressor {} is left out: its rating data set {} is "
                "missing",
                DatabaseFileName(DatabaseFile::Compressors), comp.name, data.ratingSetA));
            RemoveCompressor(i);
            continue;
        }
        comp.ratingSetA = setA;
        comp.ratingSetB = s_.RatingSet(data.ratingSetB);
        comp.ratingSetC = s_.RatingSet(data.ratingSetC);
        FinishSetForCompressor(*setA, comp.refrigerantNumber, comp.familyNumber);
    }
}

void TdataStore::Loader::ReadCustomFamilies() {
    if (s_.sources_.customFamilies == nullptr) return;
    std::vector<CustomFamilyRecord> records;
    try {
        records = s_.sources_.customFamilies->CustomFamilies();
    } catch (const std::exception& e) {
        s_.Problem(fmt::format("custom families: {}", e.what()));
        return;
    }
    for (const CustomFamilyRecord& record : records) {
        if (record.name.empty()) continue;
        auto family = std::make_unique<TcustFam>(record.name);
        family->kind = record.kind;
        family->category = static_cast<float>(record.category);
        for (const std::int32_t id : record.memberIds) {
            const TCModel* member = nullptr;
            auto first = [id](const auto& list) -> const TCModel* {
                for (const auto& model : list) {
                    if (model->key == id) return model.get();
                }
                return nullptr;
            };
            if (record.kind == 'C' || record.kind == 'H') {
                member = first(s_.compressors_);
            } else if (record.kind == 'U') {
                member = first(s_.units_);
            } else if (record.kind == 'P') {
                member = first(s_.heatPumps_);
            }
            if (member != nullptr) family->AddMember(member);
        }
        s_.customFamilies_.push_back(std::move(family));
    }
}

void TdataStore::Loader::ReadDrawings() {
    const DatabaseFile which = DatabaseFile::Drawings;
    const RecordFile file = Open(which);
    if (!file.Found()) return;  // a database without drawings
    NoteError(file, which, true);
    Guarded(which, true, [&] {
        for (std::size_t i = 1; i < file.Count(); ++i) {
            auto drawing = std::make_unique<Tdrawing>(file.Record(i));
            const int kind = KindIndex(drawing->productKind);
            if (!drawing->HasKnownKind() || kind < 0) continue;
            s_.drawings_[static_cast<std::size_t>(kind)].push_back(std::move(drawing));
        }
    });
}

// --- the store ---

TdataStore::TdataStore(DatabaseSources sources) : sources_(std::move(sources)) {
    LoadDatabase();
}

TdataStore::~TdataStore() {
    Clear();
}

void TdataStore::Clear() {
    // Users of an object go before the object they point at.
    deletedCustomFamilies_.clear();
    customFamilies_.clear();
    heatPumps_.clear();
    for (auto& list : drawings_) list.clear();
    networkGroups_.clear();
    networkUnits_.clear();
    units_.clear();
    valves_.clear();
    compressorData_.clear();
    compressors_.clear();
    ratingSets_.clear();
    envelopePoints_.clear();
    ordaTech_.clear();
    ordaGroups_.clear();
    for (auto& kind : accessories_) {
        for (auto& list : kind) list.clear();
    }
    for (auto& kind : techData_) {
        for (auto& list : kind) list.clear();
    }
    motorCodes_.clear();
    headings_.clear();
    envelopeTypes_.clear();
    supplies_.clear();
    refrigerants_.clear();
    families_.clear();
}

void TdataStore::Problem(std::string text) {
    problems_.push_back(std::move(text));
}

void TdataStore::LoadDatabase() {
    Clear();
    valid_ = true;
    missing_ = false;
    date_ = 0;
    versionLabel_.clear();
    problems_.clear();
    highestSetIndex_ = 0;
    try {
        Loader(*this).Run();
    } catch (const std::exception& e) {
        // Every step guards its own file; this only catches what lies between them.
        Problem(fmt::format("loading stopped: {}", e.what()));
        valid_ = false;
    }
    CurrentVersionLabel() = versionLabel_;
    ApplyLanguage();
}

std::span<const std::unique_ptr<TTecObj>> TdataStore::TechData(char productKind, char group) const {
    const int kind = KindIndex(productKind);
    if (kind < 0 || kind > 1) return {};
    if (group == 'E' || group == 'e') return techData_[static_cast<std::size_t>(kind)][0];
    if (group == 'M' || group == 'm') return techData_[static_cast<std::size_t>(kind)][1];
    return {};
}

std::span<const std::unique_ptr<TTecObj>> TdataStore::Accessories(char productKind,
                                                                  char list) const {
    const int kind = KindIndex(productKind);
    if (kind < 0) return {};
    if (list == 'I' || list == 'i') return accessories_[static_cast<std::size_t>(kind)][0];
    if (list == 'O' || list == 'o') return accessories_[static_cast<std::size_t>(kind)][1];
    return {};
}

TcrateObj* TdataStore::RatingSet(int index) const {
    if (index < 1 || static_cast<std::size_t>(index) >= ratingSets_.size()) return nullptr;
    return ratingSets_[static_cast<std::size_t>(index)].get();
}

std::span<const std::unique_ptr<Tdrawing>> TdataStore::Drawings(char productKind) const {
    const int kind = KindIndex(productKind);
    if (kind < 0) return {};
    return drawings_[static_cast<std::size_t>(kind)];
}

const CompressorRecordData* TdataStore::CompressorData(const TCModel& model) const {
    const auto it = compressorData_.find(&model);
    return it == compressorData_.end() ? nullptr : &it->second;
}

ModelKeys TdataStore::KeysOf(const TCModel& model) const {
    if (const CompressorRecordData* data = CompressorData(model)) {
        return {model.key, data->mKey, data->rKey};
    }
    if (const auto* unit = dynamic_cast<const Tunit*>(&model)) {
        return {unit->key, unit->drawingNumber, unit->drawingNumber};
    }
    if (dynamic_cast<const Tvalve*>(&model) != nullptr) return {model.key, model.key, model.key};
    return {model.key, 0, 0};
}

std::uint16_t TdataStore::ApplicationMask(const TCModel& model) const {
    if (const CompressorRecordData* data = CompressorData(model)) return data->applicationMask;
    if (const auto* unit = dynamic_cast<const Tunit*>(&model)) return unit->applicationMask;
    return 0;
}

int TdataStore::RatingClass(const TCModel& model) const {
    if (const CompressorRecordData* data = CompressorData(model)) return data->ratingClass;
    if (const auto* unit = dynamic_cast<const Tunit*>(&model)) return unit->ratingClass;
    return 0;
}

int TdataStore::DrawingNumber(const TCModel& model) const {
    if (const CompressorRecordData* data = CompressorData(model)) return data->drawingNumber;
    if (const auto* unit = dynamic_cast<const Tunit*>(&model)) return unit->drawingNumber;
    if (const auto* valve = dynamic_cast<const Tvalve*>(&model)) return valve->drawingNumber;
    return 0;
}

// --- look-ups ---

Trefrigerant* TdataStore::FindRefrigerant(std::int32_t code) const {
    for (const auto& refrigerant : refrigerants_) {
        if (refrigerant->id == code) return refrigerant.get();
    }
    return nullptr;
}

Trefrigerant* TdataStore::FindRefrigerantByName(std::string_view name) const {
    for (const auto& refrigerant : refrigerants_) {
        if (EqualsIgnoringCase(refrigerant->name, name)) return refrigerant.get();
    }
    return nullptr;
}

const TSupply* TdataStore::FindSupply(std::int32_t code) const {
    for (const auto& supply : supplies_) {
        if (supply->id == code) return supply.get();
    }
    return nullptr;
}

const TFamily* TdataStore::FindFamily(std::int32_t code, char kind) const {
    for (const auto& family : families_) {
        if (family->code != code) continue;
        if (family->kind == kind || (family->kind == TFamily::kHeatPumpCompressor && kind == 'C')) {
            return family.get();
        }
    }
    return nullptr;
}

const TenvObj* TdataStore::FindEnvelopeType(std::int32_t id) const {
    return FindLastEnvelopeType(envelopeTypes_, id);
}

const TmotorObj* TdataStore::FindMotorCode(std::int32_t id) const {
    for (const auto& motor : motorCodes_) {
        if (motor->Id() == id) return motor.get();
    }
    return nullptr;
}

const TmotorObj* TdataStore::NextMotorCode(const std::array<std::uint8_t, 20>& slots,
                                           int& position) const {
    const int at = position;
    ++position;
    if (at < 0 || at >= static_cast<int>(slots.size())) return nullptr;
    const std::uint8_t id = slots[static_cast<std::size_t>(at)];
    if (id == 0) return nullptr;
    return FindMotorCode(id);
}

// --- candidate queries ---

bool TdataStore::MaskTest(std::uint32_t argument, std::uint32_t modelMask) {
    return argument == 0 || (argument & modelMask) != 0;
}

bool TdataStore::FamilyTest(const TCModel& model, const FamilySelection& families,
                            ActivityMode mode, bool valvesOnlySolenoidAndExpansion) const {
    const TFamily* family = model.family;
    if (family == nullptr) return false;
    const int m = ToInt(mode);
    bool kindFits = false;
    switch (family->kind) {
        case TFamily::kCompressor:
            kindFits = m == 0;
            break;
        case TFamily::kHeatPumpCompressor:
            kindFits = m == 2;
            break;
        case TFamily::kCondensingUnit:
            kindFits = m == 1;
            break;
        case TFamily::kControls:
            kindFits = valvesOnlySolenoidAndExpansion ? (m == 3 || m == 4) : (m >= 3 && m <= 6);
            break;
        case TFamily::kHeatPump:
            kindFits = m == 7 || m == 8;
            break;
        default:
            break;
    }
    return kindFits && families.Contains(family->code);
}

bool TdataStore::CustomFamilyTest(const TCModel& model) const {
    for (const auto& family : customFamilies_) {
        if (family->kind == TFamily::kCompressor && family->selected && family->Contains(&model)) {
            return true;
        }
    }
    return false;
}

void TdataStore::SelectCandidates(std::vector<TCModel*>& list, std::int32_t refrigerantCode,
                                  bool network, std::int32_t supplyCode,
                                  const FamilySelection& families, std::uint32_t applicationMask,
                                  ActivityMode mode) const {
    list.clear();
    auto sameSupply = [supplyCode](const TCModel& model) {
        return SupplyCodeOf(model) == supplyCode;
    };
    switch (mode) {
        case ActivityMode::Compressors:
            for (const auto& comp : compressors_) {
                const CompressorRecordData* data = CompressorData(*comp);
                if (!MaskTest(applicationMask, data != nullptr ? data->applicationMask : 0))
                    continue;
                if (comp->refrigerantNumber != refrigerantCode || !sameSupply(*comp)) continue;
                if (FamilyTest(*comp, families, mode, false) || CustomFamilyTest(*comp)) {
                    list.push_back(comp.get());
                }
            }
            break;
        case ActivityMode::CondensingUnits:
            for (const auto& unit : network ? networkUnits_ : units_) {
                if (unit->compressor == nullptr) continue;
                if (!MaskTest(applicationMask, ApplicationMask(*unit->compressor))) continue;
                if (unit->refrigerantNumber != refrigerantCode || !sameSupply(*unit->compressor))
                    continue;
                if (FamilyTest(*unit, families, mode, false)) list.push_back(unit.get());
            }
            break;
        case ActivityMode::HeatPumpCompressors:
            for (const auto& comp : compressors_) {
                if (comp->refrigerantNumber != refrigerantCode || !sameSupply(*comp)) continue;
                if (FamilyTest(*comp, families, mode, false)) list.push_back(comp.get());
            }
            break;
        case ActivityMode::ExpansionValves:
        case ActivityMode::SolenoidValves:
        case ActivityMode::HeadPressureControls:
        case ActivityMode::FilterDriers:
            for (const auto& valve : valves_) {
                if (valve->refrigerantNumber != refrigerantCode) continue;
                if (FamilyTest(*valve, families, mode, false)) list.push_back(valve.get());
            }
            break;
        case ActivityMode::BrineWaterHeatPumps:
        case ActivityMode::AirWaterHeatPumps:
            for (const auto& pump : heatPumps_) {
                if (pump->refrigerantNumber != refrigerantCode || !sameSupply(*pump)) continue;
                if (FamilyTest(*pump, families, mode, false)) list.push_back(pump.get());
            }
            break;
    }
}

void TdataStore::SelectCandidatesForRefrigerants(std::vector<TCModel*>& list,
                                                 std::span<const Trefrigerant* const> refrigerants,
                                                 bool network, const TSupply* supply,
                                                 const FamilySelection& families,
                                                 std::uint32_t applicationMask,
                                                 ActivityMode mode) const {
    list.clear();
    auto listed = [refrigerants](const TCModel& model) {
        return model.refrigerant != nullptr && std::find(refrigerants.begin(), refrigerants.end(),
                                                         model.refrigerant) != refrigerants.end();
    };
    auto sameSupply = [supply](const TCModel& model) {
        return supply != nullptr && SupplyCodeOf(model) == supply->id;
    };
    switch (mode) {
        case ActivityMode::Compressors:
            for (const auto& comp : compressors_) {
                const CompressorRecordData* data = CompressorData(*comp);
                if (!MaskTest(applicationMask, data != nullptr ? data->applicationMask : 0))
                    continue;
                if (!listed(*comp) || !sameSupply(*comp)) continue;
                if (FamilyTest(*comp, families, mode, true) || CustomFamilyTest(*comp)) {
                    list.push_back(comp.get());
                }
            }
            break;
        case ActivityMode::CondensingUnits:
            for (const auto& unit : network ? networkUnits_ : units_) {
                if (unit->compressor == nullptr) continue;
                if (!MaskTest(applicationMask, ApplicationMask(*unit->compressor))) continue;
                if (!listed(*unit) || !sameSupply(*unit->compressor)) continue;
                if (FamilyTest(*unit, families, mode, true)) list.push_back(unit.get());
            }
            break;
        case ActivityMode::HeatPumpCompressors:
            for (const auto& comp : compressors_) {
                if (!listed(*comp) || !sameSupply(*comp)) continue;
                if (FamilyTest(*comp, families, mode, true)) list.push_back(comp.get());
            }
            break;
        case ActivityMode::ExpansionValves:
        case ActivityMode::SolenoidValves:
        case ActivityMode::HeadPressureControls:
        case ActivityMode::FilterDriers:
            for (const auto& valve : valves_) {
                if (!listed(*valve)) continue;
                if (FamilyTest(*valve, families, mode, true)) list.push_back(valve.get());
            }
            break;
        case ActivityMode::BrineWaterHeatPumps:
        case ActivityMode::AirWaterHeatPumps:
            for (const auto& pump : heatPumps_) {
                if (!listed(*pump) || !sameSupply(*pump)) continue;
                if (FamilyTest(*pump, families, mode, true)) list.push_back(pump.get());
            }
            break;
    }
}

void TdataStore::FindOrdaValvesForRefrigerant(std::vector<Tvalve*>& list,
                                              std::int32_t refrigerantCode) const {
    list.clear();
    for (const auto& valve : valves_) {
        if (valve->refrigerantNumber == refrigerantCode) list.push_back(valve.get());
    }
}

void TdataStore::SearchModels(std::vector<TCModel*>& list, const Trefrigerant* refrigerant,
                              std::string_view text, const TFamily* family,
                              const TSupply* supply) const {
    list.clear();
    for (const auto& comp : compressors_) {
        if (comp->family == nullptr) continue;
        if (refrigerant != nullptr && comp->refrigerant != refrigerant) continue;
        if (supply != nullptr && comp->supply != supply) continue;
        if (family != nullptr && comp->family != family) continue;
        if (!text.empty() && comp->name.find(text) == std::string::npos) continue;
        list.push_back(comp.get());
    }
}

void TdataStore::FindModelVariants(std::vector<TCModel*>& list, const TCModel& model) const {
    list.clear();
    auto matches = [&model](const TCModel& other) {
        return other.supply == model.supply && other.family == model.family &&
               EqualsIgnoringCase(other.name, model.name);
    };
    if (model.classLetter == 'U') {
        for (const auto& unit : units_) {
            if (matches(*unit)) list.push_back(unit.get());
        }
    } else {
        for (const auto& comp : compressors_) {
            if (matches(*comp)) list.push_back(comp.get());
        }
    }
}

// --- technical data ---

char TdataStore::ProductKindOf(const TCModel& model) const {
    if (model.classLetter == 'U') return 'U';
    if (model.classLetter == 'V') return 'V';
    return 'C';
}

bool TdataStore::BelongsTo(const TTecObj& item, const ModelKeys& keys) const {
    if (item.heading == nullptr) return false;
    switch (item.heading->keySelector) {
        case 'C':
            return item.modelKey == keys.id;
        case 'M':
            return item.modelKey == keys.mKey;
        case 'R':
            return item.modelKey == keys.rKey;
        default:
            return false;
    }
}

void TdataStore::TechList(const TCModel& model, char letter,
                          std::vector<const TTecObj*>& list) const {
    list.clear();
    const char kind = ProductKindOf(model);
    std::span<const std::unique_ptr<TTecObj>> source;
    if (letter == 'E' || letter == 'M') {
        source = TechData(kind, letter);
    } else if (letter == 'I' || letter == 'O') {
        source = Accessories(kind, letter);
    }
    const ModelKeys keys = KeysOf(model);
    for (const auto& item : source) {
        if (BelongsTo(*item, keys)) list.push_back(item.get());
    }
}

void TdataStore::OrdaTechList(const TCModel& valve, std::vector<const TordaTech*>& list) const {
    list.clear();
    for (const auto& item : ordaTech_) {
        if (item->modelKey == valve.key) list.push_back(item.get());
    }
}

const TTecObj* TdataStore::FindTechItem(const TCModel& model, char letter,
                                        std::int32_t headingId) const {
    const char kind = ProductKindOf(model);
    if (kind == 'V') {
        for (const auto& item : ordaTech_) {
            if (item->modelKey == model.key && item->headingId == headingId) return item.get();
        }
        return nullptr;
    }
    const ModelKeys keys = KeysOf(model);
    for (const auto& item : TechData(kind, letter == 'M' ? 'M' : 'E')) {
        if (item->headingId == headingId && BelongsTo(*item, keys)) return item.get();
    }
    return nullptr;
}

const TTecObj* TdataStore::FindAccessoryItem(const TCModel& model, std::int32_t headingId) const {
    const char kind = ProductKindOf(model);
    const ModelKeys keys = KeysOf(model);
    for (const char list : {'I', 'O'}) {
        for (const auto& item : Accessories(kind, list)) {
            if (item->headingId == headingId && BelongsTo(*item, keys)) return item.get();
        }
    }
    return nullptr;
}

std::string TdataStore::TechText(const TCModel& model, char letter, std::int32_t headingId) const {
    std::string text;
    if (letter == 'A') {
        if (const TTecObj* accessory = FindAccessoryItem(model, headingId)) text = accessory->text;
    }
    if (const TTecObj* item = FindTechItem(model, letter, headingId)) {
        const auto* controls = dynamic_cast<const TordaTech*>(item);
        text = controls != nullptr ? controls->longText : item->text;
    }
    return text;
}

float TdataStore::TechValue(const TCModel& model, char letter, std::int32_t headingId) const {
    const TTecObj* item = FindTechItem(model, letter, headingId);
    return item != nullptr ? item->ValueAsSingle() : 0.0f;
}

std::filesystem::path TdataStore::DrawingPath(std::int32_t number, char productKind) const {
    if (number <= 0) return {};
    if (productKind != 'C' && productKind != 'U' && productKind != 'V') return {};
    for (const auto& drawing : Drawings(productKind)) {
        if (drawing->number != number) continue;
        if (!IsPlainFileName(drawing->fileName)) return {};
        return sources_.dataFolder / "Drawings" / "files" / drawing->fileName;
    }
    return {};
}

// --- texts ---

std::string TdataStore::FamilyCaption(const TFamily& family, char productKind) const {
    const float category = family.category;
    auto below = [category](double limit) { return static_cast<double>(category) < limit; };
    std::string brand;
    if (productKind == 'C') {
        brand = below(9.9) ? Text("strHarwick", "Harwick") : Text("strZQV", "ZQV");
    } else if (productKind == 'U') {
        brand = below(19.9) ? Text("strHarwick", "Harwick") : Text("strZQV", "ZQV");
    } else if (productKind == 'H') {
        brand = Text("strHarwick", "Harwick");
    }
    std::string product;
    if (productKind == 'C') {
        product = Text("strCompressor", "Compressor");
    } else if (productKind == 'U') {
        product = Text("strCondUnit", "Condensing Unit");
    } else {
        product = Text("strCompCatScrollHeat", "Scroll Heat Pump");
    }

    std::string categoryText;
    const double rounded =
        std::isfinite(category) ? std::nearbyint(static_cast<double>(category)) : -1.0;
    if (productKind == 'H') {
        categoryText = Text("strCompCatScrollHeat", "Scroll Heat Pump");
    } else if (productKind == 'C') {
        if (rounded == 1) categoryText = Text("strCompCatScrollAC", "Scroll Air Conditioning");
        if (rounded == 2) categoryText = Text("strCompCatScrollRef", "Scroll Refrigeration");
        if (rounded == 11) categoryText = Text("strCompCatZqvAC", "Semi-Hermetic Air Conditioning");
        if (rounded == 12) categoryText = Text("strCompCatZqvRef", "Semi-Hermetic Refrigeration");
    } else {
        if (rounded == 1) categoryText = Text("strUnitCatScrollIn", "Indoor Scroll Units");
        if (rounded == 11) categoryText = Text("strUnitCatScrollOut", "Outdoor Scroll Units");
        if (rounded == 12) categoryText = Text("strUnitCatNetwork", "Networking Units");
        if (rounded == 21) categoryText = Text("strUnitCatZqvIn", "Indoor Semi-Hermetic Units");
    }
    return brand + " - " + product + " - " + categoryText + " - " + family.name;
}

void TdataStore::ApplyLanguage() {
    supplyLabel_ = CutToCharacters(Text("lblSupply", "Supply"), 15);
    refrigerantLabel_ = Text("lblRefrig", "Refrigerant");
    noDrawingsText_ = CutToCharacters(Text("strNoDrawings", "No drawings available"), 100);
    drawingMissingText_ = CutToCharacters(Text("strDrawingMissing", "Drawing not found"), 100);
    dataAt50Label_ = Text("strDataAt50", "Data at 50Hz");
    for (const auto& supply : supplies_) supply->ApplyDataLabel(dataAt50Label_);
    for (const auto& family : families_) {
        const char sub = family->kind == TFamily::kControls ? 'A' : family->subLetter;
        const std::string key = fmt::format("str{}{}{}", family->kind, sub, family->code);
        const std::string text = Text(key, "");
        if (!text.empty()) family->SetName(text);
    }
    for (const auto& heading : headings_) {
        heading->SetCaption(Text(std::to_string(heading->id), heading->caption));
    }
    for (auto& kind : accessories_) {
        for (auto& list : kind) {
            for (const auto& item : list) {
                item->text = CutToCharacters(Text(std::to_string(item->textKey), item->text),
                                             TTecObj::kTextLength);
            }
        }
    }
}

// --- heat pumps and custom families ---

TCModel& TdataStore::AddHeatPump(std::unique_ptr<TCModel> heatPump) {
    if (!heatPump) throw std::invalid_argument("no heat pump to add");
    heatPumps_.push_back(std::move(heatPump));
    return *heatPumps_.back();
}

void TdataStore::ClearHeatPumps() {
    // Custom families may list heat pumps: they must not keep pointing at freed ones.
    for (const auto& family : customFamilies_) {
        for (const auto& pump : heatPumps_) family->RemoveMember(pump.get());
    }
    heatPumps_.clear();
}

TcustFam& TdataStore::AddCustomFamily(std::unique_ptr<TcustFam> family) {
    if (!family) throw std::invalid_argument("no custom family to add");
    customFamilies_.push_back(std::move(family));
    return *customFamilies_.back();
}

void TdataStore::MarkCustomFamilyDeleted(const TcustFam& family) {
    if (IsCustomFamilyDeleted(family)) return;
    for (const auto& own : customFamilies_) {
        if (own.get() == &family) {
            deletedCustomFamilies_.push_back(&family);
            return;
        }
    }
}

bool TdataStore::IsCustomFamilyDeleted(const TcustFam& family) const {
    return std::find(deletedCustomFamilies_.begin(), deletedCustomFamilies_.end(), &family) !=
           deletedCustomFamilies_.end();
}

std::vector<CustomFamilyRecord> TdataStore::CustomFamiliesToSave() const {
    std::vector<CustomFamilyRecord> out;
    for (const auto& family : customFamilies_) {
        if (IsCustomFamilyDeleted(*family)) continue;
        CustomFamilyRecord record;
        record.name = family->name;
        record.kind = family->kind;
        record.category =
            std::isfinite(family->category)
                ? static_cast<int>(
                      std::clamp(std::nearbyint(static_cast<double>(family->category)), -1e6, 1e6))
                : 9;
        for (const TCModel* member : family->Members()) {
            if (member != nullptr) record.memberIds.push_back(member->key);
        }
        out.push_back(std::move(record));
    }
    return out;
}

}  // namespace kelvra
