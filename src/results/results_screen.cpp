#include "results/results_screen.h"

#include "calculation/calculation.h"
#include "core/design_case.h"
#include "core/text_format.h"
#include "platform/colours.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/fonts.h"
#include "platform/program_end.h"
#include "platform/report_place.h"
#include "platform/screen_flow.h"
#include "platform/screens.h"
#include "platform/twips.h"
#include "results/advice_screen.h"
#include "results/report_progress.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace orven {

namespace {

const QString resultsCaption = QStringLiteral("Результаты расчета");

using namespace colours;
const QColor normalText(0, 0, 255);

// The screen is laid out on this outer width at load, buttons centred on it.
constexpr int loadWidth = 14000;
constexpr int buttonWidth = 5055;
constexpr int buttonHeight = 495;

// Left margin of the result lines and of the warnings.
constexpr int resultX = 800;
// Gap between the groups of lines.
constexpr int groupGap = 200;
constexpr int resultWidth = 15;
constexpr int packCellWidth = 5;
// Highest channel slot; pack counts are held to it when the cells are read.
constexpr int lastPackSlot = decltype(PlateArrangement::coldChannels)::last;

// V(x): two decimals right-aligned in 15 characters.
QString resultValue(double value) {
    return formatFixed(value, resultWidth, 2);
}

// C(v): a whole number centred in 5 characters and closed with "|".
QString packCell(int value) {
    QString text = QString::number(value);
    return centreInField(text, packCellWidth);
}

int displayWidthTwips() {
    const QScreen* display = QGuiApplication::primaryScreen();
    return display ? pixelsToTwips(display->geometry().width()) : 0;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, int top,
                        const QColor& color) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setFont(namedFont(QStringLiteral("Times New Roman"), 12, true));
    setButtonColor(button, color);
    placeTwips(button, 0, top, buttonWidth, buttonHeight);
    return button;
}

void printLine8(Screen& form, const QString& text) {
    form.setCurrentX(0);
    form.print(blanks(8) + text);
}

// The grey description of the chosen exchanger and of both pack tables.
void printExchangerHeader(Screen& form, const DesignCase& c) {
    const PlateArrangement& a = c.plateArrangement;
    printLine8(form, showsAsCondenser(c.exchangerType)
                         ? QStringLiteral("   Тип теплообменника  - Конденсатор")
                         : QStringLiteral("   Тип теплообменника - Холодильник"));
    for (const int slot : {17, 21}) {
        printLine8(form, QStringLiteral("  ") + c.constructionParameterNames[slot] + blanks(7) +
                             c.valueTexts[slot]);
    }

    // A fractional cold pack count shows its whole packs only (2.5: packs 1 and 2).
    QString coldNumbers = QStringLiteral("   Номер пакета  ");
    QString coldCounts = QStringLiteral("   Число каналов ");
    for (int pack = 1; pack <= lastPackSlot && pack <= a.coldPackCount; ++pack) {
        coldNumbers += packCell(pack);
        coldCounts += packCell(a.coldChannels[pack]);
    }
    printLine8(form,
               QStringLiteral("   Число каналов в пакете для холодного теплоносителя (шт.)  ") +
                   generalNumberText(a.coldPackCount));
    printLine8(form, coldNumbers);
    printLine8(form, coldCounts);

    QString hotNumbers = QStringLiteral("   Номер пакета  ");
    QString hotCounts = QStringLiteral("   Число каналов ");
    const int hotPacks = std::min<int>(a.hotPackCount, lastPackSlot);
    for (int pack = 1; pack <= hotPacks; ++pack) {
        hotNumbers += packCell(pack);
        hotCounts += packCell(a.hotChannels[pack]);
    }
    printLine8(form,
               QStringLiteral("   Число каналов в пакете для горячего теплоносителя (шт.)  ") +
                   generalNumberText(a.hotPackCount));
    printLine8(form, hotNumbers);
    printLine8(form, hotCounts);
}

void printAt(Screen& form, int x, const QString& text) {
    form.setCurrentX(x);
    form.print(text);
}

void printResult(Screen& form, const QString& label, double value) {
    printAt(form, resultX, label + resultValue(value));
}

// Three warnings (with the margin line) run down to the first button: the
// column of buttons then moves down just below the text, and the screen grows
// by as much. With less text every position stays as designed.
void keepButtonsBelowText(Form9& form) {
    const int textBottom = form.currentY();
    const int firstButtonTop = topTwips(form.Command2);
    if (textBottom <= firstButtonTop) {
        return;
    }
    const int shift = textBottom - firstButtonTop + groupGap / 2;
    for (QPushButton* button :
         {form.Command1, form.Command2, form.Command3, form.Command4, form.Command5}) {
        setTopTwips(button, topTwips(button) + shift);
    }
    form.setHeightTwips(form.heightTwips() + shift);
}

// The results of a completed calculation and its warnings.
void printCalculationResults(Form9& form, const DesignCase& c) {
    const CalculationResults& r = c.calculationResults;
    const QList<ResultWarning> warnings = resultWarnings(c);
    const QColor remembered = form.foreColor();

    form.Command2->show();
    form.Command5->show();
    form.Label1->hide();

    form.setCurrentPosition(3000, form.currentY() + groupGap);
    form.print(QStringLiteral("РЕЗУЛЬТАТЫ  РАСЧЕТА"));
    printResult(form,
                QStringLiteral("Reynolds\" критерий (для горячего теплоносителя)") + blanks(21),
                r.hotReynolds);
    printResult(form,
                QStringLiteral("Reynolds\" критерий (для холодного теплоносителя)") + blanks(20),
                r.coldReynolds);
    if (warnings.contains(ResultWarning::FormulaAccuracy)) {
        form.setForeColor(red);
        for (const QString& line : warningMessages(ResultWarning::FormulaAccuracy)) {
            printAt(form, resultX, line);
        }
        form.setForeColor(remembered);
    }

    printResult(
        form,
        QStringLiteral("Коэффициент теплоотдачи от горячего теплоносителя (Вт/м^2*К)        "),
        r.hotFilmCoefficient);
    printResult(
        form, QStringLiteral("Коэффициент теплоотдачи к холодному теплоносителю (Вт/м^2*К)       "),
        r.coldFilmCoefficient);
    printResult(
        form,
        QStringLiteral("Коэффициент теплопередачи (Вт/м^2*К)                                "),
        r.overallCoefficient);
    // A condenser has no hot-side pressure drop (the field may still hold an
    // earlier cooler's value).
    if (c.exchangerType == ExchangerType::Cooler) {
        printResult(
            form,
            QStringLiteral("Гидравлическое сопротивление для горячего теплоносителя (Па)        "),
            r.hotPressureDrop);
    }
    printResult(
        form,
        QStringLiteral("Гидравлическое сопротивление для холодного теплоносителя (Па)       "),
        r.coldPressureDrop);

    form.setForeColor(magenta);
    printResult(
        form,
        QStringLiteral("Расчетная поверхность теплопередачи (м^2)                           "),
        r.requiredSurface);
    printResult(
        form,
        QStringLiteral("Геометрическая площадь поверхности теплопередачи (м^2)              "),
        r.geometricSurface);
    if (r.surfaceMargin >= 0) {
        printResult(
            form,
            QStringLiteral("Запас поверхности теплопередачи (%)                                 "),
            r.surfaceMargin);
    }
    form.setForeColor(remembered);
    form.setCurrentY(form.currentY() + groupGap);

    // Each of the remaining warnings is red with a beep; a second line of a
    // warning stands a little apart from its first.
    for (const ResultWarning warning : warnings) {
        if (warning == ResultWarning::FormulaAccuracy) {
            continue;
        }
        form.setForeColor(red);
        dialogs().beep();
        const QStringList lines = warningMessages(warning);
        for (int i = 0; i < lines.size(); ++i) {
            if (i > 0) {
                form.setCurrentY(form.currentY() + groupGap);
            }
            printAt(form, resultX, lines[i]);
        }
        form.setForeColor(remembered);
    }
    keepButtonsBelowText(form);
}

} // namespace

Form9::Form9() {
    setObjectName(QStringLiteral("Form9"));
    setCaption(resultsCaption);
    resizeTwips(11940, 9615);
    setBackgroundColor(QColor(255, 255, 0));
    setForeColor(normalText);
    setFont(namedFont(QStringLiteral("Courier"), 9.75, true));
    setSurfaceFont(namedFont(QStringLiteral("Courier"), 9.75, true));

    const QColor pink(255, 128, 128);
    Command1 =
        makeButton(this, "Command1", QStringLiteral("Окончание работы с программой"), 8280, pink);
    Command2 = makeButton(this, "Command2", QStringLiteral("Выбор другой компоновки пластин"), 5400,
                          green);
    Command3 =
        makeButton(this, "Command3", QStringLiteral("Изменение массива физсвойств"), 6120, green);
    Command4 = makeButton(this, "Command4", QStringLiteral("Печать результатов"), 6840, green);
    Command5 = makeButton(this, "Command5", QStringLiteral("Пояснение к подбору теплообменника"),
                          7560, green);
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Command3);
    setTabOrder(Command3, Command4);
    setTabOrder(Command4, Command5);

    Label1 = new QLabel(QStringLiteral("Label1"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    placeTwips(Label1, 4440, 840, 5295, 1695);

    connect(Command1, &QPushButton::clicked, this, &Form9::endWork);
    connect(Command2, &QPushButton::clicked, this, &Form9::chooseOtherArrangement);
    connect(Command3, &QPushButton::clicked, this, &Form9::changeInitialData);
    connect(Command4, &QPushButton::clicked, this, &Form9::printResultsBlock);
    connect(Command5, &QPushButton::clicked, this, &Form9::showAdvice);
}

void Form9::load() {
    setWidthTwips(loadWidth);
    moveTwips(displayWidthTwips() / 2 - loadWidth / 2, 100);
    for (QPushButton* button : {Command1, Command2, Command3, Command4, Command5}) {
        setLeftTwips(button, loadWidth / 2 - widthTwips(button) / 2);
    }
}

void Form9::endWork() {
    // A report still open is finished while this screen is up, so that where
    // it went can be told over it; endProgram() then finds it finished.
    if (designCase().reportOpen) {
        finishOpenReport();
        showUnnotifiedReportPlace();
        if (programEnded())
            return;
    }
    if (!designCase().reportOpen) {
        hide();
        unloadScreen(*this);
        closeOtherScreens();
    }
    endProgram();
}

void Form9::chooseOtherArrangement() {
    // The report stays open: the next print continues it.
    unloadScreen(*this);
    closeOtherScreens();
    goToScreen(ScreenStep::ExchangerSelection);
}

void Form9::changeInitialData() {
    hide();
    unloadScreen(*this);
    closeOtherScreens();
    // New initial data begin a new report: the one printed so far is released.
    DesignCase& c = designCase();
    finishActiveReport(c);
    resetReportProgress(c);
    goToScreen(ScreenStep::InitialDataCorrection);
    showUnnotifiedReportPlace();
}

void Form9::printResultsBlock() {
    // A button that is hidden (input error, a print under way) or disabled
    // takes no click; without a printer nothing is printed and the report
    // bookkeeping stays as it is.
    ReportPrinter* printer = reportPrinter();
    if (printer == nullptr || Command4->isHidden() || !Command4->isEnabled()) {
        return;
    }
    Command4->hide();
    Command4->setEnabled(false);
    printResults(designCase(), *printer);
    Command4->show();
    Command4->setEnabled(true);
}

void Form9::showAdvice() {
    // Form9 stays loaded with its text and print flags; the advice screen comes back here.
    hide();
    showSelectionAdvice();
}

// The arrangement screen belongs to the packs-and-channels dialogue; closing it
// and then every other screen leaves nothing loaded, which is what unloading
// all screens does in one step. The results screen is thus always loaded
// afresh, in its design state, for each calculation.
void showResults() {
    DesignCase& c = designCase();
    unloadAllScreens();

    c.resultsUnprinted = true;
    c.printRequestHandled = false;

    Form9& form = screen<Form9>();
    form.show();
    form.setCaption(resultsCaption);
    const QColor remembered = form.foreColor();
    form.setCurrentPosition(0, 200);
    form.setForeColor(grey);
    printExchangerHeader(form, c);
    form.setCurrentY(form.currentY() + groupGap);
    form.setForeColor(remembered);
    form.setCaption(resultsCaption);

    if (calculateExchanger(c) == CalculationStatus::InputError) {
        dialogs().beep();
        form.Label1->hide();
        form.Command4->hide();
        form.setForeColor(red);
        form.setCurrentPosition(4000, 3000);
        form.print(QStringLiteral("ОШИБКА В ИСХОДНОЙ ИНФОРМАЦИИ !"));
        form.setForeColor(remembered);
        return;
    }
    printCalculationResults(form, c);
}

void returnToResults() {
    // The text stays on the retained surface, so showing the screen is enough.
    // Without a loaded results screen there is nothing to return to.
    if (Form9* form = findLoadedScreen<Form9>()) {
        form->show();
        form->raise();
        form->activateWindow();
    }
}

void installReportFinisher() {
    setReportFinisher([] { finishActiveReport(designCase()); });
}

} // namespace orven
