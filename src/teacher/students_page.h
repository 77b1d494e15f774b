#pragma once
// Студенты: the class list imported into the course, by a file dialog or by
// dropping the file on the window, read as orven-key assign reads it
// (Moodle's participants export, the grading worksheet, Excel's CSV in
// UTF-8 or Windows-1251); a table of the students, and beside it every
// problem: the reader's notes (the encoding taken, namesakes), students
// without an identifier, or the file and line of a fault. A list with a
// fault is not imported at all: the course keeps the one it had.

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace orven {

class CourseFolder;
struct ClassList;

class StudentsPage : public QWidget {
    Q_OBJECT

public:
    explicit StudentsPage(QWidget* parent = nullptr);

    // The course the page imports into (nullptr: none open); its list, when
    // it has one, is shown.
    void setCourse(const CourseFolder* course);
    // Reads the file as a class list and, when it reads, makes it the
    // course's; false with the problem shown (and told by importFailed).
    bool importFile(const QString& path);

    int studentCount() const;
    QStringList problems() const;

signals:
    // One Russian line naming the file and, where there is one, the line.
    void importFailed(const QString& message);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void chooseFile();
    void showList(const ClassList& list, const QString& fileName);
    void showProblems(const QStringList& problems);

    const CourseFolder* course_ = nullptr;
    QLabel* state_;
    QPushButton* import_;
    QTableWidget* table_;
    QListWidget* problems_;
    QStringList problemLines_;
};

} // namespace orven
