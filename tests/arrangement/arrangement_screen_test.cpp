// The packs-and-channels dialogue as a student meets it: every input box with
// its prompt, title and position, the lines echoed on the arrangement screen,
// the pack-count and 16-bit checks, and the channel-sum mismatch with its dialog.

#include "arrangement/arrangement_screen.h"
#include "core/design_case.h"
#include "initial_data/error_dialog_screen.h"
#include "platform/program_end.h"
#include "platform/screens.h"
#include "platform/twips.h"
#include "results/report.h"
#include "results/results_screen.h"
#include "support/recording_printer.h"
#include "support/scripted_dialogs.h"
#include "support/test_support.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace orven;
using orven::test::ScriptedDialogs;

namespace {

const QString errorTitle = QStringLiteral("ОШИБКА !");
const QString packCountError = QStringLiteral("число пакетов от1 до 8 !!!    Продолжаете работу ?");
const QString numberTooLarge =
    QStringLiteral("число каналов от -32768 до 32767 !!!    Продолжаете работу ?");
const QString totalTooLarge =
    QStringLiteral("сумма каналов от -32768 до 32767 !!!    Продолжаете работу ?");
const QString coldPacksPrompt = QStringLiteral("Введите число пакетов для холодного теплоносителя");
const QString coldPacksTitle = QStringLiteral("Ввод числа пакетов для холодного теплоносителя");
const QString hotPacksPrompt = QStringLiteral("Введите число пакетов для горячего теплоносителя");
const QString hotPacksTitle = QStringLiteral("Ввод числа пакетов для горячего теплоносителя");
const QString coldChannelsTitle =
    QStringLiteral("Ввод числа каналов в пакете для холодного теплоносителя");
const QString hotChannelsTitle =
    QStringLiteral("Ввод числа каналов в пакете для горячего теплоносителя");
const QColor blue(0, 0, 255);
const QColor normalText(0, 0, 192);

QString coldChannelPrompt(int pack) {
    return QStringLiteral("Введите число каналов %1%2 - м пакете для холодного теплоносителя")
        .arg(pack == 2 ? QStringLiteral("во") : QStringLiteral("в"))
        .arg(pack);
}
QString hotChannelPrompt(int pack) {
    return QStringLiteral("Введите число каналов %1%2 - м пакете для горячего теплоносителя")
        .arg(pack == 2 ? QStringLiteral("во") : QStringLiteral("в"))
        .arg(pack);
}

void expectColdPacks(ScriptedDialogs& d, const QString& answer,
                     std::function<void()> onShown = {}) {
    d.expectInput(coldPacksPrompt, coldPacksTitle, 1000, 1000, answer, std::move(onShown));
}
void expectColdChannels(ScriptedDialogs& d, const QStringList& answers) {
    for (int i = 1; i <= answers.size(); ++i)
        d.expectInput(coldChannelPrompt(i), coldChannelsTitle, 1000, 1000 + 200 * i,
                      answers[i - 1]);
}
void expectHotPacks(ScriptedDialogs& d, int y0, const QString& answer) {
    d.expectInput(hotPacksPrompt, hotPacksTitle, 1000, y0, answer);
}
void expectHotChannels(ScriptedDialogs& d, int y1, const QStringList& answers) {
    for (int j = 1; j <= answers.size(); ++j)
        d.expectInput(hotChannelPrompt(j), hotChannelsTitle, 1000, y1 + 200 * j, answers[j - 1]);
}

QStringList names(const QList<Screen*>& screens) {
    QStringList list;
    for (Screen* s : screens)
        list << QString::fromLatin1(s->metaObject()->className()).section(QLatin1String("::"), -1);
    return list;
}

// The arrangement screen of the dialogue that just ran. Equal totals unload it
// for the results screen; it is deleted only at the next turn of the event
// loop, so its surface can still be read.
Form6& arrangementScreen() {
    Form6* form = findLoadedScreen<Form6>();
    if (form == nullptr) {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* candidate = qobject_cast<Form6*>(window))
                form = candidate;
        }
    }
    Q_ASSERT(form != nullptr);
    return *form;
}

// Beeps of the dialogue alone. A dialogue that reaches the results screen adds
// that screen's beep: the empty initial data of these tests end the calculation
// with an input error, which beeps once.
int dialogueBeeps(ScriptedDialogs& d) {
    return d.beepCount() - (isLoaded<Form9>() ? 1 : 0);
}

// Cooler 40, 41, 41 against 60, 61: the totals differ.
void scriptMismatch(ScriptedDialogs& d) {
    expectColdPacks(d, QStringLiteral("3"));
    expectColdChannels(d, {"40", "41", "41"});
    expectHotPacks(d, 2000, QStringLiteral("2"));
    expectHotChannels(d, 2100, {"60", "61"});
}

} // namespace

class ArrangementScreenTest : public QObject {
    Q_OBJECT

private slots:
    void init() { test::startFreshRun(); }

    void promptsOfTheFirstPacks() {
        QCOMPARE(coldChannelPrompt(1),
                 QStringLiteral("Введите число каналов в1 - м пакете для холодного теплоносителя"));
        QCOMPARE(
            coldChannelPrompt(2),
            QStringLiteral("Введите число каналов во2 - м пакете для холодного теплоносителя"));
        QCOMPARE(hotChannelPrompt(3),
                 QStringLiteral("Введите число каналов в3 - м пакете для горячего теплоносителя"));
    }

    void coolerWithEqualTotals() {
        designCase().exchangerType = ExchangerType::Cooler;
        ScriptedDialogs d;
        bool screenShown = false;
        QPointer<Form6> shown;
        expectColdPacks(d, QStringLiteral("3"), [&screenShown, &shown] {
            Form6& form = arrangementScreen();
            shown = &form;
            screenShown = form.isVisible() && !form.Command1->isVisible() &&
                          !form.Label1->isVisible() &&
                          form.caption() == QStringLiteral("Выбор компоновки пластин");
        });
        expectColdChannels(d, {"40", "41", "41"});
        expectHotPacks(d, 2000, QStringLiteral("2"));
        expectHotChannels(d, 2100, {"61", "61"});

        arrangePlates();

        QVERIFY(d.verifyDone());
        QVERIFY(screenShown);
        QVERIFY(!programEnded());
        // Equal totals go on to the results screen, which replaces this one.
        QCOMPARE(names(loadedScreens()), QStringList{"Form9"});

        const struct {
            const char* text;
            int y;
            QColor color;
        } expected[] = {
            {"ЧИСЛО ПАКЕТОВ ДЛЯ ХОЛОДНОГО ТЕПЛОНОСИТЕЛЯ 3", 300, blue},
            {"ЧИСЛО КАНАЛОВ В 1 - М ПАКЕТЕ ДЛЯ ХОЛОДНОГО ТЕПЛОНОСИТЕЛЯ 40", 600, normalText},
            {"ЧИСЛО КАНАЛОВ ВО2 - М ПАКЕТЕ ДЛЯ ХОЛОДНОГО ТЕПЛОНОСИТЕЛЯ 41", 800, normalText},
            {"ЧИСЛО КАНАЛОВ В 3 - М ПАКЕТЕ ДЛЯ ХОЛОДНОГО ТЕПЛОНОСИТЕЛЯ 41", 1000, normalText},
            {"ЧИСЛО ПАКЕТОВ ДЛЯ ГОРЯЧЕГО ТЕПЛОНОСИТЕЛЯ 2", 1400, blue},
            {"ЧИСЛО КАНАЛОВ В 1 - М ПАКЕТЕ ДЛЯ ГОРЯЧЕГО ТЕПЛОНОСИТЕЛЯ 61", 1700, normalText},
            {"ЧИСЛО КАНАЛОВ ВО2 - М ПАКЕТЕ ДЛЯ ГОРЯЧЕГО ТЕПЛОНОСИТЕЛЯ 61", 1900, normalText},
        };
        // The unloaded arrangement screen is deleted at the next turn of the event loop.
        QVERIFY(shown);
        const QList<SurfaceText> printed = shown->printedTexts();
        QCOMPARE(printed.size(), int(std::size(expected)));
        for (int i = 0; i < printed.size(); ++i) {
            QCOMPARE(printed[i].text, QString::fromUtf8(expected[i].text));
            QCOMPARE(printed[i].x, 800);
            QCOMPARE(printed[i].y, expected[i].y);
            QCOMPARE(printed[i].color, expected[i].color);
            QVERIFY(printed[i].font.bold());
            QCOMPARE(printed[i].font.pointSizeF(), 9.75);
        }

        const PlateArrangement& a = designCase().plateArrangement;
        QCOMPARE(a.coldPackCount, 3.0);
        QCOMPARE(a.hotPackCount, std::int16_t{2});
        QCOMPARE(a.coldChannels[3], std::int16_t{41});
        QCOMPARE(a.hotChannels[2], std::int16_t{61});
        QCOMPARE(a.coldChannelTotal, std::int16_t{122});
        QCOMPARE(a.hotChannelTotal, std::int16_t{122});
    }

    void condenserHasOneHotPack() {
        designCase().exchangerType = ExchangerType::Condenser;
        designCase().plateArrangement.hotPackCount = 5;
        ScriptedDialogs d;
        expectColdPacks(d, QStringLiteral("1"));
        expectColdChannels(d, {"5"});
        expectHotChannels(d, 1700, {"5"});

        arrangePlates();

        QVERIFY(d.verifyDone());
        QCOMPARE(designCase().plateArrangement.hotPackCount, std::int16_t{1});
        const QList<SurfaceText> printed = arrangementScreen().printedTexts();
        QCOMPARE(printed.size(), 3);
        QCOMPARE(printed[2].text,
                 QStringLiteral("ЧИСЛО КАНАЛОВ В 1 - М ПАКЕТЕ ДЛЯ ГОРЯЧЕГО ТЕПЛОНОСИТЕЛЯ 5"));
        QCOMPARE(printed[2].y, 1300);
    }

    void coldPackCount_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<double>("count");
        QTest::addColumn<int>("packsAsked");
        QTest::addColumn<int>("y0");
        QTest::addColumn<QString>("printed");
        QTest::newRow("0.9") << "0.9" << false << 0.0 << 0 << 0 << QString();
        QTest::newRow("0,99") << "0,99" << false << 0.0 << 0 << 0 << QString();
        QTest::newRow("8.4") << "8.4" << false << 0.0 << 0 << 0 << QString();
        QTest::newRow("8.0001") << "8.0001" << false << 0.0 << 0 << 0 << QString();
        QTest::newRow("cancel") << "" << false << 0.0 << 0 << 0 << QString();
        QTest::newRow("letters") << "abc" << false << 0.0 << 0 << 0 << QString();
        QTest::newRow("infinite") << "1e999" << false << 0.0 << 0 << 0 << QString();
        QTest::newRow("40000") << "40000" << false << 0.0 << 0 << 0 << QString();
        QTest::newRow("-40000") << "-40000" << false << 0.0 << 0 << 0 << QString();
        QTest::newRow("1e10") << "1e10" << false << 0.0 << 0 << 0 << QString();
        QTest::newRow("1") << "1" << true << 1.0 << 1 << 1600 << "1";
        QTest::newRow("1,5") << "1,5" << true << 1.5 << 2 << 1700 << "1,5";
        QTest::newRow("2,5") << "2,5" << true << 2.5 << 2 << 1900 << "2,5";
        QTest::newRow("3.5") << "3.5" << true << 3.5 << 4 << 2100 << "3,5";
        QTest::newRow("8") << "8" << true << 8.0 << 8 << 3000 << "8";
    }

    void coldPackCount() {
        QFETCH(QString, answer);
        QFETCH(bool, accepted);
        QFETCH(double, count);
        QFETCH(int, packsAsked);
        QFETCH(int, y0);
        QFETCH(QString, printed);
        designCase().exchangerType = ExchangerType::Condenser;
        ScriptedDialogs d;
        expectColdPacks(d, answer);
        if (accepted) {
            QStringList ones;
            for (int i = 0; i < packsAsked; ++i)
                ones << QStringLiteral("1");
            expectColdChannels(d, ones);
            expectHotChannels(d, y0 + 100, {QString::number(packsAsked)});
        } else {
            d.expectYesNo(errorTitle, packCountError, false);
        }

        arrangePlates();

        QVERIFY(d.verifyDone());
        QCOMPARE(dialogueBeeps(d), accepted ? 0 : 1);
        QCOMPARE(programEnded(), !accepted);
        if (!accepted) {
            QVERIFY(loadedScreens().isEmpty());
            return;
        }
        QCOMPARE(designCase().plateArrangement.coldPackCount, count);
        QCOMPARE(arrangementScreen().printedLines().first(),
                 QStringLiteral("ЧИСЛО ПАКЕТОВ ДЛЯ ХОЛОДНОГО ТЕПЛОНОСИТЕЛЯ ") + printed);
    }

    void packCountErrorYesAsksAgain() {
        designCase().exchangerType = ExchangerType::Cooler;
        ScriptedDialogs d;
        expectColdPacks(d, QStringLiteral("0"));
        d.expectYesNo(errorTitle, packCountError, true);
        expectColdPacks(d, QStringLiteral("1"));
        expectColdChannels(d, {"4"});
        expectHotPacks(d, 1600, QStringLiteral("9"));
        d.expectYesNo(errorTitle, packCountError, true);
        expectHotPacks(d, 1600, QStringLiteral("1"));
        expectHotChannels(d, 1700, {"4"});

        arrangePlates();

        QVERIFY(d.verifyDone());
        QCOMPARE(dialogueBeeps(d), 2);
        QVERIFY(!programEnded());
        QCOMPARE(designCase().plateArrangement.hotPackCount, std::int16_t{1});
        // Rejected answers leave no line behind.
        QCOMPARE(arrangementScreen().printedTexts().size(), 4);
    }

    void hotPackCount_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("packs"); // 0: rejected
        QTest::newRow("0.4") << "0.4" << 0;
        QTest::newRow("0.5 (half to even)") << "0.5" << 0;
        QTest::newRow("0.6") << "0.6" << 1;
        QTest::newRow("1,5") << "1,5" << 2;
        QTest::newRow("8.5 (half to even)") << "8.5" << 8;
        QTest::newRow("8.6") << "8.6" << 0;
        QTest::newRow("cancel") << "" << 0;
        QTest::newRow("-1") << "-1" << 0;
        QTest::newRow("40000") << "40000" << 0;
        QTest::newRow("-40000") << "-40000" << 0;
        QTest::newRow("1e10") << "1e10" << 0;
        QTest::newRow("1e999") << "1e999" << 0;
    }

    void hotPackCount() {
        QFETCH(QString, answer);
        QFETCH(int, packs);
        designCase().exchangerType = ExchangerType::Cooler;
        ScriptedDialogs d;
        expectColdPacks(d, QStringLiteral("1"));
        expectColdChannels(d, {"1"});
        expectHotPacks(d, 1600, answer);
        if (packs > 0) {
            QStringList hot{QStringLiteral("1")};
            for (int j = 2; j <= packs; ++j)
                hot << QStringLiteral("0");
            expectHotChannels(d, 1700, hot);
        } else {
            d.expectYesNo(errorTitle, packCountError, false);
        }

        arrangePlates();

        QVERIFY(d.verifyDone());
        QCOMPARE(programEnded(), packs == 0);
        QCOMPARE(dialogueBeeps(d), packs == 0 ? 1 : 0);
        if (packs == 0)
            return;
        QCOMPARE(int(designCase().plateArrangement.hotPackCount), packs);
        const SurfaceText line = arrangementScreen().printedTexts().at(2);
        QCOMPARE(line.text,
                 QStringLiteral("ЧИСЛО ПАКЕТОВ ДЛЯ ГОРЯЧЕГО ТЕПЛОНОСИТЕЛЯ %1").arg(packs));
        QCOMPARE(line.y, 1000);
        QCOMPARE(line.color, blue);

        // The report shows the rounded count and that many pack cells.
        test::RecordingPrinter printer;
        printResultsBlock(printer, designCase());
        const QStringList printed = printer.currentLines();
        const qsizetype title = printed.indexOf(
            QRegularExpression(QStringLiteral(".*горячего теплоносителя \\(шт\\.\\).*")));
        QVERIFY(title >= 0);
        QVERIFY2(printed.at(title).endsWith(QStringLiteral("(шт.)   ") + QString::number(packs)),
                 qPrintable(printed.at(title)));
        QCOMPARE(printed.at(title + 1).count(QRegularExpression(QStringLiteral("\\d+"))),
                 packs); // "Номер пакета" and the numbers 1..packs
    }

    void channelReading_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("channels");
        QTest::newRow("12abc") << "12abc" << 12;
        QTest::newRow("abc") << "abc" << 0;
        QTest::newRow("cancel") << "" << 0;
        QTest::newRow("negative") << "-5" << -5;
        QTest::newRow("2,5 (half to even)") << "2,5" << 2;
        QTest::newRow("3,5 (half to even)") << "3,5" << 4;
        QTest::newRow("largest") << "32767" << 32767;
        QTest::newRow("smallest") << "-32768" << -32768;
        QTest::newRow("-32768.5 rounds into range") << "-32768.5" << -32768;
    }

    void channelReading() {
        QFETCH(QString, answer);
        QFETCH(int, channels);
        designCase().exchangerType = ExchangerType::Condenser;
        ScriptedDialogs d;
        expectColdPacks(d, QStringLiteral("1"));
        expectColdChannels(d, {answer});
        expectHotChannels(d, 1700, {answer});

        arrangePlates();

        QVERIFY(d.verifyDone());
        const PlateArrangement& a = designCase().plateArrangement;
        QCOMPARE(int(a.coldChannels[1]), channels);
        QCOMPARE(int(a.coldChannelTotal), channels);
        QCOMPARE(int(a.hotChannelTotal), channels);
        QCOMPARE(arrangementScreen().printedLines().at(1),
                 QStringLiteral("ЧИСЛО КАНАЛОВ В 1 - М ПАКЕТЕ ДЛЯ ХОЛОДНОГО ТЕПЛОНОСИТЕЛЯ %1")
                     .arg(channels));
        QVERIFY(!isLoaded<Form13>());
    }

    void numberBeyond16Bits_data() {
        QTest::addColumn<QString>("answer");
        QTest::newRow("40000") << "40000";
        QTest::newRow("32767.5 rounds to 32768") << "32767.5";
        QTest::newRow("-32769") << "-32769";
        QTest::newRow("infinite") << "1e999";
    }

    void numberBeyond16Bits() {
        QFETCH(QString, answer);
        designCase().exchangerType = ExchangerType::Condenser;
        designCase().plateArrangement.coldChannels[1] = 77;
        ScriptedDialogs d;
        expectColdPacks(d, QStringLiteral("1"));
        d.expectInput(coldChannelPrompt(1), coldChannelsTitle, 1000, 1200, answer, [] {
            QCOMPARE(designCase().plateArrangement.coldChannels[1], std::int16_t{77});
        });
        d.expectYesNo(errorTitle, numberTooLarge, true);
        expectColdChannels(d, {"10"});
        expectHotChannels(d, 1700, {"10"});

        arrangePlates();

        QVERIFY(d.verifyDone());
        QCOMPARE(dialogueBeeps(d), 1);
        QCOMPARE(designCase().plateArrangement.coldChannels[1], std::int16_t{10});
        QCOMPARE(arrangementScreen().printedTexts().size(), 3);
    }

    void totalBeyond16Bits() {
        designCase().exchangerType = ExchangerType::Condenser;
        ScriptedDialogs d;
        expectColdPacks(d, QStringLiteral("2"));
        expectColdChannels(d, {"20000", "20000"});
        d.expectYesNo(errorTitle, totalTooLarge, true);
        d.expectInput(coldChannelPrompt(2), coldChannelsTitle, 1000, 1400, QStringLiteral("12767"));
        expectHotChannels(d, 1900, {"32767"});

        arrangePlates();

        QVERIFY(d.verifyDone());
        const PlateArrangement& a = designCase().plateArrangement;
        QCOMPARE(a.coldChannels[2], std::int16_t{12767});
        QCOMPARE(a.coldChannelTotal, std::int16_t{32767});
        QCOMPARE(a.hotChannelTotal, std::int16_t{32767});
        QVERIFY(!isLoaded<Form13>());
    }

    void totalBeyond16BitsNoEnds() {
        designCase().exchangerType = ExchangerType::Condenser;
        ScriptedDialogs d;
        expectColdPacks(d, QStringLiteral("2"));
        expectColdChannels(d, {"-20000", "-20000"});
        d.expectYesNo(errorTitle, totalTooLarge, false);

        arrangePlates();

        QVERIFY(d.verifyDone());
        QVERIFY(programEnded());
        QCOMPARE(designCase().plateArrangement.coldChannels[2], std::int16_t{0});
    }

    void mismatchShowsMessageAndDialog() {
        designCase().exchangerType = ExchangerType::Cooler;
        ScriptedDialogs d;
        scriptMismatch(d);

        arrangePlates();

        QVERIFY(d.verifyDone());
        QCOMPARE(dialogueBeeps(d), 1);
        QVERIFY(!programEnded());
        QCOMPARE(names(loadedScreens()), (QStringList{"Form6", "Form13"}));
        Form6& form = arrangementScreen();
        const SurfaceText last = form.printedTexts().constLast();
        QCOMPARE(last.y, 1900);
        const int labelTop = last.y + form.textHeightTwips() + 400;
        QVERIFY(form.Label1->isVisible());
        QCOMPARE(form.label1Top(), labelTop);
        QCOMPARE(form.Label1->pos(),
                 QPoint(twipsToPixels(10275 / 2 - 3975 / 2), twipsToPixels(labelTop)));
        QCOMPARE(form.Label1->size(), QSize(twipsToPixels(3975), twipsToPixels(975)));
        QVERIFY(form.Label1->wordWrap());
        QCOMPARE(form.Label1->text(), QStringLiteral("СУММЫ ЧИСЛА КАНАЛОВ ДЛЯ ГОРЯЧЕГО И ХОЛОДНОГО "
                                                     "ТЕПЛОНОСИТЕЛЯ ДОЛЖНЫ БЫТЬ РАВНЫ!"));
        QCOMPARE(form.Label1->palette().color(QPalette::WindowText), QColor(255, 0, 0));

        Form13* dialog = findLoadedScreen<Form13>();
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->pos(),
                 QPoint(twipsToPixels(10275 / 2 - 5205 / 2), twipsToPixels(labelTop + 975 + 500)));
        QCOMPARE(dialog->Label1->text(), QStringLiteral("Ошибка в исходной информации."));
        QCOMPARE(dialog->Label2->text(), QStringLiteral("  Изменяете исходную информацию?"));
        QCOMPARE(designCase().plateArrangement.hotChannelTotal, std::int16_t{121});
        QCOMPARE(designCase().plateArrangement.coldChannelTotal, std::int16_t{122});
    }

    // The drawn screen: yellow face, the blue pack-count line, the dark blue
    // channel lines and the red message, and the dialog's red first line.
    void mismatchIsDrawn() {
        designCase().exchangerType = ExchangerType::Cooler;
        ScriptedDialogs d;
        scriptMismatch(d);
        arrangePlates();
        QVERIFY(d.verifyDone());

        Form6& form = arrangementScreen();
        const QImage screen = form.grab().toImage();
        QCOMPARE(screen.size(), QSize(twipsToPixels(10275), twipsToPixels(8790)));
        QCOMPARE(screen.pixelColor(5, 5), QColor(255, 255, 0));
        const auto hasColourIn = [](const QImage& image, const QRect& area, const QColor& colour) {
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    if (image.pixelColor(x, y) == colour)
                        return true;
            return false;
        };
        const auto lineArea = [&form](int yTwips) {
            return QRect(twipsToPixels(800), twipsToPixels(yTwips), 300,
                         twipsToPixels(form.textHeightTwips()));
        };
        QVERIFY(hasColourIn(screen, lineArea(300), blue));
        QVERIFY(hasColourIn(screen, lineArea(600), normalText));
        QVERIFY(!hasColourIn(screen, lineArea(600), blue));
        QVERIFY(hasColourIn(screen, form.Label1->geometry(), QColor(255, 0, 0)));

        Form13* dialog = findLoadedScreen<Form13>();
        const QImage box = dialog->grab().toImage();
        QVERIFY(hasColourIn(box, dialog->Label1->geometry(), QColor(255, 0, 0)));
        QVERIFY(!hasColourIn(box, dialog->Label2->geometry(), QColor(255, 0, 0)));
    }

    void mismatchYesRepeatsTheDialogue() {
        designCase().exchangerType = ExchangerType::Cooler;
        ScriptedDialogs d;
        scriptMismatch(d);
        arrangePlates();
        QVERIFY(d.verifyDone());
        Form6* before = &arrangementScreen();
        Form13* dialog = findLoadedScreen<Form13>();

        QStringList loadedAtStart;
        int printedAtStart = -1;
        bool freshScreen = false;
        expectColdPacks(d, QStringLiteral("1"), [&] {
            loadedAtStart = names(loadedScreens());
            Form6& form = arrangementScreen();
            freshScreen = &form != before;
            printedAtStart = form.printedTexts().size();
        });
        expectColdChannels(d, {"7"});
        expectHotPacks(d, 1600, QStringLiteral("1"));
        expectHotChannels(d, 1700, {"7"});
        QVERIFY(dialog->Command1->isVisible() && dialog->Command1->isEnabled());
        dialog->Command1->click();

        QVERIFY(d.verifyDone());
        QCOMPARE(loadedAtStart, QStringList{"Form6"});
        QVERIFY(freshScreen);
        QCOMPARE(printedAtStart, 0);
        // The repeated dialogue had equal totals and went on to the results.
        QCOMPARE(names(loadedScreens()), QStringList{"Form9"});
        QVERIFY(!arrangementScreen().Label1->isVisible());
        QCOMPARE(designCase().plateArrangement.coldChannelTotal, std::int16_t{7});
        QVERIFY(!programEnded());
    }

    // A signal may end the program while a box is open: the dialogue stops
    // there, asks nothing more and opens no further screen.
    void endedWhileABoxIsOpen_data() {
        QTest::addColumn<int>("boxesAnswered");
        QTest::newRow("cold pack count") << 0;
        QTest::newRow("cold channels") << 1;
        QTest::newRow("hot pack count") << 2;
        QTest::newRow("last hot channels") << 4;
    }

    void endedWhileABoxIsOpen() {
        QFETCH(int, boxesAnswered);
        designCase().exchangerType = ExchangerType::Cooler;
        ScriptedDialogs d;
        const QList<std::function<void(std::function<void()>)>> boxes = {
            [&d](auto shown) { expectColdPacks(d, QStringLiteral("1"), shown); },
            [&d](auto shown) {
                d.expectInput(coldChannelPrompt(1), coldChannelsTitle, 1000, 1200,
                              QStringLiteral("5"), shown);
            },
            [&d](auto shown) {
                d.expectInput(hotPacksPrompt, hotPacksTitle, 1000, 1600, QStringLiteral("1"),
                              shown);
            },
            [&d](auto shown) {
                d.expectInput(hotChannelPrompt(1), hotChannelsTitle, 1000, 1900,
                              QStringLiteral("5"), shown);
            },
        };
        const int last = std::min(boxesAnswered, int(boxes.size()) - 1);
        for (int i = 0; i <= last; ++i)
            boxes[i](i == last ? std::function<void()>([] { endProgram(); })
                               : std::function<void()>());

        arrangePlates();

        QVERIFY(d.verifyDone());
        QVERIFY(programEnded());
        QVERIFY(loadedScreens().isEmpty());
    }

    void mismatchNoEndsTheProgram() {
        designCase().exchangerType = ExchangerType::Cooler;
        ScriptedDialogs d;
        scriptMismatch(d);
        arrangePlates();
        Form13* dialog = findLoadedScreen<Form13>();
        QVERIFY(dialog->Command2->isVisible() && dialog->Command2->isEnabled());

        dialog->Command2->click();

        QVERIFY(d.verifyDone());
        QVERIFY(programEnded());
        QVERIFY(loadedScreens().isEmpty());
    }
};

QTEST_MAIN(ArrangementScreenTest)
#include "arrangement_screen_test.moc"
