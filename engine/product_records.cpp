#include "product_records.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>

#include "model_text.hpp"

namespace kelvra {

void TFamily::SetName(std::string_view text) {
    name = CutToCharacters(TrimText(text), kNameLength);
}

void TSupply::SetName(std::string_view text) {
    name = CutToCharacters(TrimText(text), kNameLength);
}

std::string TSupply::FrequencyText() const {
    if (frequency > 40) return fmt::format("{}Hz", frequency);
    return CutToCharacters(name, kNameLength);
}

void TSupply::ApplyDataLabel(std::string_view label50) {
    dataLabel = frequency == 60 ? SixtyHertzLabel(label50) : std::string(label50);
}

std::string SixtyHertzLabel(std::string_view label50) {
    std::string label(label50);
    const std::size_t five = label.find('5');
    if (five != std::string::npos) label[five] = '6';
    return label;
}

TFamily FamilyFromRecord(RecordBytes record) {
    const RecordView row(record, kHeaderRecordSize, "family");
    TFamily family;
    family.code = row.I16(0);
    family.SetName(row.Text(2, TFamily::kNameLength));
    family.subLetter = row.Char(37);
    family.kind = row.Char(38);
    family.category = row.Single(39);
    return family;
}

// --- custom families ---

TcustFam::TcustFam(std::string_view name) {
    SetName(name);
    kind = kCustom;
}

void TcustFam::AddMember(const TCModel* model) {
    members_.push_back(model);
}

void TcustFam::RemoveMember(const TCModel* model) {
    std::erase(members_, model);
}

bool TcustFam::Contains(const TCModel* model) const {
    return std::find(members_.begin(), members_.end(), model) != members_.end();
}

// --- supplies and envelope types ---

bool IsSupplyRecord(RecordBytes record) {
    const RecordView row(record, kSupplyRecordSize, "supply or envelope type");
    return row.I16(29) > 39;
}

TSupply SupplyFromRecord(RecordBytes record) {
    const RecordView row(record, kSupplyRecordSize, "supply");
    TSupply supply;
    supply.SetName(row.Text(0, TSupply::kNameLength));
    supply.id = row.I16(25);
    supply.flag = row.I16(27) != 0;
    supply.frequency = row.I16(29);
    supply.voltage = row.Single(31);
    supply.phases = row.Single(35);
    return supply;
}

TenvObj::TenvObj(RecordBytes record) {
    const RecordView row(record, kRecordSize, "envelope type");
    name = CutToCharacters(TrimText(row.Text(0, kNameLength)), kNameLength);
    id = row.I16(25);
    flag = row.I16(27) != 0;
    kind = row.I16(29);
    value1 = row.Four(31);
    value2 = row.Four(35);
}

float TenvObj::Limit() const {
    return LoadSingle(value1.data());
}

const TenvObj* FindLastEnvelopeType(std::span<const TenvObj> types, std::int32_t id) {
    for (auto it = types.rbegin(); it != types.rend(); ++it) {
        if (it->id == id) return &*it;
    }
    return nullptr;
}

// --- technical data ---

TTecHeadObj::TTecHeadObj(RecordBytes record) {
    const RecordView row(record, kRecordSize, "heading");
    id = row.U16(0);
    keySelector = row.Char(2);
    group = row.Char(3);
    // The group letter is a record byte like any text: keep the caption valid UTF-8.
    caption = Windows1252ToUtf8(std::string(1, group)) + std::to_string(id);
}

void TTecHeadObj::SetCaption(std::string_view text) {
    caption = CutToCharacters(text, kCaptionLength);
}

TTecObj TTecObj::FromTechRecord(RecordBytes record, char productKind) {
    const RecordView row(record, kTechRecordSize, "technical data");
    TTecObj item;
    item.modelKey = row.U16(0);
    item.headingId = row.U16(2);
    item.text = CutToCharacters(TrimText(row.Text(4, kValueTextLength)), kTextLength);
    item.value = row.Four(39);
    item.productKind = productKind;
    return item;
}

TTecObj TTecObj::FromAccessoryRecord(RecordBytes record) {
    const RecordView row(record, kAccessoryRecordSize, "accessory");
    TTecObj item;
    item.modelKey = row.U16(0);
    item.headingId = row.U16(2);
    item.textKey = row.U16(4);
    switch (row.Char(6)) {
        case 'U':
        case 'u':
            item.productKind = 'U';
            break;
        case 'V':
        case 'v':
            item.productKind = 'V';
            break;
        default:  // compressors, "R" among them
            item.productKind = 'C';
            break;
    }
    const char list = row.Char(7);
    if (list == 'I' || list == 'i') {
        item.listLetter = 'I';
    } else if (list == 'O' || list == 'o') {
        item.listLetter = 'O';
    } else {
        item.listLetter = list;
    }
    return item;
}

void TTecObj::AttachHeading(TTecHeadObj* found) {
    heading = found;
    if (found == nullptr || found->usedBy == productKind) return;
    found->usedBy = found->usedBy == TTecHeadObj::kUnused ? productKind : TTecHeadObj::kBoth;
}

void TTecObj::ResolveHeading(std::span<TTecHeadObj> headings) {
    for (TTecHeadObj& candidate : headings) {
        if (candidate.id == headingId) {
            AttachHeading(&candidate);
            return;
        }
    }
    AttachHeading(nullptr);
}

void TTecObj::ResolveHeading(std::span<const std::unique_ptr<TTecHeadObj>> headings) {
    for (const auto& candidate : headings) {
        if (candidate && candidate->id == headingId) {
            AttachHeading(candidate.get());
            return;
        }
    }
    AttachHeading(nullptr);
}

float TTecObj::ValueAsSingle() const {
    return LoadSingle(value.data());
}

TordaTech::TordaTech(RecordBytes record) {
    const RecordView row(record, kRecordSize, "controls technical data");
    modelKey = row.U16(0);
    headingId = row.U16(2);
    text = CutToCharacters(TrimText(row.Text(4, kShortTextLength)), kShortTextLength);
    longText = CutToCharacters(TrimText(row.Text(29, kLongTextLength)), kLongTextLength);
    value = row.Four(64);
    productKind = 'V';
    listLetter = ' ';
}

// --- motor codes ---

TmotorObj::TmotorObj(RecordBytes record) {
    const RecordView row(record, kRecordSize, "motor code");
    std::copy(row.Bytes().begin(), row.Bytes().end(), record_.begin());
}

namespace {

std::string MotorText(const std::array<std::uint8_t, TmotorObj::kRecordSize>& record,
                      std::size_t offset, std::size_t length) {
    return TrimText(RecordView(record, TmotorObj::kRecordSize, "motor code").Text(offset, length));
}

}  // namespace

std::uint16_t TmotorObj::Id() const {
    return LoadU16(record_.data());
}

std::string TmotorObj::Code() const {
    return MotorText(record_, 2, 3);
}

std::string TmotorObj::SupplyText() const {
    return MotorText(record_, 5, 16);
}

std::string TmotorObj::NominalVoltageText() const {
    return MotorText(record_, 21, 15);
}

std::string TmotorObj::ConnectionText() const {
    return MotorText(record_, 36, 15);
}

std::string TmotorObj::DirectOnLineText() const {
    return MotorText(record_, 51, 15);
}

float TmotorObj::CurrentBasis() const {
    return LoadSingle(record_.data() + 66);
}

// --- drawings ---

Tdrawing::Tdrawing(RecordBytes record) {
    const RecordView row(record, kRecordSize, "drawing");
    number = row.I16(0);
    fileName = row.Text(2, kFileNameLength);  // kept as read, trailing blanks too
    const char kind = row.Char(37);
    productKind = (kind == 'c' || kind == 'u' || kind == 'v')
                      ? static_cast<char>(std::toupper(static_cast<unsigned char>(kind)))
                      : kind;
}

bool Tdrawing::HasKnownKind() const {
    return productKind == 'C' || productKind == 'U' || productKind == 'V';
}

}  // namespace kelvra
