// What the teacher's session under a virtual display needs besides the
// program: where its controls are, and reports as students print them.
//   orven_teacher_plan plan <course folder>   the window as the program lays it
//       out, one control a line: name, x, y of its centre in the window
//   orven_teacher_plan report <design.txt> <signature> <out.pdf>
//   orven_teacher_plan shot <window id> <picture.png>   the window as shown

#include "key/design_file.h"
#include "platform/report_rendering.h"
#include "support/printed_report.h"
#include "teacher/teacher_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QScreen>
#include <QTabBar>
#include <QTableWidget>

#include <cstdio>

namespace {

int plan(const QString& course) {
    orven::TeacherWindow window;
    window.setProblemShower(
        [](const QString& line) { std::fprintf(stderr, "%s\n", qPrintable(line)); });
    if (!window.openCourse(course)) {
        return 1;
    }
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();
    QApplication::processEvents();
    // As a window on the screen is: never smaller than its layout needs.
    window.resize(window.size().expandedTo(window.minimumSizeHint()));
    QApplication::processEvents();
    const auto centre = [&](QWidget* w, QPoint at) {
        const QPoint p = w->mapTo(&window, at);
        std::printf("%s\t%d\t%d\n", qPrintable(w->objectName()), p.x(), p.y());
    };
    const QTabBar* tabs = window.findChild<QTabBar*>();
    const QStringList tabNames{"tabStudents", "tabTasks", "tabGrading"};
    for (int i = 0; i < tabs->count(); ++i) {
        const QPoint p = tabs->mapTo(&window, tabs->tabRect(i).center());
        std::printf("%s\t%d\t%d\n", qPrintable(tabNames.value(i)), p.x(), p.y());
    }
    // Each page laid out as it is shown.
    for (int i = 0; i < tabs->count(); ++i) {
        window.findChild<QTabWidget*>()->setCurrentIndex(i);
        QApplication::processEvents();
    }
    for (const char* name : {"import", "draw", "drawSet", "gradeZip", "takeWorksheet", "handScore",
                             "setHandGrade", "saveForMoodle"}) {
        QWidget* w = window.findChild<QWidget*>(QString::fromLatin1(name));
        if (w == nullptr) {
            return 1;
        }
        centre(w, w->rect().center());
    }
    // The first row of the grading table.
    auto* table = window.findChild<QTableWidget*>(QStringLiteral("gradingTable"));
    const QPoint row(table->viewport()->width() / 4,
                     table->verticalHeader()->defaultSectionSize() / 2);
    const QPoint p = table->viewport()->mapTo(&window, row);
    std::printf("gradingRow1\t%d\t%d\n", p.x(), p.y());
    return 0;
}

int report(const QString& designFile, const QString& signature, const QString& out) {
    QFile file(designFile);
    orven::DesignData design;
    QString error;
    if (!file.open(QIODevice::ReadOnly) ||
        !orven::readDesignFile(file.readAll(), designFile, design, error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    return orven::writeReportPdf(orven::test::printedReport(design, signature, {1}), out) ? 0 : 1;
}

int shoot(const QString& id, const QString& path) {
    bool ok = false;
    const WId window = id.toULongLong(&ok, 0);
    QScreen* screen = QGuiApplication::primaryScreen();
    return ok && screen != nullptr && screen->grabWindow(window).save(path, "PNG") ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("orven"));
    QApplication::setApplicationName(QStringLiteral("orven-teacher"));
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 3 && args[1] == QLatin1String("plan")) {
        return plan(args[2]);
    }
    if (args.size() == 5 && args[1] == QLatin1String("report")) {
        return report(args[2], args[3], args[4]);
    }
    if (args.size() == 4 && args[1] == QLatin1String("shot")) {
        return shoot(args[2], args[3]);
    }
    std::fputs("usage: orven_teacher_plan plan <course folder>\n"
               "       orven_teacher_plan report <design.txt> <signature> <out.pdf>\n"
               "       orven_teacher_plan shot <window id> <picture.png>\n",
               stderr);
    return 2;
}
