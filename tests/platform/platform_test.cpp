// The platform layer: twips, the collection of loaded screens, the retained
// drawing surface, the end of the program and the dialogs service.

#include "core/design_case.h"
#include "core/russian_layout.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/display_fit.h"
#include "platform/fonts.h"
#include "platform/keyboard_layout.h"
#include "platform/program_end.h"
#include "platform/screen.h"
#include "platform/screens.h"
#include "platform/twips.h"
#include "support/scripted_dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QImage>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <csignal>

using namespace orven;

namespace {

QMap<QString, int> loadCounts;

class FirstScreen : public Screen {
public:
    void load() override { ++loadCounts[QStringLiteral("first")]; }
    int answer = 1;
};
class SecondScreen : public Screen {
public:
    void load() override { ++loadCounts[QStringLiteral("second")]; }
};
class ThirdScreen : public Screen {
public:
    void load() override { ++loadCounts[QStringLiteral("third")]; }
};
// A variant of the first screen is a screen of its own.
class FirstScreenVariant : public FirstScreen {};

QStringList loadedNames() {
    QStringList names;
    for (Screen* s : loadedScreens()) {
        if (dynamic_cast<FirstScreenVariant*>(s))
            names << QStringLiteral("variant");
        else if (dynamic_cast<FirstScreen*>(s))
            names << QStringLiteral("first");
        else if (dynamic_cast<SecondScreen*>(s))
            names << QStringLiteral("second");
        else if (dynamic_cast<ThirdScreen*>(s))
            names << QStringLiteral("third");
    }
    return names;
}

void touch(const QString& name) {
    if (name == QLatin1String("first"))
        screen<FirstScreen>();
    else if (name == QLatin1String("second"))
        screen<SecondScreen>();
    else if (name == QLatin1String("third"))
        screen<ThirdScreen>();
}

} // namespace

class PlatformTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QLocale::setDefault(QLocale::c());
        resetDesignCase();
        unloadAllScreens();
        deleteUnloadedScreens();
        resetProgramEnd();
        setReportFinisher({});
        setDialogs(nullptr);
        loadCounts.clear();
    }
    void cleanup() {
        unloadAllScreens();
        deleteUnloadedScreens();
    }

    void twipsToPixels_data() {
        QTest::addColumn<double>("twips");
        QTest::addColumn<int>("pixels");
        QTest::newRow("zero") << 0.0 << 0;
        QTest::newRow("below half a pixel") << 7.0 << 0;
        QTest::newRow("above half a pixel") << 8.0 << 1;
        QTest::newRow("one pixel") << 15.0 << 1;
        QTest::newRow("line step 200") << 200.0 << 13;
        QTest::newRow("menu width") << 12000.0 << 800;
        QTest::newRow("negative") << -150.0 << -10;
    }
    void twipsToPixels() {
        QFETCH(double, twips);
        QFETCH(int, pixels);
        QCOMPARE(orven::twipsToPixels(twips), pixels);
    }

    void pixelsToTwips() {
        QCOMPARE(orven::pixelsToTwips(0), 0);
        QCOMPARE(orven::pixelsToTwips(800), 12000);
        QCOMPARE(orven::twipsToPixels(orven::pixelsToTwips(37)), 37);
    }

    void controlsArePlacedInTwips() {
        Screen& form = screen<FirstScreen>();
        auto* label = new QLabel(&form);
        placeTwips(label, 530, 1210, 9500, 200);
        QCOMPARE(label->geometry(), QRect(35, 81, 633, 13));
        QCOMPARE(leftTwips(label), 525);
        QCOMPARE(heightTwips(label), 195);
        Screen::setWidthTwips(label, 7695);
        QCOMPARE(label->width(), 513);
        placeTwips(label, 530, 1210, 9500, 200);
        setTopTwips(label, 6000);
        setLeftTwips(label, 1500);
        QCOMPARE(label->pos(), QPoint(100, 400));
        QCOMPARE(label->width(), 633);

        form.resizeTwips(12000, 8955);
        QCOMPARE(form.size(), QSize(800, 597));
        QCOMPARE(form.widthTwips(), 12000);
    }

    void touchingLoadsOnce() {
        FirstScreen& a = screen<FirstScreen>();
        a.answer = 42;
        QCOMPARE(&screen<FirstScreen>(), &a);
        QCOMPARE(screen<FirstScreen>().answer, 42);
        QCOMPARE(loadCounts.value(QStringLiteral("first")), 1);
        QVERIFY(isLoaded<FirstScreen>());
        QVERIFY(!isLoaded<SecondScreen>());
    }

    void variantIsItsOwnScreen() {
        FirstScreen& base = screen<FirstScreen>();
        FirstScreenVariant& variant = screen<FirstScreenVariant>();
        QVERIFY(static_cast<FirstScreen*>(&variant) != &base);
        QCOMPARE(loadedNames(), QStringList({"first", "variant"}));
    }

    void closeOtherScreens_data() {
        QTest::addColumn<QStringList>("touched");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("none") << QStringList() << QStringList();
        QTest::newRow("one") << QStringList{"second"} << QStringList{"second"};
        QTest::newRow("two") << QStringList{"first", "second"} << QStringList{"second"};
        QTest::newRow("three") << QStringList{"first", "second", "third"} << QStringList{"third"};
        QTest::newRow("touched again keeps load order")
            << QStringList{"third", "first", "third"} << QStringList{"first"};
    }
    void closeOtherScreens() {
        QFETCH(QStringList, touched);
        QFETCH(QStringList, left);
        for (const QString& name : touched)
            touch(name);
        orven::closeOtherScreens();
        QCOMPARE(loadedNames(), left);
    }

    void unloadedScreenComesBackFresh() {
        QPointer<FirstScreen> first = &screen<FirstScreen>();
        first->answer = 7;
        first->setCaption(QStringLiteral("изменено"));
        screen<SecondScreen>();
        screen<ThirdScreen>();
        orven::closeOtherScreens();
        QCOMPARE(loadedNames(), QStringList{"third"});

        // Deleted only when the event loop gets to it.
        QVERIFY(!first.isNull());
        QVERIFY(first->isHidden());
        deleteUnloadedScreens();
        QVERIFY(first.isNull());

        FirstScreen& again = screen<FirstScreen>();
        QCOMPARE(again.answer, 1);
        QCOMPARE(again.caption(), QString());
        QCOMPARE(loadCounts.value(QStringLiteral("first")), 2);
        QCOMPARE(loadedNames(), QStringList({"third", "first"}));
    }

    void screenDeletedDirectlyLeavesTheCollection() {
        auto* second = &screen<SecondScreen>();
        screen<ThirdScreen>();
        delete second;
        QCOMPARE(loadedNames(), QStringList{"third"});
    }

    void printedTextIsKept() {
        Screen& form = screen<FirstScreen>();
        const int line = form.textHeightTwips();
        QVERIFY(line > 0);
        form.setForeColor(QColor(128, 128, 128));
        form.setCurrentPosition(530, 1405);
        form.print(QStringLiteral("первая"));
        QCOMPARE(form.currentX(), 0);
        QCOMPARE(form.currentY(), 1405 + line);
        form.setForeColor(QColor(255, 0, 0));
        form.setCurrentX(800);
        form.printInline(QStringLiteral("ЧИСЛО "));
        QCOMPARE(form.currentX(), 800 + form.textWidthTwips(QStringLiteral("ЧИСЛО ")));
        QCOMPARE(form.currentY(), 1405 + line);
        form.print(QStringLiteral("5"));
        form.print(QString());

        const QList<SurfaceText> texts = form.printedTexts();
        QCOMPARE(texts.size(), 4);
        QCOMPARE(texts[0].text, QStringLiteral("первая"));
        QCOMPARE(texts[0].x, 530);
        QCOMPARE(texts[0].y, 1405);
        QCOMPARE(texts[0].color, QColor(128, 128, 128));
        QCOMPARE(texts[1].x, 800);
        QCOMPARE(texts[1].y, 1405 + line);
        QCOMPARE(texts[1].color, QColor(255, 0, 0));
        QCOMPARE(texts[2].y, 1405 + line);
        QCOMPARE(texts[3].y, 1405 + 2 * line);
        QCOMPARE(form.currentY(), 1405 + 3 * line);
    }

    void lineHeightFollowsTheSurfaceFont() {
        Screen& form = screen<FirstScreen>();
        QFont small = form.font();
        small.setPointSizeF(8);
        QFont large = small;
        large.setPointSizeF(20);
        form.setSurfaceFont(small);
        const int smallLine = form.textHeightTwips();
        form.setSurfaceFont(large);
        form.print(QStringLiteral("x"));
        QVERIFY(form.currentY() > smallLine);
        QCOMPARE(form.printedTexts().first().font.pointSizeF(), 20.0);
    }

    // Fixed-pitch text is laid out in twips on a grid of whole-pixel cells:
    // 8 x 13 px at 9.75 and 10 pt, 10 x 16 px at 12 pt. Fractional cells let a
    // table's columns drift across its drawn lines and the results' last lines
    // run under the buttons.
    void fixedPitchCells_data() {
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<int>("cellWidth");
        QTest::addColumn<int>("lineHeight");
        QTest::newRow("9.75") << 9.75 << false << 120 << 195;
        QTest::newRow("9.75 bold") << 9.75 << true << 120 << 195;
        QTest::newRow("10 bold") << 10.0 << true << 120 << 195;
        QTest::newRow("12") << 12.0 << false << 150 << 240;
    }

    void fixedPitchCells() {
        QFETCH(double, points);
        QFETCH(bool, bold);
        QFETCH(int, cellWidth);
        QFETCH(int, lineHeight);
        Screen& form = screen<FirstScreen>();
        form.setSurfaceFont(fixedPitchFont(points, bold));
        QCOMPARE(form.textWidthTwips(QString(60, QLatin1Char('0'))), 60 * cellWidth);
        QCOMPARE(form.textWidthTwips(QStringLiteral("Теплоёмкость")), 12 * cellWidth);
        QCOMPARE(form.textHeightTwips(), lineHeight);
        form.setCurrentPosition(500, 1000);
        form.print(QStringLiteral("Число каналов"));
        QCOMPARE(form.currentY(), 1000 + lineHeight);
    }

    // A proportional surface font keeps its own line spacing.
    void proportionalLineHeight() {
        Screen& form = screen<FirstScreen>();
        const QFont font = namedFont(QStringLiteral("Times New Roman"), 12, true);
        form.setSurfaceFont(font);
        QCOMPARE(form.textHeightTwips(), orven::pixelsToTwips(QFontMetrics(font, &form).height()));
    }

    void surfaceIsRepainted() {
        Screen& form = screen<FirstScreen>();
        form.setBackgroundColor(QColor(255, 255, 0));
        form.resizeTwips(6000, 4500);
        form.fillRect(QRect(150, 150, 1500, 1500), QColor(255, 192, 255));
        form.drawLine(0, 3000, 6000, 3000, QColor(255, 0, 0));
        form.setForeColor(QColor(0, 0, 255));
        form.setCurrentPosition(150, 1800);
        form.print(QStringLiteral("ЖЖЖЖЖЖ"));

        for (int round = 0; round < 2; ++round) {
            const QImage image = form.grab().toImage();
            QCOMPARE(image.pixelColor(10, 10), QColor(255, 192, 255));
            QCOMPARE(image.pixelColor(109, 109), QColor(255, 192, 255));
            QCOMPARE(image.pixelColor(110, 110), QColor(255, 255, 0));
            QCOMPARE(image.pixelColor(5, 5), QColor(255, 255, 0));
            QCOMPARE(image.pixelColor(200, 200), QColor(255, 0, 0));
            QVERIFY(bluePixels(image, QRect(10, 120, 200, 30)) > 10);
            form.show();
            form.hide();
        }
    }

    void pixelRectanglesIncludeBothCorners() {
        Screen& form = screen<FirstScreen>();
        form.setBackgroundColor(Qt::white);
        form.resize(100, 100);
        // Corners given the wrong way round, as the menu's gradient does.
        form.fillRect(QRect(QPoint(40, 30), QPoint(20, 10)), Qt::green, SurfaceUnit::Pixels);
        const QImage image = form.grab().toImage();
        QCOMPARE(image.pixelColor(20, 10), QColor(Qt::green));
        QCOMPARE(image.pixelColor(40, 30), QColor(Qt::green));
        QCOMPARE(image.pixelColor(41, 30), QColor(Qt::white));
        QCOMPARE(image.pixelColor(19, 10), QColor(Qt::white));
    }

    void clearSurfaceErasesEverything() {
        Screen& form = screen<FirstScreen>();
        form.setBackgroundColor(Qt::white);
        form.resize(100, 100);
        form.fillRect(QRect(0, 0, 1500, 1500), Qt::red);
        form.setCurrentPosition(300, 300);
        form.print(QStringLiteral("текст"));
        form.clearSurface();
        QCOMPARE(form.printedTexts().size(), 0);
        QCOMPARE(form.surfaceItemCount(), 0);
        QCOMPARE(form.currentX(), 0);
        QCOMPARE(form.currentY(), 0);
        QCOMPARE(form.grab().toImage().pixelColor(50, 50), QColor(Qt::white));
    }

    void closingAWindowEndsTheProgram() {
        int finished = 0;
        setReportFinisher([&finished] { ++finished; });
        screen<FirstScreen>();
        Screen& second = screen<SecondScreen>();
        second.show();
        QVERIFY(second.close());
        QVERIFY(programEnded());
        QCOMPARE(finished, 1);
        QVERIFY(loadedScreens().isEmpty());
    }

    void unloadingByTheProgramDoesNotEndIt() {
        int finished = 0;
        setReportFinisher([&finished] { ++finished; });
        Screen& form = screen<FirstScreen>();
        form.show();
        unloadScreen(form);
        deleteUnloadedScreens();
        screen<SecondScreen>().hide();
        orven::closeOtherScreens();
        QVERIFY(!programEnded());
        QCOMPARE(finished, 0);
    }

    void endProgramUnloadsEverything() {
        QPointer<Screen> form = &screen<FirstScreen>();
        screen<SecondScreen>();
        endProgram();
        QVERIFY(programEnded());
        QVERIFY(loadedScreens().isEmpty());
        deleteUnloadedScreens();
        QVERIFY(form.isNull());
    }

    void terminationSignalEndsTheProgram() {
        int finished = 0;
        setReportFinisher([&finished] { ++finished; });
        screen<FirstScreen>();
        installTerminationSignalHandlers();
        std::raise(SIGTERM);
        QTRY_VERIFY(programEnded());
        QCOMPARE(finished, 1);
        QVERIFY(loadedScreens().isEmpty());
    }

    void surfaceFontFollowsTheScreenFont() {
        Screen& form = screen<FirstScreen>();
        QFont designed = form.font();
        designed.setPointSizeF(17);
        form.setFont(designed);
        QCOMPARE(form.surfaceFont().pointSizeF(), 17.0);
        QFont print = designed;
        print.setUnderline(true);
        form.setSurfaceFont(print);
        QVERIFY(form.surfaceFont().underline());
        QVERIFY(!form.font().underline());
    }

    void buttonColourAndCaptions() {
        QPushButton button;
        setButtonColor(&button, QColor(255, 128, 128));
        QCOMPARE(buttonColor(&button), QColor(255, 128, 128));
        setButtonColor(&button, QColor(0, 255, 0));
        QCOMPARE(buttonColor(&button), QColor(0, 255, 0));
        QLabel label;
        setCaptionText(&label, QStringLiteral("\rРАСЧЁТ\r\rПластинчатые\r\nконец"));
        QCOMPARE(label.text(), QStringLiteral("\nРАСЧЁТ\n\nПластинчатые\nконец"));
    }

    // Input boxes keep one width from one question to the next, with room for
    // the longest title beside a window manager's buttons.
    void inputBoxesHaveOneWidth() {
        const QString title =
            QStringLiteral("Ввод числа каналов в пакете для холодного теплоносителя");
        QList<int> widths;
        for (const QString& prompt :
             {QStringLiteral("Введите число пакетов"),
              QStringLiteral("Введите число каналов во2 - м пакете для холодного теплоносителя")}) {
            QTimer::singleShot(0, [&widths] {
                QWidget* box = QApplication::activeModalWidget();
                widths << (box ? box->width() : -1);
                if (box)
                    box->close();
            });
            QtDialogs().inputBox(prompt, title, 1000, 1000);
        }
        QCOMPARE(widths.size(), 2);
        QCOMPARE(widths.at(0), widths.at(1));
        QVERIFY(widths.at(0) >= QFontMetrics(QApplication::font()).horizontalAdvance(title) + 100);
    }

    // Keys typed into a Qt input box under a key mapping give the mapped
    // letters; with Ctrl they are commands and pass as they are.
    void inputBoxMapsTypedKeys_data() {
        QTest::addColumn<bool>("mapped");
        QTest::addColumn<QString>("stored");
        QTest::newRow("Russian layout") << true << QStringLiteral("Иванов И.И.");
        QTest::newRow("no mapping") << false << QStringLiteral("Bdfyjd B/B/");
    }
    void inputBoxMapsTypedKeys() {
        QFETCH(bool, mapped);
        QFETCH(QString, stored);
        const InputKeyMappingScope mapping(mapped ? russianLayoutChar : nullptr);
        QTimer::singleShot(0, [] {
            QWidget* box = QApplication::activeModalWidget();
            QLineEdit* edit = box ? box->findChild<QLineEdit*>() : nullptr;
            if (!edit)
                return;
            QTest::keyClicks(edit, QStringLiteral("xx"));
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier); // select all, not "ф"
            QTest::keyClicks(edit, QStringLiteral("Bdfyjd B/B/"));
            QTest::keyClick(edit, Qt::Key_Return);
        });
        QCOMPARE(QtDialogs().inputBox(QStringLiteral("  ВВЕДИТЕ ФАМИЛИЮ И НОМЕР ГРУППЫ "),
                                      QStringLiteral("ВВОД ФАМИЛИИ"), 500, 300),
                 stored);
    }

    // The name box on a keyboard without a Russian group behaves as a
    // keyboard with two layouts: Russian at first, Alt+Shift, Ctrl+Shift or
    // Shift+Alt switch to Latin and back, the caption says which is on, and
    // a paste is taken as it is. Keys: {AS} Alt then Shift, {CS} Ctrl then
    // Shift, {SA} Shift then Alt, {V} Ctrl+V (the clipboard holds "Smith").
    void nameBoxSwitchesLayouts_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Russian at first") << "Bdfyjd" << QStringLiteral("Иванов") << "РУС";
        QTest::newRow("Alt+Shift to Latin")
            << "{AS}Smith J. gr. 101" << QStringLiteral("Smith J. gr. 101") << "LAT";
        QTest::newRow("Ctrl+Shift to Latin") << "{CS}Smith" << QStringLiteral("Smith") << "LAT";
        QTest::newRow("Shift+Alt to Latin") << "{SA}Smith" << QStringLiteral("Smith") << "LAT";
        QTest::newRow("switched twice")
            << "{AS}Smith {AS}Bdfyjd" << QStringLiteral("Smith Иванов") << "РУС";
        QTest::newRow("paste untouched") << "{V}" << QStringLiteral("Smith") << "РУС";
    }
    void nameBoxSwitchesLayouts() {
        QFETCH(QString, keys);
        QFETCH(QString, text);
        QFETCH(QString, caption);
        QGuiApplication::clipboard()->setText(QStringLiteral("Smith"));
        const InputKeyMappingScope mapping(russianLayoutChar);
        QString shownCaption;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            QLineEdit* edit = box ? box->findChild<QLineEdit*>() : nullptr;
            if (!edit)
                return;
            const auto chord = [edit](Qt::Key first, Qt::KeyboardModifier held, Qt::Key second) {
                QTest::keyPress(edit, first);
                QTest::keyPress(edit, second, held);
                QTest::keyRelease(edit, second, held);
                QTest::keyRelease(edit, first);
            };
            static const QRegularExpression part(QStringLiteral("\\{(AS|CS|SA|V)\\}|[^{]+"));
            for (const QRegularExpressionMatch& m : part.globalMatch(keys)) {
                const QString name = m.captured(1);
                if (name == QStringLiteral("AS"))
                    chord(Qt::Key_Alt, Qt::AltModifier, Qt::Key_Shift);
                else if (name == QStringLiteral("CS"))
                    chord(Qt::Key_Control, Qt::ControlModifier, Qt::Key_Shift);
                else if (name == QStringLiteral("SA"))
                    chord(Qt::Key_Shift, Qt::ShiftModifier, Qt::Key_Alt);
                else if (name == QStringLiteral("V"))
                    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
                else
                    QTest::keyClicks(edit, m.captured(0));
            }
            if (auto* label = box->findChild<QLabel*>(QStringLiteral("layoutCaption")))
                shownCaption = label->text();
            QTest::keyClick(edit, Qt::Key_Return);
        });
        QCOMPARE(QtDialogs().inputBox(QStringLiteral("  ВВЕДИТЕ ФАМИЛИЮ И НОМЕР ГРУППЫ "),
                                      QStringLiteral("ВВОД ФАМИЛИИ"), 500, 300),
                 text);
        QCOMPARE(shownCaption, caption);
    }

    void fittingDeviceScale_data() {
        QTest::addColumn<QSizeF>("available"); // device pixels of the display
        QTest::addColumn<double>("current");
        QTest::addColumn<double>("fitted"); // 0: fits as it is
        QTest::newRow("1366x768 at 1") << QSizeF(1366, 768) << 1.0 << 0.0;
        QTest::newRow("1366x768 at 1.25") << QSizeF(1366, 768) << 1.25 << 1.125;
        QTest::newRow("1366x768 at 1.5") << QSizeF(1366, 768) << 1.5 << 1.125;
        QTest::newRow("1366x768 at 2") << QSizeF(1366, 768) << 2.0 << 1.125;
        QTest::newRow("640x480 at 1") << QSizeF(640, 480) << 1.0 << 0.625;
        QTest::newRow("320x200: never below half") << QSizeF(320, 200) << 1.0 << 0.5;
    }
    void fittingDeviceScale() {
        QFETCH(QSizeF, available);
        QFETCH(double, current);
        QFETCH(double, fitted);
        const QSizeF largest(orven::twipsToPixels(14000) + 12, orven::twipsToPixels(9615) + 40);
        const std::optional<double> scale =
            orven::fittingDeviceScale(largest, available / current, current);
        QCOMPARE(scale.value_or(0.0), fitted);
        if (scale && fitted > 0.5) {
            // The largest screen fits at the new scale, and a character cell of
            // 8 logical pixels is a whole number of device pixels.
            QVERIFY(largest.height() * *scale <= available.height());
            QCOMPARE(std::fmod(8 * *scale, 1.0), 0.0);
        }
    }

    void frameShiftInto_data() {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QPoint>("shift");
        // The available area is 0,0 1000x700.
        QTest::newRow("inside") << QRect(10, 10, 500, 500) << QPoint(0, 0);
        QTest::newRow("below the bottom") << QRect(100, 120, 800, 600) << QPoint(0, -20);
        QTest::newRow("right and left of it") << QRect(-30, 0, 500, 500) << QPoint(30, 0);
        QTest::newRow("past the right edge") << QRect(600, 0, 500, 500) << QPoint(-100, 0);
        QTest::newRow("taller than the area") << QRect(0, 50, 500, 800) << QPoint(0, -50);
    }
    void frameShiftInto() {
        QFETCH(QRect, frame);
        QFETCH(QPoint, shift);
        QCOMPARE(orven::frameShiftInto(frame, QRect(0, 0, 1000, 700)), shift);
    }

    void scriptedDialogsAnswerInOrder() {
        test::ScriptedDialogs script;
        QStringList seen;
        script.expectInput(QStringLiteral("  ВВЕДИТЕ ФАМИЛИЮ "), QStringLiteral("ВВОД"), 500, 300,
                           QStringLiteral("Иванов"), [&seen] { seen << "input"; });
        script.expectYesNo(QStringLiteral("ОШИБКА !"), QStringLiteral("текст"), true);
        QCOMPARE(dialogs().inputBox(QStringLiteral("  ВВЕДИТЕ ФАМИЛИЮ "), QStringLiteral("ВВОД"),
                                    500, 300),
                 QStringLiteral("Иванов"));
        QCOMPARE(seen, QStringList{"input"});
        dialogs().beep();
        QVERIFY(dialogs().askYesNo(QStringLiteral("ОШИБКА !"), QStringLiteral("текст")));
        QCOMPARE(script.beepCount(), 1);
        QVERIFY(script.verifyDone());
    }

    void scriptedDialogsReportMistakes_data() {
        QTest::addColumn<int>("mistake");
        QTest::newRow("unexpected dialog") << 0;
        QTest::newRow("wrong prompt") << 1;
        QTest::newRow("wrong position") << 2;
        QTest::newRow("message box instead of input") << 3;
        QTest::newRow("step never used") << 4;
    }
    void scriptedDialogsReportMistakes() {
        QFETCH(int, mistake);
        test::ScriptedDialogs script;
        script.setFailImmediately(false);
        if (mistake != 0)
            script.expectInput(QStringLiteral("Введите"), QStringLiteral("Ввод"), 1000, 2000,
                               QStringLiteral("5"));
        QString answer = QStringLiteral("untouched");
        switch (mistake) {
        case 0:
            answer = dialogs().inputBox(QStringLiteral("Введите"), QStringLiteral("Ввод"), 1, 2);
            QCOMPARE(answer, QString());
            QVERIFY(!dialogs().askYesNo(QStringLiteral("t"), QStringLiteral("x")));
            break;
        case 1:
            dialogs().inputBox(QStringLiteral("Введите "), QStringLiteral("Ввод"), 1000, 2000);
            break;
        case 2:
            dialogs().inputBox(QStringLiteral("Введите"), QStringLiteral("Ввод"), 1000, 2100);
            break;
        case 3:
            QVERIFY(!dialogs().askYesNo(QStringLiteral("Ввод"), QStringLiteral("Введите")));
            break;
        default:
            break;
        }
        QVERIFY(!script.verifyDone());
        QVERIFY(!script.failures().isEmpty());
    }

    void scriptedDialogsUninstallThemselves() {
        {
            test::ScriptedDialogs script;
            QCOMPARE(&dialogs(), static_cast<Dialogs*>(&script));
        }
        QVERIFY(dynamic_cast<QtDialogs*>(&dialogs()) != nullptr);
    }

    void qtInputBoxIsPlacedAndRussian() {
        QPoint position;
        QStringList buttons;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            QVERIFY(box);
            position = box->pos();
            for (QPushButton* b : box->findChildren<QPushButton*>())
                buttons << b->text();
            box->setTextValue(QStringLiteral("студент"));
            box->accept();
        });
        QtDialogs real;
        QCOMPARE(real.inputBox(QStringLiteral("prompt"), QStringLiteral("title"), 500, 300),
                 QStringLiteral("студент"));
        QCOMPARE(position, QPoint(33, 20));
        buttons.sort();
        QCOMPARE(buttons, QStringList({"ОК", "Отмена"}));
    }

    void qtInputBoxCancelGivesEmptyText() {
        QTimer::singleShot(0, [] {
            auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            QVERIFY(box);
            box->setTextValue(QStringLiteral("typed"));
            box->reject();
        });
        QtDialogs real;
        QCOMPARE(real.inputBox(QStringLiteral("p"), QStringLiteral("t"), 0, 0), QString());
    }

    void qtMessageBoxHasYesAndNo_data() {
        QTest::addColumn<QString>("click");
        QTest::addColumn<bool>("answer");
        QTest::newRow("yes") << QStringLiteral("Да") << true;
        QTest::newRow("no") << QStringLiteral("Нет") << false;
    }
    void qtMessageBoxHasYesAndNo() {
        QFETCH(QString, click);
        QFETCH(bool, answer);
        QStringList buttons;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            QCOMPARE(box->icon(), QMessageBox::NoIcon);
            for (QAbstractButton* b : box->buttons()) {
                buttons << b->text();
                if (b->text() == click)
                    b->click();
            }
        });
        QtDialogs real;
        QCOMPARE(real.askYesNo(QStringLiteral("Внимание !"), QStringLiteral("текст")), answer);
        buttons.sort();
        QCOMPARE(buttons, QStringList({"Да", "Нет"}));
    }

    void keyboardGroupIndex_data() {
        QTest::addColumn<QString>("layouts");
        QTest::addColumn<QString>("layout");
        QTest::addColumn<int>("group");
        QTest::newRow("second group") << "us,ru"
                                      << "ru" << 1;
        QTest::newRow("first group") << "us,ru"
                                     << "us" << 0;
        QTest::newRow("variants") << "us(intl), ru(phonetic)"
                                  << "ru" << 1;
        QTest::newRow("missing") << "us,de"
                                 << "ru" << -1;
        QTest::newRow("empty list") << ""
                                    << "us" << -1;
        QTest::newRow("prefix is not a match") << "rus,ru"
                                               << "ru" << 1;
    }
    void keyboardGroupIndex() {
        QFETCH(QString, layouts);
        QFETCH(QString, layout);
        QFETCH(int, group);
        QCOMPARE(orven::keyboardGroupIndex(layouts, layout), group);
    }

    // Offscreen there is no X keyboard: the switch says it did not lock a
    // Russian group, and switching back is harmless.
    void keyboardSwitchOffX11DoesNothing() {
        QVERIFY(!switchKeyboardLayoutToRussian());
        switchKeyboardLayoutToEnglish();
        QVERIFY(!switchKeyboardLayoutToRussian());
    }

private:
    static int bluePixels(const QImage& image, const QRect& area) {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.blue() > 200 && c.red() < 150 && c.green() < 150)
                    ++count;
            }
        }
        return count;
    }
};

QTEST_MAIN(PlatformTest)
#include "platform_test.moc"
