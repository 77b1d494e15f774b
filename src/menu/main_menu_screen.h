#pragma once
// The main menu (Form1), the first screen of a run: the program description,
// the start of data input and the end of the program. Starting data input
// prepares the design case for a new design, asks for the student's surname
// and group, and hands over to the initial-data screen in its first state.

#include "platform/screen.h"

#include <cstdint>

class QLabel;
class QPushButton;

namespace orven {

struct DesignCase;

// Gap between the menu's three buttons and before the first one, twips:
// form width / 4 - (sum of the button widths) / 4, converted to a 16-bit
// integer the way the program converts numbers (nearest, halves to even).
std::int16_t menuButtonGap(int formWidth, int width1, int width2, int width3);

// Prepares the design case for a new design: the coefficient table and the
// parameter names are filled, no exchanger type is chosen, the report starts
// again at page 1 and the first entry of the initial data is pending.
// The parameter values are left as they are.
void prepareNewDesign(DesignCase& designCase);

class Form1 : public Screen {
    Q_OBJECT
public:
    Form1();

    QPushButton* Command1 = nullptr; // "ОПИСАНИЕ ПРОГРАММЫ"
    QPushButton* Command2 = nullptr; // "ВВОД ИСХОДНОЙ ИНФОРМАЦИИ"
    QPushButton* Command3 = nullptr; // "ОКОНЧАНИЕ РАБОТЫ С ПРОГРАММОЙ"
    QLabel* Label1 = nullptr;

    void load() override;

private slots:
    void showDescription();
    void startDataInput();
    void finishWork();

private:
    void drawGradient();
};

} // namespace orven
