// A class's handed-in reports for measuring orven-key grade: N students, each
// a task drawn by orven-key assign from the test template, each a report of
// the first suitable variant of the student's own task, printed by the
// program's own report code and set as a PDF by the program's renderer.
//
//   orven_class_reports OUT N      (bench/grade.sh)
// writes OUT/class.csv, OUT/class/ (assign's output) and OUT/reports/NNN.pdf.

#include "core/design_case.h"
#include "key/design_file.h"
#include "key/variants.h"
#include "platform/report_rendering.h"
#include "results/report.h"
#include "results/report_progress.h"
#include "support/key_runs.h"
#include "support/operations_printer.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

using namespace orven;

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 3 || QByteArray(argv[2]).toInt() < 1) {
        std::fputs("использование: orven_class_reports ПАПКА N\n", stderr);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const int count = QByteArray(argv[2]).toInt();
    QDir().mkpath(out.filePath(QStringLiteral("reports")));
    QByteArray list = "фамилия,группа,email\n";
    for (int i = 1; i <= count; ++i) {
        list += QStringLiteral("Студент%1 Иван,Х-%2,s%1@example.org\n").arg(i).arg(i % 7).toUtf8();
    }
    QFile listFile(out.filePath(QStringLiteral("class.csv")));
    if (!listFile.open(QIODevice::WriteOnly) || listFile.write(list) != list.size()) {
        return 1;
    }
    listFile.close();
    const test::Run assigned =
        test::runKey({QStringLiteral("assign"), QStringLiteral("--class"), listFile.fileName(),
                      QStringLiteral("--template"),
                      QStringLiteral(ORVEN_SOURCE_DIR "/tests/key/class_template.txt"),
                      QStringLiteral("--out"), out.filePath(QStringLiteral("class"))});
    if (assigned.status != 0) {
        std::fputs(assigned.err.toUtf8().constData(), stderr);
        return 1;
    }
    const int width = std::max(2, static_cast<int>(QString::number(count).size()));
    for (int i = 1; i <= count; ++i) {
        const QString number = QStringLiteral("%1").arg(i, width, 10, QLatin1Char('0'));
        QFile designFile(out.filePath(QStringLiteral("class/варианты/%1.txt").arg(number)));
        DesignData design;
        QString error;
        if (!designFile.open(QIODevice::ReadOnly) ||
            !readDesignFile(designFile.readAll(), designFile.fileName(), design, error)) {
            std::fputs(qPrintable(error + QLatin1Char('\n')), stderr);
            return 1;
        }
        const Solution solution = solveDesign(design, {0, 0, VariantOrder::Surface, 1});
        if (solution.suitable.isEmpty()) {
            return 1;
        }
        test::OperationsPrinter printer;
        resetDesignCase();
        DesignCase& c = designCase();
        loadDesign(c, design);
        c.studentName = QStringLiteral("Студент%1 Иван гр. Х-%2").arg(i).arg(i % 7);
        c.pageNumber = 1;
        c.pageBlockCount = 1;
        loadVariant(c, solution.suitable.first().variant);
        calculateExchanger(c);
        c.resultsUnprinted = true;
        c.printRequestHandled = false;
        printResults(c, printer);
        finishReport(c, printer);
        if (!writeReportPdf(printer.ops,
                            out.filePath(QStringLiteral("reports/%1.pdf").arg(number)))) {
            return 1;
        }
    }
    return 0;
}
