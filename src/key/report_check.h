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
    QString designError; // the initial data could not be read
    QList<CheckedBlock> blocks;
    // What is wrong outside the blocks' numbers: a line that belongs nowhere
    // ("стр. 2, строка 14: «…» — не строка отчёта"), an initial value outside
    // its admissible interval, a value that differs from the task.
    QStringList findings;

    bool allAgree() const;
};

// The text of a report as read from its PDF, one entry a row, pages divided
// by an entry "\f". Every row must belong to a page header, the heading, the
// initial data or a results block that ends with its rule.
ReportCheck checkReportText(const QStringList& lines);

// How the report's initial data differ from an assigned design: each value
// that differs by more than tolerance (relative, 0.02 for 2 %), naming both
// numbers ("«name» = 0.13, в задании 0.123"); empty when they are the
// design's.
QStringList taskDifferences(const ReportCheck& report, const DesignData& task, double tolerance);
// True when there are none (without the words for them).
bool sameInitialData(const ReportCheck& report, const DesignData& task, double tolerance);
// Adds those differences to the report's findings.
void compareWithTask(ReportCheck& report, const DesignData& task, double tolerance);

} // namespace orven
