#include "properties/water_steam.h"

#include <array>
#include <cmath>
#include <numbers>

namespace orven {

namespace {

// IAPWS R7-97(2012), "Revised Release on the IAPWS Industrial Formulation 1997
// for the Thermodynamic Properties of Water and Steam" (IAPWS-IF97): the
// specific gas constant, eq. (1), kJ/(kg·K).
constexpr double gasConstant = 0.461526;
constexpr double kelvinOffset = 273.15;

// Critical point, IAPWS R7-97(2012) eqs. (2)-(4); the reference values of the
// viscosity and conductivity releases are the same.
constexpr double criticalTemperature = 647.096; // K
constexpr double criticalDensity = 322;         // kg/m³
constexpr double criticalPressure = 22.064;     // MPa

// ---- Region 4: the saturation line, IAPWS-IF97 eqs. (29)-(31), Table 34. ----
constexpr std::array<double, 11> saturationN = {0, // n are numbered from 1
                                                0.11670521452767e4,
                                                -0.72421316703206e6,
                                                -0.17073846940092e2,
                                                0.12020824702470e5,
                                                -0.32325550322333e7,
                                                0.14915108613530e2,
                                                -0.48232657361591e4,
                                                0.40511340542057e6,
                                                -0.23855557567849,
                                                0.65017534844798e3};

// p_s(T), eq. (30): MPa for K.
double saturationPressureKelvin(double t) {
    const auto& n = saturationN;
    const double theta = t + n[9] / (t - n[10]);
    const double a = theta * theta + n[1] * theta + n[2];
    const double b = n[3] * theta * theta + n[4] * theta + n[5];
    const double c = n[6] * theta * theta + n[7] * theta + n[8];
    return std::pow(2 * c / (-b + std::sqrt(b * b - 4 * a * c)), 4);
}

// T_s(p), eq. (31): K for MPa.
double saturationTemperatureKelvin(double p) {
    const auto& n = saturationN;
    const double beta = std::pow(p, 0.25);
    const double e = beta * beta + n[3] * beta + n[6];
    const double f = n[1] * beta * beta + n[4] * beta + n[7];
    const double g = n[2] * beta * beta + n[5] * beta + n[8];
    const double d = 2 * g / (-f - std::sqrt(f * f - 4 * e * g));
    return (n[10] + d - std::sqrt((n[10] + d) * (n[10] + d) - 4 * (n[9] + n[10] * d))) / 2;
}

// ---- Region 1: the liquid, IAPWS-IF97 eq. (7), Table 2. ----
struct Term {
    int i;
    int j;
    double n;
};
constexpr std::array<Term, 34> region1 = {{
    {0, -2, 0.14632971213167},        {0, -1, -0.84548187169114},
    {0, 0, -0.37563603672040e1},      {0, 1, 0.33855169168385e1},
    {0, 2, -0.95791963387872},        {0, 3, 0.15772038513228},
    {0, 4, -0.16616417199501e-1},     {0, 5, 0.81214629983568e-3},
    {1, -9, 0.28319080123804e-3},     {1, -7, -0.60706301565874e-3},
    {1, -1, -0.18990068218419e-1},    {1, 0, -0.32529748770505e-1},
    {1, 1, -0.21841717175414e-1},     {1, 3, -0.52838357969930e-4},
    {2, -3, -0.47184321073267e-3},    {2, 0, -0.30001780793026e-3},
    {2, 1, 0.47661393906987e-4},      {2, 3, -0.44141845330846e-5},
    {2, 17, -0.72694996297594e-15},   {3, -4, -0.31679644845054e-4},
    {3, 0, -0.28270797985312e-5},     {3, 6, -0.85205128120103e-9},
    {4, -5, -0.22425281908000e-5},    {4, -2, -0.65171222895601e-6},
    {4, 10, -0.14341729937924e-12},   {5, -8, -0.40516996860117e-6},
    {8, -11, -0.12734301741641e-8},   {8, -6, -0.17424871230634e-9},
    {21, -29, -0.68762131295531e-18}, {23, -31, 0.14478307828521e-19},
    {29, -38, 0.26335781662795e-22},  {30, -39, -0.11947622640071e-22},
    {31, -40, 0.18228094581404e-23},  {32, -41, -0.93537087292458e-25},
}};

// The liquid's state from the dimensionless Gibbs free energy γ(π, τ) of
// eq. (7) and its derivatives (Table 3), with the relations of Table 3.
struct Region1State {
    double density;           // kg/m³
    double enthalpy;          // kJ/kg
    double heatCapacity;      // cp, kJ/(kg·K)
    double isochoricCapacity; // cv, kJ/(kg·K)
    double densityByPressure; // (∂ρ/∂p)_T, kg/(m³·MPa)
};

Region1State liquidState(double t, double p) {
    const double pi = p / 16.53;
    const double tau = 1386 / t;
    const double x = 7.1 - pi;
    const double y = tau - 1.222;
    double gp = 0;
    double gpp = 0;
    double gt = 0;
    double gtt = 0;
    double gpt = 0;
    for (const Term& term : region1) {
        const double n = term.n;
        const int i = term.i;
        const int j = term.j;
        gp -= n * i * std::pow(x, i - 1) * std::pow(y, j);
        gpp += n * i * (i - 1) * std::pow(x, i - 2) * std::pow(y, j);
        gt += n * std::pow(x, i) * j * std::pow(y, j - 1);
        gtt += n * std::pow(x, i) * j * (j - 1) * std::pow(y, j - 2);
        gpt -= n * i * std::pow(x, i - 1) * j * std::pow(y, j - 1);
    }
    const double rt = gasConstant * t;
    const double volume = pi * gp * rt / p / 1000;     // m³/kg
    const double compressibility = -pi * gpp / gp / p; // κ_T, 1/MPa
    return {1 / volume, tau * gt * rt, -tau * tau * gtt * gasConstant,
            gasConstant * (-tau * tau * gtt + (gp - tau * gpt) * (gp - tau * gpt) / gpp),
            compressibility / volume};
}

// ---- Region 2: the vapour, IAPWS-IF97 eqs. (15)-(17), Tables 10 and 11. ----
// Only the enthalpy is needed: h = R·T·τ·(γ°_τ + γʳ_τ).
constexpr std::array<Term, 9> region2Ideal = {{
    {0, 0, -0.96927686500217e1},
    {0, 1, 0.10086655968018e2},
    {0, -5, -0.56087911283020e-2},
    {0, -4, 0.71452738081455e-1},
    {0, -3, -0.40710498223928},
    {0, -2, 0.14240819171444e1},
    {0, -1, -0.43839511319450e1},
    {0, 2, -0.28408632460772},
    {0, 3, 0.21268463753307e-1},
}};
constexpr std::array<Term, 43> region2Residual = {{
    {1, 0, -0.17731742473213e-2},   {1, 1, -0.17834862292358e-1},
    {1, 2, -0.45996013696365e-1},   {1, 3, -0.57581259083432e-1},
    {1, 6, -0.50325278727930e-1},   {2, 1, -0.33032641670203e-4},
    {2, 2, -0.18948987516315e-3},   {2, 4, -0.39392777243355e-2},
    {2, 7, -0.43797295650573e-1},   {2, 36, -0.26674547914087e-4},
    {3, 0, 0.20481737692309e-7},    {3, 1, 0.43870667284435e-6},
    {3, 3, -0.32277677238570e-4},   {3, 6, -0.15033924542148e-2},
    {3, 35, -0.40668253562649e-1},  {4, 1, -0.78847309559367e-9},
    {4, 2, 0.12790717852285e-7},    {4, 3, 0.48225372718507e-6},
    {5, 7, 0.22922076337661e-5},    {6, 3, -0.16714766451061e-10},
    {6, 16, -0.21171472321355e-2},  {6, 35, -0.23895741934104e2},
    {7, 0, -0.59059564324270e-17},  {7, 11, -0.12621808899101e-5},
    {7, 25, -0.38946842435739e-1},  {8, 8, 0.11256211360459e-10},
    {8, 36, -0.82311340897998e1},   {9, 13, 0.19809712802088e-7},
    {10, 4, 0.10406965210174e-18},  {10, 10, -0.10234747095929e-12},
    {10, 14, -0.10018179379511e-8}, {16, 29, -0.80882908646985e-10},
    {16, 50, 0.10693031879409},     {18, 57, -0.33662250574171},
    {20, 20, 0.89185845355421e-24}, {20, 35, 0.30629316876232e-12},
    {20, 48, -0.42002467698208e-5}, {21, 21, -0.59056029685639e-25},
    {22, 53, 0.37826947613457e-5},  {23, 39, -0.12768608934681e-14},
    {24, 26, 0.73087610595061e-28}, {24, 40, 0.55414715350778e-16},
    {24, 58, -0.94369707241210e-6},
}};

double vapourEnthalpy(double t, double p) {
    const double pi = p; // p* = 1 MPa
    const double tau = 540 / t;
    double ideal = 0;
    for (const Term& term : region2Ideal) {
        ideal += term.n * term.j * std::pow(tau, term.j - 1);
    }
    double residual = 0;
    for (const Term& term : region2Residual) {
        residual += term.n * std::pow(pi, term.i) * term.j * std::pow(tau - 0.5, term.j - 1);
    }
    return gasConstant * t * tau * (ideal + residual);
}

// Σ c_i·x^i, the polynomials of the transport properties.
template <std::size_t N> double power(const std::array<double, N>& c, double x) {
    double sum = 0;
    for (std::size_t i = 0; i < N; ++i) {
        sum += c[i] * std::pow(x, static_cast<double>(i));
    }
    return sum;
}

// The dilute-gas term of both transport properties, √T̄ / Σ c_k·T̄^(−k).
template <std::size_t N> double diluteTerm(const std::array<double, N>& c, double tr) {
    return std::sqrt(tr) / power(c, 1 / tr);
}

// The residual term of both, exp(ρ̄ · Σ_i (1/T̄ − 1)^i · Σ_j c_ij·(ρ̄ − 1)^j).
template <std::size_t I, std::size_t J>
double residualTerm(const std::array<std::array<double, J>, I>& c, double tr, double dr) {
    double sum = 0;
    for (std::size_t i = 0; i < I; ++i) {
        sum += std::pow(1 / tr - 1, static_cast<double>(i)) * power(c[i], dr - 1);
    }
    return std::exp(dr * sum);
}

// ---- Viscosity: IAPWS R12-08, "Release on the IAPWS Formulation 2008 for the
// Viscosity of Ordinary Water Substance", eqs. (10)-(12), Tables 1 and 2.
// μ = μ̄0(T̄)·μ̄1(T̄, ρ̄)·μ̄2 · 1 µPa·s; the critical enhancement μ̄2 is taken as 1,
// as the release allows outside the critical region (here it differs from 1
// by less than 1e-9).
double viscosity(double t, double density) {
    constexpr std::array<double, 4> h0 = {1.67752, 2.20462, 0.6366564, -0.241605};
    // H_ij, i = 0..5 for (1/T̄ − 1)^i, j = 0..6 for (ρ̄ − 1)^j.
    constexpr std::array<std::array<double, 7>, 6> h1 = {{
        {5.20094e-1, 2.22531e-1, -2.81378e-1, 1.61913e-1, -3.25372e-2, 0, 0},
        {8.50895e-2, 9.99115e-1, -9.06851e-1, 2.57399e-1, 0, 0, 0},
        {-1.08374, 1.88797, -7.72479e-1, 0, 0, 0, 0},
        {-2.89555e-1, 1.26613, -4.89837e-1, 0, 6.98452e-2, 0, -4.35673e-3},
        {0, 0, -2.57040e-1, 0, 0, 8.72102e-3, 0},
        {0, 1.20573e-1, 0, 0, 0, 0, -5.93264e-4},
    }};
    const double tr = t / criticalTemperature;
    const double dr = density / criticalDensity;
    const double mu0 = 100 * diluteTerm(h0, tr);
    const double mu1 = residualTerm(h1, tr, dr);
    return mu0 * mu1 * 1e-6;
}

// ---- Thermal conductivity: IAPWS R15-11, "Release on the IAPWS Formulation
// 2011 for the Thermal Conductivity of Ordinary Water Substance", eqs.
// (10)-(25), Tables 1, 2 and 6. λ = (λ̄0·λ̄1 + λ̄2) · 1 mW/(m·K).
double conductivity(double t, const Region1State& s, double mu) {
    constexpr std::array<double, 5> l0 = {2.443221e-3, 1.323095e-2, 6.770357e-3, -3.454586e-3,
                                          4.096266e-4};
    // L_ij, i = 0..4 for (1/T̄ − 1)^i, j = 0..5 for (ρ̄ − 1)^j.
    constexpr std::array<std::array<double, 6>, 5> l1 = {{
        {1.60397357, -0.646013523, 0.111443906, 0.102997357, -0.0504123634, 0.00609859258},
        {2.33771842, -2.78843778, 1.53616167, -0.463045512, 0.0832827019, -0.00719201245},
        {2.19650529, -4.54580785, 3.55777244, -1.40944978, 0.275418278, -0.0205938816},
        {-1.21051378, 1.60812989, -0.621178141, 0.0716373224, 0, 0},
        {-2.7203370, 4.57586331, -3.18369245, 1.1168348, -0.19268305, 0.012913842},
    }};
    const double tr = t / criticalTemperature;
    const double dr = s.density / criticalDensity;
    const double lambda0 = diluteTerm(l0, tr);
    const double lambda1 = residualTerm(l1, tr, dr);

    // The critical enhancement λ̄2, eqs. (18)-(24), with the reference
    // (∂ρ̄/∂p̄) at T̄_R = 1.5 from eq. (25) as the release gives it for
    // industrial use: the liquid of 0-200 °C (ρ̄ > 2.6) lies in the last density
    // interval of Table 6, ρ̄ > 1.863354037. It adds up to 0.2 % near 200 °C.
    constexpr std::array<double, 6> a = {1.11999926419994,  0.595748562571649, 9.88952565078920,
                                         -10.3255051147040, 4.66861294457414,  -0.503243546373828};
    const double reference = power(a, dr);
    constexpr double referenceTemperature = 1.5;
    const double zeta = criticalPressure / criticalDensity * s.densityByPressure;
    const double deltaChi = dr * (zeta - (1 / reference) * referenceTemperature / tr);
    double lambda2 = 0;
    if (deltaChi > 0) {
        const double xi = 0.13 * std::pow(deltaChi / 0.06, 0.630 / 1.239); // nm
        const double y = xi / 0.40;                                        // q̄_D·ξ
        if (y >= 1.2e-7) {
            const double kappa = s.heatCapacity / s.isochoricCapacity;
            const double z = 2 / (std::numbers::pi * y) *
                             (((1 - 1 / kappa) * std::atan(y) + y / kappa) -
                              (1 - std::exp(-1 / (1 / y + y * y / (3 * dr * dr)))));
            constexpr double conductivityGasConstant = 0.46151805; // kJ/(kg·K), eq. (18)
            lambda2 =
                177.8514 * dr * (s.heatCapacity / conductivityGasConstant) * tr / (mu / 1e-6) * z;
        }
    }
    return (lambda0 * lambda1 + lambda2) * 1e-3;
}

} // namespace

LiquidProperties saturatedWater(double celsius) {
    const double t = celsius + kelvinOffset;
    const Region1State s = liquidState(t, saturationPressureKelvin(t));
    const double mu = viscosity(t, s.density);
    return {s.density, mu, s.heatCapacity * 1000, conductivity(t, s, mu)};
}

double saturationPressure(double celsius) {
    return saturationPressureKelvin(celsius + kelvinOffset);
}

double saturationTemperature(double pressure) {
    return saturationTemperatureKelvin(pressure) - kelvinOffset;
}

double condensationHeat(double celsius) {
    const double t = celsius + kelvinOffset;
    const double p = saturationPressureKelvin(t);
    return (vapourEnthalpy(t, p) - liquidState(t, p).enthalpy) * 1000;
}

} // namespace orven
