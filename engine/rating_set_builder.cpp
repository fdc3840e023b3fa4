#include "rating_set_builder.hpp"

#include <fmt/format.h>

#include <stdexcept>

namespace kelvra {

std::array<std::uint8_t, TenvPoint::kRecordSize> EnvelopePointRecord(const TenvPoint& point) {
    std::array<std::uint8_t, TenvPoint::kRecordSize> row{};
    PutU16(row, 0, point.setIndex);
    PutByte(row, 2, point.envelopeNumber);
    PutI16(row, 3, point.minimumSide ? 0 : 1);
    PutSingle(row, 5, point.y);
    PutSingle(row, 9, point.x);
    PutU16(row, 13, point.speed);
    return row;
}

std::array<std::uint8_t, TenvObj::kRecordSize> EnvelopeTypeRecord(std::int16_t id,
                                                                  std::int16_t kind, float limit,
                                                                  bool returnGas,
                                                                  std::string_view name) {
    std::array<std::uint8_t, TenvObj::kRecordSize> row{};
    PutText(row, 0, TenvObj::kNameLength, name);
    PutI16(row, 25, id);
    PutI16(row, 27, returnGas ? 1 : 0);
    PutI16(row, 29, kind);
    PutSingle(row, 31, limit);
    return row;
}

std::array<std::uint8_t, TrpmObject::kRecordSize> SpeedDataRecord(
    std::uint16_t index, std::uint16_t kind, const std::array<double, 40>& values) {
    std::array<std::uint8_t, TrpmObject::kRecordSize> row{};
    PutU16(row, 0, index);
    PutU16(row, 2, kind);
    for (std::size_t i = 0; i < values.size(); ++i) PutDouble(row, 4 + 8 * i, values[i]);
    return row;
}

// --- builder ---

RatingSetBuilder::RatingSetBuilder(std::uint16_t index) {
    Index(index);
}

RatingSetBuilder& RatingSetBuilder::Index(std::uint16_t index) {
    PutU16(record_, TcrateObj::Offset::Index, index);
    return *this;
}

RatingSetBuilder& RatingSetBuilder::Kind(int ratingModelKind) {
    PutByte(record_, TcrateObj::Offset::RatingModelKind,
            static_cast<std::uint8_t>(ratingModelKind));
    return *this;
}

RatingSetBuilder& RatingSetBuilder::Displacement(double m3PerSecond) {
    PutDouble(record_, TcrateObj::Offset::Displacement, m3PerSecond);
    return *this;
}

RatingSetBuilder& RatingSetBuilder::MotorPowerLimit(double kW) {
    PutDouble(record_, TcrateObj::Offset::MotorPowerLimit, kW);
    return *this;
}

RatingSetBuilder& RatingSetBuilder::MaxDischargeTemp(double degC) {
    PutDouble(record_, TcrateObj::Offset::MaxDischargeTemp, degC);
    return *this;
}

RatingSetBuilder& RatingSetBuilder::InjectionPowerFactor(double factor) {
    PutDouble(record_, TcrateObj::Offset::InjectionPowerFactor, factor);
    return *this;
}

RatingSetBuilder& RatingSetBuilder::TechnologyCode(int code) {
    PutByte(record_, TcrateObj::Offset::TechnologyCode, static_cast<std::uint8_t>(code));
    return *this;
}

RatingSetBuilder& RatingSetBuilder::OptionWord(std::uint16_t word) {
    PutU16(record_, TcrateObj::Offset::OptionWord, word);
    return *this;
}

RatingSetBuilder& RatingSetBuilder::BuiltInVolumeRatio(float ratio) {
    PutSingle(record_, TcrateObj::Offset::BuiltInVolumeRatio, ratio);
    return *this;
}

RatingSetBuilder& RatingSetBuilder::Coefficients(CoefficientBlock block,
                                                 const std::array<double, 10>& c) {
    const auto b = static_cast<int>(block);
    if (b < 0 || b > 3) throw std::out_of_range(fmt::format("coefficient block {}", b));
    const std::size_t start =
        TcrateObj::Offset::Coefficients + 80 * static_cast<std::size_t>(block);
    for (std::size_t k = 0; k < c.size(); ++k) PutDouble(record_, start + 8 * k, c[k]);
    return *this;
}

RatingSetBuilder& RatingSetBuilder::DataFlags(std::uint16_t flags) {
    PutU16(record_, TcrateObj::Offset::DataFlags, flags);
    return *this;
}

RatingSetBuilder& RatingSetBuilder::PowerUnit(std::uint16_t unit) {
    PutU16(record_, TcrateObj::Offset::PowerUnit, unit);
    return *this;
}

RatingSetBuilder& RatingSetBuilder::PowerLossFlags(std::uint16_t flags) {
    PutU16(record_, TcrateObj::Offset::PowerLossFlags, flags);
    return *this;
}

RatingSetBuilder& RatingSetBuilder::MassFlowUnit(std::uint16_t unit) {
    PutU16(record_, TcrateObj::Offset::MassFlowUnit, unit);
    return *this;
}

RatingSetBuilder& RatingSetBuilder::NominalSpeed(std::uint16_t rpm) {
    PutU16(record_, TcrateObj::Offset::NominalSpeed, rpm);
    return *this;
}

RatingSetBuilder& RatingSetBuilder::RatedSuperheat(float kelvin) {
    PutU16(record_, TcrateObj::Offset::RatedSuctionMode, 1);
    PutSingle(record_, TcrateObj::Offset::RatedSuctionValue, kelvin);
    return *this;
}

RatingSetBuilder& RatingSetBuilder::RatedSuctionGasTemp(float degC) {
    PutU16(record_, TcrateObj::Offset::RatedSuctionMode, 0);
    PutSingle(record_, TcrateObj::Offset::RatedSuctionValue, degC);
    return *this;
}

RatingSetBuilder& RatingSetBuilder::RatedSubcooling(float kelvin) {
    PutSingle(record_, TcrateObj::Offset::RatedSubcooling, kelvin);
    return *this;
}

RatingSetBuilder& RatingSetBuilder::OptionBits(std::uint16_t bits) {
    PutU16(record_, TcrateObj::Offset::OptionBits, bits);
    return *this;
}

RatingSetBuilder& RatingSetBuilder::EnvelopePointsDewBased(bool dew) {
    std::uint16_t bits = LoadU16(record_.data() + TcrateObj::Offset::OptionBits);
    bits = dew ? static_cast<std::uint16_t>(bits | 4u) : static_cast<std::uint16_t>(bits & ~4u);
    return OptionBits(bits);
}

RatingSetBuilder& RatingSetBuilder::VolumetricEfficiencyScale(float scale) {
    PutSingle(record_, TcrateObj::Offset::VolumetricEfficiencyScale, scale);
    return *this;
}

RatingSetBuilder& RatingSetBuilder::Byte(std::size_t offset, std::uint8_t value) {
    PutByte(record_, offset, value);
    return *this;
}

void RatingSetBuilder::AddLine(int envelopeNumber, bool minimumSide, std::uint16_t speed,
                               const std::vector<EnvelopeCorner>& corners) {
    for (const EnvelopeCorner& corner : corners) {
        TenvPoint point;
        point.envelopeNumber = static_cast<std::uint8_t>(envelopeNumber);
        point.minimumSide = minimumSide;
        point.speed = speed;
        point.x = static_cast<float>(corner.x);
        point.y = static_cast<float>(corner.y);
        points_.push_back(point);
    }
}

RatingSetBuilder& RatingSetBuilder::Envelope(int position, std::uint16_t typeId,
                                             std::vector<EnvelopeCorner> left,
                                             std::vector<EnvelopeCorner> right,
                                             std::uint8_t optionByte) {
    if (position < 1 || position > TcrateObj::kEnvelopeSlots) {
        throw std::out_of_range(fmt::format("envelope position {}", position));
    }
    PutU16(record_, static_cast<std::size_t>(426 + 2 * position), typeId);
    PutByte(record_, static_cast<std::size_t>(439 + position), optionByte);
    AddLine(position - 1, true, 0, left);
    AddLine(position - 1, false, 0, right);
    return *this;
}

RatingSetBuilder& RatingSetBuilder::SpeedEnvelope(int position, std::uint16_t typeId,
                                                  std::uint16_t baseSpeed,
                                                  std::vector<EnvelopeCorner> left,
                                                  std::vector<EnvelopeCorner> right,
                                                  std::uint8_t optionByte) {
    if (position != 1 && position != 3 && position != 5) {
        throw std::out_of_range(fmt::format("variable-speed envelope position {}", position));
    }
    if (baseSpeed == 0) throw std::invalid_argument("a variable-speed envelope needs its speed");
    PutU16(record_, static_cast<std::size_t>(426 + 2 * (position + 1)), typeId);
    PutByte(record_, TcrateObj::Offset::SpeedEnvelopeFlag, optionByte);
    AddLine(position - 1, true, baseSpeed, left);
    AddLine(position - 1, false, baseSpeed, right);
    return *this;
}

RatingSetBuilder& RatingSetBuilder::SpeedLevel(int position, std::uint16_t speed,
                                               std::vector<EnvelopeCorner> left,
                                               std::vector<EnvelopeCorner> right) {
    if (position != 1 && position != 3 && position != 5) {
        throw std::out_of_range(fmt::format("variable-speed envelope position {}", position));
    }
    if (speed == 0) throw std::invalid_argument("a speed level needs its speed");
    AddLine(position, true, speed, left);
    AddLine(position, false, speed, right);
    return *this;
}

RatingSetBuilder& RatingSetBuilder::Point(const TenvPoint& point) {
    points_.push_back(point);
    return *this;
}

RatingSetBuilder& RatingSetBuilder::SpeedPolynomials(const std::array<double, 40>& values) {
    speedValues_ = values;
    speedKind_ = 1;
    return *this;
}

RatingSetBuilder& RatingSetBuilder::InverterPolynomials(const std::array<double, 40>& values) {
    speedValues_ = values;
    speedKind_ = TrpmObject::kInverterKind;
    return *this;
}

RatingSetBuilder& RatingSetBuilder::ForCompressor(std::int32_t refrigerantCode,
                                                  std::int32_t familyCode) {
    compressor_ = CompressorUse{refrigerantCode, familyCode};
    return *this;
}

std::vector<std::array<std::uint8_t, TenvPoint::kRecordSize>> RatingSetBuilder::PointRecords()
    const {
    const std::uint16_t index = LoadU16(record_.data());
    std::vector<std::array<std::uint8_t, TenvPoint::kRecordSize>> rows;
    rows.reserve(points_.size());
    for (TenvPoint point : points_) {
        point.setIndex = index;
        rows.push_back(EnvelopePointRecord(point));
    }
    return rows;
}

std::optional<std::array<std::uint8_t, TrpmObject::kRecordSize>> RatingSetBuilder::SpeedRecord()
    const {
    if (!speedValues_) return std::nullopt;
    return SpeedDataRecord(LoadU16(record_.data()), speedKind_, *speedValues_);
}

// --- fixture ---

const TenvObj& RatingDataFixture::AddEnvelopeType(std::int16_t id, std::int16_t kind, float limit,
                                                  bool returnGas, std::string_view name) {
    return types_.emplace_back(EnvelopeTypeRecord(id, kind, limit, returnGas, name));
}

const TenvObj* RatingDataFixture::FindEnvelopeType(std::int32_t id) const {
    for (auto it = types_.rbegin(); it != types_.rend(); ++it) {
        if (it->id == id) return &*it;
    }
    return nullptr;
}

EnvelopeTypeLookup RatingDataFixture::Lookup() const {
    return [this](std::int32_t id) { return FindEnvelopeType(id); };
}

TcrateObj& RatingDataFixture::Build(const RatingSetBuilder& builder) {
    // Points as the loader keeps them: read from their rows, unusable coordinates skipped.
    std::vector<TenvPoint> points;
    for (const auto& row : builder.PointRecords()) {
        TenvPoint point(row);
        if (point.HasUsableCoordinates()) points.push_back(point);
    }
    std::vector<TenvPoint>& kept = points_.emplace_back(std::move(points));

    auto set = std::make_unique<TcrateObj>(builder.Record());
    DistributeEnvelopePoints(*set, kept);
    RemoveIncompleteEnvelopes(*set, Lookup());
    if (const auto speedRecord = builder.SpeedRecord()) {
        AttachVariableSpeedRecord(*set, *speedRecord);
    }
    if (const auto& use = builder.Compressor()) {
        FinishSetForCompressor(*set, use->refrigerantCode, use->familyCode);
    }
    sets_.push_back(std::move(set));
    return *sets_.back();
}

}  // namespace kelvra
