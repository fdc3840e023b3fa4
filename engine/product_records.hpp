#pragma once

// Product records that the models and the selection read: families, electrical supplies,
// envelope types, technical-data headings and items, motor codes and drawings. The data store
// builds them from the product database and owns every instance; models and lists hold plain
// pointers to them. The rating data sets are in rating_data.hpp.
//
// Every record class is built from the bytes of one record of its file; a record shorter than
// its file's record size is refused with a RecordError (record_bytes.hpp).

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model_object.hpp"
#include "record_bytes.hpp"

namespace kelvra {

class TCModel;

// One product family.
class TFamily : public TKobject {
  public:
    static constexpr std::size_t kNameLength = 35;

    // Product kinds of a family.
    static constexpr char kCompressor = 'C';
    static constexpr char kHeatPumpCompressor = 'H';
    static constexpr char kCondensingUnit = 'U';
    static constexpr char kControls = 'V';
    static constexpr char kHeatPump = 'P';  // the built-in heat-pump families only
    static constexpr char kCustom = 'X';    // a user's family before its kind is known

    // Trims the text and keeps at most kNameLength characters.
    void SetName(std::string_view text);

    std::string name;       // trimmed; replaced from the language table
    std::int16_t code = 0;  // unique within a kind
    char subLetter = ' ';   // second letter of the family, part of its language key
    char kind = ' ';        // one of the kinds above
    float category = 0;     // category number; its caption depends on the kind
    int listSection = -1;   // section of the main window's family list; -1 when not listed
    int listItem = -1;      // index of the family within that section
    bool selected = false;  // ticked in the main window's family choice
};

// A family from a row of the header file (43 bytes): code, name, sub-letter, kind and category.
// Whether the row is a family at all (kind letter C, H, U or V) is the loader's decision.
TFamily FamilyFromRecord(RecordBytes record);
inline constexpr std::size_t kHeaderRecordSize = 43;

// A family the user made: a named list of models.
class TcustFam : public TFamily {
  public:
    // A custom family of kind 'X' named `name` (trimmed, at most 35 characters). Whoever
    // creates it sets its kind and category.
    explicit TcustFam(std::string_view name);

    // Appends the model (not owned) to the members, in the order of adding.
    void AddMember(const TCModel* model);
    // Removes every occurrence of the model from the members.
    void RemoveMember(const TCModel* model);
    // True when the model is one of the members.
    bool Contains(const TCModel* model) const;

    const std::vector<const TCModel*>& Members() const { return members_; }

  private:
    std::vector<const TCModel*> members_;
};

// One electrical supply.
class TSupply : public TKobject {
  public:
    static constexpr std::size_t kNameLength = 25;

    // Trims the text and keeps at most kNameLength characters.
    void SetName(std::string_view text);

    // "50Hz" for a supply above 40 Hz; otherwise the supply's name (at most 25 characters).
    std::string FrequencyText() const;

    std::string name;       // e.g. "380/420V-3-50"
    std::string dataLabel;  // language text naming the data of the supply's frequency
    int id = 0;             // supply code
    int frequency = 0;      // Hz, 50 or 60
    bool flag = false;      // record flag
    float voltage = 0;      // nominal voltage, V, used for the current display
    float phases = 0;       // number of phases (the compressor rounds it)

    // Gives the supply the data label of its frequency: `label50` (the language's text naming
    // 50 Hz data), or for a 60 Hz supply SixtyHertzLabel(label50).
    void ApplyDataLabel(std::string_view label50);
};

// The 60 Hz variant of a 50 Hz label: its first "5" replaced by "6"; a label without "5" is
// used unchanged.
std::string SixtyHertzLabel(std::string_view label50);

// Record size of the supply and envelope-type file; a row whose frequency field (offset 29) is
// above 39 is a supply, every other row an envelope type.
inline constexpr std::size_t kSupplyRecordSize = 39;
bool IsSupplyRecord(RecordBytes record);

// A supply from its row: name, id, flag, frequency, voltage, phases.
TSupply SupplyFromRecord(RecordBytes record);

// One envelope type: what being inside an envelope of this type means, and its suction limit.
class TenvObj : public TKobject {
  public:
    static constexpr std::size_t kNameLength = 25;
    static constexpr std::size_t kRecordSize = kSupplyRecordSize;

    // Kinds that decide what a point inside an envelope means (the envelope check).
    static constexpr int kMaxPowerKind = 5;       // special-limit envelope 1: maximum power line
    static constexpr int kExtendedLimitKind = 7;  // special-limit envelope 2: extended envelope
    static constexpr int kPreliminaryKind = 10;   // envelope of preliminary data
    static constexpr int kRestrictedKind = 17;    // a point only inside these is refused

    TenvObj() = default;
    // Built from a row of the supply and envelope-type file.
    explicit TenvObj(RecordBytes record);

    // The superheat limit (K), or with the return-gas flag set the suction gas temperature
    // limit (degC): the first of the two values of the record (offset 31).
    float Limit() const;
    // True when Limit() is a suction gas (return-gas) temperature, not a superheat.
    bool ReturnGasMode() const { return flag; }

    std::string name;                      // trimmed, at most 25 characters
    std::int32_t id = 0;                   // envelope-type id
    std::int32_t kind = 0;                 // see the kinds above
    bool flag = false;                     // record flag: the limit is a return-gas temperature
    std::array<std::uint8_t, 4> value1{};  // offset 31, passed on unchanged (the limit)
    std::array<std::uint8_t, 4> value2{};  // offset 35, passed on unchanged
};

// The last envelope type with the id in `types`, or nullptr.
const TenvObj* FindLastEnvelopeType(std::span<const TenvObj> types, std::int32_t id);

// One heading of technical data or accessories.
class TTecHeadObj : public TKobject {
  public:
    static constexpr std::size_t kRecordSize = 4;
    static constexpr std::size_t kCaptionLength = 255;
    static constexpr char kUnused = '*';  // no item refers to the heading yet
    static constexpr char kBoth = 'B';    // items of two product kinds refer to it

    TTecHeadObj() = default;
    // Built from a record of the heading file: id, key selector, group. The caption starts as
    // the group letter followed by the id ("E12").
    explicit TTecHeadObj(RecordBytes record);

    // Replaces the caption, cut to 255 characters.
    void SetCaption(std::string_view text);

    std::int32_t id = 0;
    std::string caption;
    char keySelector = ' ';  // 'C' model id, 'M' model M-key, 'R' model R-key
    char group = ' ';        // 'E' electrical, 'M' mechanical, or an accessory group
    char usedBy = kUnused;   // '*', the product kind of the items, or 'B'
};

// One technical-data or accessory item.
class TTecObj : public TKobject {
  public:
    static constexpr std::size_t kTechRecordSize = 43;
    static constexpr std::size_t kAccessoryRecordSize = 8;
    static constexpr std::size_t kTextLength = 255;
    static constexpr std::size_t kValueTextLength = 35;

    TTecObj() = default;

    // A technical-data item from a record of a technical-data file, of product kind
    // `productKind` ('C' compressors, 'U' condensing units): model key, heading id, trimmed
    // value text and the 4-byte value. The heading is not resolved yet.
    static TTecObj FromTechRecord(RecordBytes record, char productKind);

    // An accessory from a record of the accessory file: model key, heading id, text key,
    // product kind ('U'/'u' condensing units, 'V'/'v' controls, anything else compressors) and
    // list letter ('I'/'i' and 'O'/'o' become 'I' and 'O'; any other letter is kept as read and
    // the item belongs to no list). The text stays empty until the language is applied.
    static TTecObj FromAccessoryRecord(RecordBytes record);

    // Links the item to the first heading in `headings` (load order) whose id is the item's
    // heading id and marks the heading's used-by letter (AttachHeading). No match: no heading.
    void ResolveHeading(std::span<TTecHeadObj> headings);
    void ResolveHeading(std::span<const std::unique_ptr<TTecHeadObj>> headings);
    // Links the item to `found` (may be nullptr). A heading whose used-by letter differs from
    // the item's product kind takes the kind when it was '*', otherwise becomes 'B'.
    void AttachHeading(TTecHeadObj* found);

    // The 4-byte value read as a single.
    float ValueAsSingle() const;

    // Accessories: included ('I') and optional ('O') lists.
    bool IsIncluded() const { return listLetter == 'I'; }
    bool IsOptional() const { return listLetter == 'O'; }

    std::int32_t modelKey = 0;
    std::int32_t headingId = 0;
    std::string text;        // technical data: value text; accessories: caption (language)
    char listLetter = ' ';   // accessories: 'I' or 'O'
    char productKind = 'C';  // 'C', 'U' or 'V'
    std::array<std::uint8_t, 4> value{};
    TTecHeadObj* heading = nullptr;  // not owned
    std::int32_t textKey = 0;        // accessories: key of the caption; 0 for technical data
};

// One technical item of a controls valve.
class TordaTech : public TTecObj {
  public:
    static constexpr std::size_t kRecordSize = 68;
    static constexpr std::size_t kShortTextLength = 25;
    static constexpr std::size_t kLongTextLength = 35;

    TordaTech() = default;
    // Built from a record of the controls technical-data file: valve key, heading id (0: no
    // heading), short text (kept as the item's text), long text and the 4-byte value. Product
    // kind 'V', list letter blank.
    explicit TordaTech(RecordBytes record);

    std::string longText;  // trimmed, at most 35 characters
};

// One motor code: the 70-byte record kept as it is, with its fields read on demand.
class TmotorObj : public TKobject {
  public:
    static constexpr std::size_t kRecordSize = 70;

    explicit TmotorObj(RecordBytes record);

    std::uint16_t Id() const;
    std::string Code() const;                // char[3], trimmed
    std::string SupplyText() const;          // char[16], trimmed
    std::string NominalVoltageText() const;  // char[15], trimmed
    std::string ConnectionText() const;      // char[15], trimmed
    std::string DirectOnLineText() const;    // char[15], trimmed
    // Current basis; a code's approximate amp factor is its basis over that of the model's
    // first code.
    float CurrentBasis() const;

    const std::array<std::uint8_t, kRecordSize>& Record() const { return record_; }

  private:
    std::array<std::uint8_t, kRecordSize> record_{};
};

// One drawing: number and file name.
class Tdrawing : public TKobject {
  public:
    static constexpr std::size_t kRecordSize = 38;
    static constexpr std::size_t kFileNameLength = 35;

    Tdrawing() = default;
    // Built from a record of the drawing index: number, file name (up to the first zero byte,
    // not trimmed) and product kind ('c', 'u', 'v' read as 'C', 'U', 'V'; any other letter is
    // kept and the loader drops the drawing).
    explicit Tdrawing(RecordBytes record);

    // True for the product kinds 'C', 'U' and 'V'.
    bool HasKnownKind() const;

    std::int32_t number = 0;
    std::string fileName;
    char productKind = ' ';
};

}  // namespace kelvra
