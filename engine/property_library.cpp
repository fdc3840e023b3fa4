#include "property_library.hpp"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace kelvra {

namespace {

PropertyEntryPoints entries;
void* generalHandle = nullptr;
void* co2Handle = nullptr;

void* OpenLibrary(const std::string& folder, PropertyLibraryKind kind) {
    std::filesystem::path file = std::filesystem::path(folder.empty() ? std::string(".") : folder) /
                                 PropertyLibraryFileName(kind);
    // The path always holds a separator, so the loader never searches the system folders.
    return dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
}

template <class Fn>
void Find(void* handle, const char* name, Fn& target) {
    target = reinterpret_cast<Fn>(dlsym(handle, name));
}

void FindGeneralEntries(void* h) {
    Find(h, "ILK_Set_Fluids", entries.ILK_Set_Fluids);
    Find(h, "ILK_pc", entries.ILK_pc);
    Find(h, "ILK_tc", entries.ILK_tc);
    Find(h, "ILK_p_D", entries.ILK_p_D);
    Find(h, "ILK_p_B", entries.ILK_p_B);
    Find(h, "ILK_t_D", entries.ILK_t_D);
    Find(h, "ILK_t_B", entries.ILK_t_B);
    Find(h, "ILK_h_L", entries.ILK_h_L);
    Find(h, "ILK_h_V", entries.ILK_h_V);
    Find(h, "ILK_s_V", entries.ILK_s_V);
    Find(h, "ILK_V_V", entries.ILK_V_V);
}

void FindCO2Entries(void* h) {
    Find(h, "KRITCO2", entries.KRITCO2);
    Find(h, "PTVCO2", entries.PTVCO2);
    Find(h, "TPVCO2", entries.TPVCO2);
    Find(h, "VPTCO2", entries.VPTCO2);
    Find(h, "VLPTCO2", entries.VLPTCO2);
    Find(h, "HTVCO2", entries.HTVCO2);
    Find(h, "STVCO2", entries.STVCO2);
}

}  // namespace

const PropertyEntryPoints& PropertyEntries() {
    return entries;
}

std::string PropertyLibraryFileName(PropertyLibraryKind kind) {
    const bool general = kind == PropertyLibraryKind::General;
#if defined(_WIN32)
    return general ? "ASEREP32.DLL" : "CO2_LIB32.DLL";
#elif defined(__APPLE__)
    return general ? "libaserep32.dylib" : "libco2_lib32.dylib";
#else
    return general ? "libaserep32.so" : "libco2_lib32.so";
#endif
}

std::string InstallationFolder() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty()) return {};
    return exe.parent_path().string();
}

LoadedPropertyLibraries LoadPropertyLibraries(const std::string& folder) {
    UnloadPropertyLibraries();

    generalHandle = OpenLibrary(folder, PropertyLibraryKind::General);
    if (generalHandle) {
        FindGeneralEntries(generalHandle);
        if (entries.ILK_Set_Fluids) {
            const std::string path = folder.empty() ? std::string(".") : folder;
            entries.ILK_Set_Fluids(path.c_str());
        }
    }

    co2Handle = OpenLibrary(folder, PropertyLibraryKind::CO2);
    if (co2Handle) FindCO2Entries(co2Handle);

    return PropertyLibrariesLoaded();
}

LoadedPropertyLibraries LoadPropertyLibraries() {
    return LoadPropertyLibraries(InstallationFolder());
}

void UnloadPropertyLibraries() {
    entries = PropertyEntryPoints{};
    if (co2Handle) dlclose(co2Handle);
    if (generalHandle) dlclose(generalHandle);
    co2Handle = nullptr;
    generalHandle = nullptr;
}

LoadedPropertyLibraries PropertyLibrariesLoaded() {
    return {generalHandle != nullptr, co2Handle != nullptr};
}

}  // namespace kelvra
