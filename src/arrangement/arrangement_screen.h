#pragma once
// Plate arrangement: arrangePlates() asks for the packs of the cold stream and
// the channels in each pack, then the same for the hot stream (a condenser has
// one hot pack, whose channels alone are asked), echoes every answer on the
// arrangement screen (Form6) and writes PlateArrangement. Equal channel totals
// go on to the results; unequal totals show a red message and the "Внимание !"
// dialog (Form13), whose "Да" repeats the dialogue and whose "Нет" ends the
// program.
//
// Counts are 16-bit integers: an answer or a channel total that does not fit
// is refused and asked again, never stored wrapped.

#include "platform/screen.h"

#include <QString>
#include <cstdint>
#include <optional>

class QLabel;
class QPushButton;

namespace orven {

// Asks for the packs and channels of both streams and, on equal channel totals, shows the results.
void arrangePlates();

// The nearest integer to value, halves to the even neighbour (2.5 gives 2,
// 3.5 gives 4); empty when the result does not fit 16 bits or value is not finite.
std::optional<std::int16_t> roundToInt16(double value);

// The arrangement screen.
class Form6 : public Screen {
    Q_OBJECT

public:
    Form6();
    void load() override;

    QLabel* Label1 = nullptr;        // message about unequal channel totals
    QPushButton* Command1 = nullptr; // hidden by the dialogue

    // Top of Label1 in twips as last set.
    int label1Top() const { return m_label1Top; }
    void setLabel1Top(int twips);

private:
    int m_label1Top = 0;
};

} // namespace orven
