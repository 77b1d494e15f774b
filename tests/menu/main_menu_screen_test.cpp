// The main menu: its layout and gradient, the start of data input with the
// name box, the way to the description and back, and the end of the program.

#include "calculation/calculation.h"
#include "core/design_case.h"
#include "initial_data/parameter_names.h"
#include "menu/main_menu_screen.h"
#include "platform/controls.h"
#include "platform/program_end.h"
#include "platform/screens.h"
#include "platform/twips.h"
#include "results/description_screen.h"
#include "support/scripted_dialogs.h"
#include "support/test_support.h"

#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace orven;
using orven::test::ScriptedDialogs;

namespace {

const QString namePrompt = QStringLiteral("  ВВЕДИТЕ ФАМИЛИЮ И НОМЕР ГРУППЫ ");
const QString nameTitle = QStringLiteral("ВВОД ФАМИЛИИ");

QColor blueOf(int i) {
    // Column i of the gradient on the 800-pixel-wide client area.
    return QColor(150, 50, 255 - (i * 255) / 800);
}

void clickVisible(QPushButton* button) {
    QVERIFY(button->isVisible());
    QVERIFY(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
}

QColor labelColour(const QLabel* label, QPalette::ColorRole role) {
    return label->palette().color(role);
}

} // namespace

class MainMenuScreenTest : public QObject {
    Q_OBJECT

private slots:
    void init() { test::startFreshRun(); }

    void cleanup() { test::clearScreens(); }

    void loadPlacesTheMenu() {
        Form1& menu = screen<Form1>();
        QCOMPARE(menu.caption(), QStringLiteral("НАЧАЛО РАБОТЫ С ПРОГРАММОЙ"));
        QCOMPARE(menu.pos(), QPoint(twipsToPixels(500), twipsToPixels(500)));
        QCOMPARE(menu.size(), QSize(800, 600));
        QCOMPARE(menu.surfaceFont().pointSizeF(), 20.0);
        QCOMPARE(menu.foreColor(), QColor(255, 0, 0));

        QCOMPARE(menu.Label1->text(),
                 QStringLiteral("\nРАСЧЁТ ПЛАСТИНЧАТЫХ ТЕПЛООБМЕННИКОВ\n\n"
                                "Пластинчатые теплообменники могут использоваться в качестве"));
        QCOMPARE(labelColour(menu.Label1, QPalette::Window), QColor(192, 64, 0));
        QCOMPARE(labelColour(menu.Label1, QPalette::WindowText), QColor(128, 255, 128));
        QVERIFY(menu.Label1->alignment() & Qt::AlignHCenter);
        QCOMPARE(menu.Label1->font().pointSizeF(), 12.0);
        QVERIFY(menu.Label1->font().bold());
        QCOMPARE(menu.Label1->size(), QSize(twipsToPixels(7695), twipsToPixels(855)));
        QCOMPARE(menu.Label1->y(), twipsToPixels(960));
        // 12000 / 2 - 7695 / 2 = 2152.5 twips, 143.5 pixels: centred within half a pixel.
        QCOMPARE(menu.Label1->x(), 144);
    }

    void buttons_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<int>("leftTwips");
        // gap = 12000 / 4 - 3 * 2415 / 4 = 1188.75 -> 1189
        QTest::newRow("description") << "Command1"
                                     << "ОПИСАНИЕ ПРОГРАММЫ" << QColor(255, 255, 0) << 1189;
        QTest::newRow("data input")
            << "Command2"
            << "ВВОД ИСХОДНОЙ ИНФОРМАЦИИ" << QColor(0, 255, 0) << 2415 + 1189 + 1189;
        QTest::newRow("end") << "Command3"
                             << "ОКОНЧАНИЕ РАБОТЫ С ПРОГРАММОЙ" << QColor(255, 128, 128)
                             << 2 * 2415 + 3 * 1189;
    }

    void buttons() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QColor, colour);
        QFETCH(int, leftTwips);
        Form1& menu = screen<Form1>();
        auto* button = menu.findChild<QPushButton*>(name);
        QVERIFY(button);
        QCOMPARE(button->text(), caption);
        QCOMPARE(buttonColor(button), colour);
        QCOMPARE(button->geometry(), QRect(twipsToPixels(leftTwips), twipsToPixels(6000),
                                           twipsToPixels(2415), twipsToPixels(615)));
    }

    void longCaptionsGoOntoTwoLines() {
        // "ОКОНЧАНИЕ РАБОТЫ С ПРОГРАММОЙ" is wider than its button: the top and
        // the bottom third of the button carry caption pixels, which one line
        // in the middle would leave bare.
        Form1& menu = screen<Form1>();
        const QImage image = menu.Command3->grab().toImage();
        const auto darkPixels = [&image](int top, int bottom) {
            int count = 0;
            for (int y = top; y < bottom; ++y) {
                for (int x = 0; x < image.width(); ++x)
                    count += image.pixelColor(x, y).lightness() < 80;
            }
            return count;
        };
        const int third = image.height() / 3;
        QVERIFY(darkPixels(3, third) > 20);
        QVERIFY(darkPixels(image.height() - third, image.height() - 3) > 20);
    }

    void dataInputComesFirstAndHasTheFocus() {
        Form1& menu = screen<Form1>();
        menu.show();
        QCOMPARE(menu.focusWidget(), menu.Command2);
        QCOMPARE(menu.Command2->nextInFocusChain(), menu.Command1);
        QCOMPARE(menu.Command1->nextInFocusChain(), menu.Command3);
    }

    void buttonGap_data() {
        QTest::addColumn<int>("formWidth");
        QTest::addColumn<int>("buttonWidth");
        QTest::addColumn<int>("gap");
        QTest::newRow("menu") << 12000 << 2415 << 1189;
        QTest::newRow("half rounds down to even") << 12002 << 0 << 3000;
        QTest::newRow("half rounds up to even") << 12006 << 0 << 3002;
        QTest::newRow("just below a half") << 12001 << 0 << 3000;
        QTest::newRow("just above a half") << 12003 << 0 << 3001;
        QTest::newRow("buttons wider than the form") << 0 << 2415 << -1811;
        QTest::newRow("beyond 16 bits") << 200000 << 0 << 32767;
    }

    void buttonGap() {
        QFETCH(int, formWidth);
        QFETCH(int, buttonWidth);
        QFETCH(int, gap);
        QCOMPARE(int(menuButtonGap(formWidth, buttonWidth, buttonWidth, buttonWidth)), gap);
    }

    void gradientRunsFromVioletToBrown_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("left edge") << 0 << QColor(150, 50, 255);
        QTest::newRow("middle") << 400 << QColor(150, 50, 128);
        // The rectangles reach to column H + 150 = 750; from there on the last
        // rectangle (i = 800) paints the whole band.
        QTest::newRow("last own column") << 749 << blueOf(749);
        QTest::newRow("first column of the band") << 750 << QColor(150, 50, 0);
        QTest::newRow("right edge") << 799 << QColor(150, 50, 0);
    }

    void gradientRunsFromVioletToBrown() {
        QFETCH(int, x);
        QFETCH(QColor, colour);
        Form1& menu = screen<Form1>();
        const QImage image = menu.grab().toImage();
        QCOMPARE(image.size(), QSize(800, 600));
        QCOMPARE(image.pixelColor(x, 20), colour);  // above the label
        QCOMPARE(image.pixelColor(x, 599), colour); // bottom row
    }

    // The gradient drawn once as an image is, pixel for pixel, the screen
    // that the 801 overlapping rectangles painted (everywhere the labels and
    // buttons leave free).
    void gradientIsTheOverlappingRectangles() {
        Form1& menu = screen<Form1>();
        const QImage shown = menu.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QImage painted(shown.size(), QImage::Format_RGB32);
        painted.fill(menu.palette().color(QPalette::Window));
        QPainter painter(&painted);
        const int w = menu.width();
        const int h = menu.height();
        for (int i = 0; i <= w; ++i) {
            const QRect rect(QPoint(qMin(i, h + 150), 0), QPoint(qMax(i, h + 150), w));
            painter.fillRect(rect, QColor(150, 50, 255 - (i * 255) / w));
        }
        painter.end();
        QRegion free(menu.rect());
        for (const QWidget* child : menu.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            free -= child->geometry();
        int compared = 0;
        for (const QRect& rect : free) {
            for (int y = rect.top(); y <= rect.bottom(); ++y) {
                for (int x = rect.left(); x <= rect.right(); ++x) {
                    if (shown.pixel(x, y) != painted.pixel(x, y))
                        QFAIL(qPrintable(QStringLiteral("pixel %1, %2 differs").arg(x).arg(y)));
                    ++compared;
                }
            }
        }
        QVERIFY(compared > w * h / 2);
    }

    void startOfDataInputStoresTheNameInProperCase_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("point and hyphen start no word") << "студЕНТ гр.х-11"
                                                        << "Студент Гр.х-11";
        QTest::newRow("cancel or empty") << ""
                                         << "";
        QTest::newRow("multiple blanks kept") << "  петров   иван "
                                              << "  Петров   Иван ";
        QTest::newRow("tab") << "иванов\tгр.1"
                             << "Иванов\tГр.1";
        QTest::newRow("other separators")
            << QStringLiteral("а\vб\fв\rг\nд") + QChar(0) + QStringLiteral("е")
            << QStringLiteral("А\vБ\fВ\rГ\nД") + QChar(0) + QStringLiteral("Е");
        QTest::newRow("yo") << "ёлкин ЁЖИК"
                            << "Ёлкин Ёжик";
        QTest::newRow("underscore starts no word") << "иван_петров"
                                                   << "Иван_петров";
        QTest::newRow("digit first") << "11группа"
                                     << "11группа";
        QTest::newRow("latin") << "SMITH john"
                               << "Smith John";
    }

    void startOfDataInputStoresTheNameInProperCase() {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        Form1& menu = screen<Form1>();
        menu.show();
        ScriptedDialogs dialogs;
        dialogs.expectInput(namePrompt, nameTitle, 500, 300, typed);
        clickVisible(menu.Command2);
        QVERIFY(dialogs.verifyDone());
        QCOMPARE(designCase().studentName, stored);
    }

    void startOfDataInputPreparesANewDesign() {
        DesignCase& data = designCase();
        data.exchangerType = ExchangerType::Cooler;
        data.pageNumber = 7;
        data.reportOpen = true;
        data.pageBlockCount = 3;
        data.initialEntryPending = false;
        data.valueTexts[1] = QStringLiteral("2,5");
        data.values[1] = 2.5;

        QPointer<Form1> menu = &screen<Form1>();
        menu->show();
        ScriptedDialogs dialogs;
        // The design case is prepared before the name is asked for, and the
        // menu is still there while the box is open.
        dialogs.expectInput(namePrompt, nameTitle, 500, 300, QStringLiteral("иванов"), [&] {
            QVERIFY(menu && menu->isVisible());
            QCOMPARE(designCase().exchangerType, ExchangerType::NotChosen);
            QCOMPARE(designCase().pageNumber, std::int16_t(1));
        });
        clickVisible(menu->Command2);
        QVERIFY(dialogs.verifyDone());

        QCOMPARE(data.exchangerType, ExchangerType::NotChosen);
        QCOMPARE(data.pageNumber, std::int16_t(1));
        QCOMPARE(data.reportOpen, false);
        QCOMPARE(data.pageBlockCount, std::int16_t(1));
        QCOMPARE(data.initialEntryPending, true);
        QCOMPARE(data.valueTexts[1], QStringLiteral("2,5"));
        QCOMPARE(data.values[1], 2.5);

        DesignCase filled;
        fillPlateTypeCoefficients(filled);
        QVERIFY(data.plateTypeCoefficients.table == filled.plateTypeCoefficients.table);
        for (int slot = 1; slot <= initialDataCount; ++slot) {
            QCOMPARE(data.coolerParameterNames[slot], coolerParameterName(slot));
            QCOMPARE(data.condenserParameterNames[slot], condenserParameterName(slot));
        }
        for (int slot = 15; slot <= parameterSlotCount; ++slot)
            QCOMPARE(data.constructionParameterNames[slot], constructionParameterName(slot));

        // The menu is gone; the initial-data screen takes over.
        QVERIFY(!isLoaded<Form1>());
        deleteUnloadedScreens();
        QVERIFY(menu.isNull());
        QVERIFY(!programEnded());
    }

    void startOfDataInputAfterTheDescriptionLeavesNoMenu() {
        Form1& menu = screen<Form1>();
        menu.show();
        clickVisible(menu.Command1);
        clickVisible(screen<Form2>().Command1);
        Form1& freshMenu = screen<Form1>();
        ScriptedDialogs dialogs;
        dialogs.expectInput(namePrompt, nameTitle, 500, 300, QStringLiteral("иванов"));
        clickVisible(freshMenu.Command2);
        QVERIFY(dialogs.verifyDone());
        QVERIFY(!isLoaded<Form1>());
        // The hidden description goes with the menu: only the initial-data screen is left.
        QCOMPARE(loadedScreens().size(), 1);
        QCOMPARE(loadedScreens().first()->objectName(), QStringLiteral("Form3"));
    }

    void descriptionAndBackLoadTheMenuAfresh() {
        QPointer<Form1> menu = &screen<Form1>();
        menu->show();
        clickVisible(menu->Command1);

        QVERIFY(!menu->isVisible());
        QPointer<Form2> description = &screen<Form2>();
        QVERIFY(description->isVisible());
        QCOMPARE(loadedScreens(), (QList<Screen*>{menu, description}));
        const QString text = description->Label1->text();
        QVERIFY(text.startsWith(QLatin1Char('\n')));
        QCOMPARE(text.count(QLatin1Char('\n')), 20);

        clickVisible(description->Command1);
        deleteUnloadedScreens();
        QVERIFY(menu.isNull()); // unloaded by closeOtherScreens
        Form1& freshMenu = screen<Form1>();
        QVERIFY(freshMenu.isVisible());
        QVERIFY(!description->isVisible());
        QCOMPARE(loadedScreens(), (QList<Screen*>{description, &freshMenu}));
        // The fresh menu ran its load step: caption, gradient, layout.
        QCOMPARE(freshMenu.caption(), QStringLiteral("НАЧАЛО РАБОТЫ С ПРОГРАММОЙ"));
        QCOMPARE(freshMenu.grab().toImage().pixelColor(0, 20), QColor(150, 50, 255));
        QCOMPARE(freshMenu.Command1->x(), twipsToPixels(1189));

        // Opening the description again: the hidden one goes, a fresh one shows the same.
        clickVisible(freshMenu.Command1);
        deleteUnloadedScreens();
        QVERIFY(description.isNull());
        Form2& again = screen<Form2>();
        QVERIFY(again.isVisible());
        QCOMPARE(again.Label1->text(), text);
        QCOMPARE(again.Label1->geometry(), QRect(twipsToPixels(1000), twipsToPixels(480),
                                                 twipsToPixels(10000), twipsToPixels(5200)));
        QCOMPARE(loadedScreens(), (QList<Screen*>{&freshMenu, &again}));
    }

    void endButtonEndsTheProgram() {
        int finished = 0;
        setReportFinisher([&finished] { ++finished; });
        Form1& menu = screen<Form1>();
        menu.show();
        clickVisible(menu.Command3);
        QVERIFY(programEnded());
        QCOMPARE(finished, 1);
        QVERIFY(loadedScreens().isEmpty());
        setReportFinisher({});
    }

    // A signal that ends the program while the name box is open: no screen is
    // loaded or shown after the end.
    void endWhileTheNameBoxIsOpenShowsNoFurtherScreen() {
        Form1& menu = screen<Form1>();
        menu.show();
        ScriptedDialogs dialogs;
        dialogs.expectInput(namePrompt, nameTitle, 500, 300, QString(), [] { endProgram(); });
        clickVisible(menu.Command2);
        QVERIFY(dialogs.verifyDone());
        QVERIFY(programEnded());
        QVERIFY(loadedScreens().isEmpty());
        for (QWidget* window : QApplication::topLevelWidgets())
            QVERIFY2(!window->isVisible(), qPrintable(window->windowTitle()));
    }

    void closingTheMenuWindowEndsTheProgram() {
        Form1& menu = screen<Form1>();
        menu.show();
        QVERIFY(menu.close());
        QVERIFY(programEnded());
        QVERIFY(loadedScreens().isEmpty());
    }
};

QTEST_MAIN(MainMenuScreenTest)
#include "main_menu_screen_test.moc"
