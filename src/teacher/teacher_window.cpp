#include "teacher/teacher_window.h"

#include "teacher/grading_page.h"
#include "teacher/students_page.h"
#include "teacher/tasks_page.h"

#include <QDir>
#include <QFileDialog>
#include <QKeySequence>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>

namespace orven {

TeacherWindow::TeacherWindow(QWidget* parent)
    : QMainWindow(parent), students_(new StudentsPage(this)), tasks_(new TasksPage(this)),
      grading_(new GradingPage(this)) {
    setWindowTitle(QStringLiteral("ORVEN — преподаватель"));
    auto* tabs = new QTabWidget(this);
    tabs->addTab(students_, QStringLiteral("&Студенты"));
    tabs->addTab(tasks_, QStringLiteral("&Задания"));
    tabs->addTab(grading_, QStringLiteral("&Проверка"));
    setCentralWidget(tabs);
    QMenu* courseMenu = menuBar()->addMenu(QStringLiteral("&Курс"));
    courseMenu->addAction(QStringLiteral("&Открыть или создать папку курса…"), QKeySequence::Open,
                          this, &TeacherWindow::chooseCourse);
    courseMenu->addSeparator();
    courseMenu->addAction(QStringLiteral("В&ыход"), QKeySequence::Quit, this, &QWidget::close);
    connect(students_, &StudentsPage::importFailed, this, &TeacherWindow::showProblem);
    connect(tasks_, &TasksPage::problem, this, &TeacherWindow::showProblem);
    connect(grading_, &GradingPage::problem, this, &TeacherWindow::showProblem);
    // A new set is graded from then on.
    connect(tasks_, &TasksPage::drawFinished, this, [this](bool written) {
        if (written) {
            grading_->setCourse(&course_);
        }
    });
    statusBar()->showMessage(QStringLiteral("Курс не открыт"));
    // Fits a 1366×768 screen with the desktop's panels, and a smaller one
    // (a larger scale) as far as it goes.
    const QSize wanted(1100, 680);
    resize(screen() != nullptr ? wanted.boundedTo(screen()->availableGeometry().size()) : wanted);
}

bool TeacherWindow::openCourse(const QString& path) {
    QString error;
    if (tasks_->isDrawing() || grading_->isGrading()) {
        showProblem(QStringLiteral("курс не сменить, пока выдаются задания или идёт проверка: "
                                   "дождитесь конца или отмените"));
        return false;
    }
    if (!course_.open(path, error)) {
        showProblem(error);
        return false;
    }
    CourseFolder::remember(course_.path());
    setWindowTitle(
        QStringLiteral("ORVEN — преподаватель — %1").arg(QDir::toNativeSeparators(course_.path())));
    statusBar()->showMessage(
        QStringLiteral("Курс: %1").arg(QDir::toNativeSeparators(course_.path())));
    students_->setCourse(&course_);
    tasks_->setCourse(&course_);
    grading_->setCourse(&course_);
    return true;
}

void TeacherWindow::chooseCourse() {
    const QString path = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Папка курса"), course_.isOpen() ? course_.path() : QString());
    if (!path.isEmpty()) {
        openCourse(path);
    }
}

void TeacherWindow::setProblemShower(std::function<void(const QString& message)> shower) {
    shower_ = std::move(shower);
}

void TeacherWindow::showProblem(const QString& message) {
    if (shower_) {
        shower_(message);
        return;
    }
    QMessageBox::warning(this, QStringLiteral("ORVEN — преподаватель"), message);
}

} // namespace orven
