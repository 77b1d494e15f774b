#pragma once
// Задания: the course's task template as a form — cooler or condenser, the
// fluids (water and steam, and the teacher's tables found, each with its
// source), each value fixed or a range with a step, the suitable-variant
// minimum, the sheets' heading — with the number of distinct tasks it gives
// shown as it changes. "Выдать задания" writes the form as the course's
// шаблон.txt and draws the class's set into the course folder on a worker
// thread, as orven-key assign does with that template, the course's list and
// the same options; the set's sheets and key then open in the system's PDF
// viewer.

#include "key_cli/assignment_set.h"

#include <QWidget>

#include <atomic>
#include <functional>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QThread;
class QTimer;

namespace orven {

class CourseFolder;

class TasksPage : public QWidget {
    Q_OBJECT

public:
    static inline const QString templateName = QStringLiteral("шаблон.txt");
    // The course's own fluid tables, looked for before the user's and the
    // installed ones.
    static inline const QString fluidsFolderName = QStringLiteral("жидкости");

    explicit TasksPage(QWidget* parent = nullptr);
    ~TasksPage() override;

    // The course the page works on (nullptr: none open): its template, when
    // it has one the form can show, fills the form; its set, when it has
    // one, is listed.
    void setCourse(const CourseFolder* course);

    // The form as a template file's text.
    QByteArray templateText() const;
    // The distinct tasks the form gives; 0 with the reason when it reads not.
    double distinctCount(QString* why = nullptr) const;

    // Draws the class's set on a worker thread; false with the problem told
    // (no course, no class list, a form that does not read, a set kept).
    bool startDraw();
    bool isDrawing() const;
    void cancelDraw();
    int assignedCount() const;

    // Asked before a set in the course is replaced: a question box unless
    // set otherwise (a test answers instead).
    void setConfirmer(std::function<bool(const QString& question)> confirmer);
    // How a PDF is opened: the system's viewer unless set otherwise.
    void setOpener(std::function<void(const QString& path)> opener);

signals:
    // One Russian line naming the file and, where there is one, the line.
    void problem(const QString& message);
    void drawFinished(bool written);

private:
    struct ValueRow {
        QString key;
        QLabel* label = nullptr;
        QLineEdit* from = nullptr;
        QLineEdit* to = nullptr;
        QLineEdit* step = nullptr;
    };

    QStringList fluidFolders() const;
    void fillFluids();
    void typeChanged();
    void scheduleCount();
    void showCount();
    bool valueLines(QStringList& lines, QString& why) const;
    void loadTemplate();
    void drawDone(bool written, const QString& error, const AssignmentSet& set);
    void showSet(const AssignmentSet& set);
    void showSavedSet();
    void openFile(const QString& name);

    const CourseFolder* course_ = nullptr;
    QComboBox* type_;
    QComboBox* hot_;
    QLabel* hotSource_;
    QComboBox* cold_;
    QLabel* coldSource_;
    QList<ValueRow> rows_;
    QSpinBox* minSuitable_;
    QLineEdit* heading_;
    QComboBox* perPage_;
    QCheckBox* withValues_;
    QLineEdit* drawNumber_;
    QLabel* count_;
    QPushButton* draw_;
    QPushButton* cancel_;
    QProgressBar* progress_;
    QPushButton* openSheets_;
    QPushButton* openKey_;
    QTableWidget* table_;
    QLabel* task_;
    QTimer* countTimer_;
    QThread* worker_ = nullptr;
    std::atomic<bool> cancelled_{false};
    std::function<bool(const QString& question)> confirmer_;
    std::function<void(const QString& path)> opener_;
};

} // namespace orven
