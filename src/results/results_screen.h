#pragma once
// The results screen Form9: the chosen exchanger and arrangement in grey, then
// the results of the calculation and its warnings in colour, printed onto the
// screen's retained surface, and five buttons that decide how the work goes on
// (end, another arrangement, new initial data, print, selection advice).

#include "platform/screen.h"

class QLabel;
class QPushButton;

namespace orven {

class Form9 : public Screen {
    Q_OBJECT
public:
    Form9();

    QPushButton* Command1 = nullptr; // "Окончание работы с программой"
    QPushButton* Command2 = nullptr; // "Выбор другой компоновки пластин"
    QPushButton* Command3 = nullptr; // "Изменение массива физсвойств"
    QPushButton* Command4 = nullptr; // "Печать результатов"
    QPushButton* Command5 = nullptr; // "Пояснение к подбору теплообменника"
    QLabel* Label1 = nullptr;

    void load() override;

private slots:
    void endWork();
    void chooseOtherArrangement();
    void changeInitialData();
    void printResultsBlock();
    void showAdvice();
};

// Opens the results screen, runs the calculation and shows its results and warnings.
void showResults();

// Shows the results screen again as it was left (from the advice screen).
void returnToResults();

// Registers with the end of the program that an open report is finished on the
// printer in use, so the pages printed so far come out as one document.
void installReportFinisher();

} // namespace orven
