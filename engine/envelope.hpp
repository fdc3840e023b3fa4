#pragma once

// Operating envelopes of a compressor's rating data set.
//
// An envelope is a polygon in the plane of evaporating temperature (x, degC) and condensing
// temperature (y, degC) -- for transcritical CO2 sets of evaporating temperature and discharge
// pressure (bar). It is held as two lines, each ascending in y: the left line (minimum
// evaporating temperature) and the right line (maximum evaporating temperature); the bottom and
// the top edge join their first and their last points. Variable-speed envelopes add envelopes
// at other speeds and build the envelope of the current speed from them.
//
// The envelope check turns the inside tests of a set's envelopes into a model status.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <vector>

#include "model_object.hpp"
#include "model_status.hpp"
#include "record_bytes.hpp"

namespace kelvra {

class TenvObj;
class TcrateObj;

// One boundary point of an envelope, from a row of the envelope-point file.
class TenvPoint : public TKobject {
  public:
    static constexpr std::size_t kRecordSize = 15;
    // Coordinates at or below this mark an unused point; the loader skips such rows.
    static constexpr float kUnusedCoordinate = -99.0f;

    TenvPoint() = default;
    // Set index, envelope number, side (0: left line), y, x and the variable-speed marker,
    // which is the point's speed in rpm (0 for fixed-speed envelopes). Basis 'N'.
    explicit TenvPoint(RecordBytes record);

    // True when both coordinates lie above the unused mark (a point the loader keeps).
    bool HasUsableCoordinates() const;

    std::uint16_t setIndex = 0;       // rating data set the point belongs to
    std::uint8_t envelopeNumber = 0;  // 0-based within the set
    bool minimumSide = true;          // on the left (minimum evaporating) line
    char basis = 'N';                 // 'D' or 'M' once stamped from the set's option bits
    std::uint16_t speed = 0;          // rpm; 0 for fixed-speed envelopes
    float y = 0;                      // condensing temperature degC, or discharge pressure bar
    float x = 0;                      // evaporating temperature degC
};

// A line of an envelope: points ascending in y. The points are not owned.
using EnvelopeLine = std::vector<const TenvPoint*>;

// Inside-test codes.
namespace envelope_code {
inline constexpr int Inside = 0;
inline constexpr int Below = 1;        // below the bottom edge: condensing too low
inline constexpr int Above = 2;        // above the top edge: condensing too high
inline constexpr int LeftOf = 3;       // left of the left line: evaporating too low
inline constexpr int RightOf = 4;      // right of the right line: evaporating too high
inline constexpr int BelowSpeeds = 5;  // speed below the lowest envelope speed
inline constexpr int AboveSpeeds = 6;  // speed above the highest envelope speed
inline constexpr int NoLines = -1;     // a line of the envelope is empty
}  // namespace envelope_code

// Tolerance of every comparison of the inside test (K, or bar on a pressure axis).
inline constexpr double kEnvelopeTolerance = 0.005;

// One operating envelope.
class Tenvelope : public TKobject {
  public:
    Tenvelope() = default;
    Tenvelope(std::int32_t typeId, std::int32_t optionByte);
    Tenvelope(const Tenvelope&) = default;
    Tenvelope& operator=(const Tenvelope&) = default;
    ~Tenvelope() override = default;

    // Slot 0: appends the point to the left line when it lies on the minimum side, else to the
    // right line.
    virtual void AddPoint(const TenvPoint* point);

    // Slot 1: the extent of the envelope. Without `accumulate` the values start from this
    // envelope's first points; with it they widen the values passed in. False, with the values
    // untouched, when a line is empty. `basis` is the basis of the values; the extent is the
    // same on every basis.
    virtual bool Bounds(double& yMin, double& yMax, char basis, bool accumulate, double& xMax,
                        double& xMin) const;

    // Slot 2: where the point (x, y) lies: an envelope_code, with a tolerance of 0.005 on every
    // comparison, so a point on the boundary is inside. -1 when a line is empty or a coordinate
    // is not a number. `basis` is the basis of the point; the test is the same on every basis.
    virtual int InsideTest(char basis, double x, double y) const;

    const EnvelopeLine& LeftLine() const { return left_; }
    const EnvelopeLine& RightLine() const { return right_; }
    bool HasBothLines() const { return !left_.empty() && !right_.empty(); }
    // Empties both lines (the points are not owned).
    void ClearLines();
    // Takes over the other envelope's lines and speed.
    void CopyLinesFrom(const Tenvelope& other);

    std::int32_t typeId = 0;          // envelope type id
    std::int32_t optionByte = 0;      // per-envelope byte of the rating data set
    std::int32_t speed = 0;           // rpm; 0 for fixed-speed envelopes
    bool speedInterpolation = false;  // variable-speed envelope of a speed-polynomial set
    bool pressureAxis = false;        // y is the discharge pressure (transcritical CO2)
    bool speedBands = false;          // variable-speed envelope of an inverter set
    // The envelope type, resolved when the set is finished; not owned.
    const TenvObj* type = nullptr;

  protected:
    EnvelopeLine left_;
    EnvelopeLine right_;
};

// A variable-speed envelope. Its own lines are the base envelope, valid from its own speed up
// to the nominal speed; envelopes at other speeds (speed levels) give the envelope at speeds
// outside that range, by interpolation (speed-polynomial sets) or by speed band (inverter sets).
class TVSenvelope : public Tenvelope {
  public:
    TVSenvelope(std::int32_t typeId, std::int32_t nominalSpeed, std::int32_t optionByte);
    TVSenvelope(const TVSenvelope&) = delete;
    TVSenvelope& operator=(const TVSenvelope&) = delete;

    // Slot 0: a point with an odd envelope number goes to the speed level of its speed (created
    // in speed order when missing); an even one to the base lines, and the base speed becomes
    // its speed. The lowest and highest speed follow the level that received the point.
    void AddPoint(const TenvPoint* point) override;

    // Builds the current envelope for speed n (speed-polynomial sets): nothing when it is
    // already at n or when n lies in the base range; a copy of the first or last level at or
    // beyond the lowest or highest speed; otherwise interpolated between the neighbouring
    // levels, with the base envelope (at its base speed below the range, at the nominal speed
    // above it) standing in for the level on its side.
    void PrepareSpeed(std::int32_t n);

    // Chooses the current envelope for speed n (inverter sets): above the nominal speed the
    // first level above the nominal speed at or above n; below the base speed the nearest
    // level at or below n. Any other speed leaves no current envelope.
    void SelectSpeedBand(std::int32_t n);

    // The variable-speed test: in the base range the inside test on the base lines; else speed
    // below the lowest level 5, above the highest 6, otherwise the inside test on the current
    // envelope, which the caller has prepared for n (PrepareSpeed or SelectSpeedBand; -1 when
    // it was prepared for another speed).
    int SpeedInsideTest(char basis, std::int32_t n, double x, double y) const;

    // True when n lies in the base range: from the base speed up to the nominal speed.
    bool InBaseRange(std::int32_t n) const;

    std::int32_t NominalSpeed() const { return nominalSpeed_; }
    std::int32_t BaseSpeed() const { return speed; }
    // Lowest and highest speed of all levels, base included; 0 while there are no points.
    std::int32_t LowestSpeed() const;
    std::int32_t HighestSpeed() const;
    // The speed levels, ascending by speed.
    std::span<const std::unique_ptr<Tenvelope>> SpeedLevels() const { return levels_; }
    // The envelope of the current speed; its speed is -1 until one was prepared.
    const Tenvelope& Current() const { return current_; }

  private:
    // Fills one line of the current envelope between two lines at fraction phi.
    void InterpolateLine(const EnvelopeLine& lower, const EnvelopeLine& upper, double phi,
                         bool minimumSide);
    const TenvPoint* SparePoint(double x, double y, bool minimumSide);

    std::int32_t nominalSpeed_ = 0;
    std::vector<std::unique_ptr<Tenvelope>> levels_;
    Tenvelope current_;
    bool anySpeed_ = false;
    std::int32_t lowestSpeed_ = 0;
    std::int32_t highestSpeed_ = 0;
    // Points of interpolated current envelopes, reused on every rebuild.
    std::deque<TenvPoint> pool_;
    std::size_t poolUsed_ = 0;
};

// True when (x, y) lies inside the closed polygon `line` (the extended envelope): false for two
// points or fewer or outside the polygon's x and y range. The chord from its lowest to its
// highest point splits it; the boundary on the point's side of the chord is interpolated
// between the nearest polygon points below and above y (the chord's ends count on both sides).
bool InsideExtendedEnvelope(const EnvelopeLine& line, char basis, double x, double y);

// Brings every variable-speed envelope of the set to speed n: SelectSpeedBand for envelopes
// with speed bands, PrepareSpeed for envelopes with speed interpolation.
void PrepareEnvelopeSpeeds(TcrateObj& set, std::int32_t n);

// The compressor's envelope check at speed n: superheat (K), suction gas temperature (degC),
// discharge pressure (bar), condensing temperature y and evaporating temperature x of the
// envelope basis. Prepares the speed-dependent envelopes for n first. Returns
//   -6 superheat below 2.995 K;
//   inside at least one envelope within its limit: -24 when all such envelopes are of kind 17,
//   else 0 or 1 (1 when none is of a normal kind 1, 3, 6, 10-13, 15), + 2 when all are of kind
//   3 or 4, + 4 when all are of kind 10;
//   otherwise -16 when a suction limit was exceeded, else by the largest inside-test code:
//   1 -> -3, 2 -> -4, 3 -> -5, 4 -> -1, 5 -> -22, 6 -> -23, other -> -7; and then 8 when the
//   point lies in the set's extended envelope (second special-limit envelope).
// Envelopes with fewer than two left-line points, or whose type is unknown, are ignored.
ModelStatus CheckEnvelope(TcrateObj& set, std::int32_t n, double superheat, double suctionGasTemp,
                          double dischargePressure, double y, double x);

// Widens the bounds by the extent of envelopes 1..6 of the set; `any` tells whether a value was
// set before (the first contributing envelope starts the values when it is false). Returns
// whether the values are set now: `any`, or an envelope of the set contributed.
bool AccumulateEnvelopeBounds(const TcrateObj& set, bool any, double& yMin, double& yMax,
                              double& xMax, double& xMin);

// A compressor's envelope bounds: those of set C when it exists and the load (%) is below
// 66.6, else of set B when it exists and the load is below 100, else of set A. False, with the
// values untouched, when no envelope contributes (also when set A is missing).
bool CompressorEnvelopeBounds(const TcrateObj* setA, const TcrateObj* setB, const TcrateObj* setC,
                              double loadPercent, double& yMin, double& yMax, double& xMax,
                              double& xMin);

}  // namespace kelvra
