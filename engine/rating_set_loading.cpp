#include "rating_set_loading.hpp"

#include <memory>

namespace kelvra {

int EnvelopePositionOfPoint(const TenvPoint& point) {
    const int n = point.envelopeNumber;
    return point.speed != 0 ? (n / 2) * 2 + 1 : n + 1;
}

int DistributeEnvelopePoints(TcrateObj& set, std::span<TenvPoint> points) {
    const std::uint16_t index = set.Index();
    const char basis = set.EnvelopePointsDewBased() ? 'D' : 'M';
    int added = 0;
    for (TenvPoint& point : points) {
        if (point.setIndex != index) continue;
        point.basis = basis;
        Tenvelope* envelope = set.Envelope(EnvelopePositionOfPoint(point));
        if (envelope == nullptr) continue;  // no such envelope: the point is dropped
        envelope->AddPoint(&point);
        ++added;
    }
    return added;
}

void RemoveIncompleteEnvelopes(TcrateObj& set, const EnvelopeTypeLookup& types) {
    for (int position = 1; position <= TcrateObj::kEnvelopeSlots; ++position) {
        Tenvelope* envelope = set.Envelope(position);
        if (envelope == nullptr) continue;
        const TenvObj* type = types ? types(envelope->typeId) : nullptr;
        envelope->type = type;

        if (set.HasVariableSpeedEnvelopes()) {
            if (!envelope->HasBothLines()) set.RemoveEnvelope(position);
            continue;
        }
        if (type == nullptr) {
            set.RemoveEnvelope(position);
            continue;
        }
        if (envelope->HasBothLines()) continue;

        std::unique_ptr<Tenvelope> taken = set.TakeEnvelope(position);
        set.SetEnvelopeId(position, 0);
        if (!taken->LeftLine().empty()) {
            if (type->kind == TenvObj::kMaxPowerKind) {
                set.SetSpecialLimitEnvelope(1, std::move(taken));
            } else if (type->kind == TenvObj::kExtendedLimitKind) {
                set.SetSpecialLimitEnvelope(2, std::move(taken));
            }
        }
    }
}

std::uint16_t VariableSpeedRecordIndex(RecordBytes record) {
    return RecordView(record, TrpmObject::kRecordSize, "speed data").U16(0);
}

void AttachVariableSpeedRecord(TcrateObj& set, RecordBytes record) {
    const RecordView row(record, TrpmObject::kRecordSize, "speed data");
    if (row.U16(2) == TrpmObject::kInverterKind) {
        set.SetInverter(std::make_unique<TinverterObject>(record));
        for (int position = 1; position <= TcrateObj::kEnvelopeSlots; ++position) {
            if (Tenvelope* envelope = set.Envelope(position)) {
                envelope->speedInterpolation = false;
                envelope->speedBands = true;
            }
        }
    } else {
        set.SetSpeedPolynomials(std::make_unique<TrpmObject>(record));
    }
}

void FinishSetForCompressor(TcrateObj& setA, std::int32_t refrigerantCode,
                            std::int32_t familyCode) {
    if (setA.TechnologyCode() == TcrateObj::kTechCO2Transcritical) {
        for (int position = 1; position <= TcrateObj::kEnvelopeSlots; ++position) {
            if (Tenvelope* envelope = setA.Envelope(position)) envelope->pressureAxis = true;
        }
        for (int which = 1; which <= 2; ++which) {
            if (Tenvelope* envelope = setA.SpecialLimitEnvelope(which)) {
                envelope->pressureAxis = true;
            }
        }
    }
    // A scale that is not a number counts as unset as well.
    if (!(setA.VolumetricEfficiencyScale() >= 0.1f)) {
        const bool scaled = refrigerantCode == 5 && (familyCode == 8 || familyCode == 9 ||
                                                     familyCode == 12 || familyCode == 13);
        setA.SetVolumetricEfficiencyScale(scaled ? 1.2f : 1.0f);
    }
    if (familyCode == 67) {
        setA.SetMotorPowerLimit(0.0);
        setA.SetMaxDischargeTemp(1120.0);
    }
}

}  // namespace kelvra
