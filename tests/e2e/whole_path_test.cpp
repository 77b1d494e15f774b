// Whole runs of the program as a student makes them: from the main menu through
// the initial data, the catalogue, the plate arrangement and the results to the
// printed report and the end of the program. Everything goes through what the
// student does: visible, enabled buttons, clicks on list lines and answers to
// the dialogs. After every change of screen the loaded and the visible screens
// are checked, so that no screen stays open behind another and the student is
// never left without a way on.

#include "app/program_start.h"
#include "arrangement/arrangement_screen.h"
#include "calculation/plate_catalogue.h"
#include "core/design_case.h"
#include "core/text_format.h"
#include "initial_data/error_dialog_screen.h"
#include "initial_data/initial_data_screen.h"
#include "initial_data/parameter_names.h"
#include "key/variants.h"
#include "menu/main_menu_screen.h"
#include "platform/controls.h"
#include "platform/program_end.h"
#include "platform/screens.h"
#include "results/advice_screen.h"
#include "results/description_screen.h"
#include "results/report_progress.h"
#include "results/results_screen.h"
#include "selection/selection_screen.h"
#include "support/recording_printer.h"
#include "support/scripted_dialogs.h"
#include "support/test_support.h"
#include "support/worked_examples.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <memory>

using namespace orven;
using orven::test::RecordingPrinter;
using orven::test::ScriptedDialogs;

Q_DECLARE_METATYPE(orven::ExchangerType)

// Stops the test function when a helper has recorded a failure.
#define STEP(call)                                                                                 \
    do {                                                                                           \
        call;                                                                                      \
        if (QTest::currentTestFailed())                                                            \
            return;                                                                                \
    } while (false)

namespace {

QString sp(qsizetype count) {
    return QString(count, QLatin1Char(' '));
}

const QString inputTitle = QStringLiteral("ВВОД ИСХОДНОЙ ИНФОРМАЦИИ");
const QString errorTitle = QStringLiteral("ОШИБКА !");
const QString packCountError = QStringLiteral("число пакетов от1 до 8 !!!    Продолжаете работу ?");
const QColor grey(128, 128, 128);
const QColor blue(0, 0, 255);
const QColor red(255, 0, 0);
const QColor magenta(255, 0, 255);
const QColor green(0, 255, 0);

// The worked examples as the student types them (some values with a decimal
// comma); storedTexts gives them as the lists and the report show them.
const QStringList coolerAnswers = test::workedTypedTexts(ExchangerType::Cooler);
const QStringList condenserAnswers = test::workedTypedTexts(ExchangerType::Condenser);

QStringList storedTexts(QStringList answers) {
    for (QString& answer : answers)
        answer.replace(QLatin1Char(','), QLatin1Char('.'));
    return answers;
}

const QString& nameOf(ExchangerType type, int slot) {
    return type == ExchangerType::Cooler ? coolerParameterName(slot) : condenserParameterName(slot);
}

// Packs and channels as the student answers them; an empty hotPacks means a
// condenser, which is not asked for its hot packs.
struct Arrangement {
    QString coldPacks;
    QStringList cold;
    QString hotPacks;
    QStringList hot;
    // Pack counts refused before the accepted one, each answered "Да" in the
    // error box.
    QStringList coldRefused = {};
    QStringList hotRefused = {};
};

const Arrangement oneAndOne = {"1", {"5"}, "1", {"5"}};
const Arrangement condenserPacks = {"2", {"6", "6"}, QString(), {"12"}};

// The printer of the run; recreated for every test.
std::unique_ptr<RecordingPrinter> printer;

// --- What the student sees ---------------------------------------------------

QStringList names(const QList<Screen*>& screens) {
    QStringList result;
    for (const Screen* s : screens)
        result << s->objectName();
    return result;
}

QStringList visibleScreens() {
    QStringList result;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* s = qobject_cast<Screen*>(widget); s && s->isVisible())
            result << s->objectName();
    }
    result.sort();
    return result;
}

// A visible screen offers the student something to press or click.
bool offersAWayOn(const Screen& s) {
    for (const QPushButton* b : s.findChildren<QPushButton*>()) {
        if (b->isVisible() && b->isEnabled())
            return true;
    }
    for (const QListWidget* l : s.findChildren<QListWidget*>()) {
        if (l->isVisible() && l->isEnabled())
            return true;
    }
    return false;
}

// The loaded screens in load order and the visible ones; the "Внимание !"
// dialogs stand over their owner, every other screen is alone on the display.
// Unless an input box is open (which is then the way on), a visible screen
// offers a button or a list to go on with.
void expectScreens(const QStringList& loaded, QStringList visible, bool inputBoxOpen = false) {
    QCOMPARE(names(loadedScreens()), loaded);
    visible.sort();
    QCOMPARE(visibleScreens(), visible);
    if (!inputBoxOpen) {
        // Nothing unloaded stays around once its deletion has come (inside an
        // input box a handler of an unloaded screen may still be running).
        deleteUnloadedScreens();
        int windows = 0;
        for (QWidget* widget : QApplication::topLevelWidgets())
            windows += qobject_cast<Screen*>(widget) ? 1 : 0;
        QCOMPARE(windows, loaded.size());
    }
    bool wayOn = inputBoxOpen;
    for (const Screen* s : loadedScreens())
        wayOn = wayOn || (s->isVisible() && offersAWayOn(*s));
    QVERIFY2(wayOn, qPrintable(loaded.join(' ')));
}

// The end of the program: nothing loaded, nothing visible, nothing left over.
void expectProgramEnded() {
    QVERIFY(programEnded());
    QVERIFY(loadedScreens().isEmpty());
    QVERIFY(visibleScreens().isEmpty());
    deleteUnloadedScreens();
    for (QWidget* widget : QApplication::topLevelWidgets())
        QVERIFY2(!qobject_cast<Screen*>(widget), qPrintable(widget->objectName()));
}

template <typename T> T& shown() {
    T* s = findLoadedScreen<T>();
    if (s == nullptr)
        qFatal("screen not loaded");
    return *s;
}

// Presses a button the student can see and reach.
void press(QPushButton* button) {
    QVERIFY2(button->isVisible(), qPrintable(button->text()));
    QVERIFY2(button->isEnabled(), qPrintable(button->text()));
    QTest::mouseClick(button, Qt::LeftButton);
}

void clickLine(QListWidget* list, int row) {
    QVERIFY(list->isVisible() && list->isEnabled());
    QListWidgetItem* item = list->item(row);
    QVERIFY(item);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

QStringList listLines(const QListWidget* list) {
    QStringList lines;
    for (int row = 0; row < list->count(); ++row)
        lines << list->item(row)->text();
    return lines;
}

QString parameterLine(ExchangerType type, int slot, const QString& text) {
    const QString& name = nameOf(type, slot);
    return name + sp(62 - name.size()) + text;
}

QStringList parameterLines(ExchangerType type, const QStringList& texts) {
    QStringList lines;
    for (int slot = 1; slot <= 14; ++slot)
        lines << parameterLine(type, slot, texts[slot - 1]);
    return lines;
}

QString typeWord(ExchangerType type) {
    return type == ExchangerType::Cooler ? QStringLiteral(" Холодильник")
                                         : QStringLiteral(" Конденсатор");
}

// --- The steps of a run -----------------------------------------------------

void startAtMainMenu() {
    startProgram(*qApp, *printer);
    STEP(expectScreens({"Form1"}, {"Form1"}));
}

// "ВВОД ИСХОДНОЙ ИНФОРМАЦИИ" with the name box answered.
void startDataInput(ScriptedDialogs& dialogs, const QString& name) {
    dialogs.expectInput(QStringLiteral("  ВВЕДИТЕ ФАМИЛИЮ И НОМЕР ГРУППЫ "),
                        QStringLiteral("ВВОД ФАМИЛИИ"), 500, 300, name);
    STEP(press(shown<Form1>().Command2));
    STEP(expectScreens({"Form3"}, {"Form3"}));
    Form3& form = shown<Form3>();
    QVERIFY(form.Command4->isVisible() && form.Command5->isVisible() && form.Label4->isVisible());
    QVERIFY(!form.List1->isVisible());
}

// The type button and the 14 values of the first entry.
void typeInitialData(ScriptedDialogs& dialogs, ExchangerType type, const QStringList& answers) {
    Form3& form = shown<Form3>();
    for (int slot = 1; slot <= 14; ++slot) {
        dialogs.expectInput(nameOf(type, slot), inputTitle, 1000, 1880 + 195 * (slot - 1),
                            answers[slot - 1], [&form, slot] {
                                // The list grows line by line under the box.
                                QVERIFY(form.List1->isVisible());
                                QCOMPARE(form.List1->count(), slot);
                            });
    }
    STEP(press(type == ExchangerType::Cooler ? form.Command4 : form.Command5));
    QCOMPARE(listLines(form.List1),
             QStringList{QStringLiteral(" Тип теплообменника - ") + typeWord(type)} +
                 parameterLines(type, storedTexts(answers)));
}

// "НЕ ИЗМЕНЯЕТЕ ИСХОДНУЮ ИНФОРМАЦИЮ" on valid data: the catalogue comes up.
void keepData() {
    Form3& form = shown<Form3>();
    QCOMPARE(buttonColor(form.Command1), green);
    STEP(press(form.Command1));
    STEP(expectScreens({"Form5"}, {"Form5"}));
}

// Scripts the packs-and-channels dialogue.
void expectArrangement(ScriptedDialogs& dialogs, const Arrangement& a) {
    for (const QString& answer : a.coldRefused + QStringList{a.coldPacks}) {
        dialogs.expectInput(QStringLiteral("Введите число пакетов для холодного теплоносителя"),
                            QStringLiteral("Ввод числа пакетов для холодного теплоносителя"), 1000,
                            1000, answer, [] {
                                // The arrangement screen alone stands behind the boxes.
                                expectScreens({"Form6"}, {"Form6"}, true);
                            });
        if (answer != a.coldPacks)
            dialogs.expectYesNo(errorTitle, packCountError, true);
    }
    const auto packWord = [](int pack) {
        return (pack == 2 ? QStringLiteral("во") : QStringLiteral("в")) + QString::number(pack);
    };
    for (int i = 1; i <= a.cold.size(); ++i) {
        dialogs.expectInput(
            QStringLiteral("Введите число каналов %1 - м пакете для холодного теплоносителя")
                .arg(packWord(i)),
            QStringLiteral("Ввод числа каналов в пакете для холодного теплоносителя"), 1000,
            1000 + 200 * i, a.cold[i - 1]);
    }
    const double coldPacks = QString(a.coldPacks).replace(',', '.').toDouble();
    const int y0 = static_cast<int>(std::nearbyint(200 * coldPacks + 1400));
    if (!a.hotPacks.isEmpty()) {
        for (const QString& answer : a.hotRefused + QStringList{a.hotPacks}) {
            dialogs.expectInput(QStringLiteral("Введите число пакетов для горячего теплоносителя"),
                                QStringLiteral("Ввод числа пакетов для горячего теплоносителя"),
                                1000, y0, answer);
            if (answer != a.hotPacks)
                dialogs.expectYesNo(errorTitle, packCountError, true);
        }
    }
    for (int j = 1; j <= a.hot.size(); ++j) {
        dialogs.expectInput(
            QStringLiteral("Введите число каналов %1 - м пакете для горячего теплоносителя")
                .arg(packWord(j)),
            QStringLiteral("Ввод числа каналов в пакете для горячего теплоносителя"), 1000,
            y0 + 100 + 200 * j, a.hot[j - 1]);
    }
}

// A nozzle button of the catalogue (by name), then the arrangement; with equal
// channel totals the results screen comes up.
void choosePlate(ScriptedDialogs& dialogs, const char* button, const Arrangement& a) {
    Form5& form = shown<Form5>();
    auto* nozzle = form.findChild<QPushButton*>(QLatin1String(button));
    QVERIFY(nozzle);
    expectArrangement(dialogs, a);
    STEP(press(nozzle));
}

void expectResults() {
    STEP(expectScreens({"Form9"}, {"Form9"}));
}

// "Выбор другой компоновки пластин": back to the catalogue for the same data.
void otherArrangement() {
    STEP(press(shown<Form9>().Command2));
    STEP(expectScreens({"Form5"}, {"Form5"}));
}

void printResults() {
    Form9& form = shown<Form9>();
    STEP(press(form.Command4));
    // The print button is back for the student once the block is out.
    QVERIFY(form.Command4->isVisible() && form.Command4->isEnabled());
}

// The whole first pass of a cooler with the worked data up to its results.
void coolerToResults(ScriptedDialogs& dialogs, const Arrangement& a = oneAndOne) {
    STEP(startAtMainMenu());
    STEP(startDataInput(dialogs, QStringLiteral("петров пётр гр.х-11")));
    STEP(typeInitialData(dialogs, ExchangerType::Cooler, coolerAnswers));
    STEP(keepData());
    STEP(choosePlate(dialogs, "Command3", a));
    STEP(expectResults());
}

QString valueLine(const QString& label, const QString& value) {
    return label + sp(15 - value.size()) + value;
}

// Printed lines of the results screen from "РЕЗУЛЬТАТЫ  РАСЧЕТА" on.
QStringList resultLines(const Screen& form) {
    const QStringList lines = form.printedLines();
    return lines.mid(lines.indexOf(QStringLiteral("РЕЗУЛЬТАТЫ  РАСЧЕТА")));
}

// --- The report -------------------------------------------------------------

// The parts of each page; a cooler block is "B<k>" with k cold channels in
// its first pack.
QStringList describe(const RecordingPrinter::Document& document) {
    return test::describePages(document, [](const RecordingPrinter::Page& page, int i) {
        return page[i].contains(QStringLiteral("Тип теплообменника - ХОЛОДИЛЬНИК"))
                   ? "B" + page[i + 8].simplified().section(' ', 2, 2)
                   : QString();
    });
}

// The page header with its date masked: the date and time line in a field of
// 50 after 10 blanks, then the product word and the page number.
void checkPageHeader(const QString& line, int page) {
    static const QRegularExpression form(
        QStringLiteral("^ {10} \\d{1,2} [а-я]+ \\d{4}г\\. {8}\\d{1,2}:\\d{2}:\\d{2} *ORVEN  "
                       "стр\\.(\\d+)$"));
    const QRegularExpressionMatch match = form.match(line);
    QVERIFY2(match.hasMatch(), qPrintable(line));
    QCOMPARE(line.indexOf(QStringLiteral("ORVEN")), 60);
    QCOMPARE(match.captured(1).toInt(), page);
}

QStringList expectedHeading(const QString& student, ExchangerType type, const QStringList& texts) {
    QStringList lines = {sp(10) + student + sp(40 - student.size()),
                         QString(),
                         sp(36) + QStringLiteral("П Р О Г Р А М М А "),
                         sp(26) + QStringLiteral("РАСЧЁТА ПЛАСТИНЧАТЫХ ТЕПЛООБМЕННИКОВ"),
                         sp(34) + QStringLiteral("ИСХОДНЫЕ    ДАННЫЕ"),
                         QString()};
    for (int slot = 1; slot <= 14; ++slot)
        lines << sp(10) + nameOf(type, slot) + sp(7) + texts[slot - 1];
    lines << QString() << sp(35) + QStringLiteral("РЕЗУЛЬТАТЫ  РАСЧЕТА") << QString();
    return lines;
}

// The results block of the worked cooler on the 0.2 m2 plate, one pack of
// five channels on each side.
QStringList expectedCoolerBlock() {
    QStringList lines = {sp(11) + QStringLiteral("Тип теплообменника - ХОЛОДИЛЬНИК")};
    const QStringList construction = {QStringLiteral("     0.2 K"), "0.45", "0.0016", "0.0076",
                                      "0.1"};
    for (int slot = 17; slot <= 21; ++slot)
        lines << sp(10) + constructionParameterName(slot) + sp(7) + construction[slot - 17];
    for (const QString& stream : {QStringLiteral("холодного"), QStringLiteral("горячего")}) {
        lines << sp(11) + QStringLiteral("Число каналов в пакете для %1 теплоносителя (шт.)   1")
                              .arg(stream)
              << sp(11) + QStringLiteral("Номер пакета    1  |")
              << sp(11) + QStringLiteral("Число каналов   5  |");
    }
    lines << QString();
    const QList<std::pair<QString, QString>> results = {
        {QStringLiteral("Reynolds\" критерий (для горячего теплоносителя)") + sp(18), "280,89"},
        {QStringLiteral("Reynolds\" критерий (для холодного теплоносителя)") + sp(17), "1259,27"},
        {QStringLiteral("Коэффициент теплоотдачи от горячего теплоносителя (Вт/м^2*К)") + sp(5),
         "300,50"},
        {QStringLiteral("Коэффициент теплоотдачи к холодному теплоносителю (Вт/м^2*К)") + sp(4),
         "2543,92"},
        {QStringLiteral("Коэффициент теплопередачи (Вт/м^2*К)") + sp(29), "253,17"},
        {QStringLiteral("Гидравлическое сопротивление для горячего теплоносителя (Па)") + sp(5),
         "39,03"},
        {QStringLiteral("Гидравлическое сопротивление для холодного теплоносителя (Па)") + sp(4),
         "1259,52"},
        {QStringLiteral("Расчетная поверхность теплопередачи (м^2)") + sp(24), "11,49"},
        {QStringLiteral("Геометрическая площадь поверхности теплопередачи (м^2)") + sp(11), "1,60"},
    };
    for (const auto& [label, value] : results)
        lines << sp(11) + valueLine(label, value);
    lines << sp(9) + QString(77, QLatin1Char('-')) << QString();
    return lines;
}

} // namespace

class WholePathTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        test::startFreshRun();
        printer = std::make_unique<RecordingPrinter>();
    }

    void cleanup() {
        test::clearScreens();
        setReportPrinter(nullptr);
        setReportFinisher({});
        printer.reset();
    }

    // The teacher's key lists suitable variants; the student who picks each of
    // them on the screens gets the same numbers and no warning.
    void keyVariantsOnTheScreens_data() {
        QTest::addColumn<ExchangerType>("type");
        QTest::newRow("worked cooler") << ExchangerType::Cooler;
        QTest::newRow("worked condenser") << ExchangerType::Condenser;
    }
    void keyVariantsOnTheScreens() {
        QFETCH(ExchangerType, type);
        const bool cooler = type == ExchangerType::Cooler;
        const QStringList answers = cooler ? coolerAnswers : condenserAnswers;
        DesignData design;
        design.type = type;
        for (int slot = 1; slot <= 14; ++slot) {
            design.texts[slot] = storedTexts(answers)[slot - 1];
            design.values[slot] = design.texts[slot].toDouble();
        }
        const Solution solution = solveDesign(design);
        // The three best, and the best on a 0.5 m2 plate (its letter is a second choice).
        QList<Evaluated> picked = solution.suitable.mid(0, 3);
        for (const Evaluated& e : solution.suitable) {
            if (standardExchangers().at(e.variant.exchanger).letter) {
                picked << e;
                break;
            }
        }
        QCOMPARE(picked.size(), 4);

        ScriptedDialogs dialogs;
        STEP(startAtMainMenu());
        STEP(startDataInput(dialogs, QStringLiteral("ключ")));
        STEP(typeInitialData(dialogs, type, answers));
        STEP(keepData());
        for (const Evaluated& e : picked) {
            const Exchanger& exchanger = standardExchangers().at(e.variant.exchanger);
            const auto texts = [](const QList<int>& numbers) {
                QStringList list;
                for (const int n : numbers)
                    list << QString::number(n);
                return list;
            };
            const Arrangement a = {QString::number(e.variant.coldPacks),
                                   texts(e.variant.coldChannels),
                                   cooler ? QString::number(e.variant.hotPacks) : QString(),
                                   texts(e.variant.hotChannels)};
            Form5& selection = shown<Form5>();
            auto* nozzle = selection.findChild<QPushButton*>(
                QStringLiteral("Command%1").arg(exchanger.choice->button));
            QVERIFY(nozzle);
            if (exchanger.letter) {
                STEP(press(nozzle));
                expectArrangement(dialogs, a);
                STEP(press(selection.findChild<QPushButton*>(
                    QStringLiteral("Command%1").arg(exchanger.letter->button))));
            } else {
                expectArrangement(dialogs, a);
                STEP(press(nozzle));
            }
            STEP(expectResults());

            const CalculationResults& r = e.results;
            QList<double> expected{r.hotReynolds, r.coldReynolds, r.hotFilmCoefficient,
                                   r.coldFilmCoefficient, r.overallCoefficient};
            if (cooler)
                expected << r.hotPressureDrop;
            expected << r.coldPressureDrop << r.requiredSurface << r.geometricSurface
                     << r.surfaceMargin;
            QStringList shownNumbers;
            for (const QString& line : resultLines(shown<Form9>()).mid(1))
                shownNumbers << line.section(QLatin1Char(' '), -1);
            QStringList keyNumbers;
            for (const double v : expected)
                keyNumbers << formatFixed(v, 0, 2).trimmed();
            QCOMPARE(shownNumbers, keyNumbers); // and no warning line after them
            STEP(otherArrangement());
        }
        dialogs.verifyDone();
    }

    // The worked cooler from the menu to its results, then the end of work.
    void workedCooler() {
        ScriptedDialogs dialogs;
        STEP(coolerToResults(dialogs));
        QCOMPARE(designCase().studentName, QStringLiteral("Петров Пётр Гр.х-11"));
        QCOMPARE(designCase().exchangerType, ExchangerType::Cooler);
        for (int slot = 1; slot <= 14; ++slot)
            QCOMPARE(designCase().valueTexts[slot], storedTexts(coolerAnswers)[slot - 1]);

        Form9& form = shown<Form9>();
        QCOMPARE(form.caption(), QStringLiteral("Результаты расчета"));
        const QStringList header = {
            sp(11) + QStringLiteral("Тип теплообменника - Холодильник"),
            sp(10) + constructionParameterName(17) + sp(7) + QStringLiteral("     0.2 K"),
            sp(10) + constructionParameterName(21) + sp(7) + QStringLiteral("0.1"),
            sp(11) + QStringLiteral("Число каналов в пакете для холодного теплоносителя (шт.)  1"),
            sp(11) + QStringLiteral("Номер пакета    1  |"),
            sp(11) + QStringLiteral("Число каналов   5  |"),
            sp(11) + QStringLiteral("Число каналов в пакете для горячего теплоносителя (шт.)  1"),
            sp(11) + QStringLiteral("Номер пакета    1  |"),
            sp(11) + QStringLiteral("Число каналов   5  |"),
        };
        QCOMPARE(form.printedLines().mid(0, 9), header);
        const QStringList results = {
            QStringLiteral("РЕЗУЛЬТАТЫ  РАСЧЕТА"),
            valueLine(QStringLiteral("Reynolds\" критерий (для горячего теплоносителя)") + sp(21),
                      "280,89"),
            valueLine(QStringLiteral("Reynolds\" критерий (для холодного теплоносителя)") + sp(20),
                      "1259,27"),
            valueLine(
                QStringLiteral("Коэффициент теплоотдачи от горячего теплоносителя (Вт/м^2*К)") +
                    sp(8),
                "300,50"),
            valueLine(
                QStringLiteral("Коэффициент теплоотдачи к холодному теплоносителю (Вт/м^2*К)") +
                    sp(7),
                "2543,92"),
            valueLine(QStringLiteral("Коэффициент теплопередачи (Вт/м^2*К)") + sp(32), "253,17"),
            valueLine(
                QStringLiteral("Гидравлическое сопротивление для горячего теплоносителя (Па)") +
                    sp(8),
                "39,03"),
            valueLine(
                QStringLiteral("Гидравлическое сопротивление для холодного теплоносителя (Па)") +
                    sp(7),
                "1259,52"),
            valueLine(QStringLiteral("Расчетная поверхность теплопередачи (м^2)") + sp(27),
                      "11,49"),
            valueLine(QStringLiteral("Геометрическая площадь поверхности теплопередачи (м^2)") +
                          sp(14),
                      "1,60"),
            QStringLiteral("Выбранный Вами теплообменник не подходит из-за недостатка площади."),
            QStringLiteral("Если Вы не знаете, что делать, почитайте пояснения по подбору"),
        };
        QCOMPARE(resultLines(form), results);
        // The values stand right-aligned in one column ending at character 83.
        QCOMPARE(results[1].size(), 83);

        const QList<SurfaceText> texts = form.printedTexts();
        for (int i = 0; i < 9; ++i)
            QCOMPARE(texts[i].color, grey);
        const qsizetype n = texts.size();
        QCOMPARE(texts[n - 4].color, magenta);
        QCOMPARE(texts[n - 3].color, magenta);
        for (qsizetype i = n - 2; i < n; ++i) {
            QCOMPARE(texts[i].color, red);
            QCOMPARE(texts[i].x, 800);
        }
        QCOMPARE(dialogs.beepCount(), 1);
        for (QPushButton* b :
             {form.Command1, form.Command2, form.Command3, form.Command4, form.Command5})
            QVERIFY(b->isVisible() && b->isEnabled());

        STEP(press(form.Command1));
        STEP(expectProgramEnded());
        QVERIFY(printer->finishedDocuments().isEmpty());
        dialogs.verifyDone();
    }

    // The worked condenser on the 0.3 m2 plate with the 65 mm nozzle.
    void workedCondenser() {
        ScriptedDialogs dialogs;
        STEP(startAtMainMenu());
        STEP(startDataInput(dialogs, QStringLiteral("сидорова анна тм-21")));
        STEP(typeInitialData(dialogs, ExchangerType::Condenser, condenserAnswers));
        STEP(keepData());
        QCOMPARE(shown<Form5>().Label1->text(),
                 QStringLiteral("  ТИП ТЕПЛООБМЕННИКА  - КОНДЕНСАТОР"));
        STEP(choosePlate(dialogs, "Command5", condenserPacks));
        STEP(expectResults());

        Form9& form = shown<Form9>();
        const QStringList lines = form.printedLines();
        QCOMPARE(
            lines.mid(0, 9),
            (QStringList{
                sp(11) + QStringLiteral("Тип теплообменника  - Конденсатор"),
                sp(10) + constructionParameterName(17) + sp(7) + QStringLiteral("     0.3 М^2"),
                sp(10) + constructionParameterName(21) + sp(7) + QStringLiteral("0.065"),
                sp(11) +
                    QStringLiteral("Число каналов в пакете для холодного теплоносителя (шт.)  2"),
                sp(11) + QStringLiteral("Номер пакета    1  |  2  |"),
                sp(11) + QStringLiteral("Число каналов   6  |  6  |"),
                sp(11) +
                    QStringLiteral("Число каналов в пакете для горячего теплоносителя (шт.)  1"),
                sp(11) + QStringLiteral("Номер пакета    1  |"),
                sp(11) + QStringLiteral("Число каналов  12  |"),
            }));
        const QStringList results = resultLines(form);
        QCOMPARE(results.size(), 12);
        QVERIFY(!results.join('\n').contains(QStringLiteral("для горячего теплоносителя (Па)")));
        QCOMPARE(
            results.mid(6),
            (QStringList{
                valueLine(QStringLiteral(
                              "Гидравлическое сопротивление для холодного теплоносителя (Па)") +
                              sp(7),
                          "34122,91"),
                valueLine(QStringLiteral("Расчетная поверхность теплопередачи (м^2)") + sp(27),
                          "3,52"),
                valueLine(QStringLiteral("Геометрическая площадь поверхности теплопередачи (м^2)") +
                              sp(14),
                          "6,60"),
                valueLine(QStringLiteral("Запас поверхности теплопередачи (%)") + sp(33), "87,42"),
                QStringLiteral("В выбранном Вами теплообменнике очень большой запас поверхности."),
                QStringLiteral("Попробуйте другой."),
            }));
        const QList<SurfaceText> texts = form.printedTexts();
        QCOMPARE(texts.last().color, red);
        QCOMPARE(texts[texts.size() - 2].color, red);
        QCOMPARE(dialogs.beepCount(), 1);

        // The report: condenser names in the heading, no hot resistance, one hot pack.
        STEP(printResults());
        const QStringList report = printer->currentLines();
        QCOMPARE(report.mid(1, 23),
                 expectedHeading(QStringLiteral("Сидорова Анна Тм-21"), ExchangerType::Condenser,
                                 storedTexts(condenserAnswers)));
        QCOMPARE(report.at(24), sp(11) + QStringLiteral("Тип теплообменника  - КОНДЕНСАТОР"));
        QVERIFY(!report.join('\n').contains(QStringLiteral("для горячего теплоносителя (Па)")));
        QCOMPARE(report.mid(33, 3),
                 (QStringList{
                     sp(11) + QStringLiteral(
                                  "Число каналов в пакете для горячего теплоносителя (шт.)   1"),
                     sp(11) + QStringLiteral("Номер пакета    1  |"),
                     sp(11) + QStringLiteral("Число каналов  12  |")}));
        dialogs.verifyDone();
    }

    // Out-of-range data, "Да", a type change, a corrected line, the end of the
    // corrections and the letter step of the 0.5 m2 plate.
    void correctionsTypeChangeAndLetter() {
        ScriptedDialogs dialogs;
        STEP(startAtMainMenu());
        STEP(startDataInput(dialogs, QString())); // Cancel: an empty name
        QStringList answers = coolerAnswers;
        answers[3] = QStringLiteral("0,02"); // the hot viscosity is above 0.01
        STEP(typeInitialData(dialogs, ExchangerType::Cooler, answers));
        QStringList texts = storedTexts(answers);

        // The error display comes up by itself, with the dialog over the screen.
        STEP(expectScreens({"Form3", "Form4"}, {"Form3", "Form4"}));
        Form3& form = shown<Form3>();
        QCOMPARE(dialogs.beepCount(), 1);
        QVERIFY(!form.List1->isVisible());
        QVERIFY(!form.Command1->isVisible() && !form.Command2->isVisible());
        QCOMPARE(form.printedLines(), parameterLines(ExchangerType::Cooler, texts));
        QVERIFY(form.Label2->isVisible());
        QCOMPARE(form.Label2->text(), parameterLine(ExchangerType::Cooler, 4, "0.02"));
        QCOMPARE(form.caption(), QStringLiteral("   ПРОВЕРКА ВВОДА ИСХОДНОЙ ИНФОРМАЦИИ"));

        STEP(press(shown<Form4>().Command1)); // "Да"
        STEP(expectScreens({"Form3"}, {"Form3"}));
        QVERIFY(form.Label3->isVisible());
        QVERIFY(form.printedLines().isEmpty());
        QVERIFY(!form.Label2->isVisible());

        // The type line: the other type relists the same values under its names.
        STEP(clickLine(form.List1, 0));
        QVERIFY(form.Label4->isVisible());
        STEP(press(form.Command5));
        QCOMPARE(designCase().exchangerType, ExchangerType::Condenser);
        QCOMPARE(listLines(form.List1),
                 QStringList{constructionParameterName(16) + QStringLiteral(" Конденсатор")} +
                     parameterLines(ExchangerType::Condenser, texts));
        STEP(expectScreens({"Form3"}, {"Form3"}));

        STEP(press(form.Command2));
        dialogs.expectInput(condenserParameterName(4), inputTitle, 4000, 195 * 4 + 1875,
                            QStringLiteral("0,000282"));
        STEP(clickLine(form.List1, 4));
        texts[3] = QStringLiteral("0.000282");
        QCOMPARE(form.List1->item(4)->text(), parameterLine(ExchangerType::Condenser, 4, texts[3]));
        QCOMPARE(buttonColor(form.Command3), green);
        STEP(press(form.Command3)); // "КОНЕЦ ИСПРАВЛЕНИЙ"
        STEP(expectScreens({"Form5"}, {"Form5"}));
        QCOMPARE(designCase().workingInitialData[4], 0.000282);

        // The 0.5 m2 plate asks for its letter first.
        Form5& selection = shown<Form5>();
        STEP(press(selection.Command6));
        STEP(expectScreens({"Form5"}, {"Form5"}));
        for (QPushButton* b : {selection.Command3, selection.Command4, selection.Command5})
            QVERIFY(b->isVisible() && !b->isEnabled());
        for (QPushButton* b : {selection.Command6, selection.Command7, selection.Command8})
            QVERIFY(!b->isVisible());
        QCOMPARE(selection.Command10->text(), QStringLiteral("Литера \"Е\""));
        QVERIFY(selection.Label2->text().endsWith(
            QStringLiteral("исполнения I c диаметром штуцера 100мм")));
        expectArrangement(dialogs, condenserPacks);
        STEP(press(selection.Command10));
        STEP(expectResults());
        QCOMPARE(designCase().plateGeometry.plateType, 2);
        QCOMPARE(designCase().valueTexts[17], QStringLiteral("     0.5Е"));
        QCOMPARE(shown<Form9>().printedLines().at(1),
                 sp(10) + constructionParameterName(17) + sp(7) + QStringLiteral("     0.5Е"));

        STEP(press(shown<Form9>().Command1));
        STEP(expectProgramEnded());
        dialogs.verifyDone();
    }

    // Unequal channel totals: the message, the dialog, and "Да" repeats the
    // dialogue on a fresh arrangement screen.
    void mismatchRepeatsTheDialogue() {
        ScriptedDialogs dialogs;
        STEP(startAtMainMenu());
        STEP(startDataInput(dialogs, QStringLiteral("петров")));
        STEP(typeInitialData(dialogs, ExchangerType::Cooler, coolerAnswers));
        STEP(keepData());
        STEP(choosePlate(dialogs, "Command3", {"1", {"5"}, "1", {"6"}}));
        STEP(expectScreens({"Form6", "Form13"}, {"Form6", "Form13"}));
        QCOMPARE(dialogs.beepCount(), 1);
        Form6& arrangement = shown<Form6>();
        QVERIFY(arrangement.Label1->isVisible());
        QCOMPARE(arrangement.Label1->text(),
                 QStringLiteral("СУММЫ ЧИСЛА КАНАЛОВ ДЛЯ ГОРЯЧЕГО И ХОЛОДНОГО ТЕПЛОНОСИТЕЛЯ "
                                "ДОЛЖНЫ БЫТЬ РАВНЫ!"));

        expectArrangement(dialogs, oneAndOne);
        STEP(press(shown<Form13>().Command1)); // "Да"
        STEP(expectResults());
        QCOMPARE(designCase().plateArrangement.hotChannels[1], 5);
        QCOMPARE(
            resultLines(shown<Form9>()).at(1),
            valueLine(QStringLiteral("Reynolds\" критерий (для горячего теплоносителя)") + sp(21),
                      "280,89"));
        dialogs.verifyDone();
    }

    // 2,5 cold packs: accepted, two packs asked, 2.5 used and printed.
    void fractionalColdPackCount() {
        ScriptedDialogs dialogs;
        STEP(coolerToResults(dialogs, {"2,5", {"3", "2"}, "1", {"5"}}));
        QCOMPARE(designCase().plateArrangement.coldPackCount, 2.5);
        const QStringList lines = shown<Form9>().printedLines();
        QCOMPARE(lines.mid(3, 3),
                 (QStringList{
                     sp(11) + QStringLiteral(
                                  "Число каналов в пакете для холодного теплоносителя (шт.)  2,5"),
                     sp(11) + QStringLiteral("Номер пакета    1  |  2  |"),
                     sp(11) + QStringLiteral("Число каналов   3  |  2  |"),
                 }));
        STEP(printResults());
        const QStringList report = printer->currentLines();
        const QString packs =
            sp(11) +
            QStringLiteral("Число каналов в пакете для холодного теплоносителя (шт.)   2.5");
        QVERIFY2(report.contains(packs), qPrintable(report.join('\n')));
        dialogs.verifyDone();
    }

    void packCounts_data() {
        QTest::addColumn<bool>("hot");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("packs"); // 0: refused
        QTest::newRow("cold 0.9") << false << "0.9" << 0;
        QTest::newRow("cold 1") << false << "1" << 1;
        QTest::newRow("cold 8") << false << "8" << 8;
        QTest::newRow("cold 8.4") << false << "8.4" << 0;
        QTest::newRow("hot 0.4") << true << "0.4" << 0;
        QTest::newRow("hot 0.6") << true << "0.6" << 1;
        QTest::newRow("hot 8.5") << true << "8.5" << 8;
        QTest::newRow("hot 8.6") << true << "8.6" << 0;
    }

    // A refused count is asked again after "Да"; an accepted one sets how many
    // packs are asked for their channels.
    void packCounts() {
        QFETCH(bool, hot);
        QFETCH(QString, answer);
        QFETCH(int, packs);
        ScriptedDialogs dialogs;
        STEP(startAtMainMenu());
        STEP(startDataInput(dialogs, QStringLiteral("петров")));
        STEP(typeInitialData(dialogs, ExchangerType::Cooler, coolerAnswers));
        STEP(keepData());

        const int n = packs == 0 ? 1 : packs;
        const QStringList ones(n, QStringLiteral("1"));
        const QStringList total = {QString::number(n)};
        Arrangement a = hot ? Arrangement{"1", total, packs ? answer : "1", ones}
                            : Arrangement{packs ? answer : "1", ones, "1", total};
        if (packs == 0)
            (hot ? a.hotRefused : a.coldRefused) << answer;
        STEP(choosePlate(dialogs, "Command3", a));
        STEP(expectResults());
        const PlateArrangement& stored = designCase().plateArrangement;
        QCOMPARE(hot ? int(stored.hotPackCount) : int(stored.coldPackCount), n);
        QCOMPARE(dialogs.shownTitles().count(errorTitle), packs == 0 ? 1 : 0);
        dialogs.verifyDone();
    }

    void zeroChannels_data() {
        QTest::addColumn<ExchangerType>("type");
        QTest::newRow("cooler") << ExchangerType::Cooler;
        QTest::newRow("condenser") << ExchangerType::Condenser;
    }

    // No channels at all: the input error on the results screen, no print
    // button, and the student goes on with another arrangement.
    void zeroChannels() {
        QFETCH(ExchangerType, type);
        const bool cooler = type == ExchangerType::Cooler;
        ScriptedDialogs dialogs;
        STEP(startAtMainMenu());
        STEP(startDataInput(dialogs, QStringLiteral("петров")));
        STEP(typeInitialData(dialogs, type, cooler ? coolerAnswers : condenserAnswers));
        STEP(keepData());
        STEP(choosePlate(dialogs, "Command3",
                         {"1", {"0"}, cooler ? QStringLiteral("1") : QString(), {"0"}}));
        STEP(expectResults());
        Form9& form = shown<Form9>();
        const SurfaceText error = form.printedTexts().last();
        QCOMPARE(error.text, QStringLiteral("ОШИБКА В ИСХОДНОЙ ИНФОРМАЦИИ !"));
        QCOMPARE(error.color, red);
        QCOMPARE(error.x, 4000);
        QCOMPARE(error.y, 3000);
        QVERIFY(!form.Command4->isVisible());
        QCOMPARE(dialogs.beepCount(), 1);

        STEP(otherArrangement());
        STEP(choosePlate(dialogs, "Command3", cooler ? oneAndOne : condenserPacks));
        STEP(expectResults());
        QVERIFY(shown<Form9>().Command4->isVisible());
        dialogs.verifyDone();
    }

    // Five calculations printed one after another: page 1 holds the heading and
    // two blocks, page 2 three; the sixth print begins page 3. The end of the
    // program releases exactly these pages as one document.
    void fivePrintsOverFiveCalculations() {
        ScriptedDialogs dialogs;
        STEP(coolerToResults(dialogs));
        STEP(printResults());
        for (int channels = 6; channels <= 9; ++channels) {
            STEP(otherArrangement());
            const QStringList n = {QString::number(channels)};
            STEP(choosePlate(dialogs, "Command3", {"1", n, "1", n}));
            STEP(expectResults());
            STEP(printResults());
        }
        const RecordingPrinter::Document& document = printer->currentDocument();
        QCOMPARE(describe(document), (QStringList{"H1 R B5 B6", "H2 B7 B8 B9"}));
        QVERIFY(printer->finishedDocuments().isEmpty());

        const RecordingPrinter::Page& first = document[0];
        STEP(checkPageHeader(first[0], 1));
        QCOMPARE(first.mid(1, 23),
                 expectedHeading(QStringLiteral("Петров Пётр Гр.х-11"), ExchangerType::Cooler,
                                 storedTexts(coolerAnswers)));
        const QStringList block = expectedCoolerBlock();
        QCOMPARE(first.mid(24, block.size()), block);
        QCOMPARE(first.size(), 24 + 2 * block.size());
        STEP(checkPageHeader(document[1][0], 2));
        QCOMPARE(printer->fontName(), QStringLiteral("Courier New Cyr"));
        QCOMPARE(printer->fontSize(), 10.0);

        STEP(otherArrangement());
        STEP(choosePlate(dialogs, "Command3", {"1", {"10"}, "1", {"10"}}));
        STEP(expectResults());
        STEP(printResults());
        QCOMPARE(describe(printer->currentDocument()),
                 (QStringList{"H1 R B5 B6", "H2 B7 B8 B9", "H3 B10"}));
        STEP(checkPageHeader(printer->currentDocument()[2][0], 3));
        const RecordingPrinter::Document printed = printer->currentDocument();

        STEP(press(shown<Form9>().Command1));
        STEP(expectProgramEnded());
        QCOMPARE(printer->finishedDocuments().size(), 1);
        QCOMPARE(printer->finishedDocuments().first(), printed);
        QVERIFY(printer->currentDocument().isEmpty());
        dialogs.verifyDone();
    }

    // A second click prints nothing; the advice and back keeps the print state.
    void printOncePerCalculationAndAdvice() {
        ScriptedDialogs dialogs;
        STEP(coolerToResults(dialogs));
        STEP(printResults());
        STEP(printResults());
        QCOMPARE(describe(printer->currentDocument()), QStringList{"H1 R B5"});

        STEP(otherArrangement());
        STEP(choosePlate(dialogs, "Command3", {"1", {"6"}, "1", {"6"}}));
        STEP(expectResults());
        for (int visit = 0; visit < 2; ++visit) {
            STEP(press(shown<Form9>().Command5));
            STEP(expectScreens({"Form9", "Form10"}, {"Form10"}));
            STEP(press(shown<Form10>().Command1));
            STEP(expectScreens({"Form9"}, {"Form9"}));
            STEP(printResults());
            QCOMPARE(describe(printer->currentDocument()), QStringList{"H1 R B5 B6"});
        }
        dialogs.verifyDone();
    }

    void changeInitialData_data() {
        QTest::addColumn<bool>("printedBefore");
        QTest::newRow("with an open report") << true;
        QTest::newRow("before any print") << false;
    }

    // "Изменение массива физсвойств": an open report is finished; the next
    // print starts a new report on page 1 with the corrected data.
    void changeInitialData() {
        QFETCH(bool, printedBefore);
        ScriptedDialogs dialogs;
        STEP(coolerToResults(dialogs));
        if (printedBefore)
            STEP(printResults());
        const RecordingPrinter::Document printed = printer->currentDocument();

        STEP(press(shown<Form9>().Command3));
        STEP(expectScreens({"Form11"}, {"Form11"}));
        QCOMPARE(printer->finishedDocuments().size(), printedBefore ? 1 : 0);
        if (printedBefore)
            QCOMPARE(printer->finishedDocuments().first(), printed);
        QVERIFY(printer->currentDocument().isEmpty());
        QVERIFY(!designCase().reportOpen);
        QCOMPARE(designCase().pageNumber, std::int16_t{1});

        Form11& form = shown<Form11>();
        QStringList texts = storedTexts(coolerAnswers);
        QCOMPARE(listLines(form.List1),
                 QStringList{constructionParameterName(16) + QStringLiteral(" Холодильник")} +
                     parameterLines(ExchangerType::Cooler, texts));
        dialogs.expectInput(coolerParameterName(13), inputTitle, 4000, 195 * 13 + 1875,
                            QStringLiteral("150000"));
        STEP(clickLine(form.List1, 13));
        texts[12] = QStringLiteral("150000");
        STEP(press(form.Command3));
        STEP(expectScreens({"Form5"}, {"Form5"}));
        QCOMPARE(designCase().workingInitialData[13], 150000.0);
        STEP(choosePlate(dialogs, "Command3", oneAndOne));
        STEP(expectResults());
        STEP(printResults());

        const RecordingPrinter::Document& document = printer->currentDocument();
        QCOMPARE(describe(document), QStringList{"H1 R B5"});
        STEP(checkPageHeader(document[0][0], 1));
        QCOMPARE(document[0].mid(1, 23), expectedHeading(QStringLiteral("Петров Пётр Гр.х-11"),
                                                         ExchangerType::Cooler, texts));

        STEP(press(shown<Form9>().Command1));
        STEP(expectProgramEnded());
        QCOMPARE(printer->finishedDocuments().size(), printedBefore ? 2 : 1);
        QCOMPARE(describe(printer->finishedDocuments().last()), QStringList{"H1 R B5"});
        dialogs.verifyDone();
    }

    void noEndsTheProgram_data() {
        QTest::addColumn<QString>("situation");
        QTest::newRow("Form4") << "Form4";
        QTest::newRow("Form12") << "Form12";
        QTest::newRow("Form13") << "Form13";
        QTest::newRow("cold pack count") << "cold";
        QTest::newRow("hot pack count") << "hot";
        QTest::newRow("channel count beyond 16 bits") << "channels";
    }

    // "Нет" in any of the Yes/No situations ends the program at once.
    void noEndsTheProgram() {
        QFETCH(QString, situation);
        ScriptedDialogs dialogs;
        STEP(startAtMainMenu());
        STEP(startDataInput(dialogs, QStringLiteral("петров")));
        if (situation == QLatin1String("Form4")) {
            QStringList answers = coolerAnswers;
            answers[3] = QStringLiteral("0,02");
            STEP(typeInitialData(dialogs, ExchangerType::Cooler, answers));
            STEP(expectScreens({"Form3", "Form4"}, {"Form3", "Form4"}));
            STEP(press(shown<Form4>().Command2));
        } else {
            STEP(typeInitialData(dialogs, ExchangerType::Cooler, coolerAnswers));
            STEP(keepData());
        }

        const QString coldPacks =
            QStringLiteral("Введите число пакетов для холодного теплоносителя");
        const QString coldPacksTitle =
            QStringLiteral("Ввод числа пакетов для холодного теплоносителя");
        if (situation == QLatin1String("Form12")) {
            STEP(choosePlate(dialogs, "Command3", oneAndOne));
            STEP(press(shown<Form9>().Command3));
            Form11& form = shown<Form11>();
            dialogs.expectInput(coolerParameterName(4), inputTitle, 4000, 195 * 4 + 1875,
                                QStringLiteral("0,02"));
            STEP(clickLine(form.List1, 4));
            STEP(press(form.Command3));
            STEP(expectScreens({"Form11", "Form12"}, {"Form11", "Form12"}));
            STEP(press(shown<Form12>().Command2));
        } else if (situation == QLatin1String("Form13")) {
            STEP(choosePlate(dialogs, "Command3", {"1", {"5"}, "1", {"4"}}));
            STEP(expectScreens({"Form6", "Form13"}, {"Form6", "Form13"}));
            STEP(press(shown<Form13>().Command2));
        } else if (situation == QLatin1String("cold")) {
            dialogs.expectInput(coldPacks, coldPacksTitle, 1000, 1000, QStringLiteral("9"));
            dialogs.expectYesNo(errorTitle, packCountError, false);
            STEP(press(shown<Form5>().Command3));
        } else if (situation == QLatin1String("hot")) {
            Arrangement a = oneAndOne;
            a.hot.clear();
            a.hotPacks = QStringLiteral("0");
            expectArrangement(dialogs, a);
            dialogs.expectYesNo(errorTitle, packCountError, false);
            STEP(press(shown<Form5>().Command3));
        } else if (situation == QLatin1String("channels")) {
            dialogs.expectInput(coldPacks, coldPacksTitle, 1000, 1000, QStringLiteral("1"));
            dialogs.expectInput(
                QStringLiteral("Введите число каналов в1 - м пакете для холодного теплоносителя"),
                QStringLiteral("Ввод числа каналов в пакете для холодного теплоносителя"), 1000,
                1200, QStringLiteral("40000"));
            dialogs.expectYesNo(errorTitle,
                                QStringLiteral("число каналов от -32768 до 32767 !!!    "
                                               "Продолжаете работу ?"),
                                false);
            STEP(press(shown<Form5>().Command3));
        }
        STEP(expectProgramEnded());
        QVERIFY(printer->finishedDocuments().isEmpty());
        dialogs.verifyDone();
    }

    // The correction screen: a wrong value, its "Внимание !" dialog and "Да",
    // a type change, the corrected line, and on to the catalogue.
    void correctionScreenWithErrorAndTypeChange() {
        ScriptedDialogs dialogs;
        STEP(coolerToResults(dialogs));
        STEP(press(shown<Form9>().Command3));
        STEP(expectScreens({"Form11"}, {"Form11"}));
        Form11& form = shown<Form11>();
        QCOMPARE(form.caption(), QStringLiteral("Изменение исходной информации"));

        dialogs.expectInput(coolerParameterName(4), inputTitle, 4000, 195 * 4 + 1875,
                            QStringLiteral("0,02"));
        STEP(clickLine(form.List1, 4));
        QCOMPARE(buttonColor(form.Command3), red);
        STEP(press(form.Command3));
        STEP(expectScreens({"Form11", "Form12"}, {"Form11", "Form12"}));
        QCOMPARE(form.printedLines().at(3), parameterLine(ExchangerType::Cooler, 4, "0.02"));
        QVERIFY(form.Label2->isVisible());

        STEP(press(shown<Form12>().Command1)); // "Да"
        STEP(expectScreens({"Form11"}, {"Form11"}));
        QVERIFY(form.printedLines().isEmpty());
        QVERIFY(form.List1->isVisible() && form.List1->isEnabled());

        STEP(clickLine(form.List1, 0));
        STEP(press(form.Command5));
        QCOMPARE(form.List1->item(0)->text(),
                 constructionParameterName(16) + QStringLiteral(" Конденсатор"));
        QCOMPARE(form.List1->item(1)->text(),
                 parameterLine(ExchangerType::Condenser, 1, QStringLiteral("0.123")));
        dialogs.expectInput(condenserParameterName(4), inputTitle, 4000, 195 * 4 + 1875,
                            QStringLiteral("0,000416"));
        STEP(clickLine(form.List1, 4));
        QCOMPARE(buttonColor(form.Command3), green);
        STEP(press(form.Command3));
        STEP(expectScreens({"Form5"}, {"Form5"}));
        QCOMPARE(shown<Form5>().Label1->text(),
                 QStringLiteral("  ТИП ТЕПЛООБМЕННИКА  - КОНДЕНСАТОР"));
        STEP(choosePlate(dialogs, "Command5", condenserPacks));
        STEP(expectResults());
        QCOMPARE(shown<Form9>().printedLines().first(),
                 sp(11) + QStringLiteral("Тип теплообменника  - Конденсатор"));
        dialogs.verifyDone();
    }

    // The title-bar close of a screen ends the program like its end button,
    // releasing the report printed so far.
    // The window's close button: on the text screens it goes back, on a
    // question it answers "Да"; on a screen with no way back of its own it
    // ends the program, finishing the open report.
    void closingTheWindow() {
        ScriptedDialogs dialogs;
        STEP(startAtMainMenu());
        STEP(press(shown<Form1>().Command1));
        shown<Form2>().close();
        STEP(expectScreens({"Form2", "Form1"}, {"Form1"}));

        STEP(startDataInput(dialogs, QStringLiteral("петров")));
        QStringList answers = coolerAnswers;
        answers[3] = QStringLiteral("0,02"); // out of range: the question comes up
        STEP(typeInitialData(dialogs, ExchangerType::Cooler, answers));
        STEP(expectScreens({"Form3", "Form4"}, {"Form3", "Form4"}));
        // The question is a window of its own owned by the data screen.
        QVERIFY(shown<Form4>().isWindow());
        QCOMPARE(shown<Form4>().parentWidget(), &shown<Form3>());
        shown<Form4>().close();
        STEP(expectScreens({"Form3"}, {"Form3"}));
        QVERIFY(shown<Form3>().Label3->isVisible()); // the correcting state
        dialogs.expectInput(coolerParameterName(4), inputTitle, 4000, 195 * 4 + 1875,
                            QStringLiteral("0,000416"));
        STEP(clickLine(shown<Form3>().List1, 4));
        STEP(press(shown<Form3>().Command3));
        STEP(choosePlate(dialogs, "Command3", oneAndOne));
        STEP(expectResults());

        STEP(printResults());
        const RecordingPrinter::Document printed = printer->currentDocument();
        STEP(press(shown<Form9>().Command5));
        shown<Form10>().close();
        STEP(expectResults());
        QVERIFY(printer->finishedDocuments().isEmpty());
        shown<Form9>().close();
        STEP(expectProgramEnded());
        QCOMPARE(printer->finishedDocuments(), QList<RecordingPrinter::Document>{printed});
        dialogs.verifyDone();
    }

    // The description and back, twice; the description stays loaded, hidden,
    // behind the fresh menu until the next change of screen unloads it.
    void menuDescriptionAndBack() {
        ScriptedDialogs dialogs;
        STEP(startAtMainMenu());
        for (int visit = 0; visit < 2; ++visit) {
            STEP(press(shown<Form1>().Command1));
            STEP(expectScreens({"Form1", "Form2"}, {"Form2"}));
            STEP(press(shown<Form2>().Command1));
            STEP(expectScreens({"Form2", "Form1"}, {"Form1"}));
        }
        STEP(startDataInput(dialogs, QStringLiteral("петров")));
        dialogs.verifyDone();
    }

    void menuEnd() {
        ScriptedDialogs dialogs;
        STEP(startAtMainMenu());
        STEP(press(shown<Form1>().Command3));
        STEP(expectProgramEnded());
        dialogs.verifyDone();
    }
};

QTEST_MAIN(WholePathTest)
#include "whole_path_test.moc"
