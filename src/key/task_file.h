#pragma once
// A task as a course hands it out, and the first half of its solution: from
// the fluids, the flow and the temperatures to the 14 initial data of a
// design (key/design_file.h).
//
// A task file is UTF-8 text: "#" starts a comment, one "key = value" a line,
// numbers with a decimal point or comma.
//     тип = холодильник | конденсатор
//     горячий = FLUID       (a condenser: пар, or left out)
//     g1 = kg/s             (a condenser: the steam's flow)
//     t1н = °C, t1к = °C    (a cooler)
//     p1 = MPa or tнас = °C (a condenser: the saturated steam)
//     холодный = FLUID, t2н = °C, t2к = °C
//     r = m²·K/W, eps = 1   (eps may be left out: 1, counter-current)
//
// The method: each liquid's properties at the arithmetic mean of its inlet
// and outlet temperatures; a condensing stream's those of its condensate at
// the saturation temperature, Q = G1·r (no subcooling); a cooler's
// Q = G1·c1·(t1н − t1к); G2 = Q / (c2·(t2к − t2н)); Δt the logarithmic mean of
// the end differences of a counter-current unit (equal ends: that difference).

#include "core/design_case.h"
#include "key/design_file.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace orven {

struct TaskData {
    ExchangerType type = ExchangerType::Cooler;
    QString hot; // a cooler's hot liquid
    QString cold;
    double hotFlow = 0; // kg/s
    double hotIn = 0;   // °C, a cooler
    double hotOut = 0;
    std::optional<double> steamPressure;    // MPa, a condenser
    std::optional<double> steamTemperature; // °C, a condenser
    double coldIn = 0;
    double coldOut = 0;
    double resistance = 0; // m²·K/W
    double drivingForce = 1;
};

// Reads a task file's contents; false with one Russian line naming the file
// and, where there is one, the line.
bool readTaskFile(const QByteArray& contents, const QString& fileName, TaskData& task,
                  QString& error);

struct PreparedTask {
    DesignData design;    // the 14 values at full precision
    QStringList protocol; // each step: formula, numbers put in, result
    QString hotGenitive;  // the hot liquid's name as the prose needs it, when its table gives it
    // Where each liquid's properties come from: "вода: IAPWS-IF97 ...",
    // "масло: <the table's source line, else its file>".
    QStringList references;
};

// Why a task cannot be worked out.
enum class TaskFault {
    None,
    Crossing, // temperatures cross
    Fluid,    // a fluid without a table
    Property, // a temperature outside a table or the formulation
    Range,    // an initial datum outside its admissible interval
};

// Works the task out with the fluids found in folders (properties/fluids.h);
// false with one Russian line when its temperatures cross, a property is
// outside its table or formulation, or an initial datum outside the
// program's admissible range; fault, when given, says which.
bool prepareTask(const TaskData& task, const QStringList& fluidFolders, PreparedTask& prepared,
                 QString& error, TaskFault* fault = nullptr);

// The task in Russian prose, as a task sheet states it: what is cooled or
// condensed, the flows, temperatures and resistances, with their units.
// hotGenitive: the hot liquid's name after "охлаждения 2,4 кг/с" ("воды");
// without it the prose says "жидкости «NAME»".
QString taskProse(const TaskData& task, const QString& hotGenitive = QString());

// The design file of a prepared task: a comment per value with its rounded
// form, then "key = value" at full precision; source says whose values they
// are ("задача task.txt").
QString preparedDesignText(const PreparedTask& prepared, const QString& source);

// A value at full precision, the shortest text that reads back to it.
QString exactText(double value);
// A value as a student's table would carry it: four significant digits.
QString roundedText(double value);

} // namespace orven
