#include "result_quantities.hpp"

#include <algorithm>

namespace kelvra {

std::vector<QuantityCode> filledQuantities(const TCModel& model, ActivityMode mode) {
    namespace q = quantity;
    std::vector<QuantityCode> codes;
    switch (model.classLetter) {
        case 'C':
            codes = {q::CoolingCapacity,      q::PowerInput,           q::COP,
                     q::VolumetricEfficiency, q::IsentropicEfficiency, q::MassFlow,
                     q::HeatRejection,        q::DischargeTemp,        q::HeatingCapacity,
                     q::LiquidTemp,           q::PowerFactor,          q::Displacement,
                     q::SuctionPressure,      q::DischargePressure};
            if (!model.HidesCurrent()) codes.push_back(q::Current);
            if (mode == ActivityMode::HeatPumpCompressors) codes.push_back(q::RefrigerationCOP);
            if (model.HasVapourInjection()) {
                codes.insert(codes.end(),
                             {q::IntermediateSatTemp, q::EconomiserCapacity, q::InjectionMassFlow,
                              q::InjectionTemp, q::IntermediateBubbleTemp});
            }
            if (model.IsVariableSpeed() || model.IsInverterDriven()) codes.push_back(q::Speed);
            if (model.HasLoadControl()) codes.push_back(q::Load);
            break;
        case 'U':
            codes = {q::CoolingCapacity, q::PowerInput, q::Current, q::COP, q::CondensingTemp};
            break;
        case 'P':
            codes = {q::PowerInput, q::COP, q::CondensingTemp, q::HeatingCapacity};
            break;
        case 'V':
            codes = {q::CoolingCapacity, q::LiquidTemp, q::PressureDifference};
            break;
        default:
            break;
    }
    std::sort(codes.begin(), codes.end());
    return codes;
}

}  // namespace kelvra
