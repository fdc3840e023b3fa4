// Entry points of the general property library (every refrigerant the registry knows but R744,
// which the CO2 library answers; R744 is answered here too for callers that ask).

#include <cmath>
#include <exception>
#include <string>

#include "kelvra_property_api.h"
#include "registry.hpp"

using namespace kelvra::fluids;

namespace {

unsigned char code(Status s) {
    switch (s) {
        case Status::ok: return KELVRA_PROPERTY_OK;
        case Status::unknown_fluid: return KELVRA_PROPERTY_UNKNOWN_FLUID;
        case Status::invalid_argument: return KELVRA_PROPERTY_INVALID_ARGUMENT;
        case Status::out_of_range: return KELVRA_PROPERTY_OUT_OF_RANGE;
        case Status::no_such_phase: return KELVRA_PROPERTY_NO_SUCH_PHASE;
        case Status::not_converged: return KELVRA_PROPERTY_NOT_CONVERGED;
    }
    return KELVRA_PROPERTY_INTERNAL;
}

// Runs one request: looks the fluid up, calls fn, and never lets an exception or a
// non-finite result leave the library.
template <class Fn>
unsigned char guarded(const char* name, double* out, Fn fn) {
    if (!out) return KELVRA_PROPERTY_INVALID_ARGUMENT;
    try {
        if (!name) return KELVRA_PROPERTY_UNKNOWN_FLUID;
        const Fluid* f = Registry::instance().find(name);
        if (!f) return KELVRA_PROPERTY_UNKNOWN_FLUID;
        double value = 0;
        Status s = fn(*f, value);
        if (s != Status::ok) return code(s);
        if (!std::isfinite(value)) return KELVRA_PROPERTY_NOT_CONVERGED;
        *out = value;
        return KELVRA_PROPERTY_OK;
    } catch (...) {
        return KELVRA_PROPERTY_INTERNAL;
    }
}

}  // namespace

extern "C" {

unsigned char ILK_Set_Fluids(const char* data_folder) {
    try {
        if (!data_folder) return KELVRA_PROPERTY_INVALID_ARGUMENT;
        std::string folder(data_folder);
        std::string error;
        // Extra or replacement fluid files may sit in the data folder's "fluids" subfolder.
        std::string sub = folder + "/fluids";
        Registry& r = Registry::instance();
        if (!r.load_folder(folder, error)) return KELVRA_PROPERTY_INVALID_ARGUMENT;
        std::string sub_error;
        if (r.load_folder(sub, sub_error) || sub_error.rfind("not a folder", 0) == 0)
            return KELVRA_PROPERTY_OK;
        return KELVRA_PROPERTY_INVALID_ARGUMENT;
    } catch (...) {
        return KELVRA_PROPERTY_INTERNAL;
    }
}

unsigned char ILK_pc(const char* fluid, double* p) {
    return guarded(fluid, p, [](const Fluid& f, double& v) {
        v = f.p_crit();
        return Status::ok;
    });
}

unsigned char ILK_tc(const char* fluid, double* T) {
    return guarded(fluid, T, [](const Fluid& f, double& v) {
        v = f.T_crit();
        return Status::ok;
    });
}

unsigned char ILK_p_D(const char* fluid, double T, double* p) {
    return guarded(fluid, p, [T](const Fluid& f, double& v) { return f.dew_pressure(T, v); });
}

unsigned char ILK_p_B(const char* fluid, double T, double* p) {
    return guarded(fluid, p, [T](const Fluid& f, double& v) { return f.bubble_pressure(T, v); });
}

unsigned char ILK_t_D(const char* fluid, double p, double* T) {
    return guarded(fluid, T, [p](const Fluid& f, double& v) { return f.dew_temperature(p, v); });
}

unsigned char ILK_t_B(const char* fluid, double p, double* T) {
    return guarded(fluid, T, [p](const Fluid& f, double& v) { return f.bubble_temperature(p, v); });
}

unsigned char ILK_h_L(const char* fluid, double T, double* h) {
    return guarded(fluid, h, [T](const Fluid& f, double& v) { return f.saturated_liquid_enthalpy(T, v); });
}

unsigned char ILK_h_V(const char* fluid, double p, double T, double* h) {
    return guarded(fluid, h, [p, T](const Fluid& f, double& v) {
        Props s;
        Status st = f.state(p, T, Phase::vapour, s);
        v = s.h;
        return st;
    });
}

unsigned char ILK_s_V(const char* fluid, double p, double T, double* s_out) {
    return guarded(fluid, s_out, [p, T](const Fluid& f, double& v) {
        Props s;
        Status st = f.state(p, T, Phase::vapour, s);
        v = s.s;
        return st;
    });
}

unsigned char ILK_V_V(const char* fluid, double p, double T, double* vol) {
    return guarded(fluid, vol, [p, T](const Fluid& f, double& v) {
        Props s;
        Status st = f.state(p, T, Phase::vapour, s);
        v = s.v;
        return st;
    });
}

}  // extern "C"
