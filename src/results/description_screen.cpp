#include "results/description_screen.h"

#include "platform/screen_flow.h"
#include "platform/screens.h"

#include <QPushButton>

namespace orven {

namespace {

// The description, one entry per line; the first line is empty.
// clang-format off
const QStringList descriptionLines = {
    QString(),
    QStringLiteral("                          ПРОГРАММА РАСЧЁТА ПЛАСТИНЧАТЫХ ТЕПЛООБМЕННИКОВ"),
    QString(),
    QStringLiteral("           Пластинчатые теплообменники могут использоваться в качестве холодильников и"),
    QStringLiteral("           конденсаторов. В конденсаторах однопакетная компоновка пластин по ходу пара."),
    QString(),
    QStringLiteral("                                      МЕТОДИКА РАСЧЁТА:"),
    QString(),
    QStringLiteral("     1. По ориентировочному значению коэффициента теплопередачи выполняется при-"),
    QStringLiteral("        ближённый расчёт поверхности теплообмена."),
    QStringLiteral("     2. По ГОСТам выбирается возможный вариант теплообменника, соответствующий"),
    QStringLiteral("        ориентировочной поверхности. При этом выбирается тип пластин, их число и"),
    QStringLiteral("        компоновка Рекомендуется первоначально выбирать самую простую компоновку,"),
    QStringLiteral("        однопакетную для обоих потоков."),
    QStringLiteral("     3. Производится расчёт теплообменника, причём исходная информация должна"),
    QStringLiteral("        быть задана в системе \"СИ\"."),
    QStringLiteral("     4. Анализируются результаты расчёта и при необходимости делается целенапра-"),
    QStringLiteral("        вленное изменение параметров (числа пластин,их типа и компоновки)."),
    QStringLiteral("     5. Производится повторный расчёт."),
    QStringLiteral("     Целью расчёта является подбор по ГОСТам варианта теплообменника, ближайшего"),
    QStringLiteral("     по поверхности теплообмена и необходимой по расчёту."),
};
// clang-format on

} // namespace

Form2::Form2()
    : TextPanelScreen({QSize(10845, 9435), 10000, QColor(0, 0, 192), QPoint(3360, 6240)}) {
    setObjectName(QStringLiteral("Form2"));
    setCaption(QStringLiteral("Описание программы"));
    connect(Command1, &QPushButton::clicked, this, &Form2::continueWork);
}

void Form2::load() {
    constexpr int formWidth = 12000;
    setWidthTwips(formWidth);
    layOutPanel(formWidth, descriptionLines);
}

// Back to the main menu. The menu was loaded before this screen, so
// closeOtherScreens unloads it and the menu shown is a fresh one; this screen
// stays loaded, hidden, until the next change of screen.
void Form2::continueWork() {
    hide();
    closeOtherScreens();
    goToScreen(ScreenStep::MainMenu);
}

} // namespace orven
