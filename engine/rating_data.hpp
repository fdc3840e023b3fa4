#pragma once

// A compressor's rating data set (one load step) and its speed and inverter polynomials.
//
// The set keeps its 466-byte record exactly as it was read; typed accessors read the fields the
// models use, and the few setters change the fields the loader finishes. The set owns its
// envelopes: up to six numbered ones (variable-speed sets use positions 1, 3 and 5) and the two
// special-limit envelopes taken out of the numbered positions when the set is finished.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "envelope.hpp"
#include "model_object.hpp"
#include "record_bytes.hpp"

namespace kelvra {

// The four coefficient blocks of a rating data set, ten doubles each.
enum class CoefficientBlock { A = 0, B = 1, C = 2, D = 3 };

// Speed polynomials of a rating data set: four polynomials of ten coefficients.
class TrpmObject : public TKobject {
  public:
    static constexpr std::size_t kRecordSize = 324;
    static constexpr std::uint16_t kInverterKind = 64;  // the record holds inverter data

    explicit TrpmObject(RecordBytes record);

    std::uint16_t Index() const { return index_; }
    std::uint16_t Kind() const { return kind_; }

    // Polynomial `set` (1..4) with coefficients K1..K10 at arguments a, b, c:
    //   c * (K1 + K2 b + K3 a + K4 b^2 + K5 a b + K6 a^2 + c (K7 + K8 b + K9 a + K10 c)).
    // Throws std::out_of_range for a set outside 1..4.
    double Evaluate(int set, double a, double b, double c) const;

    // Coefficient K`k` (1..10) of polynomial `set` (1..4); std::out_of_range otherwise.
    double Coefficient(int set, int k) const;

  protected:
    std::uint16_t index_ = 0;
    std::uint16_t kind_ = 0;
    std::array<double, 40> values_{};
};

// Inverter polynomials: the same record, its doubles read as coefficients C1..C40.
class TinverterObject : public TKobject {
  public:
    static constexpr std::size_t kRecordSize = TrpmObject::kRecordSize;

    explicit TinverterObject(RecordBytes record);

    std::uint16_t Index() const { return index_; }
    std::uint16_t Kind() const { return kind_; }

    // Cn, n = 1..40; std::out_of_range otherwise.
    double Coefficient(int n) const;

    // With x = a / 30 (a in rpm, so x is the supply frequency in Hz):
    // (x / 50) * b * C1 * (C2 + C3 x + C4 x^2) -- the capacity at speed a from capacity b.
    double First(double a, double b) const;
    // The same with C11..C14 -- the power at speed a from power b.
    double Second(double a, double b) const;
    // C31 d + C32 -- the current from the power d.
    double Third(double d) const;

  private:
    std::uint16_t index_ = 0;
    std::uint16_t kind_ = 0;
    std::array<double, 40> values_{};
};

// One rating data set.
class TcrateObj : public TKobject {
  public:
    static constexpr std::size_t kRecordSize = 466;
    static constexpr int kEnvelopeSlots = 6;

    // Record offsets of the fields.
    struct Offset {
        static constexpr std::size_t Index = 0;
        static constexpr std::size_t Displacement = 4;  // the first record: database date
        static constexpr std::size_t MotorPowerLimit = 20;
        static constexpr std::size_t MaxDischargeTemp = 28;
        static constexpr std::size_t InjectionPowerFactor = 68;
        static constexpr std::size_t TechnologyCode = 76;
        static constexpr std::size_t OptionWord = 77;
        static constexpr std::size_t BuiltInVolumeRatio = 79;
        static constexpr std::size_t RatingModelKind = 83;
        static constexpr std::size_t Coefficients = 84;  // block k at 84 + 80 k
        static constexpr std::size_t DataFlags = 404;
        static constexpr std::size_t PowerUnit = 406;
        static constexpr std::size_t PowerLossFlags = 408;
        static constexpr std::size_t MassFlowUnit = 410;
        static constexpr std::size_t NominalSpeed = 412;
        static constexpr std::size_t RatedSuctionMode = 414;
        static constexpr std::size_t RatedSuctionValue = 416;
        static constexpr std::size_t RatedSubcooling = 420;
        static constexpr std::size_t OptionBits = 426;
        static constexpr std::size_t EnvelopeIds = 428;        // fixed speed: ids 1..6 at 426 + 2 i
        static constexpr std::size_t EnvelopeFlags = 440;      // fixed speed: bytes at 439 + i
        static constexpr std::size_t SpeedEnvelopeFlag = 441;  // variable speed: one byte
        static constexpr std::size_t VolumetricEfficiencyScale = 446;
    };

    // Technology codes (offset 76).
    static constexpr int kTechCurrentNotShown = 1;
    static constexpr int kTechFixedVolumeRatio = 2;
    static constexpr int kTechNoSuctionCorrection = 9;
    static constexpr int kTechCO2Transcritical = 10;

    // Builds the set from its record (RecordError for fewer than 466 bytes; only the first 466
    // are kept). A set with a nominal speed (offset 412) is variable-speed: its envelope ids at
    // offsets 430, 434 and 438 become TVSenvelopes in positions 1, 3 and 5, with the option
    // byte at 441. Otherwise the ids at offsets 428..438 become Tenvelopes in positions 1..6,
    // with the option bytes at 440..445. An id of 0 leaves its position empty.
    explicit TcrateObj(RecordBytes record);
    TcrateObj(const TcrateObj&) = delete;
    TcrateObj& operator=(const TcrateObj&) = delete;

    const std::array<std::uint8_t, kRecordSize>& Record() const { return record_; }

    // --- fields the models read ---
    std::uint16_t Index() const;
    double Displacement() const;      // m3/s
    double MotorPowerLimit() const;   // kW; 0 = none
    double MaxDischargeTemp() const;  // degC
    double InjectionPowerFactor() const;
    int TechnologyCode() const;
    std::uint16_t OptionWord() const;
    float BuiltInVolumeRatio() const;
    int RatingModelKind() const;
    // Coefficient C`k` (1..10) of a block; std::out_of_range for k outside 1..10.
    double Coefficient(CoefficientBlock block, int k) const;
    std::array<double, 10> Coefficients(CoefficientBlock block) const;
    std::uint16_t DataFlags() const;
    std::uint16_t PowerUnit() const;
    std::uint16_t PowerLossFlags() const;
    std::uint16_t MassFlowUnit() const;
    std::uint16_t NominalSpeed() const;  // rpm; non-zero for variable-speed sets
    std::uint16_t RatedSuctionMode() const;
    bool RatedAtSuperheat() const { return RatedSuctionMode() != 0; }
    float RatedSuctionValue() const;  // rated superheat K, or rated suction gas temperature degC
    float RatedSubcooling() const;    // K
    std::uint16_t OptionBits() const;
    float VolumetricEfficiencyScale() const;

    // Data flags (offset 404) of the polynomial kinds.
    bool TemperaturesInFahrenheit() const { return (DataFlags() & 1u) != 0; }
    bool CapacityInWatts() const { return (DataFlags() & 2u) != 0; }
    bool PolynomialsDewBased() const { return (DataFlags() & 4u) != 0; }
    // Option bits (offset 426).
    bool FirstOptionFlag() const { return (OptionBits() & 1u) != 0; }
    bool Is50HzData() const { return (OptionBits() & 2u) != 0; }
    bool EnvelopePointsDewBased() const { return (OptionBits() & 4u) != 0; }
    // Option word (offset 77).
    bool IgnoresActualSubcooling() const { return OptionWord() == 4 || OptionWord() == 8; }
    bool CapsSubcooling() const { return (OptionWord() & 8u) != 0; }
    bool IsentropicDischarge() const { return (OptionWord() & 1u) != 0; }
    bool CapsDischargeAt145() const { return (OptionWord() & 16u) != 0; }

    // --- envelopes ---
    // True when the set was built with variable-speed envelopes.
    bool HasVariableSpeedEnvelopes() const { return variableSpeed_; }
    // The record id of envelope position 1..6 (0 for none, and for positions a variable-speed
    // set does not use).
    std::uint16_t EnvelopeId(int position) const;
    // The option byte of envelope position 1..6.
    std::uint8_t EnvelopeOptionByte(int position) const;
    // The envelope in position 1..6, or nullptr (also for positions outside 1..6).
    Tenvelope* Envelope(int position);
    const Tenvelope* Envelope(int position) const;
    // Takes the envelope out of position 1..6 (the position becomes empty).
    std::unique_ptr<Tenvelope> TakeEnvelope(int position);
    // Frees the envelope of a position and clears its id in the record.
    void RemoveEnvelope(int position);

    // Special-limit envelope 1 (envelope type kind 5) and 2 (kind 7), or nullptr.
    const Tenvelope* SpecialLimitEnvelope(int which) const;
    Tenvelope* SpecialLimitEnvelope(int which);
    void SetSpecialLimitEnvelope(int which, std::unique_ptr<Tenvelope> envelope);

    const TinverterObject* Inverter() const { return inverter_.get(); }
    const TrpmObject* SpeedPolynomials() const { return speedPolynomials_.get(); }
    void SetInverter(std::unique_ptr<TinverterObject> inverter);
    void SetSpeedPolynomials(std::unique_ptr<TrpmObject> polynomials);

    // --- fields the loader finishes ---
    void SetMotorPowerLimit(double kW);
    void SetMaxDischargeTemp(double degC);
    void SetVolumetricEfficiencyScale(float scale);
    // Sets or clears the record id of envelope position 1..6.
    void SetEnvelopeId(int position, std::uint16_t id);

  private:
    std::size_t EnvelopeIdOffset(int position) const;  // 0 for none

    std::array<std::uint8_t, kRecordSize> record_{};
    bool variableSpeed_ = false;
    std::array<std::unique_ptr<Tenvelope>, kEnvelopeSlots> envelopes_;
    std::array<std::unique_ptr<Tenvelope>, 2> specialLimit_;
    std::unique_ptr<TinverterObject> inverter_;
    std::unique_ptr<TrpmObject> speedPolynomials_;
};

}  // namespace kelvra
