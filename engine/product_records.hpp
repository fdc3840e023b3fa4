#pragma once

// Product records that the models and the selection read: families and electrical supplies.
// The data store builds them from the product database and owns every instance; models and
// lists hold plain pointers to them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model_object.hpp"

namespace kelvra {

// One product family.
class TFamily : public TKobject {
  public:
    static constexpr std::size_t kNameLength = 35;

    // Product kinds of a family.
    static constexpr char kCompressor = 'C';
    static constexpr char kHeatPumpCompressor = 'H';
    static constexpr char kCondensingUnit = 'U';
    static constexpr char kControls = 'V';
    static constexpr char kHeatPump = 'P';  // the built-in heat-pump families only
    static constexpr char kCustom = 'X';    // a user's family before its kind is known

    // Trims the text and keeps at most kNameLength characters.
    void SetName(std::string_view text);

    std::string name;       // trimmed; replaced from the language table
    std::int16_t code = 0;  // unique within a kind
    char subLetter = ' ';   // second letter of the family, part of its language key
    char kind = ' ';        // one of the kinds above
    float category = 0;     // category number; its caption depends on the kind
    int listSection = -1;   // section of the main window's family list; -1 when not listed
    int listItem = -1;      // index of the family within that section
    bool selected = false;  // ticked in the main window's family choice
};

// One electrical supply.
class TSupply : public TKobject {
  public:
    static constexpr std::size_t kNameLength = 25;

    // Trims the text and keeps at most kNameLength characters.
    void SetName(std::string_view text);

    // "50Hz" for a supply above 40 Hz; otherwise the supply's name (at most 25 characters).
    std::string FrequencyText() const;

    std::string name;       // e.g. "380/420V-3-50"
    std::string dataLabel;  // language text naming the data of the supply's frequency
    int id = 0;             // supply code
    int frequency = 0;      // Hz, 50 or 60
    bool flag = false;      // record flag
    float voltage = 0;      // nominal voltage, V, used for the current display
    float phases = 0;       // number of phases (the compressor rounds it)
};

}  // namespace kelvra
