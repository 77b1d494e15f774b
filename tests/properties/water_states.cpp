// Prints the program's water and steam properties for the states read from
// standard input, one a line, for check_water.py to compare with another
// implementation of the IAPWS formulations:
//   liquid T   ->  ρ μ c λ of saturated liquid water at T °C
//   steam P    ->  saturation temperature (°C) and r (J/kg) at P MPa
//   steam-t T  ->  saturation pressure (MPa) and r (J/kg) at T °C
#include "properties/water_steam.h"

#include <cstdio>
#include <cstring>

int main() {
    char kind[16];
    double x = 0;
    while (std::scanf("%15s %lf", kind, &x) == 2) {
        if (std::strcmp(kind, "liquid") == 0) {
            const orven::LiquidProperties p = orven::saturatedWater(x);
            std::printf("%.17g %.17g %.17g %.17g\n", p.density, p.viscosity, p.heatCapacity,
                        p.conductivity);
        } else if (std::strcmp(kind, "steam") == 0) {
            const double t = orven::saturationTemperature(x);
            std::printf("%.17g %.17g\n", t, orven::condensationHeat(t));
        } else {
            std::printf("%.17g %.17g\n", orven::saturationPressure(x), orven::condensationHeat(x));
        }
    }
    return 0;
}
