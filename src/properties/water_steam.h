#pragma once
// Water and steam as a student's handbook tabulates them, computed from the
// IAPWS formulations: liquid water on the saturation line (at the pressure of
// its own vapour) and saturated steam. SI units throughout; temperatures in
// degrees Celsius, pressures in megapascals (absolute).

namespace orven {

// The four properties of a liquid that the initial data need.
struct LiquidProperties {
    double density = 0;      // kg/m³
    double viscosity = 0;    // Pa·s (dynamic)
    double heatCapacity = 0; // J/(kg·K), isobaric
    double conductivity = 0; // W/(m·K)
};

// The liquid on the saturation line from 0 to 200 °C. 0 °C is the lower end of
// the industrial formulation (a handbook's first row), a hundredth of a degree
// under the triple point.
constexpr double lowestWaterCelsius = 0;
constexpr double highestWaterCelsius = 200;
LiquidProperties saturatedWater(double celsius);

// Saturated steam from 0.01 to 1.5 MPa, that is from about 45.8 to 198.3 °C.
constexpr double lowestSteamPressure = 0.01;
constexpr double highestSteamPressure = 1.5;
double saturationPressure(double celsius);     // MPa
double saturationTemperature(double pressure); // °C
// r = h″ − h′ at the saturation temperature, J/kg.
double condensationHeat(double celsius);

} // namespace orven
