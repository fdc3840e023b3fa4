#pragma once

// The in-memory product database.
//
// TdataStore reads the record files of the data folder once, builds every product object from
// them, links them together and then answers the look-ups and candidate queries of the
// selection and the result views. It owns everything it builds; lists it fills for callers hold
// plain pointers that stay valid for the store's lifetime (or until the objects are replaced:
// heat pumps by ClearHeatPumps).
//
// Two flags tell whether the database can be used: Valid() is false after any error or date
// mismatch, Missing() is true when the main header cannot be read or names no refrigerant (then
// nothing else is read). What went wrong is listed in words by Problems().
//
// The property libraries must be loaded before the store is built: every refrigerant of the
// database asks its library for its critical point while it is created.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "activity_mode.hpp"
#include "compressor.hpp"
#include "custom_family_source.hpp"
#include "envelope.hpp"
#include "family_selection.hpp"
#include "model.hpp"
#include "product_records.hpp"
#include "rating_data.hpp"
#include "record_files.hpp"
#include "refrigerant.hpp"
#include "unit.hpp"
#include "valve.hpp"

namespace kelvra {

// The database version label of a database date: " 7.7  / ", the date rounded to a whole
// number, a blank and "(mm/yy)" -- e.g. " 7.7  / 45292 (01/24)". A date that is not a day of
// the years 1 to 9999 gives "(00/00)".
std::string DatabaseVersionLabelFor(double date);

// The label of the database loaded last (empty before any load, and when the main header could
// not be read); shown in the status bar, the about window and every report.
const std::string& DatabaseVersionLabel();

// Fields of a compressor record that the compressor model itself does not hold.
struct CompressorRecordData {
    std::uint16_t secondNumber = 0;  // second model number, carried along
    float massFlowFactor = 1.0f;
    std::uint16_t rKey = 0;  // key of technical data with key selector 'R'
    std::uint16_t mKey = 0;  // key of technical data with key selector 'M'
    std::uint16_t drawingNumber = 0;
    std::uint16_t applicationMask = 0;  // bit set of application ranges
    int ratingClass = 0;                // rating-standard class (from the rating byte)
    std::uint16_t ratingSetA = 0;       // indices of the rating data sets as read
    std::uint16_t ratingSetB = 0;
    std::uint16_t ratingSetC = 0;
};

// The three keys by which technical data and accessories belong to a model.
struct ModelKeys {
    std::int32_t id = 0;    // key selector 'C'
    std::int32_t mKey = 0;  // key selector 'M'
    std::int32_t rKey = 0;  // key selector 'R'
};

// What loading the user's heat-pump file did. A missing file clears the heat pumps (found
// false, no error). A file that cannot be read, or is damaged, loads nothing and leaves the
// heat pumps as they were (error says why). Otherwise the heat pumps are replaced; records whose
// compressor is not in the database are dropped and counted.
struct UserHeatPumpLoad {
    bool found = false;
    std::string error;
    int loaded = 0;
    int dropped = 0;
    bool ok() const { return error.empty(); }
};

// Replaces the file at the path with the bytes as a whole; returns the error text, empty on
// success. The store itself never writes files: the caller hands it the program's safe writer.
using HeatPumpFileWriter =
    std::function<std::string(const std::filesystem::path&, std::span<const std::uint8_t>)>;

// Where the store reads from.
struct DatabaseSources {
    std::filesystem::path dataFolder;                    // the record files and "Drawings"
    const CustomFamilySource* customFamilies = nullptr;  // none: no custom families
};

class TdataStore {
  public:
    // Network families among the condensing-unit families.
    static constexpr bool IsNetworkFamily(int code) {
        return code == 22 || code == 23 || code == 26;
    }

    // Builds the store and loads the database of the sources (LoadDatabase).
    explicit TdataStore(DatabaseSources sources);
    TdataStore(const TdataStore&) = delete;
    TdataStore& operator=(const TdataStore&) = delete;
    ~TdataStore();

    // Empties the store and reads the whole database again. Never throws for anything in the
    // files: problems clear Valid() and are listed by Problems().
    void LoadDatabase();

    // --- state ---
    bool Valid() const { return valid_; }
    bool Missing() const { return missing_; }
    double Date() const { return date_; }
    const std::string& VersionLabel() const { return versionLabel_; }
    // What went wrong while loading, one line each, in the order it was found.
    const std::vector<std::string>& Problems() const { return problems_; }
    const std::filesystem::path& DataFolder() const { return sources_.dataFolder; }

    // --- collections, in load order ---
    const std::vector<std::unique_ptr<TFamily>>& Families() const { return families_; }
    const std::vector<std::unique_ptr<Trefrigerant>>& Refrigerants() const { return refrigerants_; }
    const std::vector<std::unique_ptr<TSupply>>& Supplies() const { return supplies_; }
    const std::vector<TenvObj>& EnvelopeTypes() const { return envelopeTypes_; }
    const std::vector<std::unique_ptr<TTecHeadObj>>& Headings() const { return headings_; }
    const std::vector<std::unique_ptr<TmotorObj>>& MotorCodes() const { return motorCodes_; }
    const std::vector<std::unique_ptr<TComp>>& Compressors() const { return compressors_; }
    const std::vector<std::unique_ptr<Tunit>>& CondensingUnits() const { return units_; }
    const std::vector<std::unique_ptr<Tunit>>& NetworkUnits() const { return networkUnits_; }
    const std::vector<std::unique_ptr<TnetObj>>& NetworkGroups() const { return networkGroups_; }
    const std::vector<std::unique_ptr<TCModel>>& HeatPumps() const { return heatPumps_; }
    const std::vector<std::unique_ptr<Tvalve>>& Valves() const { return valves_; }
    const std::vector<std::unique_ptr<TordaObj>>& OrdaGroups() const { return ordaGroups_; }
    const std::vector<std::unique_ptr<TordaTech>>& OrdaTechData() const { return ordaTech_; }
    // Technical data of product kind 'C' or 'U', group 'E' (electrical) or 'M' (mechanical);
    // empty for other kinds and groups.
    std::span<const std::unique_ptr<TTecObj>> TechData(char productKind, char group) const;
    // Accessories of product kind 'C', 'U' or 'V', list 'I' (included) or 'O' (optional).
    std::span<const std::unique_ptr<TTecObj>> Accessories(char productKind, char list) const;
    const std::vector<TenvPoint>& EnvelopePoints() const { return envelopePoints_; }
    // The highest rating-data-set index referenced by a compressor.
    int HighestRatingSetIndex() const { return highestSetIndex_; }
    // Rating data set `index` (1..HighestRatingSetIndex()), or nullptr.
    TcrateObj* RatingSet(int index) const;
    // Drawings of product kind 'C', 'U' or 'V'.
    std::span<const std::unique_ptr<Tdrawing>> Drawings(char productKind) const;
    const std::vector<std::unique_ptr<TcustFam>>& CustomFamilies() const { return customFamilies_; }

    // The record fields of a compressor of the store; nullptr for any other model.
    const CompressorRecordData* CompressorData(const TCModel& model) const;
    // The keys of technical data of a model: compressors their id, M-key and R-key; condensing
    // units their id and twice their drawing number; valves their id three times; other models
    // their key and no M-key or R-key.
    ModelKeys KeysOf(const TCModel& model) const;
    // The application mask of a compressor or unit (a unit: its compressor's); 0 otherwise.
    std::uint16_t ApplicationMask(const TCModel& model) const;
    // The rating class of a compressor or unit; 0 otherwise.
    int RatingClass(const TCModel& model) const;
    // The drawing number of a compressor, unit or valve; 0 otherwise.
    int DrawingNumber(const TCModel& model) const;

    // --- look-ups ---
    Trefrigerant* FindRefrigerant(std::int32_t code) const;            // the first with the code
    Trefrigerant* FindRefrigerantByName(std::string_view name) const;  // ignoring case
    const TSupply* FindSupply(std::int32_t code) const;                // the first with the code
    // The first family with the code and the kind; a family of kind 'H' also answers 'C'.
    const TFamily* FindFamily(std::int32_t code, char kind) const;
    const TenvObj* FindEnvelopeType(std::int32_t id) const;  // the last with the id
    const TmotorObj* FindMotorCode(std::int32_t id) const;   // the first with the id
    // The motor code in slot `position` of a model's slots; nullptr when the position is 20 or
    // more (or negative) or the slot is 0. The position always advances by one.
    const TmotorObj* NextMotorCode(const std::array<std::uint8_t, 20>& slots, int& position) const;

    // --- candidate queries (the list is cleared first and filled in load order) ---
    void SelectCandidates(std::vector<TCModel*>& list, std::int32_t refrigerantCode, bool network,
                          std::int32_t supplyCode, const FamilySelection& families,
                          std::uint32_t applicationMask, ActivityMode mode) const;
    void SelectCandidatesForRefrigerants(std::vector<TCModel*>& list,
                                         std::span<const Trefrigerant* const> refrigerants,
                                         bool network, const TSupply* supply,
                                         const FamilySelection& families,
                                         std::uint32_t applicationMask, ActivityMode mode) const;
    void FindOrdaValvesForRefrigerant(std::vector<Tvalve*>& list,
                                      std::int32_t refrigerantCode) const;
    // Compressors matching every given criterion; a non-empty text must occur in the name
    // (case-sensitive); models without a family never match.
    void SearchModels(std::vector<TCModel*>& list, const Trefrigerant* refrigerant,
                      std::string_view text, const TFamily* family, const TSupply* supply) const;
    // Compressors (condensing units for a unit) with the model's supply and family whose name
    // equals the model's ignoring case -- the model itself among them.
    void FindModelVariants(std::vector<TCModel*>& list, const TCModel& model) const;

    // --- technical data ---
    // Technical data ('E', 'M') or accessories ('I', 'O') of the model.
    void TechList(const TCModel& model, char letter, std::vector<const TTecObj*>& list) const;
    // Controls technical data of the valve.
    void OrdaTechList(const TCModel& valve, std::vector<const TordaTech*>& list) const;
    // The item of the heading in the model's mechanical list (letter 'M') or electrical list
    // (any other letter); for a valve, in its controls technical data.
    const TTecObj* FindTechItem(const TCModel& model, char letter, std::int32_t headingId) const;
    // The item of the heading in the model's included accessories, else its optional ones.
    const TTecObj* FindAccessoryItem(const TCModel& model, std::int32_t headingId) const;
    std::string TechText(const TCModel& model, char letter, std::int32_t headingId) const;
    float TechValue(const TCModel& model, char letter, std::int32_t headingId) const;
    // The data folder + "Drawings/files/" + the file name of the first drawing with the number
    // in the kind's list; empty for numbers of 0 or below, other kinds, no match, and file names
    // that would lead out of that folder.
    std::filesystem::path DrawingPath(std::int32_t number, char productKind) const;

    // --- texts ---
    // Brand, product, category and family name joined by " - ".
    std::string FamilyCaption(const TFamily& family, char productKind) const;
    // Takes the database's captions and labels from the current language texts.
    void ApplyLanguage();
    const std::string& SupplyLabel() const { return supplyLabel_; }
    const std::string& RefrigerantLabel() const { return refrigerantLabel_; }
    const std::string& NoDrawingsText() const { return noDrawingsText_; }
    const std::string& DrawingMissingText() const { return drawingMissingText_; }
    const std::string& DataAt50Label() const { return dataAt50Label_; }

    // --- heat pumps (the user's, added after loading) ---
    TCModel& AddHeatPump(std::unique_ptr<TCModel> heatPump);
    void ClearHeatPumps();
    // Removes one heat pump from the store (and from every custom family that lists it); false
    // when it is not one of the store's.
    bool RemoveHeatPump(const TCModel& heatPump);
    // Replaces the heat pumps with those of the user's heat-pump file (see UserHeatPumpLoad).
    UserHeatPumpLoad LoadUserHeatPumps(const std::filesystem::path& path);
    // The bytes of a heat-pump file holding the store's heat pumps in list order.
    std::vector<std::uint8_t> UserHeatPumpFileBytes() const;
    // Writes those bytes through `write`, which replaces the file as a whole; its error text.
    std::string SaveUserHeatPumps(const std::filesystem::path& path,
                                  const HeatPumpFileWriter& write) const;

    // --- custom families ---
    TcustFam& AddCustomFamily(std::unique_ptr<TcustFam> family);
    // Marks a family of the store deleted: it stays in memory and listed for the run, but is
    // not stored again.
    void MarkCustomFamilyDeleted(const TcustFam& family);
    bool IsCustomFamilyDeleted(const TcustFam& family) const;
    // The custom families to store, without the deleted ones, with their members' ids.
    std::vector<CustomFamilyRecord> CustomFamiliesToSave() const;

  private:
    class Loader;

    void Clear();
    void Problem(std::string text);
    bool FamilyTest(const TCModel& model, const FamilySelection& families, ActivityMode mode,
                    bool valvesOnlySolenoidAndExpansion) const;
    bool CustomFamilyTest(const TCModel& model) const;
    static bool MaskTest(std::uint32_t argument, std::uint32_t modelMask);
    bool BelongsTo(const TTecObj& item, const ModelKeys& keys) const;
    char ProductKindOf(const TCModel& model) const;

    DatabaseSources sources_;
    bool valid_ = true;
    bool missing_ = false;
    double date_ = 0;
    std::string versionLabel_;
    std::vector<std::string> problems_;
    int highestSetIndex_ = 0;

    std::vector<std::unique_ptr<TFamily>> families_;
    std::vector<std::unique_ptr<Trefrigerant>> refrigerants_;
    std::vector<std::unique_ptr<TSupply>> supplies_;
    std::vector<TenvObj> envelopeTypes_;
    std::vector<std::unique_ptr<TTecHeadObj>> headings_;
    std::vector<std::unique_ptr<TmotorObj>> motorCodes_;
    std::vector<std::unique_ptr<TComp>> compressors_;
    std::unordered_map<const TCModel*, CompressorRecordData> compressorData_;
    std::vector<std::unique_ptr<Tunit>> units_;
    std::vector<std::unique_ptr<Tunit>> networkUnits_;
    std::vector<std::unique_ptr<TnetObj>> networkGroups_;
    std::vector<std::unique_ptr<TCModel>> heatPumps_;
    std::vector<std::unique_ptr<Tvalve>> valves_;
    std::vector<std::unique_ptr<TordaObj>> ordaGroups_;
    std::vector<std::unique_ptr<TordaTech>> ordaTech_;
    // [0] compressors, [1] condensing units; each electrical then mechanical.
    std::array<std::array<std::vector<std::unique_ptr<TTecObj>>, 2>, 2> techData_;
    // [0] compressors, [1] condensing units, [2] controls; each included then optional.
    std::array<std::array<std::vector<std::unique_ptr<TTecObj>>, 2>, 3> accessories_;
    std::vector<TenvPoint> envelopePoints_;  // never resized once envelopes point into it
    std::vector<std::unique_ptr<TcrateObj>> ratingSets_;              // index 0 unused
    std::array<std::vector<std::unique_ptr<Tdrawing>>, 3> drawings_;  // C, U, V
    std::vector<std::unique_ptr<TcustFam>> customFamilies_;
    std::vector<const TcustFam*> deletedCustomFamilies_;

    std::string supplyLabel_;
    std::string refrigerantLabel_;
    std::string noDrawingsText_;
    std::string drawingMissingText_;
    std::string dataAt50Label_;
};

}  // namespace kelvra
