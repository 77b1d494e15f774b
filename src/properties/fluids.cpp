#include "properties/fluids.h"

#include "core/bounded_file.h"
#include "core/text_file.h"

#include <QDir>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>

#include <array>
#include <cmath>
#include <vector>

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

// A number exactly as its text writes it: ±digits × 10^exponent.
struct Decimal {
    bool negative = false;
    QString digits; // without leading zeros; empty for zero
    int exponent = 0;
};

bool parseExact(const QString& text, Decimal& d) {
    static const QRegularExpression number(
        QStringLiteral("^([+-]?)(\\d*)(?:[.,](\\d*))?(?:[eE]([+-]?\\d{1,4}))?$"));
    const QRegularExpressionMatch m = number.match(text.trimmed());
    if (!m.hasMatch() || m.capturedLength(2) + m.capturedLength(3) == 0) {
        return false;
    }
    d.negative = m.captured(1) == QStringLiteral("-");
    d.digits = m.captured(2) + m.captured(3);
    d.exponent = m.captured(4).toInt() - static_cast<int>(m.capturedLength(3));
    while (d.digits.startsWith(QLatin1Char('0'))) {
        d.digits.remove(0, 1);
    }
    return d.digits.size() <= 40;
}

// The exact product, digit by digit.
Decimal times(const Decimal& a, const Decimal& b) {
    std::vector<int> product(static_cast<std::size_t>(a.digits.size() + b.digits.size()), 0);
    for (qsizetype i = a.digits.size() - 1; i >= 0; --i) {
        for (qsizetype j = b.digits.size() - 1; j >= 0; --j) {
            product[static_cast<std::size_t>(i + j + 1)] +=
                a.digits.at(i).digitValue() * b.digits.at(j).digitValue();
        }
    }
    for (std::size_t k = product.size(); k-- > 1;) {
        product[k - 1] += product[k] / 10;
        product[k] %= 10;
    }
    Decimal d{a.negative != b.negative, QString(), a.exponent + b.exponent};
    for (const int digit : product) {
        if (digit != 0 || !d.digits.isEmpty()) {
            d.digits += QChar(u'0' + digit);
        }
    }
    return d;
}

// The double nearest the exact number, as the C library reads its text.
double toDouble(const Decimal& d) {
    if (d.digits.isEmpty()) {
        return 0;
    }
    const QString text = QStringLiteral("%1%2e%3")
                             .arg(d.negative ? QStringLiteral("-") : QString(), d.digits)
                             .arg(d.exponent);
    return QLocale::c().toDouble(text);
}

// A unit's factor to SI as a decimal power of ten, and whether it is a
// kinematic viscosity (to be multiplied by the density).
struct Unit {
    int powerOfTen = 0;
    bool kinematic = false;
};

// A unit as typed, in Russian or Latin letters, with ·, *, ., blanks,
// brackets, ³ or 3 as they come: transliterated and stripped.
QString unitKey(const QString& text) {
    static const QHash<QChar, QString> latin{
        {u'к', QStringLiteral("k")}, {u'г', QStringLiteral("g")}, {u'м', QStringLiteral("m")},
        {u'с', QStringLiteral("s")}, {u'д', QStringLiteral("d")}, {u'ж', QStringLiteral("zh")},
        {u'п', QStringLiteral("p")}, {u'а', QStringLiteral("a")}, {u'в', QStringLiteral("v")},
        {u'т', QStringLiteral("t")}, {u'л', QStringLiteral("l")}, {u'³', QStringLiteral("3")},
        {u'²', QStringLiteral("2")}, {u'µ', QStringLiteral("u")}, {u'μ', QStringLiteral("u")},
        {u'н', QStringLiteral("n")}};
    QString key;
    for (const QChar c : text.toLower()) {
        if (QStringLiteral("·*.⋅ ()°^").contains(c)) {
            continue;
        }
        key += latin.value(c, QString(c));
    }
    return key;
}

// The units of one column: the SI unit's own spellings first.
const QList<QHash<QString, Unit>>& columnUnits() {
    static const QList<QHash<QString, Unit>> units{{{QStringLiteral("kg/m3"), {0}},
                                                    {QStringLiteral("g/sm3"), {3}},
                                                    {QStringLiteral("g/cm3"), {3}},
                                                    {QStringLiteral("t/m3"), {3}},
                                                    {QStringLiteral("kg/l"), {3}},
                                                    {QStringLiteral("kg/dm3"), {3}}},
                                                   {{QStringLiteral("pas"), {0}},
                                                    {QStringLiteral("mpas"), {-3}},
                                                    {QStringLiteral("sp"), {-3}},
                                                    {QStringLiteral("cp"), {-3}},
                                                    {QStringLiteral("ukpas"), {-6}},
                                                    {QStringLiteral("upas"), {-6}},
                                                    {QStringLiteral("m2/s"), {0, true}},
                                                    {QStringLiteral("sm2/s"), {-4, true}},
                                                    {QStringLiteral("cm2/s"), {-4, true}},
                                                    {QStringLiteral("st"), {-4, true}},
                                                    {QStringLiteral("mm2/s"), {-6, true}},
                                                    {QStringLiteral("sst"), {-6, true}},
                                                    {QStringLiteral("cst"), {-6, true}}},
                                                   {{QStringLiteral("dzh/kgk"), {0}},
                                                    {QStringLiteral("j/kgk"), {0}},
                                                    {QStringLiteral("kdzh/kgk"), {3}},
                                                    {QStringLiteral("kj/kgk"), {3}}},
                                                   {{QStringLiteral("vt/mk"), {0}},
                                                    {QStringLiteral("w/mk"), {0}},
                                                    {QStringLiteral("mvt/mk"), {-3}},
                                                    {QStringLiteral("mw/mk"), {-3}}}};
    return units;
}

// A value outside what a liquid may have, and the slip of units it looks
// like: the unit it would be right in, and the unit needed.
QString implausible(int column, double value, double density) {
    struct Slip {
        double factor;
        const char16_t* unit;
    };
    struct Column {
        const char16_t* quantity;
        const char16_t* unit;
        PlausibleRange range;
        QList<Slip> slips;
    };
    const std::array<Column, 4> columns{
        Column{u"плотность ρ", u"кг/м³", plausibleLiquid.density, {{1000, u"г/см³"}}},
        Column{u"вязкость μ",
               u"Па·с",
               plausibleLiquid.viscosity,
               {{1e-3, u"мПа·с (сП)"}, {density, u"кинематическую вязкость в м²/с"}}},
        Column{u"теплоёмкость c",
               u"Дж/(кг·К)",
               plausibleLiquid.heatCapacity,
               {{1000, u"кДж/(кг·К)"}, {4186.8, u"ккал/(кг·К)"}}},
        Column{u"теплопроводность λ",
               u"Вт/(м·К)",
               plausibleLiquid.conductivity,
               {{1e-3, u"мВт/(м·К)"}}}};
    const Column& c = columns.at(static_cast<std::size_t>(column));
    const auto within = [&](double v) { return v >= c.range.low && v <= c.range.high; };
    if (within(value)) {
        return QString();
    }
    const QString shown =
        QString::number(value, 'g', 10).replace(QLatin1Char('.'), QLatin1Char(','));
    for (const Slip& slip : c.slips) {
        if (within(value * slip.factor)) {
            return QStringLiteral("%1 = %2 — похоже на %3, а нужны %4; другие единицы "
                                  "объявляются строкой «единицы = ρ μ c λ»")
                .arg(QString::fromUtf16(c.quantity), shown, QString::fromUtf16(slip.unit),
                     QString::fromUtf16(c.unit));
        }
    }
    return QStringLiteral("%1 = %2 %3 — у жидкости так не бывает (от %4 до %5 %3)")
        .arg(QString::fromUtf16(c.quantity), shown, QString::fromUtf16(c.unit))
        .arg(c.range.low)
        .arg(c.range.high);
}

} // namespace

double Fluid::lowestCelsius() const {
    return isWater() ? lowestWaterCelsius : rows.first().celsius;
}

double Fluid::highestCelsius() const {
    return isWater() ? highestWaterCelsius : rows.last().celsius;
}

Fluid water() {
    const QString formulations =
        QStringLiteral("IAPWS-IF97 (плотность, теплоёмкость), IAPWS 2008 (вязкость), "
                       "IAPWS 2011 (теплопроводность); на линии насыщения");
    return {waterName, QStringLiteral("воды"), formulations, formulations, {}};
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
    // The handbook a table cites, in a comment of its own.
    static const QRegularExpression reference(QStringLiteral("^\\s*#\\s*Источник\\s*:\\s*(.+)$"),
                                              QRegularExpression::CaseInsensitiveOption |
                                                  QRegularExpression::MultilineOption);
    if (const QRegularExpressionMatch m = reference.match(QString::fromUtf8(contents));
        m.hasMatch()) {
        fluid.reference = m.captured(1).simplified();
    }
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList columns{QStringLiteral("температура"), QStringLiteral("плотность"),
                              QStringLiteral("вязкость"), QStringLiteral("теплоёмкость"),
                              QStringLiteral("теплопроводность")};
    std::array<Unit, 4> units{};
    bool unitsGiven = false;
    for (const TextLine& textLine : lines) {
        const int lineNumber = textLine.number;
        const QString& line = textLine.text;
        if (const qsizetype equals = line.indexOf(QLatin1Char('=')); equals >= 0) {
            const QString key = line.left(equals).trimmed().toLower();
            const QString value = line.mid(equals + 1).simplified();
            if (key == QStringLiteral("род.") || key == QStringLiteral("родительный")) {
                fluid.genitive = value;
                continue;
            }
            if (key == QStringLiteral("единицы")) {
                const QStringList given = value.split(QLatin1Char(' '), Qt::SkipEmptyParts);
                if (unitsGiven || !fluid.rows.isEmpty()) {
                    return fail(lineNumber, QStringLiteral("единицы задаются один раз, до "
                                                           "строк чисел"));
                }
                if (given.size() != 4) {
                    return fail(lineNumber,
                                QStringLiteral("нужны 4 единицы (ρ, вязкость, c, λ), а не %1")
                                    .arg(given.size()));
                }
                for (int c = 0; c < 4; ++c) {
                    const auto& known = columnUnits().at(c);
                    const auto unit = known.constFind(unitKey(given.at(c)));
                    if (unit == known.cend()) {
                        return fail(lineNumber, QStringLiteral("%1: единица «%2» неизвестна")
                                                    .arg(columns.at(c + 1), given.at(c)));
                    }
                    units[static_cast<std::size_t>(c)] = *unit;
                }
                unitsGiven = true;
                continue;
            }
            if (key != QStringLiteral("жидкость")) {
                return fail(lineNumber,
                            QStringLiteral("неизвестный ключ «%1»: в таблице есть «жидкость = "
                                           "ИМЯ», «род. = ФОРМА», «единицы = ρ μ c λ» и "
                                           "строки чисел")
                                .arg(key));
            }
            if (!fluid.name.isEmpty()) {
                return fail(lineNumber, QStringLiteral("имя жидкости задано второй раз"));
            }
            fluid.name = value;
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
        std::array<Decimal, 5> numbers{};
        for (int c = 0; c < 5; ++c) {
            Decimal& d = numbers[static_cast<std::size_t>(c)];
            double checked = 0;
            if (!parseExact(fields.at(c), d) || !parseDecimal(fields.at(c), checked)) {
                return fail(lineNumber,
                            QStringLiteral("%1: «%2» — не число").arg(columns.at(c), fields.at(c)));
            }
            if (c > 0 && !(checked > 0)) {
                return fail(lineNumber, QStringLiteral("%1 должна быть больше нуля, а не %2")
                                            .arg(columns.at(c), fields.at(c)));
            }
        }
        // Into SI, exactly: a power of ten moves the decimal point; a
        // kinematic viscosity is multiplied by the row's density.
        std::array<double, 4> si{};
        for (int c = 0; c < 4; ++c) {
            Decimal d = numbers[static_cast<std::size_t>(c + 1)];
            const Unit& unit = units[static_cast<std::size_t>(c)];
            d.exponent += unit.powerOfTen;
            if (unit.kinematic) {
                Decimal density = numbers[1];
                density.exponent += units[0].powerOfTen;
                d = times(d, density);
            }
            si[static_cast<std::size_t>(c)] = toDouble(d);
        }
        for (int c = 0; c < 4; ++c) {
            if (const QString slip = implausible(c, si[static_cast<std::size_t>(c)], si[0]);
                !slip.isEmpty()) {
                return fail(lineNumber, slip);
            }
        }
        const double celsius = toDouble(numbers[0]);
        if (!fluid.rows.isEmpty() && !(celsius > fluid.rows.last().celsius)) {
            return fail(
                lineNumber,
                QStringLiteral("температура %1 °C не выше, чем в предыдущей строке (%2 °C): "
                               "строки идут по возрастанию температуры")
                    .arg(fields.at(0), temperatureText(fluid.rows.last().celsius)));
        }
        fluid.rows.append(FluidRow{celsius, {si[0], si[1], si[2], si[3]}});
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

QList<Fluid> knownFluids(const QStringList& folders) {
    QList<Fluid> fluids{water()};
    QStringList names{nameKey(waterName)};
    for (const QString& folder : folders) {
        const QStringList files =
            QDir(folder).entryList(QDir::Files, QDir::Name).mid(0, mostFilesInFolder);
        for (const QString& file : files) {
            QByteArray contents;
            Fluid table;
            QString error;
            if (readBoundedFile(QDir(folder).filePath(file), largestTable, &contents, nullptr,
                                FileOwner::Anyone) == FileRead::Read &&
                readFluidTable(contents, QDir(folder).filePath(file), table, error) &&
                !names.contains(nameKey(table.name))) {
                names << nameKey(table.name);
                fluids << table;
            }
        }
    }
    return fluids;
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
