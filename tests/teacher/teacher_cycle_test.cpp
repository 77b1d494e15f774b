// The teacher's window through a course's cycle: a form that gives the very
// set orven-key assign gives from the same template written by hand; a
// Moodle zip dropped on the window and graded as orven-key grade grades it;
// a held row's grade set by hand, saved for Moodle and kept in the course.

#include "core/csv.h"
#include "course/class_list.h"
#include "course/zip_archive.h"
#include "key/design_file.h"
#include "key_cli/assignment_set.h"
#include "key_cli/pdf_text.h"
#include "key_cli/report_reader.h"
#include "platform/report_rendering.h"
#include "support/printed_report.h"
#include "support/test_support.h"
#include "teacher/grading_page.h"
#include "teacher/students_page.h"
#include "teacher/tasks_page.h"
#include "teacher/teacher_window.h"

#include <QDirIterator>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace orven;

namespace {

struct Pupil {
    QString surname;
    QString firstName;
    QString email;
};

const QList<Pupil> pupils{{"Верный", "Вадим", "vernyi@example.org"},
                          {"Копиев", "Кирилл", "kopiev@example.org"},
                          {"Дублёва", "Дарья", "dubleva@example.org"},
                          {"Неявкин", "Никита", "neyavkin@example.org"}};

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& contents) {
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) &&
           file.write(contents) == contents.size();
}

// orven-key as installed, in a folder of its own.
int runKeyIn(const QString& folder, const QStringList& arguments, QString* err = nullptr) {
    QProcess key;
    key.setWorkingDirectory(folder);
    key.start(qEnvironmentVariable("ORVEN_KEY"), arguments);
    key.waitForFinished(180000);
    if (err != nullptr) {
        *err = QString::fromUtf8(key.readAllStandardError());
    }
    return key.exitStatus() == QProcess::NormalExit ? key.exitCode() : -1;
}

QStringList pdfText(const QString& path) {
    QStringList lines;
    pdfReportText(readFile(path), lines);
    return lines;
}

QStringList zipNames(const QString& path) {
    ZipReader zip;
    QString error;
    QStringList names;
    if (zip.open(path, error)) {
        for (const ZipEntry& entry : zip.entries()) {
            names << entry.name;
        }
    }
    names.sort();
    return names;
}

} // namespace

class TeacherCycleTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        setReportReaderProgram(qEnvironmentVariable("ORVEN_KEY_PDF"));
        useKeyPdf();
        QVERIFY(dir_.isValid());
        QByteArray list = "фамилия,группа,email\n";
        for (const Pupil& p : pupils) {
            list += QStringLiteral("%1 %2,Х-11,%3\n").arg(p.surname, p.firstName, p.email).toUtf8();
        }
        QVERIFY(writeFile(dir_.filePath("list.csv"), list));
        window_ = std::make_unique<TeacherWindow>();
        window_->setProblemShower([this](const QString& line) { problems_ << line; });
        QVERIFY(window_->openCourse(dir_.filePath("course")));
        QVERIFY(window_->studentsPage()->importFile(dir_.filePath("list.csv")));
    }

    // The window fits 1366×768 at 125 % (1093×614 of the desktop's pixels,
    // less its panels) with every page laid out.
    void fitsSmallScreens() {
        auto* tabs = window_->findChild<QTabWidget*>();
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
        }
        const QSize needed = window_->minimumSizeHint();
        QVERIFY2(needed.width() <= 1093 && needed.height() <= 580,
                 qPrintable(QStringLiteral("%1×%2").arg(needed.width()).arg(needed.height())));
    }

    // The form set as tests/key/class_template.txt reads, drawn with the
    // number 5: the set is orven-key assign's from that file.
    void formGivesAssignSet() {
        TasksPage* page = window_->tasksPage();
        const QList<QStringList> values{
            {"g1", "0.5", "3.0", "0.1"}, {"t1н", "70", "95", "5"},
            {"t1к", "35", "50", "5"},    {"t2н", "10", "20", "1"},
            {"t2к", "25", "40", "5"},    {"r", "0.0002", "0.0004", "0.00005"}};
        for (const QStringList& v : values) {
            page->findChild<QLineEdit*>(v.at(0) + "_from")->setText(v.at(1));
            page->findChild<QLineEdit*>(v.at(0) + "_to")->setText(v.at(2));
            page->findChild<QLineEdit*>(v.at(0) + "_step")->setText(v.at(3));
        }
        page->findChild<QLineEdit*>("draw")->setText("5");
        QCOMPARE(page->distinctCount(), 26.0 * 6 * 4 * 11 * 4 * 5);
        QSignalSpy finished(page, &TasksPage::drawFinished);
        QVERIFY(page->startDraw());
        QVERIFY(page->isDrawing());
        QVERIFY(finished.wait(180000));
        QVERIFY2(finished.first().first().toBool(), qPrintable(problems_.join('\n')));
        QCOMPARE(page->assignedCount(), pupils.size());

        const QString hand = dir_.filePath("hand");
        QVERIFY(writeFile(hand + "/список.csv", readFile(dir_.filePath("list.csv"))));
        QVERIFY(writeFile(hand + "/шаблон.txt",
                          readFile(test::sourceDir() + "/tests/key/class_template.txt")));
        QString err;
        QCOMPARE(runKeyIn(hand,
                          {"assign", "--class", "список.csv", "--template", "шаблон.txt", "--out",
                           ".", "--draw", "5"},
                          &err),
                 0);
        const QString course = dir_.filePath("course");
        QCOMPARE(readFile(course + "/варианты.csv"), readFile(hand + "/варианты.csv"));
        QDirIterator designs(hand + "/варианты", QDir::Files);
        int count = 0;
        while (designs.hasNext()) {
            const QString file = designs.next();
            QCOMPARE(readFile(course + "/варианты/" + QFileInfo(file).fileName()), readFile(file));
            ++count;
        }
        QCOMPARE(count, pupils.size());
        for (const QString pdf : {"задания.pdf", "ключ.pdf"}) {
            QVERIFY(!pdfText(hand + '/' + pdf).isEmpty());
            QCOMPARE(pdfText(course + '/' + pdf), pdfText(hand + '/' + pdf));
        }
        // The sheets and the key open from the page.
        QStringList opened;
        page->setOpener([&](const QString& path) { opened << QFileInfo(path).fileName(); });
        for (const QString button : {"Открыть &листы заданий", "Открыть кл&юч"}) {
            const auto all = page->findChildren<QPushButton*>();
            const auto b = std::find_if(all.begin(), all.end(),
                                        [&](QPushButton* p) { return p->text() == button; });
            QVERIFY(b != all.end() && (*b)->isEnabled());
            (*b)->click();
        }
        QCOMPARE(opened, (QStringList{"задания.pdf", "ключ.pdf"}));
        // A second draw replaces the set only when the teacher says so.
        page->setConfirmer([](const QString&) { return false; });
        QVERIFY(!page->startDraw());
    }

    // A large class's draw cancelled at once: it ends with its line, and the
    // course holds no set.
    void drawCancelled() {
        QByteArray list = "фамилия,группа,email\n";
        for (int i = 1; i <= 400; ++i) {
            list += QStringLiteral("Студент%1 Иван,Х-21,s%1@example.org\n").arg(i).toUtf8();
        }
        const QString course = dir_.filePath("large");
        QVERIFY(writeFile(course + "/список.csv", list));
        QVERIFY(writeFile(course + "/шаблон.txt",
                          readFile(test::sourceDir() + "/tests/key/class_template.txt")));
        TeacherWindow window;
        QStringList problems;
        window.setProblemShower([&](const QString& line) { problems << line; });
        QVERIFY(window.openCourse(course));
        QSignalSpy finished(window.tasksPage(), &TasksPage::drawFinished);
        QVERIFY(window.tasksPage()->startDraw());
        window.tasksPage()->cancelDraw();
        QVERIFY(finished.wait(60000));
        QCOMPARE(finished.first().first().toBool(), false);
        QCOMPARE(problems, QStringList{"выдача заданий отменена"});
        QVERIFY(assignmentSetFilesIn(course).isEmpty());
        QVERIFY(window.openCourse(dir_.filePath("course"))); // the draw is over
    }

    // Верный hands in his own report; Копиев and Дублёва one file between
    // them; Неявкин nothing. The zip dropped on the page and the worksheet
    // taken give what orven-key grade gives from the same files.
    void zipGradedAsKey() {
        const QString course = dir_.filePath("course");
        const auto design = [&](int variant) {
            const QString path =
                course + QStringLiteral("/варианты/%1.txt").arg(variant, 2, 10, QLatin1Char('0'));
            DesignData data;
            QString error;
            readDesignFile(readFile(path), path, data, error);
            return data;
        };
        const QString scratch = dir_.filePath("scratch.pdf");
        const auto report = [&](int variant, const QString& signature) {
            writeReportPdf(test::printedReport(design(variant), signature, {1}), scratch);
            return readFile(scratch);
        };
        const QByteArray copied = report(2, "Копиев Кирилл Х-11");
        const QList<ZipItem> items{
            {"Вадим Верный_101_assignsubmission_file/отчёт.pdf", report(1, "Верный Вадим Х-11")},
            {"Кирилл Копиев_102_assignsubmission_file/копиев.pdf", copied},
            {"Дарья Дублёва_103_assignsubmission_file/мой.pdf", copied}};
        QString error;
        const QString zip = dir_.filePath("ответы.zip");
        QVERIFY2(writeZip(zip, items, error), qPrintable(error));
        QByteArray sheet = "Identifier,Full name,Email address,Status,Grade,Maximum grade,"
                           "Grade can be changed,Last modified (submission),Last modified "
                           "(grade),Feedback comments\n";
        for (int i = 0; i < pupils.size(); ++i) {
            sheet += QStringLiteral("Participant %1,%2 %3,%4,Submitted,,100.00,Yes,-,-,\n")
                         .arg(101 + i)
                         .arg(pupils.at(i).firstName, pupils.at(i).surname, pupils.at(i).email)
                         .toUtf8();
        }
        const QString downloaded = dir_.filePath("worksheet.csv");
        QVERIFY(writeFile(downloaded, sheet));

        GradingPage* page = window_->gradingPage();
        QVERIFY(page->takeWorksheet(downloaded));
        QSignalSpy finished(page, &GradingPage::gradingFinished);
        test::dropFile(page, zip);
        QVERIFY(page->isGrading());
        QVERIFY(finished.wait(120000));
        QVERIFY2(finished.first().first().toBool(), qPrintable(problems_.join('\n')));
        // The two held rows first, then the others in the list's order.
        QCOMPARE(page->rowStudents(), (QList<int>{1, 2, 0, 3}));
        QVERIFY(page->studentDetail(1).contains(QStringLiteral("  ! ")));
        QVERIFY(page->studentDetail(0).contains(QStringLiteral("Верный Вадим")));
        QCOMPARE(page->saveForMoodle(),
                 (QStringList{GradingPage::gradebookName, GradingPage::feedbackName,
                              GradingPage::filledName}));

        QCOMPARE(runKeyIn(dir_.path(), {"grade", "--class", course + "/варианты.csv", zip, "--csv",
                                        "key.csv", "--worksheet", downloaded, "--out",
                                        "key-sheet.csv", "--feedback-zip", "key.zip"}),
                 1); // not every student scores 100
        QCOMPARE(readFile(course + '/' + GradingPage::gradebookName),
                 readFile(dir_.filePath("key.csv")));
        QCOMPARE(readFile(course + '/' + GradingPage::filledName),
                 readFile(dir_.filePath("key-sheet.csv")));
        const QStringList names = zipNames(course + '/' + GradingPage::feedbackName);
        QCOMPARE(names.size(), 3);
        QCOMPARE(names, zipNames(dir_.filePath("key.zip")));
    }

    // A held row's grade by hand: refused for a graded row, written into the
    // course's gradebook and worksheet, and found again by a new window.
    void heldRowSetByHand() {
        GradingPage* page = window_->gradingPage();
        problems_.clear();
        QVERIFY(!page->setHandGrade(0, 50, "нет"));
        QCOMPARE(problems_.size(), 1);
        QVERIFY(page->setHandGrade(1, 85, "Проверено преподавателем: работа своя"));
        QVERIFY(!page->saveForMoodle().isEmpty());
        const auto kopievRow = [&] {
            QList<QStringList> rows;
            QList<int> lines;
            QString error;
            const QString path = dir_.filePath("course/") + GradingPage::gradebookName;
            parseCsv(QString::fromUtf8(readFile(path)), QLatin1Char(','), rows, lines, path, error);
            const auto row = std::find_if(rows.begin(), rows.end(), [](const QStringList& r) {
                return r.contains(QStringLiteral("Копиев Кирилл"));
            });
            return row == rows.end() ? QStringList() : *row;
        };
        QVERIFY(kopievRow().contains("85"));
        QVERIFY(kopievRow().contains("Проверено преподавателем: работа своя"));

        // The file as a spreadsheet saves it back: ";" between the fields.
        const QString hand = dir_.filePath("course/") + GradingPage::handGradesName;
        QVERIFY(writeFile(hand, readFile(hand).replace(',', ';')));
        TeacherWindow again;
        again.setProblemShower([this](const QString& line) { problems_ << line; });
        QVERIFY(again.openCourse(dir_.filePath("course")));
        QSignalSpy finished(again.gradingPage(), &GradingPage::gradingFinished);
        QVERIFY(again.gradingPage()->startGrading(dir_.filePath("ответы.zip")));
        QVERIFY(finished.wait(120000));
        const StudentGrade& kopiev = again.gradingPage()->grading().grades.students.at(1);
        QCOMPARE(kopiev.score, std::optional<int>(85));
        QVERIFY(!again.gradingPage()->grading().grades.students.at(2).score);
    }

private:
    QTemporaryDir dir_;
    std::unique_ptr<TeacherWindow> window_;
    QStringList problems_;
};

QTEST_MAIN(TeacherCycleTest)
#include "teacher_cycle_test.moc"
