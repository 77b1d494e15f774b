#pragma once
// The teacher's window: the course folder in its menu, the course's steps
// as tabs. A problem is one Russian message box naming the file and line.

#include "teacher/course_folder.h"

#include <QMainWindow>

#include <functional>

namespace orven {

class GradingPage;
class StudentsPage;
class TasksPage;

class TeacherWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit TeacherWindow(QWidget* parent = nullptr);

    // Opens (creating) the course folder and remembers it; false with the
    // problem shown.
    bool openCourse(const QString& path);
    const CourseFolder& course() const { return course_; }
    StudentsPage* studentsPage() const { return students_; }
    TasksPage* tasksPage() const { return tasks_; }
    GradingPage* gradingPage() const { return grading_; }
    // How a problem is shown: a message box unless set otherwise (a test
    // takes the line instead).
    void setProblemShower(std::function<void(const QString& message)> shower);

private:
    void chooseCourse();
    void showProblem(const QString& message);

    CourseFolder course_;
    StudentsPage* students_;
    TasksPage* tasks_;
    GradingPage* grading_;
    std::function<void(const QString& message)> shower_;
};

} // namespace orven
