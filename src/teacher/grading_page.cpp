#include "teacher/grading_page.h"

#include "core/bounded_file.h"
#include "core/csv.h"
#include "course/class_list.h"
#include "key_cli/assignment_set.h"
#include "key_cli/command_support.h"
#include "teacher/course_folder.h"

#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>

namespace orven {

namespace {

// The grades a teacher set by hand: a line a student of the class.
constexpr InputKind handGradesInput{u"оценок преподавателя", 1 << 20};

// The hand grades' columns.
const QStringList handGradeHeader{QStringLiteral("Идентификатор"), QStringLiteral("Студент"),
                                  QStringLiteral("Балл"), QStringLiteral("Отзыв")};

} // namespace

GradingPage::GradingPage(QWidget* parent)
    : QWidget(parent), state_(new QLabel),
      zip_(new QPushButton(QStringLiteral("Проверить &zip из Moodle…"))),
      folder_(new QPushButton(QStringLiteral("Проверить п&апку…"))),
      worksheet_(new QPushButton(QStringLiteral("&Ведомость из Moodle…"))),
      missingAsZero_(new QCheckBox(QStringLiteral("&0 тому, кто не сдал"))),
      cancel_(new QPushButton(QStringLiteral("Отменит&ь"))), progress_(new QProgressBar),
      table_(new QTableWidget(0, 5)), detail_(new QPlainTextEdit), handScore_(new QSpinBox),
      handFeedback_(new QLineEdit), handSet_(new QPushButton(QStringLiteral("Поставить &оценку"))),
      save_(new QPushButton(QStringLiteral("Сохранить для &Moodle"))) {
    setAcceptDrops(true);
    for (auto [widget, name] :
         std::initializer_list<std::pair<QWidget*, const char*>>{{zip_, "gradeZip"},
                                                                 {worksheet_, "takeWorksheet"},
                                                                 {table_, "gradingTable"},
                                                                 {handScore_, "handScore"},
                                                                 {handFeedback_, "handFeedback"},
                                                                 {handSet_, "setHandGrade"},
                                                                 {save_, "saveForMoodle"}}) {
        widget->setObjectName(QString::fromLatin1(name));
    }
    state_->setWordWrap(true);
    cancel_->setEnabled(false);
    progress_->setVisible(false);
    worksheet_->setToolTip(QStringLiteral("Ведомость оценок задания (CSV), скачанная из Moodle: "
                                          "её номера участников связывают сданное со студентами, "
                                          "и она заполняется оценками и отзывами"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Вар."), QStringLiteral("Студент"),
                                       QStringLiteral("Группа"), QStringLiteral("Балл"),
                                       QStringLiteral("Отзыв")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    detail_->setReadOnly(true);
    detail_->setLineWrapMode(QPlainTextEdit::NoWrap);
    detail_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    handScore_->setRange(0, 100);
    handFeedback_->setPlaceholderText(QStringLiteral("отзыв студенту"));

    auto* top = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{zip_, folder_, worksheet_}) {
        top->addWidget(w);
    }
    top->addStretch();
    top->addWidget(save_);
    auto* running = new QHBoxLayout;
    running->addWidget(missingAsZero_);
    running->addWidget(state_, 1);
    running->addWidget(progress_, 1);
    running->addWidget(cancel_);
    auto* hand = new QHBoxLayout;
    auto* handLabel = new QLabel(QStringLiteral("Оценка в&ручную:"));
    handLabel->setBuddy(handScore_);
    hand->addWidget(handLabel);
    hand->addWidget(handScore_);
    hand->addWidget(handFeedback_, 1);
    hand->addWidget(handSet_);
    auto* right = new QWidget;
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(detail_, 1);
    rightLayout->addLayout(hand);
    auto* split = new QSplitter;
    split->addWidget(table_);
    split->addWidget(right);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(running);
    layout->addWidget(split, 1);

    connect(zip_, &QPushButton::clicked, this, &GradingPage::chooseZip);
    connect(folder_, &QPushButton::clicked, this, &GradingPage::chooseFolder);
    connect(worksheet_, &QPushButton::clicked, this, &GradingPage::chooseWorksheet);
    connect(cancel_, &QPushButton::clicked, this, &GradingPage::cancelGrading);
    connect(table_, &QTableWidget::itemSelectionChanged, this, &GradingPage::showSelected);
    connect(handSet_, &QPushButton::clicked, this, &GradingPage::setHandGradeFromForm);
    connect(save_, &QPushButton::clicked, this, [this] {
        if (const QStringList files = saveForMoodle(); !files.isEmpty()) {
            state_->setText(
                QStringLiteral("Сохранено для Moodle: %1").arg(files.join(QStringLiteral(", "))));
        }
    });
    setCourse(nullptr);
}

GradingPage::~GradingPage() {
    if (worker_ != nullptr) {
        cancelled_ = true;
        worker_->wait();
    }
}

void GradingPage::setCourse(const CourseFolder* course) {
    course_ = course;
    graded_ = false;
    grading_ = ClassGrading{};
    handGrades_.clear();
    loadHandGrades();
    showTable();
    const bool open = course_ != nullptr && worker_ == nullptr;
    for (QWidget* w : std::initializer_list<QWidget*>{zip_, folder_, worksheet_}) {
        w->setEnabled(open);
    }
    if (course_ == nullptr) {
        state_->setText(QStringLiteral("Откройте или создайте папку курса (меню «Курс»)."));
    } else if (!QFileInfo::exists(course_->filePath(assignmentSetFiles().at(0)))) {
        state_->setText(QStringLiteral("В курсе ещё нет заданий: выдайте их на вкладке "
                                       "«Задания»."));
    } else {
        state_->setText(
            QStringLiteral("Выберите или перетащите в окно zip «Скачать все ответы» из Moodle "
                           "или папку с отчётами.%1")
                .arg(QFileInfo::exists(course_->filePath(worksheetName))
                         ? QStringLiteral(" Ведомость из Moodle есть в курсе.")
                         : QString()));
    }
}

bool GradingPage::takeWorksheet(const QString& path) {
    QByteArray contents;
    QString error;
    Worksheet worksheet;
    if (course_ == nullptr) {
        error = QStringLiteral("сначала откройте или создайте папку курса");
    } else if (readCourseFile(path, worksheetInput, contents, error) &&
               worksheet.read(contents, QFileInfo(path).fileName(), error)) {
        if (writeFileBytes(course_->filePath(worksheetName), contents)) {
            state_->setText(QStringLiteral("Ведомость %1 взята в курс: в ней %2 строк.")
                                .arg(QFileInfo(path).fileName())
                                .arg(worksheet.rows().size()));
            return true;
        }
        error = QStringLiteral("файл %1 не удалось записать").arg(course_->filePath(worksheetName));
    }
    emit problem(error);
    return false;
}

bool GradingPage::startGrading(const QString& handedIn) {
    if (course_ == nullptr || worker_ != nullptr) {
        return false;
    }
    GradingRequest request;
    QByteArray contents;
    QString error;
    const QString variants = course_->filePath(assignmentSetFiles().at(0));
    if (!QFileInfo::exists(variants)) {
        emit problem(QStringLiteral("в курсе нет заданий: выдайте их на вкладке «Задания»"));
        return false;
    }
    if (!readCourseFile(variants, variantsInput, contents, error) ||
        !readVariantsTable(contents, assignmentSetFiles().at(0), request.table, error)) {
        emit problem(error);
        return false;
    }
    if (const QString sheet = course_->filePath(worksheetName); QFileInfo::exists(sheet)) {
        Worksheet worksheet;
        if (!readCourseFile(sheet, worksheetInput, contents, error) ||
            !worksheet.read(contents, worksheetName, error)) {
            emit problem(error);
            return false;
        }
        request.worksheet = worksheet;
    }
    request.options.missingAsZero = missingAsZero_->isChecked();
    request.handedIn = {handedIn};
    cancelled_ = false;
    request.cancel = &cancelled_;
    request.progress = progressOn(progress_);
    progress_->setRange(0, 0); // until the files are counted
    progress_->setVisible(true);
    cancel_->setEnabled(true);
    for (QWidget* w : std::initializer_list<QWidget*>{zip_, folder_, worksheet_, save_}) {
        w->setEnabled(false);
    }
    state_->setText(QStringLiteral("Проверяется %1…").arg(QFileInfo(handedIn).fileName()));
    worker_ = QThread::create([this, request] {
        ClassGrading grading;
        QString failure;
        const bool graded = gradeHandedIn(request, grading, failure);
        QMetaObject::invokeMethod(
            this, [this, graded, failure, grading] { gradingDone(graded, failure, grading); },
            Qt::QueuedConnection);
    });
    worker_->start();
    return true;
}

bool GradingPage::isGrading() const {
    return worker_ != nullptr;
}

void GradingPage::cancelGrading() {
    cancelled_ = true;
    cancel_->setEnabled(false);
}

void GradingPage::gradingDone(bool graded, const QString& error, const ClassGrading& grading) {
    worker_->wait();
    delete worker_;
    worker_ = nullptr;
    progress_->setVisible(false);
    cancel_->setEnabled(false);
    for (QWidget* w : std::initializer_list<QWidget*>{zip_, folder_, worksheet_, save_}) {
        w->setEnabled(course_ != nullptr);
    }
    if (graded) {
        grading_ = grading;
        graded_ = true;
        applyHandGrades();
        int held = 0;
        int scored = 0;
        for (const StudentGrade& g : grading_.grades.students) {
            held += g.held && !g.score ? 1 : 0;
            scored += g.score ? 1 : 0;
        }
        state_->setText(QStringLiteral("Студентов %1, отчётов прочитано %2, с оценкой %3, на "
                                       "проверку преподавателю %4.")
                            .arg(grading_.table.variants.size())
                            .arg(grading_.reports.size())
                            .arg(scored)
                            .arg(held));
    } else {
        state_->setText(error);
        emit problem(error);
    }
    showTable();
    emit gradingFinished(graded);
}

QString GradingPage::identifierOf(int student) const {
    return studentIdentifier(grading_.table.variants.at(student).student);
}

void GradingPage::loadHandGrades() {
    if (course_ == nullptr) {
        return;
    }
    const QString path = course_->filePath(handGradesName);
    QByteArray contents;
    QString error;
    QList<QStringList> rows;
    QList<int> lines;
    if (!QFileInfo::exists(path)) {
        return;
    }
    // Written with ","; a teacher's spreadsheet may save it back with ";".
    if (!readCourseFile(path, handGradesInput, contents, error) ||
        !parseCsv(QString::fromUtf8(contents).remove(QChar(0xFEFF)),
                  csvSeparator(QString::fromUtf8(contents)), rows, lines, handGradesName, error)) {
        emit problem(error);
        return;
    }
    for (qsizetype r = 1; r < rows.size(); ++r) { // the first row is the header
        const QStringList& row = rows.at(r);
        bool ok = false;
        const int score = row.value(2).toInt(&ok);
        if (row.size() < 4 || !ok || score < 0 || score > 100) {
            emit problem(QStringLiteral("%1, строка %2: нужны идентификатор, студент, балл от 0 "
                                        "до 100 и отзыв")
                             .arg(handGradesName)
                             .arg(lines.at(r)));
            continue;
        }
        handGrades_.insert(row.at(0), {row.at(1), score, row.at(3)});
    }
}

bool GradingPage::saveHandGrades() {
    CsvWriter csv(QLatin1Char(','), true);
    csv.addRow(handGradeHeader);
    QStringList ids = handGrades_.keys();
    ids.sort();
    for (const QString& id : ids) {
        const HandGrade& g = handGrades_.value(id);
        csv.addRow({id, g.name, QString::number(g.score), g.feedback});
    }
    return writeFileBytes(course_->filePath(handGradesName), csv.bytes());
}

void GradingPage::applyHandGrades() {
    for (int s = 0; s < grading_.table.variants.size(); ++s) {
        StudentGrade& g = grading_.grades.students[s];
        if (const auto found = handGrades_.constFind(identifierOf(s));
            g.held && found != handGrades_.constEnd()) {
            g.score = found->score;
            g.feedback = found->feedback;
        }
    }
}

bool GradingPage::setHandGrade(int student, int score, const QString& feedback) {
    if (!graded_ || student < 0 || student >= grading_.table.variants.size() ||
        !grading_.grades.students.at(student).held) {
        emit problem(QStringLiteral("оценку вручную ставят только работе на проверке "
                                    "преподавателю"));
        return false;
    }
    handGrades_.insert(identifierOf(student),
                       {grading_.table.variants.at(student).student.name, score, feedback});
    if (!saveHandGrades()) {
        emit problem(
            QStringLiteral("файл %1 не удалось записать").arg(course_->filePath(handGradesName)));
        return false;
    }
    applyHandGrades();
    showTable();
    return true;
}

void GradingPage::setHandGradeFromForm() {
    const QList<QTableWidgetItem*> selected = table_->selectedItems();
    if (!selected.isEmpty()) {
        const int student = selected.first()->data(Qt::UserRole).toInt();
        setHandGrade(student, handScore_->value(), handFeedback_->text().trimmed());
    }
}

QList<int> GradingPage::rowStudents() const {
    QList<int> students;
    if (!graded_) {
        return students;
    }
    for (int s = 0; s < grading_.table.variants.size(); ++s) {
        students << s;
    }
    // Held rows first, each part in the list's order.
    std::stable_partition(students.begin(), students.end(),
                          [&](int s) { return grading_.grades.students.at(s).held; });
    return students;
}

void GradingPage::showTable() {
    const int selected = table_->selectedItems().isEmpty()
                             ? -1
                             : table_->selectedItems().first()->data(Qt::UserRole).toInt();
    table_->setRowCount(0);
    const QList<int> students = rowStudents();
    table_->setRowCount(static_cast<int>(students.size()));
    for (int r = 0; r < students.size(); ++r) {
        const int s = students.at(r);
        const ClassVariant& v = grading_.table.variants.at(s);
        const StudentGrade& g = grading_.grades.students.at(s);
        const QString score = g.held ? (g.score ? QStringLiteral("%1 (вручную)").arg(*g.score)
                                                : QStringLiteral("на проверке"))
                              : g.score      ? QString::number(*g.score)
                              : g.graded < 0 ? QStringLiteral("не сдал")
                                             : QStringLiteral("—");
        const QStringList cells{v.number, v.student.name, v.student.group, score, g.feedback};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells.at(c));
            item->setData(Qt::UserRole, s);
            if (g.held && !g.score) {
                item->setBackground(QColor(255, 236, 200));
            }
            table_->setItem(r, c, item);
        }
        if (s == selected) {
            table_->selectRow(r);
        }
    }
    table_->resizeColumnsToContents();
    save_->setEnabled(graded_ && worker_ == nullptr);
    showSelected();
}

QString GradingPage::studentDetail(int student) const {
    if (!graded_ || student < 0 || student >= grading_.table.variants.size()) {
        return {};
    }
    const ClassVariant& v = grading_.table.variants.at(student);
    const StudentGrade& g = grading_.grades.students.at(student);
    QStringList lines{QStringLiteral("Вариант %1 — %2, группа %3")
                          .arg(v.number, v.student.name, v.student.group)};
    if (g.held) {
        lines << (g.score ? QStringLiteral("На проверку преподавателю; оценка поставлена "
                                           "вручную: %1")
                                .arg(*g.score)
                          : QStringLiteral("На проверку преподавателю (оценка не выставлена):"));
        for (const QString& flag : g.flags) {
            lines << QStringLiteral("  ! ") + flag;
        }
    }
    for (int i = 0; i < grading_.submissions.size(); ++i) {
        if (grading_.grades.submitters.at(i) == student) {
            for (const QString& file : grading_.notReports.at(i)) {
                lines << QStringLiteral("  не отчёт: ") + file;
            }
        }
    }
    if (g.graded < 0) {
        lines << QStringLiteral("Отчёта нет.");
    } else {
        lines << QString() << studentCheckLines(grading_, student);
    }
    return lines.join(QLatin1Char('\n'));
}

void GradingPage::showSelected() {
    const QList<QTableWidgetItem*> selected = table_->selectedItems();
    const int student = selected.isEmpty() ? -1 : selected.first()->data(Qt::UserRole).toInt();
    detail_->setPlainText(studentDetail(student));
    const bool held = student >= 0 && grading_.grades.students.at(student).held;
    handScore_->setEnabled(held);
    handFeedback_->setEnabled(held);
    handSet_->setEnabled(held);
    if (held) {
        const StudentGrade& g = grading_.grades.students.at(student);
        handScore_->setValue(g.score.value_or(0));
        handFeedback_->setText(g.feedback);
    }
}

QStringList GradingPage::saveForMoodle() {
    if (!graded_ || course_ == nullptr) {
        return {};
    }
    QList<ZipItem> items;
    QStringList unplaced;
    QString error;
    QStringList written;
    const auto fail = [&](const QString& why) {
        emit problem(why);
        return QStringList();
    };
    if (!feedbackFiles(grading_, items, unplaced, error)) {
        return fail(error);
    }
    const QString gradebook = course_->filePath(gradebookName);
    if (!writeFileBytes(gradebook, gradebookCsv(grading_.table, grading_.grades,
                                                QStringLiteral("ORVEN"), QLatin1Char(',')))) {
        return fail(QStringLiteral("файл %1 не удалось записать").arg(gradebook));
    }
    written << gradebookName;
    const QString zip = course_->filePath(feedbackName);
    if (!writeZip(zip, items, error)) {
        return fail(error);
    }
    written << feedbackName;
    if (grading_.worksheet) {
        const QString filled = course_->filePath(filledName);
        if (!writeFileBytes(filled, filledWorksheet(grading_))) {
            return fail(QStringLiteral("файл %1 не удалось записать").arg(filled));
        }
        written << filledName;
    }
    if (!unplaced.isEmpty()) {
        emit problem(QStringLiteral("Отзывы не вложены в %1:\n%2")
                         .arg(feedbackName, unplaced.join(QLatin1Char('\n'))));
    }
    emit saved(written.join(QLatin1Char('\n')));
    return written;
}

void GradingPage::dragEnterEvent(QDragEnterEvent* event) {
    if (course_ != nullptr && worker_ == nullptr &&
        !droppedLocalPath(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void GradingPage::dropEvent(QDropEvent* event) {
    const QString path = droppedLocalPath(event->mimeData());
    if (!path.isEmpty()) {
        event->acceptProposedAction();
        startGrading(path);
    }
}

void GradingPage::chooseZip() {
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Ответы из Moodle"), course_ != nullptr ? course_->path() : QString(),
        QStringLiteral("Архивы zip (*.zip);;Отчёты PDF (*.pdf);;Все файлы (*)"));
    if (!path.isEmpty()) {
        startGrading(path);
    }
}

void GradingPage::chooseFolder() {
    const QString path = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Папка с отчётами"), course_ != nullptr ? course_->path() : QString());
    if (!path.isEmpty()) {
        startGrading(path);
    }
}

void GradingPage::chooseWorksheet() {
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Ведомость оценок из Moodle"), QString(),
                                     QStringLiteral("Таблицы CSV (*.csv);;Все файлы (*)"));
    if (!path.isEmpty()) {
        takeWorksheet(path);
    }
}

} // namespace orven
