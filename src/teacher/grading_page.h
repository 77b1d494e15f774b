#pragma once
// Проверка: what the class handed in (Moodle's "download all submissions"
// zip, or a folder) graded against the course's set on a worker thread, as
// orven-key grade grades it; a table of every student with the rows held for
// the teacher first; a row's check line by line and, for a held row, the
// evidence; a held row's grade and feedback set by hand (kept in the course
// folder, so that they outlive the window and a new grading); and the files
// Moodle takes back: the filled grading worksheet (given the downloaded
// one), the gradebook CSV and the feedback-files zip.

#include "key_cli/class_grading.h"

#include <QHash>
#include <QWidget>

#include <atomic>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QThread;

namespace orven {

class CourseFolder;

class GradingPage : public QWidget {
    Q_OBJECT

public:
    // The course's files of grading.
    static inline const QString worksheetName = QStringLiteral("ведомость из Moodle.csv");
    static inline const QString handGradesName = QStringLiteral("оценки преподавателя.csv");
    static inline const QString gradebookName = QStringLiteral("оценки.csv");
    static inline const QString feedbackName = QStringLiteral("отзывы.zip");
    static inline const QString filledName = QStringLiteral("ведомость с оценками.csv");

    explicit GradingPage(QWidget* parent = nullptr);
    ~GradingPage() override;

    void setCourse(const CourseFolder* course);

    // The worksheet downloaded from Moodle, read and kept in the course;
    // false with the problem told.
    bool takeWorksheet(const QString& path);
    // Grades what was handed in (a zip, a folder or a PDF) on a worker
    // thread; false with the problem told when it cannot begin.
    bool startGrading(const QString& handedIn);
    bool isGrading() const;
    void cancelGrading();
    bool hasGrading() const { return graded_; }
    const ClassGrading& grading() const { return grading_; }

    // The table's rows: each row's student, held rows first.
    QList<int> rowStudents() const;
    // A held student's grade and feedback set by hand, and kept; false with
    // the problem told.
    bool setHandGrade(int student, int score, const QString& feedback);
    // Writes the gradebook, the feedback zip and, with a worksheet, the
    // filled worksheet into the course; their paths, or empty with the
    // problem told.
    QStringList saveForMoodle();
    // What the detail pane shows of a student.
    QString studentDetail(int student) const;

signals:
    void problem(const QString& message);
    void gradingFinished(bool graded);
    // What was saved: one line a file, and what could not go in.
    void saved(const QString& summary);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    struct HandGrade {
        QString name;
        int score = 0;
        QString feedback;
    };

    void chooseZip();
    void chooseFolder();
    void chooseWorksheet();
    void gradingDone(bool graded, const QString& error, const ClassGrading& grading);
    void loadHandGrades();
    bool saveHandGrades();
    void applyHandGrades();
    void showTable();
    void showSelected();
    void setHandGradeFromForm();
    QString identifierOf(int student) const;

    const CourseFolder* course_ = nullptr;
    QLabel* state_;
    QPushButton* zip_;
    QPushButton* folder_;
    QPushButton* worksheet_;
    QCheckBox* missingAsZero_;
    QPushButton* cancel_;
    QProgressBar* progress_;
    QTableWidget* table_;
    QPlainTextEdit* detail_;
    QSpinBox* handScore_;
    QLineEdit* handFeedback_;
    QPushButton* handSet_;
    QPushButton* save_;
    QThread* worker_ = nullptr;
    std::atomic<bool> cancelled_{false};
    ClassGrading grading_;
    bool graded_ = false;
    QHash<QString, HandGrade> handGrades_; // by the student's identifier
};

} // namespace orven
