#pragma once

// A set of family numbers 0..255: the families ticked in one of the main window's family lists
// (compressors and heat-pump compressors, condensing units, controls, heat pumps).

#include <bitset>
#include <cstddef>
#include <vector>

namespace kelvra {

class FamilySelection {
  public:
    static constexpr int kMaxCode = 255;

    // Codes outside 0..255 are never members; adding or removing one changes nothing.
    bool Contains(int code) const { return InRange(code) && bits_.test(code); }
    void Add(int code) {
        if (InRange(code)) bits_.set(code);
    }
    void Remove(int code) {
        if (InRange(code)) bits_.reset(code);
    }
    void Clear() { bits_.reset(); }
    bool Empty() const { return bits_.none(); }
    std::size_t Count() const { return bits_.count(); }

    // The members in ascending order.
    std::vector<int> Codes() const {
        std::vector<int> codes;
        for (int code = 0; code <= kMaxCode; ++code)
            if (bits_.test(code)) codes.push_back(code);
        return codes;
    }

    bool operator==(const FamilySelection&) const = default;

  private:
    static constexpr bool InRange(int code) { return code >= 0 && code <= kMaxCode; }
    std::bitset<kMaxCode + 1> bits_;
};

}  // namespace kelvra
