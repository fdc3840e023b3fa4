/* The C interface of Kelvra's two run-time-loaded property libraries.
 *
 * General library (every refrigerant but R744): every function returns 0 on success and a
 * non-zero code on error. Units: K, Pa, J/kg, J/(kg K), m3/kg. The fluid name comes first.
 *
 * CO2 library: all arguments by reference, option 99; a volume of -1.0 means the saturated
 * state at T (saturation pressure or temperature; for HTVCO2/STVCO2 the saturated liquid), which
 * exists only below the critical temperature. A failure gives a quiet NaN, as the result or in
 * the output argument.
 *
 * This header is the plug-in contract for anyone who puts another property backend behind
 * Kelvra; the application itself looks the entry points up by name.
 */
#ifndef KELVRA_PROPERTY_API_H
#define KELVRA_PROPERTY_API_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define KELVRA_PROPERTY_EXPORT __declspec(dllexport)
#else
#define KELVRA_PROPERTY_EXPORT __attribute__((visibility("default")))
#endif

/* error codes of the general library */
enum {
    KELVRA_PROPERTY_OK = 0,
    KELVRA_PROPERTY_UNKNOWN_FLUID = 1,
    KELVRA_PROPERTY_INVALID_ARGUMENT = 2,
    KELVRA_PROPERTY_OUT_OF_RANGE = 3,
    KELVRA_PROPERTY_NO_SUCH_PHASE = 4,
    KELVRA_PROPERTY_NOT_CONVERGED = 5,
    KELVRA_PROPERTY_INTERNAL = 6
};

KELVRA_PROPERTY_EXPORT unsigned char ILK_Set_Fluids(const char *data_folder);
KELVRA_PROPERTY_EXPORT unsigned char ILK_pc(const char *fluid, double *p_crit_Pa);
KELVRA_PROPERTY_EXPORT unsigned char ILK_tc(const char *fluid, double *T_crit_K);
KELVRA_PROPERTY_EXPORT unsigned char ILK_p_D(const char *fluid, double T_K, double *p_Pa);
KELVRA_PROPERTY_EXPORT unsigned char ILK_p_B(const char *fluid, double T_K, double *p_Pa);
KELVRA_PROPERTY_EXPORT unsigned char ILK_t_D(const char *fluid, double p_Pa, double *T_K);
KELVRA_PROPERTY_EXPORT unsigned char ILK_t_B(const char *fluid, double p_Pa, double *T_K);
KELVRA_PROPERTY_EXPORT unsigned char ILK_h_L(const char *fluid, double T_K, double *h_Jkg);
KELVRA_PROPERTY_EXPORT unsigned char ILK_h_V(const char *fluid, double p_Pa, double T_K, double *h_Jkg);
KELVRA_PROPERTY_EXPORT unsigned char ILK_s_V(const char *fluid, double p_Pa, double T_K, double *s_JkgK);
KELVRA_PROPERTY_EXPORT unsigned char ILK_V_V(const char *fluid, double p_Pa, double T_K, double *v_m3kg);

KELVRA_PROPERTY_EXPORT void KRITCO2(double *p_crit_Pa, double *third, double *T_crit_K, double *scratch);
KELVRA_PROPERTY_EXPORT void PTVCO2(double *T_K, double *v, int *option, double *p_Pa);
KELVRA_PROPERTY_EXPORT void TPVCO2(double *p_Pa, double *v, int *option, double *T_K);
KELVRA_PROPERTY_EXPORT double VPTCO2(double *p_Pa, double *T_K, int *option);
KELVRA_PROPERTY_EXPORT double VLPTCO2(double *p_Pa, double *T_K, int *option);
KELVRA_PROPERTY_EXPORT double HTVCO2(double *T_K, double *v, int *option);
KELVRA_PROPERTY_EXPORT double STVCO2(double *T_K, double *v, int *option);

/* function-pointer types, for loaders */
typedef unsigned char (*ILK_Set_Fluids_fn)(const char *);
typedef unsigned char (*ILK_crit_fn)(const char *, double *);
typedef unsigned char (*ILK_sat_fn)(const char *, double, double *);
typedef unsigned char (*ILK_state_fn)(const char *, double, double, double *);
typedef void (*KRITCO2_fn)(double *, double *, double *, double *);
typedef void (*PTVCO2_fn)(double *, double *, int *, double *);
typedef void (*TPVCO2_fn)(double *, double *, int *, double *);
typedef double (*VPTCO2_fn)(double *, double *, int *);
typedef double (*HTVCO2_fn)(double *, double *, int *);

#ifdef __cplusplus
}
#endif

#endif
