// The data store's part of the user's heat pumps: reading them from a heat-pump file onto the
// compressors of the database, and the bytes that store them again.

#include <fmt/format.h>

#include <algorithm>
#include <fstream>
#include <system_error>

#include "data_store.hpp"
#include "heat_pump.hpp"
#include "heat_pump_file.hpp"

namespace kelvra {

namespace {

// Reads a heat-pump file of at most the largest size a valid one can have; anything larger is
// refused unread.
struct FileBytes {
    bool found = false;
    std::string error;
    std::vector<std::uint8_t> bytes;
};

FileBytes ReadHeatPumpFileBytes(const std::filesystem::path& path) {
    FileBytes out;
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) return out;
    out.found = true;
    if (!std::filesystem::is_regular_file(status)) {
        out.error = fmt::format("{} is not a file", path.string());
        return out;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) {
        out.error = fmt::format("Unable to read {}: {}", path.string(), ec.message());
        return out;
    }
    constexpr std::uintmax_t kLargest = (kMaxHeatPumpRecords + 1) * HeatPumpRow::kSize;
    if (size > kLargest) {
        out.error = fmt::format("{} is not a heat-pump file: it is too large ({} bytes)",
                                path.string(), size);
        return out;
    }
    std::ifstream in(path, std::ios::binary);
    out.bytes.resize(static_cast<std::size_t>(size));
    if (in && size > 0)
        in.read(reinterpret_cast<char*>(out.bytes.data()), static_cast<std::streamsize>(size));
    if (!in) {
        out.bytes.clear();
        out.error = fmt::format("Unable to read {}", path.string());
    }
    return out;
}

}  // namespace

bool TdataStore::RemoveHeatPump(const TCModel& heatPump) {
    const auto it = std::find_if(heatPumps_.begin(), heatPumps_.end(),
                                 [&](const auto& p) { return p.get() == &heatPump; });
    if (it == heatPumps_.end()) return false;
    for (const auto& family : customFamilies_) family->RemoveMember(it->get());
    heatPumps_.erase(it);
    return true;
}

UserHeatPumpLoad TdataStore::LoadUserHeatPumps(const std::filesystem::path& path) {
    UserHeatPumpLoad result;
    const FileBytes file = ReadHeatPumpFileBytes(path);
    result.found = file.found;
    if (!file.found) {
        ClearHeatPumps();
        return result;
    }
    if (!file.error.empty()) {
        result.error = file.error;
        return result;
    }
    const HeatPumpFileRows decoded = DecodeHeatPumpFile(file.bytes);
    if (!decoded.ok) {
        result.error = fmt::format("{}: {}", path.string(), decoded.error);
        return result;
    }

    // Everything is built before the old heat pumps go, so that nothing is half replaced.
    std::vector<std::unique_ptr<THeatPump>> pumps;
    for (const HeatPumpRow& row : decoded.rows) {
        TComp* compressor = nullptr;
        for (const auto& comp : compressors_) {  // the last match wins
            if (comp->key == row.compressorId &&
                (comp->modelLetter == 'C' || comp->modelLetter == row.letter))
                compressor = comp.get();
        }
        if (compressor == nullptr) {
            ++result.dropped;
            continue;
        }
        auto pump = std::make_unique<THeatPump>();
        row.ApplyTo(*pump);
        pump->compressor = compressor;
        pump->refrigerantNumber = compressor->refrigerantNumber;
        pump->refrigerant = compressor->refrigerant;
        pump->supply = compressor->supply;
        pump->family = FindFamily(row.familyCode, TFamily::kHeatPump);
        pump->showsHeatingCapacity = true;
        pumps.push_back(std::move(pump));
    }
    ClearHeatPumps();
    for (auto& pump : pumps) heatPumps_.push_back(std::move(pump));
    result.loaded = static_cast<int>(heatPumps_.size());
    return result;
}

std::vector<std::uint8_t> TdataStore::UserHeatPumpFileBytes() const {
    std::vector<HeatPumpRow> rows;
    rows.reserve(heatPumps_.size());
    for (const auto& model : heatPumps_) {
        const auto* pump = dynamic_cast<const THeatPump*>(model.get());
        if (pump == nullptr) continue;
        rows.push_back(HeatPumpRow::Of(*pump, static_cast<std::int16_t>(rows.size())));
    }
    return EncodeHeatPumpFile(date_, rows);
}

std::string TdataStore::SaveUserHeatPumps(const std::filesystem::path& path,
                                          const HeatPumpFileWriter& write) const {
    if (!write) return fmt::format("Unable to write to {}", path.string());
    if (heatPumps_.size() > kMaxHeatPumpRecords) {
        return fmt::format("Unable to write to {}: a heat-pump file holds at most {} heat pumps",
                           path.string(), kMaxHeatPumpRecords);
    }
    const std::vector<std::uint8_t> bytes = UserHeatPumpFileBytes();
    return write(path, bytes);
}

}  // namespace kelvra
