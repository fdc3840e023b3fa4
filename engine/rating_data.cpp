#include "rating_data.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <stdexcept>

namespace kelvra {

namespace {

std::array<double, 40> ReadForty(const RecordView& row) {
    std::array<double, 40> values{};
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = row.Double(4 + 8 * i);
    return values;
}

}  // namespace

// --- speed and inverter polynomials ---

TrpmObject::TrpmObject(RecordBytes record) {
    const RecordView row(record, kRecordSize, "speed data");
    index_ = row.U16(0);
    kind_ = row.U16(2);
    values_ = ReadForty(row);
}

double TrpmObject::Coefficient(int set, int k) const {
    if (set < 1 || set > 4 || k < 1 || k > 10) {
        throw std::out_of_range(fmt::format("speed polynomial {} coefficient {}", set, k));
    }
    return values_[static_cast<std::size_t>((set - 1) * 10 + (k - 1))];
}

double TrpmObject::Evaluate(int set, double a, double b, double c) const {
    const auto K = [&](int k) { return Coefficient(set, k); };
    const double inner = K(7) + K(8) * b + K(9) * a + K(10) * c;
    return c *
           (K(1) + K(2) * b + K(3) * a + K(4) * b * b + K(5) * a * b + K(6) * a * a + c * inner);
}

TinverterObject::TinverterObject(RecordBytes record) {
    const RecordView row(record, kRecordSize, "inverter data");
    index_ = row.U16(0);
    kind_ = row.U16(2);
    values_ = ReadForty(row);
}

double TinverterObject::Coefficient(int n) const {
    if (n < 1 || n > 40) throw std::out_of_range(fmt::format("inverter coefficient {}", n));
    return values_[static_cast<std::size_t>(n - 1)];
}

double TinverterObject::First(double a, double b) const {
    const double x = a / 30.0;
    const auto C = [&](int n) { return values_[static_cast<std::size_t>(n - 1)]; };
    return (x / 50.0) * b * C(1) * (C(2) + C(3) * x + C(4) * x * x);
}

double TinverterObject::Second(double a, double b) const {
    const double x = a / 30.0;
    const auto C = [&](int n) { return values_[static_cast<std::size_t>(n - 1)]; };
    return (x / 50.0) * b * C(11) * (C(12) + C(13) * x + C(14) * x * x);
}

double TinverterObject::Third(double d) const {
    return values_[30] * d + values_[31];
}

// --- rating data set ---

TcrateObj::TcrateObj(RecordBytes record) {
    const RecordView row(record, kRecordSize, "rating data");
    std::copy(row.Bytes().begin(), row.Bytes().end(), record_.begin());

    const std::uint16_t nominal = NominalSpeed();
    variableSpeed_ = nominal != 0;
    if (variableSpeed_) {
        const std::uint8_t option = record_[Offset::SpeedEnvelopeFlag];
        for (int i = 1; i <= 3; ++i) {
            const std::uint16_t id = LoadU16(record_.data() + 426 + 4 * i);
            if (id != 0) {
                envelopes_[static_cast<std::size_t>(2 * i - 2)] =
                    std::make_unique<TVSenvelope>(id, nominal, option);
            }
        }
    } else {
        for (int i = 1; i <= kEnvelopeSlots; ++i) {
            const std::uint16_t id = LoadU16(record_.data() + 426 + 2 * i);
            if (id != 0) {
                envelopes_[static_cast<std::size_t>(i - 1)] =
                    std::make_unique<Tenvelope>(id, record_[static_cast<std::size_t>(439 + i)]);
            }
        }
    }
}

std::uint16_t TcrateObj::Index() const {
    return LoadU16(record_.data() + Offset::Index);
}

double TcrateObj::Displacement() const {
    return LoadDouble(record_.data() + Offset::Displacement);
}

double TcrateObj::MotorPowerLimit() const {
    return LoadDouble(record_.data() + Offset::MotorPowerLimit);
}

double TcrateObj::MaxDischargeTemp() const {
    return LoadDouble(record_.data() + Offset::MaxDischargeTemp);
}

double TcrateObj::InjectionPowerFactor() const {
    return LoadDouble(record_.data() + Offset::InjectionPowerFactor);
}

int TcrateObj::TechnologyCode() const {
    return record_[Offset::TechnologyCode];
}

std::uint16_t TcrateObj::OptionWord() const {
    return LoadU16(record_.data() + Offset::OptionWord);
}

float TcrateObj::BuiltInVolumeRatio() const {
    return LoadSingle(record_.data() + Offset::BuiltInVolumeRatio);
}

int TcrateObj::RatingModelKind() const {
    return record_[Offset::RatingModelKind];
}

double TcrateObj::Coefficient(CoefficientBlock block, int k) const {
    const auto b = static_cast<int>(block);
    if (b < 0 || b > 3 || k < 1 || k > 10) {
        throw std::out_of_range(fmt::format("rating coefficient C{} of block {}", k, b));
    }
    const std::size_t offset = Offset::Coefficients + 80 * static_cast<std::size_t>(block) +
                               8 * static_cast<std::size_t>(k - 1);
    return LoadDouble(record_.data() + offset);
}

std::array<double, 10> TcrateObj::Coefficients(CoefficientBlock block) const {
    std::array<double, 10> c{};
    for (int k = 1; k <= 10; ++k) c[static_cast<std::size_t>(k - 1)] = Coefficient(block, k);
    return c;
}

std::uint16_t TcrateObj::DataFlags() const {
    return LoadU16(record_.data() + Offset::DataFlags);
}

std::uint16_t TcrateObj::PowerUnit() const {
    return LoadU16(record_.data() + Offset::PowerUnit);
}

std::uint16_t TcrateObj::PowerLossFlags() const {
    return LoadU16(record_.data() + Offset::PowerLossFlags);
}

std::uint16_t TcrateObj::MassFlowUnit() const {
    return LoadU16(record_.data() + Offset::MassFlowUnit);
}

std::uint16_t TcrateObj::NominalSpeed() const {
    return LoadU16(record_.data() + Offset::NominalSpeed);
}

std::uint16_t TcrateObj::RatedSuctionMode() const {
    return LoadU16(record_.data() + Offset::RatedSuctionMode);
}

float TcrateObj::RatedSuctionValue() const {
    return LoadSingle(record_.data() + Offset::RatedSuctionValue);
}

float TcrateObj::RatedSubcooling() const {
    return LoadSingle(record_.data() + Offset::RatedSubcooling);
}

std::uint16_t TcrateObj::OptionBits() const {
    return LoadU16(record_.data() + Offset::OptionBits);
}

float TcrateObj::VolumetricEfficiencyScale() const {
    return LoadSingle(record_.data() + Offset::VolumetricEfficiencyScale);
}

std::size_t TcrateObj::EnvelopeIdOffset(int position) const {
    if (position < 1 || position > kEnvelopeSlots) return 0;
    if (variableSpeed_) {
        // Positions 1, 3 and 5 take the ids at 430, 434 and 438.
        if (position % 2 == 0) return 0;
        return static_cast<std::size_t>(426 + 2 * (position + 1));
    }
    return static_cast<std::size_t>(426 + 2 * position);
}

std::uint16_t TcrateObj::EnvelopeId(int position) const {
    const std::size_t offset = EnvelopeIdOffset(position);
    return offset == 0 ? 0 : LoadU16(record_.data() + offset);
}

std::uint8_t TcrateObj::EnvelopeOptionByte(int position) const {
    if (position < 1 || position > kEnvelopeSlots) return 0;
    if (variableSpeed_) return record_[Offset::SpeedEnvelopeFlag];
    return record_[static_cast<std::size_t>(439 + position)];
}

void TcrateObj::SetEnvelopeId(int position, std::uint16_t id) {
    const std::size_t offset = EnvelopeIdOffset(position);
    if (offset != 0) PutU16(record_, offset, id);
}

Tenvelope* TcrateObj::Envelope(int position) {
    if (position < 1 || position > kEnvelopeSlots) return nullptr;
    return envelopes_[static_cast<std::size_t>(position - 1)].get();
}

const Tenvelope* TcrateObj::Envelope(int position) const {
    if (position < 1 || position > kEnvelopeSlots) return nullptr;
    return envelopes_[static_cast<std::size_t>(position - 1)].get();
}

std::unique_ptr<Tenvelope> TcrateObj::TakeEnvelope(int position) {
    if (position < 1 || position > kEnvelopeSlots) return nullptr;
    return std::move(envelopes_[static_cast<std::size_t>(position - 1)]);
}

void TcrateObj::RemoveEnvelope(int position) {
    TakeEnvelope(position).reset();
    SetEnvelopeId(position, 0);
}

const Tenvelope* TcrateObj::SpecialLimitEnvelope(int which) const {
    if (which < 1 || which > 2) return nullptr;
    return specialLimit_[static_cast<std::size_t>(which - 1)].get();
}

Tenvelope* TcrateObj::SpecialLimitEnvelope(int which) {
    if (which < 1 || which > 2) return nullptr;
    return specialLimit_[static_cast<std::size_t>(which - 1)].get();
}

void TcrateObj::SetSpecialLimitEnvelope(int which, std::unique_ptr<Tenvelope> envelope) {
    if (which < 1 || which > 2) {
        throw std::out_of_range(fmt::format("special-limit envelope {}", which));
    }
    specialLimit_[static_cast<std::size_t>(which - 1)] = std::move(envelope);
}

void TcrateObj::SetInverter(std::unique_ptr<TinverterObject> inverter) {
    inverter_ = std::move(inverter);
}

void TcrateObj::SetSpeedPolynomials(std::unique_ptr<TrpmObject> polynomials) {
    speedPolynomials_ = std::move(polynomials);
}

void TcrateObj::SetMotorPowerLimit(double kW) {
    PutDouble(record_, Offset::MotorPowerLimit, kW);
}

void TcrateObj::SetMaxDischargeTemp(double degC) {
    PutDouble(record_, Offset::MaxDischargeTemp, degC);
}

void TcrateObj::SetVolumetricEfficiencyScale(float scale) {
    PutSingle(record_, Offset::VolumetricEfficiencyScale, scale);
}

}  // namespace kelvra
