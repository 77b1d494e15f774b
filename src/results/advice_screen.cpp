#include "results/advice_screen.h"

#include "platform/screens.h"
#include "results/results_screen.h"

#include <QPushButton>

namespace orven {

namespace {

// The advice, one entry per line; the first line is empty.
// clang-format off
const QStringList adviceLines = {
    QString(),
    QStringLiteral("         В случае, если выбранный Вами теплообменник не подходит для"),
    QStringLiteral("         Вашего потока, Вы можете сделать следующее:"),
    QString(),
    QStringLiteral("     1.  Изменить компоновку пластин. Для этого надо изменить число"),
    QStringLiteral("         пакетов для теплоносителей. (Число пакетов - это то число,"),
    QStringLiteral("         на которое делится число пластин (каналов). Например, если"),
    QStringLiteral("         число каналов в теплообменнике 122, а число пакетов равно 3,"),
    QStringLiteral("         то число каналов в пакете будет 40, 41, 41.)"),
    QStringLiteral("         Помните, что для пара число пакетов равно 1, независимо от"),
    QStringLiteral("         Вашего желания. Изменение компоновки пластин иногда может"),
    QStringLiteral("         привести к тому, что Ваш теплообменник обеспечит нужную Вам"),
    QStringLiteral("         поверхность теплопередачи."),
    QString(),
    QStringLiteral("     2.  Если изменение компоновки ни к чему не привело, или Вы не"),
    QStringLiteral("         хотите изменять компоновку, то Вам придется выбрать другой"),
    QStringLiteral("         теплообменник"),
};
// clang-format on

} // namespace

Form10::Form10()
    : TextPanelScreen({QSize(10485, 9480), 8000, QColor(0, 0, 128), QPoint(2400, 6480)}) {
    setObjectName(QStringLiteral("Form10"));
    connect(Command1, &QPushButton::clicked, this, &Form10::continueWork);
}

void Form10::load() {
    constexpr int formWidth = 10000;
    moveTwips(100, 100);
    setCaption(QStringLiteral("Пояснение к подбору"));
    setWidthTwips(formWidth);
    layOutPanel(formWidth, adviceLines);
}

// The results screen was only hidden and is the latest screen loaded before
// this one, so it survives closeOtherScreens with its state.
void Form10::continueWork() {
    hide();
    unloadScreen(*this);
    closeOtherScreens();
    returnToResults();
}

void showSelectionAdvice() {
    screen<Form10>().show();
}

} // namespace orven
