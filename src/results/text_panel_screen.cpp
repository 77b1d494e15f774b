#include "results/text_panel_screen.h"

#include "platform/controls.h"
#include "platform/fonts.h"

#include <QLabel>
#include <QPushButton>

namespace orven {

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QColor& background) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    setControlBackgroundColor(label, background);
    return label;
}

} // namespace

TextPanelScreen::TextPanelScreen(const TextPanelDesign& design) : m_panelWidth(design.panelWidth) {
    resizeTwips(design.clientSize.width(), design.clientSize.height());
    setBackgroundColor(QColor(255, 255, 0));

    Label1 = makeLabel(this, "Label1", QColor(0, 255, 255));
    setControlTextColor(Label1, design.textColour);
    Label1->setFont(fixedPitchFont(9));
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setWordWrap(false);

    const QColor shadow(255, 128, 0);
    Label2 = makeLabel(this, "Label2", shadow);
    Label3 = makeLabel(this, "Label3", shadow);

    Command1 = new QPushButton(QStringLiteral("ПРОДОЛЖЕНИЕ РАБОТЫ"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    setButtonColor(Command1, QColor(0, 255, 0));
    Command1->setFont(namedFont(QStringLiteral("MS Sans Serif"), 8.25, true));
    placeTwips(Command1, design.buttonOrigin.x(), design.buttonOrigin.y(), 4095, 375);
}

void TextPanelScreen::layOutPanel(int formWidth, const QStringList& lines) {
    const int left = (formWidth - m_panelWidth) / 2;
    placeTwips(Label1, left, panelTop, m_panelWidth, panelHeight);
    placeTwips(Label2, left + m_panelWidth, panelTop + shadowOffset, shadowThickness, panelHeight);
    placeTwips(Label3, left + shadowOffset, panelTop + panelHeight, m_panelWidth + 60,
               shadowThickness);
    setCaptionText(Label1, lines.join(QLatin1Char('\r')));
    Command1->setFocus();
}

void TextPanelScreen::closeButtonPressed() {
    Command1->click();
}

} // namespace orven
