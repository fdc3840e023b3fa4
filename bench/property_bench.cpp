// Cost of the property calls a compressor evaluation makes, through the general library's
// entry points. Each benchmark cycles through a spread of states so no call repeats the last.
//
//   build/bin/property_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <array>

#include "kelvra_property_api.h"

namespace {

constexpr double K = 273.15;
constexpr int kPoints = 64;

template <class F>
std::array<double, kPoints> spread(double lo, double hi, F map) {
    std::array<double, kPoints> a{};
    for (int i = 0; i < kPoints; ++i) a[i] = map(lo + (hi - lo) * ((i * 37) % kPoints) / (kPoints - 1));
    return a;
}

void DewPressure(benchmark::State& state, const char* fluid) {
    const auto T = spread(-40, 60, [](double t) { return t + K; });
    double p = 0;
    ILK_p_D(fluid, T[0], &p);  // builds the fluid's tables outside the timed loop
    int i = 0;
    for (auto _ : state) {
        ILK_p_D(fluid, T[i++ & (kPoints - 1)], &p);
        benchmark::DoNotOptimize(p);
    }
}

void DewTemperature(benchmark::State& state, const char* fluid) {
    std::array<double, kPoints> p{};
    const auto T = spread(-40, 60, [](double t) { return t + K; });
    for (int i = 0; i < kPoints; ++i) ILK_p_D(fluid, T[i], &p[i]);
    double t = 0;
    int i = 0;
    for (auto _ : state) {
        ILK_t_D(fluid, p[i++ & (kPoints - 1)], &t);
        benchmark::DoNotOptimize(t);
    }
}

template <unsigned char (*Fn)(const char*, double, double, double*)>
void VapourState(benchmark::State& state, const char* fluid) {
    // superheated suction and discharge states: (p_dew(T_sat), T_sat + superheat)
    std::array<double, kPoints> p{}, T{};
    for (int i = 0; i < kPoints; ++i) {
        const double Tsat = -40 + 90.0 * ((i * 37) % kPoints) / (kPoints - 1) + K;
        ILK_p_D(fluid, Tsat, &p[i]);
        T[i] = Tsat + 2 + (i % 8) * 6.0;
    }
    double out = 0;
    int i = 0;
    for (auto _ : state) {
        const int k = i++ & (kPoints - 1);
        Fn(fluid, p[k], T[k], &out);
        benchmark::DoNotOptimize(out);
    }
}

void VapourEnthalpy(benchmark::State& state, const char* fluid) { VapourState<&ILK_h_V>(state, fluid); }
void VapourEntropy(benchmark::State& state, const char* fluid) { VapourState<&ILK_s_V>(state, fluid); }

}  // namespace

BENCHMARK_CAPTURE(DewPressure, R134a, "R134a");
BENCHMARK_CAPTURE(DewPressure, R404A, "R404A");
BENCHMARK_CAPTURE(DewTemperature, R134a, "R134a");
BENCHMARK_CAPTURE(DewTemperature, R404A, "R404A");
BENCHMARK_CAPTURE(VapourEnthalpy, R134a, "R134a");
BENCHMARK_CAPTURE(VapourEnthalpy, R404A, "R404A");
BENCHMARK_CAPTURE(VapourEntropy, R134a, "R134a");
BENCHMARK_CAPTURE(VapourEntropy, R404A, "R404A");

namespace {

// The CO2 library: saturation and the two-step vapour enthalpy (volume, then enthalpy) the
// compressor model makes, below and above the critical point.
void Co2Saturation(benchmark::State& state) {
    const auto T = spread(-50, 28, [](double t) { return t + K; });
    int opt = 99;
    double v = -1.0, p = 0;
    int i = 0;
    for (auto _ : state) {
        double t = T[i++ & (kPoints - 1)];
        PTVCO2(&t, &v, &opt, &p);
        benchmark::DoNotOptimize(p);
    }
}

void Co2VapourEnthalpy(benchmark::State& state) {
    // state.range(0): 0 suction states (20 bar, -10..+20 degC), 1 gas-cooler states (90 bar, 35..120 degC)
    const bool gas_cooler = state.range(0) == 1;
    const auto T = gas_cooler ? spread(35, 120, [](double t) { return t + K; })
                              : spread(-10, 20, [](double t) { return t + K; });
    double p = gas_cooler ? 90e5 : 20e5;
    int opt = 99;
    int i = 0;
    for (auto _ : state) {
        double t = T[i++ & (kPoints - 1)];
        double v = VPTCO2(&p, &t, &opt);
        double h = HTVCO2(&t, &v, &opt);
        benchmark::DoNotOptimize(h);
    }
}

}  // namespace

BENCHMARK(Co2Saturation);
BENCHMARK(Co2VapourEnthalpy)->Arg(0)->Arg(1);
