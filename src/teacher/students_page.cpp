#include "teacher/students_page.h"

#include "core/bounded_file.h"
#include "course/class_list.h"
#include "teacher/course_folder.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSaveFile>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orven {

namespace {

// The list read within its bound, never through a link.
bool readList(const QString& path, QByteArray& contents, QString& error) {
    return readNamedFile(path, largestClassList, QStringLiteral("списка группы"), contents, error);
}

} // namespace

StudentsPage::StudentsPage(QWidget* parent)
    : QWidget(parent), state_(new QLabel(this)),
      import_(new QPushButton(QStringLiteral("Загрузить список &группы…"), this)),
      table_(new QTableWidget(0, 5, this)), problems_(new QListWidget(this)) {
    setAcceptDrops(true);
    import_->setObjectName(QStringLiteral("import"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Строка"), QStringLiteral("Студент"),
                                       QStringLiteral("Группа"), QStringLiteral("Email"),
                                       QStringLiteral("Номер")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    problems_->setWordWrap(true);
    auto* problemsLabel = new QLabel(QStringLiteral("За&мечания:"), this);
    problemsLabel->setBuddy(problems_);
    auto* side = new QVBoxLayout;
    side->addWidget(problemsLabel);
    side->addWidget(problems_);
    auto* lists = new QHBoxLayout;
    lists->addWidget(table_, 3);
    lists->addLayout(side, 2);
    auto* top = new QHBoxLayout;
    top->addWidget(import_);
    top->addWidget(state_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(lists);
    connect(import_, &QPushButton::clicked, this, &StudentsPage::chooseFile);
    setCourse(nullptr);
}

void StudentsPage::setCourse(const CourseFolder* course) {
    course_ = course;
    import_->setEnabled(course_ != nullptr);
    table_->setRowCount(0);
    showProblems({});
    if (course_ == nullptr) {
        state_->setText(QStringLiteral("Откройте или создайте папку курса (меню «Курс»)."));
        return;
    }
    const QString path = course_->filePath(CourseFolder::classListName);
    QByteArray contents;
    QString error;
    ClassList list;
    if (!QFileInfo::exists(path)) {
        state_->setText(QStringLiteral("Списка группы ещё нет: загрузите его или перетащите "
                                       "файл CSV в окно."));
    } else if (!readList(path, contents, error) ||
               !readClassList(contents, CourseFolder::classListName, list, error)) {
        state_->setText(QStringLiteral("Список группы курса не читается."));
        showProblems({error});
    } else {
        showList(list, CourseFolder::classListName);
    }
}

bool StudentsPage::importFile(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    QByteArray contents;
    QString error;
    ClassList list;
    if (course_ == nullptr) {
        error = QStringLiteral("сначала откройте или создайте папку курса");
    } else if (readList(path, contents, error) && readClassList(contents, name, list, error)) {
        // The list becomes the course's whole, or not at all.
        QSaveFile file(course_->filePath(CourseFolder::classListName));
        if (file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size() &&
            file.commit()) {
            showList(list, name);
            return true;
        }
        error = QStringLiteral("список не записан в папку курса %1").arg(course_->path());
    }
    showProblems({error});
    emit importFailed(error);
    return false;
}

int StudentsPage::studentCount() const {
    return table_->rowCount();
}

QStringList StudentsPage::problems() const {
    return problemLines_;
}

void StudentsPage::dragEnterEvent(QDragEnterEvent* event) {
    if (course_ != nullptr && !droppedLocalPath(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void StudentsPage::dropEvent(QDropEvent* event) {
    const QString path = droppedLocalPath(event->mimeData());
    if (!path.isEmpty()) {
        event->acceptProposedAction();
        importFile(path);
    }
}

void StudentsPage::chooseFile() {
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Список группы"), QString(),
                                     QStringLiteral("Таблицы CSV (*.csv *.txt);;Все файлы (*)"));
    if (!path.isEmpty()) {
        importFile(path);
    }
}

void StudentsPage::showList(const ClassList& list, const QString& fileName) {
    table_->setRowCount(static_cast<int>(list.students.size()));
    QStringList problems = list.notes;
    for (int r = 0; r < list.students.size(); ++r) {
        const Student& s = list.students.at(r);
        const QString number = s.idnumber.isEmpty() ? s.participant : s.idnumber;
        const QStringList cells{QString::number(s.line), s.name, s.group, s.email, number};
        for (int c = 0; c < cells.size(); ++c) {
            table_->setItem(r, c, new QTableWidgetItem(cells.at(c)));
        }
        if (s.email.isEmpty() && number.isEmpty()) {
            problems << QStringLiteral("%1, строка %2: у студента «%3» нет ни email, ни номера — "
                                       "оценку в систему обучения не загрузить")
                            .arg(fileName)
                            .arg(s.line)
                            .arg(s.name);
        }
    }
    table_->resizeColumnToContents(0);
    state_->setText(
        QStringLiteral("Студентов: %1 (список курса: %2)").arg(list.students.size()).arg(fileName));
    showProblems(problems);
}

void StudentsPage::showProblems(const QStringList& problems) {
    problemLines_ = problems;
    problems_->clear();
    problems_->addItems(problems.isEmpty() ? QStringList{QStringLiteral("нет")} : problems);
}

} // namespace orven
