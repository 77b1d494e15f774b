// The initial-data screens driven as a student drives them: the type choice,
// the first entry of the 14 values, the review, corrections of single lines,
// the error display with its "Внимание !" dialog, and the correction screen.

#include "core/design_case.h"
#include "initial_data/error_dialog_screen.h"
#include "initial_data/initial_data.h"
#include "initial_data/initial_data_screen.h"
#include "initial_data/parameter_names.h"
#include "platform/controls.h"
#include "platform/program_end.h"
#include "platform/screens.h"
#include "platform/twips.h"
#include "support/scripted_dialogs.h"
#include "support/test_support.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTest>

#include <cmath>
#include <initializer_list>

using namespace orven;
using orven::test::ScriptedDialogs;

Q_DECLARE_METATYPE(orven::ExchangerType)

namespace {

const QString inputTitle = QStringLiteral("ВВОД ИСХОДНОЙ ИНФОРМАЦИИ");
const QString checkCaption = QStringLiteral("   ПРОВЕРКА ВВОДА ИСХОДНОЙ ИНФОРМАЦИИ");
const QColor green(0, 255, 0);
const QColor red(255, 0, 0);

// 14 values inside their intervals, some typed with a decimal comma.
QStringList validAnswers() {
    return {QStringLiteral("2,5"),   QStringLiteral("0.6"),  QStringLiteral("1000"),
            QStringLiteral("0.001"), QStringLiteral("4190"), QStringLiteral("3"),
            QStringLiteral("0,6"),   QStringLiteral("998"),  QStringLiteral("0.0008"),
            QStringLiteral("4180"),  QStringLiteral("20"),   QStringLiteral("0.0005"),
            QStringLiteral("3E5"),   QStringLiteral("0.95")};
}

// The stored texts of validAnswers().
QStringList validTexts() {
    QStringList texts = validAnswers();
    for (QString& text : texts)
        text.replace(QLatin1Char(','), QLatin1Char('.'));
    return texts;
}

bool closeTo(double actual, double expected) {
    return std::abs(actual - expected) <= 1e-12 * std::abs(expected);
}

// What the main menu does before the first state: names, no type, entry pending.
void startDataInput() {
    DesignCase& dc = designCase();
    fillParameterNames(dc);
    dc.exchangerType = ExchangerType::NotChosen;
    dc.initialEntryPending = true;
    showInitialDataFirstState();
}

const QString& nameOf(ExchangerType type, int slot) {
    return type == ExchangerType::Cooler ? coolerParameterName(slot) : condenserParameterName(slot);
}

// A null answer is a box the student cancels.
void expectFirstEntry(ScriptedDialogs& dialogs, ExchangerType type, const QStringList& answers) {
    for (int slot = 1; slot <= 14; ++slot) {
        if (answers[slot - 1].isNull())
            dialogs.expectCancelledInput(nameOf(type, slot), inputTitle, 1000,
                                         1880 + 195 * (slot - 1));
        else
            dialogs.expectInput(nameOf(type, slot), inputTitle, 1000, 1880 + 195 * (slot - 1),
                                answers[slot - 1]);
    }
}

QPushButton* typeButton(InitialDataScreen& form, ExchangerType type) {
    return type == ExchangerType::Cooler ? form.Command4 : form.Command5;
}

// Presses a button the student can see and reach.
void press(QPushButton* button) {
    QVERIFY2(button->isVisible(), qPrintable(button->text()));
    QVERIFY2(button->isEnabled(), qPrintable(button->text()));
    button->click();
}

// Clicks a line of the list with the mouse, scrolling it into view first.
void clickLine(QListWidget* list, int row) {
    QVERIFY(list->isVisible());
    QListWidgetItem* item = list->item(row);
    QVERIFY(item);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

// Every control in the list is shown (or hidden) as the student sees the screen.
void checkVisible(std::initializer_list<const QWidget*> controls, bool visible) {
    for (const QWidget* control : controls)
        QVERIFY2(control->isVisible() == visible, qPrintable(control->objectName()));
}

QStringList listLines(const QListWidget* list) {
    QStringList lines;
    for (int row = 0; row < list->count(); ++row)
        lines << list->item(row)->text();
    return lines;
}

// Lines 1..14 as the student must see them: the name, blanks to column 62, the text.
QStringList expectedParameterLines(ExchangerType type, const QStringList& texts) {
    QStringList lines;
    for (int slot = 1; slot <= 14; ++slot) {
        const QString& name = nameOf(type, slot);
        lines << name + QString(62 - name.size(), QLatin1Char(' ')) + texts[slot - 1];
    }
    return lines;
}

QString typeText(ExchangerType type) {
    return type == ExchangerType::Cooler ? QStringLiteral(" Холодильник")
                                         : QStringLiteral(" Конденсатор");
}

// Puts 14 value texts into the design case as earlier screens left them.
void storeTexts(const QStringList& texts) {
    DesignCase& dc = designCase();
    for (int slot = 1; slot <= 14; ++slot) {
        dc.valueTexts[slot] = texts[slot - 1];
        dc.values[slot] = -1; // stale: the screens must refresh it
    }
}

// Runs a valid first entry of a cooler and leaves Form3 in the review state.
Form3& reviewedCooler(ScriptedDialogs& dialogs, const QStringList& answers = validAnswers()) {
    startDataInput();
    Form3& form = screen<Form3>();
    expectFirstEntry(dialogs, ExchangerType::Cooler, answers);
    form.Command4->click();
    return form;
}

void checkErrorDisplay(InitialDataScreen& form, ExchangerType type, const QStringList& texts,
                       int marked) {
    const QStringList lines = expectedParameterLines(type, texts);
    QVERIFY(!form.List1->isVisible());
    const QList<SurfaceText> printed = form.printedTexts();
    QCOMPARE(printed.size(), 14);
    for (int i = 1; i <= 14; ++i) {
        QCOMPARE(printed[i - 1].text, lines[i - 1]);
        QCOMPARE(printed[i - 1].x, 530);
        QCOMPARE(printed[i - 1].y, 195 * i + 1210);
        QVERIFY(printed[i - 1].font.fixedPitch());
    }
    QVERIFY(form.Label2->isVisible());
    QCOMPARE(form.Label2->text(), lines[marked - 1]);
    QCOMPARE(form.Label2->geometry(), QRect(twipsToPixels(530), twipsToPixels(195 * marked + 1210),
                                            twipsToPixels(9500), twipsToPixels(200)));
    QCOMPARE(form.Label2->palette().color(QPalette::WindowText), red);
    QCOMPARE(form.Label2->palette().color(QPalette::Window), green);
    QVERIFY(form.Label2->autoFillBackground());
    QCOMPARE(form.caption(), checkCaption);
}

} // namespace

class InitialDataScreenTest : public QObject {
    Q_OBJECT

private slots:
    void init() { test::startFreshRun(); }
    void cleanup() {
        test::clearScreens();
        setDialogs(nullptr);
    }

    void firstStateShowsOnlyTheTypeQuestion() {
        startDataInput();
        Form3& form = screen<Form3>();
        QCOMPARE(loadedScreens(), QList<Screen*>{&form});
        QVERIFY(form.isVisible());
        QCOMPARE(form.caption(), QStringLiteral("   ВВОД ИСХОДНОЙ ИНФОРМАЦИИ"));
        QCOMPARE(form.backgroundColor(), QColor(255, 255, 0));
        QVERIFY(form.font().fixedPitch());
        QCOMPARE(form.width(), twipsToPixels(14000));

        checkVisible({form.Command4, form.Command5, form.Label4}, true);
        checkVisible({form.Command1, form.Command2, form.Command3, form.Label1, form.Label2,
                      form.Label3, form.List1},
                     false);

        QCOMPARE(form.Label4->text(), QStringLiteral("НАЗОВИТЕ ТИП ТЕПЛООБМЕННИКА"));
        QCOMPARE(form.Command4->y(), twipsToPixels(700));
        QCOMPARE(form.Command5->y(), twipsToPixels(700));
        QCOMPARE(form.Label4->y(), twipsToPixels(200));
        // The type buttons share the width 12000 of the first layout steps: gap 2190.
        QCOMPARE(leftTwips(form.Command4), 2190);
        QCOMPARE(leftTwips(form.Command5), 2775 + 2190 + 2190);
        QCOMPARE(buttonColor(form.Command4), green);
        QCOMPARE(form.Label3->text().size(), 105);
    }

    void firstEntryWithValidValues_data() {
        QTest::addColumn<ExchangerType>("type");
        QTest::newRow("cooler") << ExchangerType::Cooler;
        QTest::newRow("condenser") << ExchangerType::Condenser;
    }
    void firstEntryWithValidValues() {
        QFETCH(ExchangerType, type);
        ScriptedDialogs dialogs;
        startDataInput();
        Form3& form = screen<Form3>();
        // Each box is shown with the list grown up to the line before it.
        for (int slot = 1; slot <= 14; ++slot) {
            dialogs.expectInput(nameOf(type, slot), inputTitle, 1000, 1880 + 195 * (slot - 1),
                                validAnswers()[slot - 1], [&form, slot] {
                                    QVERIFY(form.List1->isVisible());
                                    QCOMPARE(form.List1->count(), slot);
                                    QVERIFY(!form.Command4->isVisible());
                                    QVERIFY(!form.Label4->isVisible());
                                });
        }
        press(typeButton(form, type));
        QVERIFY(dialogs.verifyDone());

        const DesignCase& dc = designCase();
        QCOMPARE(dc.exchangerType, type);
        QVERIFY(!dc.initialEntryPending);
        QVERIFY(!dc.initialDataInvalid);
        for (int slot = 1; slot <= 14; ++slot)
            QCOMPARE(dc.valueTexts[slot], validTexts()[slot - 1]);
        QVERIFY(closeTo(dc.values[1], 2.5));
        QVERIFY(closeTo(dc.values[13], 300000));

        QStringList expected{QStringLiteral(" Тип теплообменника - ") + typeText(type)};
        expected += expectedParameterLines(type, validTexts());
        QCOMPARE(listLines(form.List1), expected);
        if (type == ExchangerType::Cooler) {
            QCOMPARE(form.List1->item(3)->text(),
                     QStringLiteral(" Плотность горячего теплоносителя (Кг/м^3)") +
                         QString(20, QLatin1Char(' ')) + QStringLiteral("1000"));
        }

        // All 15 lines stand in the list at once, without scrolling.
        QVERIFY(form.List1->visualItemRect(form.List1->item(14)).bottom() <
                form.List1->viewport()->height());
        QCOMPARE(form.List1->verticalScrollBar()->maximum(), 0);

        // Review: the list is shown but does not take clicks; keep and change are offered.
        QVERIFY(form.List1->isVisible());
        QVERIFY(!form.List1->isEnabled());
        checkVisible({form.Command1, form.Command2, form.Label1}, true);
        checkVisible(
            {form.Command3, form.Command4, form.Command5, form.Label2, form.Label3, form.Label4},
            false);
        QCOMPARE(buttonColor(form.Command1), green);
        QCOMPARE(buttonColor(form.Command2), green);
        QCOMPARE(form.Command1->text(), QStringLiteral("НЕ ИЗМЕНЯЕТЕ ИСХОДНУЮ ИНФОРМАЦИЮ"));
        QTest::mouseClick(form.List1->viewport(), Qt::LeftButton, {},
                          form.List1->visualItemRect(form.List1->item(2)).center());
        QCOMPARE(dialogs.pendingSteps(), 0);

        // Keep goes on to the exchanger selection without any error display.
        press(form.Command1);
        QVERIFY(dialogs.verifyDone());
        QCOMPARE(dialogs.beepCount(), 0);
        QVERIFY(!isLoaded<Form4>());
        QCOMPARE(form.printedTexts().size(), 0);
        QCOMPARE(form.caption(), checkCaption);
    }

    // A value longer than the room after the name column is shown whole, the
    // list scrolling sideways to it.
    void longValueLineShownWhole() {
        ScriptedDialogs dialogs;
        startDataInput();
        Form3& form = screen<Form3>();
        QStringList answers = validAnswers();
        answers[12] = QStringLiteral("30000000000000000000"); // 20 characters
        for (int slot = 1; slot <= 14; ++slot)
            dialogs.expectInput(nameOf(ExchangerType::Cooler, slot), inputTitle, 1000,
                                1880 + 195 * (slot - 1), answers[slot - 1]);
        press(form.Command4);
        QVERIFY(dialogs.verifyDone());
        QListWidgetItem* line = form.List1->item(13);
        QVERIFY(line->text().endsWith(answers[12]));
        const int textWidth = QFontMetrics(form.List1->font()).horizontalAdvance(line->text());
        QVERIFY(form.List1->visualItemRect(line).width() >= textWidth);
        QVERIFY(textWidth > form.List1->viewport()->width());
        QVERIFY(form.List1->horizontalScrollBar()->maximum() > 0);
    }

    // The long buttons draw their captions in the screen's fixed-pitch font,
    // as a button given that font itself does, also where the desktop gives
    // buttons a font of their own.
    void longButtonsInTheFixedPitchFont() {
        const QFont applicationFont = QApplication::font();
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 11), "QPushButton");
        const auto restore =
            qScopeGuard([&] { QApplication::setFont(applicationFont, "QPushButton"); });
        for (InitialDataScreen* form : {static_cast<InitialDataScreen*>(&screen<Form3>()),
                                        static_cast<InitialDataScreen*>(&screen<Form11>())}) {
            for (QPushButton* button : {form->Command1, form->Command2, form->Command3}) {
                QPushButton reference(button->text());
                setButtonColor(&reference, green);
                reference.setFont(form->font());
                reference.resize(button->size());
                QVERIFY(QFontInfo(button->font()).fixedPitch());
                QCOMPARE(button->grab().toImage().convertToFormat(QImage::Format_RGB32),
                         reference.grab().toImage().convertToFormat(QImage::Format_RGB32));
            }
        }
    }

    void decimalCommaOutOfRangeShowsTheErrorDisplay() {
        ScriptedDialogs dialogs;
        QStringList answers = validAnswers();
        answers[3] = QStringLiteral("0,02");
        Form3& form = reviewedCooler(dialogs, answers);
        QVERIFY(dialogs.verifyDone());

        const DesignCase& dc = designCase();
        QCOMPARE(dc.valueTexts[4], QStringLiteral("0.02"));
        QVERIFY(closeTo(dc.values[4], 0.02));
        QCOMPARE(int(dc.firstInvalidParameter), 4);
        QCOMPARE(dialogs.beepCount(), 1);

        QStringList texts = validTexts();
        texts[3] = QStringLiteral("0.02");
        checkErrorDisplay(form, ExchangerType::Cooler, texts, 4);
        QCOMPARE(form.Label2->y(), twipsToPixels(1990));
        QVERIFY(!form.Command1->isVisible());
        QVERIFY(!form.Command2->isVisible());

        QVERIFY(isLoaded<Form4>());
        Form4& dialog = screen<Form4>();
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.y(), twipsToPixels(5000));
        QCOMPARE(loadedScreens(), (QList<Screen*>{&form, &dialog}));
    }

    void errorDialogAnswer_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Да: back to correcting") << true;
        QTest::newRow("Нет: end of the program") << false;
    }
    void errorDialogAnswer() {
        QFETCH(bool, yes);
        ScriptedDialogs dialogs;
        QStringList answers = validAnswers();
        answers[13] = QStringLiteral("1.01");
        Form3& form = reviewedCooler(dialogs, answers);
        Form4& dialog = screen<Form4>();
        QCOMPARE(dialog.focusWidget(), dialog.Command1); // "Да" first on this dialog

        press(yes ? dialog.Command1 : dialog.Command2);
        if (!yes) {
            QVERIFY(programEnded());
            QVERIFY(loadedScreens().isEmpty());
            return;
        }
        QVERIFY(!programEnded());
        QCOMPARE(loadedScreens(), QList<Screen*>{&form});
        QVERIFY(form.isVisible());
        QCOMPARE(form.surfaceItemCount(), 0);
        QVERIFY(form.List1->isVisible());
        QVERIFY(form.List1->isEnabled());
        QVERIFY(form.Label3->isVisible());
        checkVisible({form.Label2, form.Command1, form.Command2, form.Command3}, false);
        QCOMPARE(form.List1->item(14)->text().mid(62), QStringLiteral("1.01"));

        // The correcting state takes line clicks: a good value makes the end button green.
        dialogs.expectInput(coolerParameterName(14), inputTitle, 4000, 195 * 14 + 1875,
                            QStringLiteral("1"));
        clickLine(form.List1, 14);
        QVERIFY(dialogs.verifyDone());
        QVERIFY(form.Command3->isVisible());
        QCOMPARE(buttonColor(form.Command3), green);
    }

    void cancelledFirstEntryBoxStoresZero() {
        ScriptedDialogs dialogs;
        QStringList answers = validAnswers();
        answers[6] = QString(); // Cancel
        Form3& form = reviewedCooler(dialogs, answers);
        QVERIFY(dialogs.verifyDone());
        const DesignCase& dc = designCase();
        QCOMPARE(dc.valueTexts[7], QStringLiteral("0"));
        QCOMPARE(dc.values[7], 0.0);
        QCOMPARE(int(dc.firstInvalidParameter), 7);
        QCOMPARE(form.List1->item(7)->text().mid(62), QStringLiteral("0"));
        QVERIFY(isLoaded<Form4>());
    }

    void typeLineRelistsUnderTheOtherType_data() {
        QTest::addColumn<ExchangerType>("first");
        QTest::addColumn<ExchangerType>("second");
        QTest::newRow("cooler to condenser") << ExchangerType::Cooler << ExchangerType::Condenser;
        QTest::newRow("condenser to cooler") << ExchangerType::Condenser << ExchangerType::Cooler;
    }
    void typeLineRelistsUnderTheOtherType() {
        QFETCH(ExchangerType, first);
        QFETCH(ExchangerType, second);
        ScriptedDialogs dialogs;
        startDataInput();
        Form3& form = screen<Form3>();
        expectFirstEntry(dialogs, first, validAnswers());
        press(typeButton(form, first));
        QVERIFY(dialogs.verifyDone());

        press(form.Command2);
        QVERIFY(form.List1->isEnabled());
        QVERIFY(form.Label3->isVisible());
        QVERIFY(!form.Command1->isVisible());
        QVERIFY(!form.Command2->isVisible());

        // Clicking the type line twice shows the same question once, under the list.
        clickLine(form.List1, 0);
        clickLine(form.List1, 0);
        QCOMPARE(dialogs.pendingSteps(), 0);
        QVERIFY(!form.Label3->isVisible());
        checkVisible({form.Command4, form.Command5, form.Label4}, true);
        QCOMPARE(form.Label4->y(), twipsToPixels(1200 + 3000 + 400));
        QCOMPARE(form.Command4->y(), twipsToPixels(topTwips(form.Label4) + 255 + 200));
        QCOMPARE(form.Command5->y(), form.Command4->y());
        QPushButton* other = typeButton(form, second);
        QPushButton* current = typeButton(form, first);
        QCOMPARE(other->focusPolicy(), Qt::StrongFocus);
        QVERIFY(!(current->focusPolicy() & Qt::TabFocus));
        QCOMPARE(form.focusWidget(), other);

        press(other);
        QVERIFY(dialogs.verifyDone()); // no second entry
        const DesignCase& dc = designCase();
        QCOMPARE(dc.exchangerType, second);
        QCOMPARE(dc.valueTexts[16], typeText(second));
        QStringList expected{constructionParameterName(16) + typeText(second)};
        expected += expectedParameterLines(second, validTexts());
        QCOMPARE(listLines(form.List1), expected);
        for (int slot = 1; slot <= 14; ++slot)
            QCOMPARE(dc.valueTexts[slot], validTexts()[slot - 1]);
        QVERIFY(form.Command1->isVisible());
        QVERIFY(form.Command2->isVisible());
        checkVisible({form.Command4, form.Command5, form.Label4, form.Label3}, false);
    }

    void correctionColoursTheEndButton_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("cancelled");
        QTest::addColumn<bool>("invalid");
        QTest::newRow("viscosity at its limit 0,01") << QStringLiteral("0,01") << false << false;
        QTest::newRow("viscosity above its limit 0.0101")
            << QStringLiteral("0.0101") << false << true;
        QTest::newRow("letters read as 0") << QStringLiteral("abc") << false << true;
        QTest::newRow("empty answer stores 0") << QString() << false << true;
        // Backing out of a correction keeps the value there.
        QTest::newRow("Cancel keeps the value") << QString() << true << false;
    }
    void correctionColoursTheEndButton() {
        QFETCH(QString, answer);
        QFETCH(bool, cancelled);
        QFETCH(bool, invalid);
        ScriptedDialogs dialogs;
        Form3& form = reviewedCooler(dialogs);
        press(form.Command2);

        const QString stored = cancelled          ? validTexts()[8]
                               : answer.isEmpty() ? QStringLiteral("0")
                                                  : QString(answer).replace(u',', u'.');
        if (cancelled)
            dialogs.expectCancelledInput(coolerParameterName(9), inputTitle, 4000, 195 * 9 + 1875);
        else
            dialogs.expectInput(coolerParameterName(9), inputTitle, 4000, 195 * 9 + 1875, answer);
        clickLine(form.List1, 9);
        QVERIFY(dialogs.verifyDone());
        const DesignCase& dc = designCase();
        QCOMPARE(dc.valueTexts[9], stored);
        QCOMPARE(dc.initialDataInvalid, invalid);
        QStringList texts = validTexts();
        texts[8] = stored;
        QCOMPARE(form.List1->item(9)->text(),
                 expectedParameterLines(ExchangerType::Cooler, texts)[8]);
        QCOMPARE(form.List1->count(), 15);
        QCOMPARE(form.List1->currentRow(), 9); // the corrected line stays marked
        QVERIFY(form.Command3->isVisible());
        QCOMPARE(buttonColor(form.Command3), invalid ? red : green);
        QVERIFY(!(form.List1->focusPolicy() & Qt::TabFocus));

        press(form.Command3);
        QCOMPARE(form.caption(), checkCaption);
        if (!invalid) {
            QCOMPARE(dialogs.beepCount(), 0);
            QVERIFY(!isLoaded<Form4>());
            return;
        }
        QVERIFY(!form.Command3->isVisible());
        QCOMPARE(dialogs.beepCount(), 1);
        checkErrorDisplay(form, ExchangerType::Cooler, texts, 9);
        QVERIFY(screen<Form4>().isVisible());
    }

    void correctionScreenSetUp() {
        DesignCase& dc = designCase();
        fillParameterNames(dc);
        dc.exchangerType = ExchangerType::Condenser;
        storeTexts(validTexts());
        openInitialDataCorrection();

        Form11& form = screen<Form11>();
        QVERIFY(form.isVisible());
        QCOMPARE(form.caption(), QStringLiteral("Изменение исходной информации"));
        QCOMPARE(form.Label1->text(), QStringLiteral("Исходная информация"));
        QCOMPARE(form.Command1->text(), QStringLiteral("НЕ ИЗМЕНЯЕТЕ  ИСХОДНУЮ ИНФОРМАЦИЮ"));
        QCOMPARE(form.backgroundColor(), QColor(255, 255, 0));

        QStringList expected{constructionParameterName(16) + QStringLiteral(" Конденсатор")};
        expected += expectedParameterLines(ExchangerType::Condenser, validTexts());
        QCOMPARE(listLines(form.List1), expected);
        QVERIFY(closeTo(dc.values[4], 0.001));
        QVERIFY(closeTo(dc.values[13], 300000));

        QVERIFY(form.List1->isVisible());
        QVERIFY(form.List1->isEnabled());
        QVERIFY(form.Label1->isVisible());
        QVERIFY(form.Label3->isVisible());
        checkVisible({form.Command1, form.Command2, form.Command3, form.Command4, form.Command5,
                      form.Label2, form.Label4},
                     false);

        QCOMPARE(form.List1->geometry(), QRect(twipsToPixels(1000), twipsToPixels(1200),
                                               twipsToPixels(10000), twipsToPixels(3000)));
        QCOMPARE(form.Command1->y(), twipsToPixels(1200 + 3000 + 200));
        QCOMPARE(form.Command2->y(), twipsToPixels(1200 + 3000 + 200 + 375 + 200));
        // The type buttons share the width 14000: gap = 14000/3 - 2775/3 - 2655/3.
        QCOMPARE(form.Command4->x(), twipsToPixels(2857));
        // Command5 follows Command4 at 2857 plus the gap, converted to pixels once.
        QCOMPARE(form.Command5->x(), twipsToPixels(2775 + 2857 + 2857));
    }

    void correctionScreenLineAndEnd_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("invalid");
        QTest::newRow("density 2.5 passes") << QStringLiteral("2,5") << false;
        QTest::newRow("density 2 fails") << QStringLiteral("2") << true;
    }
    void correctionScreenLineAndEnd() {
        QFETCH(QString, answer);
        QFETCH(bool, invalid);
        ScriptedDialogs dialogs;
        DesignCase& dc = designCase();
        fillParameterNames(dc);
        dc.exchangerType = ExchangerType::Cooler;
        storeTexts(validTexts());
        openInitialDataCorrection();
        Form11& form = screen<Form11>();

        // After a type choice the keep/change buttons are there; a line click hides them.
        clickLine(form.List1, 0);
        QCOMPARE(form.focusWidget(), form.Command5);
        press(form.Command4);
        QVERIFY(form.Command1->isVisible());
        QVERIFY(form.Command2->isVisible());
        QCOMPARE(buttonColor(form.Command1), green);

        dialogs.expectInput(coolerParameterName(3), inputTitle, 4000, 195 * 3 + 1875, answer);
        clickLine(form.List1, 3);
        QVERIFY(dialogs.verifyDone());
        QVERIFY(!form.Command1->isVisible());
        QVERIFY(!form.Command2->isVisible());
        QVERIFY(form.Command3->isVisible());
        QCOMPARE(buttonColor(form.Command3), invalid ? red : green);

        press(form.Command3);
        if (!invalid) {
            QVERIFY(!isLoaded<Form11>());
            QCOMPARE(dialogs.beepCount(), 0);
            QVERIFY(!isLoaded<Form12>());
            return;
        }
        QStringList texts = validTexts();
        texts[2] = answer;
        QCOMPARE(dialogs.beepCount(), 1);
        checkErrorDisplay(form, ExchangerType::Cooler, texts, 3);
        QVERIFY(!isLoaded<Form4>());
        Form12& dialog = screen<Form12>();
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.y(), twipsToPixels(5000));
        QCOMPARE(dialog.focusWidget(), dialog.Command2);

        press(dialog.Command2);
        QVERIFY(programEnded());
        QVERIFY(loadedScreens().isEmpty());
    }

    void correctionScreenKeepFailureAndYes() {
        ScriptedDialogs dialogs;
        DesignCase& dc = designCase();
        fillParameterNames(dc);
        dc.exchangerType = ExchangerType::Cooler;
        QStringList texts = validTexts();
        texts[0] = QStringLiteral("1500.0001");
        storeTexts(texts);
        checkInitialData(dc);
        openInitialDataCorrection();
        Form11& form = screen<Form11>();
        clickLine(form.List1, 0);
        press(form.Command5);

        // Keep with data out of range: the keep/change buttons stay during the display,
        // and "change" does not bring the list back over the printed lines.
        press(form.Command1);
        QCOMPARE(dialogs.beepCount(), 1);
        checkErrorDisplay(form, ExchangerType::Condenser, texts, 1);
        QVERIFY(form.Command1->isVisible());
        press(form.Command2);
        QVERIFY(!form.List1->isVisible());
        // A second keep shows the same display once more, not a second copy.
        press(form.Command1);
        QCOMPARE(dialogs.beepCount(), 2);
        QCOMPARE(form.printedTexts().size(), 14);

        Form12& dialog = screen<Form12>();
        press(dialog.Command1);
        QCOMPARE(loadedScreens(), QList<Screen*>{&form});
        QCOMPARE(form.surfaceItemCount(), 0);
        QVERIFY(form.List1->isVisible());
        QVERIFY(form.Label3->isVisible());
        checkVisible({form.Label2, form.Command1, form.Command2, form.Command3}, false);
        QVERIFY(dialogs.verifyDone());
    }

    void errorDisplayPixels() {
        ScriptedDialogs dialogs;
        QStringList answers = validAnswers();
        answers[3] = QStringLiteral("0,02");
        Form3& form = reviewedCooler(dialogs, answers);
        const QImage image = form.grab().toImage();
        QCOMPARE(image.size(), QSize(twipsToPixels(14000), twipsToPixels(8000)));

        // Background: yellow in a corner away from every control.
        QCOMPARE(image.pixelColor(image.width() - 5, image.height() - 5), QColor(255, 255, 0));

        // The marked line: green ground with red text over the printed copy of line 4.
        const QRect marked = form.Label2->geometry();
        int redPixels = 0;
        int greenPixels = 0;
        for (int y = marked.top(); y <= marked.bottom(); ++y) {
            for (int x = marked.left(); x <= marked.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c == green)
                    ++greenPixels;
                else if (c.red() > 200 && c.green() < 80 && c.blue() < 80)
                    ++redPixels;
            }
        }
        QVERIFY2(greenPixels > marked.width() * marked.height() / 2,
                 qPrintable(QString::number(greenPixels)));
        QVERIFY2(redPixels > 50, qPrintable(QString::number(redPixels)));

        // An unmarked printed line is dark text on the yellow ground.
        const int y3 = twipsToPixels(195 * 3 + 1210);
        int darkPixels = 0;
        for (int y = y3; y < y3 + 12; ++y) {
            for (int x = twipsToPixels(530); x < twipsToPixels(530) + 200; ++x) {
                if (image.pixelColor(x, y).lightness() < 100)
                    ++darkPixels;
            }
        }
        QVERIFY(darkPixels > 50);
    }
};

QTEST_MAIN(InitialDataScreenTest)
#include "initial_data_screen_test.moc"
