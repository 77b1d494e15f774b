#include "teacher/teacher_window.h"

#include "teacher/students_page.h"

#include <QFileDialog>
#include <QKeySequence>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTabWidget>

namespace orven {

TeacherWindow::TeacherWindow(QWidget* parent)
    : QMainWindow(parent), students_(new StudentsPage(this)) {
    setWindowTitle(QStringLiteral("ORVEN — преподаватель"));
    auto* tabs = new QTabWidget(this);
    tabs->addTab(students_, QStringLiteral("&Студенты"));
    setCentralWidget(tabs);
    QMenu* courseMenu = menuBar()->addMenu(QStringLiteral("&Курс"));
    courseMenu->addAction(QStringLiteral("&Открыть или создать папку курса…"), QKeySequence::Open,
                          this, &TeacherWindow::chooseCourse);
    courseMenu->addSeparator();
    courseMenu->addAction(QStringLiteral("В&ыход"), QKeySequence::Quit, this, &QWidget::close);
    connect(students_, &StudentsPage::importFailed, this, &TeacherWindow::showProblem);
    statusBar()->showMessage(QStringLiteral("Курс не открыт"));
    // Fits a 1366×768 screen with the desktop's panels.
    resize(1100, 640);
}

bool TeacherWindow::openCourse(const QString& path) {
    QString error;
    if (!course_.open(path, error)) {
        showProblem(error);
        return false;
    }
    CourseFolder::remember(course_.path());
    setWindowTitle(QStringLiteral("ORVEN — преподаватель — %1").arg(course_.path()));
    statusBar()->showMessage(QStringLiteral("Курс: %1").arg(course_.path()));
    students_->setCourse(&course_);
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
