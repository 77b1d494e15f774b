#include "properties/fluids.h"

#include "core/bounded_file.h"
#include "core/text_file.h"

#include <QDir>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace orven {

namespace {

// A handbook's table is a page or two; a folder of them a shelf.
constexpr qint64 largestTable = 1 << 20;
constexpr int mostFilesInFolder = 1000;

QString temperatureText(double celsius) {
    return QString::number(celsius, 'g', 10);
}

QString nameKey(const QString& name) {
    return name.simplified().toLower();
}

// One row's interpolation between two rows of a table.
LiquidProperties between(const FluidRow& a, const FluidRow& b, double celsius) {
    const double w = (celsius - a.celsius) / (b.celsius - a.celsius);
    // Exact at both rows.
    const auto mix = [w](double x, double y) { return x * (1 - w) + y * w; };
    const LiquidProperties& p = a.properties;
    const LiquidProperties& q = b.properties;
    return {mix(p.density, q.density), mix(p.viscosity, q.viscosity),
            mix(p.heatCapacity, q.heatCapacity), mix(p.conductivity, q.conductivity)};
}

} // namespace

double Fluid::lowestCelsius() const {
    return isWater() ? lowestWaterCelsius : rows.first().celsius;
}

double Fluid::highestCelsius() const {
    return isWater() ? highestWaterCelsius : rows.last().celsius;
}

Fluid water() {
    return {waterName,
            QStringLiteral("IAPWS-IF97 (плотность, теплоёмкость), IAPWS 2008 (вязкость), "
                           "IAPWS 2011 (теплопроводность); на линии насыщения"),
            {}};
}

bool parseDecimal(const QString& text, double& value) {
    QString s = text.trimmed();
    s.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    value = QLocale::c().toDouble(s, &ok);
    return ok && std::isfinite(value);
}

bool readFluidTable(const QByteArray& contents, const QString& fileName, Fluid& fluid,
                    QString& error) {
    fluid = Fluid{};
    fluid.source = fileName;
    const FileFault fail(fileName, error);
    QList<TextLine> lines;
    if (!readTextLines(contents, fileName, lines, error)) {
        return false;
    }
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList columns{QStringLiteral("температура"), QStringLiteral("плотность"),
                              QStringLiteral("вязкость"), QStringLiteral("теплоёмкость"),
                              QStringLiteral("теплопроводность")};
    for (const TextLine& textLine : lines) {
        const int lineNumber = textLine.number;
        const QString& line = textLine.text;
        if (const qsizetype equals = line.indexOf(QLatin1Char('=')); equals >= 0) {
            const QString key = line.left(equals).trimmed().toLower();
            if (key != QStringLiteral("жидкость")) {
                return fail(lineNumber, QStringLiteral("неизвестный ключ «%1»: в таблице есть "
                                                       "только «жидкость = ИМЯ» и строки чисел")
                                            .arg(key));
            }
            if (!fluid.name.isEmpty()) {
                return fail(lineNumber, QStringLiteral("имя жидкости задано второй раз"));
            }
            fluid.name = line.mid(equals + 1).simplified();
            if (fluid.name.isEmpty()) {
                return fail(lineNumber, QStringLiteral("пустое имя жидкости"));
            }
            continue;
        }
        if (fluid.name.isEmpty()) {
            return fail(lineNumber, QStringLiteral("перед строками чисел нужна строка "
                                                   "«жидкость = ИМЯ»"));
        }
        const QStringList fields = line.split(blanks);
        if (fields.size() != columns.size()) {
            return fail(
                lineNumber,
                QStringLiteral("нужно 5 чисел (t ρ μ c λ), а в строке %1").arg(fields.size()));
        }
        std::array<double, 5> numbers{};
        for (int c = 0; c < 5; ++c) {
            if (!parseDecimal(fields.at(c), numbers[static_cast<std::size_t>(c)])) {
                return fail(lineNumber,
                            QStringLiteral("%1: «%2» — не число").arg(columns.at(c), fields.at(c)));
            }
            if (c > 0 && !(numbers[static_cast<std::size_t>(c)] > 0)) {
                return fail(lineNumber, QStringLiteral("%1 должна быть больше нуля, а не %2")
                                            .arg(columns.at(c), fields.at(c)));
            }
        }
        if (!fluid.rows.isEmpty() && !(numbers[0] > fluid.rows.last().celsius)) {
            return fail(
                lineNumber,
                QStringLiteral("температура %1 °C не выше, чем в предыдущей строке (%2 °C): "
                               "строки идут по возрастанию температуры")
                    .arg(fields.at(0), temperatureText(fluid.rows.last().celsius)));
        }
        fluid.rows.append(FluidRow{numbers[0], {numbers[1], numbers[2], numbers[3], numbers[4]}});
    }
    if (fluid.name.isEmpty()) {
        return fail(0, QStringLiteral("нет строки «жидкость = ИМЯ»"));
    }
    if (fluid.rows.size() < 2) {
        return fail(0, QStringLiteral("в таблице жидкости «%1» нужно не меньше двух строк "
                                      "чисел")
                           .arg(fluid.name));
    }
    return true;
}

bool fluidProperties(const Fluid& fluid, double celsius, LiquidProperties& properties,
                     QString& error) {
    if (!(celsius >= fluid.lowestCelsius() && celsius <= fluid.highestCelsius())) {
        error = QStringLiteral("температура %1 °C вне %2 «%3»: от %4 до %5 °C")
                    .arg(temperatureText(celsius),
                         fluid.isWater() ? QStringLiteral("интервала свойств жидкости")
                                         : QStringLiteral("таблицы жидкости"),
                         fluid.name, temperatureText(fluid.lowestCelsius()),
                         temperatureText(fluid.highestCelsius()));
        return false;
    }
    if (fluid.isWater()) {
        properties = saturatedWater(celsius);
        return true;
    }
    qsizetype upper = 1;
    while (upper < fluid.rows.size() - 1 && fluid.rows.at(upper).celsius < celsius) {
        ++upper;
    }
    properties = between(fluid.rows.at(upper - 1), fluid.rows.at(upper), celsius);
    return true;
}

QStringList fluidFolders(const QString& givenFolder, const QString& installedFolder) {
    QStringList folders;
    if (!givenFolder.isEmpty()) {
        folders << givenFolder;
    }
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (!QDir::isAbsolutePath(data)) {
        data = QDir::homePath() + QStringLiteral("/.local/share");
    }
    folders << QDir::cleanPath(data + QStringLiteral("/orven/fluids"));
    if (!installedFolder.isEmpty()) {
        folders << installedFolder;
    }
    return folders;
}

bool findFluid(const QString& name, const QStringList& folders, Fluid& fluid, QString& error) {
    const QString wanted = nameKey(name);
    if (wanted == waterName) {
        fluid = water();
        return true;
    }
    QStringList known{waterName};
    for (const QString& folder : folders) {
        const QStringList files =
            QDir(folder).entryList(QDir::Files, QDir::Name).mid(0, mostFilesInFolder);
        Fluid found;
        for (const QString& file : files) {
            const QString path = QDir(folder).filePath(file);
            QByteArray contents;
            if (readBoundedFile(path, largestTable, &contents, nullptr, FileOwner::Anyone) !=
                FileRead::Read) {
                continue;
            }
            Fluid table;
            QString tableError;
            const bool read = readFluidTable(contents, path, table, tableError);
            if (nameKey(table.name) != wanted) {
                if (read && !known.contains(table.name)) {
                    known << table.name;
                }
                continue;
            }
            if (!read) {
                error = tableError;
                return false;
            }
            if (!found.name.isEmpty()) {
                error = QStringLiteral("жидкость «%1» задана в двух таблицах: %2 и %3")
                            .arg(name, found.source, path);
                return false;
            }
            found = table;
        }
        if (!found.name.isEmpty()) {
            fluid = found;
            return true;
        }
    }
    error = QStringLiteral("нет таблицы жидкости «%1»; есть: %2 (таблицы ищутся в %3)")
                .arg(name.simplified(), known.join(QStringLiteral(", ")),
                     folders.join(QStringLiteral(", ")));
    return false;
}

} // namespace orven
