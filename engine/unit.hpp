#pragma once

// Condensing units and network units, and the groups of network units.
//
// A condensing unit is a compressor with an air-cooled condenser and fan. This holds what the
// data store gives a unit from its product record and the linking to its compressor; the unit's
// own performance (the condenser balance around the compressor) is not evaluated yet: Evaluate
// is the base model's.

#include <array>
#include <cstdint>
#include <string>

#include "model.hpp"

namespace kelvra {

class TComp;

// A condensing unit (class letter 'U').
class Tunit : public TCModel {
  public:
    Tunit();
    ~Tunit() override = default;

    TComp* compressor = nullptr;  // the compressor the unit is built on; not owned
    std::string compressorName;   // copied from the compressor
    std::int32_t compressorId = 0;

    double condenserRating = 0;        // kW/K: heat rejected per kelvin above ambient
    double fanPower = 0;               // W
    double maxCondensingPressure = 0;  // bar absolute; 0 = no limit

    std::uint16_t applicationMask = 0;  // the compressor's (network units: 3 when it is 0)
    std::uint16_t drawingNumber = 0;    // also the unit's M-key and R-key
    int ratingClass = 0;                // rating-standard class of the unit's data

    // A network unit whose name suffix is "NLO" or "NO": an outdoor master of its network.
    bool master = false;

  protected:
    Tunit(const Tunit&) = default;
    Tunit& operator=(const Tunit&) = default;
};

// One group of network units: the units whose names share a base name, for one refrigerant and
// one supply.
class TnetObj : public TKobject {
  public:
    // Master slots: "NLO" (a network with one slave) and "NO" (two or more slaves).
    static constexpr int kMasterOneSlave = 0;
    static constexpr int kMasterSeveralSlaves = 1;
    // Slave slots: "NL" and "N".
    static constexpr int kSlaveOfOne = 0;
    static constexpr int kSlaveOfSeveral = 1;

    std::string name;                  // base name of the units' names
    std::int32_t refrigerantCode = 0;  // of the units
    std::int32_t supplyCode = 0;       // of the units' compressors
    int dFlag = 0;                     // 1 when the base name contains "D"
    int tFlag = 0;                     // 1 when the base name contains "T"
    std::array<Tunit*, 2> masters{};   // not owned
    std::array<Tunit*, 2> slaves{};    // not owned
};

}  // namespace kelvra
