// Loader of the two refrigerant-property libraries. They are loaded at run time from the
// installation folder, first the general library, then the CO2 library, and every entry point
// is looked up by name into one process-wide table. A library that cannot be loaded leaves its
// entry points unset; every request that needs one of them then fails.
#pragma once

#include <string>

#include "kelvra_property_api.h"

namespace kelvra {

struct PropertyEntryPoints {
    // general library
    ILK_Set_Fluids_fn ILK_Set_Fluids = nullptr;
    ILK_crit_fn ILK_pc = nullptr;
    ILK_crit_fn ILK_tc = nullptr;
    ILK_sat_fn ILK_p_D = nullptr;
    ILK_sat_fn ILK_p_B = nullptr;
    ILK_sat_fn ILK_t_D = nullptr;
    ILK_sat_fn ILK_t_B = nullptr;
    ILK_sat_fn ILK_h_L = nullptr;
    ILK_state_fn ILK_h_V = nullptr;
    ILK_state_fn ILK_s_V = nullptr;
    ILK_state_fn ILK_V_V = nullptr;
    // CO2 library
    KRITCO2_fn KRITCO2 = nullptr;
    PTVCO2_fn PTVCO2 = nullptr;
    TPVCO2_fn TPVCO2 = nullptr;
    VPTCO2_fn VPTCO2 = nullptr;
    VPTCO2_fn VLPTCO2 = nullptr;
    HTVCO2_fn HTVCO2 = nullptr;
    HTVCO2_fn STVCO2 = nullptr;
};

enum class PropertyLibraryKind { General, CO2 };

struct LoadedPropertyLibraries {
    bool general = false;
    bool co2 = false;
};

// The process-wide entry points; unset ones are null.
const PropertyEntryPoints& PropertyEntries();

// File name of a property library on this platform ("libaserep32.so", "ASEREP32.DLL", ...).
std::string PropertyLibraryFileName(PropertyLibraryKind kind);

// Folder of the running executable (the installation folder of a build tree); empty when it
// cannot be determined.
std::string InstallationFolder();

// Loads both libraries from `folder` (releasing any loaded before) and returns what was loaded.
LoadedPropertyLibraries LoadPropertyLibraries(const std::string& folder);
LoadedPropertyLibraries LoadPropertyLibraries();  // from InstallationFolder()

// Releases both libraries and unsets every entry point.
void UnloadPropertyLibraries();

LoadedPropertyLibraries PropertyLibrariesLoaded();

}  // namespace kelvra
