#include "menu/main_menu_screen.h"

#include "calculation/calculation.h"
#include "core/design_case.h"
#include "core/proper_case.h"
#include "core/russian_layout.h"
#include "initial_data/initial_data_screen.h"
#include "initial_data/parameter_names.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/fonts.h"
#include "platform/keyboard_layout.h"
#include "platform/program_end.h"
#include "platform/screens.h"
#include "platform/twips.h"
#include "platform/wrapping_button.h"
#include "results/description_screen.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <cmath>
#include <limits>

namespace orven {

namespace {

constexpr int buttonWidth = 2415;
constexpr int buttonHeight = 615;
constexpr int buttonTop = 6000;
constexpr int labelWidth = 7695;
constexpr int labelHeight = 855;
constexpr int labelTop = 960;

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption,
                        const QColor& color) {
    // The captions are wider than the buttons and go onto two lines.
    auto* button = new WrappingButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setFont(namedFont(QStringLiteral("MS Sans Serif"), 8.25));
    setButtonColor(button, color);
    placeTwips(button, 0, 0, buttonWidth, buttonHeight);
    return button;
}

} // namespace

std::int16_t menuButtonGap(int formWidth, int width1, int width2, int width3) {
    const double gap = formWidth / 4.0 - (double(width1) + width2 + width3) / 4.0;
    // std::nearbyint rounds halves to the even neighbour in the default rounding mode.
    const double rounded = std::nearbyint(gap);
    constexpr double lowest = std::numeric_limits<std::int16_t>::min();
    constexpr double highest = std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(std::clamp(rounded, lowest, highest));
}

void prepareNewDesign(DesignCase& designCase) {
    fillPlateTypeCoefficients(designCase);
    fillParameterNames(designCase);
    designCase.exchangerType = ExchangerType::NotChosen;
    designCase.pageNumber = 1;
    designCase.reportOpen = false;
    designCase.pageBlockCount = 1;
    designCase.initialEntryPending = true;
}

Form1::Form1() {
    setObjectName(QStringLiteral("Form1"));
    resizeTwips(12000, 8955);

    Command1 =
        makeButton(this, "Command1", QStringLiteral("ОПИСАНИЕ ПРОГРАММЫ"), QColor(255, 255, 0));
    Command2 =
        makeButton(this, "Command2", QStringLiteral("ВВОД ИСХОДНОЙ ИНФОРМАЦИИ"), QColor(0, 255, 0));
    Command3 = makeButton(this, "Command3", QStringLiteral("ОКОНЧАНИЕ РАБОТЫ С ПРОГРАММОЙ"),
                          QColor(255, 128, 128));
    setTabOrder(Command2, Command1);
    setTabOrder(Command1, Command3);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    setControlBackgroundColor(Label1, QColor(192, 64, 0));
    setControlTextColor(Label1, QColor(128, 255, 128));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setFont(namedFont(QStringLiteral("Arial"), 12, true));
    placeTwips(Label1, 0, labelTop, labelWidth, labelHeight);

    connect(Command1, &QPushButton::clicked, this, &Form1::showDescription);
    connect(Command2, &QPushButton::clicked, this, &Form1::startDataInput);
    connect(Command3, &QPushButton::clicked, this, &Form1::finishWork);
}

void Form1::load() {
    moveTwips(500, 500);
    resizeTwips(12000, 9000);

    drawGradient();

    setCaption(QStringLiteral("НАЧАЛО РАБОТЫ С ПРОГРАММОЙ"));
    QFont font = surfaceFont();
    font.setPointSizeF(20);
    setSurfaceFont(font);
    setForeColor(QColor(255, 0, 0));

    setCaptionText(Label1, QStringLiteral("\rРАСЧЁТ ПЛАСТИНЧАТЫХ ТЕПЛООБМЕННИКОВ\r\r"
                                          "Пластинчатые теплообменники могут использоваться в "
                                          "качестве"));
    // Centred on the form; a half pixel left over is rounded at the conversion.
    const double labelLeft = widthTwips() / 2.0 - widthTwips(Label1) / 2.0;
    Label1->move(twipsToPixels(labelLeft), Label1->y());

    for (QPushButton* button : {Command1, Command2, Command3})
        setTopTwips(button, buttonTop);
    const int gap = menuButtonGap(widthTwips(), buttonWidth, buttonWidth, buttonWidth);
    const int left1 = gap;
    const int left2 = buttonWidth + left1 + gap;
    const int left3 = buttonWidth + left2 + gap;
    setLeftTwips(Command1, left1);
    setLeftTwips(Command2, left2);
    setLeftTwips(Command3, left3);

    Command2->setFocus();
}

// A gradient from violet to brown, left to right, in pixels: rectangle i
// (i = 0..W) runs from column i to column H + 150 over rows 0..W, in the colour
// RGB(150, 50, 255 - 255 i / W), each painting over the ones before it. So
// column x < H + 150 keeps the colour of rectangle x, and the columns from
// H + 150 on take the last one, rectangle W's. The result is worked out once
// as an image, column by column, instead of painting the W + 1 overlapping
// rectangles at every repaint.
void Form1::drawGradient() {
    const int clientHeight = height();
    const int clientWidth = width();
    if (clientWidth <= 0 || clientHeight <= 0)
        return;
    const auto colourOf = [clientWidth](int i) {
        return qRgb(150, 50, 255 - (i * 255) / clientWidth);
    };
    QImage row(clientWidth, 1, QImage::Format_RGB32);
    auto* pixels = reinterpret_cast<QRgb*>(row.scanLine(0));
    for (int x = 0; x < clientWidth; ++x)
        pixels[x] = colourOf(x < clientHeight + 150 ? x : clientWidth);
    // Rows 0..W, as far as the screen reaches.
    const int rows = qMin(clientHeight, clientWidth + 1);
    QImage gradient(clientWidth, rows, QImage::Format_RGB32);
    for (int y = 0; y < rows; ++y)
        std::copy_n(pixels, clientWidth, reinterpret_cast<QRgb*>(gradient.scanLine(y)));
    drawImage(QPoint(0, 0), gradient);
}

void Form1::showDescription() {
    hide();
    closeOtherScreens();
    orven::screen<Form2>().show();
}

void Form1::startDataInput() {
    DesignCase& data = designCase();
    prepareNewDesign(data);

    QString name;
    {
        // Without a Russian group on the keyboard (a single "us" layout,
        // Wayland, no display) the box itself gives each key its Russian letter.
        const bool russianGroup = switchKeyboardLayoutToRussian();
        const InputKeyMappingScope mapping(russianGroup ? nullptr : russianLayoutChar);
        name = dialogs().inputBox(QStringLiteral("  ВВЕДИТЕ ФАМИЛИЮ И НОМЕР ГРУППЫ "),
                                  QStringLiteral("ВВОД ФАМИЛИИ"), 500, 300);
    }
    data.studentName = properCase(name);
    switchKeyboardLayoutToEnglish();
    // The program may have been ended while the box was open (a signal).
    if (programEnded())
        return;

    hide();
    unloadScreen(*this);
    closeOtherScreens();
    // A description left hidden behind the menu is the one screen that
    // closeOtherScreens keeps; it goes too, so that the initial-data screen is
    // the only screen loaded from here on.
    if (Form2* description = findLoadedScreen<Form2>())
        unloadScreen(*description);
    showInitialDataFirstState();
}

void Form1::finishWork() {
    unloadScreen(*this);
    hide();
    closeOtherScreens();
    endProgram();
}

} // namespace orven
