#pragma once
// Exchanger selection: openExchangerSelection() opens the construction
// parameters screen (Form5) and draws the catalogue table of standard plate
// heat exchangers on it, with one nozzle button per plate-and-execution cell.
// A nozzle button stores the plate geometry (plate_catalogue.h); the 0.5 m2
// plate then asks for its letter. A complete choice closes the screen and
// starts the packs-and-channels dialogue (arrangePlates).

#include "platform/screen.h"

class QLabel;
class QPushButton;

namespace orven {

// Opens the exchanger selection: refreshes the working copy of the initial data and draws the
// catalogue table.
void openExchangerSelection();

// The construction parameters screen.
class Form5 : public Screen {
    Q_OBJECT

public:
    Form5();
    void load() override;

    QLabel* Label1 = nullptr; // exchanger type caption
    QLabel* Label2 = nullptr; // instruction
    // Nozzle buttons: 0.2 m2 "100"; 0.3 m2 "50", "65"; 0.5 m2 "100", "150", "200".
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Command7 = nullptr;
    QPushButton* Command8 = nullptr;
    // Letter buttons of the 0.5 m2 plate: "Г" and "Е".
    QPushButton* Command9 = nullptr;
    QPushButton* Command10 = nullptr;

    // Top of Label1 in twips as last set (pixel positions lose the odd twips).
    int label1Top() const { return m_label1Top; }
    void setLabel1Top(int twips);

private:
    void choosePlate(int button);
    void chooseLetter(int button);
    void showLetterStep(const QString& executionLine);
    void finishSelection();

    int m_label1Top = 0;
};

} // namespace orven
