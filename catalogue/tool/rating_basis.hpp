#pragma once
// The saturation states of an operating point on the basis of a rating data set, worked out the
// way the compressor model works them out when it evaluates the set: suction and discharge
// pressures, dew, mid-point and bubble temperatures, and the temperatures the rating
// polynomials take. The catalogue rates every point through these, so that a rating written for
// a point is read back at the same point.

#include <optional>

#include "refrigerant.hpp"

namespace kelvra::catalogue {

struct BasisOptions {
    bool dewData = false;         // the polynomials take dew temperatures (else mid-point)
    bool fahrenheit = false;      // ... in degF
    double ratedSubcooling = 0;   // K
};

struct BasisState {
    bool ok = false;
    bool transcritical = false;
    double ps = 0, pd = 0;
    double teDew = 0, tcDew = 0, teMid = 0, tcMid = 0, tBub = 0;
    double teRate = 0;            // evaporating temperature of the polynomials before the data basis
    double tePoly = 0, tcPoly = 0;  // polynomial temperatures (degC or degF)
};

// The state at saturated suction temperature `te` and saturated discharge temperature `tc` on
// the refrigerant's basis, with subcooling `E`. For CO2 above its critical pressure give
// `transcriticalPressure` (bar); `tc` is then not used.
BasisState StateAt(Trefrigerant& ref, double te, double tc, double E, const BasisOptions& o,
                   std::optional<double> transcriticalPressure = std::nullopt);

// The pair of temperatures an envelope of this refrigerant is drawn in: the mid-point pair for
// basis 'M', the dew pair otherwise.
inline double EnvelopeX(const Trefrigerant& ref, const BasisState& s) {
    return ref.basis == 'M' ? s.teMid : s.teDew;
}
inline double EnvelopeY(const Trefrigerant& ref, const BasisState& s) {
    return ref.basis == 'M' ? s.tcMid : s.tcDew;
}

}  // namespace kelvra::catalogue
