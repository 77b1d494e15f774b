#pragma once
// Checking a printed report: its text (lines as read from the PDF) is taken
// apart into the student line, the initial data and the results blocks; each
// block's exchanger, packs and channels are calculated again by the student
// program and printed again by its own report code, and the two texts are
// compared line by line. A report edited by hand, or printed by anything else,
// differs somewhere.

#include "key/variants.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace orven {

struct CheckedBlock {
    int number = 0;     // 1, 2, ... in the report
    bool known = false; // a catalogue exchanger with readable packs and channels
    ExchangerType type = ExchangerType::Cooler; // as the block's first line says
    Variant variant;                            // when known
    Evaluated evaluated;                        // when known
    int linesCompared = 0; // lines of the block compared with the recalculation
    QStringList differences; // "строка 12: напечатано «…», по расчёту «…»"
};

struct ReportCheck {
    bool isReport = false; // page headers and the heading of a report were found
    QString student;
    DesignData design;
    QString designError; // the initial data could not be read or do not pass the check
    QList<CheckedBlock> blocks;

    bool allAgree() const;
};

ReportCheck checkReportText(const QStringList& lines);

} // namespace orven
