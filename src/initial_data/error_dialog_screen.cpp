#include "initial_data/error_dialog_screen.h"

#include "platform/controls.h"
#include "platform/fonts.h"

#include <QLabel>
#include <QPushButton>

namespace orven {

namespace {

// Both owners (the first-input and the correction screen) are 14000 twips wide
// after their load layout; the dialog is centred on that width.
constexpr int ownerWidth = 14000;

QSize designSize(ErrorDialogScreen::Variant variant) {
    switch (variant) {
    case ErrorDialogScreen::Variant::FirstInput:
        return {5655, 1140};
    case ErrorDialogScreen::Variant::Correction:
        return {4995, 1350};
    case ErrorDialogScreen::Variant::ChannelSum:
        break;
    }
    return {5205, 1215};
}

} // namespace

ErrorDialogScreen::ErrorDialogScreen(Variant variant) : m_variant(variant) {
    setCaption(QStringLiteral("Внимание !"));
    const QSize size = designSize(variant);
    resizeTwips(size.width(), size.height());

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(fixedPitchFont(9.75, true));
    setControlTextColor(Label1, QColor(255, 0, 0));

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(fixedPitchFont(9.75));

    Command1 = new QPushButton(QStringLiteral("Да"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    placeTwips(Command1, 960, 720, 1095, 255);

    Command2 = new QPushButton(QStringLiteral("Нет"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    placeTwips(Command2, 2880, 720, 1095, 255);

    // "Да" comes first and has the focus, except on the correction screen's
    // dialog, where "Нет" does.
    if (variant == Variant::Correction) {
        setTabOrder(Command2, Command1);
        Command2->setDefault(true);
    } else {
        setTabOrder(Command1, Command2);
        Command1->setDefault(true);
    }
}

void ErrorDialogScreen::load() {
    setTopTwips(4500);
    setCaptionText(Label1, QStringLiteral("Ошибка в исходной информации."));
    setCaptionText(Label2, m_variant == Variant::FirstInput
                               ? QStringLiteral("Изменяете исходную информацию?")
                               : QStringLiteral("  Изменяете исходную информацию?"));
    setLeftTwips(ownerWidth / 2 - widthTwips() / 2);
    for (QLabel* label : {Label1, Label2}) {
        label->adjustSize();
    }
    placeTwips(Label1, (widthTwips() - widthTwips(Label1)) / 2, 0, widthTwips(Label1),
               heightTwips(Label1));
    placeTwips(Label2, (widthTwips() - widthTwips(Label2)) / 2, 360, widthTwips(Label2),
               heightTwips(Label2));
    (m_variant == Variant::Correction ? Command2 : Command1)->setFocus();
}

void ErrorDialogScreen::closeButtonPressed() {
    Command1->click();
}

} // namespace orven
