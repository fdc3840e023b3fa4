#include "fluid_commands.hpp"

#include <fmt/format.h>
#include <fmt/ostream.h>

#include <cmath>

#include "cli_support.hpp"
#include "kelvra_property_api.h"
#include "registry.hpp"

namespace kelvra::cli {
namespace {
constexpr double kKelvin = 273.15;
}

int list_fluids(std::ostream& out) {
    auto& registry = fluids::Registry::instance();
    fmt::print(out, "{:<12} {:>9} {:>9}  {}\n", "Fluid", "Tc [°C]", "pc [bar]",
               "Equation of state");
    for (const std::string& name : registry.names()) {
        const fluids::Fluid* f = registry.find(name);
        if (!f) {
            fmt::print(out, "{:<12} (its data could not be built)\n", name);
            continue;
        }
        fmt::print(out, "{:<12} {:>9.3f} {:>9.3f}  {}\n", name, f->T_crit() - kKelvin,
                   f->p_crit() / 1e5, f->data().reference);
    }
    return 0;
}

int saturation_table(const std::string& fluid, double from, double to, double step,
                     std::ostream& out, std::ostream& err) {
    if (!(step > 0) || !std::isfinite(from) || !std::isfinite(to) || to < from ||
        (to - from) / step > 10000) {
        fmt::print(err,
                   "kelvra-cli: give a range with --from <= --to and a positive --step (at most "
                   "10000 rows)\n");
        return kExitBadArguments;
    }
    const bool co2 = fluids::Registry::instance().find(fluid) &&
                     fluids::Registry::instance().find(fluid)->name() == "R744";
    double probe = 0;
    if (ILK_tc(fluid.c_str(), &probe) != 0) {
        fmt::print(err, "kelvra-cli: unknown refrigerant \"{}\" (see: kelvra-cli fluids)\n", fluid);
        return kExitUnknownName;
    }
    fmt::print(out, "{}: saturation{}\n", fluid, co2 ? " (CO2 library)" : "");
    fmt::print(out, "{:>8} {:>12} {:>12} {:>14}\n", "T [°C]", "p dew [bar]", "p bub [bar]",
               "h liq [kJ/kg]");
    const int rows = static_cast<int>(std::floor((to - from) / step + 1e-9)) + 1;
    for (int i = 0; i < rows; ++i) {
        const double t = from + i * step;
        double T = t + kKelvin, pd = NAN, pb = NAN, hl = NAN;
        if (co2) {
            double v = -1.0;
            int option = 99;
            PTVCO2(&T, &v, &option, &pd);
            pb = pd;
            hl = HTVCO2(&T, &v, &option);
        } else {
            if (ILK_p_D(fluid.c_str(), T, &pd) != 0) pd = NAN;
            if (ILK_p_B(fluid.c_str(), T, &pb) != 0) pb = NAN;
            if (ILK_h_L(fluid.c_str(), T, &hl) != 0) hl = NAN;
        }
        auto cell = [](double x, double scale, int width) {
            return std::isfinite(x) ? fmt::format("{:>{}.4f}", x / scale, width)
                                    : fmt::format("{:>{}}", "-", width);
        };
        fmt::print(out, "{:>8.1f} {} {} {}\n", t, cell(pd, 1e5, 12), cell(pb, 1e5, 12),
                   cell(hl, 1e3, 14));
    }
    return 0;
}

}  // namespace kelvra::cli
