#pragma once
// The initial-data screen in its two variants. Form3 is the first-input
// screen opened from the main menu: the student names the exchanger type,
// types the 14 values one after another, reviews the list and either keeps it
// or corrects single lines. Form11 is the correction screen opened from the
// results: the list is there at once and accepts line clicks. Both leave for
// the exchanger selection only with data that pass the range check; data that
// fail it are printed onto the screen with the offending line marked, and the
// "Внимание !" dialog (Form4 / Form12) asks whether to change them or to end
// the program.

#include "core/design_case.h"
#include "platform/screen.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace orven {

// Shows the initial-data screen in its first state: only the two type buttons
// and the question "НАЗОВИТЕ ТИП ТЕПЛООБМЕННИКА".
void showInitialDataFirstState();

// Shows the correction variant of the initial-data screen with the current
// values listed, ready for line clicks.
void openInitialDataCorrection();

// List line of initial-data slot 1..14: the name under the current type,
// blanks up to column 62, the value text.
QString initialDataLine(const DesignCase& designCase, int slot);
// The type line as the first entry writes it: " Тип теплообменника - " and the type text.
QString firstEntryTypeLine(const DesignCase& designCase);
// The type line of a rebuilt list: the construction name of slot 16 and the type text.
QString rebuiltTypeLine(const DesignCase& designCase);

class InitialDataScreen : public Screen {
    Q_OBJECT

public:
    enum class Variant { FirstInput, Correction };

    QPushButton* Command1 = nullptr; // keep the data
    QPushButton* Command2 = nullptr; // change the data
    QPushButton* Command3 = nullptr; // end of corrections
    QPushButton* Command4 = nullptr; // cooler
    QPushButton* Command5 = nullptr; // condenser
    QLabel* Label1 = nullptr;        // heading above the list
    QLabel* Label2 = nullptr;        // marks the offending line of the error display
    QLabel* Label3 = nullptr;        // hint of the correcting state
    QLabel* Label4 = nullptr;        // question for the type
    QListWidget* List1 = nullptr;

    Variant variant() const { return m_variant; }
    void load() override;

protected:
    explicit InitialDataScreen(Variant variant);

private:
    // Puts the list back to the type line in its rebuilt form and lines 1..14
    // under the current type's names, refreshing values 1..14 from their texts.
    void rebuildList();
    void chooseType(ExchangerType type);
    void runFirstEntry();
    void keep();
    void change();
    void lineClicked(int k);
    void endCorrections();
    void showErrorDisplay();
    void openErrorDialog();
    void returnToCorrecting();
    bool errorDialogOpen() const;

    Variant m_variant;
};

class Form3 : public InitialDataScreen {
    Q_OBJECT
public:
    Form3() : InitialDataScreen(Variant::FirstInput) { setObjectName(QStringLiteral("Form3")); }
};

class Form11 : public InitialDataScreen {
    Q_OBJECT
public:
    Form11() : InitialDataScreen(Variant::Correction) { setObjectName(QStringLiteral("Form11")); }
};

} // namespace orven
