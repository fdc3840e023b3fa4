#pragma once

// The selection list as a spreadsheet text file ("Output to spreadsheet"): a header block with
// the operating conditions, then one line per listed model in displayed order. Plain text, cells
// separated by tabs, lines ending with CR LF; the file is given the extension "XLS" so that a
// spreadsheet program opens it.

#include <filesystem>
#include <string>

#include "io_status.hpp"
#include "selection_list.hpp"

namespace kelvra {

// What the header block needs beyond the list.
struct ListSheetHeader {
    std::string title = "Kelvra 7";  // application title
    std::string versionLabel;       // the database version label
    std::string date;               // "d mmmm yyyy"
    bool vapourOutletGiven = false; // the vapour-outlet superheat is the user's
};

// A real number as spreadsheet files hold it: 23 characters, scientific notation with 15
// significant digits and a four-digit exponent; a blank in place of the sign of a positive
// value (15.3 -> " 1.53000000000000E+0001").
std::string DefaultRealText(double value);

// The whole file.
std::string SelectionListSheet(const SelectionList& list, const ListSheetHeader& header);

// Writes the file through a temporary file and a rename; on failure the file at `path` is as it
// was and the status says "Unable to write to " or "Error writing " and the path.
IoStatus WriteSelectionListSheet(const std::filesystem::path& path, const SelectionList& list,
                                 const ListSheetHeader& header);

}  // namespace kelvra
