// The results screen Form9 as a student sees it: the grey description of the
// exchanger, the results and warnings in their colours and places, and the
// five buttons with their effect on the screens and on the printed report.

#include "app/program_start.h"
#include "calculation/calculation.h"
#include "core/design_case.h"
#include "initial_data/parameter_names.h"
#include "platform/controls.h"
#include "platform/program_end.h"
#include "platform/screens.h"
#include "platform/system_report_printer.h"
#include "platform/twips.h"
#include "results/report_progress.h"
#include "results/results_screen.h"
#include "support/recording_printer.h"
#include "support/scripted_dialogs.h"
#include "support/test_support.h"
#include "support/worked_examples.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

using namespace orven;
using orven::test::RecordingPrinter;
using orven::test::ScriptedDialogs;

namespace {

QString sp(qsizetype count) {
    return QString(count, QLatin1Char(' '));
}

const QColor grey(128, 128, 128);
const QColor blue(0, 0, 255);
const QColor red(255, 0, 0);
const QColor magenta(255, 0, 255);

const QString plateName = QStringLiteral(" Тип пластины") + sp(41); // 54 characters
const QString nozzleName = QStringLiteral(" Диаметр штуцера\u00A0(м)") + sp(39);
const QString coldPacksLabel =
    QStringLiteral("           Число каналов в пакете для холодного теплоносителя (шт.)  ");
const QString hotPacksLabel =
    QStringLiteral("           Число каналов в пакете для горячего теплоносителя (шт.)  ");

// The worked cooler: plate 0.2 m2, one pack of five channels on each side.
void setUpCooler(DesignCase& c) {
    fillParameterNames(c);
    fillPlateTypeCoefficients(c);
    c.exchangerType = ExchangerType::Cooler;
    c.valueTexts[16] = QStringLiteral(" Холодильник");
    const QList<double> data = test::workedValues(ExchangerType::Cooler);
    for (int slot = 1; slot <= 14; ++slot)
        c.workingInitialData[slot] = c.values[slot] = data[slot - 1];
    c.values[17] = 0.2;
    c.valueTexts[17] = QStringLiteral("     0.2 K");
    c.valueTexts[21] = QStringLiteral("0.1");
    c.plateGeometry = {0, 0.45, 0.0016, 0.0076, 0.1};
    PlateArrangement& a = c.plateArrangement;
    a.coldPackCount = 1;
    a.hotPackCount = 1;
    a.coldChannels[1] = 5;
    a.hotChannels[1] = 5;
    a.coldChannelTotal = 5;
    a.hotChannelTotal = 5;
}

// The worked condenser: plate 0.3 m2, nozzle 65 mm, two cold packs of six
// channels, one hot pack of twelve.
void setUpCondenser(DesignCase& c) {
    setUpCooler(c);
    c.exchangerType = ExchangerType::Condenser;
    const QList<double> data = test::workedValues(ExchangerType::Condenser);
    for (int slot = 1; slot <= 14; ++slot)
        c.workingInitialData[slot] = c.values[slot] = data[slot - 1];
    c.values[17] = 0.3;
    c.valueTexts[17] = QStringLiteral("     0.3 М^2");
    c.valueTexts[21] = QStringLiteral("0.065");
    c.plateGeometry = {1, 1.12, 0.0011, 0.008, 0.065};
    PlateArrangement& a = c.plateArrangement;
    a.coldPackCount = 2;
    a.coldChannels[1] = 6;
    a.coldChannels[2] = 6;
    a.coldChannelTotal = 12;
    a.hotPackCount = 1;
    a.hotChannels[1] = 12;
    a.hotChannelTotal = 12;
}

Form9* shownForm() {
    return findLoadedScreen<Form9>();
}

// "x,y,colour: text" of every printed run, for whole-screen comparisons.
QStringList surface(const Form9& form) {
    QStringList runs;
    for (const SurfaceText& t : form.printedTexts())
        runs << QStringLiteral("%1,%2,%3: %4").arg(t.x).arg(t.y).arg(t.color.name(), t.text);
    return runs;
}

QString run(int x, int y, const QColor& color, const QString& text) {
    return QStringLiteral("%1,%2,%3: %4").arg(x).arg(y).arg(color.name(), text);
}

// The grey header of a one-pack cooler of five and five channels.
QStringList coolerHeader(int h) {
    const QStringList texts = {
        QStringLiteral("           Тип теплообменника - Холодильник"),
        sp(10) + plateName + sp(7) + QStringLiteral("     0.2 K"),
        sp(10) + nozzleName + sp(7) + QStringLiteral("0.1"),
        coldPacksLabel + "1",
        QStringLiteral("           Номер пакета    1  |"),
        QStringLiteral("           Число каналов   5  |"),
        hotPacksLabel + "1",
        QStringLiteral("           Номер пакета    1  |"),
        QStringLiteral("           Число каналов   5  |"),
    };
    QStringList runs;
    for (int i = 0; i < texts.size(); ++i)
        runs << run(0, 200 + i * h, grey, texts[i]);
    return runs;
}

int lineOf(const QStringList& runs, const QString& text) {
    for (int i = 0; i < runs.size(); ++i) {
        if (runs[i].endsWith(": " + text))
            return i;
    }
    return -1;
}

// Counts the document ends and notes the print button's state while lines go out.
class WatchingPrinter : public RecordingPrinter {
public:
    void printLine(const QString& text) override {
        if (Form9* form = findLoadedScreen<Form9>())
            buttonFreeDuringPrint =
                buttonFreeDuringPrint || !form->Command4->isHidden() || form->Command4->isEnabled();
        RecordingPrinter::printLine(text);
    }
    void endDocument() override {
        ++ends;
        RecordingPrinter::endDocument();
    }
    int ends = 0;
    bool buttonFreeDuringPrint = false;
};

// The parts of each page; "B" for every cooler block.
QStringList describe(const RecordingPrinter::Document& document) {
    return test::describePages(document, [](const RecordingPrinter::Page& page, int i) {
        return page[i].contains(QStringLiteral("Тип теплообменника - ХОЛОДИЛЬНИК"))
                   ? QStringLiteral("B")
                   : QString();
    });
}

// A calculation followed by a click on "Печать результатов".
void calculateAndPrint() {
    showResults();
    QPushButton* print = findLoadedScreen<Form9>()->Command4;
    QVERIFY(print->isVisible() && print->isEnabled());
    print->click();
}

} // namespace

class ResultsScreenTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        test::startFreshRun();
        setReportFinisher({});
        setReportPrinter(nullptr);
        designCase().pageNumber = 1;
        designCase().pageBlockCount = 1;
    }

    void cleanup() {
        setReportPrinter(nullptr);
        setReportFinisher({});
        test::clearScreens();
    }

    void designAndLoadLayout() {
        Form9& form = screen<Form9>();
        QCOMPARE(form.objectName(), QStringLiteral("Form9"));
        QCOMPARE(form.backgroundColor(), QColor(255, 255, 0));
        QCOMPARE(form.foreColor(), blue);
        QVERIFY(form.surfaceFont().bold());
        QCOMPARE(form.surfaceFont().pointSizeF(), 9.75);
        QVERIFY(QFontInfo(form.surfaceFont()).fixedPitch());
        QCOMPARE(form.heightTwips(), pixelsToTwips(twipsToPixels(9615)));
        QCOMPARE(form.widthTwips(), pixelsToTwips(twipsToPixels(14000)));
        QCOMPARE(form.y(), twipsToPixels(100));
        const int displayTwips =
            pixelsToTwips(QGuiApplication::primaryScreen()->geometry().width());
        QCOMPARE(form.x(), twipsToPixels(displayTwips / 2 - 7000));

        const QList<std::tuple<QPushButton*, QString, int, QColor>> buttons = {
            {form.Command1, QStringLiteral("Окончание работы с программой"), 8280,
             QColor(255, 128, 128)},
            {form.Command2, QStringLiteral("Выбор другой компоновки пластин"), 5400,
             QColor(0, 255, 0)},
            {form.Command3, QStringLiteral("Изменение массива физсвойств"), 6120,
             QColor(0, 255, 0)},
            {form.Command4, QStringLiteral("Печать результатов"), 6840, QColor(0, 255, 0)},
            {form.Command5, QStringLiteral("Пояснение к подбору теплообменника"), 7560,
             QColor(0, 255, 0)},
        };
        int number = 1;
        for (const auto& [button, caption, top, color] : buttons) {
            QCOMPARE(button->objectName(), QStringLiteral("Command%1").arg(number++));
            QCOMPARE(button->text(), caption);
            QCOMPARE(Screen::topTwips(button), pixelsToTwips(twipsToPixels(top)));
            QCOMPARE(Screen::widthTwips(button), 5055);
            QCOMPARE(Screen::heightTwips(button), pixelsToTwips(twipsToPixels(495)));
            // Centred on the 14000 twips of the loaded screen.
            QCOMPARE(Screen::leftTwips(button), pixelsToTwips(twipsToPixels(7000 - 5055 / 2)));
            QCOMPARE(buttonColor(button), color);
            QCOMPARE(button->font().pointSizeF(), 12.0);
            QVERIFY(button->font().bold());
        }
        QCOMPARE(form.Command1->nextInFocusChain(), form.Command2);
        QCOMPARE(form.Command2->nextInFocusChain(), form.Command3);
        QCOMPARE(form.Command3->nextInFocusChain(), form.Command4);
        QCOMPARE(form.Command4->nextInFocusChain(), form.Command5);

        QCOMPARE(form.Label1->text(), QStringLiteral("Label1"));
        QCOMPARE(Screen::leftTwips(form.Label1), pixelsToTwips(twipsToPixels(4440)));
        QCOMPARE(Screen::topTwips(form.Label1), pixelsToTwips(twipsToPixels(840)));
        QCOMPARE(Screen::widthTwips(form.Label1), pixelsToTwips(twipsToPixels(5295)));
        QCOMPARE(Screen::heightTwips(form.Label1), pixelsToTwips(twipsToPixels(1695)));
    }

    // The yellow face, the red-pink end button and the text really reach the pixels.
    void rendersItsColours() {
        ScriptedDialogs dialogs;
        setUpCooler(designCase());
        showResults();
        Form9& form = *shownForm();
        const QImage image = form.grab().toImage();
        QCOMPARE(image.pixelColor(3, 3), QColor(255, 255, 0));
        const QPoint inButton = form.Command1->geometry().topLeft() + QPoint(4, 4);
        QCOMPARE(image.pixelColor(inButton), QColor(255, 128, 128));
        // Some pixel of the grey header line.
        const int top = twipsToPixels(200);
        bool greyFound = false;
        for (int y = top; y < top + 12 && !greyFound; ++y) {
            for (int x = 0; x < image.width() && !greyFound; ++x)
                greyFound = image.pixelColor(x, y) == grey;
        }
        QVERIFY(greyFound);
    }

    void workedCooler() {
        ScriptedDialogs dialogs;
        setUpCooler(designCase());
        showResults();

        Form9* form = shownForm();
        QVERIFY(form);
        QVERIFY(form->isVisible());
        QCOMPARE(form->caption(), QStringLiteral("Результаты расчета"));
        QCOMPARE(loadedScreens().size(), 1);
        const int h = form->textHeightTwips();
        QStringList expected = coolerHeader(h);
        int y = 200 + 9 * h + 200 + 200;
        expected << run(3000, y, blue, QStringLiteral("РЕЗУЛЬТАТЫ  РАСЧЕТА"));
        const QList<std::pair<QString, QString>> results = {
            {QStringLiteral("Reynolds\" критерий (для горячего теплоносителя)") + sp(21), "280,89"},
            {QStringLiteral("Reynolds\" критерий (для холодного теплоносителя)") + sp(20),
             "1259,27"},
            {QStringLiteral("Коэффициент теплоотдачи от горячего теплоносителя (Вт/м^2*К)") + sp(8),
             "300,50"},
            {QStringLiteral("Коэффициент теплоотдачи к холодному теплоносителю (Вт/м^2*К)") + sp(7),
             "2543,92"},
            {QStringLiteral("Коэффициент теплопередачи (Вт/м^2*К)") + sp(32), "253,17"},
            {QStringLiteral("Гидравлическое сопротивление для горячего теплоносителя (Па)") + sp(8),
             "39,03"},
            {QStringLiteral("Гидравлическое сопротивление для холодного теплоносителя (Па)") +
                 sp(7),
             "1259,52"},
        };
        for (const auto& [label, value] : results)
            expected << run(800, y += h, blue, label + sp(15 - value.size()) + value);
        expected << run(800, y += h, magenta,
                        QStringLiteral("Расчетная поверхность теплопередачи (м^2)") + sp(27) +
                            sp(10) + "11,49");
        expected << run(800, y += h, magenta,
                        QStringLiteral("Геометрическая площадь поверхности теплопередачи (м^2)") +
                            sp(14) + sp(11) + "1,60");
        y += h + 200;
        expected << run(
            800, y, red,
            QStringLiteral("Выбранный Вами теплообменник не подходит из-за недостатка площади."));
        expected << run(
            800, y + h + 200, red,
            QStringLiteral("Если Вы не знаете, что делать, почитайте пояснения по подбору"));
        QCOMPARE(surface(*form), expected);
        QCOMPARE(dialogs.beepCount(), 1);

        QVERIFY(form->Label1->isHidden());
        for (QPushButton* b :
             {form->Command1, form->Command2, form->Command3, form->Command4, form->Command5})
            QVERIFY(b->isVisible() && b->isEnabled());
        QVERIFY(designCase().resultsUnprinted);
        QVERIFY(!designCase().printRequestHandled);
        dialogs.verifyDone();
    }

    void workedCondenser() {
        ScriptedDialogs dialogs;
        setUpCondenser(designCase());
        showResults();
        const QStringList runs = surface(*shownForm());
        const QStringList texts = shownForm()->printedLines();

        QCOMPARE(texts.mid(0, 9),
                 (QStringList{
                     QStringLiteral("           Тип теплообменника  - Конденсатор"),
                     sp(10) + plateName + sp(7) + QStringLiteral("     0.3 М^2"),
                     sp(10) + nozzleName + sp(7) + QStringLiteral("0.065"),
                     coldPacksLabel + "2",
                     QStringLiteral("           Номер пакета    1  |  2  |"),
                     QStringLiteral("           Число каналов   6  |  6  |"),
                     hotPacksLabel + "1",
                     QStringLiteral("           Номер пакета    1  |"),
                     QStringLiteral("           Число каналов  12  |"),
                 }));
        for (const QString& text : texts)
            QVERIFY2(!text.contains(QStringLiteral("для горячего теплоносителя (Па)")),
                     qPrintable(text));
        QCOMPARE(
            texts.mid(14, 3),
            (QStringList{
                QStringLiteral("Коэффициент теплопередачи (Вт/м^2*К)") + sp(32) + sp(8) + "1041,20",
                QStringLiteral("Гидравлическое сопротивление для холодного теплоносителя (Па)") +
                    sp(7) + sp(7) + "34122,91",
                QStringLiteral("Расчетная поверхность теплопередачи (м^2)") + sp(27) + sp(11) +
                    "3,52",
            }));
        const int margin = lineOf(runs, QStringLiteral("Запас поверхности теплопередачи (%)") +
                                            sp(33) + sp(10) + "87,42");
        QVERIFY(margin > 0);
        QVERIFY(runs[margin].contains(magenta.name()));
        QCOMPARE(
            texts.mid(margin + 1),
            (QStringList{
                QStringLiteral("В выбранном Вами теплообменнике очень большой запас поверхности."),
                QStringLiteral("Попробуйте другой.")}));
        QCOMPARE(dialogs.beepCount(), 1);
    }

    void accuracyWarning_data() {
        QTest::addColumn<double>("maxReynolds");
        QTest::addColumn<bool>("shown");
        // The cold Reynolds number of the worked cooler is about 1259.27.
        QTest::newRow("limit below Re") << 1259.0 << true;
        QTest::newRow("limit above Re") << 1260.0 << false;
    }

    // Between the Reynolds and the coefficient lines, red, without a beep.
    void accuracyWarning() {
        QFETCH(double, maxReynolds);
        QFETCH(bool, shown);
        ScriptedDialogs dialogs;
        DesignCase& c = designCase();
        setUpCooler(c);
        c.plateTypeCoefficients.table[4 * 4 + 0] = maxReynolds;
        showResults();
        Form9& form = *shownForm();
        const QList<SurfaceText> texts = form.printedTexts();
        const SurfaceText& afterReynolds = texts.at(12);
        const QString accuracy =
            QStringLiteral("В выбранном Вами режиме формулы не обеспечивают достаточной точности "
                           "расчета");
        QCOMPARE(afterReynolds.text == accuracy, shown);
        if (shown) {
            QCOMPARE(afterReynolds.color, red);
            QCOMPARE(afterReynolds.x, 800);
            QCOMPARE(afterReynolds.y, texts.at(11).y + form.textHeightTwips());
            QVERIFY(texts.at(13).text.startsWith(QStringLiteral("Коэффициент теплоотдачи от")));
            QCOMPARE(texts.at(13).color, blue);
        }
        QCOMPARE(dialogs.beepCount(), 1); // the insufficient surface only
    }

    void highResistanceBeforeInsufficientSurface() {
        ScriptedDialogs dialogs;
        DesignCase& c = designCase();
        setUpCooler(c);
        c.plateGeometry.nozzleDiameter = 0.01; // nozzle losses far above 50000 Pa
        showResults();
        Form9& form = *shownForm();
        const QList<SurfaceText> texts = form.printedTexts();
        const int h = form.textHeightTwips();
        const int n = static_cast<int>(texts.size());
        QCOMPARE(texts.at(n - 3).text,
                 QStringLiteral("Обратите внимание на большое гидравлическое сопротивление !!!"));
        QCOMPARE(texts.at(n - 3).y, texts.at(n - 4).y + h + 200);
        QCOMPARE(
            texts.at(n - 2).text,
            QStringLiteral("Выбранный Вами теплообменник не подходит из-за недостатка площади."));
        QCOMPARE(texts.at(n - 2).y, texts.at(n - 3).y + h);
        QCOMPARE(texts.at(n - 1).y, texts.at(n - 2).y + h + 200);
        for (int i = n - 3; i < n; ++i) {
            QCOMPARE(texts.at(i).color, red);
            QCOMPARE(texts.at(i).x, 800);
        }
        QCOMPARE(dialogs.beepCount(), 2);
    }

    // Text never runs under a button: with three warnings the buttons move
    // down below it; with one they stand where the screen has them.
    void buttonsBelowTheWarnings_data() {
        QTest::addColumn<bool>("threeWarnings");
        QTest::addColumn<bool>("marginZero");
        QTest::newRow("one warning") << false << false;
        QTest::newRow("three warnings") << true << false;
        QTest::newRow("three warnings, margin 0") << true << true;
    }
    void buttonsBelowTheWarnings() {
        QFETCH(bool, threeWarnings);
        QFETCH(bool, marginZero);
        ScriptedDialogs dialogs;
        DesignCase& c = designCase();
        setUpCooler(c);
        if (threeWarnings) {
            c.plateTypeCoefficients.table[4 * 4 + 0] = 1259.0; // accuracy
            c.plateGeometry.nozzleDiameter = 0.01;             // resistance
        }
        if (marginZero) {
            QCOMPARE(calculateExchanger(c), CalculationStatus::Completed);
            c.values[17] = c.calculationResults.requiredSurface / 8;
        }
        showResults();
        Form9& form = *shownForm();
        QCOMPARE(resultWarnings(c).size(), threeWarnings ? 3 : 1);
        const QList<QPushButton*> buttons{form.Command2, form.Command3, form.Command4,
                                          form.Command5, form.Command1};
        if (!threeWarnings) {
            for (int i = 0; i < buttons.size(); ++i)
                QCOMPARE(buttons.at(i)->y(), twipsToPixels(5400 + 720 * i));
            QCOMPARE(form.heightTwips(), 9615);
        }
        const SurfaceText last = form.printedTexts().last();
        QVERIFY(twipsToPixels(last.y + form.textHeightTwips()) <= form.Command2->y());
        for (int i = 1; i < buttons.size(); ++i)
            QCOMPARE(buttons.at(i)->y() - buttons.at(i - 1)->y(), twipsToPixels(720));
        QVERIFY(form.Command1->geometry().bottom() < form.height());
    }

    void surfaceMarginAroundZero_data() {
        QTest::addColumn<double>("areaFactor");
        QTest::addColumn<bool>("marginShown");
        QTest::addColumn<bool>("insufficient");
        QTest::newRow("exactly 0") << 1.0 << true << true;
        QTest::newRow("just above 0") << 1.000000001 << true << false;
        QTest::newRow("just below 0") << 0.999999999 << false << true;
    }

    // The plate area is chosen so that the geometric surface of eight plates
    // meets the required surface of the cooler (which does not depend on it).
    void surfaceMarginAroundZero() {
        QFETCH(double, areaFactor);
        QFETCH(bool, marginShown);
        QFETCH(bool, insufficient);
        ScriptedDialogs dialogs;
        DesignCase& c = designCase();
        setUpCooler(c);
        QCOMPARE(calculateExchanger(c), CalculationStatus::Completed);
        c.values[17] = c.calculationResults.requiredSurface / 8 * areaFactor;
        showResults();
        const QStringList runs = surface(*shownForm());
        const QString marginLine =
            QStringLiteral("Запас поверхности теплопередачи (%)") + sp(33) + sp(11) + "0,00";
        QCOMPARE(lineOf(runs, marginLine) >= 0, marginShown);
        QCOMPARE(lineOf(runs, QStringLiteral("Попробуйте другой.")), -1);
        QCOMPARE(lineOf(runs, QStringLiteral("Если Вы не знаете, что делать, почитайте пояснения "
                                             "по подбору")) >= 0,
                 insufficient);
        QCOMPARE(dialogs.beepCount(), insufficient ? 1 : 0);
    }

    void coldPackCells_data() {
        QTest::addColumn<double>("packs");
        QTest::addColumn<QString>("countText");
        QTest::addColumn<QString>("numbers");
        QTest::addColumn<QString>("channels");
        QTest::newRow("1") << 1.0 << "1"
                           << "  1  |"
                           << "  3  |";
        QTest::newRow("1.5") << 1.5 << "1,5"
                             << "  1  |"
                             << "  3  |";
        QTest::newRow("2") << 2.0 << "2"
                           << "  1  |  2  |"
                           << "  3  |  2  |";
        QTest::newRow("2.5") << 2.5 << "2,5"
                             << "  1  |  2  |"
                             << "  3  |  2  |";
    }

    void coldPackCells() {
        QFETCH(double, packs);
        QFETCH(QString, countText);
        QFETCH(QString, numbers);
        QFETCH(QString, channels);
        ScriptedDialogs dialogs;
        DesignCase& c = designCase();
        setUpCooler(c);
        c.plateArrangement.coldPackCount = packs;
        c.plateArrangement.coldChannels[1] = 3;
        c.plateArrangement.coldChannels[2] = 2;
        c.plateArrangement.coldChannels[3] = 99; // an earlier arrangement's pack
        showResults();
        const QStringList texts = shownForm()->printedLines();
        QCOMPARE(texts.at(3), coldPacksLabel + countText);
        QCOMPARE(texts.at(4), QStringLiteral("           Номер пакета  ") + numbers);
        QCOMPARE(texts.at(5), QStringLiteral("           Число каналов ") + channels);
    }

    void inputError_data() {
        QTest::addColumn<bool>("condenser");
        QTest::addColumn<int>("hot");
        QTest::addColumn<int>("cold");
        QTest::newRow("condenser without surface") << true << 1 << 1;
        QTest::newRow("cooler without hot channels") << false << 0 << 5;
    }

    void inputError() {
        QFETCH(bool, condenser);
        QFETCH(int, hot);
        QFETCH(int, cold);
        ScriptedDialogs dialogs;
        DesignCase& c = designCase();
        condenser ? setUpCondenser(c) : setUpCooler(c);
        PlateArrangement& a = c.plateArrangement;
        a.coldPackCount = 1;
        a.hotChannels[1] = a.hotChannelTotal = static_cast<std::int16_t>(hot);
        a.coldChannels[1] = a.coldChannelTotal = static_cast<std::int16_t>(cold);
        showResults();
        Form9& form = *shownForm();
        const QStringList runs = surface(form);
        QCOMPARE(runs.size(), 10);
        for (int i = 0; i < 9; ++i)
            QVERIFY(runs[i].startsWith(
                QStringLiteral("0,%1,#808080: ").arg(200 + i * form.textHeightTwips())));
        QCOMPARE(runs.last(),
                 run(4000, 3000, red, QStringLiteral("ОШИБКА В ИСХОДНОЙ ИНФОРМАЦИИ !")));
        QCOMPARE(dialogs.beepCount(), 1);
        QVERIFY(form.Command4->isHidden());
        QVERIFY(form.Label1->isHidden());
        for (QPushButton* b : {form.Command1, form.Command2, form.Command3, form.Command5})
            QVERIFY(b->isVisible());

        // Not even a click the program raises prints stale results.
        RecordingPrinter printer;
        setReportPrinter(&printer);
        form.Command4->click();
        QVERIFY(printer.currentLines().isEmpty());
        QVERIFY(!c.reportOpen);
    }

    void showResultsClosesEveryOtherScreen() {
        ScriptedDialogs dialogs;
        setUpCooler(designCase());
        screen<Screen>();
        showResults();
        showResults(); // a new calculation gets a fresh screen
        QCOMPARE(loadedScreens().size(), 1);
        QCOMPARE(lineOf(surface(*shownForm()), QStringLiteral("РЕЗУЛЬТАТЫ  РАСЧЕТА")), 9);
    }
    void fivePrintsOverFiveCalculations() {
        ScriptedDialogs dialogs;
        setUpCooler(designCase());
        WatchingPrinter printer;
        setReportPrinter(&printer);
        for (int i = 0; i < 5; ++i)
            calculateAndPrint();
        QCOMPARE(describe(printer.currentDocument()), (QStringList{"H1 R B B", "H2 B B B"}));
        QCOMPARE(designCase().pageBlockCount, 1);
        calculateAndPrint();
        QCOMPARE(describe(printer.currentDocument()),
                 (QStringList{"H1 R B B", "H2 B B B", "H3 B"}));
        QVERIFY(!printer.buttonFreeDuringPrint);
        Form9& form = *shownForm();
        QVERIFY(form.Command4->isVisible() && form.Command4->isEnabled());
        QCOMPARE(printer.ends, 0);
    }

    void secondClickPrintsNothing() {
        ScriptedDialogs dialogs;
        setUpCooler(designCase());
        RecordingPrinter printer;
        setReportPrinter(&printer);
        calculateAndPrint();
        shownForm()->Command4->click();
        QCOMPARE(describe(printer.currentDocument()), QStringList{"H1 R B"});
        QVERIFY(designCase().printRequestHandled);
        QVERIFY(!designCase().resultsUnprinted);
    }

    // Without a notification service, the student is told where the report
    // went: once, when the initial data are changed or at the end button,
    // with the path of the PDF written; nothing when nothing was printed.
    void reportPlaceIsToldWithoutNotifications_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("printed");
        QTest::newRow("change of the initial data") << QStringLiteral("Command3") << true;
        QTest::newRow("end button") << QStringLiteral("Command1") << true;
        QTest::newRow("nothing printed") << QStringLiteral("Command3") << false;
    }
    void reportPlaceIsToldWithoutNotifications() {
        QFETCH(QString, button);
        QFETCH(bool, printed);
        QTemporaryDir root;
        QList<QPair<QByteArray, QByteArray>> saved;
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_RUNTIME_DIR",
                                 "TMPDIR", "DBUS_SESSION_BUS_ADDRESS"})
            saved << qMakePair(QByteArray(name), qgetenv(name));
        const auto restore = qScopeGuard([&] {
            for (const auto& [name, value] : saved) {
                if (value.isNull())
                    qunsetenv(name.constData());
                else
                    qputenv(name.constData(), value);
            }
        });
        QDir(root.path()).mkpath(QStringLiteral("runtime"));
        qputenv("HOME", root.path().toLocal8Bit());
        qputenv("XDG_RUNTIME_DIR", root.filePath(QStringLiteral("runtime")).toLocal8Bit());
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_STATE_HOME", "DBUS_SESSION_BUS_ADDRESS"})
            qunsetenv(name);

        ScriptedDialogs dialogs;
        setUpCooler(designCase());
        SystemReportPrinter printer;
        wireReportPrinter(printer);
        setReportPrinter(&printer);
        installReportFinisher();
        if (printed)
            calculateAndPrint();
        else
            showResults();
        shownForm()->findChild<QPushButton*>(button)->click();
        if (printed) {
            QVERIFY(QFileInfo::exists(printer.lastPdfPath()));
            QCOMPARE(dialogs.informations(),
                     QStringList{QStringLiteral("ORVEN: Отчёт записан в файл ") +
                                 printer.lastPdfPath()});
        } else {
            QCOMPARE(dialogs.informations(), QStringList());
        }
    }

    void withoutPrinterNothingHappens() {
        ScriptedDialogs dialogs;
        setUpCooler(designCase());
        showResults();
        shownForm()->Command4->click();
        QVERIFY(!designCase().reportOpen);
        QVERIFY(designCase().resultsUnprinted);
        QVERIFY(!designCase().printRequestHandled);
        QVERIFY(shownForm()->Command4->isVisible());
    }

    void adviceAndBackKeepsTextAndPrintFlags_data() {
        QTest::addColumn<bool>("printBefore");
        QTest::addColumn<QStringList>("pages");
        QTest::newRow("print after the advice") << false << QStringList{"H1 R B"};
        QTest::newRow("printed before the advice") << true << QStringList{"H1 R B"};
    }

    void adviceAndBackKeepsTextAndPrintFlags() {
        QFETCH(bool, printBefore);
        QFETCH(QStringList, pages);
        ScriptedDialogs dialogs;
        setUpCooler(designCase());
        RecordingPrinter printer;
        setReportPrinter(&printer);
        showResults();
        Form9* form = shownForm();
        if (printBefore)
            form->Command4->click();
        const QStringList before = surface(*form);

        QVERIFY(form->Command5->isVisible());
        form->Command5->click();
        QVERIFY(form->isHidden());
        QCOMPARE(loadedScreens().size(), 2); // the results stay loaded under the advice
        QCOMPARE(loadedScreens().first(), form);

        returnToResults();
        QCOMPARE(shownForm(), form);
        QVERIFY(form->isVisible());
        QCOMPARE(surface(*form), before);
        form->Command4->click();
        QCOMPARE(describe(printer.currentDocument()), pages);
    }

    void returnWithoutResultsScreenDoesNothing() {
        returnToResults();
        QVERIFY(loadedScreens().isEmpty());
    }

    void otherArrangementContinuesTheReport() {
        ScriptedDialogs dialogs;
        setUpCooler(designCase());
        WatchingPrinter printer;
        setReportPrinter(&printer);
        calculateAndPrint();
        QPushButton* other = shownForm()->Command2;
        QVERIFY(other->isVisible());
        other->click();
        QCOMPARE(loadedScreens().size(), 1); // the selection screen only
        QCOMPARE(loadedScreens().first()->objectName(), QStringLiteral("Form5"));
        QVERIFY(designCase().reportOpen);
        calculateAndPrint();
        QCOMPARE(describe(printer.currentDocument()), QStringList{"H1 R B B"});
        QCOMPARE(printer.ends, 0);
    }

    void newInitialDataEndTheReport_data() {
        QTest::addColumn<int>("prints");
        QTest::addColumn<int>("ends");
        QTest::addColumn<QStringList>("finished");
        QTest::newRow("before any print") << 0 << 0 << QStringList{};
        QTest::newRow("open report") << 3 << 1 << QStringList{"H1 R B B", "H2 B"};
    }

    void newInitialDataEndTheReport() {
        QFETCH(int, prints);
        QFETCH(int, ends);
        QFETCH(QStringList, finished);
        ScriptedDialogs dialogs;
        DesignCase& c = designCase();
        setUpCooler(c);
        WatchingPrinter printer;
        setReportPrinter(&printer);
        for (int i = 0; i < prints; ++i)
            calculateAndPrint();
        if (prints == 0) {
            showResults();
            // Counters of an earlier report: reset all the same.
            c.pageNumber = 3;
            c.pageBlockCount = 2;
        }
        QPushButton* change = shownForm()->Command3;
        QVERIFY(change->isVisible());
        change->click();

        QCOMPARE(printer.ends, ends);
        QStringList finishedPages;
        for (const auto& document : printer.finishedDocuments())
            finishedPages += describe(document);
        QCOMPARE(finishedPages, finished);
        QVERIFY(!c.reportOpen);
        QCOMPARE(c.pageNumber, 1);
        QCOMPARE(c.pageBlockCount, 1);
        QCOMPARE(loadedScreens().size(), 1); // the correction screen only
        QCOMPARE(loadedScreens().first()->objectName(), QStringLiteral("Form11"));

        calculateAndPrint();
        QCOMPARE(describe(printer.currentDocument()), QStringList{"H1 R B"});
    }

    void endOfWork_data() {
        QTest::addColumn<int>("prints");
        QTest::addColumn<QStringList>("finished");
        QTest::newRow("nothing printed") << 0 << QStringList{};
        QTest::newRow("open report") << 3 << QStringList{"H1 R B B", "H2 B"};
    }

    // The end of the program releases exactly the pages printed so far, once.
    void endOfWork() {
        QFETCH(int, prints);
        QFETCH(QStringList, finished);
        ScriptedDialogs dialogs;
        setUpCooler(designCase());
        WatchingPrinter printer;
        setReportPrinter(&printer);
        installReportFinisher();
        for (int i = 0; i < prints; ++i)
            calculateAndPrint();
        if (prints == 0)
            showResults();
        QPushButton* end = shownForm()->Command1;
        QVERIFY(end->isVisible());
        end->click();

        QVERIFY(programEnded());
        QVERIFY(loadedScreens().isEmpty());
        finishOpenReport(); // the application's last signal asks again
        QCOMPARE(printer.ends, finished.isEmpty() ? 0 : 1);
        QStringList finishedPages;
        for (const auto& document : printer.finishedDocuments())
            finishedPages += describe(document);
        QCOMPARE(finishedPages, finished);
        QVERIFY(printer.currentDocument().isEmpty());
    }
};

QTEST_MAIN(ResultsScreenTest)
#include "results_screen_test.moc"
