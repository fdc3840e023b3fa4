#pragma once

// Rating data sets made from named fields, for tests and fixtures.
//
// RatingSetBuilder writes the 466-byte record of a rating data set, the rows of its envelope
// points and its speed-data record from engineering values (kind, coefficients, flags, rated
// superheat, envelope corners ...). RatingDataFixture then plays the loader: it reads those
// records back through the record classes and applies the same finishing steps as the data
// store, so a test works on exactly the set the loader would build from such files.
//
//     RatingDataFixture data;
//     data.AddEnvelopeType(1, 1, 10.0f);  // id 1, kind 1, superheat limit 10 K
//     TcrateObj& set = data.Build(RatingSetBuilder(1)
//                                     .Kind(2)
//                                     .RatedSuperheat(10)
//                                     .Envelope(1, 1, {{-30, 20}, {-30, 50}}, {{10, 20}, {10,
//                                     50}}));

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "envelope.hpp"
#include "product_records.hpp"
#include "rating_data.hpp"
#include "rating_set_loading.hpp"

namespace kelvra {

// A corner of an envelope: evaporating temperature x (degC) and condensing temperature y (degC,
// or discharge pressure in bar on a pressure axis).
struct EnvelopeCorner {
    double x = 0;
    double y = 0;
};

// A row of the envelope-point file for the point.
std::array<std::uint8_t, TenvPoint::kRecordSize> EnvelopePointRecord(const TenvPoint& point);

// A row of the supply and envelope-type file for an envelope type.
std::array<std::uint8_t, TenvObj::kRecordSize> EnvelopeTypeRecord(std::int16_t id,
                                                                  std::int16_t kind, float limit,
                                                                  bool returnGas,
                                                                  std::string_view name = {});

// A record of the speed-data file.
std::array<std::uint8_t, TrpmObject::kRecordSize> SpeedDataRecord(
    std::uint16_t index, std::uint16_t kind, const std::array<double, 40>& values);

class RatingSetBuilder {
  public:
    explicit RatingSetBuilder(std::uint16_t index = 1);

    // --- record fields ---
    RatingSetBuilder& Index(std::uint16_t index);
    RatingSetBuilder& Kind(int ratingModelKind);
    RatingSetBuilder& Displacement(double m3PerSecond);
    RatingSetBuilder& MotorPowerLimit(double kW);
    RatingSetBuilder& MaxDischargeTemp(double degC);
    RatingSetBuilder& InjectionPowerFactor(double factor);
    RatingSetBuilder& TechnologyCode(int code);
    RatingSetBuilder& OptionWord(std::uint16_t word);
    RatingSetBuilder& BuiltInVolumeRatio(float ratio);
    RatingSetBuilder& Coefficients(CoefficientBlock block, const std::array<double, 10>& c);
    RatingSetBuilder& DataFlags(std::uint16_t flags);
    RatingSetBuilder& PowerUnit(std::uint16_t unit);
    RatingSetBuilder& PowerLossFlags(std::uint16_t flags);
    RatingSetBuilder& MassFlowUnit(std::uint16_t unit);
    // A non-zero nominal speed makes the set variable-speed.
    RatingSetBuilder& NominalSpeed(std::uint16_t rpm);
    // Rated at a superheat (mode 1) or at a suction gas temperature (mode 0).
    RatingSetBuilder& RatedSuperheat(float kelvin);
    RatingSetBuilder& RatedSuctionGasTemp(float degC);
    RatingSetBuilder& RatedSubcooling(float kelvin);
    RatingSetBuilder& OptionBits(std::uint16_t bits);
    // Sets or clears option bit 2: the envelope points are dew-point based.
    RatingSetBuilder& EnvelopePointsDewBased(bool dew);
    RatingSetBuilder& VolumetricEfficiencyScale(float scale);
    // Any other byte of the record.
    RatingSetBuilder& Byte(std::size_t offset, std::uint8_t value);

    // --- envelopes ---
    // Envelope position 1..6 of a fixed-speed set: its type id, option byte and points.
    RatingSetBuilder& Envelope(int position, std::uint16_t typeId, std::vector<EnvelopeCorner> left,
                               std::vector<EnvelopeCorner> right, std::uint8_t optionByte = 0);
    // Envelope position 1, 3 or 5 of a variable-speed set (give NominalSpeed too): its type id,
    // the set's variable-speed option byte and the base envelope at `baseSpeed`.
    RatingSetBuilder& SpeedEnvelope(int position, std::uint16_t typeId, std::uint16_t baseSpeed,
                                    std::vector<EnvelopeCorner> left,
                                    std::vector<EnvelopeCorner> right, std::uint8_t optionByte = 0);
    // A speed level of the variable-speed envelope in `position`.
    RatingSetBuilder& SpeedLevel(int position, std::uint16_t speed,
                                 std::vector<EnvelopeCorner> left,
                                 std::vector<EnvelopeCorner> right);
    // Any other point row, as given (its set index is replaced by the set's index).
    RatingSetBuilder& Point(const TenvPoint& point);

    // --- speed data ---
    RatingSetBuilder& SpeedPolynomials(const std::array<double, 40>& values);
    RatingSetBuilder& InverterPolynomials(const std::array<double, 40>& values);

    // The set is set A of a compressor of this refrigerant and family: the fixture finishes it
    // as the loader does for such a compressor.
    RatingSetBuilder& ForCompressor(std::int32_t refrigerantCode, std::int32_t familyCode);

    // --- results ---
    const std::array<std::uint8_t, TcrateObj::kRecordSize>& Record() const { return record_; }
    std::vector<std::array<std::uint8_t, TenvPoint::kRecordSize>> PointRecords() const;
    std::optional<std::array<std::uint8_t, TrpmObject::kRecordSize>> SpeedRecord() const;
    struct CompressorUse {
        std::int32_t refrigerantCode = 0;
        std::int32_t familyCode = 0;
    };
    const std::optional<CompressorUse>& Compressor() const { return compressor_; }

  private:
    void AddLine(int envelopeNumber, bool minimumSide, std::uint16_t speed,
                 const std::vector<EnvelopeCorner>& corners);

    std::array<std::uint8_t, TcrateObj::kRecordSize> record_{};
    std::vector<TenvPoint> points_;
    std::optional<std::array<double, 40>> speedValues_;
    std::uint16_t speedKind_ = 0;
    std::optional<CompressorUse> compressor_;
};

// Envelope types, points and rating data sets held as the data store holds them.
class RatingDataFixture {
  public:
    RatingDataFixture() = default;
    RatingDataFixture(const RatingDataFixture&) = delete;
    RatingDataFixture& operator=(const RatingDataFixture&) = delete;

    // Adds an envelope type, read back from its record. `limit` is the superheat limit (K), or
    // with `returnGas` the suction gas temperature limit (degC).
    const TenvObj& AddEnvelopeType(std::int16_t id, std::int16_t kind, float limit,
                                   bool returnGas = false, std::string_view name = {});

    // Builds the set from the builder's records and finishes it as the loader does: points,
    // envelope types, speed data and, when the builder names a compressor, the compressor's
    // finishing. The fixture owns the set.
    TcrateObj& Build(const RatingSetBuilder& builder);

    // The last envelope type with the id, or nullptr.
    const TenvObj* FindEnvelopeType(std::int32_t id) const;
    EnvelopeTypeLookup Lookup() const;

  private:
    std::deque<TenvObj> types_;
    std::deque<std::vector<TenvPoint>> points_;
    std::vector<std::unique_ptr<TcrateObj>> sets_;
};

}  // namespace kelvra
