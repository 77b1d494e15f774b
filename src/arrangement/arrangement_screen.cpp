#include "arrangement/arrangement_screen.h"

#include "core/design_case.h"
#include "core/text_format.h"
#include "initial_data/error_dialog_screen.h"
#include "initial_data/initial_data.h"
#include "platform/colours.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/fonts.h"
#include "platform/program_end.h"
#include "platform/screens.h"
#include "results/results_screen.h"

#include <QLabel>
#include <QPushButton>
#include <cmath>
#include <limits>

namespace orven {

namespace {

using namespace colours;
const QColor normalText(0, 0, 192);

constexpr int screenWidth = 10275;
constexpr int screenHeight = 8790;
constexpr int label1Width = 3975;
constexpr int label1Height = 975;

const QString errorTitle = QStringLiteral("ОШИБКА !");
const QString packCountError = QStringLiteral("число пакетов от1 до 8 !!!    Продолжаете работу ?");
// Channel counts are 16-bit numbers; the messages name the limit in the style
// of the pack-count box.
const QString numberTooLarge =
    QStringLiteral("число каналов от -32768 до 32767 !!!    Продолжаете работу ?");
const QString totalTooLarge =
    QStringLiteral("сумма каналов от -32768 до 32767 !!!    Продолжаете работу ?");

enum class Stream { Cold, Hot };

double readAnswer(const QString& answer) {
    return parseNumber(normaliseDecimalComma(answer));
}

// Beep and the Yes/No box; false when the student ends the program, which
// has then been ended.
bool continueAfterError(Form6& form, const QString& text) {
    dialogs().beep();
    if (dialogs().askYesNo(errorTitle, text))
        return true;
    form.hide();
    closeOtherScreens();
    endProgram();
    return false;
}

// Asks until the answer fits 16 bits (and, with a total, keeps the total in
// 16 bits too). Empty when the program has been ended.
std::optional<std::int16_t> askInt16(Form6& form, const QString& prompt, const QString& title,
                                     int x, int y, std::optional<std::int16_t> total = {}) {
    for (;;) {
        const QString answer = dialogs().inputBox(prompt, title, x, y);
        if (programEnded())
            return std::nullopt;
        const std::optional<std::int16_t> number = roundToInt16(readAnswer(answer));
        if (!number) {
            if (!continueAfterError(form, numberTooLarge))
                return std::nullopt;
            continue;
        }
        if (total && !roundToInt16(double(*total) + double(*number))) {
            if (!continueAfterError(form, totalTooLarge))
                return std::nullopt;
            continue;
        }
        return number;
    }
}

// "в1", "во2", "в3": pack 2 takes "во"; the number follows without a blank.
QString inPack(int pack) {
    return (pack == 2 ? QStringLiteral("во") : QStringLiteral("в")) + QString::number(pack);
}
QString inPackCapital(int pack) {
    return pack == 2 ? QStringLiteral("ВО") + QString::number(pack)
                     : QStringLiteral("В ") + QString::number(pack);
}

// Asks the channels of packs 1..packs of one stream, prints them and sums
// them. False when the program has been ended.
bool askChannels(Form6& form, Stream stream, int packs, int boxTop, int printTop) {
    PlateArrangement& arrangement = designCase().plateArrangement;
    const bool cold = stream == Stream::Cold;
    auto& channels = cold ? arrangement.coldChannels : arrangement.hotChannels;
    std::int16_t& total = cold ? arrangement.coldChannelTotal : arrangement.hotChannelTotal;
    const QString prompt =
        cold ? QStringLiteral("Введите число каналов %1 - м пакете для холодного теплоносителя")
             : QStringLiteral("Введите число каналов %1 - м пакете для горячего теплоносителя");
    const QString title =
        cold ? QStringLiteral("Ввод числа каналов в пакете для холодного теплоносителя")
             : QStringLiteral("Ввод числа каналов в пакете для горячего теплоносителя");
    const QString line =
        cold ? QStringLiteral("ЧИСЛО КАНАЛОВ %1 - М ПАКЕТЕ ДЛЯ ХОЛОДНОГО ТЕПЛОНОСИТЕЛЯ %2")
             : QStringLiteral("ЧИСЛО КАНАЛОВ %1 - М ПАКЕТЕ ДЛЯ ГОРЯЧЕГО ТЕПЛОНОСИТЕЛЯ %2");

    total = 0;
    for (int pack = 1; pack <= packs; ++pack) {
        const std::optional<std::int16_t> count =
            askInt16(form, prompt.arg(inPack(pack)), title, 1000, boxTop + 200 * pack, total);
        if (!count)
            return false;
        channels[pack] = *count;
        form.setCurrentPosition(800, printTop + 200 * pack);
        form.print(line.arg(inPackCapital(pack)).arg(*count));
        total = static_cast<std::int16_t>(total + *count);
    }
    return true;
}

void showChannelMismatch(Form6& form);

} // namespace

std::optional<std::int16_t> roundToInt16(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    // nearbyint rounds in the current mode, which the program never changes
    // from round-to-nearest-even.
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<std::int16_t>::min() ||
        rounded > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

Form6::Form6() {
    setObjectName(QStringLiteral("Form6"));
    setBackgroundColor(yellow);
    setForeColor(normalText);
    setSurfaceFont(fixedPitchFont(9.75, true));
    resizeTwips(screenWidth, screenHeight);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setWordWrap(true);
    setControlBackgroundColor(Label1, yellow);
    setControlTextColor(Label1, red);
    placeTwips(Label1, 0, 0, label1Width, label1Height);

    Command1 = new QPushButton(this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setFont(namedFont(QStringLiteral("MS Sans Serif"), 8.25));
    setButtonColor(Command1, green);
    placeTwips(Command1, 1800, 6480, 6375, 495);
}

void Form6::load() {
    moveTwips(100, 100);
    setLeftTwips(Label1, screenWidth / 2 - label1Width / 2);
}

void Form6::setLabel1Top(int twips) {
    m_label1Top = twips;
    setTopTwips(Label1, twips);
}

void arrangePlates() {
    Form6& form = screen<Form6>();
    form.setCaption(QStringLiteral("Выбор компоновки пластин"));
    form.Command1->hide();
    form.Label1->hide();
    form.show();

    PlateArrangement& arrangement = designCase().plateArrangement;

    for (;;) {
        const QString answer = dialogs().inputBox(
            QStringLiteral("Введите число пакетов для холодного теплоносителя"),
            QStringLiteral("Ввод числа пакетов для холодного теплоносителя"), 1000, 1000);
        // The program may have been ended while the box was open (a signal).
        if (programEnded())
            return;
        arrangement.coldPackCount = readAnswer(answer);
        // An infinite answer fails the test like any other out-of-range count.
        if (arrangement.coldPackCount >= 1 && arrangement.coldPackCount <= maxPackCount)
            break;
        if (!continueAfterError(form, packCountError))
            return;
    }
    form.setCurrentPosition(800, 300);
    form.setForeColor(blue);
    form.print(QStringLiteral("ЧИСЛО ПАКЕТОВ ДЛЯ ХОЛОДНОГО ТЕПЛОНОСИТЕЛЯ ") +
               generalNumberText(arrangement.coldPackCount));
    form.setForeColor(normalText);

    // The pack count may be fractional; the packs asked are the rounded count.
    const int coldPacks = *roundToInt16(arrangement.coldPackCount);
    if (!askChannels(form, Stream::Cold, coldPacks, 1000, 400))
        return;

    const int hotRowTop = *roundToInt16(200 * arrangement.coldPackCount + 1400);
    if (showsAsCondenser(designCase().exchangerType)) {
        // The steam of a condenser passes in one pack (any type other than a
        // cooler reads as a condenser, as everywhere outside the calculation).
        arrangement.hotPackCount = 1;
    } else {
        for (;;) {
            const QString answer = dialogs().inputBox(
                QStringLiteral("Введите число пакетов для горячего теплоносителя"),
                QStringLiteral("Ввод числа пакетов для горячего теплоносителя"), 1000, hotRowTop);
            if (programEnded())
                return;
            // Any count outside 1..8, however large, gets the pack-count box.
            const std::optional<std::int16_t> packs = roundToInt16(readAnswer(answer));
            if (packs)
                arrangement.hotPackCount = *packs;
            if (packs && *packs >= 1 && *packs <= maxPackCount)
                break;
            if (!continueAfterError(form, packCountError))
                return;
        }
        form.setCurrentPosition(800, hotRowTop - 600);
        form.setForeColor(blue);
        form.print(QStringLiteral("ЧИСЛО ПАКЕТОВ ДЛЯ ГОРЯЧЕГО ТЕПЛОНОСИТЕЛЯ ") +
                   QString::number(arrangement.hotPackCount));
        form.setForeColor(normalText);
    }

    const int hotChannelRowTop = hotRowTop + 100;
    if (!askChannels(form, Stream::Hot, arrangement.hotPackCount, hotChannelRowTop,
                     hotChannelRowTop - 600))
        return;

    if (arrangement.hotChannelTotal == arrangement.coldChannelTotal) {
        showResults();
        return;
    }
    showChannelMismatch(form);
}

namespace {

void showChannelMismatch(Form6& form) {
    dialogs().beep();
    const int labelTop = form.currentY() + 400;
    form.setLabel1Top(labelTop);
    setCaptionText(form.Label1, QStringLiteral("СУММЫ ЧИСЛА КАНАЛОВ ДЛЯ ГОРЯЧЕГО И ХОЛОДНОГО "
                                               "ТЕПЛОНОСИТЕЛЯ ДОЛЖНЫ БЫТЬ РАВНЫ!"));
    form.Label1->show();

    Form13& dialog = screen<Form13>();
    setOwnerScreen(dialog, form);
    dialog.setTopTwips(labelTop + label1Height + 500);
    dialog.setLeftTwips(form.widthTwips() / 2 - dialog.widthTwips() / 2);
    // A dialog loaded earlier keeps its connections; give it exactly these.
    QObject::disconnect(dialog.Command1, &QPushButton::clicked, nullptr, nullptr);
    QObject::disconnect(dialog.Command2, &QPushButton::clicked, nullptr, nullptr);
    QObject::connect(dialog.Command1, &QPushButton::clicked, &dialog, [&dialog] {
        // The dialog goes first, and the arrangement screen with it, so that the
        // repeated dialogue starts on a freshly loaded screen with no dialog
        // left standing behind it.
        dialog.hide();
        unloadScreen(dialog);
        if (Form6* arrangementScreen = findLoadedScreen<Form6>())
            unloadScreen(*arrangementScreen);
        closeOtherScreens();
        arrangePlates();
    });
    QObject::connect(dialog.Command2, &QPushButton::clicked, &dialog, [] {
        for (Screen* loaded : loadedScreens())
            loaded->hide();
        closeOtherScreens();
        endProgram();
    });
    dialog.show();
}

} // namespace

} // namespace orven
