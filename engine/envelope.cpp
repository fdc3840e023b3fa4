#include "envelope.hpp"

#include <algorithm>
#include <climits>
#include <cmath>

#include "product_records.hpp"
#include "rating_data.hpp"

namespace kelvra {

namespace {

constexpr double kTol = kEnvelopeTolerance;

// y of the edge from a to b at x; for a vertical edge the lower (bottom) or upper (top) end.
double EdgeYAt(const TenvPoint& a, const TenvPoint& b, double x, bool top) {
    const double ax = a.x, ay = a.y, bx = b.x, by = b.y;
    if (ax == bx) return top ? std::max(ay, by) : std::min(ay, by);
    return ay + (by - ay) * (x - ax) / (bx - ax);
}

// x of a side line at y: at the first point from the second on whose y is at or above y, or
// between it and the point before; beyond the line's top its last point's x. A level segment
// gives the outer end of the segment on that side.
double LineXAt(const EnvelopeLine& line, double y, bool minimumSide) {
    for (std::size_t k = 1; k < line.size(); ++k) {
        const TenvPoint& b = *line[k];
        const double by = b.y;
        if (by < y) continue;
        if (by == y) return b.x;
        const TenvPoint& a = *line[k - 1];
        const double ay = a.y;
        if (ay == by) {
            return minimumSide ? std::min<double>(a.x, b.x) : std::max<double>(a.x, b.x);
        }
        return a.x + (static_cast<double>(b.x) - a.x) * (y - ay) / (by - ay);
    }
    return line.back()->x;
}

bool IsNormalKind(int kind) {
    switch (kind) {
        case 1:
        case 3:
        case 6:
        case 10:
        case 11:
        case 12:
        case 13:
        case 15:
            return true;
        default:
            return false;
    }
}

ModelStatus StatusOfCode(int code) {
    switch (code) {
        case envelope_code::Below:
            return model_status::CondTooLow;
        case envelope_code::Above:
            return model_status::CondTooHigh;
        case envelope_code::LeftOf:
            return model_status::EvapTooLow;
        case envelope_code::RightOf:
            return model_status::EvapTooHigh;
        case envelope_code::BelowSpeeds:
            return model_status::SpeedBelowEnvelopes;
        case envelope_code::AboveSpeeds:
            return model_status::SpeedAboveEnvelopes;
        default:
            return model_status::OutsideEnvelope;
    }
}

}  // namespace

// --- points ---

TenvPoint::TenvPoint(RecordBytes record) {
    const RecordView row(record, kRecordSize, "envelope point");
    setIndex = row.U16(0);
    envelopeNumber = row.Byte(2);
    minimumSide = row.I16(3) == 0;
    y = row.Single(5);
    x = row.Single(9);
    speed = row.U16(13);
    basis = 'N';
}

bool TenvPoint::HasUsableCoordinates() const {
    // NaN compares false and is refused with the unused mark.
    return x > kUnusedCoordinate && y > kUnusedCoordinate;
}

// --- plain envelope ---

Tenvelope::Tenvelope(std::int32_t typeId_, std::int32_t optionByte_)
    : typeId(typeId_), optionByte(optionByte_) {}

void Tenvelope::AddPoint(const TenvPoint* point) {
    if (point == nullptr) return;
    (point->minimumSide ? left_ : right_).push_back(point);
}

void Tenvelope::ClearLines() {
    left_.clear();
    right_.clear();
}

void Tenvelope::CopyLinesFrom(const Tenvelope& other) {
    left_ = other.left_;
    right_ = other.right_;
    speed = other.speed;
}

bool Tenvelope::Bounds(double& yMin, double& yMax, char /*basis*/, bool accumulate, double& xMax,
                       double& xMin) const {
    if (left_.empty() || right_.empty()) return false;
    if (!accumulate) {
        yMin = yMax = right_.front()->y;
        xMin = left_.front()->x;
        xMax = right_.front()->x;
    }
    for (const TenvPoint* p : left_) xMin = std::min<double>(xMin, p->x);
    for (const TenvPoint* p : right_) xMax = std::max<double>(xMax, p->x);
    yMin = std::min(
        {yMin, static_cast<double>(left_.front()->y), static_cast<double>(right_.front()->y)});
    yMax = std::max(
        {yMax, static_cast<double>(left_.back()->y), static_cast<double>(right_.back()->y)});
    return true;
}

int Tenvelope::InsideTest(char /*basis*/, double x, double y) const {
    if (left_.empty() || right_.empty()) return envelope_code::NoLines;
    // Every comparison with a NaN is false, which would let such a point pass as inside.
    if (std::isnan(x) || std::isnan(y)) return envelope_code::NoLines;

    const TenvPoint& l0 = *left_.front();
    const TenvPoint& r0 = *right_.front();
    if (y + kTol < l0.y && y + kTol < r0.y) return envelope_code::Below;
    if (y + kTol < EdgeYAt(l0, r0, x, false)) return envelope_code::Below;

    const TenvPoint& ln = *left_.back();
    const TenvPoint& rn = *right_.back();
    if (y - kTol > ln.y && y - kTol > rn.y) return envelope_code::Above;
    if (y - kTol > EdgeYAt(ln, rn, x, true)) return envelope_code::Above;

    if (x + kTol < LineXAt(left_, y, true)) return envelope_code::LeftOf;
    if (x - kTol > LineXAt(right_, y, false)) return envelope_code::RightOf;
    return envelope_code::Inside;
}

// --- variable-speed envelope ---

TVSenvelope::TVSenvelope(std::int32_t typeId_, std::int32_t nominalSpeed, std::int32_t optionByte_)
    : Tenvelope(typeId_, optionByte_), nominalSpeed_(nominalSpeed) {
    speedInterpolation = true;
    current_.speed = -1;  // nothing prepared yet
}

void TVSenvelope::AddPoint(const TenvPoint* point) {
    if (point == nullptr) return;
    std::int32_t levelSpeed = 0;
    if (point->envelopeNumber % 2 == 1) {
        levelSpeed = point->speed;
        auto it = std::find_if(levels_.begin(), levels_.end(),
                               [&](const auto& level) { return level->speed >= levelSpeed; });
        if (it == levels_.end() || (*it)->speed != levelSpeed) {
            auto level = std::make_unique<Tenvelope>(typeId, optionByte);
            level->speed = levelSpeed;
            it = levels_.insert(it, std::move(level));
        }
        (*it)->AddPoint(point);
    } else {
        Tenvelope::AddPoint(point);
        speed = point->speed;
        levelSpeed = speed;
    }
    if (!anySpeed_) {
        lowestSpeed_ = highestSpeed_ = levelSpeed;
        anySpeed_ = true;
    } else {
        lowestSpeed_ = std::min(lowestSpeed_, levelSpeed);
        highestSpeed_ = std::max(highestSpeed_, levelSpeed);
    }
    current_.speed = -1;  // the levels changed: rebuild on the next request
}

std::int32_t TVSenvelope::LowestSpeed() const {
    return anySpeed_ ? lowestSpeed_ : 0;
}

std::int32_t TVSenvelope::HighestSpeed() const {
    return anySpeed_ ? highestSpeed_ : 0;
}

bool TVSenvelope::InBaseRange(std::int32_t n) const {
    return n >= speed && n <= nominalSpeed_;
}

const TenvPoint* TVSenvelope::SparePoint(double x, double y, bool minimumSide) {
    if (poolUsed_ == pool_.size()) pool_.emplace_back();
    TenvPoint& p = pool_[poolUsed_++];
    p = TenvPoint{};
    p.x = static_cast<float>(x);
    p.y = static_cast<float>(y);
    p.minimumSide = minimumSide;
    return &p;
}

void TVSenvelope::InterpolateLine(const EnvelopeLine& lower, const EnvelopeLine& upper, double phi,
                                  bool minimumSide) {
    if (lower.empty() || upper.empty()) return;
    std::size_t i = 0, j = 0;
    // Every pass advances i or j, so the walk ends after at most size(lower) + size(upper)
    // points.
    const std::size_t limit = lower.size() + upper.size();
    for (std::size_t step = 0; step < limit; ++step) {
        const TenvPoint& lo = *lower[i];
        const TenvPoint& up = *upper[j];
        const TenvPoint* made =
            SparePoint(lo.x + (static_cast<double>(up.x) - lo.x) * phi,
                       lo.y + (static_cast<double>(up.y) - lo.y) * phi, minimumSide);
        current_.AddPoint(made);
        const bool loNext = i + 1 < lower.size();
        const bool upNext = j + 1 < upper.size();
        if (!loNext && !upNext) break;
        if (loNext && up.y >= lower[i + 1]->y) {
            ++i;
        } else if (upNext && lo.y >= upper[j + 1]->y) {
            ++j;
        } else if (loNext && upNext && lower[i + 1]->y == upper[j + 1]->y) {
            ++i;
            ++j;
        } else if (loNext && upNext && upper[j + 1]->y <= lower[i + 1]->y) {
            ++j;
        } else if (loNext) {
            ++i;
        } else {
            ++j;
        }
    }
}

void TVSenvelope::PrepareSpeed(std::int32_t n) {
    if (current_.speed == n) return;
    if (InBaseRange(n)) return;  // the base lines apply

    current_.ClearLines();
    poolUsed_ = 0;
    if (!levels_.empty()) {
        if (n <= LowestSpeed()) {
            current_.CopyLinesFrom(*levels_.front());
        } else if (n >= HighestSpeed()) {
            current_.CopyLinesFrom(*levels_.back());
        } else {
            const Tenvelope* lower = nullptr;
            const Tenvelope* upper = nullptr;
            double lowerSpeed = 0, upperSpeed = 0;
            for (const auto& level : levels_) {
                if (level->speed < n) {
                    lower = level.get();
                    lowerSpeed = level->speed;
                } else if (upper == nullptr) {
                    upper = level.get();
                    upperSpeed = level->speed;
                }
            }
            // The base envelope stands in for the level on its side when it lies between them.
            const bool baseAboveLower = lower == nullptr || speed > lowerSpeed;
            const bool baseBelowUpper = upper == nullptr || speed < upperSpeed;
            if (baseAboveLower && baseBelowUpper) {
                if (n < speed) {
                    upper = this;
                    upperSpeed = speed;
                } else {
                    lower = this;
                    lowerSpeed = nominalSpeed_;
                }
            }
            if (lower == nullptr || upper == nullptr) {
                current_.CopyLinesFrom(lower != nullptr ? *lower : *upper);
            } else {
                const double span = upperSpeed - lowerSpeed;
                const double phi = span > 0 ? (n - lowerSpeed) / span : 0.0;
                InterpolateLine(lower->LeftLine(), upper->LeftLine(), phi, true);
                InterpolateLine(lower->RightLine(), upper->RightLine(), phi, false);
            }
        }
    }
    current_.speed = n;
}

void TVSenvelope::SelectSpeedBand(std::int32_t n) {
    if (current_.speed == n) return;
    const Tenvelope* chosen = nullptr;
    if (n > nominalSpeed_ && HighestSpeed() >= speed) {
        for (const auto& level : levels_) {
            if (level->speed > nominalSpeed_ && level->speed >= n) {
                chosen = level.get();
                break;
            }
        }
    } else if (n < speed) {
        // Below the base range the band reaching down to n: the nearest level at or below n.
        for (const auto& level : levels_) {
            if (level->speed <= n && level->speed < speed) chosen = level.get();
        }
    }
    current_.ClearLines();
    poolUsed_ = 0;
    if (chosen != nullptr) current_.CopyLinesFrom(*chosen);
    current_.speed = n;
}

int TVSenvelope::SpeedInsideTest(char basis, std::int32_t n, double x, double y) const {
    // The base envelope holds up to the nominal speed even when no level lies above it, so its
    // range is tested before the speed limits of the levels.
    if (HasBothLines() && InBaseRange(n)) return Tenvelope::InsideTest(basis, x, y);
    if (n < LowestSpeed()) return envelope_code::BelowSpeeds;
    if (n > HighestSpeed()) return envelope_code::AboveSpeeds;
    // An envelope prepared for another speed says nothing about this one.
    if (current_.speed != n) return envelope_code::NoLines;
    return current_.InsideTest(basis, x, y);
}

// --- extended envelope ---

bool InsideExtendedEnvelope(const EnvelopeLine& line, char /*basis*/, double x, double y) {
    if (line.size() <= 2) return false;
    std::size_t iLow = 0, iHigh = 0;
    double xMin = line[0]->x, xMax = line[0]->x;
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (line[i]->y < line[iLow]->y) iLow = i;
        if (line[i]->y > line[iHigh]->y) iHigh = i;
        xMin = std::min<double>(xMin, line[i]->x);
        xMax = std::max<double>(xMax, line[i]->x);
    }
    const TenvPoint& lo = *line[iLow];
    const TenvPoint& hi = *line[iHigh];
    if (y < lo.y || y > hi.y || x < xMin || x > xMax) return false;

    const auto chordX = [&](double at) {
        if (hi.y == lo.y) return static_cast<double>(lo.x);
        return lo.x + (static_cast<double>(hi.x) - lo.x) * (at - lo.y) / (hi.y - lo.y);
    };
    const double xc = chordX(y);
    if (x == xc) return true;
    const int side = x > xc ? 1 : -1;

    const TenvPoint* below = nullptr;
    const TenvPoint* above = nullptr;
    const TenvPoint* level = nullptr;
    const auto farther = [&](const TenvPoint* a, const TenvPoint* b) {
        return std::abs(a->x - xc) > std::abs(b->x - xc);
    };
    for (std::size_t i = 0; i < line.size(); ++i) {
        const TenvPoint* p = line[i];
        if (i != iLow && i != iHigh) {
            const double d = p->x - chordX(p->y);
            const int pointSide = d > 0 ? 1 : (d < 0 ? -1 : 0);
            if (pointSide != 0 && pointSide != side) continue;
        }
        const double py = p->y;
        if (py == y) {
            if (level == nullptr || farther(p, level)) level = p;
        } else if (py < y) {
            if (below == nullptr || py > below->y || (py == below->y && farther(p, below))) {
                below = p;
            }
        } else {
            if (above == nullptr || py < above->y || (py == above->y && farther(p, above))) {
                above = p;
            }
        }
    }
    if (level != nullptr) {
        return x >= std::min<double>(xc, level->x) && x <= std::max<double>(xc, level->x);
    }
    if (below == nullptr || above == nullptr) return false;
    const double xe = below->y == above->y
                          ? static_cast<double>(below->x)
                          : below->x + (static_cast<double>(above->x) - below->x) * (y - below->y) /
                                           (static_cast<double>(above->y) - below->y);
    return x > std::min(xc, xe) && x < std::max(xc, xe);
}

// --- the compressor's envelope check ---

void PrepareEnvelopeSpeeds(TcrateObj& set, std::int32_t n) {
    for (int position = 1; position <= TcrateObj::kEnvelopeSlots; ++position) {
        auto* envelope = dynamic_cast<TVSenvelope*>(set.Envelope(position));
        if (envelope == nullptr) continue;
        if (envelope->speedBands) {
            envelope->SelectSpeedBand(n);
        } else if (envelope->speedInterpolation) {
            envelope->PrepareSpeed(n);
        }
    }
}

ModelStatus CheckEnvelope(TcrateObj& set, std::int32_t n, double superheat, double suctionGasTemp,
                          double dischargePressure, double y, double x) {
    // Written so that a superheat or suction gas temperature that is not a number fails too.
    if (!(superheat >= 2.995)) return model_status::SuperheatTooLow;
    PrepareEnvelopeSpeeds(set, n);

    int containing = 0;
    bool allRestricted = true, anyNormal = false, allKinds3or4 = true, allPreliminary = true;
    bool limitExceeded = false;
    int largestCode = INT_MIN;
    for (int position = 1; position <= TcrateObj::kEnvelopeSlots; ++position) {
        const Tenvelope* envelope = set.Envelope(position);
        if (envelope == nullptr || envelope->LeftLine().size() < 2) continue;
        const TenvObj* type = envelope->type;
        if (type == nullptr) continue;  // without its type nothing can be said about the point

        const double yy = envelope->pressureAxis ? dischargePressure : y;
        const char basis = envelope->pressureAxis ? 'N' : envelope->LeftLine().front()->basis;
        const auto* variable = dynamic_cast<const TVSenvelope*>(envelope);
        const int code =
            variable != nullptr && (envelope->speedInterpolation || envelope->speedBands)
                ? variable->SpeedInsideTest(basis, n, x, yy)
                : envelope->InsideTest(basis, x, yy);
        if (code != envelope_code::Inside) {
            largestCode = std::max(largestCode, code);
            continue;
        }
        const float limit = type->Limit();
        double counted = limit;
        if (limit == 10.0f) counted = 11.2;
        if (limit == 5.0f) counted = 5.6;
        if ((type->ReturnGasMode() && !(suctionGasTemp <= limit)) ||
            (!type->ReturnGasMode() && !(superheat <= counted))) {
            limitExceeded = true;
            continue;
        }
        ++containing;
        const int kind = type->kind;
        allRestricted = allRestricted && kind == TenvObj::kRestrictedKind;
        anyNormal = anyNormal || IsNormalKind(kind);
        allKinds3or4 = allKinds3or4 && (kind == 3 || kind == 4);
        allPreliminary = allPreliminary && kind == TenvObj::kPreliminaryKind;
    }

    if (containing > 0) {
        if (allRestricted) return model_status::OnlySpecialEnvelope;
        ModelStatus status = anyNormal ? 0 : 1;
        if (allKinds3or4) status += 2;
        if (allPreliminary) status += 4;
        return status;
    }

    ModelStatus status = limitExceeded ? model_status::SuctionGasTooHot : StatusOfCode(largestCode);
    if (const Tenvelope* extended = set.SpecialLimitEnvelope(2)) {
        const double yy = extended->pressureAxis ? dischargePressure : y;
        if (InsideExtendedEnvelope(extended->LeftLine(), 'N', x, yy)) {
            status = model_status::ExtendedEnvelope;
        }
    }
    return status;
}

// --- bounds ---

bool AccumulateEnvelopeBounds(const TcrateObj& set, bool any, double& yMin, double& yMax,
                              double& xMax, double& xMin) {
    for (int position = 1; position <= TcrateObj::kEnvelopeSlots; ++position) {
        const Tenvelope* envelope = set.Envelope(position);
        if (envelope != nullptr && envelope->Bounds(yMin, yMax, 'N', any, xMax, xMin)) any = true;
    }
    return any;
}

bool CompressorEnvelopeBounds(const TcrateObj* setA, const TcrateObj* setB, const TcrateObj* setC,
                              double loadPercent, double& yMin, double& yMax, double& xMax,
                              double& xMin) {
    const TcrateObj* set = setA;
    if (setC != nullptr && loadPercent < 66.6) {
        set = setC;
    } else if (setB != nullptr && loadPercent < 100) {
        set = setB;
    }
    if (set == nullptr) return false;
    return AccumulateEnvelopeBounds(*set, false, yMin, yMax, xMax, xMin);
}

}  // namespace kelvra
