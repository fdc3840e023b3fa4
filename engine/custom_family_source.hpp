#pragma once

// The user's own families as they are stored between runs. The data store reads them while it
// loads the product database and resolves the member ids to its models; it hands them back in the
// same form to be stored when the program closes.

#include <cstdint>
#include <string>
#include <vector>

namespace kelvra {

struct CustomFamilyRecord {
    std::string name;  // at most 35 characters, never empty
    char kind = 'C';   // 'C' or 'H' compressors, 'U' condensing units, 'P' heat pumps
    int category = 9;  // category number as for product families
    std::vector<std::int32_t> memberIds;  // model ids, in the order the user added them

    bool operator==(const CustomFamilyRecord&) const = default;
};

// Where the data store gets the custom families from (the settings file).
class CustomFamilySource {
  public:
    virtual ~CustomFamilySource() = default;
    // The stored families in stored order; families without a name are left out.
    virtual std::vector<CustomFamilyRecord> CustomFamilies() const = 0;
};

}  // namespace kelvra
