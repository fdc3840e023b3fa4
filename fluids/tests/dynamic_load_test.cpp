// Loads the two property libraries exactly as the application does: from the folder of the
// running program, by file name, and every entry point looked up by its name.

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "kelvra_property_api.h"

namespace {

std::filesystem::path program_folder() {
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return {};
    buf[n] = 0;
    return std::filesystem::path(buf).parent_path();
}

struct Library {
    void* handle = nullptr;
    explicit Library(const std::string& file)
        : handle(dlopen((program_folder() / file).c_str(), RTLD_NOW | RTLD_LOCAL)) {}
    ~Library() {
        if (handle) dlclose(handle);
    }
    template <class F>
    F get(const char* name) const {
        return reinterpret_cast<F>(dlsym(handle, name));
    }
};

TEST(DynamicLoad, GeneralLibraryByName) {
    Library lib("libaserep32.so");
    ASSERT_NE(lib.handle, nullptr) << dlerror();
    for (const char* name : {"ILK_Set_Fluids", "ILK_pc", "ILK_tc", "ILK_p_D", "ILK_p_B", "ILK_t_D", "ILK_t_B",
                             "ILK_h_L", "ILK_h_V", "ILK_s_V", "ILK_V_V"})
        EXPECT_NE(dlsym(lib.handle, name), nullptr) << name;

    auto set_fluids = lib.get<ILK_Set_Fluids_fn>("ILK_Set_Fluids");
    auto p_dew = lib.get<ILK_sat_fn>("ILK_p_D");
    auto t_bub = lib.get<ILK_sat_fn>("ILK_t_B");
    auto h_liq = lib.get<ILK_sat_fn>("ILK_h_L");
    auto h_vap = lib.get<ILK_state_fn>("ILK_h_V");
    auto tc = lib.get<ILK_crit_fn>("ILK_tc");
    EXPECT_EQ(set_fluids(program_folder().c_str()), 0);

    double v = 0;
    ASSERT_EQ(p_dew("R134a", 263.15, &v), 0);
    EXPECT_NEAR(v, 200603.3, 1.0);  // Pa
    ASSERT_EQ(t_bub("R404A", 300179.6881, &v), 0);
    EXPECT_NEAR(v - 273.15, -20.6091357, 1e-5);
    ASSERT_EQ(h_liq("R22", 273.15, &v), 0);
    EXPECT_NEAR(v, 200000.0, 1e-3);  // J/kg, the reference state
    ASSERT_EQ(h_vap("R134a", 2.928031823e5, 283.15, &v), 0);
    EXPECT_NEAR(v / 1e3, 407.514214729, 0.001);
    ASSERT_EQ(tc("R32", &v), 0);
    EXPECT_NEAR(v, 351.255, 1e-6);

    double untouched = 7.0;
    EXPECT_NE(p_dew("no such fluid", 263.15, &untouched), 0);
    EXPECT_NE(h_vap("R134a", -5.0, 300.0, &untouched), 0);
    EXPECT_EQ(untouched, 7.0);
}

TEST(DynamicLoad, Co2LibraryByName) {
    Library lib("libco2_lib32.so");
    ASSERT_NE(lib.handle, nullptr) << dlerror();
    auto krit = lib.get<KRITCO2_fn>("KRITCO2");
    auto ptv = lib.get<PTVCO2_fn>("PTVCO2");
    auto tpv = lib.get<TPVCO2_fn>("TPVCO2");
    auto vpt = lib.get<VPTCO2_fn>("VPTCO2");
    auto vlpt = lib.get<VPTCO2_fn>("VLPTCO2");
    auto htv = lib.get<HTVCO2_fn>("HTVCO2");
    auto stv = lib.get<HTVCO2_fn>("STVCO2");
    ASSERT_TRUE(krit && ptv && tpv && vpt && vlpt && htv && stv);

    double pc = 0, third = 0, Tc = 0, scratch = 0;
    krit(&pc, &third, &Tc, &scratch);
    EXPECT_NEAR(Tc, 304.1282, 1e-6);
    EXPECT_NEAR(pc, 7377300, 10);

    int opt = 99;
    double sat = -1.0, T = 273.15, p = 0;
    ptv(&T, &sat, &opt, &p);
    EXPECT_NEAR(p / 1e5, 34.8514075766, 1e-5);
    EXPECT_NEAR(htv(&T, &sat, &opt), 200000.0, 1e-3);  // saturated liquid at 0 degC
    EXPECT_NEAR(stv(&T, &sat, &opt), 1000.0, 1e-6);
    double ps = 10.04495728e5, Ts = 243.15;
    double v = vpt(&ps, &Ts, &opt);
    EXPECT_NEAR(v, 0.0408034954315, 1e-8);
    EXPECT_NEAR(htv(&Ts, &v, &opt) / 1e3, 445.415524998, 0.001);

    double hot = 320.0;  // above the critical temperature: no saturation
    ptv(&hot, &sat, &opt, &p);
    EXPECT_TRUE(std::isnan(p));
}

}  // namespace
