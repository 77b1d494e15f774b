#pragma once
// The liquids a task may name: water, whose properties come from the IAPWS
// formulations (properties/water_steam.h), and the liquids of a course's own
// handbook, which the teacher writes down as tables.
//
// A table is a plain UTF-8 text file: "#" starts a comment, blank lines are
// ignored; one line "жидкость = NAME", then one row a temperature:
//     t  ρ  μ  c  λ
// in °C, kg/m³, Pa·s, J/(kg·K) and W/(m·K), separated by blanks, with a
// decimal point or a decimal comma. Temperatures rise from row to row; between
// two rows the properties are interpolated linearly, outside the table there
// are none.
//
// A handbook's units may be declared on a line of their own,
// "единицы = кг/м³ мм²/с кДж/(кг·К) Вт/(м·К)" (ρ, the viscosity, c, λ):
// g/cm³; mPa·s or cP; a kinematic viscosity in m²/s, cm²/s (St) or mm²/s
// (cSt), multiplied by the row's density; kJ/(kg·K); mW/(m·K). The numbers are
// converted in decimal, so that a table in those units reads to the very
// numbers of the same table written in SI. Values a liquid cannot have
// (stated in plausibleLiquid) are refused, naming the unit they look like.
// "род. = FORM" gives the name as a task's prose needs it ("масла
// трансформаторного"); a comment "# Источник: ..." names the handbook.

#include "properties/water_steam.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace orven {

// The name under which the formulation's water is always found.
inline const QString waterName = QStringLiteral("вода");

struct FluidRow {
    double celsius = 0;
    LiquidProperties properties;
};

// The values a liquid of this course may have, in SI; a table outside them
// is a slip of its units.
struct PlausibleRange {
    double low;
    double high;
};
struct PlausibleLiquid {
    PlausibleRange density{400, 2500};
    PlausibleRange viscosity{1e-5, 10};
    PlausibleRange heatCapacity{800, 6000};
    PlausibleRange conductivity{0.05, 1};
};
inline constexpr PlausibleLiquid plausibleLiquid{};

struct Fluid {
    QString name;
    QString genitive; // "воды", "масла трансформаторного"; empty when not given
    QString reference;    // the handbook, from the table's "# Источник:" line
    QString source;       // the table's file, or the formulations for water
    QList<FluidRow> rows; // a table's rows; empty for water

    bool isWater() const { return rows.isEmpty(); }
    double lowestCelsius() const;
    double highestCelsius() const;
};

// The water of the formulations.
Fluid water();

// Reads a table file's contents. On a fault returns false with one Russian
// line in error naming the file and, where there is one, the line; fluid.name
// is set as soon as the name line has been read.
bool readFluidTable(const QByteArray& contents, const QString& fileName, Fluid& fluid,
                    QString& error);

// The fluid's properties at a temperature; false with a Russian line naming
// the fluid, the temperature and the fluid's range when it is outside.
bool fluidProperties(const Fluid& fluid, double celsius, LiquidProperties& properties,
                     QString& error);

// Where tables are looked for, in order: the folder given (may be empty),
// $XDG_DATA_HOME/orven/fluids (else ~/.local/share/orven/fluids), the
// installed folder (may be empty).
QStringList fluidFolders(const QString& givenFolder, const QString& installedFolder);

// The fluid of that name (case and blanks aside): "вода" is the formulation's
// water; any other is the first folder's table with that name. A file that is
// no table, a link or too large is passed over unless it names the fluid.
bool findFluid(const QString& name, const QStringList& folders, Fluid& fluid, QString& error);

// Every fluid the folders' tables give, each name once (the first folder's
// table wins, as findFluid finds it), water first; a file that is no table is
// passed over.
QList<Fluid> knownFluids(const QStringList& folders);

// "1.5", "-3", "0,25" as a number: the whole text (a decimal comma allowed);
// false for anything else, an infinity or a NaN.
bool parseDecimal(const QString& text, double& value);

} // namespace orven
