// The teacher's window, Студенты: class lists dropped on the page as files
// come from Moodle and Excel, each either imported whole into the course
// folder or refused with its file and line, the course's list unchanged.

#include "course/class_list.h"
#include "support/test_support.h"
#include "teacher/course_folder.h"
#include "teacher/students_page.h"
#include "teacher/teacher_window.h"

#include <QMimeData>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

using namespace orven;

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& contents) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

} // namespace

class StudentsPageTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true); // the remembered course is the test's
        QVERIFY(dir_.isValid());
    }

    void classListDropped_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<int>("students"); // 0: refused
        QTest::addColumn<QString>("problem");
        QTest::newRow("Moodle's export, two groups")
            << QByteArray("\xEF\xBB\xBFИмя,Фамилия,Адрес электронной почты,Группы\n"
                          "Иван Сергеевич,Иванов,i@x,\"ТЭ-311, ТЭ-312\"\nАнна,Петрова,p@x,ТЭ-311\n")
            << 2 << QString();
        QTest::newRow("the grading worksheet")
            << QByteArray("Identifier,Full name,Email address,Status,Grade\n"
                          "Participant 101,Иван Иванов,i@x,Submitted,\n")
            << 1 << QString();
        QTest::newRow("Excel's Windows-1251, ;;; rows")
            << QByteArray(test::windows1251(
                   QStringLiteral("Фамилия;Группа;Email\r\nИванов И.С.;Х-11;a@x\r\n"
                                  ";;\r\nПетров П.;Х-11;b@x\r\n")))
            << 2 << "список.csv: файл не в UTF-8, прочитан как Windows-1251";
        QTest::newRow("namesakes")
            << QByteArray("фамилия,группа,email\nИванов И.,Х-11,a@x\nИванов И.,Х-11,b@x\n") << 2
            << "список.csv, строка 3: «Иванов И.» — тёзка студента в строке 2";
        QTest::newRow("a student without an identifier")
            << QByteArray("фамилия,группа,email\nИванов И.,Х-11,a@x\nПетров П.,Х-11,\n") << 2
            << "список.csv, строка 3: у студента «Петров П.» нет ни email, ни номера";
        QTest::newRow("an open quote") << QByteArray("фамилия,группа,email\n\"Иванов,Х-11,a@x\n")
                                       << 0 << "список.csv, строка 2";
        QTest::newRow("no identifier column")
            << QByteArray("фамилия,группа\nИванов,Х-11\n") << 0
            << "список.csv, строка 1: нет столбца «email» или «idnumber»";
    }
    void classListDropped() {
        QFETCH(QByteArray, contents);
        QFETCH(int, students);
        QFETCH(QString, problem);
        QTemporaryDir course;
        TeacherWindow window;
        QStringList shown;
        window.setProblemShower([&](const QString& message) { shown << message; });
        QVERIFY(window.openCourse(course.path()));
        StudentsPage* page = window.studentsPage();
        // The course's list before: one student, which a refused list leaves.
        const QByteArray before = "фамилия,группа,email\nПрежний П.,Х-10,old@x\n";
        const QString file = dir_.filePath(QStringLiteral("список.csv"));
        writeFile(file, before);
        test::dropFile(page, file);
        QCOMPARE(page->studentCount(), 1);
        writeFile(file, contents);
        QSignalSpy failed(page, &StudentsPage::importFailed);
        test::dropFile(page, file);
        const QString listed = course.filePath(CourseFolder::classListName);
        if (students == 0) {
            QCOMPARE(failed.count(), 1);
            QCOMPARE(shown, QStringList{page->problems()}); // one message box, the same line
            QCOMPARE(page->studentCount(), 1);
            QCOMPARE(readFile(listed), before);
        } else {
            QVERIFY(shown.isEmpty());
            QCOMPARE(failed.count(), 0);
            QCOMPARE(page->studentCount(), students);
            QCOMPARE(readFile(listed), contents);
        }
        if (problem.isEmpty()) {
            QVERIFY2(page->problems().isEmpty(), qPrintable(page->problems().join('\n')));
        } else {
            QVERIFY2(page->problems().join('\n').contains(problem),
                     qPrintable(page->problems().join('\n')));
        }
    }

    // The course opened last is opened again, with its list.
    void courseRemembered() {
        QTemporaryDir course;
        {
            TeacherWindow window;
            QVERIFY(window.openCourse(course.path()));
            writeFile(dir_.filePath(QStringLiteral("к.csv")),
                      "фамилия,группа,email\nИванов И.,Х-11,a@x\n");
            QVERIFY(window.studentsPage()->importFile(dir_.filePath(QStringLiteral("к.csv"))));
        }
        QCOMPARE(CourseFolder::remembered(), QFileInfo(course.path()).absoluteFilePath());
        TeacherWindow again;
        QVERIFY(again.openCourse(CourseFolder::remembered()));
        QCOMPARE(again.studentsPage()->studentCount(), 1);
    }

private:
    QTemporaryDir dir_;
};

QTEST_MAIN(StudentsPageTest)
#include "students_page_test.moc"
