#include "valve.hpp"

#include <algorithm>

namespace kelvra {

std::int16_t TordaObj::GroupIdOf(RecordBytes record) {
    return RecordView(record, kRecordSize, "controls correction").I16(0);
}

void TordaObj::AddRecord(RecordBytes record) {
    const RecordView row(record, kRecordSize, "controls correction");
    TordaRow next;
    next.value = row.Single(5);
    for (int j = 0; j < TordaRow::kColumns; ++j) {
        next.factors[static_cast<std::size_t>(j)] =
            row.Double(13 + 8 * static_cast<std::size_t>(j));
        if (next.factors[static_cast<std::size_t>(j)] > 0)
            columnCount_ = std::max(columnCount_, j + 1);
    }
    if (rows_.empty()) {
        id = row.I16(0);
        value = row.U16(2);
        typeLetter = row.Char(4);
        rowOrigin = next.value;
        columnOrigin = row.Single(9);
    }
    rows_.push_back(next);
}

Tvalve::Tvalve() {
    classLetter = 'V';
}

}  // namespace kelvra
