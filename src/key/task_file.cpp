#include "key/task_file.h"

#include "core/text_file.h"
#include "initial_data/initial_data.h"
#include "key/protocol.h"
#include "properties/fluids.h"

#include <QFileInfo>
#include <QLocale>

#include <cmath>
#include <map>

namespace orven {

namespace {

const QString steamName = QStringLiteral("пар");

// The keys of a task file; the second spelling of a temperature's key is the
// Latin one a teacher may type on an English layout.
struct TaskKey {
    QString key;
    QString latin;
};
const QList<TaskKey>& taskKeys() {
    static const QList<TaskKey> keys{{QStringLiteral("тип"), {}},
                                     {QStringLiteral("горячий"), {}},
                                     {QStringLiteral("холодный"), {}},
                                     {QStringLiteral("g1"), {}},
                                     {QStringLiteral("t1н"), QStringLiteral("t1n")},
                                     {QStringLiteral("t1к"), QStringLiteral("t1k")},
                                     {QStringLiteral("p1"), {}},
                                     {QStringLiteral("tнас"), QStringLiteral("tsat")},
                                     {QStringLiteral("t2н"), QStringLiteral("t2n")},
                                     {QStringLiteral("t2к"), QStringLiteral("t2k")},
                                     {QStringLiteral("r"), {}},
                                     {QStringLiteral("eps"), {}}};
    return keys;
}

struct Entry {
    QString value;
    int line = 0;
};

// A number put into a formula: six significant digits.
QString n(double value) {
    return QString::number(value, 'g', 6);
}

QString resultLine(double value, const QString& unit) {
    return QStringLiteral("= %1 %2   (точно %3)").arg(roundedText(value), unit, exactText(value));
}

} // namespace

QString exactText(double value) {
    // Fixed notation: "0.0004", not "4e-04", as a teacher writes it.
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

QString roundedText(double value) {
    if (value == 0 || !std::isfinite(value)) {
        return exactText(value);
    }
    const int decimals =
        std::clamp(3 - static_cast<int>(std::floor(std::log10(std::abs(value)))), 0, 12);
    QString text = QString::number(value, 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0'))) {
            text.chop(1);
        }
        if (text.endsWith(QLatin1Char('.'))) {
            text.chop(1);
        }
    }
    return text;
}

bool readTaskFile(const QByteArray& contents, const QString& fileName, TaskData& task,
                  QString& error) {
    task = TaskData{};
    const FileFault fail(fileName, error);
    QList<TextLine> lines;
    if (!readTextLines(contents, fileName, lines, error)) {
        return false;
    }

    std::map<QString, Entry> entries;
    for (const TextLine& textLine : lines) {
        const int lineNumber = textLine.number;
        const QString& line = textLine.text;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0) {
            return fail(lineNumber,
                        QStringLiteral("нужна строка «ключ = значение», а не «%1»").arg(line));
        }
        QString key = line.left(equals).trimmed().toLower();
        const QString value = line.mid(equals + 1).trimmed();
        QStringList names;
        for (const TaskKey& known : taskKeys()) {
            names << known.key;
            if (key == known.latin) {
                key = known.key;
            }
        }
        if (!names.contains(key)) {
            return fail(lineNumber, QStringLiteral("неизвестный ключ «%1»; ключи: %2")
                                        .arg(key, names.join(QStringLiteral(", "))));
        }
        if (const auto seen = entries.find(key); seen != entries.end()) {
            return fail(lineNumber, QStringLiteral("ключ «%1» задан второй раз (первый раз в "
                                                   "строке %2)")
                                        .arg(key)
                                        .arg(seen->second.line));
        }
        if (value.isEmpty()) {
            return fail(lineNumber, QStringLiteral("у ключа «%1» нет значения").arg(key));
        }
        entries[key] = {value, lineNumber};
    }

    const auto has = [&](const char* key) { return entries.count(QString::fromUtf8(key)) > 0; };
    const auto number = [&](const char* key, double& value) {
        const Entry& entry = entries.at(QString::fromUtf8(key));
        if (!parseDecimal(entry.value, value)) {
            return fail(
                entry.line,
                QStringLiteral("%1: «%2» — не число").arg(QString::fromUtf8(key), entry.value));
        }
        return true;
    };
    if (!has("тип")) {
        return fail(0, QStringLiteral("не задан тип: нужна строка «тип = холодильник» или «тип = "
                                      "конденсатор»"));
    }
    const Entry& type = entries.at(QStringLiteral("тип"));
    if (const std::optional<ExchangerType> named = exchangerTypeOfWord(type.value)) {
        task.type = *named;
    } else {
        return fail(type.line, QStringLiteral("неизвестный тип «%1»: нужно «холодильник» или "
                                              "«конденсатор»")
                                   .arg(type.value));
    }
    const bool condenser = task.type == ExchangerType::Condenser;

    // What each type needs and must not have.
    QStringList needed{QStringLiteral("g1"), QStringLiteral("холодный"), QStringLiteral("t2н"),
                       QStringLiteral("t2к"), QStringLiteral("r")};
    if (!condenser) {
        needed << QStringLiteral("горячий") << QStringLiteral("t1н") << QStringLiteral("t1к");
    }
    for (const QString& key : needed) {
        if (!entries.count(key)) {
            return fail(0, QStringLiteral("не задан ключ «%1»").arg(key));
        }
    }
    const QStringList steamKeys{QStringLiteral("p1"), QStringLiteral("tнас")};
    const QStringList liquidKeys{QStringLiteral("t1н"), QStringLiteral("t1к")};
    for (const QString& key : condenser ? liquidKeys : steamKeys) {
        if (entries.count(key)) {
            return fail(entries.at(key).line,
                        condenser ? QStringLiteral("у конденсатора вместо t1н и t1к задают "
                                                   "давление пара p1 или его температуру tнас")
                                  : QStringLiteral("«%1» — ключ конденсатора; у холодильника "
                                                   "задают t1н и t1к")
                                        .arg(key));
        }
    }
    if (condenser && has("p1") == has("tнас")) {
        return fail(0, QStringLiteral("у конденсатора нужно одно из двух: давление пара p1 (МПа) "
                                      "или температура насыщения tнас (°C)"));
    }

    if (!number("g1", task.hotFlow) || !number("t2н", task.coldIn) ||
        !number("t2к", task.coldOut) || !number("r", task.resistance)) {
        return false;
    }
    if (has("eps") && !number("eps", task.drivingForce)) {
        return false;
    }
    task.cold = entries.at(QStringLiteral("холодный")).value.simplified();
    if (condenser) {
        if (has("горячий") &&
            entries.at(QStringLiteral("горячий")).value.simplified().toLower() != steamName) {
            return fail(entries.at(QStringLiteral("горячий")).line,
                        QStringLiteral("у конденсатора горячий теплоноситель — пар"));
        }
        task.hot = steamName;
        double value = 0;
        if (has("p1")) {
            if (!number("p1", value)) {
                return false;
            }
            if (!(value >= lowestSteamPressure && value <= highestSteamPressure)) {
                return fail(entries.at(QStringLiteral("p1")).line,
                            QStringLiteral("давление пара p1 = %1 МПа вне интервала от %2 до %3 "
                                           "МПа")
                                .arg(exactText(value), exactText(lowestSteamPressure),
                                     exactText(highestSteamPressure)));
            }
            task.steamPressure = value;
        } else {
            if (!number("tнас", value)) {
                return false;
            }
            const double lowest = saturationTemperature(lowestSteamPressure);
            const double highest = saturationTemperature(highestSteamPressure);
            if (!(value >= lowest && value <= highest)) {
                return fail(entries.at(QStringLiteral("tнас")).line,
                            QStringLiteral("температура насыщения tнас = %1 °C вне интервала от "
                                           "%2 до %3 °C (давление от %4 до %5 МПа)")
                                .arg(exactText(value), roundedText(lowest), roundedText(highest),
                                     exactText(lowestSteamPressure),
                                     exactText(highestSteamPressure)));
            }
            task.steamTemperature = value;
        }
    } else {
        task.hot = entries.at(QStringLiteral("горячий")).value.simplified();
        if (task.hot.toLower() == steamName) {
            return fail(entries.at(QStringLiteral("горячий")).line,
                        QStringLiteral("пар — горячий теплоноситель конденсатора, а это "
                                       "холодильник"));
        }
        if (!number("t1н", task.hotIn) || !number("t1к", task.hotOut)) {
            return false;
        }
    }
    if (task.cold.toLower() == steamName) {
        return fail(entries.at(QStringLiteral("холодный")).line,
                    QStringLiteral("холодный теплоноситель — жидкость, а не пар"));
    }
    return true;
}

bool prepareTask(const TaskData& task, const QStringList& fluidFolders, PreparedTask& prepared,
                 QString& error, TaskFault* fault) {
    prepared = PreparedTask{};
    const auto failed = [&](TaskFault kind) {
        if (fault != nullptr) {
            *fault = kind;
        }
        return false;
    };
    const bool condenser = task.type == ExchangerType::Condenser;
    double saturation = 0;
    if (condenser) {
        saturation = task.steamTemperature ? *task.steamTemperature
                                           : saturationTemperature(*task.steamPressure);
    }
    const double hotIn = condenser ? saturation : task.hotIn;
    const double hotOut = condenser ? saturation : task.hotOut;
    const QString hotInName = condenser ? QStringLiteral("tнас") : QStringLiteral("t1н");
    const QString hotOutName = condenser ? QStringLiteral("tнас") : QStringLiteral("t1к");

    // The temperatures must not cross.
    const auto above = [&](const QString& a, double x, const QString& b, double y,
                           const QString& why) {
        if (x > y) {
            return true;
        }
        error = QStringLiteral("%1 = %2 °C не выше %3 = %4 °C: %5")
                    .arg(a, exactText(x), b, exactText(y), why);
        return false;
    };
    if ((!condenser && !above(QStringLiteral("t1н"), task.hotIn, QStringLiteral("t1к"), task.hotOut,
                              QStringLiteral("горячий теплоноситель должен остывать"))) ||
        !above(QStringLiteral("t2к"), task.coldOut, QStringLiteral("t2н"), task.coldIn,
               QStringLiteral("холодный теплоноситель должен нагреваться")) ||
        !above(hotInName, hotIn, QStringLiteral("t2к"), task.coldOut,
               QStringLiteral("температуры пересекаются: горячий теплоноситель на входе должен "
                              "быть теплее холодного на выходе")) ||
        !above(hotOutName, hotOut, QStringLiteral("t2н"), task.coldIn,
               QStringLiteral("температуры пересекаются: горячий теплоноситель на выходе должен "
                              "быть теплее холодного на входе"))) {
        return failed(TaskFault::Crossing);
    }

    Fluid hotFluid = water();
    Fluid coldFluid;
    if (!findFluid(task.cold, fluidFolders, coldFluid, error) ||
        (!condenser && !findFluid(task.hot, fluidFolders, hotFluid, error))) {
        return failed(TaskFault::Fluid);
    }
    prepared.hotGenitive = condenser ? QString() : hotFluid.genitive;
    for (const Fluid* fluid :
         condenser ? QList<const Fluid*>{&coldFluid} : QList<const Fluid*>{&hotFluid, &coldFluid}) {
        const QString line = QStringLiteral("%1: %2").arg(
            fluid->name, fluid->reference.isEmpty()
                             ? QStringLiteral("таблица %1").arg(QFileInfo(fluid->source).fileName())
                             : fluid->reference);
        if (!prepared.references.contains(line)) {
            prepared.references << line;
        }
    }

    Protocol p;
    p.note(QStringLiteral("Тип теплообменника: %1").arg(exchangerTypeWord(task.type)));
    p.note(QStringLiteral("Метод: свойства жидкости — при средней арифметической температуре "
                          "входа и выхода; конденсата — при температуре насыщения; противоток"));

    LiquidProperties hot;
    double r = 0;
    const auto properties = [&](const QString& stream, const Fluid& fluid, double celsius,
                                LiquidProperties& out) {
        if (!fluidProperties(fluid, celsius, out, error)) {
            error = QStringLiteral("%1: %2").arg(stream, error);
            return false;
        }
        p.note(QStringLiteral("%1 при %2 °C (%3):").arg(fluid.name, n(celsius), fluid.source));
        return true;
    };
    const auto listProperties = [&](int index, const LiquidProperties& liquid) {
        p.note(QStringLiteral("  ρ%1 = %2 кг/м^3, μ%1 = %3 Па·с, c%1 = %4 Дж/(кг·К), λ%1 = %5 "
                              "Вт/(м·К)")
                   .arg(index)
                   .arg(n(liquid.density), n(liquid.viscosity), n(liquid.heatCapacity),
                        n(liquid.conductivity)));
    };

    int step = 1;
    const auto title = [&](const QString& text) {
        p.title(QStringLiteral("%1. %2").arg(step++).arg(text));
    };
    double q = 0;
    if (condenser) {
        title(QStringLiteral("Насыщенный пар"));
        if (task.steamPressure) {
            p.step(QStringLiteral("tнас = T_s(p1) − 273.15, °C (IAPWS-IF97, уравнение 31)"),
                   QStringLiteral("tнас = T_s(%1 МПа) − 273.15").arg(n(*task.steamPressure)),
                   resultLine(saturation, QStringLiteral("°C")));
        } else {
            p.note(QStringLiteral("tнас = %1 °C (задано); давление p_s = %2 МПа (IAPWS-IF97, "
                                  "уравнение 30)")
                       .arg(n(saturation), n(saturationPressure(saturation))));
        }
        r = condensationHeat(saturation);
        p.step(QStringLiteral("r = h″ − h′, Дж/кг (IAPWS-IF97, области 2 и 1 на линии "
                              "насыщения)"),
               QStringLiteral("r = h″(%1 °C) − h′(%1 °C)").arg(n(saturation)),
               resultLine(r, QStringLiteral("Дж/кг")));
        title(QStringLiteral("Свойства конденсата при температуре насыщения"));
        if (!properties(QStringLiteral("конденсат"), hotFluid, saturation, hot)) {
            return failed(TaskFault::Property);
        }
        listProperties(1, hot);
        title(QStringLiteral("Тепловая нагрузка"));
        q = task.hotFlow * r;
        p.step(QStringLiteral("Q = G1 · r, Вт"),
               QStringLiteral("Q = %1 · %2").arg(n(task.hotFlow), n(r)),
               resultLine(q, QStringLiteral("Вт")));
    } else {
        title(QStringLiteral("Свойства горячего теплоносителя"));
        const double mean = (task.hotIn + task.hotOut) / 2;
        p.step(QStringLiteral("t1 = (t1н + t1к) / 2, °C"),
               QStringLiteral("t1 = (%1 + %2) / 2").arg(n(task.hotIn), n(task.hotOut)),
               resultLine(mean, QStringLiteral("°C")));
        if (!properties(QStringLiteral("горячий теплоноситель"), hotFluid, mean, hot)) {
            return failed(TaskFault::Property);
        }
        listProperties(1, hot);
        title(QStringLiteral("Тепловая нагрузка"));
        q = task.hotFlow * hot.heatCapacity * (task.hotIn - task.hotOut);
        p.step(QStringLiteral("Q = G1 · c1 · (t1н − t1к), Вт"),
               QStringLiteral("Q = %1 · %2 · (%3 − %4)")
                   .arg(n(task.hotFlow), n(hot.heatCapacity), n(task.hotIn), n(task.hotOut)),
               resultLine(q, QStringLiteral("Вт")));
    }

    title(QStringLiteral("Свойства холодного теплоносителя"));
    const double coldMean = (task.coldIn + task.coldOut) / 2;
    p.step(QStringLiteral("t2 = (t2н + t2к) / 2, °C"),
           QStringLiteral("t2 = (%1 + %2) / 2").arg(n(task.coldIn), n(task.coldOut)),
           resultLine(coldMean, QStringLiteral("°C")));
    LiquidProperties cold;
    if (!properties(QStringLiteral("холодный теплоноситель"), coldFluid, coldMean, cold)) {
        return failed(TaskFault::Property);
    }
    listProperties(2, cold);
    title(QStringLiteral("Расход холодного теплоносителя из теплового баланса"));
    const double coldFlow = q / (cold.heatCapacity * (task.coldOut - task.coldIn));
    p.step(QStringLiteral("G2 = Q / (c2 · (t2к − t2н)), кг/с"),
           QStringLiteral("G2 = %1 / (%2 · (%3 − %4))")
               .arg(n(q), n(cold.heatCapacity), n(task.coldOut), n(task.coldIn)),
           resultLine(coldFlow, QStringLiteral("кг/с")));

    title(QStringLiteral("Средняя разность температур (противоток)"));
    const double big = hotIn - task.coldOut;
    const double small = hotOut - task.coldIn;
    p.step(QStringLiteral("Δt' = %1 − t2к, Δt\" = %2 − t2н, °C").arg(hotInName, hotOutName),
           QStringLiteral("Δt' = %1 − %2, Δt\" = %3 − %4")
               .arg(n(hotIn), n(task.coldOut), n(hotOut), n(task.coldIn)),
           QStringLiteral("= %1 и %2 °C").arg(n(big), n(small)));
    double dt = big;
    if (std::abs(big - small) <= 1e-9 * std::max(big, small)) {
        p.note(QStringLiteral("Разности на концах равны: Δt = Δt' = %1 °C").arg(n(big)));
    } else {
        dt = (big - small) / std::log(big / small);
        p.step(QStringLiteral("Δt = (Δt' − Δt\") / ln(Δt' / Δt\"), °C"),
               QStringLiteral("Δt = (%1 − %2) / ln(%1 / %2)").arg(n(big), n(small)),
               resultLine(dt, QStringLiteral("°C")));
    }

    DesignData& design = prepared.design;
    design.type = task.type;
    const std::array<double, initialDataCount + 1> values{0,
                                                          task.hotFlow,
                                                          hot.conductivity,
                                                          hot.density,
                                                          hot.viscosity,
                                                          hot.heatCapacity,
                                                          coldFlow,
                                                          cold.conductivity,
                                                          cold.density,
                                                          cold.viscosity,
                                                          cold.heatCapacity,
                                                          dt,
                                                          task.resistance,
                                                          q,
                                                          task.drivingForce};
    DesignCase check;
    for (int slot = 1; slot <= initialDataCount; ++slot) {
        design.values[slot] = values[static_cast<std::size_t>(slot)];
        design.texts[slot] = exactText(design.values[slot]);
        design.typedTexts[slot] = design.texts[slot];
        check.values[slot] = design.values[slot];
    }
    checkInitialData(check);
    if (check.initialDataInvalid) {
        const int slot = check.firstInvalidParameter;
        error = QStringLiteral("исходное данное «%1» (%2) = %3 вне допустимого интервала %4")
                    .arg(parameterName(task.type, slot), designKeys().at(slot), design.texts[slot],
                         admissibleText(slot));
        return failed(TaskFault::Range);
    }

    p.title(QStringLiteral("Исходные данные для ORVEN"));
    for (int slot = 1; slot <= initialDataCount; ++slot) {
        p.note(QStringLiteral("%1 = %2   %3   (точно %4)")
                   .arg(initialDataSymbols().at(slot), roundedText(design.values[slot]),
                        parameterName(task.type, slot), design.texts[slot]));
    }
    prepared.protocol = p.lines();
    return true;
}

QString taskProse(const TaskData& task, const QString& hotGenitive) {
    // Numbers as a Russian text writes them: a decimal comma.
    const auto v = [](double value) {
        return QString::number(value, 'g', 10).replace(QLatin1Char('.'), QLatin1Char(','));
    };
    const QString cold = QStringLiteral("Охлаждающая среда — %1, нагревается от %2 до %3 °C.")
                             .arg(task.cold, v(task.coldIn), v(task.coldOut));
    QString hot;
    if (task.type == ExchangerType::Condenser) {
        hot = QStringLiteral("Рассчитать пластинчатый конденсатор для конденсации %1 кг/с "
                             "насыщенного водяного пара %2 (без переохлаждения конденсата).")
                  .arg(v(task.hotFlow), task.steamPressure
                                            ? QStringLiteral("давлением %1 МПа (абсолютное)")
                                                  .arg(v(*task.steamPressure))
                                            : QStringLiteral("с температурой насыщения %1 °C")
                                                  .arg(v(*task.steamTemperature)));
    } else {
        hot = QStringLiteral("Рассчитать пластинчатый теплообменник-холодильник для охлаждения "
                             "%1 кг/с %2 от %3 до %4 °C.")
                  .arg(v(task.hotFlow),
                       hotGenitive.isEmpty() ? QStringLiteral("жидкости «%1»").arg(task.hot)
                                             : hotGenitive,
                       v(task.hotIn), v(task.hotOut));
    }
    return hot + QLatin1Char(' ') + cold +
           QStringLiteral(" Сумма термических сопротивлений стенки и загрязнений %1 м²·К/Вт. "
                          "Движение теплоносителей — противоток%2.")
               .arg(v(task.resistance), task.drivingForce == 1
                                            ? QString()
                                            : QStringLiteral("; поправка к движущей силе ε = %1")
                                                  .arg(v(task.drivingForce)));
}

QString preparedDesignText(const PreparedTask& prepared, const QString& source) {
    const DesignData& design = prepared.design;
    QStringList lines{
        QStringLiteral("# Исходные данные: %1 (orven-key).").arg(source),
        QStringLiteral("# Над каждым значением — оно же, округлённое до четырёх значащих цифр."),
        QStringLiteral("тип = %1").arg(exchangerTypeWord(design.type))};
    for (int slot = 1; slot <= initialDataCount; ++slot) {
        lines << QStringLiteral("# %1: %2")
                     .arg(parameterName(design.type, slot), roundedText(design.values[slot]))
              << QStringLiteral("%1 = %2").arg(designKeys().at(slot), design.texts[slot]);
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace orven
