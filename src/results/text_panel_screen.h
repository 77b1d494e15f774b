#pragma once
// The layout that the description screen (Form2) and the selection advice
// screen (Form10) share: a fixed text on a cyan panel (Label1) with an orange
// drop shadow (Label2 along its right edge, Label3 along its bottom edge, 100
// twips thick and offset by 50), on a yellow form, and one green button
// "ПРОДОЛЖЕНИЕ РАБОТЫ" (Command1) that leads back.

#include "platform/screen.h"

#include <QColor>
#include <QPoint>
#include <QSize>
#include <QStringList>

class QLabel;
class QPushButton;

namespace orven {

// What differs between the two text screens.
struct TextPanelDesign {
    QSize clientSize;    // design client area, twips
    int panelWidth = 0;  // width of Label1, twips
    QColor textColour;   // text colour of Label1
    QPoint buttonOrigin; // top left of Command1, twips
};

class TextPanelScreen : public Screen {
    Q_OBJECT
public:
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* Command1 = nullptr; // "ПРОДОЛЖЕНИЕ РАБОТЫ"

    // Geometry of the panel common to both screens, twips.
    static constexpr int panelTop = 480;
    static constexpr int panelHeight = 5200;
    static constexpr int shadowOffset = 50;
    static constexpr int shadowThickness = 100;

protected:
    explicit TextPanelScreen(const TextPanelDesign& design);

    // Centres the panel on the form (whose width is already set), lays the
    // shadow strips along it and fills the panel with the lines, the first of
    // them normally empty, joined with carriage returns.
    void layOutPanel(int formWidth, const QStringList& lines);
    // Closing the window goes back, as "ПРОДОЛЖЕНИЕ РАБОТЫ" does.
    void closeButtonPressed() override;

private:
    int m_panelWidth;
};

} // namespace orven
