#pragma once

// The finishing steps the loader applies to a rating data set once its record is read, as plain
// functions of the record layer. The data store calls them in this order for every new set:
//
//   1. DistributeEnvelopePoints  -- stamp the set's points 'D'/'M' and hand them to envelopes;
//   2. RemoveIncompleteEnvelopes -- resolve envelope types, drop unusable envelopes and keep the
//                                   kind-5 and kind-7 ones as the special-limit envelopes;
//   3. AttachVariableSpeedRecord -- for each speed-data record of the set;
//   4. FinishSetForCompressor    -- for set A of each compressor that uses it.
//
// The rating-set fixtures of the tests run the same steps, so models are tested on exactly the
// sets the loader builds.

#include <cstdint>
#include <functional>
#include <span>

#include "envelope.hpp"
#include "product_records.hpp"
#include "rating_data.hpp"
#include "record_bytes.hpp"

namespace kelvra {

// Answers the envelope type of an id (the data store's FindEnvelopeType: the last type with
// the id); nullptr when there is none.
using EnvelopeTypeLookup = std::function<const TenvObj*(std::int32_t id)>;

// The envelope position a point belongs to: for a point with a speed (variable-speed marker)
// (n div 2) * 2 + 1, else n + 1, where n is its envelope number.
int EnvelopePositionOfPoint(const TenvPoint& point);

// Every point of `points` whose set index is the set's index is stamped 'D' (option bit 2 of
// the set) or 'M' and added to the envelope of its position; points whose envelope does not
// exist are dropped. The points must stay where they are for as long as the set lives.
// Returns the number of points added.
int DistributeEnvelopePoints(TcrateObj& set, std::span<TenvPoint> points);

// Checks envelope positions 1..6 in order and resolves each envelope's type:
// - an ordinary envelope whose id names no envelope type is freed and its id cleared;
// - an ordinary envelope with an empty left or right line leaves its position and its id is
//   cleared; it becomes special-limit envelope 1 when its left line has points and its type is
//   of kind 5, special-limit envelope 2 for kind 7, and is freed otherwise;
// - a variable-speed envelope with an empty left or right line is freed and its id cleared.
void RemoveIncompleteEnvelopes(TcrateObj& set, const EnvelopeTypeLookup& types);

// The set index of a record of the speed-data file (RecordError when short).
std::uint16_t VariableSpeedRecordIndex(RecordBytes record);

// Attaches a record of the speed-data file to the set it refers to. Kind 64 is inverter data:
// it becomes the set's inverter polynomials and every envelope of the set changes from speed
// interpolation to speed bands. Any other kind becomes the set's speed polynomials. A later
// record for the same set replaces the earlier one.
void AttachVariableSpeedRecord(TcrateObj& set, RecordBytes record);

// What the loader finishes on set A of a compressor with this refrigerant and family code:
// - technology code 10 (transcritical CO2): every envelope of the set, the special-limit ones
//   too, gets the pressure axis;
// - a volumetric-efficiency scale below 0.1 becomes 1.2 for refrigerant 5 in families 8, 9,
//   12 and 13, else 1.0;
// - family 67: motor power limit 0 and maximum discharge temperature 1120.
void FinishSetForCompressor(TcrateObj& setA, std::int32_t refrigerantCode, std::int32_t familyCode);

}  // namespace kelvra
