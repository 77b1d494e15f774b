// The exchanger selection as a student meets it: the catalogue table drawn on
// the construction parameters screen, the nozzle buttons in its cells, the
// letter step of the 0.5 m2 plate, and what each choice stores.

#include "arrangement/arrangement_screen.h"
#include "calculation/plate_catalogue.h"
#include "core/design_case.h"
#include "platform/controls.h"
#include "platform/program_end.h"
#include "platform/screens.h"
#include "platform/twips.h"
#include "selection/selection_screen.h"
#include "support/scripted_dialogs.h"
#include "support/test_support.h"

#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <cmath>

using namespace orven;
using orven::test::ScriptedDialogs;

namespace {

// Stands for whichever screen opens the selection (initial data, results).
class CallerScreen : public Screen {};

constexpr double relativeTolerance = 1e-12;

bool near(double actual, double expected) {
    return std::abs(actual - expected) <= relativeTolerance * std::abs(expected);
}

QPoint pixelsAt(int xTwips, int yTwips) {
    return {twipsToPixels(xTwips), twipsToPixels(yTwips)};
}

QPushButton* button(Form5& form, int number) {
    return form.findChild<QPushButton*>(QStringLiteral("Command%1").arg(number));
}

const QString coldPacksPrompt = QStringLiteral("Введите число пакетов для холодного теплоносителя");
const QString coldPacksTitle = QStringLiteral("Ввод числа пакетов для холодного теплоносителя");

// The packs-and-channels dialogue has begun on its own screen alone; the
// student then gives up (Cancel, then "Нет").
void expectArrangementStartsAndEnd(ScriptedDialogs& dialogs, QStringList& loadedAtStart) {
    dialogs.expectInput(coldPacksPrompt, coldPacksTitle, 1000, 1000, QString(), [&loadedAtStart] {
        for (Screen* s : loadedScreens())
            loadedAtStart << s->objectName();
    });
    dialogs.expectYesNo(QStringLiteral("ОШИБКА !"),
                        QStringLiteral("число пакетов от1 до 8 !!!    Продолжаете работу ?"),
                        false);
}

} // namespace

class SelectionScreenTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        test::startFreshRun();
        for (int slot = 1; slot <= initialDataCount; ++slot)
            designCase().values[slot] = slot * 1.5;
    }

    void openingShowsTheTable_data() {
        QTest::addColumn<ExchangerType>("type");
        QTest::addColumn<QString>("caption");
        QTest::newRow("cooler") << ExchangerType::Cooler
                                << QStringLiteral("   ТИП ТЕПЛООБМЕННИКА - ХОЛОДИЛЬНИК");
        QTest::newRow("condenser")
            << ExchangerType::Condenser << QStringLiteral("  ТИП ТЕПЛООБМЕННИКА  - КОНДЕНСАТОР");
        QTest::newRow("not chosen")
            << ExchangerType::NotChosen << QStringLiteral("  ТИП ТЕПЛООБМЕННИКА  - КОНДЕНСАТОР");
    }

    void openingShowsTheTable() {
        QFETCH(ExchangerType, type);
        QFETCH(QString, caption);
        designCase().exchangerType = type;
        designCase().workingInitialData[3] = -7;
        screen<CallerScreen>().show();

        openExchangerSelection();

        QCOMPARE(loadedScreens().size(), 1);
        auto* form = findLoadedScreen<Form5>();
        QVERIFY(form != nullptr);
        QVERIFY(form->isVisible());
        QCOMPARE(form->caption(), QStringLiteral("Выбор конструктивных параметров теплообменника"));
        QCOMPARE(form->widthTwips(), 12570);
        QCOMPARE(form->heightTwips(), 9600);
        QCOMPARE(form->pos(), pixelsAt(100, 100));

        for (int slot = 1; slot <= initialDataCount; ++slot)
            QCOMPARE(designCase().workingInitialData[slot], slot * 1.5);

        QCOMPARE(form->Label1->text(), caption);
        QVERIFY(form->Label1->isVisible());
        // Below the table (its bottom at 6875), clear of the instruction box.
        QCOMPARE(form->Label1->y(), twipsToPixels(7100));
        QVERIFY(!form->Label1->geometry().intersects(form->Label2->geometry()));
        QCOMPARE(form->Label1->x(), twipsToPixels((12570 - 5655) / 2));
        QVERIFY(form->Label2->isVisible());
        QCOMPARE(form->Label2->text(),
                 QStringLiteral("По площади пластины и диаметру условного прохода штуцера\n"
                                "выберите необходимый Вам теплообменник"));
        QCOMPARE(form->Label2->y(), twipsToPixels(7700));

        // Nozzle buttons in their cells (table top 1075).
        const struct {
            int number;
            const char* caption;
            int left;
            int top;
        } cells[] = {{3, "100", 4500, 5675}, {4, "50", 6800, 5675},  {5, "65", 6800, 5975},
                     {6, "100", 9150, 5675}, {7, "150", 9150, 5975}, {8, "200", 9150, 6275}};
        for (const auto& cell : cells) {
            QPushButton* b = button(*form, cell.number);
            QVERIFY2(b->isVisible() && b->isEnabled(), qPrintable(b->objectName()));
            QCOMPARE(b->text(), QString::fromLatin1(cell.caption));
            QCOMPARE(b->pos(), pixelsAt(cell.left, cell.top));
            QCOMPARE(b->height(), twipsToPixels(300));
            QCOMPARE(buttonColor(b), QColor(0, 255, 0));
        }
        QVERIFY(!form->Command9->isVisible());
        QVERIFY(!form->Command10->isVisible());
        QCOMPARE(form->Command9->y(), twipsToPixels(5575));
        QCOMPARE(form->Command10->y(), twipsToPixels(5575 + 495 + 100));
    }

    void tableTexts_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::newRow("title") << 0
                               << QStringLiteral(
                                      "Конструктивные характеристики пластинчатых теплообменников")
                               << 1500 << 925;
        QTest::newRow("first heading") << 1 << QStringLiteral("    Конструктивные") << 600 << 1525;
        QTest::newRow("plate area")
            << 3 << QStringLiteral(" Площадь пластины, м^2") << 5550 << 1475;
        QTest::newRow("areas") << 4 << QStringLiteral("0.2              0.3               0.5")
                               << 4500 << 1875;
        QTest::newRow("cross-section as shown")
            << 14
            << QStringLiteral("                     0.0016           0.0011            0.00262")
            << 1500 << 4025;
        QTest::newRow("reduced length")
            << 17 << QStringLiteral("                      0.45             1.12              1.15")
            << 1500 << 4225;
        QTest::newRow("execution I") << 22 << QStringLiteral(" I") << 1550 << 5775;
        QTest::newRow("execution III")
            << 24 << QStringLiteral(" III                     -                -") << 1410 << 6275;
    }

    void tableTexts() {
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(int, x);
        QFETCH(int, y);
        openExchangerSelection();
        const QList<SurfaceText> texts = screen<Form5>().printedTexts();
        QCOMPARE(texts.size(), 25);
        const SurfaceText& shown = texts.at(index);
        QCOMPARE(shown.text, text);
        QCOMPARE(shown.x, x);
        QCOMPARE(shown.y, y);
        QCOMPARE(shown.color, QColor(0, 0, 192));
        QVERIFY(shown.font.bold());
        QCOMPARE(shown.font.pointSizeF(), index == 0 ? 12.0 : 10.0);
        QCOMPARE(shown.font.underline(), index == 0);
    }

    void reopeningDrawsAfresh() {
        openExchangerSelection();
        Form5* first = &screen<Form5>();
        const int items = first->surfaceItemCount();
        QCOMPARE(items, 25 + 1 + 9); // texts, the pink area, the grid

        openExchangerSelection();
        QCOMPARE(loadedScreens().size(), 1);
        Form5* second = findLoadedScreen<Form5>();
        QVERIFY(second != first);
        QCOMPARE(second->surfaceItemCount(), items);
    }

    void tableIsDrawn() {
        openExchangerSelection();
        Form5& form = screen<Form5>();
        const QImage image = form.grab().toImage();
        const QColor red(255, 0, 0);
        const QColor pink(255, 192, 255);
        // Horizontal lines at 350, 1100, 5700 below the table top; verticals at
        // 500, 3700, 6000, 8300, 10700.
        QCOMPARE(image.pixelColor(twipsToPixels(2000), twipsToPixels(1075 + 350)), red);
        QCOMPARE(image.pixelColor(twipsToPixels(7000), twipsToPixels(1075 + 5700)), red);
        QCOMPARE(image.pixelColor(twipsToPixels(7000), twipsToPixels(1075 + 750)), red);
        QCOMPARE(image.pixelColor(twipsToPixels(500), twipsToPixels(1075 + 3000)), red);
        QCOMPARE(image.pixelColor(twipsToPixels(8300), twipsToPixels(1075 + 3400)), red);
        // The pink area inside and around the grid, the yellow screen outside it.
        QCOMPARE(image.pixelColor(twipsToPixels(3000), twipsToPixels(1075 + 5600)), pink);
        QCOMPARE(image.pixelColor(twipsToPixels(450), twipsToPixels(1075 + 300)), pink);
        QCOMPARE(image.pixelColor(twipsToPixels(11200), twipsToPixels(1075 + 3000)),
                 QColor(255, 255, 0));
    }

    void choices_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<double>("area");
        QTest::addColumn<QString>("designation");
        QTest::addColumn<int>("plateType"); // 7: left as it was
        QTest::addColumn<QList<double>>("slotValues");
        QTest::addColumn<QStringList>("slotTexts");
        QTest::addColumn<bool>("letterStep");
        QTest::newRow("0.2, 100") << 3 << 0.2 << QStringLiteral("     0.2 K") << 0
                                  << QList<double>{0.45, 0.0016, 0.0076, 0.1}
                                  << QStringList{"0.45", "0.0016", "0.0076", "0.1"} << false;
        QTest::newRow("0.3, 50") << 4 << 0.3 << QStringLiteral("     0.3 М^2") << 1
                                 << QList<double>{1.12, 0.0011, 0.008, 0.05}
                                 << QStringList{"1.12", "0.0011", "0.008", "0.05"} << false;
        QTest::newRow("0.3, 65") << 5 << 0.3 << QStringLiteral("     0.3 М^2") << 1
                                 << QList<double>{1.12, 0.0011, 0.008, 0.065}
                                 << QStringList{"1.12", "0.0011", "0.008", "0.065"} << false;
        QTest::newRow("0.5, 100") << 6 << 0.5 << QStringLiteral("     0.5") << 7
                                  << QList<double>{1.15, 0.0018, 0.008, 0.1}
                                  << QStringList{"1.15", "0.0018", "0.008", "0.1"} << true;
        QTest::newRow("0.5, 150") << 7 << 0.5 << QStringLiteral("     0.5") << 7
                                  << QList<double>{1.15, 0.0018, 0.008, 0.15}
                                  << QStringList{"1.15", "0.0018", "0.008", "0.15"} << true;
        QTest::newRow("0.5, 200") << 8 << 0.5 << QStringLiteral("     0.5") << 7
                                  << QList<double>{1.15, 0.0018, 0.008, 0.2}
                                  << QStringList{"1.15", "0.0018", "0.008", "0.2"} << true;
    }

    void choices() {
        QFETCH(int, number);
        QFETCH(double, area);
        QFETCH(QString, designation);
        QFETCH(int, plateType);
        QFETCH(QList<double>, slotValues);
        QFETCH(QStringList, slotTexts);
        QFETCH(bool, letterStep);
        designCase().plateGeometry.plateType = 7;
        ScriptedDialogs dialogs;
        QStringList loadedAtStart;
        if (!letterStep)
            expectArrangementStartsAndEnd(dialogs, loadedAtStart);
        openExchangerSelection();

        QPushButton* pressed = button(screen<Form5>(), number);
        QVERIFY(pressed->isVisible() && pressed->isEnabled());
        pressed->click();

        const DesignCase& data = designCase();
        QCOMPARE(data.values[17], area);
        QCOMPARE(data.valueTexts[17], designation);
        QCOMPARE(int(data.plateGeometry.plateType), plateType);
        for (int i = 0; i < 4; ++i) {
            QVERIFY(near(data.values[18 + i], slotValues[i]));
            QCOMPARE(data.valueTexts[18 + i], slotTexts[i]);
        }
        QVERIFY(near(data.plateGeometry.reducedChannelLength, slotValues[0]));
        QVERIFY(near(data.plateGeometry.channelCrossSection, slotValues[1]));
        QVERIFY(near(data.plateGeometry.equivalentDiameter, slotValues[2]));
        QVERIFY(near(data.plateGeometry.nozzleDiameter, slotValues[3]));

        QVERIFY(dialogs.verifyDone());
        if (letterStep) {
            QVERIFY(isLoaded<Form5>());
            QVERIFY(!isLoaded<Form6>());
        } else {
            QCOMPARE(loadedAtStart, QStringList{QStringLiteral("Form6")});
            QVERIFY(programEnded());
        }
    }

    void letterStep_data() {
        QTest::addColumn<int>("nozzle");
        QTest::addColumn<QString>("executionLine");
        QTest::addColumn<int>("letter");
        QTest::addColumn<int>("plateType");
        QTest::addColumn<QString>("designation");
        const QString e1 = QStringLiteral("исполнения I c диаметром штуцера 100мм");
        const QString e2 = QStringLiteral("исполнения II c диаметром штуцера 150мм");
        const QString e3 = QStringLiteral("исполнения III c диаметром штуцера 200мм");
        QTest::newRow("I, Г") << 6 << e1 << 9 << 3 << QStringLiteral("     0.5Г");
        QTest::newRow("I, Е") << 6 << e1 << 10 << 2 << QStringLiteral("     0.5Е");
        QTest::newRow("II, Е") << 7 << e2 << 10 << 2 << QStringLiteral("     0.5Е");
        QTest::newRow("III, Г") << 8 << e3 << 9 << 3 << QStringLiteral("     0.5Г");
    }

    void letterStep() {
        QFETCH(int, nozzle);
        QFETCH(QString, executionLine);
        QFETCH(int, letter);
        QFETCH(int, plateType);
        QFETCH(QString, designation);
        designCase().plateGeometry.plateType = 1;
        openExchangerSelection();
        Form5& form = screen<Form5>();
        button(form, nozzle)->click();

        for (int n : {3, 4, 5}) {
            QVERIFY(button(form, n)->isVisible());
            QVERIFY(!button(form, n)->isEnabled());
        }
        for (int n : {6, 7, 8})
            QVERIFY(!button(form, n)->isVisible());
        for (QPushButton* b : {form.Command9, form.Command10}) {
            QVERIFY(b->isVisible() && b->isEnabled());
            QCOMPARE(b->x(), twipsToPixels(8650));
        }
        QCOMPARE(form.Command9->text(), QStringLiteral("Литера \"Г\""));
        QCOMPARE(form.Command10->text(), QStringLiteral("Литера \"Е\""));
        QCOMPARE(form.Label2->text(),
                 QStringLiteral("\nУкажите литеру для теплообменника \n") + executionLine);
        QCOMPARE(designCase().plateGeometry.plateType, std::int16_t{1});
        QCOMPARE(designCase().valueTexts[17], QStringLiteral("     0.5"));
        // The type caption stays in sight, clear of the box and the letter buttons.
        QVERIFY(form.Label1->isVisible());
        for (const QWidget* other :
             {static_cast<QWidget*>(form.Label2), static_cast<QWidget*>(form.Command9),
              static_cast<QWidget*>(form.Command10)})
            QVERIFY(!form.Label1->geometry().intersects(other->geometry()));

        ScriptedDialogs dialogs;
        QStringList loadedAtStart;
        expectArrangementStartsAndEnd(dialogs, loadedAtStart);
        button(form, letter)->click();
        QVERIFY(dialogs.verifyDone());
        QCOMPARE(loadedAtStart, QStringList{QStringLiteral("Form6")});
        QCOMPARE(int(designCase().plateGeometry.plateType), plateType);
        QCOMPARE(designCase().valueTexts[17], designation);
        QCOMPARE(designCase().values[17], 0.5);
        QCOMPARE(designCase().values[19], 0.0018);
        QCOMPARE(designCase().plateGeometry.channelCrossSection, 0.0018);
    }

    // Each choice stores the values of its own catalogue row and execution:
    // catches a typing slip in either table.
    void choicesAgreeWithTheirPlates() {
        const PlateCatalogue& catalogue = plateCatalogue();
        int executionOfRow[3] = {0, 0, 0};
        for (const StandardChoice& choice : catalogue.choices) {
            const StandardPlate& plate = catalogue.plates[choice.plateRow];
            const int execution = executionOfRow[choice.plateRow]++;
            QCOMPARE(choice.plateArea, plate.plateArea);
            QCOMPARE(choice.slotValues[0], plate.reducedChannelLength);
            QCOMPARE(choice.slotValues[1], plate.storedCrossSection);
            QCOMPARE(choice.slotValues[2], plate.equivalentDiameter);
            QVERIFY(plate.nozzleMm[execution] > 0);
            QVERIFY(near(choice.slotValues[3], plate.nozzleMm[execution] / 1000.0));
            QCOMPARE(choice.caption, QString::number(plate.nozzleMm[execution]));
            QCOMPARE(choice.plateType.has_value(), !plate.needsLetter);
            for (int i = 0; i < 4; ++i)
                QCOMPARE(choice.slotTexts[i].toDouble(), choice.slotValues[i]);

            DesignCase data;
            storeStandardChoice(data, choice);
            QCOMPARE(data.values[21], choice.slotValues[3]);
            QCOMPARE(data.plateGeometry.nozzleDiameter, choice.slotValues[3]);
        }
        // Executions that do not exist: 0.2 m2 II and III, 0.3 m2 III.
        QCOMPARE(executionOfRow[0], 1);
        QCOMPARE(executionOfRow[1], 2);
        QCOMPARE(executionOfRow[2], 3);
        QCOMPARE(catalogue.plates[2].shownCrossSection, 0.00262);
    }
};

QTEST_MAIN(SelectionScreenTest)
#include "selection_screen_test.moc"
