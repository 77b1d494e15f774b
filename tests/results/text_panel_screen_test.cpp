// The two text screens, the program description (Form2) and the selection
// advice (Form10): their exact texts, the panel with its shadow, and the way
// back from the advice.

#include "core/design_case.h"
#include "platform/controls.h"
#include "platform/program_end.h"
#include "platform/screens.h"
#include "platform/twips.h"
#include "results/advice_screen.h"
#include "results/description_screen.h"
#include "support/test_support.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace orven;

namespace {

// A line with its leading blanks counted out, as the texts are laid out.
QString indented(int count, const char* text) {
    return QString(count, QLatin1Char(' ')) + QString::fromUtf8(text);
}

QStringList descriptionText() {
    return {
        QString(),
        indented(26, "ПРОГРАММА РАСЧЁТА ПЛАСТИНЧАТЫХ ТЕПЛООБМЕННИКОВ"),
        QString(),
        indented(11, "Пластинчатые теплообменники могут использоваться в качестве холодильников и"),
        indented(11,
                 "конденсаторов. В конденсаторах однопакетная компоновка пластин по ходу пара."),
        QString(),
        indented(38, "МЕТОДИКА РАСЧЁТА:"),
        QString(),
        indented(5, "1. По ориентировочному значению коэффициента теплопередачи выполняется при-"),
        indented(8, "ближённый расчёт поверхности теплообмена."),
        indented(5, "2. По ГОСТам выбирается возможный вариант теплообменника, соответствующий"),
        indented(8, "ориентировочной поверхности. При этом выбирается тип пластин, их число и"),
        indented(8, "компоновка Рекомендуется первоначально выбирать самую простую компоновку,"),
        indented(8, "однопакетную для обоих потоков."),
        indented(5, "3. Производится расчёт теплообменника, причём исходная информация должна"),
        indented(8, "быть задана в системе ") + QChar(u'"') + QStringLiteral("СИ") + QChar(u'"') +
            QChar(u'.'),
        indented(5, "4. Анализируются результаты расчёта и при необходимости делается целенапра-"),
        indented(8, "вленное изменение параметров (числа пластин,их типа и компоновки)."),
        indented(5, "5. Производится повторный расчёт."),
        indented(5, "Целью расчёта является подбор по ГОСТам варианта теплообменника, ближайшего"),
        indented(5, "по поверхности теплообмена и необходимой по расчёту."),
    };
}

QStringList adviceText() {
    return {
        QString(),
        indented(9, "В случае, если выбранный Вами теплообменник не подходит для"),
        indented(9, "Вашего потока, Вы можете сделать следующее:"),
        QString(),
        indented(5, "1.  Изменить компоновку пластин. Для этого надо изменить число"),
        indented(9, "пакетов для теплоносителей. (Число пакетов - это то число,"),
        indented(9, "на которое делится число пластин (каналов). Например, если"),
        indented(9, "число каналов в теплообменнике 122, а число пакетов равно 3,"),
        indented(9, "то число каналов в пакете будет 40, 41, 41.)"),
        indented(9, "Помните, что для пара число пакетов равно 1, независимо от"),
        indented(9, "Вашего желания. Изменение компоновки пластин иногда может"),
        indented(9, "привести к тому, что Ваш теплообменник обеспечит нужную Вам"),
        indented(9, "поверхность теплопередачи."),
        QString(),
        indented(5, "2.  Если изменение компоновки ни к чему не привело, или Вы не"),
        indented(9, "хотите изменять компоновку, то Вам придется выбрать другой"),
        indented(9, "теплообменник"),
    };
}

// Stands in for the results screen, which is hidden while the advice is open.
class HiddenResults : public Screen {};

enum class Which { Description, Advice };

} // namespace

Q_DECLARE_METATYPE(Which)

namespace {

TextPanelScreen& load(Which which) {
    if (which == Which::Description)
        return screen<Form2>();
    return screen<Form10>();
}

QRect pixelRect(int left, int top, int width, int height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

void addScreenRows() {
    QTest::addColumn<Which>("which");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("longest");
    QTest::addColumn<int>("formWidth");
    QTest::addColumn<int>("panelWidth");
    QTest::addColumn<QColor>("textColour");
    QTest::addColumn<QRect>("button");
    QTest::newRow("description") << Which::Description << descriptionText() << 87 << 12000 << 10000
                                 << QColor(0, 0, 192) << QRect(3360, 6240, 4095, 375);
    QTest::newRow("advice") << Which::Advice << adviceText() << 69 << 10000 << 8000
                            << QColor(0, 0, 128) << QRect(2400, 6480, 4095, 375);
}

} // namespace

class TextPanelScreenTest : public QObject {
    Q_OBJECT

private slots:
    void init() { test::startFreshRun(); }

    void cleanup() { test::clearScreens(); }

    void textIsExact_data() { addScreenRows(); }
    void textIsExact() {
        QFETCH(Which, which);
        QFETCH(QStringList, lines);
        QFETCH(int, longest);
        const QLabel* label = load(which).Label1;
        QCOMPARE(label->text().split(QLatin1Char('\n')), lines);
        int widest = 0;
        for (const QString& line : lines)
            widest = qMax(widest, int(line.size()));
        QCOMPARE(widest, longest);
    }

    void textFitsThePanelWithoutWrapping_data() { addScreenRows(); }
    void textFitsThePanelWithoutWrapping() {
        QFETCH(Which, which);
        QFETCH(QStringList, lines);
        const QLabel* label = load(which).Label1;
        QVERIFY(!label->wordWrap());
        QVERIFY(label->font().fixedPitch());
        const QFontMetrics metrics(label->font());
        for (const QString& line : lines)
            QVERIFY2(metrics.horizontalAdvance(line) <= label->width(), qPrintable(line));
        QVERIFY(metrics.lineSpacing() * lines.size() <= label->height());
    }

    void layout_data() { addScreenRows(); }
    void layout() {
        QFETCH(Which, which);
        QFETCH(int, formWidth);
        QFETCH(int, panelWidth);
        QFETCH(QColor, textColour);
        QFETCH(QRect, button);
        TextPanelScreen& form = load(which);
        const int left = (formWidth - panelWidth) / 2;
        QCOMPARE(left, 1000);
        QCOMPARE(form.width(), twipsToPixels(formWidth));
        QCOMPARE(form.Label1->geometry(), pixelRect(left, 480, panelWidth, 5200));
        QCOMPARE(form.Label2->geometry(), pixelRect(left + panelWidth, 530, 100, 5200));
        QCOMPARE(form.Label3->geometry(), pixelRect(left + 50, 5680, panelWidth + 60, 100));
        QCOMPARE(form.Command1->geometry(),
                 pixelRect(button.x(), button.y(), button.width(), button.height()));
        QCOMPARE(form.Command1->text(), QStringLiteral("ПРОДОЛЖЕНИЕ РАБОТЫ"));
        QCOMPARE(buttonColor(form.Command1), QColor(0, 255, 0));
        QVERIFY(form.Command1->font().bold());
        QCOMPARE(form.Label1->palette().color(QPalette::WindowText), textColour);
        QVERIFY(form.Label1->alignment() & Qt::AlignLeft);
        QVERIFY(form.Label2->text().isEmpty());
        QVERIFY(form.Label3->text().isEmpty());
    }

    void panelAndShadowAreDrawn_data() { addScreenRows(); }
    void panelAndShadowAreDrawn() {
        QFETCH(Which, which);
        TextPanelScreen& form = load(which);
        const QImage image = form.grab().toImage();
        const QColor yellow(255, 255, 0);
        const QColor cyan(0, 255, 255);
        const QColor orange(255, 128, 0);
        // The first line of the panel is empty, so its top left corner is bare.
        QCOMPARE(image.pixelColor(form.Label1->geometry().topLeft() + QPoint(3, 3)), cyan);
        QCOMPARE(image.pixelColor(form.Label1->geometry().bottomLeft() + QPoint(3, -3)), cyan);
        QCOMPARE(image.pixelColor(form.Label2->geometry().center()), orange);
        QCOMPARE(image.pixelColor(form.Label3->geometry().center()), orange);
        // The shadow is offset: the corner left of the bottom strip stays yellow.
        QCOMPARE(image.pixelColor(form.Label1->geometry().left() + 1,
                                  form.Label3->geometry().center().y()),
                 yellow);
        QCOMPARE(image.pixelColor(5, 5), yellow);
        int textPixels = 0;
        const QRect textArea = form.Label1->geometry().adjusted(0, 0, 0, -5);
        for (int y = textArea.top(); y <= textArea.bottom(); ++y) {
            for (int x = textArea.left(); x <= textArea.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                textPixels += c.blue() < 230 && c.green() < 100;
            }
        }
        QVERIFY(textPixels > 1000);
    }

    void descriptionHasAWindowTitle() {
        QCOMPARE(screen<Form2>().caption(), QStringLiteral("Описание программы"));
    }

    void adviceIsPlacedAndNamed() {
        Form10& advice = screen<Form10>();
        QCOMPARE(advice.caption(), QStringLiteral("Пояснение к подбору"));
        QCOMPARE(advice.pos(), QPoint(twipsToPixels(100), twipsToPixels(100)));
    }

    void adviceReturnsToTheHiddenResults() {
        Screen& results = screen<HiddenResults>();
        results.hide();
        showSelectionAdvice();
        QPointer<Form10> advice = findLoadedScreen<Form10>();
        QVERIFY(advice);
        QVERIFY(advice->isVisible());
        QCOMPARE(loadedScreens(), (QList<Screen*>{&results, advice.data()}));
        const QString text = advice->Label1->text();
        const QRect panel = advice->Label1->geometry();

        QVERIFY(advice->Command1->isVisible());
        QTest::mouseClick(advice->Command1, Qt::LeftButton);
        QVERIFY(!isLoaded<Form10>());
        QCOMPARE(loadedScreens(), QList<Screen*>{&results});
        deleteUnloadedScreens();
        QVERIFY(advice.isNull());
        QVERIFY(!programEnded());

        // Opening it again loads a fresh advice with the same text and layout.
        showSelectionAdvice();
        Form10& again = screen<Form10>();
        QVERIFY(again.isVisible());
        QCOMPARE(again.Label1->text(), text);
        QCOMPARE(again.Label1->geometry(), panel);
    }
};

QTEST_MAIN(TextPanelScreenTest)
#include "text_panel_screen_test.moc"
