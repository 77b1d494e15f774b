// From a task to the 14 initial data: the task file's faults, the protocol of
// prepare, the teacher's fluid tables and the printed table read back. The
// values themselves are checked against python3-iapws by check_water.py.

#include "key/design_file.h"
#include "properties/fluids.h"
#include "support/key_runs.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace orven;
using orven::test::Run;
using orven::test::runInProcess;

namespace {

const QByteArray cooler = "тип = холодильник\n"
                          "горячий = вода\n"
                          "g1 = 2\n"
                          "t1н = 90\n"
                          "t1к = 50\n"
                          "холодный = вода\n"
                          "t2н = 15\n"
                          "t2к = 45\n"
                          "r = 0.00031\n";

// A table written as a teacher copies a handbook page: decimal commas,
// comments, a blank line and a tab. Its numbers are made up for the test and
// are no real substance's.
const QByteArray teacherTable = "# Условная жидкость: числа только для проверки чтения таблиц\n"
                                "жидкость = Условная Жидкость\n"
                                "\n"
                                "# t    ρ     μ        c     λ\n"
                                "40   880   0,005    1900  0,130   # первая строка\n"
                                "60\t870   0,003    1980  0,128\n"
                                "80   860   0,002    2060  0,126\n";

// The task with one line replaced (key = value, or a new line when absent).
QByteArray withLine(const QByteArray& task, const QByteArray& key, const QByteArray& line) {
    QList<QByteArray> lines = task.split('\n');
    bool replaced = false;
    for (QByteArray& l : lines) {
        if (l.startsWith(key + " =")) {
            l = line;
            replaced = true;
        }
    }
    if (!replaced) {
        lines.insert(lines.size() - 1, line);
    }
    return lines.join('\n');
}

} // namespace

class PrepareTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QFile table(dir_.filePath(QStringLiteral("условная.txt")));
        QVERIFY(table.open(QIODevice::WriteOnly));
        table.write(teacherTable);
        table.close();
        // Neither a link nor a file that is no table keeps the folder from
        // being searched.
        QFile::link(QStringLiteral("/etc/passwd"), dir_.filePath(QStringLiteral("link.txt")));
        QFile junk(dir_.filePath(QStringLiteral("notes.txt")));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("это не таблица\n");
    }

    // Each fault of a task is one line that says what is wrong; nothing is
    // written to standard output.
    void taskFaults_data() {
        QTest::addColumn<QByteArray>("task");
        QTest::addColumn<QString>("expected");
        const QByteArray condenser = "тип = конденсатор\ng1 = 0.3\np1 = 0.2\nхолодный = вода\n"
                                     "t2н = 20\nt2к = 60\nr = 0.0004\n";
        QTest::newRow("hot not cooled")
            << withLine(cooler, "t1к", "t1к = 95") << "t1н = 90 °C не выше t1к = 95 °C";
        QTest::newRow("cold not warmed")
            << withLine(cooler, "t2к", "t2к = 15") << "t2к = 15 °C не выше t2н = 15 °C";
        QTest::newRow("crossing at the hot end")
            << withLine(cooler, "t2к", "t2к = 91") << "t1н = 90 °C не выше t2к = 91 °C";
        QTest::newRow("crossing at the cold end")
            << withLine(cooler, "t1к", "t1к = 14") << "t1к = 14 °C не выше t2н = 15 °C";
        QTest::newRow("condensing below the cold outlet")
            << withLine(condenser, "t2к", "t2к = 125") << "tнас = 120.2";
        QTest::newRow("water past its formulation")
            << withLine(withLine(cooler, "t1н", "t1н = 260"), "t1к", "t1к = 170")
            << "горячий теплоноситель: температура 215 °C вне интервала свойств жидкости «вода»: "
               "от 0 до 200 °C";
        QTest::newRow("outside the teacher's table")
            << withLine(withLine(cooler, "горячий", "горячий = условная   жидкость"), "t1к",
                        "t1к = 80")
            << "температура 85 °C вне таблицы жидкости «Условная Жидкость»: от 40 до 80 °C";
        QTest::newRow("initial datum out of range")
            << withLine(cooler, "g1", "g1 = 2000")
            << "исходное данное «Массовый расход горячего теплоносителя (Кг/с)» (g1) = 2000 вне "
               "допустимого интервала 0 < x ≤ 1500";
        QTest::newRow("unknown fluid")
            << withLine(cooler, "холодный", "холодный = рассол")
            << "нет таблицы жидкости «рассол»; есть: вода, Условная Жидкость";
        QTest::newRow("bad number")
            << withLine(cooler, "g1", "g1 = 2 кг/с") << "строка 3: g1: «2 кг/с» — не число";
        QTest::newRow("unknown key") << withLine(cooler, "t3", "t3 = 1") << "неизвестный ключ «t3»";
        QTest::newRow("missing key") << withLine(cooler, "r", "") << "не задан ключ «r»";
        QTest::newRow("key twice")
            << cooler + "g1 = 3\n"
            << "строка 10: ключ «g1» задан второй раз (первый раз в строке 3)";
        QTest::newRow("cooler with steam") << withLine(cooler, "горячий", "горячий = пар")
                                           << "пар — горячий теплоноситель конденсатора";
        QTest::newRow("condenser with t1н") << condenser + "t1н = 100\n"
                                            << "у конденсатора вместо t1н и t1к задают";
        QTest::newRow("condenser with both") << condenser + "tнас = 120\n"
                                             << "нужно одно из двух";
        QTest::newRow("steam pressure out of range")
            << withLine(condenser, "p1", "p1 = 2") << "p1 = 2 МПа вне интервала от 0.01 до 1.5";
        QTest::newRow("not UTF-8")
            << QByteArray("тип = холодильник\n\xff\n") << "не в кодировке UTF-8";
    }
    void taskFaults() {
        QFETCH(QByteArray, task);
        QFETCH(QString, expected);
        const Run run = runInProcess({QStringLiteral("prepare"), QStringLiteral("-"),
                                      QStringLiteral("--fluids"), dir_.path()},
                                     task);
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(expected), qPrintable(run.err));
        QVERIFY2(run.err.startsWith(QStringLiteral("orven-key: стандартный ввод")),
                 qPrintable(run.err));
        QCOMPARE(run.err.count(QLatin1Char('\n')), 1);
        QVERIFY(run.out.isEmpty());
    }

    // The protocol shows each step with its numbers; equal end differences
    // give that difference, not a 0/0 logarithmic mean.
    void protocolSteps_data() {
        QTest::addColumn<QByteArray>("task");
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("cooler") << cooler
                                << QStringList{"t1 = (90 + 50) / 2",
                                               "Q = G1 · c1 · (t1н − t1к), Вт",
                                               "Q = 2 · 4188.25 · (90 − 50)",
                                               "G2 = Q / (c2 · (t2к − t2н)), кг/с",
                                               "Δt = (45 − 35) / ln(45 / 35)",
                                               "Δt = 39.79   Средняя разность температур"};
        QTest::newRow("equal end differences")
            << withLine(withLine(cooler, "t2н", "t2н = 10"), "t2к", "t2к = 50")
            << QStringList{"Разности на концах равны: Δt = Δt' = 40 °C"};
        QTest::newRow("condenser")
            << QByteArray("тип = конденсатор\nгорячий = пар\ng1 = 0,3\ntнас = 120\nхолодный = "
                          "вода\nt2н = 20\nt2к = 60\nr = 0.0004\neps = 0.9\n")
            << QStringList{"tнас = 120 °C (задано); давление p_s = 0.198665 МПа",
                           "r = h″(120 °C) − h′(120 °C)", "Q = G1 · r, Вт",
                           "ε = 0.9   Коэффициент"};
    }
    void protocolSteps() {
        QFETCH(QByteArray, task);
        QFETCH(QStringList, steps);
        const Run run = runInProcess(
            {QStringLiteral("prepare"), QStringLiteral("-"), QStringLiteral("--protocol")}, task);
        QCOMPARE(run.status, 0);
        for (const QString& step : steps) {
            QVERIFY2(run.out.contains(step), qPrintable(step + QStringLiteral("\n") + run.out));
        }
    }

    // A teacher's table is interpolated linearly: at 55 °C, three quarters of
    // the way from the 40 °C row to the 60 °C row. The design written with -o
    // reads back to the very same numbers.
    void teacherTableAndDesignFile() {
        const QString design = dir_.filePath(QStringLiteral("задача.txt"));
        const Run run = runInProcess(
            {QStringLiteral("prepare"), QStringLiteral("-"), QStringLiteral("-o"), design,
             QStringLiteral("--fluids"), dir_.path()},
            withLine(withLine(withLine(cooler, "горячий", "горячий =  УСЛОВНАЯ жидкость "), "t1н",
                              "t1н = 70"),
                     "t1к", "t1к = 40"));
        QCOMPARE(run.status, 0);
        QVERIFY(run.out.isEmpty());
        QFile file(design);
        QVERIFY(file.open(QIODevice::ReadOnly));
        DesignData data;
        QString error;
        QVERIFY2(readDesignFile(file.readAll(), design, data, error), qPrintable(error));
        QCOMPARE(data.values[3], 880 + 0.75 * (870 - 880));
        QCOMPARE(data.values[4], 0.005 + 0.75 * (0.003 - 0.005));
        QCOMPARE(data.values[5], 1900 + 0.75 * (1980 - 1900));
        QCOMPARE(data.values[2], 0.130 + 0.75 * (0.128 - 0.130));
        QCOMPARE(data.values[13], 2 * data.values[5] * 30);
    }

    // What fluid-table prints is a table the reader takes, with the values of
    // the formulation to the six digits printed.
    void fluidTableReadBack() {
        const Run run =
            runInProcess({QStringLiteral("fluid-table"), QStringLiteral("вода"),
                          QStringLiteral("0"), QStringLiteral("200"), QStringLiteral("12,5")});
        QCOMPARE(run.status, 0);
        Fluid table;
        QString error;
        QVERIFY2(readFluidTable(run.out.toUtf8(), QStringLiteral("вывод"), table, error),
                 qPrintable(error));
        QCOMPARE(table.name, waterName);
        QCOMPARE(table.rows.size(), 17);
        QCOMPARE(table.rows.last().celsius, 200.0);
        for (const FluidRow& row : table.rows) {
            const LiquidProperties w = saturatedWater(row.celsius);
            const LiquidProperties& p = row.properties;
            for (const auto& [read, exact] : {std::pair{p.density, w.density},
                                              {p.viscosity, w.viscosity},
                                              {p.heatCapacity, w.heatCapacity},
                                              {p.conductivity, w.conductivity}}) {
                QVERIFY2(
                    std::abs(read - exact) <= 5e-6 * exact,
                    qPrintable(
                        QStringLiteral("%1 °C: %2 / %3").arg(row.celsius).arg(read).arg(exact)));
            }
        }
    }

    // A table's own faults name the file and the line.
    void tableFaults_data() {
        QTest::addColumn<QByteArray>("table");
        QTest::addColumn<QString>("expected");
        const QByteArray row = " 880 0,005 1900 0,13\n";
        QTest::newRow("no name") << "20" + row << "т.txt, строка 1: перед строками";
        QTest::newRow("four numbers")
            << QByteArray("жидкость = м\n20 1 1 1\n") << "т.txt, строка 2: нужно 5 чисел";
        QTest::newRow("falling temperature") << "жидкость = м\n20" + row + "10" + row
                                             << "т.txt, строка 3: температура 10 °C не выше";
        QTest::newRow("zero viscosity") << QByteArray("жидкость = м\n20 880 0 1900 0,13\n")
                                        << "т.txt, строка 2: вязкость должна быть больше нуля";
        QTest::newRow("one row") << "жидкость = м\n20" + row
                                 << "т.txt: в таблице жидкости «м» нужно не меньше двух строк";
        // Slips of units: the value, the unit it looks like, the unit needed.
        QTest::newRow("c in kJ") << QByteArray("жидкость = м\n20 880 0,005 1,934 0,13\n")
                                 << "т.txt, строка 2: теплоёмкость c = 1,934 — похоже на "
                                    "кДж/(кг·К), а нужны Дж/(кг·К)";
        QTest::newRow("μ in mPa·s") << QByteArray("жидкость = м\n20 880 50 1900 0,13\n")
                                    << "т.txt, строка 2: вязкость μ = 50 — похоже на мПа·с (сП), "
                                       "а нужны Па·с";
        QTest::newRow("kinematic viscosity")
            << QByteArray("жидкость = м\n20 880 5,7e-6 1900 0,13\n")
            << "т.txt, строка 2: вязкость μ = 5,7e-06 — похоже на кинематическую вязкость в м²/с";
        QTest::newRow("ρ in g/cm³") << QByteArray("жидкость = м\n20 0,88 0,005 1900 0,13\n")
                                    << "т.txt, строка 2: плотность ρ = 0,88 — похоже на г/см³";
        QTest::newRow("λ of a metal") << QByteArray("жидкость = м\n20 880 0,005 1900 45\n")
                                      << "т.txt, строка 2: теплопроводность λ = 45 Вт/(м·К) — у "
                                         "жидкости так не бывает (от 0.05 до 1 Вт/(м·К))";
        QTest::newRow("unknown unit")
            << QByteArray("жидкость = м\nединицы = кг/м3 Па·с ккал/(кг·К) Вт/(м·К)\n")
            << "т.txt, строка 2: теплоёмкость: единица «ккал/(кг·К)» неизвестна";
        QTest::newRow("three units") << QByteArray("жидкость = м\nединицы = кг/м3 Па·с Вт/(м·К)\n")
                                     << "т.txt, строка 2: нужны 4 единицы";
    }
    // A handbook's units, declared, read to the very numbers of the table in
    // SI: a kinematic viscosity times the density, kJ and g/cm³ by powers of
    // ten, all in decimal (5,5 mm²/s · 880 kg/m³ is 0,00484 Pa·s exactly,
    // which 5.5e-6 * 880 in doubles is not bound to be).
    void unitsDeclared() {
        const QByteArray si = "жидкость = м\n"
                              "40 880 0,00484   1900 0,130\n"
                              "60 870 0,0028275 1980 0,128\n"
                              "80 860 0,00215   2060 0,126\n";
        const QByteArray handbook = "# Источник: справочник кафедры, табл. 7\n"
                                    "жидкость = м\n"
                                    "род. = масла условного\n"
                                    "единицы = г/см³ мм²/с кДж/(кг·К) мВт/(м*К)\n"
                                    "40 0,88 5,5  1,9  130\n"
                                    "60 0,87 3,25 1,98 128\n"
                                    "80 0,86 2,5  2,06 126\n";
        Fluid a;
        Fluid b;
        QString error;
        QVERIFY2(readFluidTable(si, QStringLiteral("si.txt"), a, error), qPrintable(error));
        QVERIFY2(readFluidTable(handbook, QStringLiteral("т.txt"), b, error), qPrintable(error));
        QCOMPARE(b.rows.size(), 3);
        for (qsizetype r = 0; r < 3; ++r) {
            const LiquidProperties& p = a.rows.at(r).properties;
            const LiquidProperties& q = b.rows.at(r).properties;
            QVERIFY(a.rows.at(r).celsius == b.rows.at(r).celsius && p.density == q.density &&
                    p.viscosity == q.viscosity && p.heatCapacity == q.heatCapacity &&
                    p.conductivity == q.conductivity);
        }
        QCOMPARE(b.genitive, QStringLiteral("масла условного"));
        QCOMPARE(b.reference, QStringLiteral("справочник кафедры, табл. 7"));
    }

    void tableFaults() {
        QFETCH(QByteArray, table);
        QFETCH(QString, expected);
        Fluid fluid;
        QString error;
        QVERIFY(!readFluidTable(table, QStringLiteral("т.txt"), fluid, error));
        QVERIFY2(error.startsWith(expected), qPrintable(error));
    }

private:
    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(PrepareTest)
#include "prepare_test.moc"
