#pragma once
// The program description (Form2), opened from the main menu: what the program
// is for and the method of calculation the student follows. Its button goes
// back to a freshly loaded main menu.

#include "results/text_panel_screen.h"

namespace orven {

class Form2 : public TextPanelScreen {
    Q_OBJECT
public:
    Form2();
    void load() override;

private slots:
    void continueWork();
};

} // namespace orven
