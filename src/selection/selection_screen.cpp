#include "selection/selection_screen.h"

#include "arrangement/arrangement_screen.h"
#include "calculation/plate_catalogue.h"
#include "core/design_case.h"
#include "platform/colours.h"
#include "platform/controls.h"
#include "platform/fonts.h"
#include "platform/screens.h"

#include <QLabel>
#include <QPushButton>

namespace orven {

namespace {

using namespace colours;
const QColor screenText(0, 0, 192);
const QColor paleYellow(255, 255, 128);
const QColor pink(255, 192, 255);

constexpr int screenWidth = 12570;
constexpr int screenHeight = 9600;
constexpr int label1Width = 5655;
constexpr int label1Height = 375;
constexpr int label2Width = 8295;
constexpr int label2Height = 1095;
constexpr int smallNozzleWidth = 735; // buttons of the 0.2 and 0.3 m2 plates
constexpr int largeNozzleWidth = 855; // buttons of the 0.5 m2 plate
constexpr int nozzleHeight = 300;
constexpr int letterWidth = 1695;
constexpr int letterHeight = 495;
constexpr int letterLeft = 8650;

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption,
                        const QFont& font) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setFont(font);
    setButtonColor(button, green);
    return button;
}

// One line of the table's text, at its own position; y is an offset from the table top.
struct TableText {
    int x;
    int y;
    const char* text;
};

const TableText tableTexts[] = {
    {600, 450, "    Конструктивные"},
    {600, 700, "    характеристики "},
    {5550, 400, " Площадь пластины, м^2"},
    {4500, 800, "0.2              0.3               0.5"},
    {600, 1200, " Габариты пластины, мм"},
    {1500, 1400, "длина                 650              1370              1370"},
    {1500, 1600, "ширина                650               300               500"},
    {1500, 1800, "толщина               1.2               1.0               1.0"},
    {600, 2050, " Эквивалентный диаметр"},
    {600, 2250, " канала, м"},
    {1500, 2150, "                     0.0076            0.008             0.008"},
    {600, 2500, " Поперечное сечение"},
    {600, 2700, " канала, м^2"},
    {1500, 2950, "                     0.0016           0.0011            0.00262"},
    {600, 3050, " Приведенная длина"},
    {600, 3250, " канала, м"},
    {1500, 3150, "                      0.45             1.12              1.15"},
    {600, 3750, " Диаметр условного"},
    {600, 3950, " прохода штуцеров"},
    {750, 4150, "(в мм.) для"},
    {750, 4350, "исполнений"},
    {1550, 4700, " I"},
    {1500, 4950, " II                     -"},
    {1410, 5200, " III                     -                -"},
};

// The grid: the first column X 500..3700 holds the row headings, the plate
// columns are 3700..6000, 6000..8300 and 8300..10700; the header row 350..1100
// is split at 750 under the plate area. Y values are offsets from the table top.
struct GridLine {
    int x1;
    int y1;
    int x2;
    int y2;
};

const GridLine gridLines[] = {
    {500, 350, 10700, 350},  {500, 1100, 10700, 1100},  {500, 5700, 10700, 5700},
    {500, 350, 500, 5700},   {10700, 350, 10700, 5700}, {3700, 350, 3700, 5700},
    {6000, 750, 6000, 5700}, {8300, 750, 8300, 5700},   {3700, 750, 10700, 750},
};

void drawTable(Form5& form, int tableTop) {
    QFont font = fixedPitchFont(12, true);
    font.setUnderline(true);
    form.setSurfaceFont(font);
    form.setCurrentPosition(1500, tableTop - 150);
    form.print(QStringLiteral("Конструктивные характеристики пластинчатых теплообменников"));

    form.fillRect(QRect(QPoint(400, tableTop + 250), QPoint(10800, tableTop + 5800)), pink);

    font.setUnderline(false);
    font.setPointSizeF(10);
    form.setSurfaceFont(font);
    for (const TableText& line : tableTexts) {
        form.setCurrentPosition(line.x, tableTop + line.y);
        form.print(QString::fromUtf8(line.text));
    }

    setTopTwips(form.Command3, tableTop + 4600);
    setLeftTwips(form.Command3, 4500);
    setTopTwips(form.Command4, tableTop + 4600);
    setLeftTwips(form.Command4, 6800);
    setTopTwips(form.Command5, tableTop + 4900);
    setLeftTwips(form.Command5, 6800);
    // The letter buttons stand one above the other in the 0.5 m2 column.
    setTopTwips(form.Command9, tableTop + 4500);
    setTopTwips(form.Command10, tableTop + 4500 + heightTwips(form.Command9) + 100);
    setTopTwips(form.Command6, tableTop + 4600);
    setLeftTwips(form.Command6, 9150);
    setTopTwips(form.Command7, tableTop + 4900);
    setLeftTwips(form.Command7, 9150);
    setTopTwips(form.Command8, tableTop + 5200);
    setLeftTwips(form.Command8, 9150);

    for (const GridLine& line : gridLines)
        form.drawLine(line.x1, tableTop + line.y1, line.x2, tableTop + line.y2, red);

    // The type caption goes below the table, in the middle of the free band
    // between the table's bottom and the instruction box, where nothing covers
    // it (at its usual tableTop + 6695 it would stand under the instruction box).
    const int bandTop = tableTop + 5800;
    const int bandBottom = topTwips(form.Label2);
    form.setLabel1Top(bandTop + (bandBottom - bandTop - heightTwips(form.Label1)) / 2);
}

} // namespace

Form5::Form5() {
    setObjectName(QStringLiteral("Form5"));
    setFont(fixedPitchFont(12));
    setBackgroundColor(yellow);
    setForeColor(screenText);
    resizeTwips(screenWidth, screenHeight);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setFont(namedFont(QStringLiteral("MS Sans Serif"), 8.25, true));
    setControlBackgroundColor(Label1, yellow);
    setControlTextColor(Label1, screenText);
    placeTwips(Label1, 0, 500, label1Width, label1Height);

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label2->setWordWrap(true);
    Label2->setFont(namedFont(QStringLiteral("Courier New"), 14.25, true));
    setControlBackgroundColor(Label2, magenta);
    setControlTextColor(Label2, paleYellow);
    placeTwips(Label2, 0, 7700, label2Width, label2Height);

    const QFont nozzleFont = fixedPitchFont(9.75, true);
    Command3 = makeButton(this, "Command3", QStringLiteral("100"), nozzleFont);
    Command4 = makeButton(this, "Command4", QStringLiteral("50"), nozzleFont);
    Command5 = makeButton(this, "Command5", QStringLiteral("65"), nozzleFont);
    Command6 = makeButton(this, "Command6", QStringLiteral("100"), nozzleFont);
    Command7 = makeButton(this, "Command7", QStringLiteral("150"), nozzleFont);
    Command8 = makeButton(this, "Command8", QStringLiteral("200"), nozzleFont);
    for (QPushButton* button : {Command3, Command4, Command5})
        placeTwips(button, 0, 0, smallNozzleWidth, nozzleHeight);
    for (QPushButton* button : {Command6, Command7, Command8})
        placeTwips(button, 0, 0, largeNozzleWidth, nozzleHeight);

    Command9 = makeButton(this, "Command9", QString(),
                          namedFont(QStringLiteral("Times New Roman"), 9.75, true));
    Command10 = makeButton(this, "Command10", QString(),
                           namedFont(QStringLiteral("Times New Roman"), 9, true));
    placeTwips(Command9, letterLeft, 0, letterWidth, letterHeight);
    placeTwips(Command10, letterLeft, 0, letterWidth, letterHeight);

    const std::pair<QPushButton*, int> nozzleButtons[] = {
        {Command3, 3}, {Command4, 4}, {Command5, 5}, {Command6, 6}, {Command7, 7}, {Command8, 8}};
    for (const auto& [button, number] : nozzleButtons)
        connect(button, &QPushButton::clicked, this, [this, n = number] { choosePlate(n); });
    connect(Command9, &QPushButton::clicked, this, [this] { chooseLetter(9); });
    connect(Command10, &QPushButton::clicked, this, [this] { chooseLetter(10); });
}

void Form5::load() {
    moveTwips(100, 100);
    resizeTwips(screenWidth, screenHeight);
    setCaption(QStringLiteral("Выбор конструктивных параметров теплообменника"));
    setLabel1Top(500);
    setLeftTwips(Label1, (screenWidth - label1Width) / 2);
    for (QPushButton* button : {Command3, Command4, Command5, Command6, Command7, Command8})
        setHeightTwips(button, nozzleHeight);
    setLeftTwips(Label2, (screenWidth - label2Width) / 2);
    setTopTwips(Label2, 7700);
}

void Form5::setLabel1Top(int twips) {
    m_label1Top = twips;
    setTopTwips(Label1, twips);
}

void Form5::choosePlate(int button) {
    const StandardChoice* choice = standardChoiceOfButton(button);
    if (choice == nullptr)
        return;
    storeStandardChoice(designCase(), *choice);
    if (choice->plateType)
        finishSelection();
    else
        showLetterStep(choice->executionLine);
}

void Form5::showLetterStep(const QString& executionLine) {
    Command9->show();
    Command10->show();
    for (QPushButton* button : {Command3, Command4, Command5})
        button->setEnabled(false);
    for (QPushButton* button : {Command6, Command7, Command8})
        button->hide();
    setLeftTwips(Command9, letterLeft);
    setLeftTwips(Command10, letterLeft);
    Command9->setText(QStringLiteral("Литера \"Г\""));
    Command10->setText(QStringLiteral("Литера \"Е\""));
    setCaptionText(Label2,
                   QStringLiteral("\rУкажите литеру для теплообменника \r") + executionLine);
}

void Form5::chooseLetter(int button) {
    const PlateLetterChoice* letter = plateLetterOfButton(button);
    if (letter == nullptr)
        return;
    storePlateLetter(designCase(), *letter);
    finishSelection();
}

void Form5::finishSelection() {
    hide();
    unloadScreen(*this);
    closeOtherScreens();
    arrangePlates();
}

void openExchangerSelection() {
    DesignCase& data = designCase();
    for (int slot = 1; slot <= initialDataCount; ++slot)
        data.workingInitialData[slot] = data.values[slot];

    // Whichever screen led here (the initial-data screen, its correction
    // variant or the results screen) is unloaded, and so is a selection screen
    // left from before, so that Form5 is loaded afresh with its fixed layout.
    for (Screen* loaded : loadedScreens())
        unloadScreen(*loaded);
    closeOtherScreens();
    Form5& form = screen<Form5>();
    form.show();

    for (QPushButton* button :
         {form.Command3, form.Command4, form.Command5, form.Command6, form.Command7, form.Command8})
        button->show();
    form.Command9->hide();
    form.Command10->hide();

    form.Label2->show();
    setCaptionText(form.Label2,
                   QStringLiteral("По площади пластины и диаметру условного прохода штуцера\r"
                                  "выберите необходимый Вам теплообменник"));
    setCaptionText(form.Label1, showsAsCondenser(data.exchangerType)
                                    ? QStringLiteral("  ТИП ТЕПЛООБМЕННИКА  - КОНДЕНСАТОР")
                                    : QStringLiteral("   ТИП ТЕПЛООБМЕННИКА - ХОЛОДИЛЬНИК"));

    const int tableTop = form.label1Top() + heightTwips(form.Label1) + 200;
    drawTable(form, tableTop);
}

} // namespace orven
