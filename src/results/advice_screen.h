#pragma once
// The selection advice (Form10), opened from the results screen: what to do
// when the chosen exchanger does not suit the duty. Its button unloads it and
// returns to the results screen as it was left.

#include "results/text_panel_screen.h"

namespace orven {

class Form10 : public TextPanelScreen {
    Q_OBJECT
public:
    Form10();
    void load() override;

private slots:
    void continueWork();
};

// Shows the selection advice; its button returns to the results screen.
void showSelectionAdvice();

} // namespace orven
